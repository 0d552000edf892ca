#include "base/tool_version.h"

namespace tessara::base {

const char* ToolVersion() {
    return TESSARA_VERSION;
}

}  // namespace tessara::base
