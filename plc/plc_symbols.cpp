#include "plc/plc_symbols.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessara::plc {

namespace {

// Words an IEC 61131-3 program cannot take as a variable's name: a mnemonic spelling one is treated as taken.
constexpr const char* kReservedWords[] = {
    "ACTION",
    "AND",
    "ANY",
    "ARRAY",
    "AT",
    "BOOL",
    "BY",
    "BYTE",
    "CASE",
    "CHAR",
    "CONFIGURATION",
    "CONSTANT",
    "DATE",
    "DATE_AND_TIME",
    "DINT",
    "DO",
    "DT",
    "DWORD",
    "ELSE",
    "ELSIF",
    "EN",
    "END_ACTION",
    "END_CASE",
    "END_CONFIGURATION",
    "END_FOR",
    "END_FUNCTION",
    "END_FUNCTION_BLOCK",
    "END_IF",
    "END_PROGRAM",
    "END_REPEAT",
    "END_RESOURCE",
    "END_STEP",
    "END_STRUCT",
    "END_TRANSITION",
    "END_TYPE",
    "END_VAR",
    "END_WHILE",
    "ENO",
    "EXIT",
    "FALSE",
    "FOR",
    "FROM",
    "FUNCTION",
    "FUNCTION_BLOCK",
    "IF",
    "INITIAL_STEP",
    "INT",
    "INTERVAL",
    "LDATE",
    "LINT",
    "LREAL",
    "LTIME",
    "LWORD",
    "MOD",
    "NON_RETAIN",
    "NOT",
    "OF",
    "ON",
    "OR",
    "PRIORITY",
    "PROGRAM",
    "READ_ONLY",
    "READ_WRITE",
    "REAL",
    "REPEAT",
    "RESOURCE",
    "RETAIN",
    "RETURN",
    "SINGLE",
    "SINT",
    "STEP",
    "STRING",
    "STRUCT",
    "TASK",
    "THEN",
    "TIME",
    "TIME_OF_DAY",
    "TO",
    "TOD",
    "TRANSITION",
    "TRUE",
    "TYPE",
    "UDINT",
    "UINT",
    "ULINT",
    "UNTIL",
    "USINT",
    "VAR",
    "VAR_ACCESS",
    "VAR_CONFIG",
    "VAR_EXTERNAL",
    "VAR_GLOBAL",
    "VAR_INPUT",
    "VAR_IN_OUT",
    "VAR_OUTPUT",
    "VAR_TEMP",
    "WCHAR",
    "WHILE",
    "WITH",
    "WORD",
    "WSTRING",
    "XOR",
};

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters and digits stay; every run of anything else, non-ASCII bytes among it, becomes one underscore between
// them, so the name never starts or ends with one.
std::string IdentifierOf(const std::string& text) {
    std::string name;
    bool gap = false;
    for (const char c : text) {
        if (!IsLetterOrDigit(c)) {
            gap = true;
            continue;
        }
        if (gap && !name.empty()) name += '_';
        gap = false;
        name += c;
    }
    return name;
}

// The first `length` characters, without an underscore left dangling at the cut.
std::string CutTo(std::string name, size_t length) {
    if (name.size() > length) name.resize(length);
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name;
}

std::string DefaultSymbol(int id, MapArea area, uint32_t byte) {
    return "N" + std::to_string(id) + (area == MapArea::Input ? "_I" : "_Q") + std::to_string(byte);
}

char UpperCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// IEC 61131-3 and STEP 7 do not tell symbols apart by case.
std::string CaseKey(std::string name) {
    for (char& c : name) c = UpperCase(c);
    return name;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperCase(x) == UpperCase(y); });
}

// FNV-1a over the upper-case form, so names that differ only in case meet in one slot.
size_t HashWithoutCase(std::string_view name) {
    uint64_t hash = 14695981039346656037u;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(UpperCase(c))) * 1099511628211u;
    return static_cast<size_t>(hash);
}

// The names taken so far, as views of the symbols that hold them. Each row takes exactly one name, so the
// count is known before the first: open addressing over one array then never grows, and a large project's
// 260 000 names are neither 260 000 separately allocated nodes to chase nor a second copy of every symbol.
// A slot keeps the upper half of its name's hash beside the name's index, so a probe compares names only when
// the hashes agree.
class TakenNames {
public:
    explicit TakenNames(size_t count) : slots_(SlotCount(count), kFree) { names_.reserve(count); }

