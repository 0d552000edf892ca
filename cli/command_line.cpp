#include "cli/command_line.h"

#include <algorithm>
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
#include "cli/nearest_word.h"
#include "cli/output_status.h"
#include "cli/tag_command.h"
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
    TagOptions tag;
    std::string unknownOption;
};

// The arguments after the command's words, from `first`.
Arguments SplitArguments(int argc, char** argv, int first) {
    Arguments args;
    for (int i = first; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--json") {
            args.json = args.map.json = true;
        } else if (arg == "--force") {
            args.force = true;
        } else if (TakeMapOption(args.map, argc, argv, i) || TakeTagOption(args.tag, argc, argv, i)) {
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

int TagAdd(const Arguments& args, std::ostream& out, std::ostream& err) {
    return RunTagAdd(ProjectDirFrom(args.positional[0]), args.tag, out, err);
}

int TagList(const Arguments& args, std::ostream& out, std::ostream& err) {
    return RunTagList(ProjectDirFrom(args.positional[0]), args.json, out, err);
}

int TagRemove(const Arguments& args, std::ostream& out, std::ostream& err) {
    return RunTagRemove(ProjectDirFrom(args.positional[0]), args.positional[1], out, err);
}

int Inspect(const Arguments& args, std::ostream& out, std::ostream&) {
    const image::DecodedImage image = image::DecodeBankFile(args.positional[0]);
    out << (args.json ? image::ImageJson(image) : image::ImageTable(image));
    return kDone;
}

struct Command {
    const char* word;
    const char* subword;  // the second word of "tag add"; none for a command of one word
    size_t positionalCount;
    bool takesJson;
    bool takesForce;
    bool takesMapOptions;
    bool takesTagOptions;
    int (*run)(const Arguments&, std::ostream& out, std::ostream& err);

    std::string Name() const { return std::string(word) + (subword ? std::string(" ") + subword : ""); }
};

constexpr Command kCommands[] = {
    {"image", nullptr, 1, false, true, false, false, &Image},
    {"gsd", nullptr, 2, false, true, false, false, &Gsd},
    {"check", nullptr, 1, true, false, false, false, &Check},
    {"report", nullptr, 2, false, false, false, false, &Report},
    {"inspect", nullptr, 1, true, false, false, false, &Inspect},
    {"map", nullptr, 1, true, false, true, false, &Map},
    {"tag", "add", 1, false, false, false, true, &TagAdd},
    {"tag", "list", 1, true, false, false, false, &TagList},
    {"tag", "remove", 2, false, false, false, false, &TagRemove},
};

std::string MapOptionProblem(const Command& command, const Arguments& args) {
    if (args.map.Any() && !command.takesMapOptions)
        return "--csv, --sdf, --plcopen, --input-start, --output-start, --slot-start, --symbols, --bom, --against, "
               "--record, --plc-byte-order and --swap-pou apply only to map";
    return command.takesMapOptions ? MapOptionsProblem(args.map) : std::string();
}

std::string TagOptionProblem(const Command& command, const Arguments& args) {
    if (args.tag.Any() && !command.takesTagOptions)
        return "--node, --input, --output, --byte, --type, --name and --byte-order apply only to tag add";
    return command.takesTagOptions ? TagOptionsProblem(args.tag) : std::string();
}

std::string UsageProblem(const Command& command, const Arguments& args) {
    if (!args.unknownOption.empty()) return "unknown option \"" + args.unknownOption + "\"";
    if (args.json && !command.takesJson) return "--json applies only to check, inspect, map and tag list";
    if (args.force && !command.takesForce) return "--force applies only to image and gsd";
    if (std::string problem = MapOptionProblem(command, args); !problem.empty()) return problem;
    if (std::string problem = TagOptionProblem(command, args); !problem.empty()) return problem;
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
    return StatusAfterFlush("tessara " + command.Name(), status, out, err);
}

std::vector<std::string> SubwordsOf(std::string_view word) {
    std::vector<std::string> subwords;
    for (const Command& command : kCommands) {
        if (word == command.word && command.subword) subwords.emplace_back(command.subword);
    }
    return subwords;
}

// "tag" alone, or with a second word it does not have: the usage error names the words it has.
int SubwordMissing(std::string_view word, int argc, char** argv, std::ostream& out, std::ostream& err) {
    const std::string typed = argc > 2 ? argv[2] : "";
    const std::string command = "tessara " + std::string(word);
    if (typed == "--help" || typed == "-h") {
        out << UsageText();
        return StatusAfterFlush(command, kDone, out, err);
    }
    const std::vector<std::string> subwords = SubwordsOf(word);
    std::string words;
    for (size_t i = 0; i < subwords.size(); ++i)
        words += (i == 0 ? "" : i + 1 == subwords.size() ? " or " : ", ") + subwords[i];
    err << command << ": " << (typed.empty() ? "expected " : "unknown word \"" + typed + "\": expected ") << words;
    if (const std::string meant = typed.empty() ? std::string() : NearestWord(typed, subwords); !meant.empty())
        err << " (did you mean " << meant << "?)";
    err << "\n" << UsageText();
    return kUsageError;
}

const Command* CommandOf(int argc, char** argv) {
    for (const Command& command : kCommands) {
        if (std::string_view(argv[1]) != command.word) continue;
        if (!command.subword || (argc > 2 && std::string_view(argv[2]) == command.subword)) return &command;
    }
    return nullptr;
}

}  // namespace

std::optional<int> RunCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (argc < 2) return std::nullopt;
    const Command* command = CommandOf(argc, argv);
    if (!command) {
        if (SubwordsOf(argv[1]).empty()) return std::nullopt;
        return SubwordMissing(argv[1], argc, argv, out, err);
    }
    const Arguments args = SplitArguments(argc, argv, command->subword ? 3 : 2);
    if (args.help) {
        out << UsageText();
        return StatusAfterFlush("tessara " + command->Name(), kDone, out, err);
    }
    if (const std::string problem = UsageProblem(*command, args); !problem.empty()) {
        err << "tessara " << command->Name() << ": " << problem << "\n" << UsageText();
        return kUsageError;
    }
    return RunReportingOutput(*command, args, out, err);
}

std::vector<std::string> CommandWords() {
    std::vector<std::string> words;
    for (const Command& command : kCommands) {
        if (std::ranges::find(words, command.word) == words.end()) words.emplace_back(command.word);
    }
    return words;
}

}  // namespace tessara::cli
