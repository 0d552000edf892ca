#pragma once

namespace tessara::cli {

// The one usage text of both executables (the command words and the wizard's options).
const char* UsageText();
// "tessara 1.100", as --version prints it.
const char* VersionText();

}  // namespace tessara::cli
