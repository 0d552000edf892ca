#pragma once

#include <string>

// A private folder for this run (mode 0700), removed with everything in it when the run ends.
const std::string& ScratchFolder();

// The project of the named shape (see project_shape.h), written once per run with seed 1 into the scratch
// folder.
const std::string& BenchProject(const std::string& shape);

// The baseline of the document benchmarks: pugixml parsing the project's three documents in turn with its
// default options, each tree freed before the next, as the image build reads them, and nothing else.
void ParseProjectDocuments(const std::string& projectDir);

// Fails the run: a benchmark whose action reports an error measures nothing worth a figure.
[[noreturn]] void AbortBenchmark(const std::string& why);
