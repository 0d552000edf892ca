#include "cli/broken_pipe.h"

namespace tessara::cli {

// Windows sends no signal for a closed pipe: the write fails by itself.
void ReportBrokenPipesAsWriteErrors() {}

}  // namespace tessara::cli
