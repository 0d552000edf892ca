#include "documents/ui/dnet_network_dialog.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "base/file_system.h"
#include "base/project_files.h"
#include "base/workspace.h"
#include "documents/document_file.h"
#include "documents/int_text.h"
#include "documents/plc_map_document.h"
#include "documents/profibus_areas.h"
#include "documents/shrunk_selections.h"
#include "documents/ui/address_moves.h"
#include "documents/ui/dnet_table_model.h"
#include "documents/ui/edit_actions.h"
#include "documents/ui/grid_clipboard.h"
#include "documents/ui/text_grid_view.h"
#include "plc/eds_tags.h"
#include "plc/typed_tags.h"
#include "ui/controls.h"
#include "ui/file_dialogs.h"
#include "ui/left_copy_offer.h"
#include "ui/message_display.h"
#include "ui/window_style.h"

namespace tessara::documents {

namespace {

constexpr int kRowHeight = 21;
constexpr int kButtonStripHeight = 39;
constexpr int kColumnWidths[DNetTableModel::ColumnCount] = {45, 65, 75, 75, 255};

constexpr size_t kDroppedTagsInQuestion = 5;
constexpr size_t kImportTagsInQuestion = 12;

QPushButton* AddButton(QWidget* strip, const char* name, const QString& caption, int left) {
    return ui::PlaceControl<QPushButton>(strip, name, caption, QRect(left, 10, 93, 23));
}

std::string PlcMapPath(const base::Workspace& ws) {
    return base::ProjectFile(ws.ProjectDir, base::kPlcMapFileName);
}

// "Speed (INT, node 3 byte 3 of the input area) is removed: its node is deleted"
QString DroppedTagLine(const DroppedTag& dropped) {
    const std::string reason = dropped.nodeDeleted
                                   ? "its node is deleted"
                                   : "node " + std::to_string(dropped.tag.node) + " now has " +
                                         std::to_string(dropped.bytesLeft) + " " +
                                         (dropped.tag.direction == AreaDirection::Input ? "input" : "output") +
                                         (dropped.bytesLeft == 1 ? " byte" : " bytes");
    return QString::fromStdString(plc::TypedTagPlace(dropped.tag) + " is removed: " + reason);
}

}  // namespace

TFDNet::TFDNet(const base::Workspace& ws, QWidget* parent)
    : EditorDialog(parent), ws_(ws), model_(new DNetTableModel(this)), grid_(new TextGridView(this)) {
    setWindowTitle(QStringLiteral("DeviceNet Network"));
    resize(625, 554);
    ui::ApplyTessaraStyle(this);
    BuildGrid();
    BuildActions();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid_);
    layout->addWidget(BuildButtonStrip());
    connect(bitbtn1, &QPushButton::clicked, this, &TFDNet::bitbtn1Click);
    connect(bitbtn2, &QPushButton::clicked, this, &TFDNet::reject);
}

void TFDNet::BuildGrid() {
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setAccessibleName(QStringLiteral("DeviceNet nodes"));
    grid_->setModel(model_);
    grid_->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    grid_->verticalHeader()->hide();  // the "N" column numbers the rows
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = grid_->horizontalHeader();
    header->setFixedHeight(kRowHeight);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    for (int column = 0; column < DNetTableModel::ColumnCount; ++column) {
        grid_->setColumnWidth(column, kColumnWidths[column]);
    }
}

void TFDNet::BuildActions() {
    model_->SetUndoStack(&undo_);
    grid_->SetUndoStack(&undo_);
    connect(AddGridAction(grid_, tr("Insert row above"), QKeySequence(Qt::CTRL | Qt::Key_I)), &QAction::triggered, this,
            &TFDNet::InsertRowClick);
    connect(AddGridAction(grid_, tr("Delete rows"), QKeySequence(Qt::CTRL | Qt::Key_Delete)), &QAction::triggered, this,
            &TFDNet::DeleteRowsClick);
    connect(AddGridAction(grid_, tr("Move up"), QKeySequence(Qt::ALT | Qt::Key_Up)), &QAction::triggered, this,
            &TFDNet::MoveUpClick);
    connect(AddGridAction(grid_, tr("Move down"), QKeySequence(Qt::ALT | Qt::Key_Down)), &QAction::triggered, this,
            &TFDNet::MoveDownClick);
    importEds_ = AddGridAction(grid_, tr("Import EDS..."), QKeySequence());
    connect(importEds_, &QAction::triggered, this, &TFDNet::ImportEdsClick);
    grid_->addActions(AddUndoActions(this, undo_));  // in the grid's context menu too
}

