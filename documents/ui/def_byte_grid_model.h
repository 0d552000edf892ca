#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "documents/def_byte.h"
#include "documents/profibus_slots.h"

class QUndoCommand;
class QUndoStack;

namespace tessara::documents {

// Which of a node's two byte arrays, as the two pages of the editor show them.
enum class ByteDirection { In, Out };

inline AreaDirection AreaOf(ByteDirection direction) {
    return direction == ByteDirection::Out ? AreaDirection::Output : AreaDirection::Input;
}
inline ByteDirection BytesOf(AreaDirection direction) {
    return direction == AreaDirection::Output ? ByteDirection::Out : ByteDirection::In;
}

class EditorTags;

// The bytes of one direction of one node of a table, as a grid of "N", "Select", "Mnemonic" and the PROFIBUS
// address of each selected byte ("IB 12", "QB 3"; "no address" in red, with the reason, for a byte that does not
// fit), from the one address function the map and the exports use, and the typed tag a byte belongs to: a sound
// tag's first row shows its address and width ("IW 12"), its other rows their place in it. The model
// names the node by its index in the table and reads and edits the table in place, so a node of 65 535 bytes
// is shown without copying a row. With an undo stack every edit is a step on it; a step names its bytes by
// node index and direction too, so it reaches them through the table whichever node is shown.
class DefByteGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColNumber, ColSelect, ColMnemonic, ColAddress, ColTag, ColumnCount };

    explicit DefByteGridModel(ByteDirection direction, QObject* parent = nullptr);

    void SetUndoStack(QUndoStack* undo) { undo_ = undo; }
    // The table the node indexes refer to; null lets go of it, and the grid then shows no rows.
    void SetTable(DefByteTable* table);
    // The project's PROFIBUS slots with their PLC starts, which give each selected byte its address. With a
    // problem (PlcMap.xml unreadable) no byte shows an address, and the problem is the cells' tool tip.
    void SetLayout(const ProfibusLayout& layout, const QString& problem = {});
    // The typed tags the rows show; the model tells them of every change of a selection.
    void SetTags(EditorTags* tags) { tags_ = tags; }
    // A tag was made or removed: the tag and address cells are shown again.
    void TagsChanged();
    // The index of the typed tag that holds the byte of this row, if any.
    std::optional<size_t> TagOfRow(size_t row) const;
    // Shows node `node` of the table. An index the table does not hold (-1 while no node is current) shows no
    // rows, so nothing typed can belong to no node. A direction without bytes shows one row that belongs to
    // no byte. Call it again whenever the table is rebuilt, so the view learns its new rows.
    void ShowNode(int node);

    // The shown selections (none without a node), and replacing them all as one step (select all, none,
    // invert, space).
    std::span<const char> Selections() const;
    void SetSelections(const std::vector<char>& after, const QString& what);

    // Applies a value to a node that may not be the one shown; what undo and redo use. Asks first that the
    // node be shown, so the user sees what changes. Bytes the table does not hold are left alone.
    void Apply(size_t node, ByteDirection direction, size_t row, int column, const QString& value);
    void ApplySelections(size_t node, ByteDirection direction, const std::vector<char>& state);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // "Select" takes a check state, or a text as spreadsheets give it: Y or N in any case, 1 or 0, x or blank.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // An undo or redo is about to change the bytes of a node that may not be the one shown.
    void RevealRequested(int node, ByteDirection direction);

private:
    const DN_Nodo* ShownNode() const;
    // The node at `node` when the table holds it, else null.
    DN_Nodo* NodeAt(size_t node) const;
    bool IsByte(const QModelIndex& index) const;
    // "IB 12" or "QB 3" where the byte is selected; "no address" in red, with the reason, when it does not fit.
    QVariant AddressData(size_t row, int role) const;
    // The address cell of a byte of a sound typed tag, or nothing when the byte is in none.
    std::optional<QVariant> TagAddressData(size_t row, int role) const;
    // "Speed (INT)" on each row of a tag; in red, with the reason, when it is not one value.
    QVariant TagData(size_t row, int role) const;
    bool Shows(size_t node, ByteDirection direction) const;
    // Shows the node first when it is not shown; tells whether this model shows its bytes afterwards.
    bool Reveal(size_t node, ByteDirection direction);
    // Onto the undo stack, or applied at once without one.
    void Push(std::unique_ptr<QUndoCommand> step);
    // Places the shown node's selected bytes in the area again: one pass over the nodes before it and one over
    // the node, once per change, so a cell never counts.
    void PlaceInArea();
    void AddressesChanged();

    const ByteDirection direction_;
    DefByteTable* table_ = nullptr;
    int node_ = -1;
    QUndoStack* undo_ = nullptr;
    ProfibusLayout layout_;
    QString layoutProblem_;
    EditorTags* tags_ = nullptr;
    std::vector<size_t> areaOffsets_;  // per byte of the shown node, kNoAreaOffset when not selected
};

}  // namespace tessara::documents
