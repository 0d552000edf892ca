#include "plc/plc_symbols.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessara::plc {

namespace {

// The keywords of IEC 61131-3 (third edition) and its standard names: elementary and generic types, function
// blocks, functions and IL operators, sorted as upper case. The typed conversions (INT_TO_REAL and the like)
// follow a rule instead, see IsConversionName. A PLC program cannot take any of them as a variable's name.
// clang-format off
constexpr std::string_view kReservedWords[] = {
    "ABS", "ABSTRACT", "ACOS", "ACTION", "ADD", "ADD_DT_TIME", "ADD_LDT_LTIME", "ADD_LTIME", "ADD_LTOD_LTIME",
    "ADD_TIME", "ADD_TOD_TIME", "AND", "ANDN", "ANY", "ANY_BIT", "ANY_CHAR", "ANY_CHARS", "ANY_DATE", "ANY_DERIVED",
    "ANY_DURATION", "ANY_ELEMENTARY", "ANY_INT", "ANY_MAGNITUDE", "ANY_NUM", "ANY_REAL", "ANY_SIGNED", "ANY_STRING",
    "ANY_UNSIGNED", "ARRAY", "ASIN", "AT", "ATAN", "ATAN2", "BOOL", "BY", "BYTE", "CAL", "CALC", "CALCN", "CASE", "CD",
    "CHAR", "CLASS", "CLK", "CONCAT", "CONCAT_DATE", "CONCAT_DATE_LTOD", "CONCAT_DATE_TOD", "CONCAT_DT", "CONCAT_LDT",
    "CONCAT_LTOD", "CONCAT_TOD", "CONFIGURATION", "CONSTANT", "CONTINUE", "COS", "CTD", "CTD_DINT", "CTD_INT",
    "CTD_LINT", "CTD_UDINT", "CTD_ULINT", "CTU", "CTUD", "CTUD_DINT", "CTUD_INT", "CTUD_LINT", "CTUD_UDINT",
    "CTUD_ULINT", "CTU_DINT", "CTU_INT", "CTU_LINT", "CTU_UDINT", "CTU_ULINT", "CU", "DATE", "DATE_AND_TIME",
    "DAY_OF_WEEK", "DELETE", "DINT", "DIV", "DIV_LTIME", "DIV_TIME", "DO", "DT", "DWORD", "ELSE", "ELSIF", "EN",
    "END_ACTION", "END_CASE", "END_CLASS", "END_CONFIGURATION", "END_FOR", "END_FUNCTION", "END_FUNCTION_BLOCK",
    "END_IF", "END_INTERFACE", "END_METHOD", "END_NAMESPACE", "END_PROGRAM", "END_REPEAT", "END_RESOURCE", "END_STEP",
    "END_STRUCT", "END_TRANSITION", "END_TYPE", "END_VAR", "END_WHILE", "ENO", "EQ", "EXIT", "EXP", "EXPT", "EXTENDS",
    "FALSE", "FINAL", "FIND", "FOR", "FROM", "FROM_BIG_ENDIAN", "FROM_LITTLE_ENDIAN", "FUNCTION", "FUNCTION_BLOCK",
    "F_EDGE", "F_TRIG", "GE", "GT", "IF", "IMPLEMENTS", "IN", "INITIAL_STEP", "INSERT", "INT", "INTERFACE", "INTERNAL",
    "INTERVAL", "IS_VALID", "IS_VALID_BCD", "JMP", "JMPC", "JMPCN", "LD", "LDATE", "LDATE_AND_TIME", "LDN", "LDT", "LE",
    "LEFT", "LEN", "LIMIT", "LINT", "LN", "LOG", "LREAL", "LT", "LTIME", "LTIME_OF_DAY", "LTOD", "LWORD", "MAX",
    "METHOD", "MID", "MIN", "MOD", "MOVE", "MUL", "MUL_LTIME", "MUL_TIME", "MUX", "NAMESPACE", "NE", "NON_RETAIN",
    "NOT", "NULL", "OF", "ON", "OR", "ORN", "OVERLAP", "OVERRIDE", "PRIORITY", "PRIVATE", "PROGRAM", "PROTECTED", "PT",
    "PUBLIC", "PV", "R", "R1", "READ_ONLY", "READ_WRITE", "REAL", "REF", "REF_TO", "REPEAT", "REPLACE", "RESOURCE",
    "RET", "RETAIN", "RETC", "RETCN", "RETURN", "RIGHT", "ROL", "ROR", "RS", "R_EDGE", "R_TRIG", "S", "S1", "SEL",
    "SHL", "SHR", "SIN", "SINGLE", "SINT", "SPLIT_DATE", "SPLIT_DT", "SPLIT_LDT", "SPLIT_LTOD", "SPLIT_TOD", "SQRT",
    "SR", "ST", "STEP", "STN", "STRING", "STRUCT", "SUB", "SUB_DATE_DATE", "SUB_DT_DT", "SUB_DT_TIME",
    "SUB_LDATE_LDATE", "SUB_LDT_LDT", "SUB_LDT_LTIME", "SUB_LTIME", "SUB_LTOD_LTIME", "SUB_LTOD_LTOD", "SUB_TIME",
    "SUB_TOD_TIME", "SUB_TOD_TOD", "SUPER", "TAN", "TASK", "THEN", "THIS", "TIME", "TIME_OF_DAY", "TO", "TOD", "TOF",
    "TOF_LTIME", "TOF_TIME", "TON", "TON_LTIME", "TON_TIME", "TO_BIG_ENDIAN", "TO_LITTLE_ENDIAN", "TP", "TP_LTIME",
    "TP_TIME", "TRANSITION", "TRUE", "TRUNC", "TYPE", "UDINT", "UINT", "ULINT", "UNTIL", "USING", "USINT", "VAR",
    "VAR_ACCESS", "VAR_CONFIG", "VAR_EXTERNAL", "VAR_GLOBAL", "VAR_INPUT", "VAR_IN_OUT", "VAR_OUTPUT", "VAR_TEMP",
    "WCHAR", "WHILE", "WITH", "WORD", "WSTRING", "XOR", "XORN",
};
// clang-format on

// The elementary types, which the names of the conversion functions are made of.
// clang-format off
constexpr std::string_view kElementaryTypes[] = {
    "BOOL", "BYTE", "CHAR", "DATE", "DATE_AND_TIME", "DINT", "DT", "DWORD", "INT", "LDATE", "LDATE_AND_TIME", "LDT",
    "LINT", "LREAL", "LTIME", "LTIME_OF_DAY", "LTOD", "LWORD", "REAL", "SINT", "STRING", "TIME", "TIME_OF_DAY", "TOD",
    "UDINT", "UINT", "ULINT", "USINT", "WCHAR", "WORD", "WSTRING",
};
// clang-format on

char UpperCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperCase(x) == UpperCase(y); });
}

