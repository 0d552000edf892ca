#pragma once

#include <optional>
#include <string>

namespace tessara::cli {

// The options of a start without a command word, read by the command-line front and again by the wizard
// it starts, so both answer them alike.
struct StartOptions {
    std::string appDir;
};

// The exit status when the arguments ask for no window (help, version, a usage error) or no window can open
// (no display: 1, saying so); otherwise nullopt.
std::optional<int> ParseStartOptions(int argc, char* argv[], StartOptions& options);

// Whether the wizard's windows can open: on X11 and Wayland a display, unless QT_QPA_PLATFORM names a platform
// that draws without one (offscreen, vnc, ...). Always on Windows.
bool DisplayAvailable();

// What a start without a display is told: how to start it under Xvfb, and that the command words need none.
std::string NoDisplayText(int argc, char* argv[]);

// The folder of the running executable: the workspace and the updater are found from it.
std::string ExecutableDir(const char* argv0);

// The windows live in their own executable beside the command-line front, so a headless command never
// loads the window libraries.
std::string WizardPath(const std::string& executableDir);

}  // namespace tessara::cli
