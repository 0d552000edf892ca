#pragma once

namespace tessara::cli {

// The one usage text of both executables (the command words and the wizard's options) and the version that
// CMake gives the project.
const char* UsageText();
const char* VersionText();

}  // namespace tessara::cli
