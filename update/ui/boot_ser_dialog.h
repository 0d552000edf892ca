#pragma once

#include <QDialog>
#include <memory>
#include <vector>

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
class Workspace;

// The update dialog: page 1 guides the user into the device's boot mode and proves the chosen port can be
// opened; page 2 chooses what the updater does and runs it. Created once; the option boxes keep their state
// for the whole run.
class TFBootSer : public QDialog {
    Q_OBJECT

public:
    explicit TFBootSer(const Workspace& ws, QWidget* parent = nullptr);
    // Tests replace the port component and the port list.
    TFBootSer(const Workspace& ws, std::unique_ptr<CommPort> comm, std::unique_ptr<PortLister> lister,
              QWidget* parent = nullptr);
    ~TFBootSer() override;

    bool PortConnected() const { return portConnected_; }

    void FormShow();
    void FormClose();
    void FillPortList();
    void LbButton1Click();  // Connect
    void LbButton2Click();  // Next
    void LbButton4Click();  // Execute update firmware
    void LbButton5Click();  // refresh the port list

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildPage1();
    void BuildPage2();
    void BuildOptionBoxes();
    void BuildRunControls();
    void SetPage1LabelsVisible(bool visible);
    QString SelectedPortDevice() const;
    void ClosePortQuietly();
    UpdaterCommand CurrentCommand() const;
    void ShowCommandLine();
    void ShowProgress(std::chrono::milliseconds elapsed);
    void ReportOutcome(const RunResult& result);

    const Workspace& ws_;
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
