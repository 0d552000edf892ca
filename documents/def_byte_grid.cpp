#include "documents/def_byte_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <limits>

namespace {

constexpr int kRowHeight = 21;
constexpr int kNumberWidth = 55;
constexpr int kSelectWidth = 75;

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

DefByteGrid::DefByteGrid(int mnemonicWidth, QWidget* parent) : QTableView(parent), bytes_(new DefByteGridModel(this)) {
    setModel(bytes_);
    setItemDelegate(new ByteCellDelegate(this));
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionMode(SingleSelection);
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
    setColumnWidth(DefByteGridModel::ColMnemonic, mnemonicWidth);
}

void DefByteGrid::CommitEdit() {
    if (state() != EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}
