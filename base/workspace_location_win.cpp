#include "base/workspace_location.h"

namespace tessara::base {

const char* const kUserDataVariable = "LOCALAPPDATA";

}  // namespace tessara::base
