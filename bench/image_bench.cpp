// The image build as "Update Device" runs it, and the GSD generation, on the largest projects.
#include <benchmark/benchmark.h>

#include <string>

#include "base/project_files.h"
#include "bench/bench_projects.h"
#include "gsd/gsd_file.h"
#include "image/bank_image.h"

using namespace tessara::base;
using namespace tessara::image;
using namespace tessara::gsd;

namespace {

void ParseBaseline(benchmark::State& state, const char* shape) {
    const std::string& dir = BenchProject(shape);
    for (auto _ : state) ParseProjectDocuments(dir);
}

void ImageBuild(benchmark::State& state, const char* shape) {
    const std::string& dir = BenchProject(shape);
    size_t length = 0;
    for (auto _ : state) {
        const BankImage image = BuildBankImage(dir);
        WriteBankFile(dir, image);
        length = image.bytes.size();
    }
    state.SetLabel(std::to_string(length) + "-byte image");
}

// The write alone: bank.bin is flushed to the disk before it replaces the previous image, and that flush is
// a cost the parse baseline does not have.
void BankFileWrite(benchmark::State& state, const char* shape) {
    const std::string& dir = BenchProject(shape);
    const BankImage image = BuildBankImage(dir);
    for (auto _ : state) WriteBankFile(dir, image);
}

void GsdGeneration(benchmark::State& state, const char* shape) {
    const std::string& dir = BenchProject(shape);
    const std::string file = ProjectFile(dir, "bench.gsd");
    for (auto _ : state) WriteGsdFile(dir, file);
}

}  // namespace

BENCHMARK_CAPTURE(ParseBaseline, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImageBuild, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseBaseline, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImageBuild, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BankFileWrite, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BankFileWrite, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GsdGeneration, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GsdGeneration, huge, "huge")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
