#pragma once

#include <QAbstractTableModel>
#include <cstddef>

#include "plc/address_map.h"

namespace tessara::check {

// The address map of the check window: the input rows, then the output rows, each with its PLC address at the
// start the user gives for its area. A row past its area is red and has no address.
class AddressMapModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        ColArea,
        ColOffset,
        ColAddress,
        ColNode,
        ColId,
        ColNodeMnemonic,
        ColByte,
        ColMnemonic,
        ColSymbol,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void SetMap(plc::AddressMap map);
    // The PLC byte addresses at which the master places the input and output modules.
    void SetStarts(size_t inputStart, size_t outputStart);

    const plc::AddressMap& Map() const { return map_; }
    const plc::AddressMapRow& Row(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant Cell(const plc::AddressMapRow& row, int column) const;

    plc::AddressMap map_;
    size_t inputStart_ = 0;
    size_t outputStart_ = 0;
};

}  // namespace tessara::check
