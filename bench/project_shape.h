#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The byte counts of one DeviceNet node of a generated project.
struct NodeSize {
    uint16_t inBytes = 0;
    uint16_t outBytes = 0;
};

// How a generated project's bytes are selected and named.
enum class ByteNaming {
    Random,      // a random selection, and a short mnemonic of the byte's number and a random tag
    SharedStem,  // every byte selected, mnemonics of one 22-character stem and 1 368 short tails: the symbols
                 // of the map all clash once cut to 24 characters
    Distinct,    // every byte selected, mnemonics of the same length that stay distinct when cut
};

// A project to measure: its nodes in network order. Every byte gets a selection and a mnemonic.
struct ProjectShape {
    std::vector<NodeSize> nodes;
    ByteNaming naming = ByteNaming::Random;
    size_t firstMnemonicLength = 0;  // when not 0, the first input byte is selected with a mnemonic this long
    bool typedTags = false;          // typed tags in PlcMap.xml over a quarter of the selected bytes
};

// "large": 64 nodes of 4 000 input and 4 000 output bytes, the most a valid image of about 64 KB holds.
// "huge": one node of 65 535 input and 65 535 output bytes, the most a node may have.
// "small": one node of 8 input and 8 output bytes, where starting the program is most of the work.
// "hostile": 50 000 nodes of 65 535 input and 65 535 output bytes in a 2.7 MB DNET_Net.xml, as only a hand edit
// writes it, and no other document: what every command must refuse quickly and in little memory.
// "switch": a node of 8 and 8 bytes, then the huge node, for moving the byte editor between the two.
// "clash": 64 nodes of 4 000 and 4 000 bytes, every one selected, named so that all symbols clash.
// "distinct": the same with mnemonics that give 512 000 different symbols, the baseline of "clash".
// "long2000", "long20000": the large project whose first input byte has a mnemonic of 2 000 or 20 000 letters.
// "tagged": the large project with typed tags (WORD, INT, DINT, REAL, LREAL in turn) over a quarter of its
// selected bytes.
std::optional<ProjectShape> ShapeNamed(std::string_view name);

// Writes pargen.xml, DNET_Net.xml, DefByte.xml (and PlcMap.xml for typed tags) and an empty bin folder into
// `projectDir` (created when missing) through the tool's own writers, so the files are exactly what the editors would
// save. The same shape and seed always give the same bytes.
void MakeProject(const std::string& projectDir, const ProjectShape& shape, uint32_t seed);
