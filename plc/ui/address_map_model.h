#pragma once

#include <QAbstractTableModel>
#include <cstddef>

#include "documents/profibus_slots.h"
#include "plc/address_map.h"

namespace tessara::check {

// The address map of the check window: the input rows, then the output rows, each with its slot and its PLC
// address from the project's slots and their starts. A row that does not fit is red, reads "no address" and
// tells why in its tool tip.
class AddressMapModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        ColArea,
        ColOffset,
        ColSlot,
        ColAddress,
        ColNode,
        ColId,
        ColNodeMnemonic,
        ColByte,
        ColMnemonic,
        ColSymbol,
        ColType,
        ColSize,
        ColSwap,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void SetMap(plc::AddressMap map);
    // The slots and their starts that place every row; with a problem (PlcMap.xml unreadable) no row has an
    // address, and the problem is its tool tip.
    void SetLayout(documents::ProfibusLayout layout, const QString& problem = {});
    // The byte order the PLC reads words in, which says which typed rows are swapped.
    void SetPlcByteOrder(documents::ByteOrder order);

    const plc::AddressMap& Map() const { return map_; }
    const plc::AddressMapRow& Row(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant Cell(const plc::AddressMapRow& row, int column) const;
    QVariant ToolTip(const plc::AddressMapRow& row, int column) const;

    plc::AddressMap map_;
    QString layoutProblem_;
};

}  // namespace tessara::check
