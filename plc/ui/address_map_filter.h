#pragma once

#include <QSortFilterProxyModel>
#include <cstddef>

namespace tessara::check {

// The rows of the address map of one node (or of all), whose cells hold a text, in any case.
class AddressMapFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit AddressMapFilter(QObject* parent = nullptr);

    // The 1-based position of the node shown; 0 shows every node.
    void SetNode(size_t node);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    size_t node_ = 0;
};

}  // namespace tessara::check
