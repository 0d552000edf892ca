#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessara::image {

// Reads a configuration image back, for the command line's inspect and the stand-in updater, and refuses one
// whose offsets, lengths or counts do not agree with each other.

struct DecodedNode {
    uint8_t ID = 0;
    uint16_t NB_IN = 0;
    uint16_t NB_OUT = 0;
    uint16_t InMapPos = 0;
    uint16_t OutMapPos = 0;
    uint8_t InSelCount = 0;
    uint8_t OutSelCount = 0;
    std::vector<uint32_t> InSelected;  // the selected input byte numbers, from 1
    std::vector<uint32_t> OutSelected;
};

struct DecodedParameters {
    uint8_t PROFI_ID = 0;
    uint8_t PROFI_BAUD = 0;
    uint8_t PROFI_NB_IN = 0;
    uint8_t PROFI_NB_OUT = 0;
    uint8_t DNET_DEV_ID = 0;
    uint8_t DNET_BAUD = 0;
    uint8_t NodeCount = 0;
    uint8_t PROFI_CANCEL_DATA = 0;
    uint8_t DNET_CANCEL_DATA = 0;
};

struct DecodedImage {
    size_t length = 0;
    uint32_t bitmapOffset = 0;
    uint32_t recordsOffset = 0;
    uint32_t parametersOffset = 0;
    std::vector<DecodedNode> nodes;
    std::optional<DecodedParameters> parameters;  // absent when the project had no pargen.xml
};

// The message says what does not agree, at which offset or node.
class InvalidImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

DecodedImage DecodeBankImage(std::span<const uint8_t> bytes);

// Reads and decodes a file; std::runtime_error when it cannot be read, InvalidImageError naming the file
// when it is not a valid image.
DecodedImage DecodeBankFile(const std::string& path);

// The names of the baud-rate codes as the settings editor lists them; nullptr for a code outside the list.
const char* ProfibusBaudName(uint8_t code);
const char* DeviceNetBaudName(uint8_t code);

}  // namespace tessara::image
