#include "check/ui/check_dialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "base/file_system.h"
#include "base/workspace.h"
#include "check/check_report_html.h"
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
    resize(760, 560);
    ui::ApplyTessaraStyle(this);
    auto* layout = new QVBoxLayout(this);
    summary_ = ui::HeadingLabel(QString(), this);
    summary_->setObjectName(QStringLiteral("Summary"));
    layout->addWidget(summary_);
    // The address map sits beside the I/O map it details, byte by byte.
    auto* maps = new QTabWidget(this);
    maps->setObjectName(QStringLiteral("Maps"));
    ioMapTable_ = ui::MakeReadOnlyTable("IoMap", QStringLiteral("I/O map"), ioMap_, this);
    maps->addTab(ioMapTable_, QStringLiteral("I/O map"));
    addressMap_ = new AddressMapPage(maps);
    maps->addTab(addressMap_, QStringLiteral("Address map"));
    layout->addWidget(maps, 3);
    areas_ = new ui::AreaFitPanel(this);
    layout->addWidget(areas_);
    layout->addWidget(ui::HeadingLabel(QStringLiteral("Findings"), this));
    findingsTable_ = ui::MakeReadOnlyTable("Findings", QStringLiteral("Findings"), findings_, this);
    layout->addWidget(findingsTable_, 2);
    layout->addWidget(BuildButtons());
    connect(findingsTable_, &QTableView::activated, this, &TFCheck::FindingActivated);
    connect(ioMapTable_, &QTableView::activated, this, &TFCheck::IoMapActivated);
    connect(addressMap_, &AddressMapPage::ByteActivated, this, &TFCheck::MapByteActivated);
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

void TFCheck::FormShow() {
    check_ = CheckProject(ws_.ProjectDir);
    summary_->setText(
        QString::fromStdString("Project " + ProjectFolderName(ws_.ProjectDir) + ": " + FindingsSummary(check_) + "."));
    ioMap_->SetNodes(check_.nodes);
    findings_->SetFindings(check_.findings);
    ioMapTable_->resizeColumnsToContents();
    findingsTable_->resizeColumnsToContents();
    areas_->SetFits(check_.input, check_.output);
    addressMap_->SetMap(BuildAddressMap(check_), ws_.ProjectDir);
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

void TFCheck::MapByteActivated(const AddressMapRow& row) {
    FindingTarget target = FindingTarget::NodeBytes(row.node - 1, row.area == MapArea::Output);
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
