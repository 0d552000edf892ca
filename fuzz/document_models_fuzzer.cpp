#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "base/project_files.h"
#include "documents/comm_settings.h"
#include "documents/def_byte.h"
#include "documents/dnet_network.h"
#include "fuzz_project.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

// A reader may refuse a document with an error; it must never crash, and what it fills must stay consistent.
template <class Step>
void Read(Step&& step) {
    try {
        step();
    } catch (const std::runtime_error&) {
    }
}

void CheckTable(const DefByteTable& table) {
    for (const DN_Nodo& node : table) {
        if (node.InSelect.size() != node.NB_IN || node.InMnemonic.size() != node.NB_IN) std::abort();
        if (node.OutSelect.size() != node.NB_OUT || node.OutMnemonic.size() != node.NB_OUT) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string project = WriteFuzzProject(data, size);
    CommSettings settings;
    Read([&] { LoadCommSettings(ProjectFile(project, kPargenFileName), settings); });
    CheckSettings(settings);

    DNetRows rows;
    Read([&] { LoadDNetNetwork(ProjectFile(project, kDNetNetFileName), rows); });
    CheckRows(rows);

    XmlDocument xml;
    DefByteTable table;
    size_t nodesRead = 0;
    Read([&] { ReadDNetNodes(xml, ProjectFile(project, kDNetNetFileName), table, nodesRead); });
    if (nodesRead > table.size()) std::abort();
    Read([&] { ReadDefBytes(xml, ProjectFile(project, kDefByteFileName), table); });
    CheckTable(table);
    for (const DN_Nodo& node : table) NodeItemText(node);
    return 0;
}
