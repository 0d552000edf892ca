#include <QApplication>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/command_line.h"

namespace {

constexpr const char* kUsage =
    "Usage: tessara [--app-dir DIR]      start the wizard\n"
    "       tessara --help | --version\n";

}  // namespace

int main(int argc, char* argv[]) {
    // A command word runs headless: decided before any application object exists, so no display is needed.
    if (const std::optional<int> status = RunCommand(argc, argv, std::cout, std::cerr)) return *status;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("tessara " TESSARA_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    return 0;
}
