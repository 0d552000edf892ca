#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace tessara::documents {

class DocumentFile;
class XmlDocument;

// One row of the DeviceNet node list: the cell texts verbatim, as the grid holds them.
struct DNetRow {
    std::string ID, NB_IN, NB_OUT, Mnemonic;
    bool operator==(const DNetRow&) const = default;
};

// The grid always has exactly 64 rows; the node list is the run of rows before the first empty "ID".
inline constexpr size_t kDNetRowCount = 64;
using DNetRows = std::array<DNetRow, kDNetRowCount>;

// The number of nodes: rows before the first whose "ID" holds no character.
size_t DNetListLength(const DNetRows& rows);

// The index of the first row, from the first empty "ID" on, that holds any text: OK does not save it or the rows
// after it. The row that ends the list counts when another of its cells holds text: its ID was forgotten.
// nullopt when nothing stands from the list's end on.
std::optional<size_t> FirstRowBelowTheList(const DNetRows& rows);

// Reads DNET_Net.xml into the rows from the first: child i of the root fills row i, cell by cell, up to 64
// children; the rest of `rows` is left as it is. A missing file changes nothing. The first failure (parse
// error, a missing attribute) throws and leaves what was read before it.
void LoadDNetNetwork(const std::string& path, DNetRows& rows);
void LoadDNetNetwork(DocumentFile& network, DNetRows& rows);

// The rows of DNET_Net.xml beyond the grid's 64: no row shows them, so OK drops them. 0 without the file.
size_t RowsPastTheGrid(DocumentFile& network);

// The exact message of the first failing test in row order ("ID", then "N BYTE IN", then "N BYTE OUT"), or
// nullopt when every row of the list is valid.
std::optional<std::string> CheckRows(const DNetRows& rows);

// Rebuilds `doc` as DNET_Net.xml with one "row" per node of the list and saves it to `path`; throws
// std::runtime_error when the file cannot be written, leaving the previous file intact.
void SaveDNetNetwork(XmlDocument& doc, const std::string& path, const DNetRows& rows);

}  // namespace tessara::documents
