#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "fuzz_project.h"
#include "image/bank_image.h"
#include "image/bank_image_decoder.h"

using namespace tessara::image;

// Whatever the documents hold, the build either refuses them with an error or gives an image that fits the
// device and that the decoder reads back with the same nodes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string project = WriteFuzzProject(data, size);
    try {
        const NodeTable table = LoadNodeTable(project);
        for (const DN_Nodo_1& node : table) {
            if (node.InSelect.size() != node.NB_IN || node.OutSelect.size() != node.NB_OUT) std::abort();
        }
    } catch (const std::runtime_error&) {
    }

    BankImage image;
    try {
        image = BuildBankImage(project);
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (image.bytes.size() > kBankImageCapacity) std::abort();
    const DecodedImage decoded = DecodeBankImage(image.bytes);  // an image we built must always decode
    if (decoded.nodes.size() != image.nodes.size()) std::abort();
    for (size_t i = 0; i < decoded.nodes.size(); ++i) {
        const DecodedNode& node = decoded.nodes[i];
        if (node.ID != image.nodes[i].ID || node.NB_IN != image.nodes[i].NB_IN) std::abort();
        if (node.InSelCount != image.nodes[i].InSelCount || node.OutSelCount != image.nodes[i].OutSelCount)
            std::abort();
    }
    return 0;
}
