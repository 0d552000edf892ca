#include "plc/ui/address_map_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <map>
#include <optional>

#include "base/file_system.h"
#include "documents/plc_map_document.h"
#include "plc/address_map_export.h"
#include "plc/plcopen_xml.h"
#include "plc/tag_moves.h"
#include "plc/ui/address_map_filter.h"
#include "plc/ui/address_map_model.h"
#include "plc/ui/slot_table_model.h"
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

constexpr int kSlotRowsShown = 4;  // the device's 128 bytes each way make at most two slots a direction

// What an export leaves out, said once it is written: bytes without an address, typed tags that are not one
// value, and the 8-byte tags STEP 7's symbol table has no type for.
QStringList ExportNotes(const plc::AddressMap& map, plc::MapFormat format) {
    QStringList notes;
    const size_t beyond = plc::RowsBeyondArea(map.input) + plc::RowsBeyondArea(map.output);
    if (beyond > 0)
        notes << QStringLiteral(
                     "%1 of the selected bytes do not fit the PROFIBUS areas and have no address: the symbol "
                     "table and PLCopen XML leave them out.")
                     .arg(beyond);
    for (const plc::UnmadeTag& unmade : map.unmadeTags)
        notes << QStringLiteral("Typed tag %1")
                     .arg(QString::fromStdString(plc::PrintableText(plc::UnmadeTagText(unmade))));
    if (format != plc::MapFormat::Sdf) return notes;
    for (const plc::AddressMapRow* row : plc::RowsLeftOutOfSdf(map)) {
        notes << QStringLiteral("%1 (%2 at %3) is left out of the symbol table: STEP 7's has no 8-byte type.")
                     .arg(QString::fromStdString(row->symbol), QLatin1String(documents::TagTypeName(row->type)),
                          QString::fromStdString(plc::MapRowAddress(*row)));
    }
    return notes;
}

}  // namespace

AddressMapPage::AddressMapPage(QWidget* parent)
    : QWidget(parent),
      model_(new AddressMapModel(this)),
      slots_(new SlotTableModel(this)),
      filter_(new AddressMapFilter(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildSlots());
    layout->addWidget(BuildFilters());
    layout->addWidget(BuildExport());
    filter_->setSourceModel(model_);
    table_ = ui::MakeReadOnlyTable("AddressMap", QStringLiteral("Address map"), filter_, this);
    layout->addWidget(table_, 1);
    connect(table_, &QTableView::activated, this, &AddressMapPage::RowActivated);
}

