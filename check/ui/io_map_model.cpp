#include "check/ui/io_map_model.h"

#include "ui/read_only_table.h"

namespace tessara::check {

namespace {

const char* const kHeaders[IoMapModel::ColumnCount] = {"N",           "ID",         "MNEMONIC",     "N BYTE IN",
                                                       "SELECTED IN", "N BYTE OUT", "SELECTED OUT", "SELECTED BYTES"};

QVariant Cell(const NodeIo& node, const QString& selectedBytes, int column) {
    switch (column) {
        case IoMapModel::ColPosition:
            return static_cast<qulonglong>(node.position);
        case IoMapModel::ColId:
            return node.ID;
        case IoMapModel::ColMnemonic:
            return ui::CellLine(QString::fromStdString(node.mnemonic));
        case IoMapModel::ColNbIn:
            return node.NB_IN;
        case IoMapModel::ColSelIn:
            return static_cast<qulonglong>(node.selectedIn.size());
        case IoMapModel::ColNbOut:
            return node.NB_OUT;
        case IoMapModel::ColSelOut:
            return static_cast<qulonglong>(node.selectedOut.size());
        default:
            return ui::CellLine(selectedBytes);
    }
}

}  // namespace

void IoMapModel::SetNodes(const std::vector<NodeIo>& nodes) {
    beginResetModel();
    nodes_ = nodes;
    selectedBytes_.clear();
    for (const NodeIo& node : nodes_) selectedBytes_.push_back(QString::fromStdString(SelectedBytesText(node)));
    endResetModel();
}

int IoMapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(nodes_.size());
}

int IoMapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant IoMapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole && index.column() != ColMnemonic && index.column() != ColBytes) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    const auto row = static_cast<size_t>(index.row());
    if (role == Qt::ToolTipRole && index.column() == ColBytes) return ui::CellToolTip(selectedBytes_[row]);
    if (role == Qt::ToolTipRole && index.column() == ColMnemonic) {
        return ui::CellToolTip(QString::fromStdString(nodes_[row].mnemonic));
    }
    if (role != Qt::DisplayRole) return {};
    return Cell(nodes_[row], selectedBytes_[row], index.column());
}

QVariant IoMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeaders[section]);
}

}  // namespace tessara::check
