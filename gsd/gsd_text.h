#pragma once

#include <cstdint>
#include <string>

namespace tessara::gsd {

// The PROFIBUS sizes of a project and the 64-byte modules they are cut into.
struct ProfiSizes {
    int32_t NbIn = 0;
    int32_t NbOut = 0;
    int32_t ModIn = 0;
    int32_t ModOut = 0;
};

// The number of modules of at most 64 bytes; a negative count still gives one module for its remainder,
// so that "Max_Module" and the slot list come out as the master's tool has always read them.
int32_t ModuleCount(int32_t byteCount);

ProfiSizes SizesFor(int32_t nbIn, int32_t nbOut);

// The device description: ASCII, CR LF after every line.
std::string GsdText(const ProfiSizes& sizes);

}  // namespace tessara::gsd
