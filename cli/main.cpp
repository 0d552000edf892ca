// The command-line front, `tessara`: runs the headless commands itself and hands a start without a command
// word to the wizard beside it. It links no Qt, so a command pays for none of the window libraries.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/file_size_signal.h"
#include "cli/command_line.h"
#include "cli/process_entry.h"
#include "cli/start_options.h"
#include "documents/xml_arena.h"

using namespace tessara::documents;
using namespace tessara::cli;

int main(int argc, char* argv[]) {
    UseXmlArena();
    tessara::base::FailWritesPastTheFileSizeLimit();
    UseBinaryOutput();
    std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) utf8Argv.push_back(argument.data());
    utf8Argv.push_back(nullptr);
    const int count = static_cast<int>(arguments.size());
    if (const std::optional<int> status = RunCommand(count, utf8Argv.data(), std::cout, std::cerr)) return *status;
    StartOptions options;
    if (const std::optional<int> status = ParseStartOptions(count, utf8Argv.data(), options)) return *status;

    // The wizard finds the workspace and the updater from its own folder, which is this one.
    return HandOverToWizard(WizardPath(ExecutableDir(arguments.front().c_str())), arguments);
}
