#pragma once

#include <optional>
#include <string>
#include <vector>

// What the headless command line did with a set of arguments: its status (none when the words start the
// wizard) and what it printed on each stream.
struct CommandOutcome {
    std::optional<int> status;
    std::string out;
    std::string err;
};

// Runs `tessara ARGS...` in this process, as main does before any window exists.
CommandOutcome Tessara(std::vector<std::string> args);
