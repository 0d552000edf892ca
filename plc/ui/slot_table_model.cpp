#include "plc/ui/slot_table_model.h"

#include <QColor>

namespace tessara::check {

namespace {

const char* const kHeaders[SlotTableModel::ColumnCount] = {"SLOT", "DIRECTION", "SIZE", "START"};

}  // namespace

void SlotTableModel::SetLayout(const documents::ProfibusLayout& layout) {
    // A start typed in changes no row, only starts: the cell being edited is not reset under its editor.
    if (layout.Slots().size() == slots_.size() && !slots_.empty()) {
        slots_ = layout.Slots();
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    slots_ = layout.Slots();
    endResetModel();
}

void SlotTableModel::SetEditable(bool editable) {
    editable_ = editable;
    if (rowCount() > 0) emit dataChanged(index(0, ColStart), index(rowCount() - 1, ColStart));
}

int SlotTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(slots_.size());
}

int SlotTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SlotTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const documents::ProfibusSlot& slot = slots_[static_cast<size_t>(index.row())];
    if (index.column() == ColStart) return StartData(slot, role);
    if (role == Qt::TextAlignmentRole && index.column() != ColDirection) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case ColSlot:
            return slot.number;
        case ColDirection:
            return slot.direction == documents::AreaDirection::Input ? QStringLiteral("input")
                                                                     : QStringLiteral("output");
        default:
            return static_cast<qulonglong>(slot.size);
    }
}

QVariant SlotTableModel::StartData(const documents::ProfibusSlot& slot, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            return editable_ ? QString::fromStdString(documents::PlcByteAddress(slot.direction, slot.start))
                             : QString();
        case Qt::EditRole:
            return slot.startSet ? QString::number(slot.start) : QString();
        case Qt::ForegroundRole:
            return slot.startSet ? QVariant() : QVariant(QColor(Qt::gray));
        case Qt::ToolTipRole:
            if (!editable_) return {};
            if (slot.startSet) return QStringLiteral("Kept in PlcMap.xml; clear it to follow the slot before");
            return slot.position == 1 ? QStringLiteral("The first slot of its direction starts at 0 unless given")
                                      : QStringLiteral("Follows the slot before; type a start to place it apart");
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

bool SlotTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != ColStart || role != Qt::EditRole || !editStart_ || !editable_)
        return false;
    return editStart_(slots_[static_cast<size_t>(index.row())], value.toString().trimmed());
}

Qt::ItemFlags SlotTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ColStart && editable_) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant SlotTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeaders[section]);
}

}  // namespace tessara::check
