// The tool's start to its first shown window, against the least a Qt program does to show one: as whole
// processes (the target), and inside this process, where the shared start of Qt is already paid, to show
// what the tool's own windows cost.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QTest>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "base/file_system.h"
#include "bench/bench_projects.h"

using namespace tessara::base;
using namespace tessara::app;

namespace {

// Shows the window and waits until the platform has it on screen; destroying it is not part of the start.
template <class Make>
void TimeFirstShow(benchmark::State& state, Make make) {
    for (auto _ : state) {
        std::unique_ptr<QWidget> window = make();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) AbortBenchmark("the window was never exposed");
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// A workspace of its own in the scratch folder, made by the tool's first start as on a new machine.
std::string ToolAppDir() {
    const std::string appDir = ScratchFolder() + kPathSeparator + "app";
    std::filesystem::create_directories(PathFromUtf8(appDir));
    return appDir;
}

// Runs the program to its exit, which it takes as soon as its window is shown.
void RunToFirstWindow(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        AbortBenchmark("cannot start " + args[0]);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        AbortBenchmark(args[0] + " did not show its window");
    }
}

// The work happens in the started process, so these two run for a span of wall-clock time, not of CPU time.
void MinimalProgramStart(benchmark::State& state) {
    for (auto _ : state) RunToFirstWindow({TESSARA_MINIMAL_WINDOW});
}

void ToolStart(benchmark::State& state) {
    const std::string appDir = ToolAppDir();
    for (auto _ : state) RunToFirstWindow({TESSARA_STARTUP_PROBE, appDir});
}

void MinimalWindow(benchmark::State& state) {
    TimeFirstShow(state, [] { return std::make_unique<QWidget>(); });
}

void ToolWindow(benchmark::State& state) {
    const std::string appDir = ToolAppDir();
    TimeFirstShow(state, [&] { return std::make_unique<TFTessaraFirmWare>(appDir); });
}

}  // namespace

BENCHMARK(MinimalProgramStart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ToolStart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MinimalWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(ToolWindow)->Unit(benchmark::kMillisecond);
