#include "check/plc_symbols.h"

#include <cstdint>
#include <functional>
#include <iterator>
#include <unordered_map>
#include <vector>

namespace tessara::check {

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

// IEC 61131-3 and STEP 7 do not tell symbols apart by case.
std::string CaseKey(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

// The names taken so far, by their case key. Each row takes exactly one name, so the count is known before
// the first: open addressing over one array of indexes then never grows, and a large project's 260 000 names
// are not 260 000 separately allocated nodes to chase.
class TakenNames {
public:
    explicit TakenNames(size_t count) : slots_(SlotCount(count), kFree) { keys_.reserve(count); }

    // False when the key was taken already.
    bool Take(std::string key) {
        const size_t mask = slots_.size() - 1;
        for (size_t at = std::hash<std::string>{}(key)&mask;; at = (at + 1) & mask) {
            if (slots_[at] == kFree) {
                slots_[at] = static_cast<uint32_t>(keys_.size());
                keys_.push_back(std::move(key));
                return true;
            }
            if (keys_[slots_[at]] == key) return false;
        }
    }

private:
    static constexpr uint32_t kFree = UINT32_MAX;
    // At most half the slots in use keeps the probes short.
    static size_t SlotCount(size_t count) {
        size_t slots = 16;
        while (slots < 2 * count) slots *= 2;
        return slots;
    }

    std::vector<uint32_t> slots_;
    std::vector<std::string> keys_;
};

// Hands out names unique without regard to case; a clash gets _2, _3... on the name it asked for, cut so that
// the whole still fits.
class SymbolRegister {
public:
    explicit SymbolRegister(size_t rows) : taken_(rows + std::size(kReservedWords)) {
        for (const char* word : kReservedWords) taken_.Take(word);
    }

    std::string Claim(const std::string& wanted) {
        std::string wantedKey = CaseKey(wanted);
        if (taken_.Take(wantedKey)) return wanted;
        int& next = nextSuffix_.try_emplace(std::move(wantedKey), 2).first->second;
        for (;;) {
            const std::string suffix = "_" + std::to_string(next++);
            std::string name = CutTo(wanted, kPlcSymbolLength - suffix.size()) + suffix;
            if (taken_.Take(CaseKey(name))) return name;
        }
    }

private:
    TakenNames taken_;
    std::unordered_map<std::string, int> nextSuffix_;
};

}  // namespace

std::string PlcSymbolBase(const std::string& mnemonic, int id, MapArea area, uint32_t byte) {
    std::string name = IdentifierOf(mnemonic);
    if (name.empty()) return DefaultSymbol(id, area, byte);
    if (IsDigit(name.front())) name = "N" + std::to_string(id) + "_" + name;
    return CutTo(name, kPlcSymbolLength);
}

void AssignPlcSymbols(AddressMap& map) {
    SymbolRegister symbols(map.input.size() + map.output.size());
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (AddressMapRow& row : *rows)
            row.symbol = symbols.Claim(PlcSymbolBase(row.mnemonic, row.id, row.area, row.byte));
    }
}

}  // namespace tessara::check
