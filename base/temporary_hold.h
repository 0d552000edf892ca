#pragma once

#include <string>

namespace tessara::base {

// A save holds its temporary until it ends, however it ends, in the way the system drops with the process: an
// advisory lock on POSIX, on Windows the handle that shares no access. The temporary is removed only when no
// process holds it and it is still the file of the given identity; false when it is held, is another file or
// cannot be removed.
bool RemoveUnlessHeld(const std::string& path, const std::string& identity);

}  // namespace tessara::base
