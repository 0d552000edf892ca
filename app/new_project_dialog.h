#pragma once

#include <QString>

#include "ui/reloading_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
namespace tessara::base {
class Workspace;
}

namespace tessara::app {

// Asks for a project name, creates the project folder with its "bin" folder below DestDir and makes it
// current. It refuses to close until the name is accepted or the user cancels.
class TFsaveproj : public ui::ReloadingDialog {
    Q_OBJECT
public:
    explicit TFsaveproj(base::Workspace& ws, QWidget* parent = nullptr);

    QString DestDir;
    QString NewName;
    int CloseAllowed = 0;
    int EditMode = 0;  // 0: new project; 1: "Edit XML", kept for the editors that use it

    void FormShow() override;
    void BitBtn1Click();
    void BitBtn2Click();

    // Every close (OK, Cancel, the window's close, Escape) comes here; it is refused while CloseAllowed is 0.
    void done(int result) override;

protected:
    // Escape is bound to neither button, so it does nothing (a dialog would otherwise take it as Cancel).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateProject();

    base::Workspace& ws_;
    QLabel* label1_;
    QLineEdit* edit1_;
    QPushButton* bitbtn1_;
    QPushButton* bitbtn2_;
};

}  // namespace tessara::app
