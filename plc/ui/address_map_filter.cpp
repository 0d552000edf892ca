#include "plc/ui/address_map_filter.h"

#include "plc/ui/address_map_model.h"

namespace tessara::check {

AddressMapFilter::AddressMapFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setFilterKeyColumn(-1);
}

void AddressMapFilter::SetNode(size_t node) {
    node_ = node;
    invalidateRowsFilter();
}

bool AddressMapFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (node_ != 0) {
        const QModelIndex cell = sourceModel()->index(sourceRow, AddressMapModel::ColNode, sourceParent);
        if (cell.data().toULongLong() != node_) return false;
    }
    return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}

}  // namespace tessara::check
