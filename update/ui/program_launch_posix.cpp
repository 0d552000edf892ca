#include "update/ui/program_launch.h"

namespace tessara::update {

// A program here opens no window of its own, so hidden has nothing to hide.
void PrepareLaunch(QProcess& process, const QString& program, const ProgramParameters& parameters, bool) {
    process.setProgram(program);
    process.setArguments(parameters.arguments);
}

}  // namespace tessara::update
