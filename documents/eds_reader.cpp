#include "documents/eds_reader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/file_system.h"
#include "documents/eds_sections.h"

namespace tessara::documents {

namespace {

using eds::EdsSections;
using eds::Entry;
using eds::Field;
using eds::Number;
using eds::Section;
using eds::ToUtf8;
using eds::Upper;

// The I/O entry that PollInfo names and its size; no entry when it names none.
struct PolledEntry {
    std::string name;
    const Entry* entry = nullptr;
    uint16_t size = 0;
};

PolledEntry FindPolledEntry(const EdsSections& eds, const Section& io, const Entry& poll, size_t field,
                            const char* kind) {
    const std::string pollName = "PollInfo";
    const std::optional<int32_t> number = Number(poll.fields[field]);
    if (!number || *number < 0) {
        eds.Fail(poll.line, pollName + " field " + std::to_string(field + 1) + " is not an entry number");
    }
    if (*number == 0) return {};
    const std::string entryName = kind + std::to_string(*number);
    const auto it = io.find(Upper(entryName));
    if (it == io.end()) eds.Fail(poll.line, pollName + " names " + entryName + ", which [IO_Info] does not define");
    const std::optional<int32_t> size = Number(it->second.fields[0]);
    if (!size || *size < 0 || *size > 65535) {
        eds.Fail(it->second.line, entryName + " does not begin with a size in bytes from 0 to 65535");
    }
    return {entryName, &it->second, static_cast<uint16_t>(*size)};
}

// The assembly instance an I/O entry's path names (class 4; "20 04 24 64 30 03" is instance 100), or none
// when the path is not one.
std::optional<uint32_t> AssemblyInstance(const Entry& entry) {
    constexpr size_t kPathField = 5;
    if (entry.fields.size() <= kPathField) return std::nullopt;
    std::vector<uint32_t> bytes;
    std::string word;
    for (const char c : entry.fields[kPathField].text + " ") {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            word += c;
            continue;
        }
        if (word.empty()) continue;
        if (word.size() > 2 || !std::isxdigit(static_cast<unsigned char>(word[0])) ||
            !std::isxdigit(static_cast<unsigned char>(word.back()))) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint32_t>(std::stoul(word, nullptr, 16)));
        word.clear();
    }
    // Logical segments: 0x20 / 0x24 / 0x30 take one byte of value; 0x21 / 0x25 / 0x31 a pad byte and two, low first.
    std::optional<uint32_t> assemblyClass, instance;
    for (size_t i = 0; i < bytes.size();) {
        const uint32_t segment = bytes[i];
        const bool wide = (segment & 0x03) == 1;
        const size_t length = wide ? 4 : 2;
        if ((segment & 0xFC) != 0x20 && (segment & 0xFC) != 0x24 && (segment & 0xFC) != 0x30) return std::nullopt;
        if ((segment & 0x03) > 1 || i + length > bytes.size()) return std::nullopt;
        const uint32_t value = wide ? bytes[i + 2] | bytes[i + 3] << 8 : bytes[i + 1];
        if ((segment & 0xFC) == 0x20) assemblyClass = value;
        if ((segment & 0xFC) == 0x24) instance = value;
        i += length;
    }
    if (assemblyClass != 4u) return std::nullopt;
    return instance;
}

// The tag type of a CIP elementary data type. Unsigned and signed bytes are read as BYTE, the tag list's only
// type of one byte; ULINT as LWORD, its unsigned type of eight.
std::optional<TagType> TagTypeOfCode(int32_t code) {
    switch (code) {
        case 0xC2:  // SINT
        case 0xC6:  // USINT
        case 0xD1:  // BYTE
            return TagType::Byte;
        case 0xC3:
            return TagType::Int;
        case 0xC7:
            return TagType::Uint;
        case 0xD2:
            return TagType::Word;
        case 0xC4:
            return TagType::Dint;
        case 0xC8:
            return TagType::Udint;
        case 0xD3:
            return TagType::Dword;
        case 0xCA:
            return TagType::Real;
        case 0xC5:
            return TagType::Lint;
        case 0xC9:  // ULINT
        case 0xD4:
            return TagType::Lword;
        case 0xCB:
            return TagType::Lreal;
        default:
            return std::nullopt;
    }
}

