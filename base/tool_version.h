#pragma once

namespace tessara::base {

// The version CMake gives the project, "1.100": the About box, --version, the report and the PLC exports name it.
const char* ToolVersion();

}  // namespace tessara::base
