#include "base/example_project.h"

#include <filesystem>
#include <stdexcept>

#include "base/file_system.h"
#include "base/project_files.h"

#ifndef TESSARA_EXAMPLES_FROM_APPDIR
#define TESSARA_EXAMPLES_FROM_APPDIR ""
#endif

namespace tessara::base {

namespace fs = std::filesystem;

namespace {

bool HoldsExample(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / kPargenFileName, ec);
}

// A new folder for the copy: the example's name, or the first free one after it. A name is taken by anything
// there, a file or a link that leads nowhere included: only a name with nothing at it is free.
fs::path MakeNewProjectFolder(const std::string& projectsDir) {
    for (int n = 1;; ++n) {
        std::string name = kExampleProjectName;
        if (n > 1) name += "-" + std::to_string(n);
        const fs::path dir = PathFromUtf8(projectsDir + kPathSeparator + name);
        std::error_code ec;
        if (fs::create_directory(dir, ec)) return dir;
        std::error_code lookError;
        if (fs::exists(fs::symlink_status(dir, lookError))) continue;
        throw std::runtime_error("Cannot create the project folder \"" + Utf8FromPath(dir) + "\". " + ec.message());
    }
}

}  // namespace

std::string FindExampleProject(const std::string& programDir) {
    const fs::path program = PathFromUtf8(programDir);
    for (const fs::path& examples : {program / "examples", program / TESSARA_EXAMPLES_FROM_APPDIR}) {
        const fs::path dir = (examples / kExampleProjectName).lexically_normal();
        if (HoldsExample(dir)) return Utf8FromPath(dir);
    }
    return {};
}

std::string CopyExampleProject(const std::string& exampleDir, const std::string& projectsDir) {
    const fs::path dir = MakeNewProjectFolder(projectsDir);
    try {
        for (const char* name : {kPargenFileName, kDNetNetFileName, kDefByteFileName}) {
            const std::string source = ProjectFile(exampleDir, name);
            if (FileExists(source))
                WriteWholeFile(Utf8FromPath(dir / name), ReadWholeFile(source), WriteTarget::RegularFile);
        }
        std::error_code ec;
        if (!fs::create_directory(dir / "bin", ec) && ec) {
            throw std::runtime_error("Cannot create \"" + Utf8FromPath(dir / "bin") + "\". " + ec.message());
        }
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
        throw;
    }
    return Utf8FromPath(dir);
}

}  // namespace tessara::base
