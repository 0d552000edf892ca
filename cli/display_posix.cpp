#include <cstdlib>
#include <string_view>

#include "cli/start_options.h"

namespace tessara::cli {

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// The first platform QT_QPA_PLATFORM asks for ("xcb", "wayland;xcb", "offscreen", "vnc:size=800x600").
std::string_view FirstPlatform(std::string_view platforms) {
    return platforms.substr(0, platforms.find_first_of(":;"));
}

}  // namespace

bool DisplayAvailable() {
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return true;
    if (!IsSet("QT_QPA_PLATFORM")) return false;
    const std::string_view platform = FirstPlatform(std::getenv("QT_QPA_PLATFORM"));
    return platform != "xcb" && !platform.starts_with("wayland");
}

}  // namespace tessara::cli
