#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

class QUndoStack;

namespace tessara::documents {

// The bytes of one direction of one node, as a grid of "N", "Select" and "Mnemonic". The model reads and
// edits the node's own arrays in place, so a node of 65 535 bytes is shown without copying a row. With an undo
// stack every edit is a step on it.
class DefByteGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColNumber, ColSelect, ColMnemonic, ColumnCount };

    explicit DefByteGridModel(QObject* parent = nullptr);

    void SetUndoStack(QUndoStack* undo) { undo_ = undo; }
    // Shows the given arrays (of equal length) until the next ShowBytes or Detach; they must live that long.
    // A direction without bytes shows one row that belongs to no byte.
    void ShowBytes(std::vector<char>& select, std::vector<std::string>& mnemonic);
    // Shows no rows: used while no node is current, so nothing typed can belong to no node.
    void Detach();

    // The shown selections, and replacing them all as one step (select all, none, invert, space).
    const std::vector<char>* Selections() const { return select_; }
    void SetSelections(const std::vector<char>& after, const QString& what);

    // Applies a value to arrays that may no longer be shown; what undo and redo use. Asks first that the
    // arrays be shown, so the user sees what changes.
    void Apply(std::vector<char>& select, std::vector<std::string>& mnemonic, size_t row, int column,
               const QString& value);
    void ApplySelections(std::vector<char>& select, std::vector<std::string>& mnemonic, const std::vector<char>& state);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // "Select" takes a check state, or a text as spreadsheets give it: Y or N in any case, 1 or 0, x or blank.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // An undo or redo is about to change the bytes of a node that may not be the one shown.
    void RevealRequested(const std::vector<char>* select);

private:
    bool IsByte(const QModelIndex& index) const;
    void Reveal(std::vector<char>& select, std::vector<std::string>& mnemonic);

    std::vector<char>* select_ = nullptr;
    std::vector<std::string>* mnemonic_ = nullptr;
    QUndoStack* undo_ = nullptr;
};

}  // namespace tessara::documents
