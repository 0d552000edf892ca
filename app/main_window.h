#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "base/workspace.h"
#include "ui/tool_icons.h"

class QPushButton;
namespace tessara::update {
class TFBootSer;
}
namespace tessara::check {
class TFCheck;
}
namespace tessara::documents {
class TFDNet;
}
namespace tessara::documents {
class TFDefByte;
}
namespace tessara::documents {
class TFpargen;
}
namespace tessara::check {
struct FindingTarget;
}

namespace tessara::app {

class ProjectPanel;
class TFAbout;
class TFsaveproj;

// The five-step wizard: creates or opens a project, opens the editors, writes the GSD file and updates the
// device. Each dialog is made on its first use and kept for the run, so it keeps its state between showings
// as if it had been made at start-up; the start shows the main window without waiting for them.
class TFTessaraFirmWare : public QWidget {
    Q_OBJECT
public:
    static const QString kDesignedCaption;
    static const QString kCaptionPrefix;

    // appDir is the workspace folder; programDir, when given, is where the updater is found.
    explicit TFTessaraFirmWare(const std::string& appDir, const std::string& programDir = {},
                               QWidget* parent = nullptr);
    // Lets go of the editors' question about moved PLC addresses, which reads this window's project.
    ~TFTessaraFirmWare() override;

    base::Workspace& workspace() { return ws_; }

    // The dialogs, each made on the first call.
    TFsaveproj& saveproj();
    TFAbout& about();
    documents::TFpargen& pargen();
    update::TFBootSer& bootSer();
    documents::TFDNet& dnet();
    documents::TFDefByte& defByte();
    check::TFCheck& check();

    void NewaClick();
    void OpenaClick();
    // The guarded steps; tells the five buttons apart by the sender.
    void btn_str_lng1aClick();
    void CreateBinaClick();
    void AboutClick();
    void LbButton1Click();
    void Label1Click();
    // Copies the example project into PROJECTS and opens it; offered while no project is open.
    void CopyExampleClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const std::string& appDir, const std::string& programDir);
    void FormClose();
    void CreateControls();
    template <class Dialog>
    Dialog& Made(Dialog*& dialog);
    QPushButton* AddStepButton(const char* name, const QString& caption, int left, int top,
                               ui::Glyph glyph = ui::Glyph::Step);
    void ShowProjectInCaption();
    void ShowProjectInBody();
    void RunGsdStep();
    // Opens the editor of a finding of the check window at its place; returns when it has closed.
    void OpenEditorAt(const check::FindingTarget& target);
    // A GSD file of this name would replace one of the project's documents or its image.
    // Checks the project before an update; on an error the user decides whether to go on (default: no).
    bool UpdateAllowedByCheck();
    // Runs one user action; an error it does not handle itself goes to the display of unhandled errors.
    template <class Action>
    void RunAction(Action&& action);

    base::Workspace ws_;
    TFsaveproj* saveproj_ = nullptr;
    TFAbout* about_ = nullptr;
    documents::TFpargen* pargen_ = nullptr;
    update::TFBootSer* bootSer_ = nullptr;
    documents::TFDNet* dnet_ = nullptr;
    documents::TFDefByte* defByte_ = nullptr;
    check::TFCheck* check_ = nullptr;
    QPushButton* btnPrmGen_ = nullptr;
    QPushButton* btnDNet_ = nullptr;
    QPushButton* btnDefByte_ = nullptr;
    QPushButton* btnGsd_ = nullptr;
    QPushButton* btnCheck_ = nullptr;
    ProjectPanel* projectPanel_ = nullptr;
};

}  // namespace tessara::app
