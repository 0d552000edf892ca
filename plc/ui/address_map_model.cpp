#include "plc/ui/address_map_model.h"

#include <QColor>

#include "plc/address_map_export.h"
#include "ui/read_only_table.h"

namespace tessara::check {

namespace {

const char* const kHeaders[AddressMapModel::ColumnCount] = {"AREA", "OFFSET",        "SLOT", "ADDRESS",  "N",
                                                            "ID",   "NODE MNEMONIC", "BYTE", "MNEMONIC", "SYMBOL",
                                                            "TYPE", "SIZE",          "SWAP"};

QString Text(const std::string& text) {
    return QString::fromStdString(plc::PrintableText(text));
}

}  // namespace

void AddressMapModel::SetMap(plc::AddressMap map) {
    beginResetModel();
    map_ = std::move(map);
    endResetModel();
}

void AddressMapModel::SetLayout(documents::ProfibusLayout layout, const QString& problem) {
    plc::PlaceAddressMap(map_, std::move(layout));
    layoutProblem_ = problem;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void AddressMapModel::SetPlcByteOrder(documents::ByteOrder order) {
    plc::SetPlcByteOrder(map_, order);
    if (rowCount() > 0) emit dataChanged(index(0, ColSwap), index(rowCount() - 1, ColSwap));
}

const plc::AddressMapRow& AddressMapModel::Row(int row) const {
    const size_t at = static_cast<size_t>(row);
    return at < map_.input.size() ? map_.input[at] : map_.output.at(at - map_.input.size());
}

int AddressMapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(map_.input.size() + map_.output.size());
}

int AddressMapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AddressMapModel::Cell(const plc::AddressMapRow& row, int column) const {
    switch (column) {
        case ColArea:
            return QString::fromLatin1(plc::MapAreaName(row.area));
        case ColOffset:
            return static_cast<qulonglong>(row.offset);
        case ColSlot:
            return row.slot > 0 ? QVariant(row.slot) : QVariant();
        case ColAddress:
            if (!layoutProblem_.isEmpty()) return QString();
            return row.fits ? QString::fromStdString(plc::MapRowAddress(row)) : QStringLiteral("no address");
        case ColNode:
            return static_cast<qulonglong>(row.node);
        case ColId:
            return row.id;
        case ColNodeMnemonic:
            return ui::CellLine(Text(row.nodeMnemonic));
        case ColByte:
            return row.byte;
        case ColMnemonic:
            return ui::CellLine(Text(row.mnemonic));
        case ColType:
            return QString::fromLatin1(documents::TagTypeName(row.type));
        case ColSize:
            return static_cast<qulonglong>(row.size);
        case ColSwap:
            // A byte of no tag has no order to swap.
            return row.tagged ? QString::fromLatin1(row.swap ? "yes" : "no") : QString();
        default:
            return QString::fromStdString(row.symbol);
    }
}

QVariant AddressMapModel::ToolTip(const plc::AddressMapRow& row, int column) const {
    if (column == ColNodeMnemonic) return ui::CellToolTip(Text(row.nodeMnemonic));
    if (column == ColMnemonic) return ui::CellToolTip(Text(row.mnemonic));
    if (column == ColSwap && row.tagged && row.size > 1)
        return QStringLiteral("The device sends its bytes %1-endian, the PLC reads %2-endian")
            .arg(QLatin1String(documents::ByteOrderName(row.byteOrder)),
                 QLatin1String(documents::ByteOrderName(map_.plcByteOrder)));
    if (!layoutProblem_.isEmpty()) return layoutProblem_;
    if (!row.fits)
        return QStringLiteral("No PLC address: %1").arg(QString::fromStdString(plc::NotFittingText(map_, row)));
    if (column == ColSlot || column == ColAddress)
        return QStringLiteral("Slot %1, byte %2 of its module").arg(row.slot).arg(row.slotOffset);
    return {};
}

QVariant AddressMapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const plc::AddressMapRow& row = Row(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return Cell(row, index.column());
        case Qt::ForegroundRole:
            return row.fits ? QVariant() : QVariant(QColor(Qt::red));
        case Qt::ToolTipRole:
            return ToolTip(row, index.column());
        default:
            return {};
    }
}

QVariant AddressMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeaders[section]);
}

}  // namespace tessara::check
