#include "plc/ui/address_map_model.h"

#include <QColor>

#include "plc/address_map_export.h"
#include "ui/read_only_table.h"

namespace tessara::check {

namespace {

const char* const kHeaders[AddressMapModel::ColumnCount] = {"AREA", "OFFSET",        "SLOT", "ADDRESS",  "N",
                                                            "ID",   "NODE MNEMONIC", "BYTE", "MNEMONIC", "SYMBOL"};

QString Text(const std::string& text) {
    return QString::fromStdString(plc::PrintableText(text));
}

}  // namespace

void AddressMapModel::SetMap(plc::AddressMap map) {
    beginResetModel();
    map_ = std::move(map);
    endResetModel();
}

void AddressMapModel::SetLayout(const documents::ProfibusLayout& layout, const QString& problem) {
    layout_ = layout;
    layoutProblem_ = problem;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
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

QVariant AddressMapModel::Cell(const plc::AddressMapRow& row, const documents::ProfibusAddress& address,
                               int column) const {
    switch (column) {
        case ColArea:
            return QString::fromLatin1(plc::MapAreaName(row.area));
        case ColOffset:
            return static_cast<qulonglong>(row.offset);
        case ColSlot:
            return address.slot > 0 ? QVariant(address.slot) : QVariant();
        case ColAddress:
            if (!layoutProblem_.isEmpty()) return QString();
            return address.fits ? QString::fromStdString(plc::PlcByteAddress(row.area, address.address))
                                : QStringLiteral("no address");
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
        default:
            return QString::fromStdString(row.symbol);
    }
}

QVariant AddressMapModel::ToolTip(const plc::AddressMapRow& row, const documents::ProfibusAddress& address,
                                  int column) const {
    if (column == ColNodeMnemonic) return ui::CellToolTip(Text(row.nodeMnemonic));
    if (column == ColMnemonic) return ui::CellToolTip(Text(row.mnemonic));
    if (!layoutProblem_.isEmpty()) return layoutProblem_;
    if (!address.fits) {
        return QStringLiteral("No PLC address: %1")
            .arg(QString::fromStdString(documents::FitProblemText(address.problem, layout_.AreaSize(row.area))));
    }
    if (column == ColSlot || column == ColAddress)
        return QStringLiteral("Slot %1, byte %2 of its module").arg(address.slot).arg(address.slotOffset);
    return {};
}

QVariant AddressMapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const plc::AddressMapRow& row = Row(index.row());
    const documents::ProfibusAddress address = layout_.Address(row.area, row.offset);
    switch (role) {
        case Qt::DisplayRole:
            return Cell(row, address, index.column());
        case Qt::ForegroundRole:
            return address.fits ? QVariant() : QVariant(QColor(Qt::red));
        case Qt::ToolTipRole:
            return ToolTip(row, address, index.column());
        default:
            return {};
    }
}

QVariant AddressMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeaders[section]);
}

}  // namespace tessara::check
