#include "check/ui/check_dialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "base/file_system.h"
#include "base/workspace.h"
#include "check/check_report_html.h"
#include "check/project_address_map.h"
#include "check/ui/findings_model.h"
#include "check/ui/io_map_model.h"
#include "plc/ui/address_map_page.h"
#include "ui/area_fit_panel.h"
#include "ui/file_dialogs.h"
#include "ui/message_display.h"
#include "ui/output_file.h"
#include "ui/read_only_table.h"
#include "ui/window_style.h"

namespace tessara::check {

TFCheck::TFCheck(const base::Workspace& ws, QWidget* parent)
    : ui::ReloadingDialog(parent), ws_(ws), ioMap_(new IoMapModel(this)), findings_(new FindingsModel(this)) {
    setObjectName(QStringLiteral("TFCheck"));
    setWindowTitle(QStringLiteral("Check Project"));
    resize(900, 712);  // the address map keeps eleven rows under its filters and export choices
    ui::ApplyTessaraStyle(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildHeading());
    // The maps and the findings share the height as the user drags it; the window lives for the whole run, so
    // the split chosen stays.
    panes_ = new QSplitter(Qt::Vertical, this);
    panes_->setObjectName(QStringLiteral("Panes"));
    panes_->setChildrenCollapsible(false);
    panes_->addWidget(BuildMapsPane());
    panes_->addWidget(BuildFindingsPane());
    panes_->setStretchFactor(0, 2);
    panes_->setStretchFactor(1, 1);
    layout->addWidget(panes_, 1);
    layout->addWidget(BuildButtons());
    connect(findingsTable_, &QTableView::activated, this, &TFCheck::FindingActivated);
    connect(ioMapTable_, &QTableView::activated, this, &TFCheck::IoMapActivated);
    connect(addressMap_, &AddressMapPage::ByteActivated, this, &TFCheck::MapByteActivated);
    connect(addressMap_, &AddressMapPage::SymbolStyleChanged, this, [this] {
        symbols_ = addressMap_->SymbolStyle();
        FormShow();
    });
}

TFCheck::~TFCheck() {
    if (worker_.joinable()) worker_.join();
}

QWidget* TFCheck::BuildHeading() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    summary_ = ui::HeadingLabel(QString(), strip);
    summary_->setObjectName(QStringLiteral("Summary"));
    progress_ = new QProgressBar(strip);
    progress_->setObjectName(QStringLiteral("CheckProgress"));
    progress_->setAccessibleName(QStringLiteral("Checking the project"));
    progress_->setRange(0, 0);  // a check cannot tell how far it is: the bar moves to show it works
    progress_->setTextVisible(false);
    // The bar comes and goes without moving anything below it.
    progress_->setMaximumSize(160, summary_->sizeHint().height());
    QSizePolicy keepPlace = progress_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keepPlace);
    progress_->hide();
    row->addWidget(summary_, 1);
    row->addWidget(progress_);
    return strip;
}

QWidget* TFCheck::BuildMapsPane() {
    auto* pane = new QWidget(this);
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    // The address map sits beside the I/O map it details, byte by byte.
    auto* maps = new QTabWidget(pane);
    maps->setObjectName(QStringLiteral("Maps"));
    ioMapTable_ = ui::MakeReadOnlyTable("IoMap", QStringLiteral("I/O map"), ioMap_, maps);
    maps->addTab(ioMapTable_, QStringLiteral("I/O map"));
    addressMap_ = new AddressMapPage(maps);
    maps->addTab(addressMap_, QStringLiteral("Address map"));
    column->addWidget(maps, 1);
    return pane;
}

QWidget* TFCheck::BuildFindingsPane() {
    auto* pane = new QWidget(this);
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    areas_ = new ui::AreaFitPanel(pane);
    column->addWidget(areas_);
    column->addWidget(ui::HeadingLabel(QStringLiteral("Findings"), pane));
    findingsTable_ = ui::MakeReadOnlyTable("Findings", QStringLiteral("Findings"), findings_, pane);
    column->addWidget(findingsTable_, 1);
    return pane;
}

QWidget* TFCheck::BuildButtons() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    btnSaveReport_ = new QPushButton(QStringLiteral("Save Report..."), strip);
    btnSaveReport_->setObjectName(QStringLiteral("btn_SaveReport"));
    btnClose_ = new QPushButton(QStringLiteral("Close"), strip);
    btnClose_->setObjectName(QStringLiteral("btn_Close"));
    // Enter on a finding opens its editor; it must not also press a button of the window.
    for (QPushButton* button : {btnSaveReport_, btnClose_}) button->setAutoDefault(false);
    row->addWidget(btnSaveReport_);
    row->addStretch(1);
    row->addWidget(btnClose_);
    connect(btnSaveReport_, &QPushButton::clicked, this, &TFCheck::SaveReportClick);
    connect(btnClose_, &QPushButton::clicked, this, &TFCheck::accept);
    return strip;
}

struct TFCheck::Result {
    ProjectCheck check;
    ProjectPlcMap plc;
    std::string error;  // what stopped the check, if anything did
};

