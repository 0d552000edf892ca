#include "support/command_runner.h"

#include <sstream>

#include "cli/command_line.h"

using namespace tessara::cli;

CommandOutcome Tessara(std::vector<std::string> args) {
    args.insert(args.begin(), "tessara");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> status = RunCommand(static_cast<int>(args.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}
