#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessara::documents {
class DocumentFile;
struct ProjectDocuments;
}  // namespace tessara::documents

namespace tessara::image {

// One DeviceNet slave node as the configuration image needs it: its address, its byte counts and which of its
// bytes are exchanged. The four image fields are filled by the image build.
struct DN_Nodo_1 {
    uint8_t ID = 0;
    uint16_t NB_IN = 0;
    uint16_t NB_OUT = 0;
    uint16_t InMapPos = 0;
    uint16_t OutMapPos = 0;
    std::vector<bool> InSelect;   // element j is true when input byte j + 1 is selected
    std::vector<bool> OutSelect;  // the same for output bytes
    uint8_t InSelCount = 0;
    uint8_t OutSelCount = 0;
};

// The nodes in the order of DNET_Net.xml; DefByte.xml's node elements belong to them by position alone.
using NodeTable = std::vector<DN_Nodo_1>;

// A node's numbers as DNET_Net.xml writes them, before the image's fields keep them modulo their width: what
// the project check holds against what the device can take.
struct NodeNumbers {
    int32_t ID = 0;
    int32_t NB_IN = 0;
    int32_t NB_OUT = 0;
};

// Reads DNET_Net.xml and DefByte.xml of the project. A project without DNET_Net.xml has no nodes (never those
// of an earlier build); without DefByte.xml every byte is unselected. Throws ParseError, or DocumentError
// naming the document and the node, byte or attribute at fault.
NodeTable LoadNodeTable(const std::string& projectDir);
NodeTable LoadNodeTable(documents::ProjectDocuments& documents);

// LoadNodeTable in its two steps, so the image build can refuse a network too large for the device before the
// selection arrays of hand-edited byte counts take their memory. The first reads the nodes' numbers and leaves
// their arrays empty; the second sizes the arrays and reads DefByte.xml.
NodeTable LoadNodeNumbers(documents::DocumentFile& network);
std::vector<NodeNumbers> LoadNodeNumbersAsWritten(documents::DocumentFile& network);
void LoadNodeSelections(documents::DocumentFile& bytes, NodeTable& table);

}  // namespace tessara::image
