#include "update/updater_command.h"

#include "base/file_system.h"
#include "base/workspace.h"

namespace tessara::update {

namespace {

const std::string kUpdaterName = std::string("Ser_48210_Update") + base::kExecutableSuffix;

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

}  // namespace

UpdaterCommand BuildUpdaterCommand(const base::Workspace& ws, const std::string& portDevice,
                                   const UpdateOptions& options) {
    const std::string separator(1, base::kPathSeparator);
    const std::string codes[] = {options.Firmware ? "FW" : "NO", options.ReadFirmware ? "FR" : "NO",
                                 options.Project ? "PW" : "NO", options.ReadProject ? "PR" : "NO"};
    const std::string simFile = ws.MasterDir + separator + "sim48210.sim";
    // The updater expects the bin folder with its trailing separator.
    const std::string binDir = ws.ProjectDir + separator + "bin" + separator;

    UpdaterCommand command;
    command.Program = ws.ProgramDir + separator + kUpdaterName;
    command.ParameterString = portDevice + ' ';
    command.Arguments.push_back(portDevice);
    for (const std::string& code : codes) {
        command.ParameterString += code + ' ';
        command.Arguments.push_back(code);
    }
    command.ParameterString += Quoted(simFile) + ' ' + Quoted(binDir);
    command.Arguments.push_back(simFile);
    command.Arguments.push_back(binDir);
    return command;
}

}  // namespace tessara::update
