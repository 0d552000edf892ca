// The command-line front, `tessara`: runs the headless commands itself and hands a start without a command
// word to the wizard beside it. It links no Qt, so a command pays for none of the window libraries.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "base/file_size_signal.h"
#include "cli/command_line.h"
#include "cli/start_options.h"
#include "documents/xml_arena.h"

using namespace tessara::documents;
using namespace tessara::cli;

int main(int argc, char* argv[]) {
    UseXmlArena();
    tessara::base::FailWritesPastTheFileSizeLimit();
    if (const std::optional<int> status = RunCommand(argc, argv, std::cout, std::cerr)) return *status;
    StartOptions options;
    if (const std::optional<int> status = ParseStartOptions(argc, argv, options)) return *status;

    // The wizard finds the workspace and the updater from its own folder, which is this one.
    std::string wizard = WizardPath(ExecutableDir(argv[0]));
    argv[0] = wizard.data();
    ::execv(wizard.c_str(), argv);
    std::fprintf(stderr, "tessara: cannot start %s: %s\n", wizard.c_str(), std::strerror(errno));
    return 1;
}
