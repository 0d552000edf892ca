#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/workspace.h"
#include "fuzz_project.h"

using namespace tessara::base;

// Any settings file gives a workspace; the project it names, once saved, is the one read at the next start.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string exePath = FuzzFolder() + "/tessara";
    WriteFuzzFile(FuzzFolder() + "/" + Workspace::kSettingsFileName,
                  std::string_view(reinterpret_cast<const char*>(data), size));
    Workspace first;
    first.InitWorkspace(exePath);
    try {
        first.SaveLastProject();
    } catch (const std::runtime_error&) {
        return 0;  // a file that cannot be read back is kept as it is, never replaced
    }
    Workspace second;
    second.InitWorkspace(exePath);
    if (second.ProjectName != first.ProjectName) std::abort();
    return 0;
}
