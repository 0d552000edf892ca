#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "check/project_check.h"
#include "plc/address_map.h"
#include "ui/reloading_dialog.h"

namespace tessara::ui {
class AreaFitPanel;
}
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
namespace tessara::base {
class Workspace;
}

namespace tessara::check {

class AddressMapPage;
class FindingsModel;
class IoMapModel;

// "Check Project": the I/O map of the current project beside its address map, its selected bytes against the
// PROFIBUS areas and every finding, read afresh at each showing. "Save Report..." writes the same as one HTML
// page. Double-click or Enter on a finding, a node or a byte of the address map opens the editor where it is
// mended, and the check runs again when that editor closes. The check runs beside the window, which stays
// responsive and says it is checking; a large project takes seconds.
class TFCheck : public ui::ReloadingDialog {
    Q_OBJECT

public:
    // Opens the editor of a target at its place and returns when it has closed. The window that owns the
    // editors gives it, so this window needs none of them.
    using EditorOpener = std::function<void(const FindingTarget&)>;

    explicit TFCheck(const base::Workspace& ws, QWidget* parent = nullptr);
    // Waits for a check still running, which reads the project and posts to this window.
    ~TFCheck() override;

    void SetEditorOpener(EditorOpener opener) { openEditor_ = std::move(opener); }

    // Starts checking the project; the result is shown when it is ready.
    void FormShow() override;
    // True from FormShow until its result is shown.
    bool Checking() const { return worker_.joinable(); }
    // Asks for a file name and writes the report of what the window shows.
    void SaveReportClick();
    // Opens the editor of a finding, or the byte selection of a node at the direction of the column.
    void FindingActivated(const QModelIndex& index);
    void IoMapActivated(const QModelIndex& index);
    // Opens the byte selection at the node, direction and byte of an address map row.
    void MapByteActivated(const plc::AddressMapRow& row);

    const ProjectCheck& Check() const { return check_; }

protected:
    void showEvent(QShowEvent* event) override;

signals:
    // A check's result is shown.
    void Checked();

private:
    struct Result;
    void StartCheck();
    void ShowResult(const std::shared_ptr<Result>& result);
    void ShowChecking(bool checking);
    QWidget* BuildHeading();
    QWidget* BuildMapsPane();
    QWidget* BuildFindingsPane();
    QWidget* BuildButtons();
    void OpenEditor(const FindingTarget& target);

    const base::Workspace& ws_;
    EditorOpener openEditor_;
    ProjectCheck check_;
    std::thread worker_;
    // The symbol style chosen in this run; until then the style of the last export, which PlcMap.xml keeps.
    std::optional<plc::SymbolStyle> symbols_;
    bool checkAgain_ = false;
    bool splitGiven_ = false;  // the project changed while the check ran: its result is stale
    IoMapModel* ioMap_;
    FindingsModel* findings_;
    QTableView* ioMapTable_ = nullptr;
    QTableView* findingsTable_ = nullptr;
    AddressMapPage* addressMap_ = nullptr;
    QLabel* summary_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QSplitter* panes_ = nullptr;
    ui::AreaFitPanel* areas_ = nullptr;
    QPushButton* btnSaveReport_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};

}  // namespace tessara::check