bool LessWithoutCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return UpperCase(x) < UpperCase(y); });
}

constexpr bool SortedAsUpperCase(std::span<const std::string_view> table) {
    return std::is_sorted(table.begin(), table.end());
}
static_assert(SortedAsUpperCase(kReservedWords) && SortedAsUpperCase(kElementaryTypes),
              "the tables are searched by halves");

bool InTable(std::span<const std::string_view> table, std::string_view name) {
    const auto found = std::lower_bound(table.begin(), table.end(), name, LessWithoutCase);
    return found != table.end() && SameWithoutCase(*found, name);
}

bool IsElementaryType(std::string_view name) {
    return InTable(kElementaryTypes, name);
}

bool StartsWithoutCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && SameWithoutCase(text.substr(0, start.size()), start);
}

bool EndsWithoutCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && SameWithoutCase(text.substr(text.size() - end.size()), end);
}

size_t FindWithoutCase(std::string_view text, std::string_view part) {
    for (size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (SameWithoutCase(text.substr(at, part.size()), part)) return at;
    }
    return std::string_view::npos;
}

// One side of X_TO_Y: an elementary type, BCD, or BCD held in a bit string (BYTE_BCD before _TO_, BCD_BYTE
// after it).
bool IsConversionSide(std::string_view side, bool before) {
    if (IsElementaryType(side) || SameWithoutCase(side, "BCD")) return true;
    if (before) return EndsWithoutCase(side, "_BCD") && IsElementaryType(side.substr(0, side.size() - 4));
    return StartsWithoutCase(side, "BCD_") && IsElementaryType(side.substr(4));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The standard conversions: INT_TO_REAL, BYTE_BCD_TO_USINT, INT_TO_BCD, TO_REAL, REAL_TRUNC_INT, TRUNC_INT.
bool IsConversionName(std::string_view name) {
    // They are made of letters and underscores only: most symbols hold a digit and need no search.
    if (std::ranges::any_of(name, IsDigit)) return false;
    if (const size_t at = FindWithoutCase(name, "_TO_"); at != std::string_view::npos &&
                                                         IsConversionSide(name.substr(0, at), true) &&
                                                         IsConversionSide(name.substr(at + 4), false)) {
        return true;
    }
    if (const size_t at = FindWithoutCase(name, "_TRUNC_");
        at != std::string_view::npos && IsElementaryType(name.substr(0, at)) && IsElementaryType(name.substr(at + 7))) {
        return true;
    }
    for (const std::string_view prefix : {"TO_", "TRUNC_"}) {
        if (StartsWithoutCase(name, prefix) && IsElementaryType(name.substr(prefix.size()))) return true;
    }
    return false;
}

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
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
    // GCC takes a function that only prefetches for one without effect and drops every call to it unless it
    // is inlined first: hence always inlined, here and in the register.
    [[gnu::always_inline]] void Prefetch(std::string_view name) const {
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
// the whole still fits: the lowest number whose name is free.
//
// Names that differ only past the cut share their numbered names ("..._2" of two long names is one name), so
// each cut stem keeps, per count of digits, the number below which every one of its names is known taken.
// A clash starts there instead of at _2: every name is passed over at most once, whatever the mnemonics.
class SymbolRegister {
public:
    explicit SymbolRegister(size_t rows) : taken_(rows + std::size(kReservedWords)) {
        for (const std::string_view word : kReservedWords) taken_.Take(word);
    }

    [[gnu::always_inline]] void Prefetch(const std::string& symbol) const { taken_.Prefetch(symbol); }

    // `symbol` holds the name wanted; when that is taken, it gets the lowest free number instead.
    void Claim(std::string& symbol) {
        if (Take(symbol)) return;
        const std::string wanted = symbol;
        for (int digits = 1;; ++digits) {
            const std::string stem = CutTo(wanted, kPlcSymbolLength - 1 - static_cast<size_t>(digits));
            int& next = nextFree_.try_emplace(PlcNameKey(stem) + static_cast<char>('0' + digits), FirstWith(digits))
                            .first->second;
            for (const int end = FirstWith(digits + 1); next < end;) {
                symbol = stem + "_" + std::to_string(next++);
                if (Take(symbol)) return;
            }
        }
    }

private:
    // The conversions are too many to take in advance: they are refused as they are asked for.
    bool Take(const std::string& name) { return !IsConversionName(name) && taken_.Take(name); }

    // The smallest clash number of so many digits: 2, 10, 100...
    static int FirstWith(int digits) {
        int first = 1;
        for (int i = 1; i < digits; ++i) first *= 10;
        return std::max(first, 2);
    }

    TakenNames taken_;
    // Keyed by the cut stem in upper case and the count of digits.
    std::unordered_map<std::string, int> nextFree_;
};

// How many rows ahead a lookup's slot is asked for: enough to cover a trip to memory.
constexpr size_t kLookAhead = 16;

}  // namespace

bool IsIecReservedWord(std::string_view name) {
    return InTable(kReservedWords, name) || IsConversionName(name);
}

std::string PlcNameKey(std::string name) {
    for (char& c : name) c = UpperCase(c);
    return name;
}

std::optional<std::string> PlcNameProblem(std::string_view name) {
    const std::string quoted = "\"" + std::string(name) + "\"";
    if (name.empty() || IsDigit(name.front()) || IdentifierOf(std::string(name)) != name)
        return quoted +
               " is not an IEC 61131-3 name: letters and digits with single underscores between them, a "
               "letter first";
    if (name.size() > kPlcSymbolLength)
        return quoted + " is longer than the " + std::to_string(kPlcSymbolLength) + " characters of a STEP 7 symbol";
    if (IsIecReservedWord(name)) return quoted + " is a reserved word of IEC 61131-3";
    return std::nullopt;
}

std::string PlcSymbolBase(const std::string& mnemonic, int id, MapArea area, uint32_t byte) {
    std::string name = IdentifierOf(mnemonic);
    if (name.empty()) return DefaultSymbol(id, area, byte);
    if (IsDigit(name.front())) name = "N" + std::to_string(id) + "_" + name;
    return CutTo(std::move(name), kPlcSymbolLength);
}

std::string NodePlcSymbolBase(const AddressMapRow& row) {
    std::string node = IdentifierOf(row.nodeMnemonic);
    if (node.empty() || IsDigit(node.front())) node = "N" + std::to_string(row.id) + (node.empty() ? "" : "_" + node);
    std::string byte = IdentifierOf(row.mnemonic);
    if (byte.empty()) byte = (row.area == MapArea::Input ? "I" : "Q") + std::to_string(row.byte);
    return CutTo(node + "_" + byte, kPlcSymbolLength);
}

void AssignPlcSymbols(AddressMap& map) {
    const auto wanted = [style = map.symbols](AddressMapRow& row) {
        if (row.tagged) return;
        row.symbol = style == SymbolStyle::Node ? NodePlcSymbolBase(row)
                                                : PlcSymbolBase(row.mnemonic, row.id, row.area, row.byte);
    };
    // The register keeps views of the symbols: the rows stay where they are until it is gone. The names of typed
    // tags are the user's and are unique already: they are taken first, and a byte's symbol yields to them.
    SymbolRegister symbols(map.input.size() + map.output.size());
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (AddressMapRow& row : *rows) {
            if (row.tagged) symbols.Claim(row.symbol);
        }
    }
    for (std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        // A row's wanted name is made a few rows ahead of its claim, in the same walk over the rows, so that its
        // slot is asked for meanwhile; a tag's row is passed over only after that, or the row ahead of it would
        // get no name.
        for (size_t i = 0; i < std::min(kLookAhead, rows->size()); ++i) wanted((*rows)[i]);
        for (size_t i = 0; i < rows->size(); ++i) {
            if (i + kLookAhead < rows->size()) {
                AddressMapRow& ahead = (*rows)[i + kLookAhead];
                wanted(ahead);
                symbols.Prefetch(ahead.symbol);
            }
            if ((*rows)[i].tagged) continue;
            symbols.Claim((*rows)[i].symbol);
        }
    }
}

}  // namespace tessara::plc
