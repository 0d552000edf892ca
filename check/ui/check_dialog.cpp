#include "check/ui/check_dialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "base/file_system.h"
#include "base/workspace.h"
#include "check/area_bar.h"
#include "check/check_report_html.h"
#include "check/ui/area_bar_widget.h"
#include "check/ui/findings_model.h"
#include "check/ui/io_map_model.h"
#include "ui/file_dialogs.h"
#include "ui/message_display.h"
#include "ui/window_style.h"

namespace {

constexpr int kRowHeight = 21;
constexpr int kRowsMeasured = 200;

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

TFCheck::TFCheck(const Workspace& ws, QWidget* parent)
    : ReloadingDialog(parent), ws_(ws), ioMap_(new IoMapModel(this)), findings_(new FindingsModel(this)) {
    setObjectName(QStringLiteral("TFCheck"));
    setWindowTitle(QStringLiteral("Check Project"));
    resize(760, 560);
    ApplyTessaraStyle(this);
    auto* layout = new QVBoxLayout(this);
    summary_ = Heading(QString(), this);
    summary_->setObjectName(QStringLiteral("Summary"));
    layout->addWidget(summary_);
    layout->addWidget(Heading(QStringLiteral("I/O map"), this));
    ioMapTable_ = AddTable("IoMap", QStringLiteral("I/O map"), ioMap_);
    layout->addWidget(ioMapTable_, 3);
    layout->addWidget(BuildAreas());
    layout->addWidget(Heading(QStringLiteral("Findings"), this));
    findingsTable_ = AddTable("Findings", QStringLiteral("Findings"), findings_);
    layout->addWidget(findingsTable_, 2);
    layout->addWidget(BuildButtons());
}

QTableView* TFCheck::AddTable(const char* name, const QString& accessibleName, QAbstractItemModel* model) {
    auto* table = new QTableView(this);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    // Widths follow the first rows only, so a network of thousands of nodes still opens at once.
    table->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    return table;
}

QWidget* TFCheck::BuildAreas() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->addWidget(Heading(QStringLiteral("Selected bytes against the PROFIBUS areas"), box), 0, 0, 1, 3);
    const auto addRow = [&](int row, const char* name, const QString& caption, AreaBarWidget*& bar, QLabel*& text) {
        bar = new AreaBarWidget(box);
        bar->setObjectName(QLatin1String(name));
        bar->setAccessibleName(caption);
        auto* label = new QLabel(caption, box);
        label->setBuddy(bar);
        text = new QLabel(box);
        text->setObjectName(QLatin1String(name) + QStringLiteral("Text"));
        grid->addWidget(label, row, 0);
        grid->addWidget(bar, row, 1);
        grid->addWidget(text, row, 2);
    };
    addRow(1, "InputBar", QStringLiteral("Input"), inputBar_, inputText_);
    addRow(2, "OutputBar", QStringLiteral("Output"), outputBar_, outputText_);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* TFCheck::BuildButtons() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    btnSaveReport_ = new QPushButton(QStringLiteral("Save Report..."), strip);
    btnSaveReport_->setObjectName(QStringLiteral("btn_SaveReport"));
    btnClose_ = new QPushButton(QStringLiteral("Close"), strip);
    btnClose_->setObjectName(QStringLiteral("btn_Close"));
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
    inputBar_->SetFit(check_.input);
    outputBar_->SetFit(check_.output);
    inputText_->setText(QString::fromStdString(AreaFitText(check_.input)));
    outputText_->setText(QString::fromStdString(AreaFitText(check_.output)));
}

void TFCheck::SaveReportClick() {
    QString name = Dialogs().SaveFileName(this, QString::fromStdString(ws_.ProjectDir),
                                          QStringLiteral("HTML report (*.html)"), QStringLiteral("html"));
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".html");
    try {
        WriteFileAtomically(name.toStdString(), CheckReportHtml(check_, TodayText()));
    } catch (const std::exception& e) {
        Messages().ShowError(this, QString::fromUtf8(e.what()));
    }
}
