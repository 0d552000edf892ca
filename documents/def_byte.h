#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_file.h"
#include "documents/xml_document.h"

namespace tessara::documents {

// One DeviceNet node of the byte selection editor: its numbers from DNET_Net.xml and, per direction, which
// bytes are exchanged and their mnemonics (element j describes byte j + 1). The four arrays always hold
// NB_IN or NB_OUT elements; the readers keep that true and the writer relies on it.
struct DN_Nodo {
    uint8_t ID = 0;
    uint16_t NB_IN = 0;
    uint16_t NB_OUT = 0;
    std::vector<char> InSelect;
    std::vector<char> OutSelect;
    std::vector<std::string> InMnemonic;
    std::vector<std::string> OutMnemonic;
    std::string Mnemonic;  // the node's own mnemonic, shown in the node list

    bool operator==(const DN_Nodo&) const = default;
};

// One entry per node of DNET_Net.xml, matched with DefByte.xml by position only.
using DefByteTable = std::vector<DN_Nodo>;

// "5 ;4 ;2 ;Valve 3": address, input and output byte counts and the node's mnemonic.
std::string NodeItemText(const DN_Nodo& node);

// "Y" counts as selected whatever the case of its letter; anything else does not.
bool IsSelectedText(std::string_view text);

// Rebuilds `table` from the network document at `path`; a missing file leaves it empty. On an error the table
// keeps the length it was given by the root's child count, the entries from the failing one onward stay at
// zero with no bytes, `nodesRead` tells how many entries were completed, and the error is thrown. A network of
// more bytes than 64 nodes of 65 535 each way is refused before any entry takes memory: the table stays empty.
void ReadDNetNodes(DocumentFile& network, DefByteTable& table, size_t& nodesRead);
// The same, loading the network document into `xml`.
void ReadDNetNodes(XmlDocument& xml, const std::string& path, DefByteTable& table, size_t& nodesRead);

// Fills the selections and mnemonics of `table` from the byte document at `path`, node i from child i of
// the root; a missing file changes nothing. Bytes the document does not reach keep their values. On an error
// what was read so far stays and the error is thrown.
void ReadDefBytes(DocumentFile& bytes, DefByteTable& table);
// The same, loading the byte document into `xml`.
void ReadDefBytes(XmlDocument& xml, const std::string& path, DefByteTable& table);

// Rebuilds `xml` as the byte document of `table` and saves it to `path` through a temporary file. Throws
// std::runtime_error when the file cannot be written.
void SaveDefBytes(XmlDocument& xml, const std::string& path, const DefByteTable& table);

}  // namespace tessara::documents
