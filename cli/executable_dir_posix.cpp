#include <filesystem>

#include "cli/start_options.h"

namespace tessara::cli {

// /proc names the executable itself, whichever link or relative path started it.
std::string ExecutableDir(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string();
}

}  // namespace tessara::cli
