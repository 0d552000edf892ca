#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

// The bytes of one direction of one node, as a grid of "N", "Select" and "Mnemonic". The model reads and
// edits the node's own arrays in place, so a node of 65 535 bytes is shown without copying a row.
class DefByteGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColNumber, ColSelect, ColMnemonic, ColumnCount };

    explicit DefByteGridModel(QObject* parent = nullptr);

    // Shows the given arrays (of equal length) until the next ShowBytes or Detach; they must live that long.
    // A direction without bytes shows one row that belongs to no byte.
    void ShowBytes(std::vector<char>& select, std::vector<std::string>& mnemonic);
    // Shows no rows: used while no node is current, so nothing typed can belong to no node.
    void Detach();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool IsByte(const QModelIndex& index) const;

    std::vector<char>* select_ = nullptr;
    std::vector<std::string>* mnemonic_ = nullptr;
};
