#include "plc/ui/address_map_page.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <map>

#include "base/file_system.h"
#include "plc/address_map_export.h"
#include "plc/ui/address_map_filter.h"
#include "plc/ui/address_map_model.h"
#include "ui/file_dialogs.h"
#include "ui/message_display.h"
#include "ui/output_file.h"
#include "ui/read_only_table.h"

namespace tessara::check {

namespace {

struct TagFormat {
    const char* suffix;
    plc::MapFormat format;
};
// In the order of the dialog's filters: the first is the default.
constexpr TagFormat kTagFormats[] = {{"sdf", plc::MapFormat::Sdf},
                                     {"xml", plc::MapFormat::PlcOpen},
                                     {"csv", plc::MapFormat::Csv},
                                     {"json", plc::MapFormat::Json},
                                     {"txt", plc::MapFormat::Text}};
const char* const kTagFilters =
    "STEP 7 symbol table (*.sdf);;PLCopen XML (*.xml);;CSV (*.csv);;JSON (*.json);;Text (*.txt)";

QSpinBox* StartBox(const char* name, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, static_cast<int>(plc::kLastPlcByte));
    return box;
}

}  // namespace

AddressMapPage::AddressMapPage(QWidget* parent)
    : QWidget(parent), model_(new AddressMapModel(this)), filter_(new AddressMapFilter(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* rule = new QLabel(QString::fromUtf8(plc::kAddressMapRule), this);
    rule->setObjectName(QStringLiteral("AddressMapRule"));
    rule->setWordWrap(true);
    layout->addWidget(rule);
    layout->addWidget(BuildFilters());
    filter_->setSourceModel(model_);
    table_ = ui::MakeReadOnlyTable("AddressMap", QStringLiteral("Address map"), filter_, this);
    layout->addWidget(table_, 1);
    layout->addWidget(BuildExport());
    connect(table_, &QTableView::activated, this, &AddressMapPage::RowActivated);
}

QWidget* AddressMapPage::BuildFilters() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    nodeFilter_ = new QComboBox(strip);
    nodeFilter_->setObjectName(QStringLiteral("NodeFilter"));
    nodeFilter_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    textFilter_ = new QLineEdit(strip);
    textFilter_->setObjectName(QStringLiteral("TextFilter"));
    textFilter_->setPlaceholderText(QStringLiteral("mnemonic, symbol or address"));
    textFilter_->setClearButtonEnabled(true);
    auto* nodeLabel = new QLabel(QStringLiteral("Node:"), strip);
    nodeLabel->setBuddy(nodeFilter_);
    auto* textLabel = new QLabel(QStringLiteral("Find:"), strip);
    textLabel->setBuddy(textFilter_);
    row->addWidget(nodeLabel);
    row->addWidget(nodeFilter_);
    row->addWidget(textLabel);
    row->addWidget(textFilter_, 1);
    connect(nodeFilter_, &QComboBox::currentIndexChanged, this, &AddressMapPage::NodeFilterChanged);
    connect(textFilter_, &QLineEdit::textChanged, filter_, &QSortFilterProxyModel::setFilterFixedString);
    return strip;
}

QWidget* AddressMapPage::BuildExport() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    inputStart_ = StartBox("InputStart", strip);
    outputStart_ = StartBox("OutputStart", strip);
    auto* inputLabel = new QLabel(QStringLiteral("Input start"), strip);
    inputLabel->setBuddy(inputStart_);
    auto* outputLabel = new QLabel(QStringLiteral("Output start"), strip);
    outputLabel->setBuddy(outputStart_);
    btnExportTags_ = new QPushButton(QStringLiteral("Export tags..."), strip);
    btnExportTags_->setObjectName(QStringLiteral("btn_ExportTags"));
    btnExportTags_->setAutoDefault(false);  // Enter on a row opens the byte editor
    row->addWidget(inputLabel);
    row->addWidget(inputStart_);
    row->addWidget(outputLabel);
    row->addWidget(outputStart_);
    row->addStretch(1);
    row->addWidget(btnExportTags_);
    for (QSpinBox* box : {inputStart_, outputStart_})
        connect(box, &QSpinBox::valueChanged, this, &AddressMapPage::StartsChanged);
    connect(btnExportTags_, &QPushButton::clicked, this, &AddressMapPage::ExportTagsClick);
    return strip;
}

