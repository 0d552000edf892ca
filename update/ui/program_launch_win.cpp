#include <windows.h>

#include "update/ui/program_launch.h"

namespace tessara::update {

// CreateProcessW gets the parameter string as it stands, in a console of its own, shown or hidden.
void PrepareLaunch(QProcess& process, const QString& program, const ProgramParameters& parameters, bool hidden) {
    process.setProgram(program);
    process.setNativeArguments(parameters.commandLine);
    process.setCreateProcessArgumentsModifier([hidden](QProcess::CreateProcessArguments* args) {
        args->flags |= CREATE_NEW_CONSOLE;
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = hidden ? SW_HIDE : SW_SHOWNORMAL;
    });
}

}  // namespace tessara::update