QWidget* TFDNet::BuildButtonStrip() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(kButtonStripHeight);
    bitbtn1 = AddButton(strip, "bitbtn1", QStringLiteral("OK"), 12);
    bitbtn2 = AddButton(strip, "bitbtn2", QStringLiteral("Cancel"), 116);
    // The context menu's action, also in sight for those who never open that menu.
    auto* importEds =
        ui::PlaceControl<QPushButton>(strip, "btn_Import_Eds", importEds_->text(), QRect(220, 10, 110, 23));
    connect(importEds, &QPushButton::clicked, importEds_, &QAction::trigger);
    return strip;
}

void TFDNet::showEvent(QShowEvent* event) {
    EditorDialog::showEvent(event);
    // The window system re-shows a restored window; only a showing by the program opens at a finding's cell.
    if (event->spontaneous() || pendingRow_ < 0) return;
    const QModelIndex cell = model_->index(std::exchange(pendingRow_, -1), std::exchange(pendingColumn_, -1));
    grid_->setCurrentIndex(cell);
    grid_->scrollTo(cell);
    grid_->setFocus();
}

void TFDNet::OpenAtCell(int row, int column) {
    pendingRow_ = row;
    pendingColumn_ = column;
}

void TFDNet::FormShow() {
    ui::OfferLeftCopy(this, ws_.DNetNetFile, base::kDocumentFileLimit);
    DNetRows rows;
    QString failure;
    loaded_.Remember({ws_.DNetNetFile, ws_.DefByteFile, PlcMapPath(ws_)});
    rowsPastTheGrid_ = 0;
    try {
        DocumentFile network(ws_.DNetNetFile);
        LoadDNetNetwork(network, rows);
        rowsPastTheGrid_ = RowsPastTheGrid(network);
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    }
    networkUnread_ = !failure.isEmpty();
    model_->SetRows(rows);
    loadedRows_ = rows;
    undo_.clear();
    grid_->setCurrentIndex(model_->index(0, DNetTableModel::ColId));
    if (!failure.isEmpty()) ui::Messages().ShowUnhandled(this, failure);
}

bool TFDNet::CheckRows() {
    const std::optional<std::string> failure = documents::CheckRows(model_->Rows());
    if (failure) ui::Messages().ShowError(this, QString::fromStdString(*failure));
    return !failure;
}

void TFDNet::bitbtn1Click() {
    if (!CheckRows() || !MayDropWhatIsNotSaved() || !SaveDocuments()) return;
    accept();
}

// Saving replaces the whole document with the node list: the user agrees before anything it does not hold is lost.
bool TFDNet::MayDropWhatIsNotSaved() {
    const DNetRows& rows = model_->Rows();
    if (networkUnread_ &&
        !ui::Messages().AskYesNo(this, tr("DNET_Net.xml could not be read whole; saving now keeps only the %1 rows "
                                          "shown and drops the rest of the file. Replace it?")
                                           .arg(DNetListLength(rows)))) {
        return false;
    }
    if (rowsPastTheGrid_ > 0 &&
        !ui::Messages().AskYesNo(this, tr("DNET_Net.xml holds %1 rows and the grid shows the first %2: saving drops "
                                          "the last %3. Replace it?")
                                           .arg(rowsPastTheGrid_ + kDNetRowCount)
                                           .arg(kDNetRowCount)
                                           .arg(rowsPastTheGrid_))) {
        return false;
    }
    const std::optional<size_t> below = FirstRowBelowTheList(rows);
    if (!below) return true;
    const QString dropped = *below == DNetListLength(rows)
                                ? tr("Row %1 has no ID, so it and the rows after it will not be saved. Save anyway?")
                                : tr("Row %1 and the rows after it stand below an empty row and will not be saved. "
                                     "Save anyway?");
    return ui::Messages().AskYesNo(this, dropped.arg(*below + 1));
}