// The slots beside the rule, so the map keeps the height of the page.
QWidget* AddressMapPage::BuildSlots() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    slotTable_ = ui::MakeReadOnlyTable("Slots", QStringLiteral("Slots and their PLC starts"), slots_, strip);
    slotTable_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    slotTable_->setSelectionBehavior(QAbstractItemView::SelectItems);
    slotTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    slotTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    slotTable_->setFixedWidth(320);
    slotTable_->setToolTip(QStringLiteral("Double-click a start to place its slot in the PLC"));
    slots_->SetStartEditor(
        [this](const documents::ProfibusSlot& slot, const QString& text) { return EditStart(slot, text); });
    auto* rule = new QLabel(QString::fromUtf8(plc::kAddressMapRule), strip);
    rule->setObjectName(QStringLiteral("AddressMapRule"));
    rule->setWordWrap(true);
    rule->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row->addWidget(slotTable_);
    row->addWidget(rule, 1);
    return strip;
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
    // A line of its own, so the search field keeps its width beside the export's choices.
    row->addStretch(1);
    btnExportTags_ = new QPushButton(QStringLiteral("Export tags..."), strip);
    btnExportTags_->setObjectName(QStringLiteral("btn_ExportTags"));
    btnExportTags_->setAutoDefault(false);  // Enter on a row opens the byte editor
    symbolStyle_ = new QComboBox(strip);
    symbolStyle_->setObjectName(QStringLiteral("SymbolStyle"));
    symbolStyle_->setAccessibleName(QStringLiteral("Symbols"));
    symbolStyle_->addItem(QStringLiteral("Symbols: byte mnemonic"), static_cast<int>(plc::SymbolStyle::Byte));
    symbolStyle_->addItem(QStringLiteral("Symbols: node_byte mnemonic"), static_cast<int>(plc::SymbolStyle::Node));
    symbolStyle_->setToolTip(QStringLiteral("How the tags are named; the style of the last export is kept"));
    row->addWidget(symbolStyle_);
    connect(symbolStyle_, &QComboBox::currentIndexChanged, this, &AddressMapPage::SymbolStyleChanged);
    csvByteOrderMark_ = new QCheckBox(QStringLiteral("CSV with byte-order mark"), strip);
    csvByteOrderMark_->setObjectName(QStringLiteral("CsvByteOrderMark"));
    csvByteOrderMark_->setToolTip(
        QStringLiteral("Starts a CSV export with a UTF-8 byte-order mark, for spreadsheet programs that need one to "
                       "read its mnemonics right"));
    row->addWidget(csvByteOrderMark_);
    plcByteOrder_ = new QComboBox(strip);
    plcByteOrder_->setObjectName(QStringLiteral("PlcByteOrder"));
    plcByteOrder_->setAccessibleName(QStringLiteral("PLC byte order"));
    plcByteOrder_->addItem(QStringLiteral("PLC: big-endian"), static_cast<int>(documents::ByteOrder::Big));
    plcByteOrder_->addItem(QStringLiteral("PLC: little-endian"), static_cast<int>(documents::ByteOrder::Little));
    plcByteOrder_->setToolTip(
        QStringLiteral("The order the PLC reads a word's bytes in: a typed tag whose device "
                       "sends them in the other order is swapped. Kept in PlcMap.xml"));
    row->addWidget(plcByteOrder_);
    connect(plcByteOrder_, &QComboBox::currentIndexChanged, this, &AddressMapPage::PlcByteOrderChanged);
    swapProgram_ = new QCheckBox(QStringLiteral("PLCopen with swap program"), strip);
    swapProgram_->setObjectName(QStringLiteral("PlcOpenSwapProgram"));
    swapProgram_->setToolTip(QStringLiteral(
        "Adds to a PLCopen export a program in Structured Text that swaps the bytes of every tag that needs it: the "
        "tag's variable holds the value, <name>_RAW the bytes as they arrive"));
    row->addWidget(swapProgram_);
    row->addWidget(btnExportTags_);
    connect(btnExportTags_, &QPushButton::clicked, this, &AddressMapPage::ExportTagsClick);
    return strip;
}

void AddressMapPage::SetMap(ProjectPlcMap project, const std::string& projectDir) {
    projectDir_ = projectDir;
    areas_ = project.areas;
    startsProblem_ = QString::fromStdString(project.startsProblem);
    {
        const QSignalBlocker quiet(symbolStyle_);
        symbolStyle_->setCurrentIndex(symbolStyle_->findData(static_cast<int>(project.map.symbols)));
        const QSignalBlocker quietOrder(plcByteOrder_);
        plcByteOrder_->setCurrentIndex(plcByteOrder_->findData(static_cast<int>(project.map.plcByteOrder)));
    }
    model_->SetMap(std::move(project.map));
    ShowStarts(std::move(project.starts));
    FillNodeFilter();
    table_->resizeColumnsToContents();
    slotTable_->resizeColumnsToContents();
}

void AddressMapPage::ShowStarts(std::vector<documents::SlotStart> starts) {
    starts_ = std::move(starts);
    const documents::ProfibusLayout layout(areas_, starts_);
    const QString problem =
        startsProblem_.isEmpty() ? QString() : QStringLiteral("No PLC address: %1").arg(startsProblem_);
    model_->SetLayout(layout, problem);
    slots_->SetEditable(startsProblem_.isEmpty());
    slots_->SetLayout(layout);
    // As tall as its slots, two to four rows: the map below keeps the rest of the page.
    const int rows = std::clamp(slots_->rowCount(), 2, kSlotRowsShown);
    slotTable_->setFixedHeight(slotTable_->horizontalHeader()->sizeHint().height() +
                               rows * slotTable_->verticalHeader()->defaultSectionSize() +
                               2 * slotTable_->frameWidth());
}

