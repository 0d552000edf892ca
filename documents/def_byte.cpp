#include "documents/def_byte.h"

#include <optional>
#include <stdexcept>

#include "documents/document_error.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"

namespace tessara::documents {

namespace {

// The network editor holds 64 nodes of at most 65 535 bytes each way. A hand-edited network beyond that is
// refused at the node that passes it: each byte takes a selection and a mnemonic here, so a small file of many
// large nodes would otherwise take gigabytes.
constexpr size_t kNetworkByteLimit = 64 * 2 * 65535;

void CheckNetworkBytes(size_t bytes, size_t index) {
    if (bytes <= kNetworkByteLimit) return;
    throw DocumentError("Node " + std::to_string(index + 1) + " brings the network to " + std::to_string(bytes) +
                        " bytes, more than the " + std::to_string(kNetworkByteLimit) +
                        " of 64 nodes with 65535 input and 65535 output bytes");
}

// A row's byte count as ReadNode keeps it, or nullopt where ReadNode fails on the row.
std::optional<uint16_t> RowByteCount(pugi::xml_node row, const char* name) {
    const std::optional<std::string> text = AttributeText(row, name);
    const std::optional<int32_t> value = text ? ParseIntText(*text) : std::nullopt;
    if (!value) return std::nullopt;
    return static_cast<uint16_t>(*value);
}

bool RowReadable(pugi::xml_node row) {
    return ParseIntText(AttributeText(row, dnet_net_xml::kId).value_or("")) &&
           AttributeText(row, dnet_net_xml::kMnemonic) && RowByteCount(row, dnet_net_xml::kNbIn) &&
           RowByteCount(row, dnet_net_xml::kNbOut);
}

// The limit is held against the counts before any node's arrays take their memory, so a network past it is
// refused whole, at the node that passes it. The first row ReadNode fails on ends this pass: the reading
// reports that row, as it would without the limit.
void CheckNetworkFits(pugi::xml_node root) {
    size_t bytes = 0;
    size_t index = 0;
    for (pugi::xml_node row = root.first_child(); row && RowReadable(row); row = row.next_sibling(), ++index) {
        CheckNetworkBytes(bytes += *RowByteCount(row, dnet_net_xml::kNbIn) + *RowByteCount(row, dnet_net_xml::kNbOut),
                          index);
    }
}

// A node counts as read only once everything about it is, so a failing row leaves its entry at zero.
DN_Nodo ReadNode(pugi::xml_node row) {
    DN_Nodo node;
    // A hand-edited value wider than its field is kept modulo the field's range, without error.
    node.ID = static_cast<uint8_t>(AttrToInt(row, dnet_net_xml::kId));
    node.NB_IN = static_cast<uint16_t>(AttrToInt(row, dnet_net_xml::kNbIn));
    node.NB_OUT = static_cast<uint16_t>(AttrToInt(row, dnet_net_xml::kNbOut));
    node.Mnemonic = AttrToText(row, dnet_net_xml::kMnemonic);
    // Sized rather than filled with copies of an empty text: a node takes up to 65 535 mnemonics each way.
    node.InSelect.resize(node.NB_IN);
    node.InMnemonic.resize(node.NB_IN);
    node.OutSelect.resize(node.NB_OUT);
    node.OutMnemonic.resize(node.NB_OUT);
    return node;
}

// Byte rows are the bulk of the document, so their values are taken in place instead of being copied out.
const char* RowValue(pugi::xml_node row, const char* name) {
    const pugi::xml_attribute attribute = row.attribute(name);
    if (!attribute) AttrToText(row, name);  // throws the document's error naming the attribute
    return attribute.value();
}

// Walks the siblings rather than asking for each position, so a group of 65 535 bytes reads in one pass.
void ReadGroup(pugi::xml_node group, std::vector<char>& select, std::vector<std::string>& mnemonic) {
    size_t j = 0;
    for (pugi::xml_node row = group.first_child(); row && j < select.size(); row = row.next_sibling(), ++j) {
        select[j] = IsSelectedText(RowValue(row, def_byte_xml::kSelect));
        mnemonic[j].assign(RowValue(row, def_byte_xml::kMnemonic));
    }
}

// Every byte row starts as a copy of one parsed row. Copies share the parsed row's element and attribute
// names and its "N" and empty values instead of allocating them again, which is most of the work of building
// the document for nodes of thousands of bytes.
constexpr char kRowPrototype[] = "<row Select=\"N\" Mnemonic=\"\"/>";

void AppendGroup(pugi::xml_node group, pugi::xml_node prototype, uint16_t count, const std::vector<char>& select,
                 const std::vector<std::string>& mnemonic) {
    // Writing fewer or more rows than the node has bytes would shift every later selection of the node.
    if (select.size() != count || mnemonic.size() != count) {
        throw std::logic_error("Byte table out of step with the node's byte count");
    }
    for (size_t j = 0; j < count; ++j) {
        const pugi::xml_node row = group.append_copy(prototype);
        pugi::xml_attribute selectAttribute = row.first_attribute();
        if (select[j]) selectAttribute.set_value("Y");
        if (!mnemonic[j].empty()) selectAttribute.next_attribute().set_value(mnemonic[j].c_str());
    }
}

}  // namespace

std::string NodeItemText(const DN_Nodo& node) {
    return std::to_string(node.ID) + " ;" + std::to_string(node.NB_IN) + " ;" + std::to_string(node.NB_OUT) + " ;" +
           node.Mnemonic;
}

bool IsSelectedText(std::string_view text) {
    return text == "Y" || text == "y";
}

void ReadDNetNodes(DocumentFile& network, DefByteTable& table, size_t& nodesRead) {
    table.clear();
    nodesRead = 0;
    if (!network.Exists()) return;
    const pugi::xml_node root = network.Root();
    ReadingDocument(network.Path(), [&] {
        CheckNetworkFits(root);
        table.resize(ChildCount(root));
        for (pugi::xml_node row = root.first_child(); row; row = row.next_sibling()) {
            table[nodesRead] = ReadNode(row);
            ++nodesRead;
        }
    });
}

void ReadDNetNodes(XmlDocument& xml, const std::string& path, DefByteTable& table, size_t& nodesRead) {
    DocumentFile network(path, xml);
    ReadDNetNodes(network, table, nodesRead);
}

void ReadDefBytes(DocumentFile& bytes, DefByteTable& table) {
    if (table.empty() || !bytes.Exists()) return;
    const pugi::xml_node root = bytes.Root();
    ReadingDocument(bytes.Path(), [&] {
        auto entry = table.begin();
        for (pugi::xml_node node = root.first_child(); node && entry != table.end(); node = node.next_sibling()) {
            // The groups go by position: child 0 is the input group and child 1 the output group, whatever
            // their names.
            ReadGroup(ChildAt(node, 0), entry->InSelect, entry->InMnemonic);
            ReadGroup(ChildAt(node, 1), entry->OutSelect, entry->OutMnemonic);
            ++entry;
        }
    });
}

void ReadDefBytes(XmlDocument& xml, const std::string& path, DefByteTable& table) {
    DocumentFile bytes(path, xml);
    ReadDefBytes(bytes, table);
}

void SaveDefBytes(XmlDocument& xml, const std::string& path, const DefByteTable& table) {
    xml.Activate();
    xml.RemoveAllTopLevelNodes();
    pugi::xml_node root = xml.AddRoot(def_byte_xml::kRoot);
    root.append_buffer(kRowPrototype, sizeof kRowPrototype - 1);
    const pugi::xml_node prototype = root.last_child();
    for (const DN_Nodo& node : table) {
        const pugi::xml_node nodo = AppendChild(root, def_byte_xml::kNode);
        AppendGroup(AppendChild(nodo, def_byte_xml::kInputGroup), prototype, node.NB_IN, node.InSelect,
                    node.InMnemonic);
        AppendGroup(AppendChild(nodo, def_byte_xml::kOutputGroup), prototype, node.NB_OUT, node.OutSelect,
                    node.OutMnemonic);
    }
    root.remove_child(prototype);
    xml.SaveFile(path);
}

}  // namespace tessara::documents
