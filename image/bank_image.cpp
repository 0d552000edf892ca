#include "image/bank_image.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "base/file_system.h"
#include "base/project_files.h"
#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"

namespace tessara::image {

namespace {

using ParameterBlock = std::array<uint8_t, kParameterBlockLength>;

size_t BitmapLength(size_t byteCount) {
    return (byteCount + 7) / 8;
}

std::string NodeName(const NodeTable& nodes, size_t index) {
    return "node " + std::to_string(index + 1) + " (ID " + std::to_string(nodes[index].ID) + ")";
}

[[noreturn]] void OffsetLimitPassed(const NodeTable& nodes, size_t index, const char* direction, size_t offset) {
    throw ImageLimitError("The configuration image cannot be built: the " + std::string(direction) + " bitmap of " +
                          NodeName(nodes, index) + " would begin at offset " + std::to_string(offset) +
                          ", but node records hold bitmap offsets only up to " +
                          std::to_string(kBitmapOffsetLimit - 1));
}

[[noreturn]] void SizeLimitPassed(size_t length, const std::string& where) {
    throw ImageLimitError("The configuration image cannot be built: it would be " + std::to_string(length) +
                          " bytes long, more than the " + std::to_string(kBankImageCapacity) +
                          " bytes the device holds; the limit is passed at " + where);
}

// Gives every node its bitmap offsets, refusing any the 16-bit record fields would wrap. Returns the offset of
// the first node record.
size_t AssignBitmapOffsets(NodeTable& nodes) {
    size_t position = kBankHeaderLength;
    for (size_t i = 0; i < nodes.size(); ++i) {
        DN_Nodo_1& node = nodes[i];
        if (position >= kBitmapOffsetLimit) OffsetLimitPassed(nodes, i, "input", position);
        node.InMapPos = static_cast<uint16_t>(position);
        position += BitmapLength(node.NB_IN);
        if (position >= kBitmapOffsetLimit) OffsetLimitPassed(nodes, i, "output", position);
        node.OutMapPos = static_cast<uint16_t>(position);
        position += BitmapLength(node.NB_OUT);
    }
    return position;
}

// Bitmaps end below 65 536 + two bitmaps of 8 192 bytes, so only the records or the parameter block can pass
// the capacity.
void CheckCapacity(const NodeTable& nodes, size_t recordsOffset, size_t length) {
    if (length <= kBankImageCapacity) return;
    const size_t recordsEnd = recordsOffset + kNodeRecordLength * nodes.size();
    if (recordsEnd <= kBankImageCapacity) SizeLimitPassed(length, "the parameter block");
    const size_t index = (kBankImageCapacity - recordsOffset) / kNodeRecordLength;
    SizeLimitPassed(length, "the record of " + NodeName(nodes, index));
}

int32_t RequiredInt(pugi::xml_node root, const char* name) {
    const pugi::xml_node element = documents::RequireChild(root, name);
    try {
        return documents::IntOrError(documents::ElementText(element));
    } catch (const documents::DocumentError& e) {
        throw e.Within("Element \"" + std::string(name) + "\"");
    }
}

// The cancel flags are optional: missing or unreadable they are 0.
uint8_t OptionalFlag(pugi::xml_node root, const char* name) {
    const pugi::xml_node element = documents::FindChild(root, name);
    if (!element) return 0;
    try {
        return static_cast<uint8_t>(documents::ParseIntText(documents::ElementText(element)).value_or(0));
    } catch (const documents::DocumentError&) {
        return 0;
    }
}

ParameterBlock ReadParameterBlock(documents::DocumentFile& pargen, size_t nodeCount) {
    using namespace documents::pargen_xml;
    static constexpr const char* kSettings[] = {kProfiId, kProfiBaud, kProfiNbIn, kProfiNbOut, kDNetDevId, kDNetBaud};
    const pugi::xml_node root = pargen.Root();
    ParameterBlock block{};
    documents::ReadingDocument(pargen.Path(), [&] {
        for (size_t i = 0; i < std::size(kSettings); ++i)
            block[i] = static_cast<uint8_t>(RequiredInt(root, kSettings[i]));
    });
    block[6] = static_cast<uint8_t>(nodeCount);
    block[7] = OptionalFlag(root, kProfiCancelData);
    block[8] = OptionalFlag(root, kDNetCancelData);
    return block;
}

void AppendLittleEndian(std::vector<uint8_t>& out, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Bit k of bitmap byte g is byte 8g + k + 1 of the node. The count wraps at 256 as its record field does.
uint8_t AppendBitmap(std::vector<uint8_t>& out, const std::vector<bool>& select) {
    uint8_t count = 0;
    for (size_t g = 0; g < select.size(); g += 8) {
        uint8_t byte = 0;
        for (size_t k = 0; k < 8 && g + k < select.size(); ++k) {
            if (!select[g + k]) continue;
            byte = static_cast<uint8_t>(byte | (1u << k));
            ++count;
        }
        out.push_back(byte);
    }
    return count;
}

void AppendNodeRecord(std::vector<uint8_t>& out, const DN_Nodo_1& node) {
    AppendLittleEndian(out, node.ID, 1);
    AppendLittleEndian(out, node.NB_IN, 2);
    AppendLittleEndian(out, node.NB_OUT, 2);
    AppendLittleEndian(out, node.InMapPos, 2);
    AppendLittleEndian(out, node.OutMapPos, 2);
    AppendLittleEndian(out, node.InSelCount, 1);
    AppendLittleEndian(out, node.OutSelCount, 1);
}

}  // namespace

BankImage BuildBankImage(documents::ProjectDocuments& documents) {
    BankImage image;
    image.nodes = LoadNodeNumbers(documents.network);
    NodeTable& nodes = image.nodes;

    // The limits need only the byte counts; checking them first keeps a hand-edited network of many large
    // nodes from taking gigabytes of selections for an image that would be refused anyway.
    const size_t recordsOffset = AssignBitmapOffsets(nodes);
    const size_t blockOffset = recordsOffset + kNodeRecordLength * nodes.size();
    const bool hasParameters = documents.pargen.Exists();
    const size_t length = blockOffset + (hasParameters ? kParameterBlockLength : 0);
    CheckCapacity(nodes, recordsOffset, length);
    LoadNodeSelections(documents.bytes, nodes);
    std::optional<ParameterBlock> block;
    if (hasParameters) block = ReadParameterBlock(documents.pargen, nodes.size());

    std::vector<uint8_t>& bytes = image.bytes;
    bytes.reserve(length);
    AppendLittleEndian(bytes, kBankHeaderLength, 4);
    AppendLittleEndian(bytes, static_cast<uint32_t>(recordsOffset), 4);
    AppendLittleEndian(bytes, static_cast<uint32_t>(blockOffset), 4);
    for (DN_Nodo_1& node : nodes) {
        node.InSelCount = AppendBitmap(bytes, node.InSelect);
        node.OutSelCount = AppendBitmap(bytes, node.OutSelect);
    }
    for (const DN_Nodo_1& node : nodes) AppendNodeRecord(bytes, node);
    if (block) bytes.insert(bytes.end(), block->begin(), block->end());
    return image;
}

BankImage BuildBankImage(const std::string& projectDir) {
    documents::ProjectDocuments documents(projectDir);
    return BuildBankImage(documents);
}

void WriteBankFile(const std::string& projectDir, const BankImage& image) {
    const std::string_view content(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size());
    // Version control keeps no empty folder, so a checked-out project may lack the bin folder its creation made.
    if (base::DirectoryExists(projectDir)) {
        std::error_code ignored;  // a folder that cannot be made is reported by the write below
        std::filesystem::create_directory(base::PathFromUtf8(base::BankFolderPath(projectDir)), ignored);
    }
    base::WriteWholeFile(base::BankFilePath(projectDir), content, base::WriteTarget::RegularFile);
}

}  // namespace tessara::image
