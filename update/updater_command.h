#pragma once

#include <string>
#include <vector>

namespace tessara::base {
class Workspace;
}

namespace tessara::update {

// What the updater is told to do: write and read back the firmware and the project.
struct UpdateOptions {
    bool Firmware = true;
    bool ReadFirmware = true;
    bool Project = true;
    bool ReadProject = true;
};

// The updater's command line in both forms. Windows hands the updater ParameterString as it stands;
// elsewhere it gets Arguments, the same pieces one by one with no shell in between, so blanks and quotes in
// paths arrive intact. ParameterString is shown to the user on every platform.
struct UpdaterCommand {
    std::string Program;
    std::string ParameterString;
    std::vector<std::string> Arguments;
};

// portDevice is the port as the updater opens it ("\\.\COM3", "/dev/ttyUSB0").
UpdaterCommand BuildUpdaterCommand(const base::Workspace& ws, const std::string& portDevice,
                                   const UpdateOptions& options);

}  // namespace tessara::update
