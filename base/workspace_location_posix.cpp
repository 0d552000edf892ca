#include "base/workspace_location.h"

namespace tessara::base {

const char* const kUserDataVariable = "XDG_DATA_HOME";

}  // namespace tessara::base
