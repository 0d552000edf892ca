#include "cli/command_line.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "check/check_report_html.h"
#include "check/findings_text.h"
#include "check/project_check.h"
#include "cli/usage.h"
#include "documents/document_file.h"
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
        } else if (arg == "--force") {
            args.force = true;
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
    if (!base::DirectoryExists(path)) throw std::runtime_error("Project folder \"" + path + "\" does not exist");
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
        if (check.HasError()) {
            err << check::FindingsText(check);
            return kFailed;
        }
    }
    image::WriteBankFile(projectDir, image::BuildBankImage(documents));
    return kDone;
}

int Gsd(const Arguments& args, std::ostream&, std::ostream&) {
    gsd::WriteGsdFile(ProjectDirFrom(args.positional[0]), args.positional[1]);
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
    const check::ProjectCheck check = check::CheckProject(ProjectDirFrom(args.positional[0]));
    base::WriteWholeFile(args.positional[1], check::CheckReportHtml(check, check::TodayText()),
                         base::WriteTarget::AnyFile);
    return kDone;
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
    int (*run)(const Arguments&, std::ostream& out, std::ostream& err);
};

constexpr Command kCommands[] = {
    {"image", 1, false, true, &Image},    {"gsd", 2, false, false, &Gsd},        {"check", 1, true, false, &Check},
    {"report", 2, false, false, &Report}, {"inspect", 1, true, false, &Inspect},
};

std::string UsageProblem(const Command& command, const Arguments& args) {
    if (!args.unknownOption.empty()) return "unknown option \"" + args.unknownOption + "\"";
    if (args.json && !command.takesJson) return "--json applies only to check and inspect";
    if (args.force && !command.takesForce) return "--force applies only to image";
    if (args.positional.size() != command.positionalCount) {
        return "expected " + std::to_string(command.positionalCount) + " argument" +
               (command.positionalCount > 1 ? "s" : "") + ", got " + std::to_string(args.positional.size());
    }
    return {};
}

// Output that did not arrive (a full disk, a closed pipe) is a failure like any other, not a silent success.
int StatusAfterFlush(std::string_view word, int status, std::ostream& out, std::ostream& err) {
    errno = 0;
    if (out.flush()) return status;
    err << "tessara " << word << ": cannot write the output"
        << (errno ? std::string(". ") + std::strerror(errno) : std::string()) << "\n";
    return kFailed;
}

// Runs a command and reports output that did not arrive.
int RunReportingOutput(const Command& command, const Arguments& args, std::ostream& out, std::ostream& err) {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);  // a reader that went away is reported below instead of ending the process
#endif
    int status = kFailed;
    try {
        status = command.run(args, out, err);
    } catch (const std::exception& e) {
        err << e.what() << "\n";
    }
    return StatusAfterFlush(command.word, status, out, err);
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
            return StatusAfterFlush(command.word, kDone, out, err);
        }
        if (const std::string problem = UsageProblem(command, args); !problem.empty()) {
            err << "tessara " << command.word << ": " << problem << "\n" << UsageText();
            return kUsageError;
        }
        return RunReportingOutput(command, args, out, err);
    }
    return std::nullopt;
}

}  // namespace tessara::cli
