#include "documents/def_byte_grid_model.h"

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
            return display ? QVariant(QString::fromLatin1((*select_)[row] ? "Y" : "N")) : QVariant();
        case ColMnemonic:
            return display ? QVariant(QString::fromStdString((*mnemonic_)[row])) : QVariant();
        default:
            return {};
    }
}

bool DefByteGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!IsByte(index)) return false;
    const size_t row = static_cast<size_t>(index.row());
    if (index.column() == ColSelect && role == Qt::CheckStateRole) {
        (*select_)[row] = value.toInt() == Qt::Checked;
    } else if (index.column() == ColMnemonic && role == Qt::EditRole) {
        (*mnemonic_)[row] = value.toString().toStdString();
    } else {
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
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
            return Qt::ItemIsEnabled;
    }
}

QVariant DefByteGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[ColumnCount] = {"N", "Select", "Mnemonic"};
    return section >= 0 && section < ColumnCount ? QVariant(QString::fromLatin1(kHeaders[section])) : QVariant();
}
