#include "cli/start_options.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/usage.h"

namespace tessara::cli {

std::string WizardPath(const std::string& executableDir) {
    return executableDir + base::kPathSeparator + "tessara-wizard" + base::kExecutableSuffix;
}

std::optional<int> ParseStartOptions(int argc, char* argv[], StartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0) {
            std::fputs(UsageText(), stdout);
            std::printf("This run uses: %s\n", base::WorkspaceDirFor(ExecutableDir(argv[0])).c_str());
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::puts(VersionText());
            return 0;
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
    return std::nullopt;
}

}  // namespace tessara::cli
