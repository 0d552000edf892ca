#include "check/project_check.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "base/file_system.h"
#include "base/project_files.h"
#include "check/backup_copy_findings.h"
#include "check/device_value_findings.h"
#include "check/ignored_content_findings.h"
#include "check/io_map_findings.h"
#include "check/project_address_map.h"
#include "check/typed_tag_findings.h"
#include "documents/comm_settings.h"
#include "documents/def_byte.h"
#include "documents/dnet_network.h"
#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/int_text.h"
#include "documents/plc_map_document.h"
#include "documents/profibus_areas.h"
#include "documents/xml_document.h"
#include "image/bank_image.h"

namespace tessara::check {

namespace {

constexpr const char* kImagePlace = "bank.bin";

// What one check has read so far. Every reader takes its document from `documents`, which parses each file once.
// Each document gets at most one load error: the first reader that fails on it speaks for the others, which
// would fail on the same fault.
struct Reading {
    std::string dir;
    ProjectCheck& check;
    documents::ProjectDocuments& documents;
    std::vector<std::string> failed;
    bool imageTooLarge = false;

    std::string Path(const char* name) const { return base::ProjectFile(dir, name); }
    bool Failed(const std::string& name) const { return std::find(failed.begin(), failed.end(), name) != failed.end(); }
    void Error(std::string place, std::string text) {
        FindingTarget target = FindingTarget::Whole(DocumentOf(place));
        check.findings.push_back({Severity::Error, std::move(place), std::move(text), std::move(target)});
    }
    void LoadError(const std::string& name, const std::exception& e) {
        if (Failed(name)) return;
        failed.push_back(name);
        Error(name, e.what());
    }
    // The editor of a document opens it where its findings are mended.
    static FindingDocument DocumentOf(const std::string& place) {
        if (place == base::kPargenFileName) return FindingDocument::Pargen;
        if (place == base::kDNetNetFileName) return FindingDocument::DNetNet;
        if (place == base::kDefByteFileName) return FindingDocument::DefByte;
        return FindingDocument::None;
    }
};

// The settings as the settings editor loads them, with the refusal its OK would give unless the device's
// ranges already name each value at fault (its OK names only the first). Nullopt when there is no pargen.xml or
// it cannot be loaded.
std::optional<documents::CommSettings> ReadSettings(Reading& r) {
    if (!r.documents.pargen.Exists()) return std::nullopt;
    documents::CommSettings settings;
    try {
        documents::LoadCommSettings(r.documents.pargen, settings);
    } catch (const std::exception& e) {
        r.LoadError(base::kPargenFileName, e);
        return std::nullopt;
    }
    const size_t valueFindings = AddSettingsValueFindings(r.documents.pargen, r.check.findings);
    if (const auto refusal = documents::CheckSettings(settings); refusal && valueFindings == 0)
        r.Error(base::kPargenFileName, *refusal);
    return settings;
}

// The node list as the network editor loads it, with the refusal its OK would give unless the device's ranges
// already name each value at fault, in every row.
void ReadNetworkRows(Reading& r) {
    documents::DNetRows rows;
    try {
        documents::LoadDNetNetwork(r.documents.network, rows);
    } catch (const std::exception& e) {
        r.LoadError(base::kDNetNetFileName, e);
        return;
    }
    const size_t valueFindings = AddNetworkValueFindings(r.documents.network, r.check.findings);
    if (const auto refusal = documents::CheckRows(rows); refusal && valueFindings == 0)
        r.Error(base::kDNetNetFileName, *refusal);
}

// The nodes and byte mnemonics as the byte selection editor loads them; what was read before a failure stays.
documents::DefByteTable ReadEditorNodes(Reading& r) {
    documents::DefByteTable table;
    size_t nodesRead = 0;
    try {
        documents::ReadDNetNodes(r.documents.network, table, nodesRead);
    } catch (const std::exception& e) {
        r.LoadError(base::kDNetNetFileName, e);
        table.resize(nodesRead);
        return table;
    }
    try {
        documents::ReadDefBytes(r.documents.bytes, table);
    } catch (const std::exception& e) {
        r.LoadError(base::kDefByteFileName, e);
    }
    return table;
}

// The project document at a path the image build failed on, or the image itself when the failure is not a
// document's.
std::string DocumentAt(const Reading& r, const std::string& path) {
    for (const char* name : {base::kPargenFileName, base::kDNetNetFileName, base::kDefByteFileName}) {
        if (path == r.Path(name)) return name;
    }
    return kImagePlace;
}

// The file an image build error belongs to: each reader's error carries the path of the file it failed on.
std::string FailedPath(const std::exception& e) {
    if (const auto* document = dynamic_cast<const documents::DocumentError*>(&e)) return document->File();
    if (const auto* parse = dynamic_cast<const documents::ParseError*>(&e)) return parse->File();
    if (const auto* read = dynamic_cast<const base::FileReadError*>(&e)) return read->path();
    return {};
}

// The build found the image too large from the byte counts alone, before the selections took their memory: a
// small hand-edited network of many large nodes would need gigabytes for them. Its nodes are listed without them.
std::optional<image::NodeTable> NodesOfImageTooLarge(Reading& r) {
    try {
        return image::LoadNodeNumbers(r.documents.network);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The node table the image is built from. An image too large for the device still has its nodes.
std::optional<image::NodeTable> BuildImageNodes(Reading& r) {
    try {
        return image::BuildBankImage(r.documents).nodes;
    } catch (const image::ImageLimitError& e) {
        r.Error(kImagePlace, e.what());
        r.imageTooLarge = true;
        return NodesOfImageTooLarge(r);
    } catch (const std::exception& e) {
        const std::string place = DocumentAt(r, FailedPath(e));
        if (!r.Failed(place)) r.Error(place, e.what());
        return std::nullopt;
    }
}

// The byte groups of DefByte.xml, nullopt when the document is missing or no reader of the tool can read it
// (its error is then already listed, or, with no nodes, nothing reads it).
std::optional<DefByteShape> ReadDefByteShape(Reading& r) {
    documents::DocumentFile& bytes = r.documents.bytes;
    if (!bytes.Exists() || r.Failed(base::kDefByteFileName)) return std::nullopt;
    try {
        DefByteShape shape;
        for (pugi::xml_node node = bytes.Root().first_child(); node; node = node.next_sibling()) {
            shape.push_back({documents::ChildCount(documents::ChildAt(node, 0)),
                             documents::ChildCount(documents::ChildAt(node, 1))});
        }
        return shape;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void AddSelections(ProjectCheck& check, NodeIo row) {
    check.input.selected += row.selectedIn.size();
    check.output.selected += row.selectedOut.size();
    check.nodes.push_back(std::move(row));
}

std::vector<SelectedByte> Selected(const std::vector<bool>& select, const std::vector<std::string>* mnemonics) {
    std::vector<SelectedByte> bytes;
    for (size_t j = 0; j < select.size(); ++j) {
        if (!select[j]) continue;
        const bool named = mnemonics && j < mnemonics->size();
        bytes.push_back({static_cast<uint32_t>(j + 1), named ? (*mnemonics)[j] : std::string()});
    }
    return bytes;
}

// The image's nodes, named with what the byte selection editor holds for the node at the same position.
void FillIoMap(ProjectCheck& check, const image::NodeTable& nodes, const documents::DefByteTable& editor) {
    for (size_t i = 0; i < nodes.size(); ++i) {
        const image::DN_Nodo_1& node = nodes[i];
        const documents::DN_Nodo* named = i < editor.size() ? &editor[i] : nullptr;
        NodeIo row{i + 1, node.ID, named ? named->Mnemonic : std::string(), node.NB_IN, node.NB_OUT, {}, {}};
        row.selectedIn = Selected(node.InSelect, named ? &named->InMnemonic : nullptr);
        row.selectedOut = Selected(node.OutSelect, named ? &named->OutMnemonic : nullptr);
        AddSelections(check, std::move(row));
    }
}

// The PLC side of the project: a PlcMap.xml that cannot be read leaves every slot following the one before it,
// which the map and the report refuse; the image and the GSD never read it, so it is no error of theirs.
void ReadPlcMap(Reading& r) {
    try {
        r.check.plcMap = documents::LoadPlcMap(r.dir);
    } catch (const std::exception& e) {
        r.check.plcMapError = e.what();
        r.check.findings.push_back(
            {Severity::Warning, base::kPlcMapFileName, std::string(e.what()) + ": the slots' starts cannot be used"});
    }
}

std::optional<int> GatewayId(const std::optional<documents::CommSettings>& settings) {
    if (!settings) return std::nullopt;
    return documents::ParseIntText(settings->DNetDevId);
}

bool ReadProfibusAreas(Reading& r) {
    try {
        const documents::ProfibusAreas sizes = documents::ReadProfibusAreas(r.documents.pargen);
        r.check.input.area = sizes.NbIn;
        r.check.output.area = sizes.NbOut;
        return true;
    } catch (const std::exception&) {
        // A pargen.xml that is not XML is listed by the settings reader; the areas count as 0, as for the GSD.
        return false;
    }
}

void CheckReadableProject(Reading& r) {
    r.check.settings = ReadSettings(r);
    const std::optional<documents::CommSettings>& settings = r.check.settings;
    ReadNetworkRows(r);
    const documents::DefByteTable editor = ReadEditorNodes(r);
    const std::optional<image::NodeTable> nodes = BuildImageNodes(r);
    const bool areasRead = ReadProfibusAreas(r);
    r.check.mapRead = nodes && areasRead && !r.Failed(base::kDefByteFileName);
    std::vector<Finding>& findings = r.check.findings;
    if (nodes) {
        // The image build stops at the byte counts when the image is too large, before the selections: they are
        // taken as the byte selection editor reads them, so the map and the areas' counts still have them.
        if (r.imageTooLarge) {
            for (NodeIo& node : documents::NodesOf(editor)) AddSelections(r.check, std::move(node));
        } else {
            FillIoMap(r.check, *nodes, editor);
        }
        AddNetworkLengthFinding(*nodes, findings);
        if (const auto shape = ReadDefByteShape(r)) AddShapeFindings(*nodes, *shape, findings);
        AddAddressFindings(*nodes, GatewayId(settings), findings);
        AddAreaFitFindings(r.check.input, r.check.output, findings);
    }
    AddEmptyAreasFinding(r.check.input, r.check.output, r.documents.pargen.Exists(), findings);
    AddIgnoredContentFindings(r.documents.pargen, base::kPargenFileName, findings);
    AddIgnoredContentFindings(r.documents.network, base::kDNetNetFileName, findings);
    AddIgnoredContentFindings(r.documents.bytes, base::kDefByteFileName, findings);
    ReadPlcMap(r);
    AddSlotStartFindings(r.check);
    AddExportMoveFindings(r.check);
    AddTypedTagFindings(r.check);
}

// A folder holding none of the documents is no project at all, most likely a slip of the path: the image and the
// GSD file of one would be empty, which the user is told first.
bool AddNotAProjectFinding(Reading& r) {
    const documents::ProjectDocuments& d = r.documents;
    if (d.pargen.Exists() || d.network.Exists() || d.bytes.Exists()) return false;
    r.check.findings.push_back({Severity::Warning, "project",
                                "\"" + r.dir + "\" is not a project folder: none of " + base::kPargenFileName + ", " +
                                    base::kDNetNetFileName + ", " + base::kDefByteFileName + " is in it"});
    return true;
}

// A missing document reads as an empty table, as the editors read it, so nothing stops the image: the user is told
// what it then lacks.
void AddMissingDocumentFindings(Reading& r) {
    const documents::ProjectDocuments& d = r.documents;
    std::vector<Finding>& findings = r.check.findings;
    if (!d.network.Exists()) {
        findings.push_back({Severity::Warning, base::kDNetNetFileName,
                            std::string(base::kDNetNetFileName) + " does not exist: the image has no nodes",
                            FindingTarget::Whole(FindingDocument::DNetNet)});
    } else if (!d.bytes.Exists() && !r.check.nodes.empty()) {
        const size_t nodes = r.check.nodes.size();
        findings.push_back({Severity::Warning, base::kDefByteFileName,
                            std::string(base::kDefByteFileName) + " does not exist: no byte of the " +
                                (nodes == 1 ? std::string("node") : std::to_string(nodes) + " nodes") + " is selected",
                            FindingTarget::Whole(FindingDocument::DefByte)});
    }
}

// The image is written into bin/, which the build creates when it is missing: a folder in its way, or a project
// folder where it cannot be made, stops every build.
void AddImageFolderFinding(const std::string& projectDir, std::vector<Finding>& findings) {
    const std::string folder = base::BankFolderPath(projectDir);
    std::string problem;
    if (base::FileExists(folder)) {
        problem = "\"" + folder + "\" is not a folder, so bank.bin cannot be written";
    } else if (!base::DirectoryExists(folder) && !base::CanCreateIn(projectDir)) {
        problem = "The folder \"" + folder + "\" is missing and cannot be created, so bank.bin cannot be written";
    }
    if (!problem.empty()) findings.push_back({Severity::Error, kImagePlace, problem});
}

}  // namespace

FindingTarget FindingTarget::Whole(FindingDocument document) {
    FindingTarget target;
    target.document = document;
    return target;
}

FindingTarget FindingTarget::Setting(std::string field) {
    FindingTarget target = Whole(FindingDocument::Pargen);
    target.field = std::move(field);
    return target;
}

FindingTarget FindingTarget::NetworkCell(size_t row, int column) {
    FindingTarget target = Whole(FindingDocument::DNetNet);
    if (row >= documents::kDNetRowCount) return target;
    target.index = static_cast<int>(row);
    target.column = column;
    return target;
}

FindingTarget FindingTarget::NodeBytes(size_t node, bool output) {
    FindingTarget target = Whole(FindingDocument::DefByte);
    target.index = static_cast<int>(node);
    target.output = output;
    return target;
}

const char* SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

bool ProjectCheck::HasError() const {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

ProjectCheck CheckProject(const std::string& projectDir) {
    documents::ProjectDocuments documents(projectDir);
    return CheckProject(projectDir, documents);
}

ProjectCheck CheckProject(const std::string& projectDir, documents::ProjectDocuments& documents) {
    ProjectCheck check;
    check.projectDir = projectDir;
    if (std::string problem = ProjectFolderProblem(projectDir); !problem.empty()) {
        check.findings.push_back({Severity::Error, "project", std::move(problem)});
        return check;
    }
    Reading reading{projectDir, check, documents, {}};
    const bool noProject = AddNotAProjectFinding(reading);
    CheckReadableProject(reading);
    if (!noProject) AddMissingDocumentFindings(reading);
    AddImageFolderFinding(projectDir, check.findings);
    AddBackupCopyFindings(projectDir, check.findings);
    std::stable_sort(check.findings.begin(), check.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
    return check;
}

std::vector<Finding> GsdWarnings(const std::string& projectDir) {
    documents::ProjectDocuments documents(projectDir);
    ProjectCheck check;
    Reading reading{projectDir, check, documents, {}};
    AddNotAProjectFinding(reading);
    if (ReadProfibusAreas(reading))
        AddEmptyAreasFinding(check.input, check.output, documents.pargen.Exists(), check.findings);
    return check.findings;
}

std::string ProjectFolderProblem(const std::string& projectDir) {
    if (base::DirectoryExists(projectDir)) return {};
    // A document named where its folder belongs is the likeliest slip: say what it is, not that nothing is there.
    if (base::FileExists(projectDir)) return "\"" + projectDir + "\" is a file, not a project folder";
    return "Project folder \"" + projectDir + "\" does not exist";
}

std::string SelectedBytesText(const NodeIo& node, std::string (*mnemonicForm)(const std::string&)) {
    std::string text;
    auto list = [&text, mnemonicForm](const char* direction, const std::vector<SelectedByte>& bytes) {
        if (bytes.empty()) return;
        text += (text.empty() ? "" : "; ") + std::string(direction);
        for (size_t k = 0; k < bytes.size(); ++k) {
            text += (k ? ", " : " ") + std::to_string(bytes[k].number);
            const std::string& mnemonic = bytes[k].mnemonic;
            if (!mnemonic.empty()) text += " " + (mnemonicForm ? mnemonicForm(mnemonic) : mnemonic);
        }
    };
    list("in", node.selectedIn);
    list("out", node.selectedOut);
    return text;
}

std::string FindingsSummary(const ProjectCheck& check) {
    if (check.findings.empty()) return "no findings";
    const auto errors = static_cast<size_t>(std::count_if(
        check.findings.begin(), check.findings.end(), [](const Finding& f) { return f.severity == Severity::Error; }));
    const size_t warnings = check.findings.size() - errors;
    return std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
           (warnings == 1 ? " warning" : " warnings");
}

std::string ProjectFolderName(const std::string& projectDir) {
    std::string path = projectDir;
    while (path.size() > 1 && base::IsPathSeparator(path.back())) path.pop_back();
    const size_t slash = path.find_last_of({base::kPathSeparator, base::kOtherPathSeparator});
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tessara::check
