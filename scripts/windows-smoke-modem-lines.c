// The modem lines of the smoke run's serial port. scripts/windows-smoke lets a pseudo-terminal stand in for the
// device's RS232 line, but a pseudo-terminal has no modem lines: raising DTR on it fails, and Connect refuses a
// port whose DTR cannot be raised, so the updater would never be started. Loaded with LD_PRELOAD into the Linux
// wizard and into Wine (whose serial driver reads and sets the lines with the same ioctl requests), this answers
// the modem-line requests on that one device itself, keeping the lines' state per process, and appends each change
// to a log the run reads: so the run also sees that Connect raised DTR. Every other call goes to the real ioctl.
//
// The lines are read back only on a program's main thread, where the port is driven. Wine's serial driver waits
// for line events by polling the lines from a thread of its own until they change, and a wait started without an
// event of its own (as Qt's port starts it on opening) holds the caller until then: lines that never change would
// hang Connect. Read from that thread, the lines fail as on any pseudo-terminal, which ends the wait at once.
// Built by scripts/windows-smoke into its work folder; never part of the tool.
//
// TESSARA_SMOKE_MODEM_DEVICE  the pseudo-terminal's path; only the device it names is answered for
// TESSARA_SMOKE_MODEM_LOG     the log, one line per change: "PROGRAM PID: REQUEST LINES -> STATE"
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

typedef int (*IoctlFunction)(int, unsigned long, ...);

static unsigned lines;  // TIOCM_* bits; the device's own lines (CTS, DSR, CD, RI) stay low: nothing answers

static const struct {
    unsigned bit;
    const char* name;
} kLineNames[] = {{TIOCM_DTR, "DTR"}, {TIOCM_RTS, "RTS"}, {TIOCM_CTS, "CTS"}, {TIOCM_DSR, "DSR"}, {TIOCM_CD, "CD"},
                  {TIOCM_RI, "RI"},   {TIOCM_LE, "LE"},   {TIOCM_ST, "ST"},   {TIOCM_SR, "SR"}};

static IoctlFunction RealIoctl(void) {
    static IoctlFunction real;
    if (!real) real = (IoctlFunction)dlsym(RTLD_NEXT, "ioctl");
    return real;
}

static int IsTheDevice(int fd) {
    static dev_t device;
    static int known;
    if (!known) {
        const char* path = getenv("TESSARA_SMOKE_MODEM_DEVICE");
        struct stat status;
        if (!path || stat(path, &status) != 0 || !S_ISCHR(status.st_mode)) return 0;
        device = status.st_rdev;
        known = 1;
    }
    struct stat status;
    return fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) && status.st_rdev == device;
}

static void AppendNames(char* text, size_t size, unsigned bits) {
    if (!bits) {
        strncat(text, "none", size - strlen(text) - 1);
        return;
    }
    const char* separator = "";
    for (size_t i = 0; i < sizeof kLineNames / sizeof kLineNames[0]; ++i) {
        if (!(bits & kLineNames[i].bit)) continue;
        strncat(text, separator, size - strlen(text) - 1);
        strncat(text, kLineNames[i].name, size - strlen(text) - 1);
        separator = "|";
    }
}

static void Log(const char* request, unsigned bits) {
    const char* path = getenv("TESSARA_SMOKE_MODEM_LOG");
    if (!path) return;
    char program[64] = "?";
    const int comm = open("/proc/self/comm", O_RDONLY | O_CLOEXEC);
    if (comm >= 0) {
        const ssize_t length = read(comm, program, sizeof program - 1);
        close(comm);
        program[length > 0 ? length : 0] = '\0';
        program[strcspn(program, "\n")] = '\0';
    }
    char line[256];
    snprintf(line, sizeof line, "%s %d: %s ", program, (int)getpid(), request);
    AppendNames(line, sizeof line, bits);
    strncat(line, " -> ", sizeof line - strlen(line) - 1);
    AppendNames(line, sizeof line, lines);
    strncat(line, "\n", sizeof line - strlen(line) - 1);
    // One write of one short line to a file opened for appending: lines of several processes do not mix.
    const int log = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (log < 0) return;
    if (write(log, line, strlen(line)) < 0) {
        // nothing to do: the run finds the change missing from the log and says so
    }
    close(log);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);

    const int modemRequest = request == TIOCMGET || request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC;
    if (!modemRequest || !IsTheDevice(fd)) return RealIoctl()(fd, request, argument);
    if (!argument) {
        errno = EFAULT;
        return -1;
    }
    int* bits = argument;
    const int savedErrno = errno;
    switch (request) {
        case TIOCMGET:
            if (gettid() != getpid()) return RealIoctl()(fd, request, argument);
            *bits = (int)lines;
            return 0;
        case TIOCMSET:
            lines = (unsigned)*bits & (TIOCM_DTR | TIOCM_RTS);
            Log("set", (unsigned)*bits);
            break;
        case TIOCMBIS:
            lines |= (unsigned)*bits & (TIOCM_DTR | TIOCM_RTS);
            Log("raise", (unsigned)*bits);
            break;
        case TIOCMBIC:
            lines &= ~(unsigned)*bits;
            Log("lower", (unsigned)*bits);
            break;
    }
    errno = savedErrno;
    return 0;
}
