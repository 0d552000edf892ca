#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "documents/def_byte.h"
#include "documents/node_selections.h"
#include "documents/profibus_areas.h"
#include "documents/typed_tag.h"

class QWidget;

namespace tessara::documents {

// What a proposed state of the documents (the nodes with their selections, the area sizes) does to the PLC
// addresses the tags were last exported with: a text naming how many move and the first of them, or empty when
// none move or nothing was exported. `tags` are the proposed typed tags, or null for the project's own. Naming tags
// is the PLC side's, so the window that owns the editors gives it; without it the editors ask nothing.
using ExportMoves = std::function<std::string(const std::vector<NodeIo>& nodes, ProfibusAreas areas,
                                              const std::vector<TypedTag>* tags)>;
void SetExportMoves(ExportMoves moves);

// The nodes with their selections as the project's documents hold them now; none when they cannot be read.
DefByteTable SavedByteTable(const std::string& dnetNetFile, const std::string& defByteFile);

// Before an editor's OK saves a proposed state: true when it moves no exported address that the saved state
// (`savedNodes`, `savedAreas`) leaves where it is, or when the user says to save all the same (the default
// answer, since the change is what the user asked for). Moves saved earlier are not asked about again. `tags` are
// the typed tags the change leaves (an editor that renumbers them), or null when it leaves them as saved.
bool MaySaveMovingExportedAddresses(QWidget* parent, const std::vector<NodeIo>& savedNodes, ProfibusAreas savedAreas,
                                    const std::vector<NodeIo>& nodes, ProfibusAreas areas,
                                    const std::vector<TypedTag>* tags = nullptr);

}  // namespace tessara::documents
