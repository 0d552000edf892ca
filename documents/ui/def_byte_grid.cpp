#include "documents/ui/def_byte_grid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "documents/ui/edit_actions.h"
#include "documents/ui/grid_clipboard.h"
#include "ui/message_display.h"

namespace tessara::documents {

namespace {

constexpr int kRowHeight = 21;
constexpr int kNumberWidth = 55;
constexpr int kSelectWidth = 75;
constexpr int kAddressWidth = 70;
constexpr int kTagWidth = 90;

class ByteCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Mnemonics have no length limit; the line editor would otherwise cut them at 32 767 characters.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(std::numeric_limits<int>::max());
        return editor;
    }

    // The whole "Select" cell is the check box, not only its small indicator.
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        const bool checkable = index.flags().testFlag(Qt::ItemIsUserCheckable);
        if (!checkable || event->type() != QEvent::MouseButtonRelease) {
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint())) return false;
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
};

}  // namespace

DefByteGrid::DefByteGrid(ByteDirection direction, int textWidth, QWidget* parent)
    : QTableView(parent), bytes_(new DefByteGridModel(direction, this)) {
    setModel(bytes_);
    setItemDelegate(new ByteCellDelegate(this));
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionMode(ExtendedSelection);
    setWordWrap(false);

    // Uniform fixed rows let the view place 65 535 rows without measuring any of them.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(kRowHeight);

    QHeaderView* columns = horizontalHeader();
    columns->setMinimumSectionSize(kNumberWidth);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    setColumnWidth(DefByteGridModel::ColNumber, kNumberWidth);
    setColumnWidth(DefByteGridModel::ColSelect, kSelectWidth);
    setColumnWidth(DefByteGridModel::ColMnemonic, textWidth - kAddressWidth - kTagWidth);
    setColumnWidth(DefByteGridModel::ColAddress, kAddressWidth);
    setColumnWidth(DefByteGridModel::ColTag, kTagWidth);
    columns->setStretchLastSection(true);  // the tag takes what the window leaves, never a scroll bar
    BuildActions();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DefByteGrid::OfferTagRemoval);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DefByteGrid::OfferTagRemoval);
    connect(bytes_, &QAbstractItemModel::dataChanged, this, &DefByteGrid::OfferTagRemoval);
    connect(bytes_, &QAbstractItemModel::modelReset, this, &DefByteGrid::OfferTagRemoval);
}

void DefByteGrid::BuildActions() {
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(AddGridAction(this, tr("Copy"), QKeySequence::Copy), &QAction::triggered, this,
            &DefByteGrid::CopySelection);
    connect(AddGridAction(this, tr("Paste"), QKeySequence::Paste), &QAction::triggered, this, &DefByteGrid::Paste);
    connect(AddGridAction(this, tr("Select all bytes"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)),
            &QAction::triggered, this, &DefByteGrid::SelectAllBytes);
    connect(AddGridAction(this, tr("Select no bytes"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)),
            &QAction::triggered, this, &DefByteGrid::SelectNoBytes);
    connect(AddGridAction(this, tr("Invert selection"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)),
            &QAction::triggered, this, &DefByteGrid::InvertBytes);
    connect(AddGridAction(this, tr("Make tag..."), QKeySequence(Qt::CTRL | Qt::Key_T)), &QAction::triggered, this,
            &DefByteGrid::MakeTagRequested);
    removeTag_ = AddGridAction(this, tr("Remove tag"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    connect(removeTag_, &QAction::triggered, this, &DefByteGrid::RemoveTagRequested);
    OfferTagRemoval();
}

std::vector<int> DefByteGrid::ChosenRows() const {
    std::vector<int> rows;
    for (const QModelIndex& cell : selectedIndexes()) rows.push_back(cell.row());
    if (rows.empty() && currentIndex().isValid()) rows.push_back(currentIndex().row());
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::vector<size_t> DefByteGrid::ChosenTags() const {
    std::vector<size_t> tags;
    for (const int row : ChosenRows()) {
        if (const std::optional<size_t> tag = bytes_->TagOfRow(static_cast<size_t>(row))) tags.push_back(*tag);
    }
    std::ranges::sort(tags);
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    return tags;
}

void DefByteGrid::OfferTagRemoval() {
    removeTag_->setEnabled(!ChosenTags().empty());
}

void DefByteGrid::SetUndoStack(QUndoStack* undo) {
    undo_ = undo;
    bytes_->SetUndoStack(undo);
}

void DefByteGrid::SelectAllBytes() {
    bytes_->SetSelections(std::vector<char>(bytes_->Selections().size(), 1), tr("Select all bytes"));
}

void DefByteGrid::SelectNoBytes() {
    bytes_->SetSelections(std::vector<char>(bytes_->Selections().size(), 0), tr("Select no bytes"));
}

void DefByteGrid::InvertBytes() {
    const std::span<const char> shown = bytes_->Selections();
    std::vector<char> inverted(shown.size());
    for (size_t j = 0; j < inverted.size(); ++j) inverted[j] = !shown[j];
    bytes_->SetSelections(inverted, tr("Invert selection"));
}

void DefByteGrid::ToggleSelectedBytes() {
    const std::span<const char> shown = bytes_->Selections();
    std::vector<char> toggled(shown.begin(), shown.end());
    QModelIndexList cells = selectedIndexes();
    if (cells.isEmpty() && currentIndex().isValid()) cells.append(currentIndex());
    for (const QModelIndex& cell : cells) {
        const auto row = static_cast<size_t>(cell.row());
        if (cell.column() == DefByteGridModel::ColSelect && row < toggled.size()) toggled[row] = !toggled[row];
    }
    bytes_->SetSelections(toggled, tr("Toggle bytes"));
}

void DefByteGrid::CopySelection() {
    // Rows chosen by their numbers copy as their data: a byte number pasted back would land in "Select".
    QModelIndexList cells = selectedIndexes();
    cells.removeIf([](const QModelIndex& cell) { return cell.column() == DefByteGridModel::ColNumber; });
    // The PROFIBUS address and the tag follow from the selections and the tags, so they copy alone only: with data
    // they would not paste back.
    const auto derived = [](const QModelIndex& cell) {
        return cell.column() == DefByteGridModel::ColAddress || cell.column() == DefByteGridModel::ColTag;
    };
    if (!std::ranges::all_of(cells, derived)) cells.removeIf(derived);
    QApplication::clipboard()->setText(CopyCells(*bytes_, cells));
}

void DefByteGrid::Paste() {
    QModelIndex start = currentIndex();
    if (start.isValid() && start.column() == DefByteGridModel::ColNumber) {
        start = start.siblingAtColumn(DefByteGridModel::ColSelect);  // byte numbers are not data
    }
    const QString report = PasteReport(PasteCells(*bytes_, start, QApplication::clipboard()->text(), undo_));
    if (!report.isEmpty()) ui::Messages().ShowMessage(this, report);
}

void DefByteGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && state() != EditingState) {
        ToggleSelectedBytes();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QItemSelectionModel::SelectionFlags DefByteGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const {
    QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (index.column() == DefByteGridModel::ColNumber) command |= QItemSelectionModel::Rows;
    return command;
}

void DefByteGrid::CommitEdit() {
    if (state() != EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

}  // namespace tessara::documents
