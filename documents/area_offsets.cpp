#include "documents/area_offsets.h"

#include <algorithm>

namespace tessara::documents {

size_t SelectedBytesBefore(const DefByteTable& table, size_t node, bool output) {
    size_t before = 0;
    for (size_t i = 0; i < std::min(node, table.size()); ++i) {
        const std::vector<char>& select = output ? table[i].OutSelect : table[i].InSelect;
        before += static_cast<size_t>(std::ranges::count_if(select, [](char selected) { return selected != 0; }));
    }
    return before;
}

std::vector<size_t> AreaOffsets(size_t first, std::span<const char> selections) {
    std::vector<size_t> offsets(selections.size(), kNoAreaOffset);
    size_t next = first;
    for (size_t i = 0; i < selections.size(); ++i) {
        if (selections[i] != 0) offsets[i] = next++;
    }
    return offsets;
}

std::vector<ProfibusAddress> NodeByteAddresses(const DefByteTable& table, size_t node, AreaDirection direction,
                                               const ProfibusLayout& layout) {
    if (node >= table.size()) return {};
    const bool output = direction == AreaDirection::Output;
    const std::vector<size_t> offsets =
        AreaOffsets(SelectedBytesBefore(table, node, output), output ? table[node].OutSelect : table[node].InSelect);
    std::vector<ProfibusAddress> addresses(offsets.size());
    for (size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] != kNoAreaOffset) addresses[i] = layout.Address(direction, offsets[i]);
    }
    return addresses;
}

}  // namespace tessara::documents
