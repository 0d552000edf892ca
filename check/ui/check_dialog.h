#pragma once

#include "check/project_check.h"
#include "ui/reloading_dialog.h"

class AreaFitPanel;
class QAbstractItemModel;
class FindingsModel;
class IoMapModel;
class QLabel;
class QPushButton;
class QTableView;
class Workspace;

// "Check Project": the I/O map of the current project, its selected bytes against the PROFIBUS areas and every
// finding, read afresh at each showing. "Save Report..." writes the same as one HTML page.
class TFCheck : public ReloadingDialog {
    Q_OBJECT

public:
    explicit TFCheck(const Workspace& ws, QWidget* parent = nullptr);

    // Checks the project and shows the result.
    void FormShow() override;
    // Asks for a file name and writes the report of what the window shows.
    void SaveReportClick();

    const ProjectCheck& Check() const { return check_; }

private:
    QTableView* AddTable(const char* name, const QString& accessibleName, QAbstractItemModel* model);
    QWidget* BuildButtons();

    const Workspace& ws_;
    ProjectCheck check_;
    IoMapModel* ioMap_;
    FindingsModel* findings_;
    QTableView* ioMapTable_ = nullptr;
    QTableView* findingsTable_ = nullptr;
    QLabel* summary_ = nullptr;
    AreaFitPanel* areas_ = nullptr;
    QPushButton* btnSaveReport_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};
