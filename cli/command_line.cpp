#include "cli/command_line.h"

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "check/check_report_html.h"
#include "check/findings_text.h"
#include "check/project_check.h"
#include "cli/usage.h"
#include "gsd/gsd_file.h"
#include "image/bank_image.h"
#include "image/bank_image_decoder.h"
#include "image/bank_image_report.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct Arguments {
    std::vector<std::string> positional;
    bool json = false;
    bool help = false;
    std::string unknownOption;
};

Arguments SplitArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--json") {
            args.json = true;
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
    while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
    return path;
}

std::string ProjectDirFrom(const std::string& argument) {
    const std::string path = TrimmedProjectDir(argument);
    if (!DirectoryExists(path)) throw std::runtime_error("Project folder \"" + path + "\" does not exist");
    return path;
}

int Image(const Arguments& args, std::ostream&) {
    const std::string projectDir = ProjectDirFrom(args.positional[0]);
    WriteBankFile(projectDir, BuildBankImage(projectDir));
    return kDone;
}

int Gsd(const Arguments& args, std::ostream&) {
    WriteGsdFile(ProjectDirFrom(args.positional[0]), args.positional[1]);
    return kDone;
}

// A folder that does not exist is one of the findings, so it is listed like the others.
int Check(const Arguments& args, std::ostream& out) {
    const ProjectCheck check = CheckProject(TrimmedProjectDir(args.positional[0]));
    out << (args.json ? ProjectCheckJson(check) : FindingsText(check));
    return check.HasError() ? kFailed : kDone;
}

// The report is written whatever the findings; only a project that cannot be read, or a file that cannot be
// written, fails.
int Report(const Arguments& args, std::ostream&) {
    const ProjectCheck check = CheckProject(ProjectDirFrom(args.positional[0]));
    WriteFileAtomically(args.positional[1], CheckReportHtml(check, TodayText()));
    return kDone;
}

int Inspect(const Arguments& args, std::ostream& out) {
    const DecodedImage image = DecodeBankFile(args.positional[0]);
    out << (args.json ? ImageJson(image) : ImageTable(image));
    return kDone;
}

struct Command {
    const char* word;
    size_t positionalCount;
    bool takesJson;
    int (*run)(const Arguments&, std::ostream&);
};

constexpr Command kCommands[] = {
    {"image", 1, false, &Image},   {"gsd", 2, false, &Gsd},        {"check", 1, true, &Check},
    {"report", 2, false, &Report}, {"inspect", 1, true, &Inspect},
};

std::string UsageProblem(const Command& command, const Arguments& args) {
    if (!args.unknownOption.empty()) return "unknown option \"" + args.unknownOption + "\"";
    if (args.json && !command.takesJson) return "--json applies only to check and inspect";
    if (args.positional.size() != command.positionalCount) {
        return "expected " + std::to_string(command.positionalCount) + " argument" +
               (command.positionalCount > 1 ? "s" : "") + ", got " + std::to_string(args.positional.size());
    }
    return {};
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
            return kDone;
        }
        if (const std::string problem = UsageProblem(command, args); !problem.empty()) {
            err << "tessara " << command.word << ": " << problem << "\n" << UsageText();
            return kUsageError;
        }
        try {
            return command.run(args, out);
        } catch (const std::exception& e) {
            err << e.what() << "\n";
            return kFailed;
        }
    }
    return std::nullopt;
}
