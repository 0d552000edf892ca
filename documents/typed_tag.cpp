#include "documents/typed_tag.h"

#include <algorithm>
#include <cctype>

namespace tessara::documents {

namespace {

struct TypeFacts {
    TagType type;
    const char* name;
    size_t size;
};

constexpr std::array<TypeFacts, kTagTypes.size()> kTypeFacts = {{
    {TagType::Byte, "BYTE", 1},
    {TagType::Word, "WORD", 2},
    {TagType::Int, "INT", 2},
    {TagType::Uint, "UINT", 2},
    {TagType::Dword, "DWORD", 4},
    {TagType::Dint, "DINT", 4},
    {TagType::Udint, "UDINT", 4},
    {TagType::Real, "REAL", 4},
    {TagType::Lword, "LWORD", 8},
    {TagType::Lint, "LINT", 8},
    {TagType::Lreal, "LREAL", 8},
}};

const TypeFacts& FactsOf(TagType type) {
    return kTypeFacts[static_cast<size_t>(type)];
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

size_t TagTypeSize(TagType type) {
    return FactsOf(type).size;
}

const char* TagTypeName(TagType type) {
    return FactsOf(type).name;
}

std::optional<TagType> TagTypeNamed(std::string_view name) {
    for (const TypeFacts& facts : kTypeFacts) {
        if (SameWithoutCase(facts.name, name)) return facts.type;
    }
    return std::nullopt;
}

bool NeedsSwap(TagType type, ByteOrder deviceOrder, ByteOrder plcOrder) {
    return TagTypeSize(type) > 1 && deviceOrder != plcOrder;
}

bool NeedsSwap(const TypedTag& tag, ByteOrder plcOrder) {
    return NeedsSwap(tag.type, tag.byteOrder, plcOrder);
}

const char* ByteOrderName(ByteOrder order) {
    return order == ByteOrder::Little ? "little" : "big";
}

std::optional<ByteOrder> ByteOrderNamed(std::string_view name) {
    if (name == "little") return ByteOrder::Little;
    if (name == "big") return ByteOrder::Big;
    return std::nullopt;
}

}  // namespace tessara::documents
