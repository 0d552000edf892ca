#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tessara::cli {

// The headless commands: "image", "gsd", "check", "report" and "inspect". Returns nullopt when argv[1] is not
// a command word, so the caller goes on to start the wizard; otherwise the exit status: 0 done, 1 an error (its
// message on err, in the words the windows would show; for check, an error finding), 2 a usage error. Never
// asks anything.
std::optional<int> RunCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

// The command words, in the order of the usage text.
std::vector<std::string> CommandWords();

}  // namespace tessara::cli
