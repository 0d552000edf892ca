#include "update/ui/program_runner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <memory>

#include "update/ui/handle_ced_event.h"
#include "update/ui/program_launch.h"

namespace tessara::update {

namespace {

void PauseProcessingEvents() {
    QEventLoop loop;
    QTimer::singleShot(kPollPause, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void Prepare(QProcess& process, const QString& program, const ProgramParameters& parameters, bool hidden) {
    PrepareLaunch(process, program, parameters, hidden);
    // No pipes to this tool: a program that outlives the wait must not lose its output or stop on a
    // broken pipe when the tool ends.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
}

// Destroying a running QProcess kills the program; instead the object stays until the program ends.
void LetRunOn(std::unique_ptr<QProcess> process) {
    if (process->state() == QProcess::NotRunning) return;
    QProcess* running = process.release();
    QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
}

}  // namespace

bool WaitWhileStillActive(const std::function<int()>& readExitCode, std::chrono::milliseconds limit,
                          const WaitProgress& progress) {
    QElapsedTimer clock;
    clock.start();
    while (readExitCode() == kStillActive) {
        const std::chrono::milliseconds elapsed{clock.elapsed()};
        if (elapsed >= limit) return false;
        if (progress) progress(elapsed);
        PauseProcessingEvents();
    }
    return true;
}

RunResult RunProgramAndWait(const QString& program, const ProgramParameters& parameters, bool hidden,
                            std::chrono::milliseconds limit, const WaitProgress& progress) {
    auto process = std::make_unique<QProcess>();
    Prepare(*process, program, parameters, hidden);
    HandleCedEvent waitEvent;
    process->start();
    const bool started = process->waitForStarted();
    waitEvent.Reset();
    if (!started) return {RunResult::Outcome::NotStarted, 0, process->errorString()};

    const auto readExitCode = [&process] {
        return process->state() == QProcess::NotRunning ? process->exitCode() : kStillActive;
    };
    if (!WaitWhileStillActive(readExitCode, limit, progress)) {
        LetRunOn(std::move(process));
        return {RunResult::Outcome::StillRunning, 0, {}};
    }
    if (process->exitStatus() == QProcess::CrashExit) return {RunResult::Outcome::Crashed, 0, {}};
    return {RunResult::Outcome::Ended, process->exitCode(), {}};
}

}  // namespace tessara::update
