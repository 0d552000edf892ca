#include <cstdio>
#include <exception>
#include <string>

#include "bench/project_shape.h"

namespace {

int Usage() {
    std::fputs(
        "Usage: make_project SHAPE PROJECT_DIR [SEED]\n"
        "  SHAPE  large   64 nodes of 4000 input and 4000 output bytes\n"
        "         huge    one node of 65535 input and 65535 output bytes\n"
        "         small   one node of 8 input and 8 output bytes\n"
        "         hostile 50000 nodes of 65535 and 65535 bytes, DNET_Net.xml only\n"
        "         switch  a node of 8 and 8 bytes, then the huge node\n"
        "         clash   64 nodes of 4000 and 4000 bytes, all selected, every symbol clashing\n"
        "         distinct  the same, every symbol different\n"
        "         long2000, long20000  large, the first input byte with a mnemonic of 2000 or 20000 letters\n"
        "         tagged  large, with typed tags over a quarter of its selected bytes\n"
        "  SEED   unsigned integer, default 1: the same seed writes the same files\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || argc > 4) return Usage();
    const auto shape = ShapeNamed(argv[1]);
    if (!shape) return Usage();
    uint32_t seed = 1;
    if (argc == 4) {
        size_t used = 0;
        try {
            const unsigned long value = std::stoul(argv[3], &used);
            seed = static_cast<uint32_t>(value);
            if (used != std::string(argv[3]).size() || value != seed) return Usage();
        } catch (const std::exception&) {
            return Usage();
        }
    }
    try {
        MakeProject(argv[2], *shape, seed);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_project: %s\n", e.what());
        return 1;
    }
    return 0;
}
