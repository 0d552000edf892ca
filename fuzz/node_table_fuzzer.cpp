#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "fuzz_project.h"
#include "image/bank_image.h"
#include "image/bank_image_decoder.h"

using namespace tessara::documents;
using namespace tessara::image;

namespace {

// The input's documents from memory, or, `onDisk`, from the files written for them.
std::unique_ptr<ProjectDocuments> Open(const FuzzTexts& texts, bool onDisk) {
    if (onDisk) return std::make_unique<ProjectDocuments>(WriteFuzzProject(texts));
    return std::make_unique<ProjectDocuments>(FuzzFolder(), texts.pargen, texts.network, texts.bytes);
}

void CheckNodeTable(const FuzzTexts& texts, bool onDisk) {
    try {
        for (const DN_Nodo_1& node : LoadNodeTable(*Open(texts, onDisk))) {
            if (node.InSelect.size() != node.NB_IN || node.OutSelect.size() != node.NB_OUT) std::abort();
        }
    } catch (const std::runtime_error&) {
    }
}

// The image's bytes, or the error that refused it.
struct Outcome {
    std::vector<uint8_t> bytes;
    std::string error;
    bool operator==(const Outcome&) const = default;
};

// Whatever the documents hold, the build either refuses them with an error or gives an image that fits the
// device and that the decoder reads back with the same nodes.
Outcome CheckImage(const FuzzTexts& texts, bool onDisk) {
    BankImage image;
    try {
        image = BuildBankImage(*Open(texts, onDisk));
    } catch (const std::runtime_error& e) {
        return {{}, e.what()};
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
    return {image.bytes, {}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzTexts texts = SplitFuzzProject(data, size);
    CheckNodeTable(texts, false);
    const Outcome fromMemory = CheckImage(texts, false);
    if (AlsoThroughFiles(size)) {
        CheckNodeTable(texts, true);
        if (!(CheckImage(texts, true) == fromMemory)) std::abort();
    }
    return 0;
}