    // Asks the processor for the name's first slot now, so that taking it later does not wait for memory.
    void Prefetch(std::string_view name) const {
        __builtin_prefetch(&slots_[HashWithoutCase(name) & (slots_.size() - 1)]);
    }

    // Takes the name, which must stay where it is while the register lives; false when it was taken already.
    bool Take(std::string_view name) {
        const size_t hash = HashWithoutCase(name);
        const uint64_t tag = static_cast<uint64_t>(hash) & kTagMask;
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            const uint64_t slot = slots_[at];
            if (slot == kFree) {
                slots_[at] = tag | names_.size();
                names_.push_back(name);
                return true;
            }
            if ((slot & kTagMask) == tag && SameWithoutCase(names_[slot & ~kTagMask], name)) return false;
        }
    }

private:
    static constexpr uint64_t kTagMask = 0xFFFFFFFF00000000u;
    static constexpr uint64_t kFree = UINT64_MAX;
    // At most half the slots in use keeps the probes short.
    static size_t SlotCount(size_t count) {
        size_t slots = 16;
        while (slots < 2 * count) slots *= 2;
        return slots;
    }

    std::vector<uint64_t> slots_;
    std::vector<std::string_view> names_;
};

// Hands out names unique without regard to case; a clash gets _2, _3... on the name it asked for, cut so that
// the whole still fits.
class SymbolRegister {
public:
    explicit SymbolRegister(size_t rows) : taken_(rows + std::size(kReservedWords)) {
        for (const char* word : kReservedWords) taken_.Take(word);
    }

    void Prefetch(const std::string& symbol) const { taken_.Prefetch(symbol); }

    // `symbol` holds the name wanted; when that is taken, it gets the next free number instead.
    void Claim(std::string& symbol) {
        if (taken_.Take(symbol)) return;
        const std::string wanted = symbol;
        int& next = nextSuffix_.try_emplace(CaseKey(wanted), 2).first->second;
        do {
            const std::string suffix = "_" + std::to_string(next++);
            symbol = CutTo(wanted, kPlcSymbolLength - suffix.size()) + suffix;
        } while (!taken_.Take(symbol));
    }

private:
    TakenNames taken_;
    std::unordered_map<std::string, int> nextSuffix_;
};

// How many rows ahead a lookup's slot is asked for: enough to cover a trip to memory.
constexpr size_t kLookAhead = 16;

}  // namespace

std::string PlcSymbolBase(const std::string& mnemonic, int id, MapArea area, uint32_t byte) {
    std::string name = IdentifierOf(mnemonic);
    if (name.empty()) return DefaultSymbol(id, area, byte);
    if (IsDigit(name.front())) name = "N" + std::to_string(id) + "_" + name;
    return CutTo(name, kPlcSymbolLength);
}

std::string NodePlcSymbolBase(const AddressMapRow& row) {
    std::string node = IdentifierOf(row.nodeMnemonic);
    if (node.empty() || IsDigit(node.front())) node = "N" + std::to_string(row.id) + (node.empty() ? "" : "_" + node);
    std::string byte = IdentifierOf(row.mnemonic);
    if (byte.empty()) byte = (row.area == MapArea::Input ? "I" : "Q") + std::to_string(row.byte);
    return CutTo(node + "_" + byte, kPlcSymbolLength);
}

void AssignPlcSymbols(AddressMap& map) {
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (AddressMapRow& row : *rows) {
            row.symbol = map.symbols == SymbolStyle::Node ? NodePlcSymbolBase(row)
                                                          : PlcSymbolBase(row.mnemonic, row.id, row.area, row.byte);
        }
    }
    // The register keeps views of the symbols: the rows stay where they are until it is gone.
    SymbolRegister symbols(map.input.size() + map.output.size());
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (size_t i = 0; i < rows->size(); ++i) {
            if (i + kLookAhead < rows->size()) symbols.Prefetch((*rows)[i + kLookAhead].symbol);
            symbols.Claim((*rows)[i].symbol);
        }
    }
}

}  // namespace tessara::plc
