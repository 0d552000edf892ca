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
        if (origin >= 0 && static_cast<size_t>(origin) < oldNodes.size()) {
            root.append_copy(oldNodes[static_cast<size_t>(origin)]);
            continue;
        }
        pugi::xml_node node = AppendChild(root, def_byte_xml::kNode);
        AppendUnselected(AppendChild(node, def_byte_xml::kInputGroup), grid.rows[i].NB_IN);
        AppendUnselected(AppendChild(node, def_byte_xml::kOutputGroup), grid.rows[i].NB_OUT);
    }
}

}  // namespace

RowOrigins NetworkGrid::IdentityOrigins() {
    RowOrigins origins{};
    for (size_t i = 0; i < origins.size(); ++i) origins[i] = static_cast<int>(i);
    return origins;
}

bool InsertRowAbove(NetworkGrid& grid, size_t row) {
    if (row >= kDNetRowCount || !IsEmptyRow(grid.rows.back())) return false;
    std::move_backward(grid.rows.begin() + static_cast<long>(row), grid.rows.end() - 1, grid.rows.end());
    std::move_backward(grid.origins.begin() + static_cast<long>(row), grid.origins.end() - 1, grid.origins.end());
    grid.rows[row] = DNetRow{};
    grid.origins[row] = kNewRow;
    return true;
}

void DeleteRows(NetworkGrid& grid, size_t first, size_t count) {
    if (first >= kDNetRowCount) return;
    count = std::min(count, kDNetRowCount - first);
    const auto from = static_cast<long>(first);
    const auto to = static_cast<long>(first + count);
    std::move(grid.rows.begin() + to, grid.rows.end(), grid.rows.begin() + from);
    std::move(grid.origins.begin() + to, grid.origins.end(), grid.origins.begin() + from);
    std::fill(grid.rows.end() - static_cast<long>(count), grid.rows.end(), DNetRow{});
    std::fill(grid.origins.end() - static_cast<long>(count), grid.origins.end(), kNewRow);
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
        table.push_back(std::move(node));
    }
    return NodesOf(table);
}

void SaveNetworkKeepingSelections(XmlDocument& xml, const std::string& networkPath, const std::string& defBytePath,
                                  const NetworkGrid& grid) {
    if (!grid.NodesMoved() || !base::FileExists(defBytePath)) {
        SaveDNetNetwork(xml, networkPath, grid.rows);
        return;
    }
    XmlDocument stored;
    XmlDocument rebuilt;
    stored.LoadFile(defBytePath);
    BuildDefBytes(stored, rebuilt, grid);
    const std::optional<std::string> previousNetwork =
        base::FileExists(networkPath) ? std::optional(base::ReadWholeFile(networkPath)) : std::nullopt;
    SaveDNetNetwork(xml, networkPath, grid.rows);
    try {
        rebuilt.SaveFile(defBytePath);
    } catch (...) {
        // Back to the network the stored selections belong to.
        if (previousNetwork) {
            base::WriteWholeFile(networkPath, *previousNetwork, base::WriteTarget::RegularFile);
        } else {
            std::error_code ignored;
            std::filesystem::remove(base::PathFromUtf8(networkPath), ignored);
        }
        throw;
    }
}

}  // namespace tessara::documents
