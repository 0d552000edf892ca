#include <unistd.h>

#include "base/file_system.h"
#include "base/workspace_location.h"

namespace tessara::base {

const char* const kUserDataVariable = "XDG_DATA_HOME";

bool IsWritableDirectory(const std::string& dir) {
    return DirectoryExists(dir) && ::access(dir.c_str(), W_OK) == 0;
}

}  // namespace tessara::base
