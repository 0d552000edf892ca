#include "base/workspace.h"

#include <SimpleIni.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "base/file_system.h"
#include "base/project_files.h"
#include "base/settings_text.h"

namespace tessara::base {

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
        return ini.LoadData(ReadWholeFile(path, kSettingsFileLimit)) >= 0;
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
    return OpenWorkspace(cut == std::string::npos ? std::string() : exePath.substr(0, cut));
}

bool Workspace::OpenWorkspace(const std::string& appDir) {
    AppDir = appDir;
    ProgramDir = AppDir;
    MasterDir = AppDir + kSep + "MASTER";
    CreateDirectoryIfMissing(MasterDir);
    ProjectsDir = AppDir + kSep + "PROJECTS";
    CreateDirectoryIfMissing(ProjectsDir);

    ProjectName = ToNativeSeparators(ReadSetting(kSettingsSection, kSettingsKey));
    if (!ProjectName.empty() && ProjectName.front() != kPathSeparator) ProjectName.insert(0, kSep);

    // A name that would lead out of PROJECTS, or hold a control character, is no project whatever the file says:
    // it is not kept either, since it would never be saved back.
    if (!ProjectName.empty() && !IsProjectName(ProjectName.substr(1))) ProjectName.clear();
    const bool remembered = !ProjectName.empty() && DirectoryExists(ProjectsDir + ProjectName);
    ProjectDir = remembered ? ProjectsDir + ProjectName : ProjectsDir;
    BuildDocumentPaths();
    return remembered;
}

void Workspace::SelectProject(const std::string& dir) {
    ProjectDir = dir;
    ProjectName = dir.size() > ProjectsDir.size() ? dir.substr(ProjectsDir.size()) : std::string();
    BuildDocumentPaths();
}

Workspace::Creation Workspace::CreateProject(const std::string& destDir, const std::string& name) {
    Creation creation;
    creation.dir = destDir + kSep + name;
    if (DirectoryExists(creation.dir)) {
        creation.outcome = Creation::AlreadyExists;
        return creation;
    }
    std::error_code ec;
    if (!std::filesystem::create_directory(PathFromUtf8(creation.dir), ec) || ec) {
        creation.reason = ec.message();
        return creation;
    }
    std::filesystem::create_directories(PathFromUtf8(creation.dir + kSep + "bin"), ec);  // a failure is ignored
    ProjectName = name;
    ProjectDir = creation.dir;
    BuildDocumentPaths();
    creation.outcome = Creation::Created;
    return creation;
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
    // A name that could not be read back as a project (a line break in it would even start a new section) is
    // not kept.
    const std::string_view relative =
        std::string_view(ProjectName).substr(!ProjectName.empty() && ProjectName.front() == kPathSeparator ? 1 : 0);
    SaveSetting(kSettingsSection, kSettingsKey, IsProjectName(std::string(relative)) ? ProjectName : std::string());
}

std::string Workspace::ReadSetting(const char* section, const char* key) const {
    CSimpleIniA ini;
    LoadSettings(ini, SettingsFile());
    return ini.GetValue(section, key, "");
}

void Workspace::SaveSetting(const char* section, const char* key, const std::string& value) const {
    const std::string path = SettingsFile();
    // Only a file SimpleIni could read is edited, so a file that exists but cannot be read is never replaced
    // by one that keeps only our key.
    CSimpleIniA ini;
    const bool exists = std::filesystem::exists(PathFromUtf8(path));
    if (exists && !LoadSettings(ini, path)) throw std::runtime_error("Unable to write to " + path);
    // A value is one line: a line break in it would start lines of its own, even a section.
    const bool oneLine = std::none_of(value.begin(), value.end(), [](char c) { return c == '\n' || c == '\r'; });
    try {
        const std::string text = exists ? ReadWholeFile(path, kSettingsFileLimit) : std::string();
        WriteWholeFile(path, WithIniValue(text, section, key, oneLine ? value : std::string()),
                       WriteTarget::RegularFile);
    } catch (const std::exception&) {
        throw std::runtime_error("Unable to write to " + path);
    }
}

bool IsProjectName(const std::string& name) {
    if (name.empty() || IsPathSeparator(name.front())) return false;
    if (kPathsHaveDriveLetters && name.size() > 1 && name[1] == ':') return false;
    for (const unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    for (size_t begin = 0; begin <= name.size();) {
        const size_t end = std::min(name.find_first_of({kPathSeparator, kOtherPathSeparator}, begin), name.size());
        if (name.compare(begin, end - begin, "..") == 0) return false;
        begin = end + 1;
    }
    return true;
}

}  // namespace tessara::base
