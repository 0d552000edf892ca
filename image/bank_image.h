#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/node_table.h"

namespace tessara::image {

// The image the gateway's firmware reads: a 12-byte header of three offsets, the selection bitmaps of every
// node, one 11-byte record per node and, when the project has pargen.xml, the 9-byte parameter block.
// Integers are unsigned little-endian.
inline constexpr size_t kBankHeaderLength = 12;
inline constexpr size_t kNodeRecordLength = 11;
inline constexpr size_t kParameterBlockLength = 9;
// The device's image buffer.
inline constexpr size_t kBankImageCapacity = 100001;
// The node records hold bitmap offsets in 16 bits.
inline constexpr size_t kBitmapOffsetLimit = 65536;

struct BankImage {
    std::vector<uint8_t> bytes;
    // The table the image was built from, with the bitmap offsets and selection counts the build gave it.
    NodeTable nodes;

    int32_t BankLength() const { return static_cast<int32_t>(bytes.size()); }
};

// An image that would not fit the device: the message names the limit and the node at which it is passed.
class ImageLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Builds the image from the project's DNET_Net.xml, DefByte.xml and pargen.xml. Throws ParseError or
// DocumentError for a document that cannot be read, ImageLimitError for an image the device cannot hold.
BankImage BuildBankImage(const std::string& projectDir);
// The same from documents another reader may have loaded already.
BankImage BuildBankImage(documents::ProjectDocuments& documents);

// Writes bin/bank.bin of the project through a temporary file renamed over it, so the previous image survives
// any failure. A missing bin folder of an existing project folder is created. Throws std::runtime_error with the path
// and the system's reason.
void WriteBankFile(const std::string& projectDir, const BankImage& image);

}  // namespace tessara::image