// The [Params] entry a member's reference names ("Param12"), or none for padding (no reference, or a path).
const Entry* ReferencedParam(const EdsSections& eds, const Entry& assembly, const std::string& assemblyName,
                             const Field& reference, size_t member) {
    const std::string key = Upper(reference.text);
    if (reference.quoted || !key.starts_with("PARAM") || key.size() == 5 ||
        !std::all_of(key.begin() + 5, key.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return nullptr;
    }
    const Section* params = eds.Find("Params");
    const auto it = params ? params->find(key) : Section::const_iterator();
    if (!params || it == params->end()) {
        eds.Fail(assembly.line, assemblyName + " member " + std::to_string(member) + " names " + reference.text +
                                    ", which [Params] does not define");
    }
    return &it->second;
}

EdsMember ParamMember(const EdsSections& eds, const Entry& param, const std::string& paramName, size_t bit,
                      size_t bits) {
    constexpr size_t kTypeField = 4;
    constexpr size_t kNameField = 6;
    if (param.fields.size() <= kNameField) {
        eds.Fail(param.line, paramName + " needs seven fields, the data type fifth and the name seventh");
    }
    const std::optional<int32_t> code = Number(param.fields[kTypeField]);
    if (!code) eds.Fail(param.line, paramName + " field 5 is not a data type code");
    EdsMember member{ToUtf8(param.fields[kNameField].text), bit / 8, (bit + bits + 7) / 8 - bit / 8, std::nullopt};
    const std::optional<TagType> type = TagTypeOfCode(*code);
    if (type && bit % 8 == 0 && bits == TagTypeSize(*type) * 8) member.type = type;
    return member;
}

// The members of the assembly an I/O entry's path names, as [Assembly] lists them after its name, path, size,
// descriptor and two reserved fields: pairs of a size in bits and a reference. None when nothing describes them.
std::vector<EdsMember> AssemblyMembers(const EdsSections& eds, const PolledEntry& polled) {
    constexpr size_t kSizeField = 2;
    constexpr size_t kFirstMember = 6;
    const std::optional<uint32_t> instance = AssemblyInstance(*polled.entry);
    const Section* assemblies = eds.Find("Assembly");
    if (!instance || !assemblies) return {};
    const std::string name = "Assem" + std::to_string(*instance);
    const auto it = assemblies->find(Upper(name));
    if (it == assemblies->end() || it->second.fields.size() <= kFirstMember) return {};
    const Entry& assembly = it->second;
    const std::optional<int32_t> size = Number(assembly.fields[kSizeField]);
    if (!size && !assembly.fields[kSizeField].text.empty()) {
        eds.Fail(assembly.line, name + " field 3 is not a size in bytes");
    }
    std::vector<EdsMember> members;
    size_t bit = 0;
    for (size_t k = kFirstMember; k < assembly.fields.size(); k += 2) {
        const size_t number = (k - kFirstMember) / 2 + 1;
        const std::optional<int32_t> bits = Number(assembly.fields[k]);
        if (!bits || *bits <= 0 || *bits > 65535 * 8) {
            eds.Fail(assembly.line, name + " member " + std::to_string(number) + " has no size in bits");
        }
        const Field none;
        const Field& reference = k + 1 < assembly.fields.size() ? assembly.fields[k + 1] : none;
        if (const Entry* param = ReferencedParam(eds, assembly, name, reference, number)) {
            members.push_back(ParamMember(eds, *param, reference.text, bit, static_cast<size_t>(*bits)));
        }
        bit += static_cast<size_t>(*bits);
    }
    const size_t bytes = size ? static_cast<size_t>(*size) : (bit + 7) / 8;
    if (bit > bytes * 8) {
        eds.Fail(assembly.line, name + " lists members of " + std::to_string(bit) + " bits, more than its " +
                                    std::to_string(bytes) + " bytes");
    }
    if (bytes != polled.size) {
        eds.Fail(assembly.line, name + " holds " + std::to_string(bytes) + " bytes and " + polled.name + " carries " +
                                    std::to_string(polled.size) + ", so its members cannot be placed");
    }
    return members;
}

// A fault in the description of the members costs the members, not the import.
std::vector<EdsMember> MembersOrProblem(const EdsSections& eds, const PolledEntry& polled,
                                        std::vector<std::string>& problems) {
    if (!polled.entry) return {};
    try {
        return AssemblyMembers(eds, polled);
    } catch (const EdsError& e) {
        problems.emplace_back(e.what());
        return {};
    }
}

}  // namespace

EdsDevice ParseEds(const std::string& text, const std::string& name) {
    const EdsSections eds(text, name);
    const Section* io = eds.Find("IO_Info");
    if (!io) eds.Fail(eds.LastLine(), "the file has no [IO_Info] section, so no polled I/O connection");
    const auto poll = io->find("POLLINFO");
    if (poll == io->end()) {
        eds.Fail(eds.HeaderLine("IO_Info"), "[IO_Info] has no PollInfo entry, so no polled I/O connection");
    }
    if (poll->second.fields.size() < 3) {
        eds.Fail(poll->second.line, "PollInfo needs three fields: mask, default input, default output");
    }
    const PolledEntry input = FindPolledEntry(eds, *io, poll->second, 1, "Input");
    const PolledEntry output = FindPolledEntry(eds, *io, poll->second, 2, "Output");
    EdsDevice device;
    device.InputBytes = input.size;
    device.OutputBytes = output.size;
    device.inputMembers = MembersOrProblem(eds, input, device.memberProblems);
    device.outputMembers = MembersOrProblem(eds, output, device.memberProblems);
    if (const Section* info = eds.Find("Device")) {
        const auto product = info->find("PRODNAME");
        if (product != info->end()) device.ProdName = ToUtf8(product->second.fields[0].text);
    }
    return device;
}

EdsDevice ReadEdsFile(const std::string& path) {
    return ParseEds(base::ReadWholeFile(path, base::kEdsFileLimit), path);
}

}  // namespace tessara::documents
