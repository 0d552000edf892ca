#include "base/workspace.h"

#include <SimpleIni.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "base/file_system.h"
#include "base/project_files.h"

namespace {

const std::string kSep(1, kPathSeparator);

void CreateDirectoryIfMissing(const std::string& path) {
    if (DirectoryExists(path)) return;
    std::error_code ignored;  // a failure shows later, where the directory is used
    std::filesystem::create_directory(PathFromUtf8(path), ignored);
}

// Reads the settings file when there is one; a missing or unreadable file reads as empty.
bool LoadSettings(CSimpleIniA& ini, const std::string& path) {
    if (!FileExists(path)) return false;
    try {
        return ini.LoadData(ReadWholeFile(path)) >= 0;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

std::string ToNativeSeparators(std::string path) {
    std::replace_if(
        path.begin(), path.end(), [](char c) { return c == '\\' || c == '/'; }, kPathSeparator);
    return path;
}

bool Workspace::InitWorkspace(const std::string& exePath) {
    const auto cut = exePath.find_last_of(kPathSeparator == '\\' ? "\\:" : "/");
    AppDir = cut == std::string::npos ? std::string() : exePath.substr(0, cut);
    ProgramDir = AppDir;
    MasterDir = AppDir + kSep + "MASTER";
    CreateDirectoryIfMissing(MasterDir);
    ProjectsDir = AppDir + kSep + "PROJECTS";
    CreateDirectoryIfMissing(ProjectsDir);

    ProjectName = ToNativeSeparators(ReadSetting(kSettingsSection, kSettingsKey));
    if (!ProjectName.empty() && ProjectName.front() != kPathSeparator) ProjectName.insert(0, kSep);

    const bool remembered = !ProjectName.empty() && DirectoryExists(ProjectsDir + ProjectName);
    ProjectDir = remembered ? ProjectsDir + ProjectName : ProjectsDir;
    BuildDocumentPaths();
    return remembered;
}

void Workspace::BuildDocumentPaths() {
    PargenFile = ProjectFile(ProjectDir, kPargenFileName);
    DNetNetFile = ProjectFile(ProjectDir, kDNetNetFileName);
    DefByteFile = ProjectFile(ProjectDir, kDefByteFileName);
}

std::string Workspace::SettingsFile() const {
    return AppDir + kSep + kSettingsFileName;
}

void Workspace::SaveLastProject() const {
    SaveSetting(kSettingsSection, kSettingsKey, ProjectName);
}

std::string Workspace::ReadSetting(const char* section, const char* key) const {
    CSimpleIniA ini;
    LoadSettings(ini, SettingsFile());
    return ini.GetValue(section, key, "");
}

void Workspace::SaveSetting(const char* section, const char* key, const std::string& value) const {
    const std::string path = SettingsFile();
    CSimpleIniA ini;
    ini.SetSpaces(false);  // keeps the plain key=value form
    // A file that exists but cannot be read must not be replaced by one that keeps only our key.
    if (!LoadSettings(ini, path) && std::filesystem::exists(PathFromUtf8(path))) {
        throw std::runtime_error("Unable to write to " + path);
    }
    ini.SetValue(section, key, value.c_str());
    std::string content;
    if (ini.Save(content) < 0) throw std::runtime_error("Unable to write to " + path);
    try {
        WriteFileAtomically(path, content);
    } catch (const std::exception&) {
        throw std::runtime_error("Unable to write to " + path);
    }
}
