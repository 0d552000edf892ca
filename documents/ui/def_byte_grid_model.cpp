#include "documents/ui/def_byte_grid_model.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <optional>

namespace tessara::documents {

namespace {

// One cell: a byte's selection ("Y"/"N") or its mnemonic.
class ByteCellCommand : public QUndoCommand {
public:
    ByteCellCommand(DefByteGridModel& model, std::vector<char>& select, std::vector<std::string>& mnemonic, size_t row,
                    int column, QString before, QString after)
        : QUndoCommand(QObject::tr("Edit byte")),
          model_(model),
          select_(select),
          mnemonic_(mnemonic),
          row_(row),
          column_(column),
          before_(std::move(before)),
          after_(std::move(after)) {}
    void redo() override { model_.Apply(select_, mnemonic_, row_, column_, after_); }
    void undo() override { model_.Apply(select_, mnemonic_, row_, column_, before_); }

private:
    DefByteGridModel& model_;
    std::vector<char>& select_;
    std::vector<std::string>& mnemonic_;
    size_t row_;
    int column_;
    QString before_, after_;
};

// Every selection of one direction of one node, before and after.
class SelectionsCommand : public QUndoCommand {
public:
    SelectionsCommand(DefByteGridModel& model, std::vector<char>& select, std::vector<std::string>& mnemonic,
                      std::vector<char> after, const QString& text)
        : QUndoCommand(text),
          model_(model),
          select_(select),
          mnemonic_(mnemonic),
          before_(select),
          after_(std::move(after)) {}
    void redo() override { model_.ApplySelections(select_, mnemonic_, after_); }
    void undo() override { model_.ApplySelections(select_, mnemonic_, before_); }

private:
    DefByteGridModel& model_;
    std::vector<char>& select_;
    std::vector<std::string>& mnemonic_;
    std::vector<char> before_, after_;
};

std::optional<bool> SelectionFromText(const QString& text) {
    const QString word = text.trimmed().toUpper();
    if (word == QLatin1String("Y") || word == QLatin1String("1") || word == QLatin1String("X")) return true;
    if (word == QLatin1String("N") || word == QLatin1String("0") || word.isEmpty()) return false;
    return std::nullopt;
}

QString SelectionText(bool selected) {
    return QString::fromLatin1(selected ? "Y" : "N");
}

}  // namespace

DefByteGridModel::DefByteGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DefByteGridModel::ShowBytes(std::vector<char>& select, std::vector<std::string>& mnemonic) {
    beginResetModel();
    select_ = &select;
    mnemonic_ = &mnemonic;
    endResetModel();
}

void DefByteGridModel::Detach() {
    beginResetModel();
    select_ = nullptr;
    mnemonic_ = nullptr;
    endResetModel();
}

void DefByteGridModel::SetSelections(const std::vector<char>& after, const QString& what) {
    if (!select_ || after.size() != select_->size() || after == *select_) return;
    if (undo_) {
        undo_->push(new SelectionsCommand(*this, *select_, *mnemonic_, after, what));
    } else {
        ApplySelections(*select_, *mnemonic_, after);
    }
}

void DefByteGridModel::Reveal(std::vector<char>& select, std::vector<std::string>& mnemonic) {
    if (select_ != &select) emit RevealRequested(&select);
    if (select_ != &select) ShowBytes(select, mnemonic);  // nobody answered: show the arrays themselves
}

void DefByteGridModel::Apply(std::vector<char>& select, std::vector<std::string>& mnemonic, size_t row, int column,
                             const QString& value) {
    Reveal(select, mnemonic);
    if (column == ColSelect) {
        select[row] = value == QLatin1String("Y");
    } else {
        mnemonic[row] = value.toStdString();
    }
    const QModelIndex cell = index(static_cast<int>(row), column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
}

void DefByteGridModel::ApplySelections(std::vector<char>& select, std::vector<std::string>& mnemonic,
                                       const std::vector<char>& state) {
    Reveal(select, mnemonic);
    select = state;
    emit dataChanged(index(0, ColSelect), index(rowCount() - 1, ColSelect), {Qt::DisplayRole, Qt::CheckStateRole});
}

int DefByteGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !select_) return 0;
    return select_->empty() ? 1 : static_cast<int>(select_->size());
}

int DefByteGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool DefByteGridModel::IsByte(const QModelIndex& index) const {
    return select_ && index.isValid() && static_cast<size_t>(index.row()) < select_->size();
}

QVariant DefByteGridModel::data(const QModelIndex& index, int role) const {
    if (!IsByte(index)) return {};
    const size_t row = static_cast<size_t>(index.row());
    const bool display = role == Qt::DisplayRole || role == Qt::EditRole;
    switch (index.column()) {
        case ColNumber:
            return display ? QVariant(index.row() + 1) : QVariant();
        case ColSelect:
            if (role == Qt::CheckStateRole) return (*select_)[row] ? Qt::Checked : Qt::Unchecked;
            return display ? QVariant(SelectionText((*select_)[row])) : QVariant();
        case ColMnemonic:
            return display ? QVariant(QString::fromStdString((*mnemonic_)[row])) : QVariant();
        default:
            return {};
    }
}

bool DefByteGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!IsByte(index)) return false;
    const size_t row = static_cast<size_t>(index.row());
    QString after;
    if (index.column() == ColSelect && role == Qt::CheckStateRole) {
        after = SelectionText(value.toInt() == Qt::Checked);
    } else if (index.column() == ColSelect && role == Qt::EditRole) {
        const std::optional<bool> selected = SelectionFromText(value.toString());
        if (!selected) return false;
        after = SelectionText(*selected);
    } else if (index.column() == ColMnemonic && role == Qt::EditRole) {
        after = value.toString();
    } else {
        return false;
    }
    const QString before = data(index, Qt::EditRole).toString();
    if (after == before) return true;
    if (undo_) {
        undo_->push(new ByteCellCommand(*this, *select_, *mnemonic_, row, index.column(), before, after));
    } else {
        Apply(*select_, *mnemonic_, row, index.column(), after);
    }
    return true;
}

Qt::ItemFlags DefByteGridModel::flags(const QModelIndex& index) const {
    if (!IsByte(index)) return Qt::ItemIsEnabled;
    switch (index.column()) {
        case ColSelect:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
        case ColMnemonic:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
        default:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable;  // a click on the byte number selects its row
    }
}

QVariant DefByteGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[ColumnCount] = {"N", "Select", "Mnemonic"};
    return section >= 0 && section < ColumnCount ? QVariant(QString::fromLatin1(kHeaders[section])) : QVariant();
}

}  // namespace tessara::documents
