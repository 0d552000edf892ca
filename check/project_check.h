#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "documents/area_fit.h"
#include "documents/comm_settings.h"
#include "documents/node_selections.h"
#include "documents/plc_map_document.h"

namespace tessara::documents {
struct ProjectDocuments;
}

namespace tessara::check {

enum class Severity { Error, Warning };

// "error" or "warning", as every presentation of the findings names them.
const char* SeverityName(Severity severity);

// The document whose editor mends a finding.
enum class FindingDocument { None, Pargen, DNetNet, DefByte };

// Where in its editor a finding is mended, set where the finding is made: the window opens the editor there.
struct FindingTarget {
    FindingDocument document = FindingDocument::None;
    int index = -1;       // the node (DefByte.xml) or row (DNET_Net.xml), from 0; -1 for none
    int column = -1;      // the network editor's column (1 "ID", 2 "N BYTE IN", 3 "N BYTE OUT"); -1 for none
    std::string field;    // the element of pargen.xml, "PROFI_BAUD"; empty for none
    bool output = false;  // the byte selection's direction
    int byte = -1;        // the node's byte in the byte selection, from 0; -1 for none
    bool operator==(const FindingTarget&) const = default;

    static FindingTarget Whole(FindingDocument document);
    static FindingTarget Setting(std::string field);
    // A row beyond the network editor's 64 cannot be shown: the editor opens at its top.
    static FindingTarget NetworkCell(size_t row, int column);
    static FindingTarget NodeBytes(size_t node, bool output);
};

// One problem of a project: how grave it is, what it concerns (a document, a node, a PROFIBUS area), what
// the user is told, and where it is mended.
struct Finding {
    Severity severity = Severity::Error;
    std::string place;
    std::string text;
    FindingTarget target{};
    bool operator==(const Finding&) const = default;
};

using documents::AreaFit;
using documents::NodeIo;
using documents::SelectedByte;

// The I/O map of a project and every problem found in it. One model: the check window, the command line and
// the printed report only present it.
struct ProjectCheck {
    std::string projectDir;
    std::vector<NodeIo> nodes;
    AreaFit input;
    AreaFit output;
    std::vector<Finding> findings;  // errors first, then warnings, each in the order they were found
    // The settings as the settings editor loads them; none without a readable pargen.xml.
    std::optional<documents::CommSettings> settings;
    // The nodes, their selections and the areas were all read: the address map is whole.
    bool mapRead = false;
    // PlcMap.xml, the slots' starts and the last tag export; the reason it could not be read, if so.
    documents::PlcMapDocument plcMap;
    std::optional<std::string> plcMapError;

    bool HasError() const;
};

// Reads pargen.xml, DNET_Net.xml and DefByte.xml with the readers of the editors and of the image build and
// lists what the editors' OK or the image build would refuse, and what they accept but the running network
// would not: selections that do not fit the PROFIBUS areas, documents out of step, clashing addresses.
// A folder that does not exist gives an error finding. Never throws for a problem of the project.
ProjectCheck CheckProject(const std::string& projectDir);
// The same on documents the caller keeps: what the check parsed is there for the image build after it.
ProjectCheck CheckProject(const std::string& projectDir, documents::ProjectDocuments& documents);

// "in 1 Position, 3; out 2 Command": the selected bytes of a node by number and mnemonic, each mnemonic in the
// form `mnemonicForm` gives it (as it stands without one).
std::string SelectedBytesText(const NodeIo& node, std::string (*mnemonicForm)(const std::string&) = nullptr);

// "3 errors, 1 warning" or "no findings".
std::string FindingsSummary(const ProjectCheck& check);

// The last name of the project's path, as the report and the window title show it.
std::string ProjectFolderName(const std::string& projectDir);

}  // namespace tessara::check
