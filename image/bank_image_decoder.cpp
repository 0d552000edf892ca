#include "image/bank_image_decoder.h"

#include <algorithm>

#include "base/file_system.h"
#include "image/bank_image.h"

namespace tessara::image {

namespace {

uint32_t ReadLittleEndian(std::span<const uint8_t> bytes, size_t offset, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[offset + static_cast<size_t>(i)];
    return value;
}

[[noreturn]] void Invalid(const std::string& reason) {
    throw InvalidImageError("Not a valid configuration image: " + reason);
}

std::string NodeName(size_t index, const DecodedNode& node) {
    return "node " + std::to_string(index + 1) + " (ID " + std::to_string(node.ID) + ")";
}

bool IsTextByte(uint8_t b) {
    return b == '\t' || b == '\n' || b == '\r' || (b >= 0x20 && b != 0x7F);
}

// A document or another text named in place of an image is said to be one: its first bytes read as offsets
// only puzzle. An image starts with 0C 00 00 00, never with text.
void RefuseText(std::span<const uint8_t> bytes) {
    const size_t head = std::min<size_t>(bytes.size(), kBankHeaderLength);
    if (head == 0 || !std::all_of(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(head), IsTextByte)) return;
    constexpr size_t kQuoted = 24;
    std::string quoted;
    for (size_t i = 0; i < bytes.size() && quoted.size() < kQuoted && bytes[i] >= 0x20 && bytes[i] < 0x7F; ++i)
        quoted += static_cast<char>(bytes[i]);
    if (!quoted.empty()) quoted = " (\"" + quoted + (quoted.size() < bytes.size() ? "...\")" : "\")");
    Invalid("it starts with text" + quoted + ", not with the 12-byte header of an image");
}

void CheckHeader(const DecodedImage& image) {
    const std::string size = std::to_string(image.length);
    if (image.bitmapOffset != kBankHeaderLength)
        Invalid("the header places the bitmaps at offset " + std::to_string(image.bitmapOffset) + ", not 12");
    if (image.recordsOffset < kBankHeaderLength || image.recordsOffset > image.length)
        Invalid("the header places the node records at offset " + std::to_string(image.recordsOffset) +
                ", outside the file of " + size + " bytes (truncated?)");
    if (image.parametersOffset < image.recordsOffset || image.parametersOffset > image.length)
        Invalid("the header places the parameter block at offset " + std::to_string(image.parametersOffset) +
                ", outside the records and the file of " + size + " bytes (truncated?)");
    if ((image.parametersOffset - image.recordsOffset) % kNodeRecordLength != 0)
        Invalid("the node records from offset " + std::to_string(image.recordsOffset) + " to " +
                std::to_string(image.parametersOffset) + " are not whole 11-byte records");
    const size_t tail = image.length - image.parametersOffset;
    if (tail != 0 && tail != kParameterBlockLength)
        Invalid("the parameter block at offset " + std::to_string(image.parametersOffset) + " has " +
                std::to_string(tail) + " bytes instead of 9" + (tail < kParameterBlockLength ? " (truncated)" : ""));
}

DecodedNode ReadRecord(std::span<const uint8_t> bytes, size_t at) {
    DecodedNode node;
    node.ID = bytes[at];
    node.NB_IN = static_cast<uint16_t>(ReadLittleEndian(bytes, at + 1, 2));
    node.NB_OUT = static_cast<uint16_t>(ReadLittleEndian(bytes, at + 3, 2));
    node.InMapPos = static_cast<uint16_t>(ReadLittleEndian(bytes, at + 5, 2));
    node.OutMapPos = static_cast<uint16_t>(ReadLittleEndian(bytes, at + 7, 2));
    node.InSelCount = bytes[at + 9];
    node.OutSelCount = bytes[at + 10];
    return node;
}

// Reads one bitmap at the running position after checking that the record points there and that it stays
// in the bitmap area; returns the selected byte numbers.
std::vector<uint32_t> ReadBitmap(std::span<const uint8_t> bytes, const DecodedImage& image, size_t& position,
                                 uint16_t recorded, uint16_t byteCount, const std::string& what) {
    if (recorded != position % 65536)
        Invalid(what + " is recorded at offset " + std::to_string(recorded) + ", but the bitmaps before it end at " +
                std::to_string(position));
    const size_t length = (byteCount + 7u) / 8u;
    if (position + length > image.recordsOffset)
        Invalid(what + " runs past offset " + std::to_string(image.recordsOffset) +
                ", where the header places the node records");
    std::vector<uint32_t> selected;
    for (uint32_t j = 0; j < byteCount; ++j) {
        if (bytes[position + j / 8] & (1u << (j % 8))) selected.push_back(j + 1);
    }
    position += length;
    return selected;
}

void CheckCount(const std::vector<uint32_t>& selected, uint8_t recorded, const std::string& what) {
    if (static_cast<uint8_t>(selected.size()) != recorded)
        Invalid(what + " has " + std::to_string(selected.size()) + " bytes selected, but its record counts " +
                std::to_string(recorded));
}

void ReadNodes(std::span<const uint8_t> bytes, DecodedImage& image) {
    const size_t count = (image.parametersOffset - image.recordsOffset) / kNodeRecordLength;
    image.nodes.reserve(count);
    size_t position = kBankHeaderLength;
    for (size_t i = 0; i < count; ++i) {
        DecodedNode node = ReadRecord(bytes, image.recordsOffset + i * kNodeRecordLength);
        const std::string name = NodeName(i, node);
        node.InSelected = ReadBitmap(bytes, image, position, node.InMapPos, node.NB_IN, "the input bitmap of " + name);
        node.OutSelected =
            ReadBitmap(bytes, image, position, node.OutMapPos, node.NB_OUT, "the output bitmap of " + name);
        CheckCount(node.InSelected, node.InSelCount, "the input bitmap of " + name);
        CheckCount(node.OutSelected, node.OutSelCount, "the output bitmap of " + name);
        image.nodes.push_back(std::move(node));
    }
    if (position != image.recordsOffset)
        Invalid("the bitmaps end at offset " + std::to_string(position) +
                ", but the header places the node records at " + std::to_string(image.recordsOffset));
}

DecodedParameters ReadParameters(std::span<const uint8_t> bytes, size_t at, size_t nodeCount) {
    DecodedParameters p;
    p.PROFI_ID = bytes[at];
    p.PROFI_BAUD = bytes[at + 1];
    p.PROFI_NB_IN = bytes[at + 2];
    p.PROFI_NB_OUT = bytes[at + 3];
    p.DNET_DEV_ID = bytes[at + 4];
    p.DNET_BAUD = bytes[at + 5];
    p.NodeCount = bytes[at + 6];
    p.PROFI_CANCEL_DATA = bytes[at + 7];
    p.DNET_CANCEL_DATA = bytes[at + 8];
    if (p.NodeCount != static_cast<uint8_t>(nodeCount))
        Invalid("the parameter block counts " + std::to_string(p.NodeCount) + " nodes, but the image has " +
                std::to_string(nodeCount) + " node records");
    return p;
}

}  // namespace

DecodedImage DecodeBankImage(std::span<const uint8_t> bytes) {
    RefuseText(bytes);
    if (bytes.size() < kBankHeaderLength)
        Invalid("the file is " + std::to_string(bytes.size()) + " bytes long, shorter than the 12-byte header");
    DecodedImage image;
    image.length = bytes.size();
    image.bitmapOffset = ReadLittleEndian(bytes, 0, 4);
    image.recordsOffset = ReadLittleEndian(bytes, 4, 4);
    image.parametersOffset = ReadLittleEndian(bytes, 8, 4);
    CheckHeader(image);
    ReadNodes(bytes, image);
    if (image.length > image.parametersOffset)
        image.parameters = ReadParameters(bytes, image.parametersOffset, image.nodes.size());
    return image;
}

DecodedImage DecodeBankFile(const std::string& path) {
    const std::string content = base::ReadWholeFile(path, kBankImageCapacity);
    try {
        return DecodeBankImage({reinterpret_cast<const uint8_t*>(content.data()), content.size()});
    } catch (const InvalidImageError& e) {
        throw InvalidImageError(path + ": " + e.what());
    }
}

const char* ProfibusBaudName(uint8_t code) {
    static constexpr const char* kNames[] = {"9600", "19200", "45.45K", "93.75K", "187.5K",       "500K",
                                             "1.5M", "3.0M",  "6.0M",   "12M",    "Auto Baudrate"};
    return code < std::size(kNames) ? kNames[code] : nullptr;
}

const char* DeviceNetBaudName(uint8_t code) {
    static constexpr const char* kNames[] = {"125K", "250K", "500K"};
    return code < std::size(kNames) ? kNames[code] : nullptr;
}

}  // namespace tessara::image
