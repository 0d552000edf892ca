#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "documents/def_byte.h"
#include "documents/device_import.h"
#include "documents/dnet_network.h"
#include "documents/node_selections.h"

namespace tessara::documents {

class XmlDocument;

// Where a grid row came from: the position at which it was loaded, or kNewRow for a row that row operations
// brought in. Byte selections belong to nodes by position, so this is what lets them follow their node.
inline constexpr int kNewRow = -1;
using RowOrigins = std::array<int, kDNetRowCount>;

// The network editor's grid: its 64 rows, where each came from, and what an EDS import gave it.
struct NetworkGrid {
    DNetRows rows;
    RowOrigins origins = IdentityOrigins();
    std::array<std::optional<DeviceImport>, kDNetRowCount> imports{};

    static RowOrigins IdentityOrigins();
    // True when some row no longer stands where it was loaded, so DefByte.xml must follow.
    bool NodesMoved() const { return origins != IdentityOrigins(); }
    // True when a node of the list has bytes to select and name from an import.
    bool HasImports() const;
    bool operator==(const NetworkGrid&) const = default;
};

// Row operations; each keeps 64 rows. Inserting puts an empty row at `row` and pushes the rest down; it is
// refused (false) when the last row holds anything, which would fall off the grid.
bool InsertRowAbove(NetworkGrid& grid, size_t row);
// Removes `count` rows from `first` and fills the bottom with empty rows.
void DeleteRows(NetworkGrid& grid, size_t first, size_t count);
// Moves the block of `count` rows from `first` one row up (delta -1) or down (+1); false at the grid's edge.
bool MoveRows(NetworkGrid& grid, size_t first, size_t count, int delta);

// The nodes as saving the grid leaves them, in the grid's order: each row with the byte selections of the saved
// node it came from (none for a new row, or one the saved table did not reach), cut to its byte counts, and the
// bytes its import selects. What the PLC addresses after the save follow from.
std::vector<NodeIo> NodesAfterSave(const DefByteTable& saved, const NetworkGrid& grid);

// Writes DNET_Net.xml and, when nodes moved and DefByte.xml exists, rewrites DefByte.xml so that node i gets
// the "Nodo_DNET" that stood at its origin; an inserted node, or one the document did not reach, gets all its
// bytes unselected; nodes that were deleted lose theirs. A node with an import gets its bytes selected and named
// too, in a DefByte.xml made for the purpose when there is none. Then `alsoSave` writes what else goes with the
// grid (the tags of its nodes). DefByte.xml is read and rebuilt before anything is written, and a failure of a
// later write puts the files written before it back, so the documents never disagree.
// Throws ParseError / DocumentError for an unreadable DefByte.xml, std::runtime_error for a failed write, or what
// `alsoSave` throws.
void SaveNetworkKeepingSelections(XmlDocument& xml, const std::string& networkPath, const std::string& defBytePath,
                                  const NetworkGrid& grid, const std::function<void()>& alsoSave = {});

}  // namespace tessara::documents
