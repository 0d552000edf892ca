#include "documents/network_reorder.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/file_system.h"
#include "documents/document_error.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"

namespace tessara::documents {

namespace {

bool IsEmptyRow(const DNetRow& row) {
    return row == DNetRow{};
}

void AppendUnselected(pugi::xml_node group, const std::string& countText) {
    // The list passed CheckRows, so the count is 0 to 65535.
    const int32_t count = std::max(IntOrMinusOne(countText), 0);
    for (int32_t j = 0; j < count; ++j) {
        pugi::xml_node row = AppendChild(group, def_byte_xml::kByte);
        SetAttribute(row, def_byte_xml::kSelect, "N");
        SetAttribute(row, def_byte_xml::kMnemonic, "");
    }
}

// A node without its groups gets them, so its imported bytes have rows to stand in.
pugi::xml_node Group(pugi::xml_node node, size_t position) {
    while (ChildCount(node) <= position) {
        AppendChild(node, ChildCount(node) == 0 ? def_byte_xml::kInputGroup : def_byte_xml::kOutputGroup);
    }
    return ChildAt(node, position);
}

// The byte rows of one group, from byte 1 up to the row's count, added unselected where the group is shorter.
std::vector<pugi::xml_node> ByteRows(pugi::xml_node group, const std::string& countText) {
    const size_t count = static_cast<size_t>(std::max(IntOrMinusOne(countText), 0));
    std::vector<pugi::xml_node> rows;
    for (pugi::xml_node row = group.first_child(); row && rows.size() < count; row = row.next_sibling()) {
        rows.push_back(row);
    }
    if (rows.size() < count) AppendUnselected(group, std::to_string(count - rows.size()));
    for (pugi::xml_node row = rows.empty() ? group.first_child() : rows.back().next_sibling();
         row && rows.size() < count; row = row.next_sibling()) {
        rows.push_back(row);
    }
    return rows;
}

void ApplyImport(const DeviceImport& import, const DNetRow& row, pugi::xml_node node) {
    std::optional<std::vector<pugi::xml_node>> inputs, outputs;
    for (const NamedByte& named : import.bytes) {
        const bool input = named.direction == AreaDirection::Input;
        std::optional<std::vector<pugi::xml_node>>& rows = input ? inputs : outputs;
        if (!rows) rows = ByteRows(Group(node, input ? 0 : 1), input ? row.NB_IN : row.NB_OUT);
        if (named.byte == 0 || named.byte > rows->size()) continue;
        pugi::xml_node byte = (*rows)[named.byte - 1];
        SetAttribute(byte, def_byte_xml::kSelect, "Y");
        SetAttribute(byte, def_byte_xml::kMnemonic, named.mnemonic);
    }
}

// The byte document for the grid's node list, built from the stored one.
void BuildDefBytes(XmlDocument& stored, XmlDocument& rebuilt, const NetworkGrid& grid) {
    const pugi::xml_node oldRoot = stored.FirstTopLevelNode();
    std::vector<pugi::xml_node> oldNodes;
    for (pugi::xml_node node = oldRoot.first_child(); node; node = node.next_sibling()) oldNodes.push_back(node);
    rebuilt.Activate();
    rebuilt.RemoveAllTopLevelNodes();
    pugi::xml_node root = rebuilt.AddRoot(def_byte_xml::kRoot);
    const size_t length = DNetListLength(grid.rows);
    for (size_t i = 0; i < length; ++i) {
        const int origin = grid.origins[i];
        pugi::xml_node node;
        if (origin >= 0 && static_cast<size_t>(origin) < oldNodes.size()) {
            node = root.append_copy(oldNodes[static_cast<size_t>(origin)]);
        } else {
            node = AppendChild(root, def_byte_xml::kNode);
            AppendUnselected(AppendChild(node, def_byte_xml::kInputGroup), grid.rows[i].NB_IN);
            AppendUnselected(AppendChild(node, def_byte_xml::kOutputGroup), grid.rows[i].NB_OUT);
        }
        if (grid.imports[i]) ApplyImport(*grid.imports[i], grid.rows[i], node);
    }
}

std::optional<std::string> TextOf(const std::string& path) {
    return base::FileExists(path) ? std::optional(base::ReadWholeFile(path)) : std::nullopt;
}

// Puts a file back as it was before this save: its earlier text, or no file.
void Restore(const std::string& path, const std::optional<std::string>& text) {
    if (text) {
        base::WriteWholeFile(path, *text, base::WriteTarget::RegularFile);
    } else {
        std::error_code ignored;
        std::filesystem::remove(base::PathFromUtf8(path), ignored);
    }
}

}  // namespace

RowOrigins NetworkGrid::IdentityOrigins() {
    RowOrigins origins{};
    for (size_t i = 0; i < origins.size(); ++i) origins[i] = static_cast<int>(i);
    return origins;
}

bool NetworkGrid::HasImports() const {
    const size_t length = DNetListLength(rows);
    return std::any_of(imports.begin(), imports.begin() + static_cast<long>(length),
                       [](const std::optional<DeviceImport>& import) { return import.has_value(); });
}

bool InsertRowAbove(NetworkGrid& grid, size_t row) {
    if (row >= kDNetRowCount || !IsEmptyRow(grid.rows.back())) return false;
    auto shift = [row](auto& cells) {
        std::move_backward(cells.begin() + static_cast<long>(row), cells.end() - 1, cells.end());
    };
    shift(grid.rows);
    shift(grid.origins);
    shift(grid.imports);
    grid.rows[row] = DNetRow{};
    grid.origins[row] = kNewRow;
    grid.imports[row].reset();
    return true;
}

void DeleteRows(NetworkGrid& grid, size_t first, size_t count) {
    if (first >= kDNetRowCount) return;
    count = std::min(count, kDNetRowCount - first);
    auto close = [first, count](auto& cells, const auto& empty) {
        std::move(cells.begin() + static_cast<long>(first + count), cells.end(),
                  cells.begin() + static_cast<long>(first));
        std::fill(cells.end() - static_cast<long>(count), cells.end(), empty);
    };
    close(grid.rows, DNetRow{});
    close(grid.origins, kNewRow);
    close(grid.imports, std::nullopt);
}

bool MoveRows(NetworkGrid& grid, size_t first, size_t count, int delta) {
    if (count == 0 || first + count > kDNetRowCount) return false;
    if (delta < 0 ? first == 0 : first + count == kDNetRowCount) return false;
    // Moving a block one row is rotating it with its neighbour on that side.
    const size_t low = delta < 0 ? first - 1 : first;
    const size_t high = first + count + (delta < 0 ? 0 : 1);
    const size_t pivot = delta < 0 ? 1 : count;
    auto rotate = [&](auto& cells) {
        std::rotate(cells.begin() + static_cast<long>(low), cells.begin() + static_cast<long>(low + pivot),
                    cells.begin() + static_cast<long>(high));
    };
    rotate(grid.rows);
    rotate(grid.origins);
    rotate(grid.imports);
    return true;
}

std::vector<NodeIo> NodesAfterSave(const DefByteTable& saved, const NetworkGrid& grid) {
    DefByteTable table;
    for (size_t i = 0; i < DNetListLength(grid.rows); ++i) {
        const DNetRow& row = grid.rows[i];
        const int origin = grid.origins[i];
        DN_Nodo node;
        if (origin != kNewRow && static_cast<size_t>(origin) < saved.size()) node = saved[static_cast<size_t>(origin)];
        node.ID = static_cast<uint8_t>(ParseIntText(row.ID).value_or(0));
        node.Mnemonic = row.Mnemonic;
        node.NB_IN = static_cast<uint16_t>(std::clamp(ParseIntText(row.NB_IN).value_or(0), 0, 65535));
        node.NB_OUT = static_cast<uint16_t>(std::clamp(ParseIntText(row.NB_OUT).value_or(0), 0, 65535));
        node.InSelect.resize(node.NB_IN, 0);
        node.InMnemonic.resize(node.NB_IN);
        node.OutSelect.resize(node.NB_OUT, 0);
        node.OutMnemonic.resize(node.NB_OUT);
        if (grid.imports[i]) ApplyImport(*grid.imports[i], node);
        table.push_back(std::move(node));
    }
    return NodesOf(table);
}

void SaveNetworkKeepingSelections(XmlDocument& xml, const std::string& networkPath, const std::string& defBytePath,
                                  const NetworkGrid& grid, const std::function<void()>& alsoSave) {
    const bool rebuild = grid.HasImports() || (grid.NodesMoved() && base::FileExists(defBytePath));
    XmlDocument stored;
    XmlDocument rebuilt;
    if (rebuild) {
        if (base::FileExists(defBytePath)) stored.LoadFile(defBytePath);
        BuildDefBytes(stored, rebuilt, grid);
    }
    const std::optional<std::string> previousNetwork = TextOf(networkPath);
    const std::optional<std::string> previousBytes = rebuild ? TextOf(defBytePath) : std::nullopt;
    SaveDNetNetwork(xml, networkPath, grid.rows);
    try {
        if (rebuild) rebuilt.SaveFile(defBytePath);
        try {
            if (alsoSave) alsoSave();
        } catch (...) {
            if (rebuild) Restore(defBytePath, previousBytes);
            throw;
        }
    } catch (...) {
        // Back to the network the stored selections and tags belong to.
        Restore(networkPath, previousNetwork);
        throw;
    }
}

}  // namespace tessara::documents
