#include "plc/eds_tags.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "plc/plc_symbols.h"

namespace tessara::plc {

namespace {

using documents::AreaDirection;
using documents::EdsMember;
using documents::TypedTag;

// The names taken, in upper case, and for each name asked for the number its next clash starts from, so that a
// device of many values of one name is named in one pass.
struct TakenNames {
    std::unordered_set<std::string> names;
    std::unordered_map<std::string, size_t> nextNumber;
};

// `wanted`, or with _2, _3... on it (cut to fit a symbol) where a tag has it or the PLC would refuse it; taken.
std::string FreeName(const std::string& wanted, TakenNames& taken) {
    auto take = [&](const std::string& name) {
        return !PlcNameProblem(name) && taken.names.insert(PlcNameKey(name)).second;
    };
    if (take(wanted)) return wanted;
    size_t& number = taken.nextNumber.try_emplace(PlcNameKey(wanted), 2).first->second;
    for (;; ++number) {
        const std::string suffix = "_" + std::to_string(number);
        std::string stem = wanted.substr(0, kPlcSymbolLength - suffix.size());
        while (!stem.empty() && stem.back() == '_') stem.pop_back();
        if (take(stem + suffix)) return stem + suffix;
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
              const std::vector<TypedTag>& nodeTags, TakenNames& taken, documents::DeviceImport& import) {
    for (const EdsMember& member : members) {
        if (!member.type || member.size < 2) continue;
        const auto byte = static_cast<uint32_t>(member.offset + 1);
        TypedTag tag{{}, direction, 0, byte, *member.type, documents::kDeviceByteOrder};
        if (Overlaps(tag, nodeTags)) continue;
        tag.name = FreeName(PlcSymbolBase(member.name, id, direction, byte), taken);
        import.tags.push_back(tag);
    }
}

// "Speed (INT, input byte 3)"
std::string TagLine(const TypedTag& tag) {
    return tag.name + " (" + documents::TagTypeName(tag.type) + ", " +
           (tag.direction == AreaDirection::Input ? "input" : "output") + " byte " + std::to_string(tag.byte) + ")";
}

}  // namespace

documents::DeviceImport DeviceImportOf(const documents::EdsDevice& device, int id, const std::vector<TypedTag>& taken,
                                       const std::vector<TypedTag>& nodeTags) {
    documents::DeviceImport import;
    NameBytes(device.inputMembers, AreaDirection::Input, import);
    NameBytes(device.outputMembers, AreaDirection::Output, import);
    TakenNames names;
    for (const TypedTag& tag : taken) names.names.insert(PlcNameKey(tag.name));
    MakeTags(device.inputMembers, AreaDirection::Input, id, nodeTags, names, import);
    MakeTags(device.outputMembers, AreaDirection::Output, id, nodeTags, names, import);
    return import;
}

std::string DeviceImportQuestion(const documents::DeviceImport& import, size_t listed) {
    const size_t bytes = import.bytes.size();
    std::string text = "The EDS file describes the values this device exchanges. Select and name their " +
                       std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    if (import.tags.empty()) return text + "?";
    text += " and make these typed tags?\n";
    for (size_t i = 0; i < import.tags.size() && i < listed; ++i) text += "\n" + TagLine(import.tags[i]);
    if (import.tags.size() > listed) text += "\nand " + std::to_string(import.tags.size() - listed) + " more";
    return text +
           "\n\nA typed tag is a run of selected bytes, so the bytes of each value are selected. The bytes and "
           "tags are saved at OK.";
}

std::string DeviceImportTagList(const documents::DeviceImport& import) {
    std::string list;
    for (const TypedTag& tag : import.tags) list += (list.empty() ? "" : "\n") + TagLine(tag);
    return list;
}

}  // namespace tessara::plc
