#include "bench/bench_projects.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <pugixml.hpp>

#include "base/file_system.h"
#include "base/project_files.h"
#include "bench/project_shape.h"

using namespace tessara::base;

namespace {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessara-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) AbortBenchmark("cannot create a scratch folder in " + pattern);
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

const std::string& ScratchFolder() {
    static ScratchDir scratch;
    return scratch.path();
}

const std::string& BenchProject(const std::string& shape) {
    static std::map<std::string, std::string> made;
    auto found = made.find(shape);
    if (found != made.end()) return found->second;
    const auto wanted = ShapeNamed(shape);
    if (!wanted) AbortBenchmark("no project shape \"" + shape + "\"");
    const std::string dir = ScratchFolder() + kPathSeparator + shape;
    MakeProject(dir, *wanted, 1);
    return made.emplace(shape, dir).first->second;
}

void ParseProjectDocuments(const std::string& projectDir) {
    for (const char* name : {kDNetNetFileName, kDefByteFileName, kPargenFileName}) {
        pugi::xml_document doc;
        const pugi::xml_parse_result result = doc.load_file(ProjectFile(projectDir, name).c_str());
        if (!result) AbortBenchmark(std::string(name) + ": " + result.description());
        benchmark::DoNotOptimize(doc.first_child());
    }
}

void AbortBenchmark(const std::string& why) {
    std::fprintf(stderr, "benchmark failed: %s\n", why.c_str());
    std::exit(1);
}
