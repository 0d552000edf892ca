#pragma once

#include <cstdint>
#include <string>

#include "documents/profibus_slots.h"

namespace tessara::gsd {

// The PROFIBUS sizes of a project and the 64-byte modules they are cut into.
struct ProfiSizes {
    int32_t NbIn = 0;
    int32_t NbOut = 0;
    int32_t ModIn = 0;
    int32_t ModOut = 0;
};

// The address map numbers its slots by the same count.
using documents::ModuleCount;

ProfiSizes SizesFor(int32_t nbIn, int32_t nbOut);

// The device description: ASCII, CR LF after every line.
std::string GsdText(const ProfiSizes& sizes);

}  // namespace tessara::gsd
