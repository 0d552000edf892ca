#pragma once

#include <csignal>

namespace tessara::base {

// A write past the file size limit (`ulimit -f`) must fail with "File too large" and take the careful write's
// error path, which keeps the old file; the default action of SIGXFSZ would end the process mid-save instead.
#ifdef SIGXFSZ
inline void FailWritesPastTheFileSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}
#else
// Windows has no file size limit that ends a process.
inline void FailWritesPastTheFileSizeLimit() {}
#endif

}  // namespace tessara::base