bool TFDNet::SaveDocuments() {
    const NetworkGrid& grid = model_->Grid();
    const bool movesSelections = grid.NodesMoved() && base::FileExists(ws_.DefByteFile);
    // Tags are kept by node position: they follow their rows, and the imports' tags join them.
    PlcMapDocument plcMap;
    QString unreadTags;
    try {
        plcMap = LoadPlcMap(ws_.ProjectDir);
    } catch (const std::exception& e) {
        // a tag to add fails the save with this reason
        unreadTags = QString::fromStdString(e.what());
    }
    const TagsAfterSave tags = TagsAfterGridSave(plcMap.tags, LoadedNodes(), grid);
    const bool writesTags = tags.kept != plcMap.tags;
    std::vector<std::string> written{ws_.DNetNetFile};
    if (movesSelections || grid.HasImports()) written.push_back(ws_.DefByteFile);
    if (writesTags) written.push_back(PlcMapPath(ws_));
    if (!MayDropShrunkSelections() || !MayDropTags(tags.dropped) ||
        !MayLeaveUnreadTags(unreadTags, grid.NodesMoved()) || !loaded_.MayReplace(this, written) ||
        !MaySaveMovingAddresses(tags.kept)) {
        return false;
    }
    if (movesSelections) {
        ui::Messages().ShowMessage(this, tr("Rows were inserted, deleted or moved: DefByte.xml is rewritten so that "
                                            "every node keeps its byte selections and mnemonics. The PROFIBUS areas "
                                            "are filled in the new order of the nodes, so the PLC addresses of the "
                                            "selected bytes from the first changed row on move: export the PLC tags "
                                            "again."));
    }
    try {
        SaveNetworkKeepingSelections(XML1, ws_.DNetNetFile, ws_.DefByteFile, grid, [&] {
            if (!writesTags) return;
            plcMap.tags = tags.kept;
            SavePlcMap(ws_.ProjectDir, plcMap);
        });
    } catch (const std::exception& e) {
        ui::Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

// A tag is the user's work: it is never dropped without the user's word, and No is the default.
bool TFDNet::MayDropTags(const std::vector<DroppedTag>& dropped) {
    if (dropped.empty()) return true;
    QStringList lines;
    for (const DroppedTag& tag : dropped) lines << DroppedTagLine(tag);
    QStringList named = lines.mid(0, kDroppedTagsInQuestion);
    if (lines.size() > named.size()) named << tr("and %1 more").arg(lines.size() - named.size());
    const QString list = named.join(QLatin1Char('\n'));
    const QString text =
        dropped.size() == 1
            ? tr("Saving removes a typed tag:\n\n%1\n\nSave and remove it?").arg(list)
            : tr("Saving removes %1 typed tags:\n\n%2\n\nSave and remove them?").arg(dropped.size()).arg(list);
    return ui::Messages().AskYesNoWithDetails(this, text, lines.join(QLatin1Char('\n')));
}

// Tags of a PlcMap.xml that cannot be read cannot follow their nodes: the user decides, No being the default.
bool TFDNet::MayLeaveUnreadTags(const QString& failure, bool nodesMoved) {
    return failure.isEmpty() || !nodesMoved ||
           ui::Messages().AskYesNo(this, tr("%1\n\nThe typed tags of PlcMap.xml cannot follow the nodes that moved, "
                                            "so they may name other nodes' bytes. Save anyway?")
                                             .arg(failure));
}

// Moved, inserted or deleted nodes and new byte counts move the PLC addresses of the bytes after them.
bool TFDNet::MaySaveMovingAddresses(const std::vector<TypedTag>& tags) {
    ProfibusAreas areas;
    try {
        areas = ReadProfibusAreas(ws_.ProjectDir);
    } catch (const std::exception&) {
        // pargen.xml that is not XML: its areas count as 0, as in the check
    }
    const DefByteTable saved = SavedByteTable(ws_.DNetNetFile, ws_.DefByteFile);
    return MaySaveMovingExportedAddresses(this, NodesOf(saved), areas, NodesAfterSave(saved, model_->Grid()), areas,
                                          &tags);
}

// A lowered byte count drops the selections of the bytes beyond it at the next Define Byte OK: asked first.
bool TFDNet::MayDropShrunkSelections() {
    DocumentFile bytes(ws_.DefByteFile);
    const std::vector<ShrunkSelection> lost = SelectionsLostByShrinking(bytes, loadedRows_, model_->Grid());
    return lost.empty() || ui::Messages().AskYesNo(this, QString::fromStdString(ShrunkSelectionsQuestion(lost)));
}

void TFDNet::InsertRowClick() {
    const int row = grid_->SelectedRowSpan().first;
    if (row < 0) return;
    if (!model_->InsertRowAbove(row)) {
        ui::Messages().ShowError(this, tr("Error!! Row 64 is not empty: delete a row before inserting one. "));
    }
}

void TFDNet::DeleteRowsClick() {
    const auto [first, count] = grid_->SelectedRowSpan();
    model_->DeleteRows(first, count);
}

void TFDNet::MoveUpClick() {
    MoveClick(-1);
}

void TFDNet::MoveDownClick() {
    MoveClick(1);
}

// The selection and the current cell travel with the rows, so repeated presses keep moving the same block.
void TFDNet::MoveClick(int delta) {
    const auto [first, count] = grid_->SelectedRowSpan();
    const QModelIndex current = grid_->currentIndex();
    if (first < 0 || !model_->MoveRows(first, count, delta)) return;
    const QItemSelection moved(model_->index(first + delta, DNetTableModel::ColId),
                               model_->index(first + delta + count - 1, DNetTableModel::ColMnemonic));
    grid_->setCurrentIndex(model_->index(current.row() + delta, current.column()));
    grid_->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
}

void TFDNet::ImportEdsClick() {
    const int row = grid_->currentIndex().row();
    if (row < 0) return;
    const QString path = ui::Dialogs().OpenFileName(this, tr("Import EDS"), QString::fromStdString(ws_.ProjectDir),
                                                    tr("EDS files (*.eds *.EDS);;All files (*)"));
    if (path.isEmpty()) return;
    EdsDevice device;
    try {
        device = ReadEdsFile(path.toStdString());
    } catch (const std::exception& e) {
        ui::Messages().ShowError(this,
                                 QStringLiteral("Error!! ") + QString::fromStdString(e.what()) + QLatin1Char(' '));
        return;
    }
    for (const std::string& problem : device.memberProblems) {
        ui::Messages().ShowMessage(this, tr("The byte counts are taken from the EDS file, but not its description of "
                                            "the device's values, so no tags are made: %1")
                                             .arg(QString::fromStdString(problem)));
    }
    // The counts and the values are one step, to undo at once.
    model_->ImportDevice(row, device, OfferedImport(row, device));
}

std::optional<DeviceImport> TFDNet::OfferedImport(int row, const EdsDevice& device) {
    if (device.inputMembers.empty() && device.outputMembers.empty()) return std::nullopt;
    PlcMapDocument plcMap;
    try {
        plcMap = LoadPlcMap(ws_.ProjectDir);
    } catch (const std::exception&) {
        // the save tells of an unreadable PlcMap.xml
    }
    // The tags as the grid stands, without what an earlier import gave this row: the new one replaces it.
    NetworkGrid grid = model_->Grid();
    grid.rows[static_cast<size_t>(row)].NB_IN = std::to_string(device.InputBytes);
    grid.rows[static_cast<size_t>(row)].NB_OUT = std::to_string(device.OutputBytes);
    grid.imports[static_cast<size_t>(row)].reset();
    const std::vector<TypedTag> tags = TagsAfterGridSave(plcMap.tags, LoadedNodes(), grid).kept;
    std::vector<TypedTag> nodeTags;
    for (const TypedTag& tag : tags) {
        if (tag.node == static_cast<size_t>(row) + 1) nodeTags.push_back(tag);
    }
    const int id = ParseIntText(grid.rows[static_cast<size_t>(row)].ID).value_or(0);
    DeviceImport import = plc::DeviceImportOf(device, id, tags, nodeTags);
    // A long list of tags goes behind the question, so the box stays on the screen.
    const QString details = import.tags.size() > kImportTagsInQuestion
                                ? QString::fromStdString(plc::DeviceImportTagList(import))
                                : QString();
    if (import.bytes.empty() ||
        !ui::Messages().AskYesNoDefaultYes(
            this, QString::fromStdString(plc::DeviceImportQuestion(import, kImportTagsInQuestion)), details)) {
        return std::nullopt;
    }
    return import;
}

}  // namespace tessara::documents
