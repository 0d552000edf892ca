#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "documents/profibus_slots.h"
#include "documents/typed_tag.h"

namespace tessara::documents {

// One tag as it was exported: its symbol, its area and its PLC address.
struct ExportedTag {
    std::string symbol;
    AreaDirection direction = AreaDirection::Input;
    size_t address = 0;
    bool operator==(const ExportedTag&) const = default;
};

// The tags of the last export, to tell later which addresses moved since.
struct TagExport {
    std::string date;     // an xsd:dateTime in UTC
    std::string symbols;  // the symbol style the tags were named in
    std::vector<ExportedTag> tags;
    bool operator==(const TagExport&) const = default;
};

// What PlcMap.xml holds of the PLC side. Default-constructed it is a project without the document: every slot
// follows the one before it, as the addresses were before the document existed.
struct PlcMapDocument {
    std::vector<SlotStart> starts;
    std::vector<TypedTag> tags;
    std::optional<ByteOrder> plcByteOrder;  // none: the PLC reads words most significant byte first
    std::optional<TagExport> lastExport;
    bool operator==(const PlcMapDocument&) const = default;
};

// Reads PlcMap.xml; a missing file gives the default. A document that is not XML throws ParseError, and a
// slot or tag that is not understood (an area other than input or output, a start or address past 65535, a
// position of 0, a type or byte order the tool does not know, a typed tag without a name) throws DocumentError
// naming it: a start or a value's type must never be guessed.
PlcMapDocument LoadPlcMap(DocumentFile& file);
PlcMapDocument LoadPlcMap(const std::string& projectDir);

// Writes the document's slots, typed tags, byte order and export into PlcMap.xml with the careful save of the other
// documents (UTF-8, compact, no declaration, through a temporary file). Elements this tool does not know are kept as
// they stand, so a newer tool's additions survive; a file that is there but cannot be read is not replaced (the error
// of LoadPlcMap is thrown).
void SavePlcMap(const std::string& projectDir, const PlcMapDocument& document);

}  // namespace tessara::documents
