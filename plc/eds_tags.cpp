#include "plc/eds_tags.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "plc/plc_symbols.h"

namespace tessara::plc {

namespace {

using documents::AreaDirection;
using documents::EdsMember;
using documents::TypedTag;

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

// `wanted`, or with _2, _3... on it (cut to fit a symbol) where a tag of `tags` has it or the PLC would refuse it.
std::string FreeName(const std::string& wanted, const std::vector<TypedTag>& tags) {
    auto free = [&](const std::string& name) {
        return !PlcNameProblem(name) &&
               std::none_of(tags.begin(), tags.end(), [&](const TypedTag& tag) { return SameName(tag.name, name); });
    };
    if (free(wanted)) return wanted;
    for (size_t number = 2;; ++number) {
        const std::string suffix = "_" + std::to_string(number);
        std::string stem = wanted.substr(0, kPlcSymbolLength - suffix.size());
        while (!stem.empty() && stem.back() == '_') stem.pop_back();
        if (free(stem + suffix)) return stem + suffix;
    }
}

bool Overlaps(const TypedTag& tag, const std::vector<TypedTag>& others) {
    return std::any_of(others.begin(), others.end(), [&](const TypedTag& other) {
        return other.direction == tag.direction && other.byte <= tag.LastByte() && tag.byte <= other.LastByte();
    });
}

// Each byte's mnemonic: the names of the values on it, in the order the assembly lists them.
void NameBytes(const std::vector<EdsMember>& members, AreaDirection direction, documents::DeviceImport& import) {
    std::map<uint32_t, std::string> names;
    for (const EdsMember& member : members) {
        for (size_t k = 0; k < member.size; ++k) {
            const auto byte = static_cast<uint32_t>(member.offset + k + 1);
            const std::string piece =
                k == 0 || member.name.empty() ? member.name : member.name + " byte " + std::to_string(k + 1);
            std::string& name = names[byte];
            if (!piece.empty()) name += (name.empty() ? "" : ", ") + piece;
        }
    }
    for (const auto& [byte, name] : names) import.bytes.push_back({direction, byte, name});
}

void MakeTags(const std::vector<EdsMember>& members, AreaDirection direction, int id,
              const std::vector<TypedTag>& nodeTags, std::vector<TypedTag>& taken, documents::DeviceImport& import) {
    for (const EdsMember& member : members) {
        if (!member.type || member.size < 2) continue;
        const auto byte = static_cast<uint32_t>(member.offset + 1);
        TypedTag tag{{}, direction, 0, byte, *member.type, documents::kDeviceByteOrder};
        if (Overlaps(tag, nodeTags)) continue;
        tag.name = FreeName(PlcSymbolBase(member.name, id, direction, byte), taken);
        taken.push_back(tag);
        import.tags.push_back(tag);
    }
}

const char* DirectionWord(AreaDirection direction) {
    return direction == AreaDirection::Input ? "input" : "output";
}

}  // namespace

documents::DeviceImport DeviceImportOf(const documents::EdsDevice& device, int id, const std::vector<TypedTag>& taken,
                                       const std::vector<TypedTag>& nodeTags) {
    documents::DeviceImport import;
    NameBytes(device.inputMembers, AreaDirection::Input, import);
    NameBytes(device.outputMembers, AreaDirection::Output, import);
    std::vector<TypedTag> names = taken;
    MakeTags(device.inputMembers, AreaDirection::Input, id, nodeTags, names, import);
    MakeTags(device.outputMembers, AreaDirection::Output, id, nodeTags, names, import);
    return import;
}

std::string DeviceImportQuestion(const documents::DeviceImport& import) {
    const size_t bytes = import.bytes.size();
    std::string text = "The EDS file describes the values this device exchanges. Select and name their " +
                       std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    if (import.tags.empty()) return text + "?";
    text += " and make these typed tags?\n";
    for (const TypedTag& tag : import.tags) {
        text += "\n" + tag.name + " (" + documents::TagTypeName(tag.type) + ", " + DirectionWord(tag.direction) +
                " byte " + std::to_string(tag.byte) + ")";
    }
    return text +
           "\n\nA typed tag is a run of selected bytes, so the bytes of each value are selected. The bytes and "
           "tags are saved at OK.";
}

}  // namespace tessara::plc
