// Runs one step once, so /usr/bin/time -v can tell its peak memory apart from the program's own.
//   image_peak idle  PROJECT_DIR   nothing: what the process needs before any document is read
//   image_peak parse PROJECT_DIR   pugixml parsing the three documents, as the benchmark baseline does
//   image_peak build PROJECT_DIR   the image build and bank.bin, as "Update Device" runs them
#include <cstdio>
#include <cstring>
#include <exception>

#include "bench/bench_projects.h"
#include "image/bank_image.h"

using namespace tessara::image;

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("Usage: image_peak idle|parse|build PROJECT_DIR\n", stderr);
        return 2;
    }
    const char* step = argv[1];
    try {
        if (std::strcmp(step, "parse") == 0) {
            ParseProjectDocuments(argv[2]);
        } else if (std::strcmp(step, "build") == 0) {
            WriteBankFile(argv[2], BuildBankImage(argv[2]));
        } else if (std::strcmp(step, "idle") != 0) {
            std::fprintf(stderr, "image_peak: unknown step '%s'\n", step);
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "image_peak: %s\n", e.what());
        return 1;
    }
    return 0;
}
