#include "base/project_files.h"

#include <filesystem>
#include <system_error>

namespace tessara::base {

namespace {

namespace fs = std::filesystem;

// Where a name leads when nothing is there yet: a dangling link leads to its target, and the rest is made
// absolute and normalised, with the links of the part that exists resolved.
fs::path WhereItLeads(fs::path path) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    const fs::path absolute = fs::absolute(path, ec);
    const fs::path resolved = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : resolved;
}

// One file under two names: by identity where both exist (hard links too), by where the names lead otherwise.
bool SameFile(const std::string& a, const std::string& b) {
    const fs::path first = PathFromUtf8(a);
    const fs::path second = PathFromUtf8(b);
    std::error_code ec;
    if (fs::exists(first, ec) && fs::exists(second, ec)) return fs::equivalent(first, second, ec);
    return WhereItLeads(first) == WhereItLeads(second);
}

}  // namespace

bool IsProjectFile(const std::string& projectDir, const std::string& path) {
    for (const std::string& file : {ProjectFile(projectDir, kPargenFileName), ProjectFile(projectDir, kDNetNetFileName),
                                    ProjectFile(projectDir, kDefByteFileName), ProjectFile(projectDir, kPlcMapFileName),
                                    BankFilePath(projectDir)}) {
        if (SameFile(path, file)) return true;
    }
    return false;
}

std::string ProjectFileRefusal(const std::string& projectDir, const std::string& path, const std::string& output) {
    if (!IsProjectFile(projectDir, path)) return {};
    const std::string name = path.substr(path.find_last_of(kPathSeparator) + 1);
    return "\"" + name + "\" is a file of the project: the " + output + " needs another name";
}

}  // namespace tessara::base
