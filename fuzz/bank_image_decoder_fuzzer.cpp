#include <cstdint>
#include <span>

#include "image/bank_image_decoder.h"
#include "image/bank_image_report.h"

using namespace tessara::image;

// The image given to inspect may come from anywhere: it is either refused with a reason or printed in full.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const DecodedImage image = DecodeBankImage(std::span<const uint8_t>(data, size));
        ImageTable(image);
        ImageJson(image);
    } catch (const InvalidImageError&) {
    }
    return 0;
}
