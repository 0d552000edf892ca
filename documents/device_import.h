#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "documents/def_byte.h"
#include "documents/profibus_slots.h"
#include "documents/typed_tag.h"

namespace tessara::documents {

// A byte of a node that an import of the device's EDS file selects and names.
struct NamedByte {
    AreaDirection direction = AreaDirection::Input;
    uint32_t byte = 1;  // from 1
    std::string mnemonic;
    bool operator==(const NamedByte&) const = default;
};

// What an import of a device's EDS file gives its row beyond the counts, saved with the row at the network
// editor's OK: the bytes to select and name in DefByte.xml and the typed tags for PlcMap.xml. The tags' `node`
// is the row's position, set when the row is saved, wherever it stands by then.
struct DeviceImport {
    std::vector<NamedByte> bytes;
    std::vector<TypedTag> tags;
    bool operator==(const DeviceImport&) const = default;
};

// Selects and names the import's bytes in `node`, whose selection and mnemonic arrays hold its counts; a byte
// past them is left out.
void ApplyImport(const DeviceImport& import, DN_Nodo& node);

}  // namespace tessara::documents
