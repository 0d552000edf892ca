#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/process_entry.h"

namespace tessara::cli {

std::vector<std::string> Utf8Arguments(int argc, char* argv[]) {
    return std::vector<std::string>(argv, argv + argc);
}

void UseBinaryOutput() {}

int HandOverToWizard(const std::string& wizard, std::vector<std::string> arguments) {
    arguments.front() = wizard;
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(wizard.c_str(), argv.data());
    std::fprintf(stderr, "tessara: cannot start %s: %s\n", wizard.c_str(), std::strerror(errno));
    return 1;
}

}  // namespace tessara::cli
