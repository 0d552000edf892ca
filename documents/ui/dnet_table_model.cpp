#include "documents/ui/dnet_table_model.h"

#include <QApplication>
#include <QPalette>
#include <QUndoCommand>
#include <QUndoStack>

namespace tessara::documents {

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

// The grid is small, so each step keeps the whole grid before and after it.
class GridCommand : public QUndoCommand {
public:
    GridCommand(DNetTableModel& model, NetworkGrid before, NetworkGrid after, const QString& text)
        : QUndoCommand(text), model_(model), before_(std::move(before)), after_(std::move(after)) {}
    void redo() override { model_.ApplyGrid(after_); }
    void undo() override { model_.ApplyGrid(before_); }

private:
    DNetTableModel& model_;
    NetworkGrid before_;
    NetworkGrid after_;
};

}  // namespace

void DNetTableModel::SetRows(const DNetRows& rows) {
    beginResetModel();
    grid_ = NetworkGrid{rows, NetworkGrid::IdentityOrigins()};
    endResetModel();
}

void DNetTableModel::ApplyGrid(const NetworkGrid& grid) {
    grid_ = grid;
    emit dataChanged(index(0, ColId), index(rowCount() - 1, ColMnemonic), {Qt::DisplayRole, Qt::EditRole});
}

void DNetTableModel::Change(const NetworkGrid& after, const QString& what) {
    if (after == grid_) return;
    if (undo_) {
        undo_->push(new GridCommand(*this, grid_, after, what));
    } else {
        ApplyGrid(after);
    }
}

bool DNetTableModel::InsertRowAbove(int row) {
    NetworkGrid after = grid_;
    if (row < 0 || !documents::InsertRowAbove(after, static_cast<size_t>(row))) return false;
    Change(after, tr("Insert row"));
    return true;
}

void DNetTableModel::DeleteRows(int first, int count) {
    if (first < 0 || count <= 0) return;
    NetworkGrid after = grid_;
    documents::DeleteRows(after, static_cast<size_t>(first), static_cast<size_t>(count));
    Change(after, tr("Delete rows"));
}

bool DNetTableModel::MoveRows(int first, int count, int delta) {
    NetworkGrid after = grid_;
    if (first < 0 || count <= 0 ||
        !documents::MoveRows(after, static_cast<size_t>(first), static_cast<size_t>(count), delta)) {
        return false;
    }
    Change(after, delta < 0 ? tr("Move rows up") : tr("Move rows down"));
    return true;
}

void DNetTableModel::ImportDevice(int row, const EdsDevice& device, std::optional<DeviceImport> import) {
    if (row < 0 || row >= rowCount()) return;
    NetworkGrid after = grid_;
    DNetRow& target = after.rows[static_cast<size_t>(row)];
    target.NB_IN = std::to_string(device.InputBytes);
    target.NB_OUT = std::to_string(device.OutputBytes);
    if (device.ProdName) target.Mnemonic = *device.ProdName;
    after.imports[static_cast<size_t>(row)] = std::move(import);
    Change(after, tr("Import EDS"));
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
    const std::string* cell = CellOf(grid_.rows[static_cast<size_t>(index.row())], index.column());
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
    NetworkGrid after = grid_;
    std::string* cell = CellOf(after.rows[static_cast<size_t>(index.row())], index.column());
    if (!cell) return false;
    *cell = value.toString().toStdString();
    Change(after, tr("Edit cell"));
    return true;
}

}  // namespace tessara::documents
