#pragma once

#include <cstddef>
#include <vector>

#include "check/project_check.h"

namespace tessara::documents {
class DocumentFile;
}  // namespace tessara::documents

namespace tessara::check {

// Every value of pargen.xml that the image carries to the device and the device cannot take: IDs, baud rate
// codes, byte counts, cancel flags (errors), except a stored PROFIBUS rate of -1 (a warning). A value that is no
// integer text is left to the image build, which refuses it. Returns the number of findings added.
size_t AddSettingsValueFindings(documents::DocumentFile& pargen, std::vector<Finding>& findings);

// Every row of DNET_Net.xml, also those beyond the network editor's 64, whose address or byte counts the
// image would carry modulo its fields' width (errors). A network the image build cannot read gives none: the
// build's error names it. Returns the number of findings added.
size_t AddNetworkValueFindings(documents::DocumentFile& network, std::vector<Finding>& findings);

}  // namespace tessara::check
