#pragma once

#include <string>

namespace tessara::base {

// A short file name, ".tessara-<number>", for a file beside a target that no other writer uses, so a target of
// the longest name the file system takes still saves. A process killed mid-save may leave one behind.
std::string TemporaryName();

}  // namespace tessara::base
