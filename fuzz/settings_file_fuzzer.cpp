#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "base/file_system.h"
#include "base/settings_text.h"
#include "base/workspace.h"
#include "fuzz_project.h"

using namespace tessara::base;

namespace {

std::string RememberedProject(const std::string& settings) {
    return ProjectNameFromSetting(IniValue(settings, Workspace::kSettingsSection, Workspace::kSettingsKey));
}

// The same through the settings file of a workspace: what the text gave, the file must give.
void CheckThroughFiles(const std::string& settings, const std::string& project, const std::string* saved) {
    const std::string exePath = FuzzFolder() + "/tessara";
    WriteFuzzFile(FuzzFolder() + "/" + Workspace::kSettingsFileName, settings);
    Workspace first;
    first.InitWorkspace(exePath);
    if (first.ProjectName != project) std::abort();
    try {
        first.SaveLastProject();
    } catch (const std::runtime_error&) {
        if (saved) std::abort();
        return;
    }
    if (!saved || ReadWholeFile(first.SettingsFile(), kSettingsFileLimit) != *saved) std::abort();
}

}  // namespace

// Any settings file gives a workspace; the project it names, once saved, is the one read at the next start. A file
// that cannot be read back is kept as it is, never replaced.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string settings(reinterpret_cast<const char*>(data), size);
    const std::string project = RememberedProject(settings);
    std::string saved;
    bool refused = false;
    try {
        saved = SettingsTextWith(settings, Workspace::kSettingsSection, Workspace::kSettingsKey,
                                 SettingFromProjectName(project));
    } catch (const std::runtime_error&) {
        refused = true;
    }
    if (!refused && RememberedProject(saved) != project) std::abort();
    if (AlsoThroughFiles(size)) CheckThroughFiles(settings, project, refused ? nullptr : &saved);
    return 0;
}
