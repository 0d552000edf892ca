#include "cli/command_line.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/project_files.h"
#include "base/utf8_text.h"
#include "check/check_report_html.h"
#include "check/device_value_findings.h"
#include "check/findings_text.h"
#include "check/project_check.h"
#include "cli/broken_pipe.h"
#include "cli/map_command.h"
#include "cli/output_status.h"
#include "cli/usage.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "gsd/gsd_file.h"
#include "image/bank_image.h"
#include "image/bank_image_decoder.h"
#include "image/bank_image_report.h"

namespace tessara::cli {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct Arguments {
    std::vector<std::string> positional;
    bool json = false;
    bool force = false;
    bool help = false;
    MapOptions map;
    std::string unknownOption;
};

Arguments SplitArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--json") {
            args.json = args.map.json = true;
        } else if (arg == "--force") {
            args.force = true;
        } else if (TakeMapOption(args.map, argc, argv, i)) {
        } else if (arg.size() > 1 && arg[0] == '-') {
            args.unknownOption = arg;
        } else {
            args.positional.emplace_back(arg);
        }
    }
    return args;
}

// A trailing separator would double the separator in the project's file names.
std::string TrimmedProjectDir(std::string path) {
    while (path.size() > 1 && path.back() == base::kPathSeparator) path.pop_back();
    return path;
}

std::string ProjectDirFrom(const std::string& argument) {
    const std::string path = TrimmedProjectDir(argument);
    if (const std::string problem = check::ProjectFolderProblem(path); !problem.empty())
        throw std::runtime_error(problem);
    return path;
}

// A value the device cannot take stops the image as it stops "Update Device", where the user is asked; here
// --force is the answer, and the image is then built exactly as without the check.
int Image(const Arguments& args, std::ostream&, std::ostream& err) {
    const std::string projectDir = ProjectDirFrom(args.positional[0]);
    // The check and the build read the same documents: each is parsed once.
    documents::ProjectDocuments documents(projectDir);
    if (!args.force) {
        const check::ProjectCheck check = check::CheckProject(projectDir, documents);
        // Warnings do not stop the image, but what it lacks (a missing document, a folder of none) is said.
        err << check::FindingsText(check);
        if (check.HasError()) {
            err << "bank.bin was not written: --force builds it anyway\n";
            return kFailed;
        }
    }
    image::WriteBankFile(projectDir, image::BuildBankImage(documents));
    return kDone;
}

// An output named like one of the project's own files would replace it, as the GSD save dialog refuses too.
void RefuseProjectFile(const std::string& projectDir, const std::string& file, const char* output) {
    const std::string refusal = base::ProjectFileRefusal(projectDir, file, output);
    if (!refusal.empty()) throw std::runtime_error(refusal);
}

// The GSD file carries the two PROFIBUS byte counts of pargen.xml: a count the device cannot take, or one that
// cannot be read, stops it where the window asks about it, and --force writes what the window's Yes writes.
int Gsd(const Arguments& args, std::ostream&, std::ostream& err) {
    const std::string projectDir = ProjectDirFrom(args.positional[0]);
    RefuseProjectFile(projectDir, args.positional[1], "GSD file");
    const gsd::GsdCounts counts = gsd::ReadGsdCounts(projectDir);
    for (const check::Finding& warning : check::GsdWarnings(projectDir)) err << check::FindingLine(warning) << "\n";
    if (!args.force && !counts.doubts.empty()) {
        for (const std::string& doubt : counts.doubts)
            err << check::FindingLine({check::Severity::Error, base::kPargenFileName, doubt}) << "\n";
        err << "The GSD file was not written: --force writes it anyway\n";
        return kFailed;
    }
    gsd::WriteGsdFile(counts.sizes, args.positional[1]);
    return kDone;
}

// A folder that does not exist is one of the findings, so it is listed like the others.
int Check(const Arguments& args, std::ostream& out, std::ostream&) {
    const check::ProjectCheck check = check::CheckProject(TrimmedProjectDir(args.positional[0]));
    out << (args.json ? check::ProjectCheckJson(check) : check::FindingsText(check));
    return check.HasError() ? kFailed : kDone;
}

