#include "documents/node_selections.h"

namespace tessara::documents {

namespace {

std::vector<SelectedByte> Selected(const std::vector<char>& select, const std::vector<std::string>& mnemonics) {
    std::vector<SelectedByte> bytes;
    for (size_t j = 0; j < select.size(); ++j) {
        if (select[j] != 0) bytes.push_back({static_cast<uint32_t>(j + 1), j < mnemonics.size() ? mnemonics[j] : ""});
    }
    return bytes;
}

}  // namespace

std::vector<NodeIo> NodesOf(const DefByteTable& table) {
    std::vector<NodeIo> nodes;
    nodes.reserve(table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const DN_Nodo& node = table[i];
        nodes.push_back({i + 1, node.ID, node.Mnemonic, node.NB_IN, node.NB_OUT,
                         Selected(node.InSelect, node.InMnemonic), Selected(node.OutSelect, node.OutMnemonic)});
    }
    return nodes;
}

}  // namespace tessara::documents
