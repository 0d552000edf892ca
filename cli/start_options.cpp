#include "cli/start_options.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/usage.h"

namespace tessara::cli {

namespace {

// Help that could not be written (a full disk, a closed pipe) fails as a command's output does.
int StatusAfterFlush() {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "tessara: cannot write the output%s%s\n", errno ? ". " : "",
                 errno ? std::strerror(errno) : "");
    return 1;
}

}  // namespace

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
    if (help) {
        std::fputs(UsageText(), stdout);
        std::printf("This run uses: %s\n", base::WorkspaceDirFor(ExecutableDir(argv[0])).c_str());
        return StatusAfterFlush();
    }
    if (version) {
        std::puts(VersionText());
        return StatusAfterFlush();
    }
    return std::nullopt;
}

}  // namespace tessara::cli
