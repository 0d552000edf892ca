#pragma once

#include <string>
#include <vector>

#include "documents/node_selections.h"
#include "documents/profibus_areas.h"
#include "documents/typed_tag.h"

namespace tessara::plc {

// "3 PLC addresses moved since tags were exported on 2026-12-11: Status: IB 12 -> IB 13; ..." (the first five
// named) for the project's recorded export against a proposed state of its documents, with its stored starts and
// `tags` (null: the stored typed tags); empty when nothing was exported or nothing moves. An unreadable PlcMap.xml
// counts as no export: the check reports it.
std::string ExportMovesOf(const std::string& projectDir, const std::vector<documents::NodeIo>& nodes,
                          documents::ProfibusAreas areas, const std::vector<documents::TypedTag>* tags = nullptr);

}  // namespace tessara::plc
