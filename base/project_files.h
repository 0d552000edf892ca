#pragma once

#include <string>

#include "base/file_system.h"

namespace tessara::base {

// The files of a project folder, as every reader and writer names them. The names are formed at
// the time of use, so a build always reads the folder it is given.
inline constexpr const char* kPargenFileName = "pargen.xml";
inline constexpr const char* kDNetNetFileName = "DNET_Net.xml";
inline constexpr const char* kDefByteFileName = "DefByte.xml";
// The tool's own document of the PLC side; the device, the image and the GSD never read it.
inline constexpr const char* kPlcMapFileName = "PlcMap.xml";

inline std::string ProjectFile(const std::string& projectDir, const char* name) {
    return projectDir + kPathSeparator + name;
}

inline std::string BankFolderPath(const std::string& projectDir) {
    return projectDir + kPathSeparator + "bin";
}

inline std::string BankFilePath(const std::string& projectDir) {
    return BankFolderPath(projectDir) + kPathSeparator + "bank.bin";
}

// True when `path` leads to one of the project's documents (the PLC document too) or to bin/bank.bin, also through
// "..", a link or another name of the same file: an output the user names must never replace them.
bool IsProjectFile(const std::string& projectDir, const std::string& path);

// Why an output (the "GSD file", the "report") may not be written at `path`: "\"pargen.xml\" is a file of the
// project: the report needs another name", or empty when `path` is no file of the project. The command line and
// the windows refuse in the same words.
std::string ProjectFileRefusal(const std::string& projectDir, const std::string& path, const std::string& output);

}  // namespace tessara::base
