#pragma once

#include <QAbstractTableModel>

#include "documents/dnet_network.h"

// The node grid: a fixed row-number column, then the four cells of each of the 64 rows, all editable.
class DNetTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColNumber, ColId, ColNbIn, ColNbOut, ColMnemonic, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    const DNetRows& Rows() const { return rows_; }
    void SetRows(const DNetRows& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    DNetRows rows_;
};
