#include "documents/dnet_table_model.h"

#include <QApplication>
#include <QPalette>

namespace {

const char* const kHeaders[DNetTableModel::ColumnCount] = {"N", "ID", "N BYTE IN", "N BYTE OUT", "MNEMONIC"};

// The text behind an editable cell, or null for the number column; const or not as the row is.
template <class Row>
auto CellOf(Row& row, int column) -> decltype(&row.ID) {
    switch (column) {
        case DNetTableModel::ColId:
            return &row.ID;
        case DNetTableModel::ColNbIn:
            return &row.NB_IN;
        case DNetTableModel::ColNbOut:
            return &row.NB_OUT;
        case DNetTableModel::ColMnemonic:
            return &row.Mnemonic;
        default:
            return nullptr;
    }
}

bool InGrid(const QModelIndex& index) {
    return index.isValid() && index.row() < static_cast<int>(kDNetRowCount);
}

}  // namespace

void DNetTableModel::SetRows(const DNetRows& rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

int DNetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kDNetRowCount);
}

int DNetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DNetTableModel::data(const QModelIndex& index, int role) const {
    if (!InGrid(index)) return {};
    if (index.column() == ColNumber) {
        if (role == Qt::DisplayRole) return QString::number(index.row() + 1);
        // The row numbers are drawn like the header: they are labels, not data.
        if (role == Qt::BackgroundRole) return QApplication::palette().button();
        if (role == Qt::ForegroundRole) return QApplication::palette().buttonText();
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const std::string* cell = CellOf(rows_[static_cast<size_t>(index.row())], index.column());
    return cell ? QString::fromStdString(*cell) : QVariant();
}

QVariant DNetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(kHeaders[section]);
}

Qt::ItemFlags DNetTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // The number column is neither selectable nor editable, so keyboard moves and Delete pass it by.
    if (index.column() == ColNumber) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool DNetTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !InGrid(index)) return false;
    std::string* cell = CellOf(rows_[static_cast<size_t>(index.row())], index.column());
    if (!cell) return false;
    *cell = value.toString().toStdString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}
