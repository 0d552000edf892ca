#include <csignal>

#include "cli/broken_pipe.h"

namespace tessara::cli {

void ReportBrokenPipesAsWriteErrors() {
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace tessara::cli
