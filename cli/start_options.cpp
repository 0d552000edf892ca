#include "cli/start_options.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/file_system.h"
#include "base/workspace_location.h"
#include "cli/usage.h"

namespace tessara::cli {

std::string ExecutableDir(const char* argv0) {
    std::error_code ec;
#ifdef _WIN32
    std::filesystem::path exe = std::filesystem::absolute(argv0, ec);
#else
    std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
#endif
    return exe.parent_path().string();
}

std::string WizardPath(const std::string& executableDir) {
    return executableDir + base::kPathSeparator + "tessara-wizard";
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
        return 0;
    }
    if (version) {
        std::puts(VersionText());
        return 0;
    }
    return std::nullopt;
}

}  // namespace tessara::cli
