#pragma once

namespace tessara::cli {

// The one usage text of both executables (the command words and the wizard's options) and the version that
// CMake gives the project.
const char* UsageText();
// "1.100", as the About box shows it, and "tessara 1.100", as --version prints it.
const char* VersionNumber();
const char* VersionText();

}  // namespace tessara::cli
