#include "cli/start_options.h"

namespace tessara::cli {

// A Windows session always has its desktop.
bool DisplayAvailable() {
    return true;
}

}  // namespace tessara::cli
