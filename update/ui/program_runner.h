#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace tessara::update {

// Starts another program and waits for its end on the calling thread, at most a time limit. While it waits
// the windows repaint and take no input. The program is never killed: one still running at the limit runs
// on after the runner has returned, even past the end of this tool.

inline constexpr std::chrono::milliseconds kRunLimit{150000};
inline constexpr std::chrono::milliseconds kPollPause{10};
// The exit code a program reads as while it runs; a program that ends with it is taken as still running.
inline constexpr int kStillActive = 259;

// Windows hands the program commandLine as it stands; elsewhere it gets the separate arguments, with no
// shell and no re-splitting in between.
struct ProgramParameters {
    QString commandLine;
    QStringList arguments;
};

struct RunResult {
    enum class Outcome { NotStarted, Ended, Crashed, StillRunning };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = 0;  // when Ended
    QString error;     // why the start failed, when NotStarted
};

// Called at each poll with the time waited so far, for a busy indicator.
using WaitProgress = std::function<void(std::chrono::milliseconds elapsed)>;

// hidden starts the program without a visible window (Windows only; elsewhere a program opens no window
// of its own).
RunResult RunProgramAndWait(const QString& program, const ProgramParameters& parameters, bool hidden,
                            std::chrono::milliseconds limit = kRunLimit, const WaitProgress& progress = {});

// The wait itself: asks readExitCode every 10 ms until it gives something other than kStillActive (true) or
// the limit has passed (false), processing every event but user input between polls.
bool WaitWhileStillActive(const std::function<int()>& readExitCode, std::chrono::milliseconds limit,
                          const WaitProgress& progress);

}  // namespace tessara::update
