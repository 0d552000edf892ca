#include "cli/output_status.h"

#include <cerrno>
#include <cstring>

namespace tessara::cli {

int StatusAfterFlush(const std::string& who, int status, std::ostream& out, std::ostream& err) {
    errno = 0;
    if (out.flush()) return status;
    err << who << ": cannot write the output" << (errno ? std::string(". ") + std::strerror(errno) : std::string())
        << "\n";
    return 1;
}

}  // namespace tessara::cli
