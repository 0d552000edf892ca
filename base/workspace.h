#pragma once

#include <string>
#include <string_view>

namespace tessara::base {

// Where the tool is installed, where projects live and which project is current. Paths use the platform's
// separator and never end in one; ProjectName keeps its leading-separator convention with that separator.
class Workspace {
public:
    static constexpr const char* kSettingsFileName = "Tessara_DNETM2PROFI.ini";
    static constexpr const char* kSettingsSection = "lastproj";
    static constexpr const char* kSettingsKey = "projectname";
    // The serial port the last update used, which the update dialog offers first.
    static constexpr const char* kPortSection = "serialport";
    static constexpr const char* kPortKey = "lastport";

    std::string AppDir;
    // The running executable's folder, where the updater is installed beside it. It is AppDir unless the
    // workspace lives elsewhere (an installed tool, --app-dir).
    std::string ProgramDir;
    std::string MasterDir;
    std::string ProjectsDir;
    std::string ProjectName;
    std::string ProjectDir;
    std::string PargenFile;
    std::string DNetNetFile;
    std::string DefByteFile;

    // Establishes every field from the executable's path and the settings file, creating MASTER and PROJECTS
    // when missing. Returns true when the remembered project exists and became current (the caption then
    // shows it).
    bool InitWorkspace(const std::string& exePath);
    // The same with the workspace folder itself, where no executable is involved (--app-dir, an installed tool).
    bool OpenWorkspace(const std::string& appDir);

    // Makes the folder current as Open project does: ProjectName is its path below PROJECTS (with the leading
    // separator), empty when the folder is PROJECTS itself or not below it; the document paths follow.
    void SelectProject(const std::string& dir);

    // What New project's creation of a folder came to.
    struct Creation {
        enum Outcome { Created, AlreadyExists, Failed } outcome = Failed;
        std::string dir;     // the folder meant
        std::string reason;  // the system's, when it failed
    };
    // Creates the project folder `name` (as typed, the platform's separators) in `destDir` with its "bin"
    // folder, and makes it current: ProjectName is the name as typed, without a leading separator. A folder
    // that exists, or cannot be made, leaves the current project as it was.
    Creation CreateProject(const std::string& destDir, const std::string& name);

    void BuildDocumentPaths();

    // Writes ProjectName into the settings file, keeping every other section, key and comment. Throws
    // std::runtime_error "Unable to write to <path>" when the file cannot be written.
    void SaveLastProject() const;

    // A value of the settings file; empty when the file, the section or the key is missing or unreadable.
    std::string ReadSetting(const char* section, const char* key) const;
    // Writes one value into the settings file as SaveLastProject does, keeping everything else.
    void SaveSetting(const char* section, const char* key, const std::string& value) const;

    std::string SettingsFile() const;
};

// True for a project's path relative to PROJECTS, with the platform's separators, that stays inside it: not
// empty, not absolute, no ".." component, no control character.
bool IsProjectName(const std::string& name);

// Turns "\" and "/" into the platform's separator, so a settings value written on another platform reads here.
std::string ToNativeSeparators(std::string path);

// What Workspace makes of the settings file's text, apart from reading and writing the file, so that it also
// runs on a text held in memory.
//
// ProjectName as a settings value gives it: the platform's separators and the leading separator; empty for a
// value that is no project name (one that would lead out of PROJECTS or holds a control character).
std::string ProjectNameFromSetting(const std::string& value);
// The value SaveLastProject stores for `projectName`: empty for a name that would not read back as a project.
std::string SettingFromProjectName(const std::string& projectName);
// `text` with `value` stored under `section` and `key` and every other line kept; a value of more than one line
// is stored empty. Throws std::runtime_error when SimpleIni cannot read `text` or the result, or when the result
// is longer than kSettingsFileLimit, which the next start would not read.
std::string SettingsTextWith(std::string_view text, const char* section, const char* key, const std::string& value);

}  // namespace tessara::base
