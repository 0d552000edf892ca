// The tool's start to its first shown window, against the least a Qt program does to show one.
#include <benchmark/benchmark.h>

#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "app/file_system.h"
#include "app/main_window.h"
#include "bench/bench_projects.h"

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

void MinimalWindow(benchmark::State& state) {
    TimeFirstShow(state, [] { return std::make_unique<QWidget>(); });
}

// The workspace of the benchmark's scratch folder, with the large project's folder beside it.
void ToolStartUp(benchmark::State& state) {
    const std::string appDir = BenchProject("large") + "-app";
    std::filesystem::create_directories(PathFromUtf8(appDir));
    const std::string exePath = appDir + kPathSeparator + "tessara";
    TimeFirstShow(state, [&] { return std::make_unique<TFTessaraFirmWare>(exePath); });
}

}  // namespace

BENCHMARK(MinimalWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(ToolStartUp)->Unit(benchmark::kMillisecond);