bool AddressMapPage::EditStart(const documents::ProfibusSlot& slot, const QString& text) {
    std::vector<documents::SlotStart> starts = starts_;
    std::erase_if(starts, [&](const documents::SlotStart& s) {
        return s.direction == slot.direction && s.position == slot.position;
    });
    if (!text.isEmpty()) {
        bool number = false;
        const uint start = text.toUInt(&number);
        if (!number || start > documents::kLastPlcByte) {
            ui::Messages().ShowError(this, QStringLiteral("The start of slot %1 must be a PLC byte address from 0 to "
                                                          "%2, or empty to follow the slot before: \"%3\"")
                                               .arg(slot.number)
                                               .arg(documents::kLastPlcByte)
                                               .arg(text));
            return false;
        }
        starts.push_back({slot.direction, slot.position, start});
    }
    std::ranges::sort(starts, {}, [](const documents::SlotStart& s) { return std::pair(s.direction, s.position); });
    const documents::ProfibusLayout layout(areas_, starts);
    if (const auto problem =
            documents::SlotStartProblem(layout, model_->Map().input.size(), model_->Map().output.size())) {
        ui::Messages().ShowError(this, QString::fromStdString(*problem));
        return false;
    }
    try {
        // Read again at the save, so what another tool recorded there meanwhile (the last export) is kept.
        documents::PlcMapDocument document = documents::LoadPlcMap(projectDir_);
        document.starts = starts;
        documents::SavePlcMap(projectDir_, document);
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QString::fromUtf8(e.what()));
        return false;
    }
    ShowStarts(std::move(starts));
    return true;
}

// The project keeps the addresses it handed to the PLC, so the check and the editors can tell when they move.
void AddressMapPage::RecordExport() {
    try {
        documents::PlcMapDocument document = documents::LoadPlcMap(projectDir_);
        document.lastExport = plc::RecordedExport(model_->Map(), plc::UtcDateTimeNow());
        documents::SavePlcMap(projectDir_, document);
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QStringLiteral("The tags were exported, but PlcMap.xml could not record their "
                                                      "addresses: %1")
                                           .arg(QString::fromUtf8(e.what())));
    }
}

// Kept in PlcMap.xml at once, as the slot starts are: the check, the editors and the command line read it there.
void AddressMapPage::PlcByteOrderChanged() {
    const auto order = static_cast<documents::ByteOrder>(plcByteOrder_->currentData().toInt());
    try {
        documents::PlcMapDocument document = documents::LoadPlcMap(projectDir_);
        document.plcByteOrder = order;
        documents::SavePlcMap(projectDir_, document);
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QString::fromUtf8(e.what()));
        const QSignalBlocker quiet(plcByteOrder_);
        plcByteOrder_->setCurrentIndex(plcByteOrder_->findData(static_cast<int>(model_->Map().plcByteOrder)));
        return;
    }
    model_->SetPlcByteOrder(order);
}

plc::SymbolStyle AddressMapPage::SymbolStyle() const {
    return static_cast<plc::SymbolStyle>(symbolStyle_->currentData().toInt());
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
    const plc::AddressMap& map = model_->Map();
    const std::optional<std::string> problem =
        !startsProblem_.isEmpty() ? std::optional(startsProblem_.toStdString())
                                  : documents::SlotStartProblem(map.layout, map.input.size(), map.output.size());
    if (problem) {
        ui::Messages().ShowError(
            this, QStringLiteral("Unable to export tags to %1: %2").arg(fileName, QString::fromStdString(*problem)));
        return;
    }
    if (!ui::MayReplace(this, fileName)) return;
    try {
        base::WriteWholeFile(
            fileName.toStdString(),
            plc::FormatAddressMap(map, format->format, {csvByteOrderMark_->isChecked(), swapProgram_->isChecked()}));
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this, QString::fromUtf8(e.what()));
        return;
    }
    RecordExport();
    const QStringList notes = ExportNotes(map, format->format);
    if (!notes.isEmpty()) ui::Messages().ShowMessage(this, notes.join(QLatin1Char('\n')));
}

}  // namespace tessara::check
