#pragma once

#include <string>
#include <vector>

namespace tessara::cli {

// What the command-line front needs from the process it runs in, the same on every platform.

// The arguments as UTF-8, whatever code page the system handed them over in.
std::vector<std::string> Utf8Arguments(int argc, char* argv[]);
// Standard output carries the bytes as written, so a report is the same file on every platform.
void UseBinaryOutput();
// Runs the wizard with the given arguments in place of this process; returns only on failure, with its status.
int HandOverToWizard(const std::string& wizard, std::vector<std::string> arguments);

}  // namespace tessara::cli
