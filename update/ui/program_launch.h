#pragma once

#include <QProcess>
#include <QString>

#include "update/ui/program_runner.h"

namespace tessara::update {

// Sets up how the program is handed its parameters and window: the platform's own side of the runner.
void PrepareLaunch(QProcess& process, const QString& program, const ProgramParameters& parameters, bool hidden);

}  // namespace tessara::update
