#include "cli/tag_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/json_text.h"
#include "base/utf8_text.h"
#include "check/project_address_map.h"
#include "check/project_check.h"
#include "cli/decimal_option.h"
#include "cli/mapped_project.h"
#include "documents/plc_map_document.h"
#include "plc/typed_tags.h"

namespace tessara::cli {

namespace {

using documents::AreaDirection;
using documents::TypedTag;

constexpr int kDone = 0;
constexpr int kFailed = 1;

// No network holds more nodes, nor a node more bytes, than this; a larger number is a slip, not a place.
constexpr size_t kMostNodes = 65535;
constexpr size_t kMostBytes = 65535;

std::string TypeNames() {
    std::string names;
    for (const documents::TagType type : documents::kTagTypes) {
        names += names.empty() ? "" : type == documents::kTagTypes.back() ? " or " : ", ";
        names += documents::TagTypeName(type);
    }
    return names;
}

std::string NotTaken(const char* option, const std::string& what, const std::string& value) {
    return std::string(option) + " takes " + what + ", not \"" + value + "\"";
}

// The tag the options describe; they passed TagOptionsProblem.
TypedTag GivenTag(const TagOptions& options) {
    TypedTag tag;
    tag.name = *options.name;
    tag.direction = options.output ? AreaDirection::Output : AreaDirection::Input;
    tag.node = *DecimalUpTo(*options.node, kMostNodes);
    tag.byte = static_cast<uint32_t>(*DecimalUpTo(*options.byte, kMostBytes));
    tag.type = *documents::TagTypeNamed(*options.type);
    tag.byteOrder = documents::ByteOrderNamed(options.byteOrder.value_or("little")).value();
    return tag;
}

documents::ByteOrder PlcByteOrder(const documents::PlcMapDocument& document) {
    return plc::TagsOf(document).plcByteOrder;
}

std::string Endian(documents::ByteOrder order) {
    return std::string(documents::ByteOrderName(order)) + "-endian";
}

// "(node 1 byte 3 of the input area, little-endian; the PLC reads big-endian, so swap)": where the value comes
// from and whether the PLC program must swap its bytes.
std::string OriginText(const TypedTag& tag, documents::ByteOrder plcOrder) {
    std::string text = "(node " + std::to_string(tag.node) + " byte " + std::to_string(tag.byte) + " of the " +
                       plc::MapAreaName(tag.direction) + " area";
    if (documents::TagTypeSize(tag.type) == 1) return text + ")";
    text += ", " + Endian(tag.byteOrder);
    return text + (documents::NeedsSwap(tag, plcOrder) ? "; the PLC reads " + Endian(plcOrder) + ", so swap)"
                                                       : ", as the PLC reads it)");
}

// A tag with a fault is not one value of the map: it has no address.
std::optional<std::string> TagAddress(const TypedTag& tag, const plc::TagPlacement& placement) {
    if (placement.fault != plc::TagFault::None) return std::nullopt;
    return documents::PlcAddressText(tag.direction, placement.first.address, documents::TagTypeSize(tag.type));
}

struct ListedTags {
    const std::vector<TypedTag>& tags;
    std::vector<plc::TagPlacement> placements;
    documents::ProfibusLayout layout;
    documents::ByteOrder plcOrder;

