#include "base/workspace.h"

#include <algorithm>
#include <filesystem>
#include <optional>
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

// The settings file's text; nullopt when there is no file or it cannot be read.
std::optional<std::string> ReadSettingsText(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    try {
        return ReadWholeFile(path, kSettingsFileLimit);
    } catch (const std::exception&) {
        return std::nullopt;
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

    ProjectName = ProjectNameFromSetting(ReadSetting(kSettingsSection, kSettingsKey));
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
    SaveSetting(kSettingsSection, kSettingsKey, SettingFromProjectName(ProjectName));
}

std::string Workspace::ReadSetting(const char* section, const char* key) const {
    return IniValue(ReadSettingsText(SettingsFile()).value_or(std::string()), section, key);
}

void Workspace::SaveSetting(const char* section, const char* key, const std::string& value) const {
    const std::string path = SettingsFile();
    // Only a file SimpleIni could read is edited, so a file that exists but cannot be read is never replaced
    // by one that keeps only our key.
    const bool exists = std::filesystem::exists(PathFromUtf8(path));
    const std::optional<std::string> text = exists ? ReadSettingsText(path) : std::string();
    if (!text) throw std::runtime_error("Unable to write to " + path);
    try {
        WriteWholeFile(path, SettingsTextWith(*text, section, key, value), WriteTarget::RegularFile);
    } catch (const std::exception&) {
        throw std::runtime_error("Unable to write to " + path);
    }
}

std::string ProjectNameFromSetting(const std::string& value) {
    std::string name = ToNativeSeparators(value);
    if (!name.empty() && name.front() != kPathSeparator) name.insert(0, kSep);
    // A name that would lead out of PROJECTS, or hold a control character, is no project whatever the file says:
    // it is not kept either, since it would never be saved back.
    if (!name.empty() && !IsProjectName(name.substr(1))) name.clear();
    return name;
}

std::string SettingFromProjectName(const std::string& projectName) {
    // A name that could not be read back as a project (a line break in it would even start a new section) is
    // not kept.
    const bool leading = !projectName.empty() && projectName.front() == kPathSeparator;
    return IsProjectName(projectName.substr(leading ? 1 : 0)) ? projectName : std::string();
}

std::string SettingsTextWith(std::string_view text, const char* section, const char* key, const std::string& value) {
    // A value is one line: a line break in it would start lines of its own, even a section.
    const bool oneLine = std::none_of(value.begin(), value.end(), [](char c) { return c == '\n' || c == '\r'; });
    std::string result = WithIniValue(text, section, key, oneLine ? value : std::string());
    // The next start reads no settings file longer than this: such a save would lose the very value it stores,
    // and every later save would refuse the file.
    if (result.size() > kSettingsFileLimit) {
        throw std::runtime_error("The settings would have " + std::to_string(result.size()) + " bytes, more than the " +
                                 std::to_string(kSettingsFileLimit) + " read at the next start");
    }
    return result;
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