void TFCheck::showEvent(QShowEvent* event) {
    // The first showing gives the maps two thirds of the height and the area bars with the findings one,
    // whatever their contents ask for; later showings keep the split the user dragged to.
    if (!splitGiven_) {
        splitGiven_ = true;
        layout()->activate();
        const int height = panes_->height() - panes_->handleWidth();
        panes_->setSizes({height * 2 / 3, height - height * 2 / 3});
    }
    ui::ReloadingDialog::showEvent(event);
}

void TFCheck::FormShow() {
    // One check at a time: a showing while one runs (an editor just closed) checks again when it ends.
    if (Checking()) {
        checkAgain_ = true;
        return;
    }
    StartCheck();
}

void TFCheck::StartCheck() {
    checkAgain_ = false;
    ShowChecking(true);
    worker_ = std::thread([this, projectDir = ws_.ProjectDir, chosen = symbols_] {
        auto result = std::make_shared<Result>();
        try {
            result->check = CheckProject(projectDir);
            const auto& recorded = result->check.plcMap.lastExport;
            const plc::SymbolStyle symbols =
                chosen.value_or(recorded ? plc::SymbolStyleNamed(recorded->symbols).value_or(plc::SymbolStyle::Byte)
                                         : plc::SymbolStyle::Byte);
            result->plc.map = ProjectAddressMap(result->check, ProjectLayout(result->check), symbols);
            result->plc.areas = {result->check.input.area, result->check.output.area};
            result->plc.starts = result->check.plcMap.starts;
            result->plc.startsProblem = result->check.plcMapError.value_or("");
        } catch (const std::exception& e) {
            result->error = e.what();
        }
        // Queued to the window's thread; a window destroyed meanwhile has joined this thread and drops the call.
        QMetaObject::invokeMethod(
            this, [this, result] { ShowResult(result); }, Qt::QueuedConnection);
    });
}

void TFCheck::ShowResult(const std::shared_ptr<Result>& result) {
    worker_.join();
    if (checkAgain_) {
        StartCheck();
        return;
    }
    ShowChecking(false);
    // A check that could not finish shows nothing rather than the project as it was before.
    check_ = std::move(result->check);
    const std::string project = ProjectFolderName(ws_.ProjectDir);
    summary_->setText(QString::fromStdString(result->error.empty()
                                                 ? "Project " + project + ": " + FindingsSummary(check_) + "."
                                                 : "Project " + project + " could not be checked."));
    ioMap_->SetNodes(check_.nodes);
    findings_->SetFindings(check_.findings);
    ioMapTable_->resizeColumnsToContents();
    findingsTable_->resizeColumnsToContents();
    areas_->SetFits(check_.input, check_.output);
    addressMap_->SetMap(std::move(result->plc), ws_.ProjectDir);
    if (!result->error.empty()) {
        btnSaveReport_->setEnabled(false);
        addressMap_->SetExportEnabled(false);
        ui::Messages().ShowError(this, QString::fromStdString(result->error));
    }
    emit Checked();
}

// While a check runs the window shows the last result, but writes none of it: an editor may just have changed
// what it says.
void TFCheck::ShowChecking(bool checking) {
    progress_->setVisible(checking);
    btnSaveReport_->setEnabled(!checking);
    addressMap_->SetExportEnabled(!checking);
    if (checking) {
        summary_->setText(
            QStringLiteral("Checking project %1...").arg(QString::fromStdString(ProjectFolderName(ws_.ProjectDir))));
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void TFCheck::FindingActivated(const QModelIndex& index) {
    if (!index.isValid()) return;
    OpenEditor(check_.findings.at(static_cast<size_t>(index.row())).target);
}

void TFCheck::IoMapActivated(const QModelIndex& index) {
    if (!index.isValid()) return;
    const bool output = index.column() == IoMapModel::ColNbOut || index.column() == IoMapModel::ColSelOut;
    OpenEditor(FindingTarget::NodeBytes(static_cast<size_t>(index.row()), output));
}

void TFCheck::MapByteActivated(const plc::AddressMapRow& row) {
    FindingTarget target = FindingTarget::NodeBytes(row.node - 1, row.area == plc::MapArea::Output);
    target.byte = static_cast<int>(row.byte) - 1;
    OpenEditor(target);
}

void TFCheck::OpenEditor(const FindingTarget& target) {
    if (target.document == FindingDocument::None || !openEditor_) return;
    openEditor_(target);
    FormShow();
}

void TFCheck::SaveReportClick() {
    QString name = ui::Dialogs().SaveFileName(this, QString::fromStdString(ws_.ProjectDir),
                                              QStringLiteral("HTML report (*.html)"), QStringLiteral("html"));
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".html");
    if (ui::RefusedAsProjectFile(this, ws_.ProjectDir, name, "report") || !ui::MayReplace(this, name)) return;
    try {
        base::WriteWholeFile(name.toStdString(), CheckReportHtml(check_, TodayText()));
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QString::fromUtf8(e.what()));
    }
}

}  // namespace tessara::check
