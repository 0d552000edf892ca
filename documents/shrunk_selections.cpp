#include "documents/shrunk_selections.h"

#include <exception>
#include <optional>

#include "documents/def_byte.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"

namespace tessara::documents {

namespace {

// The count as CheckRows accepted it; a loaded text that was never a count is nothing to lose from.
std::optional<size_t> Count(const std::string& text) {
    const int32_t value = IntOrMinusOne(text);
    if (value < 0) return std::nullopt;
    return static_cast<size_t>(value);
}

// Selected bytes of one group between the new count and the count it had.
size_t SelectedBetween(pugi::xml_node group, const std::string& now, const std::string& before) {
    const std::optional<size_t> from = Count(now);
    const std::optional<size_t> to = Count(before);
    if (!from || !to || *from >= *to) return 0;
    size_t selected = 0;
    size_t j = 0;
    for (pugi::xml_node row = group.first_child(); row && j < *to; row = row.next_sibling(), ++j) {
        if (j >= *from && IsSelectedText(AttrToText(row, def_byte_xml::kSelect))) ++selected;
    }
    return selected;
}

// A document shorter than the network, or a node without its groups, holds nothing to lose there.
pugi::xml_node ChildOrNone(pugi::xml_node node, size_t position) {
    return position < ChildCount(node) ? ChildAt(node, position) : pugi::xml_node();
}

std::string Bytes(size_t n, const char* direction) {
    return std::to_string(n) + " selected " + direction + (n == 1 ? " byte" : " bytes");
}

}  // namespace

std::vector<ShrunkSelection> SelectionsLostByShrinking(DocumentFile& bytes, const DNetRows& loaded,
                                                       const NetworkGrid& grid) {
    std::vector<ShrunkSelection> lost;
    if (!bytes.Exists()) return lost;
    try {
        const pugi::xml_node root = bytes.Root();
        for (size_t r = 0; r < kDNetRowCount && !grid.rows[r].ID.empty(); ++r) {
            const int origin = grid.origins[r];
            if (origin == kNewRow) continue;
            const pugi::xml_node node = ChildOrNone(root, static_cast<size_t>(origin));
            const DNetRow& now = grid.rows[r];
            const DNetRow& before = loaded[static_cast<size_t>(origin)];
            const ShrunkSelection entry{r, now.ID, SelectedBetween(ChildOrNone(node, 0), now.NB_IN, before.NB_IN),
                                        SelectedBetween(ChildOrNone(node, 1), now.NB_OUT, before.NB_OUT)};
            if (entry.inputs + entry.outputs > 0) lost.push_back(entry);
        }
    } catch (const std::exception&) {
        return {};
    }
    return lost;
}

std::string ShrunkSelectionsQuestion(const std::vector<ShrunkSelection>& lost) {
    std::string text;
    for (const ShrunkSelection& node : lost) {
        if (!text.empty()) text += "\n";
        text += "Node " + std::to_string(node.row + 1) + " (ID " + node.ID + ") loses ";
        if (node.inputs > 0) text += Bytes(node.inputs, "input");
        if (node.inputs > 0 && node.outputs > 0) text += " and ";
        if (node.outputs > 0) text += Bytes(node.outputs, "output");
        text += ".";
    }
    return text + (lost.size() == 1 ? " Continue?" : "\n\nContinue?");
}

}  // namespace tessara::documents