void AddressMapPage::SetMap(plc::AddressMap map, const std::string& projectDir) {
    projectDir_ = projectDir;
    model_->SetMap(std::move(map));
    FillNodeFilter();
    table_->resizeColumnsToContents();
}

void AddressMapPage::SetExportEnabled(bool enabled) {
    btnExportTags_->setEnabled(enabled);
}

void AddressMapPage::FillNodeFilter() {
    const size_t shown = nodeFilter_->currentData().toULongLong();
    std::map<size_t, QString> nodes;
    for (const auto* rows : {&model_->Map().input, &model_->Map().output}) {
        for (const plc::AddressMapRow& row : *rows) {
            if (nodes.contains(row.node)) continue;  // a node of thousands of bytes is named once
            nodes[row.node] = QStringLiteral("%1 (ID %2) %3")
                                  .arg(row.node)
                                  .arg(row.id)
                                  .arg(QString::fromStdString(plc::PrintableText(row.nodeMnemonic)));
        }
    }
    const QSignalBlocker quiet(nodeFilter_);
    nodeFilter_->clear();
    nodeFilter_->addItem(QStringLiteral("All nodes"), qulonglong{0});
    for (const auto& [node, text] : nodes) nodeFilter_->addItem(text, static_cast<qulonglong>(node));
    // The node chosen before stays chosen while the project still selects bytes of it.
    nodeFilter_->setCurrentIndex(std::max(0, nodeFilter_->findData(static_cast<qulonglong>(shown))));
    NodeFilterChanged();
}

void AddressMapPage::NodeFilterChanged() {
    filter_->SetNode(nodeFilter_->currentData().toULongLong());
}

void AddressMapPage::StartsChanged() {
    model_->SetStarts(static_cast<size_t>(inputStart_->value()), static_cast<size_t>(outputStart_->value()));
}

void AddressMapPage::RowActivated(const QModelIndex& index) {
    if (!index.isValid()) return;
    emit ByteActivated(model_->Row(filter_->mapToSource(index).row()));
}

void AddressMapPage::ExportTagsClick() {
    QString name = ui::Dialogs().SaveFileName(this, QString::fromStdString(projectDir_), QLatin1String(kTagFilters),
                                              QLatin1String(kTagFormats[0].suffix));
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + QLatin1String(kTagFormats[0].suffix);
    WriteTags(name);
}

void AddressMapPage::WriteTags(const QString& fileName) {
    if (ui::RefusedAsProjectFile(this, projectDir_, fileName, "tag table")) return;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const auto* format = std::ranges::find_if(kTagFormats, [&](const TagFormat& f) { return suffix == f.suffix; });
    if (format == std::end(kTagFormats)) {
        ui::Messages().ShowError(
            this, QStringLiteral("Unable to export tags to %1: the name must end in .sdf, .xml, .csv, .json or .txt")
                      .arg(fileName));
        return;
    }
    for (const std::string& problem :
         {plc::StartPastLastPlcByte("Input start", static_cast<size_t>(inputStart_->value()), model_->Map().input),
          plc::StartPastLastPlcByte("Output start", static_cast<size_t>(outputStart_->value()),
                                    model_->Map().output)}) {
        if (problem.empty()) continue;
        ui::Messages().ShowError(
            this, QStringLiteral("Unable to export tags to %1: %2").arg(fileName, QString::fromStdString(problem)));
        return;
    }
    if (!ui::MayReplace(this, fileName)) return;
    try {
        base::WriteWholeFile(fileName.toStdString(), plc::FormatAddressMap(model_->Map(), format->format,
                                                                           static_cast<size_t>(inputStart_->value()),
                                                                           static_cast<size_t>(outputStart_->value())));
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QString::fromUtf8(e.what()));
        return;
    }
    const size_t beyond = plc::RowsBeyondArea(model_->Map().input) + plc::RowsBeyondArea(model_->Map().output);
    if (beyond == 0) return;
    ui::Messages().ShowMessage(this, QStringLiteral("%1 of the selected bytes do not fit the PROFIBUS areas and have "
                                                    "no address: the symbol table and PLCopen XML leave them out.")
                                         .arg(beyond));
}

}  // namespace tessara::check