// The report is written whatever the findings; only a project that cannot be read, or a file that cannot be
// written, fails.
int Report(const Arguments& args, std::ostream&, std::ostream&) {
    const std::string projectDir = ProjectDirFrom(args.positional[0]);
    RefuseProjectFile(projectDir, args.positional[1], "report");
    const check::ProjectCheck check = check::CheckProject(projectDir);
    base::WriteWholeFile(args.positional[1], check::CheckReportHtml(check, check::TodayText()),
                         base::WriteTarget::AnyFile);
    return kDone;
}

int Map(const Arguments& args, std::ostream& out, std::ostream& err) {
    return RunMap(ProjectDirFrom(args.positional[0]), args.map, out, err);
}

int Inspect(const Arguments& args, std::ostream& out, std::ostream&) {
    const image::DecodedImage image = image::DecodeBankFile(args.positional[0]);
    out << (args.json ? image::ImageJson(image) : image::ImageTable(image));
    return kDone;
}

struct Command {
    const char* word;
    size_t positionalCount;
    bool takesJson;
    bool takesForce;
    bool takesMapOptions;
    int (*run)(const Arguments&, std::ostream& out, std::ostream& err);
};

constexpr Command kCommands[] = {
    {"image", 1, false, true, false, &Image},     {"gsd", 2, false, true, false, &Gsd},
    {"check", 1, true, false, false, &Check},     {"report", 2, false, false, false, &Report},
    {"inspect", 1, true, false, false, &Inspect}, {"map", 1, true, false, true, &Map},
};

std::string MapOptionProblem(const Command& command, const Arguments& args) {
    if (args.map.Any() && !command.takesMapOptions)
        return "--csv, --sdf, --plcopen, --input-start, --output-start, --slot-start, --symbols, --bom, --against, "
               "--record, --plc-byte-order and --swap-pou apply only to map";
    return command.takesMapOptions ? MapOptionsProblem(args.map) : std::string();
}

std::string UsageProblem(const Command& command, const Arguments& args) {
    if (!args.unknownOption.empty()) return "unknown option \"" + args.unknownOption + "\"";
    if (args.json && !command.takesJson) return "--json applies only to check, inspect and map";
    if (args.force && !command.takesForce) return "--force applies only to image and gsd";
    if (std::string problem = MapOptionProblem(command, args); !problem.empty()) return problem;
    if (args.positional.size() != command.positionalCount) {
        return "expected " + std::to_string(command.positionalCount) + " argument" +
               (command.positionalCount > 1 ? "s" : "") + ", got " + std::to_string(args.positional.size());
    }
    return {};
}

// Runs a command and reports output that did not arrive.
int RunReportingOutput(const Command& command, const Arguments& args, std::ostream& out, std::ostream& err) {
    ReportBrokenPipesAsWriteErrors();
    int status = kFailed;
    try {
        status = command.run(args, out, err);
    } catch (const std::exception& e) {
        err << base::ShownAsText(e.what()) << "\n";  // a parse error quotes the document's own bytes
    }
    return StatusAfterFlush(std::string("tessara ") + command.word, status, out, err);
}

}  // namespace

std::optional<int> RunCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (argc < 2) return std::nullopt;
    const std::string_view word = argv[1];
    for (const Command& command : kCommands) {
        if (word != command.word) continue;
        const Arguments args = SplitArguments(argc, argv);
        if (args.help) {
            out << UsageText();
            return StatusAfterFlush(std::string("tessara ") + command.word, kDone, out, err);
        }
        if (const std::string problem = UsageProblem(command, args); !problem.empty()) {
            err << "tessara " << command.word << ": " << problem << "\n" << UsageText();
            return kUsageError;
        }
        return RunReportingOutput(command, args, out, err);
    }
    return std::nullopt;
}

std::vector<std::string> CommandWords() {
    std::vector<std::string> words;
    for (const Command& command : kCommands) words.emplace_back(command.word);
    return words;
}

}  // namespace tessara::cli
