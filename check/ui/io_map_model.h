#pragma once

#include <QAbstractTableModel>

#include "check/project_check.h"

namespace tessara::check {

// The I/O map of the check window: one row per node in network order.
class IoMapModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColPosition, ColId, ColMnemonic, ColNbIn, ColSelIn, ColNbOut, ColSelOut, ColBytes, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetNodes(const std::vector<NodeIo>& nodes);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<NodeIo> nodes_;
    std::vector<QString> selectedBytes_;  // each node's list, made once: a node may select thousands
};

}  // namespace tessara::check
