#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "documents/typed_tag.h"
#include "plc/address_map.h"

namespace tessara::plc {

// A variable of a POU's interface.
struct StVariable {
    std::string name;
    documents::TagType type = documents::TagType::Byte;
    bool operator==(const StVariable&) const = default;
};

// A function or program in Structured Text, as the PLCopen document declares it.
struct StPou {
    std::string name;
    bool function = false;  // else a program
    documents::TagType returnType = documents::TagType::Byte;
    std::vector<StVariable> inputs;
    std::vector<StVariable> locals;
    std::vector<StVariable> externals;  // the global variables a program reads and writes
    std::string body;
};

// The program that swaps the bytes of every tag whose device sends them in the other order than the PLC reads
// them: each such tag's bytes are read into (or written from) a raw bit string at its address, and the tag's own
// variable holds the value in the PLC's order.
struct SwapProgram {
    std::vector<StPou> pous;                                    // the functions the program calls, then the program
    std::string instance;                                       // the program's instance in the resource
    std::unordered_map<const AddressMapRow*, std::string> raw;  // each swapped row's raw variable
};

// The program for the rows of `map` that need a swap and have an address; nullopt when none does. Every name it
// makes (raw variables, functions, the program) differs from the map's symbols. The rows are referred to by
// address: the map must outlive the result unchanged.
std::optional<SwapProgram> PlanSwapProgram(const AddressMap& map);

// WORD, DWORD or LWORD: the bit string of the type's width, a swapped value's raw type.
documents::TagType RawTypeOf(documents::TagType type);

}  // namespace tessara::plc
