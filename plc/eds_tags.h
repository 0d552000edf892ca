#pragma once

#include <string>
#include <vector>

#include "documents/device_import.h"
#include "documents/eds_reader.h"
#include "documents/typed_tag.h"

namespace tessara::plc {

// What an import of a device's EDS file gives its node: the bytes of each described value selected and named by
// it ("Speed", then "Speed byte 2"; values that share a byte are named together), and a typed tag for each value of
// more than one byte that has a tag type, named by the value's name made an IEC name (as a byte's symbol is made;
// `id`, the node's address, names a value without a name) and unique without regard to case among `taken` (the
// other tags of the project). A value whose bytes a tag of `nodeTags` (the node's own) already covers gets no tag:
// the user's tag is kept. One-byte values need no tag: their byte and its mnemonic are the value.
documents::DeviceImport DeviceImportOf(const documents::EdsDevice& device, int id,
                                       const std::vector<documents::TypedTag>& taken,
                                       const std::vector<documents::TypedTag>& nodeTags);

// The question the import asks before it gives a node its values: what is selected and named, and the first
// `listed` tags ("Speed (INT, input byte 3)"), then how many more.
std::string DeviceImportQuestion(const documents::DeviceImport& import, size_t listed);
// Every tag of the import, one a line, as the question names them.
std::string DeviceImportTagList(const documents::DeviceImport& import);

}  // namespace tessara::plc
