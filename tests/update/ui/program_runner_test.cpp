#include "update/ui/program_runner.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "support/temp_dir.h"

using namespace tessara::update;

namespace {

using namespace std::chrono_literals;
using Outcome = RunResult::Outcome;

class ProgramRunnerTest : public ::testing::Test {
protected:
    TempDir dir;

    // A shell script that writes its arguments one per line to args.txt, then runs body.
    QString Script(const std::string& body) {
        const std::string path =
            dir.Write("program.sh", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                        dir.File("args.txt") + "\"\n" + body + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
        return QString::fromStdString(path);
    }
};

TEST_F(ProgramRunnerTest, ProgramThatEndsAtOnceGivesItsExitCodeAndGetsItsArgumentsIntact) {
    const QString program = Script("exit 7");
    const QStringList arguments = {"two words", "\"quoted\"", "$HOME", "last\\"};
    QElapsedTimer clock;
    clock.start();
    const RunResult result = RunProgramAndWait(program, {QString(), arguments}, false);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(result.outcome, Outcome::Ended);
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_EQ(dir.Read("args.txt"), "two words\n\"quoted\"\n$HOME\nlast\\\n");
}

TEST_F(ProgramRunnerTest, MissingProgramIsReportedAtOnce) {
    QElapsedTimer clock;
    clock.start();
    const RunResult result = RunProgramAndWait(QString::fromStdString(dir.File("absent")), {}, false);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(result.outcome, Outcome::NotStarted);
    EXPECT_FALSE(result.error.isEmpty());
}

TEST_F(ProgramRunnerTest, ProgramKilledBySignalIsReportedAsCrashed) {
    EXPECT_EQ(RunProgramAndWait(Script("kill -9 $$"), {}, false).outcome, Outcome::Crashed);
}

TEST_F(ProgramRunnerTest, ProgramStillRunningAtTheLimitRunsOn) {
    const std::string marker = dir.File("finished");
    const QString program = Script("sleep 1\ntouch \"" + marker + "\"");
    std::vector<std::chrono::milliseconds> progress;
    const RunResult result = RunProgramAndWait(program, {}, false, 200ms,
                                               [&](std::chrono::milliseconds elapsed) { progress.push_back(elapsed); });
    EXPECT_EQ(result.outcome, Outcome::StillRunning);
    EXPECT_FALSE(std::filesystem::exists(marker));
    ASSERT_GT(progress.size(), 2u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_LT(progress.back(), 200ms);
    // Not killed: it finishes its work after the runner has given up on it.
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(marker), 5000);
    QTest::qWait(200);  // lets the ended program be reaped and its process object go
}

// A program that ends with the still-running code cannot be told from a running one, so it is waited for
// until the limit. The wait keeps the event loop going, so timers (and repaints) still run.
TEST(WaitWhileStillActiveTest, StillActiveCodeIsWaitedForUntilTheLimitWhileEventsRun) {
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    EXPECT_FALSE(WaitWhileStillActive([] { return kStillActive; }, 50ms, {}));
    EXPECT_TRUE(timerRan);

    int polls = 0;
    EXPECT_TRUE(WaitWhileStillActive([&] { return ++polls < 4 ? kStillActive : 0; }, 10s, {}));
    EXPECT_EQ(polls, 4);
}

}  // namespace