    std::string Problem(size_t i) const { return plc::TagFaultText(tags, i, placements[i], layout); }
};

constexpr size_t kListColumns = 10;
using ListRow = std::array<std::string, kListColumns>;
const ListRow kListHeader = {"Name", "Type",    "Size",       "Area", "Node",
                             "Byte", "Address", "Byte order", "Swap", "Problem"};

ListRow ListCells(const ListedTags& listed, size_t i) {
    const TypedTag& tag = listed.tags[i];
    return {base::ShownAsText(tag.name),
            documents::TagTypeName(tag.type),
            std::to_string(documents::TagTypeSize(tag.type)),
            plc::MapAreaName(tag.direction),
            std::to_string(tag.node),
            std::to_string(tag.byte),
            TagAddress(tag, listed.placements[i]).value_or("-"),
            documents::ByteOrderName(tag.byteOrder),
            documents::NeedsSwap(tag, listed.plcOrder) ? "yes" : "no",
            base::ShownAsText(listed.Problem(i))};
}

void WriteListText(std::ostream& out, const ListedTags& listed) {
    out << "The PLC reads " << Endian(listed.plcOrder) << ".\n";
    if (listed.tags.empty()) {
        out << "No typed tags.\n";
        return;
    }
    std::vector<ListRow> rows = {kListHeader};
    for (size_t i = 0; i < listed.tags.size(); ++i) rows.push_back(ListCells(listed, i));
    std::array<size_t, kListColumns> widths{};
    for (const ListRow& row : rows) {
        for (size_t c = 0; c < kListColumns; ++c) widths[c] = std::max(widths[c], base::DisplayWidth(row[c]));
    }
    for (const ListRow& row : rows) out << base::AlignedLine(row, widths) << '\n';
}

void WriteListJson(std::ostream& out, const ListedTags& listed) {
    base::JsonText json(256 + 256 * listed.tags.size());
    json.Raw("{\"plcByteOrder\":\"").Raw(documents::ByteOrderName(listed.plcOrder)).Raw("\",\"tags\":[");
    for (size_t i = 0; i < listed.tags.size(); ++i) {
        const TypedTag& tag = listed.tags[i];
        json.Raw(i ? ",{\"name\":" : "{\"name\":").String(tag.name);
        json.Raw(",\"type\":\"").Raw(documents::TagTypeName(tag.type)).Raw("\",\"size\":");
        json.Number(documents::TagTypeSize(tag.type)).Raw(",\"area\":\"").Raw(plc::MapAreaName(tag.direction));
        json.Raw("\",\"node\":").Number(tag.node).Raw(",\"byte\":").Number(tag.byte).Raw(",\"address\":");
        if (listed.placements[i].fault == plc::TagFault::None) {
            json.Number(listed.placements[i].first.address);
        } else {
            json.Raw("null");
        }
        json.Raw(",\"byteOrder\":\"").Raw(documents::ByteOrderName(tag.byteOrder)).Raw("\",\"swap\":");
        json.Raw(documents::NeedsSwap(tag, listed.plcOrder) ? "true" : "false").Raw(",\"problem\":");
        if (listed.placements[i].fault == plc::TagFault::None) {
            json.Raw("null}");
        } else {
            json.String(listed.Problem(i)).Raw("}");
        }
    }
    json.Raw("]}\n");
    json.MoveTo(out);
}

}  // namespace

bool TagOptions::Any() const {
    return node || input || output || byte || type || name || byteOrder;
}

bool TakeTagOption(TagOptions& options, int argc, char** argv, int& i) {
    const std::string_view arg = argv[i];
    const auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (arg == "--node") {
        options.node = value();
    } else if (arg == "--input") {
        options.input = true;
    } else if (arg == "--output") {
        options.output = true;
    } else if (arg == "--byte") {
        options.byte = value();
    } else if (arg == "--type") {
        options.type = value();
    } else if (arg == "--name") {
        options.name = value();
    } else if (arg == "--byte-order") {
        options.byteOrder = value();
    } else {
        return false;
    }
    return true;
}

std::string TagOptionsProblem(const TagOptions& options) {
    if (!options.node || !options.byte || !options.type || !options.name || options.input == options.output)
        return "tag add takes --node, --byte, --type, --name and one of --input and --output";
    const std::optional<size_t> node = DecimalUpTo(*options.node, kMostNodes);
    if (!node || *node == 0) return NotTaken("--node", "the node's position in DNET_Net.xml, from 1", *options.node);
    const std::optional<size_t> byte = DecimalUpTo(*options.byte, kMostBytes);
    if (!byte || *byte == 0) return NotTaken("--byte", "the node's first byte of the value, from 1", *options.byte);
    if (!documents::TagTypeNamed(*options.type)) return NotTaken("--type", TypeNames(), *options.type);
    if (options.byteOrder && !documents::ByteOrderNamed(*options.byteOrder))
        return NotTaken("--byte-order", "little or big", *options.byteOrder);
    return {};
}

// The tag is judged as the byte editor's "Make tag..." judges it, on the selections and slots the map uses, so
// the command line makes no tag the window would refuse.
int RunTagAdd(const std::string& projectDir, const TagOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<check::ProjectCheck> check = ReadMappedProject(projectDir, err);
    if (!check) return kFailed;
    const TypedTag tag = GivenTag(options);
    const documents::ProfibusLayout layout = check::ProjectLayout(*check);
    documents::PlcMapDocument document = check->plcMap;
    const size_t runLength = documents::TagTypeSize(tag.type);
    if (const auto problem = plc::NewTagProblem(check->nodes, layout, document.tags, tag, runLength)) {
        err << "tessara tag add: " << base::ShownAsText(*problem) << "\n";
        return kFailed;
    }
    document.tags.push_back(tag);
    const plc::TagPlacement placement = plc::PlaceTypedTags(check->nodes, layout, document.tags).back();
    documents::SavePlcMap(projectDir, document);
    out << tag.name << ": " << documents::TagTypeName(tag.type) << " at " << *TagAddress(tag, placement) << " "
        << OriginText(tag, PlcByteOrder(document)) << "\n";
    return kDone;
}

int RunTagList(const std::string& projectDir, bool json, std::ostream& out, std::ostream& err) {
    const std::optional<check::ProjectCheck> check = ReadMappedProject(projectDir, err);
    if (!check) return kFailed;
    const std::vector<TypedTag>& tags = check->plcMap.tags;
    ListedTags listed{tags, {}, check::ProjectLayout(*check), PlcByteOrder(check->plcMap)};
    listed.placements = plc::PlaceTypedTags(check->nodes, listed.layout, tags);
    if (json) {
        WriteListJson(out, listed);
    } else {
        WriteListText(out, listed);
    }
    return kDone;
}

// Only PlcMap.xml is read: a tag can be removed while the other documents are being mended.
int RunTagRemove(const std::string& projectDir, const std::string& name, std::ostream& out, std::ostream& err) {
    documents::PlcMapDocument document = documents::LoadPlcMap(projectDir);
    std::vector<TypedTag> removed;
    std::erase_if(document.tags, [&](const TypedTag& tag) {
        if (!plc::SameTagName(tag.name, name)) return false;
        removed.push_back(tag);
        return true;
    });
    if (removed.empty()) {
        err << "tessara tag remove: PlcMap.xml has no typed tag named \"" << base::ShownAsText(name) << "\"\n";
        return kFailed;
    }
    documents::SavePlcMap(projectDir, document);
    for (const TypedTag& tag : removed) out << "Removed " << base::ShownAsText(plc::TypedTagPlace(tag)) << "\n";
    return kDone;
}

}  // namespace tessara::cli
