#pragma once

#ifdef _WIN32
#include <cstddef>

// Windows has no file size limit of a process, so a disk that fills up mid-save cannot be staged this way there.
class FileSizeLimit {
public:
    static constexpr bool kAvailable = false;
    explicit FileSizeLimit(size_t) {}
};
#else
#include <signal.h>
#include <sys/resource.h>

// While this lives, every file grown past `bytes` fails with "File too large" after the part below the limit
// was written: a disk that fills up in the middle of a save. Tests run as root, where permission bits refuse
// nothing, but the file size limit holds for every user.
class FileSizeLimit {
public:
    static constexpr bool kAvailable = true;
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);  // the write must fail, not end the process
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousHandler_;
};
#endif
