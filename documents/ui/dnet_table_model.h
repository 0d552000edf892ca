#pragma once

#include <QAbstractTableModel>

#include "documents/eds_reader.h"
#include "documents/network_reorder.h"

class QUndoStack;

namespace tessara::documents {

// The node grid: a fixed row-number column, then the four cells of each of the 64 rows, all editable. With an
// undo stack every change, cell or row operation, goes through it and can be undone.
class DNetTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColNumber, ColId, ColNbIn, ColNbOut, ColMnemonic, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetUndoStack(QUndoStack* stack) { undo_ = stack; }

    const DNetRows& Rows() const { return grid_.rows; }
    const NetworkGrid& Grid() const { return grid_; }
    // Loads the rows as they stand in the document: every row is where it was loaded.
    void SetRows(const DNetRows& rows);
    // Replaces the whole grid without recording it; what undo and redo use.
    void ApplyGrid(const NetworkGrid& grid);

    // Row operations (see network_reorder.h); each is one undoable step. False when refused.
    bool InsertRowAbove(int row);
    void DeleteRows(int first, int count);
    bool MoveRows(int first, int count, int delta);
    // Fills the row's byte counts, and its mnemonic when the device names its product, as one step; the row
    // keeps `import` (the bytes and tags of the device's values, or none) to be saved with it.
    void ImportDevice(int row, const EdsDevice& device, std::optional<DeviceImport> import = std::nullopt);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void Change(const NetworkGrid& after, const QString& what);

    NetworkGrid grid_;
    QUndoStack* undo_ = nullptr;
};

}  // namespace tessara::documents
