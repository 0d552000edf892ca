#pragma once

#include <optional>
#include <vector>

#include "check/project_check.h"
#include "documents/profibus_slots.h"
#include "plc/address_map.h"

namespace tessara::check {

// The starts of PlcMap.xml, each replaced by the start of the same slot in `overrides`.
std::vector<documents::SlotStart> ProjectStarts(const ProjectCheck& check,
                                                const std::vector<documents::SlotStart>& overrides);

// The slots of a checked project: its areas with the starts of PlcMap.xml, each replaced by the start of the
// same slot in `overrides` (the command line's options, the window's boxes).
documents::ProfibusLayout ProjectLayout(const ProjectCheck& check,
                                        const std::vector<documents::SlotStart>& overrides = {});

// The address map of a checked project, from the same parse: the one way the command line, the report and the
// window build it. `plcByteOrder` replaces the order of PlcMap.xml (the command line's option, the window's box).
plc::AddressMap ProjectAddressMap(const ProjectCheck& check, documents::ProfibusLayout layout,
                                  plc::SymbolStyle symbols = plc::SymbolStyle::Byte,
                                  std::optional<documents::ByteOrder> plcByteOrder = std::nullopt);

// The warning that the starts of PlcMap.xml overlap or put a selected byte past the last PLC byte: the map
// refuses them until they are mended.
void AddSlotStartFindings(ProjectCheck& check);

// The warning that tags exported earlier (PlcMap.xml) have moved or lost their address, listing them; nothing
// without an export or when none moved.
void AddExportMoveFindings(ProjectCheck& check);

}  // namespace tessara::check
