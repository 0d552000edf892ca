#include "cli/start_options.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/output_status.h"
#include "cli/usage.h"

namespace tessara::cli {

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
    return std::nullopt;
}

}  // namespace tessara::cli
