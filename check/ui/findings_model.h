#pragma once

#include <QAbstractTableModel>

#include "check/project_check.h"

namespace tessara::check {

// The findings of the check window: severity, place and text, errors in red.
class FindingsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColSeverity, ColPlace, ColText, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetFindings(const std::vector<Finding>& findings);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Finding> findings_;
};

}  // namespace tessara::check
