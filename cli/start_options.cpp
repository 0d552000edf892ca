#include "cli/start_options.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/command_line.h"
#include "cli/nearest_word.h"
#include "cli/output_status.h"
#include "cli/usage.h"

namespace tessara::cli {

std::string NoDisplayText(int argc, char* argv[]) {
    std::string again = "xvfb-run -a";
    for (int i = 0; i < argc; ++i) again += std::string(" ") + argv[i];
    std::string words;
    for (const std::string& word : CommandWords()) words += (words.empty() ? "" : ", ") + word;
    return "tessara: no display found. The wizard needs one; on a headless machine run it under Xvfb:\n  " + again +
           "\nThe command words (" + words + ") need no display.\n";
}

std::string WizardPath(const std::string& executableDir) {
    return executableDir + base::kPathSeparator + "tessara-wizard" + base::kExecutableSuffix;
}

// Help and version are answered once every argument has been read, so an extra word after them is a usage
// error like anywhere else.
std::optional<int> ParseStartOptions(int argc, char* argv[], StartOptions& options) {
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            help = true;
            continue;
        }
        if (std::strcmp(arg, "--version") == 0) {
            version = true;
            continue;
        }
        if (std::strcmp(arg, "--app-dir") == 0) {
            if (i + 1 == argc) {
                std::fprintf(stderr, "tessara: --app-dir needs a folder\n%s", UsageText());
                return 2;
            }
            options.appDir = argv[++i];
            continue;
        }
        if (const std::string meant = arg[0] == '-' ? std::string() : NearestWord(arg, CommandWords()); !meant.empty())
            std::fprintf(stderr, "tessara: unknown command word '%s': did you mean %s?\n%s", arg, meant.c_str(),
                         UsageText());
        else
            std::fprintf(stderr, "tessara: unknown argument '%s'\n%s", arg, UsageText());
        return 2;
    }
    // Help that could not be written (a full disk, a closed pipe) fails as a command's output does.
    if (help) {
        std::cout << UsageText() << "This run uses: " << base::WorkspaceDirFor(ExecutableDir(argv[0])) << "\n";
        return StatusAfterFlush("tessara", 0, std::cout, std::cerr);
    }
    if (version) {
        std::cout << VersionText() << "\n";
        return StatusAfterFlush("tessara", 0, std::cout, std::cerr);
    }
    // Without a display the window system would abort the wizard inside its start; the user is told what to do.
    if (!DisplayAvailable()) {
        std::fputs(NoDisplayText(argc, argv).c_str(), stderr);
        return 1;
    }
    return std::nullopt;
}

}  // namespace tessara::cli
