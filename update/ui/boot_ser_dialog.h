#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "ui/reloading_dialog.h"
#include "update/ui/com_port_list.h"
#include "update/ui/comm_port.h"
#include "update/ui/program_runner.h"
#include "update/updater_command.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
namespace tessara::base {
class Workspace;
}

namespace tessara::update {

// The update dialog: page 1 guides the user into the device's boot mode and proves the chosen port can be
// opened; page 2 chooses what the updater does and runs it. Created once; the option boxes keep their state
// for the whole run.
class TFBootSer : public ui::ReloadingDialog {
    Q_OBJECT

public:
    explicit TFBootSer(const base::Workspace& ws, QWidget* parent = nullptr);
    // Tests replace the port component and the port list.
    TFBootSer(const base::Workspace& ws, std::unique_ptr<CommPort> comm, std::unique_ptr<PortLister> lister,
              QWidget* parent = nullptr);
    ~TFBootSer() override;

    bool PortConnected() const { return portConnected_; }

    void FormShow() override;
    void FormClose();
    void FillPortList();
    void LbButton1Click();  // Connect
    void LbButton2Click();  // Next
    void LbButton4Click();  // Execute update firmware
    void LbButton5Click();  // refresh the port list

    void done(int result) override;

private:
    void BuildPage1();
    void BuildPage2();
    void BuildOptionBoxes();
    void BuildRunControls();
    void SetPage1LabelsVisible(bool visible);
    // Offers the port that the last successful Connect opened, else the first one listed.
    void PreselectPort();
    // The port the field names: a listed one by its text, otherwise the device path typed in; none when empty.
    std::optional<ComPort> ChosenPort() const;
    QString SelectedPortDevice() const;
    // Keeps the chosen port in the settings file for the next update.
    void RememberPort() const;
    void ClosePortQuietly();
    UpdaterCommand CurrentCommand() const;
    void ShowCommandLine();
    void ShowProgress(std::chrono::milliseconds elapsed);
    void ReportOutcome(const RunResult& result);

    const base::Workspace& ws_;
    std::unique_ptr<CommPort> Comm1;
    std::unique_ptr<PortLister> lister_;
    std::vector<ComPort> ports_;
    bool portConnected_ = false;

    std::vector<QLabel*> page1Labels_;
    QComboBox* CB_Com = nullptr;
    QPushButton* LbButton5 = nullptr;
    QFrame* Panel1 = nullptr;
    QCheckBox* CB_Firm = nullptr;
    QCheckBox* CB_RFirm = nullptr;
    QCheckBox* CB_Proj = nullptr;
    QCheckBox* CB_RProj = nullptr;
    QLineEdit* E_Command = nullptr;
    QProgressBar* PB_Busy = nullptr;
    QLabel* L_Status = nullptr;
};

}  // namespace tessara::update
