#include "image/node_table.h"

#include "documents/def_byte.h"
#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/xml_document.h"

namespace tessara::image {

namespace {

// Says which node (and byte) of the document an error belongs to; nodes and bytes count from 1 for the user.
[[noreturn]] void RethrowAt(const std::string& place, const documents::DocumentError& e) {
    throw e.Within(place);
}

std::string NodePlace(size_t index) {
    return "node " + std::to_string(index + 1);
}

NodeNumbers ReadNode(pugi::xml_node row) {
    return {documents::AttrToInt(row, documents::dnet_net_xml::kId),
            documents::AttrToInt(row, documents::dnet_net_xml::kNbIn),
            documents::AttrToInt(row, documents::dnet_net_xml::kNbOut)};
}

// The unsigned conversions keep the value modulo the field's range, as the image stores it.
DN_Nodo_1 ImageNode(const NodeNumbers& numbers) {
    DN_Nodo_1 node;
    node.ID = static_cast<uint8_t>(numbers.ID);
    node.NB_IN = static_cast<uint16_t>(numbers.NB_IN);
    node.NB_OUT = static_cast<uint16_t>(numbers.NB_OUT);
    return node;
}

std::vector<NodeNumbers> ReadNodes(documents::DocumentFile& network) {
    const pugi::xml_node root = network.Root();
    std::vector<NodeNumbers> nodes;
    nodes.reserve(documents::ChildCount(root));
    documents::ReadingDocument(network.Path(), [&] {
        for (pugi::xml_node row = root.first_child(); row; row = row.next_sibling()) {
            try {
                nodes.push_back(ReadNode(row));
            } catch (const documents::DocumentError& e) {
                RethrowAt(NodePlace(nodes.size()), e);
            }
        }
    });
    return nodes;
}

// Only the first select.size() byte elements count; a group may list more or fewer than the node has.
void ReadGroup(pugi::xml_node group, std::vector<bool>& select, const char* direction) {
    size_t j = 0;
    try {
        for (pugi::xml_node byte = group.first_child(); byte && j < select.size(); byte = byte.next_sibling(), ++j) {
            const pugi::xml_attribute attribute = byte.attribute(documents::def_byte_xml::kSelect);
            if (!attribute)
                documents::AttrToText(byte, documents::def_byte_xml::kSelect);  // throws the missing-attribute error
            select[j] = documents::IsSelectedText(attribute.value());
        }
    } catch (const documents::DocumentError& e) {
        RethrowAt(std::string(direction) + " byte " + std::to_string(j + 1), e);
    }
}

void ReadSelections(documents::DocumentFile& bytes, NodeTable& table) {
    const pugi::xml_node root = bytes.Root();
    documents::ReadingDocument(bytes.Path(), [&] {
        size_t i = 0;
        for (pugi::xml_node node = root.first_child(); node && i < table.size(); node = node.next_sibling(), ++i) {
            try {
                ReadGroup(documents::ChildAt(node, 0), table[i].InSelect, "input");
                ReadGroup(documents::ChildAt(node, 1), table[i].OutSelect, "output");
            } catch (const documents::DocumentError& e) {
                RethrowAt(NodePlace(i), e);
            }
        }
    });
}

}  // namespace

std::vector<NodeNumbers> LoadNodeNumbersAsWritten(documents::DocumentFile& network) {
    if (!network.Exists()) return {};
    return ReadNodes(network);
}

NodeTable LoadNodeNumbers(documents::DocumentFile& network) {
    const std::vector<NodeNumbers> numbers = LoadNodeNumbersAsWritten(network);
    NodeTable table;
    table.reserve(numbers.size());
    for (const NodeNumbers& node : numbers) table.push_back(ImageNode(node));
    return table;
}

void LoadNodeSelections(documents::DocumentFile& bytes, NodeTable& table) {
    for (DN_Nodo_1& node : table) {
        node.InSelect.assign(node.NB_IN, false);
        node.OutSelect.assign(node.NB_OUT, false);
    }
    if (!table.empty() && bytes.Exists()) ReadSelections(bytes, table);
}

NodeTable LoadNodeTable(documents::ProjectDocuments& documents) {
    NodeTable table = LoadNodeNumbers(documents.network);
    LoadNodeSelections(documents.bytes, table);
    return table;
}

NodeTable LoadNodeTable(const std::string& projectDir) {
    documents::ProjectDocuments documents(projectDir);
    return LoadNodeTable(documents);
}

}  // namespace tessara::image
