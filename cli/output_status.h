#pragma once

#include <ostream>
#include <string>

namespace tessara::cli {

// Output that did not arrive (a full disk, a closed pipe) is a failure like any other, not a silent success:
// `who` ("tessara", "tessara check") says so on err with the system's reason, and the status becomes 1.
int StatusAfterFlush(const std::string& who, int status, std::ostream& out, std::ostream& err);

}  // namespace tessara::cli
