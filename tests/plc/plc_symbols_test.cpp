#include "plc/plc_symbols.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

using namespace tessara::plc;

namespace {

struct ByteOfNode {
    int id;
    MapArea area;
    uint32_t byte;
    std::string mnemonic;
};

// The symbols of a project whose bytes, in map order, carry these mnemonics.
std::vector<std::string> SymbolsOf(const std::vector<ByteOfNode>& bytes) {
    AddressMap map;
    for (const ByteOfNode& b : bytes) {
        AddressMapRow row;
        row.area = b.area;
        row.id = b.id;
        row.byte = b.byte;
        row.mnemonic = b.mnemonic;
        (b.area == MapArea::Input ? map.input : map.output).push_back(row);
    }
    AssignPlcSymbols(map);
    std::vector<std::string> symbols;
    for (const auto* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) symbols.push_back(row.symbol);
    }
    return symbols;
}

constexpr MapArea I = MapArea::Input;
constexpr MapArea Q = MapArea::Output;

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The register as it first was: each wanted name counts its own clashes from _2 and probes every number up from
// there, which is slow when many long names share their first 22 characters, but gives the names to keep.
std::vector<std::string> ProbedSymbols(const std::vector<ByteOfNode>& bytes) {
    std::unordered_set<std::string> taken;
    std::unordered_map<std::string, int> next;
    const auto take = [&](const std::string& name) {
        return !IsIecReservedWord(name) && taken.insert(UpperCase(name)).second;
    };
    std::vector<std::string> symbols;
    for (const MapArea area : {I, Q}) {
        for (const ByteOfNode& b : bytes) {
            if (b.area != area) continue;
            const std::string wanted = PlcSymbolBase(b.mnemonic, b.id, b.area, b.byte);
            std::string symbol = wanted;
            for (int& n = next.try_emplace(UpperCase(wanted), 2).first->second; !take(symbol);) {
                const std::string suffix = "_" + std::to_string(n++);
                symbol = wanted.substr(0, kPlcSymbolLength - suffix.size());
                while (symbol.back() == '_') symbol.pop_back();
                symbol += suffix;
            }
            symbols.push_back(symbol);
        }
    }
    return symbols;
}

std::vector<ByteOfNode> Repeated(int times, const std::vector<std::string>& mnemonics) {
    std::vector<ByteOfNode> bytes;
    for (int k = 0; k < times; ++k) {
        for (const std::string& mnemonic : mnemonics) {
            bytes.push_back({k % 64, k % 2 ? Q : I, static_cast<uint32_t>(bytes.size() + 1), mnemonic});
        }
    }
    return bytes;
}

// A 22-character stem and the first `count` tails of A..Z, 0..9 in order of length: tails of three characters
// become equal to those of two once cut.
std::vector<std::string> SharedStemMnemonics(size_t count) {
    const std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::vector<std::string> tails = {""};
    for (size_t first = 0; tails.size() <= count; ++first) {
        for (const char c : characters) tails.push_back(tails[first] + c);
    }
    std::vector<std::string> mnemonics;
    for (size_t k = 1; k <= count; ++k) mnemonics.push_back("ConveyorSection12Motor" + tails[k]);
    return mnemonics;
}

TEST(PlcSymbols, MnemonicsBecomeIdentifiersAndClashesGetNumbers) {
    const struct {
        const char* what;
        std::vector<ByteOfNode> bytes;
        std::vector<std::string> symbols;
    } cases[] = {
        {"words joined by single underscores",
         {{5, I, 1, "Valve 3 Open"}, {5, I, 2, "  Status & alarm!! "}, {5, I, 3, "a__b--c"}},
         {"Valve_3_Open", "Status_alarm", "a_b_c"}},
        {"no mnemonic, or nothing of it left",
         {{5, I, 3, ""}, {12, Q, 2, ""}, {7, I, 1, "\xC3\xA4\xC3\xB6"}, {7, I, 2, "---"}},
         {"N5_I3", "N7_I1", "N7_I2", "N12_Q2"}},
        {"a leading digit takes the node", {{5, I, 1, "3rd valve"}}, {"N5_3rd_valve"}},
        {"non-ASCII letters split words", {{1, I, 1, "F\xC3\xBCllstand"}}, {"F_llstand"}},
        {"clashes regardless of case, in map order",
         {{1, I, 1, "Valve"}, {1, I, 2, "valve"}, {2, Q, 1, "VALVE"}},
         {"Valve", "valve_2", "VALVE_3"}},
        {"a number a clash would take is passed over",
         {{1, I, 1, "Valve_2"}, {1, I, 2, "Valve"}, {1, I, 3, "Valve"}},
         {"Valve_2", "Valve", "Valve_3"}},
        {"a mnemonic spelling a default symbol", {{5, I, 2, "N5_I1"}, {5, I, 1, ""}}, {"N5_I1", "N5_I1_2"}},
        {"reserved words of IEC 61131-3",
         {{1, I, 1, "IF"}, {1, I, 2, "byte"}, {1, I, 3, "r_edge"}, {1, I, 4, "Int_To_Real"}},
         {"IF_2", "byte_2", "r_edge_2", "Int_To_Real_2"}},
        {"longer names are cut at 24 characters, and before the clash number",
         {{1, I, 1, "abcdefghijklmnopqrstuvwxyz"},
          {1, I, 2, "abcdefghijklmnopqrstuvwxyz"},
          {1, I, 3, "abcdefghijklmnopqrstuvw_yz"}},
         {"abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqrstuv_2", "abcdefghijklmnopqrstuvw"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SymbolsOf(c.bytes), c.symbols) << c.what;
}

TEST(PlcSymbols, ReservedWordsAreTheStandardsKeywordsAndStandardNames) {
    for (const char* word : {"R_EDGE",
                             "f_edge",
                             "Method",
                             "INTERFACE",
                             "REF_TO",
                             "THIS",
                             "SUPER",
                             "EXTENDS",
                             "ABSTRACT",
                             "OVERRIDE",
                             "NAMESPACE",
                             "USING",
                             "CONTINUE",
                             "LDT",
                             "LTOD",
                             "LTIME_OF_DAY",
                             "LDATE_AND_TIME",
                             "ANY_INT",
                             "ANY_ELEMENTARY",
                             "ANY_CHARS",
                             "WCHAR",
                             "TON",
                             "tof",
                             "TP",
                             "CTUD",
                             "CTU_INT",
                             "CTD_ULINT",
                             "TON_LTIME",
                             "R_TRIG",
                             "SR",
                             "RS",
                             "ADD",
                             "MOVE",
                             "SEL",
                             "MUX",
                             "LIMIT",
                             "ATAN2",
                             "EXPT",
                             "CONCAT",
                             "REPLACE",
                             "TRUNC",
                             "ADD_TOD_TIME",
                             "DAY_OF_WEEK",
                             "LD",
                             "LDN",
                             "ST",
                             "STN",
                             "S",
                             "R",
                             "JMPCN",
                             "CAL",
                             "CALCN",
                             "RET",
                             "RETC",
                             "ANDN",
                             "XORN",
                             "INT_TO_REAL",
                             "lreal_to_sint",
                             "TIME_OF_DAY_TO_LTOD",
                             "BYTE_BCD_TO_USINT",
                             "DINT_TO_BCD_DWORD",
                             "BCD_TO_INT",
                             "INT_TO_BCD",
                             "TO_REAL",
                             "REAL_TRUNC_INT",
                             "TRUNC_DINT"}) {
        EXPECT_TRUE(IsIecReservedWord(word)) << word;
    }
    for (const char* name : {"Motor_TO_Pump", "INT_TO", "_TO_INT", "INT_TO_MOTOR", "TO_MOTOR", "TONE", "CTU_BYTE",
                             "ANY_THING", "Valve", "IB12", "BCD", "INT_BCD_TO", "REAL_TRUNC", "LD1"}) {
        EXPECT_FALSE(IsIecReservedWord(name)) << name;
    }
}

// Clashes take their numbers per cut stem, so that no claim probes again what others took; the names stay those
// of the first, probing register.
TEST(PlcSymbols, ClashesGetTheNamesOfTheProbingRegister) {
    const std::string long22 = "abcdefghijklmnopqrstuv";
    const struct {
        const char* what;
        std::vector<ByteOfNode> bytes;
    } cases[] = {
        {"one name past _9 and _99", Repeated(130, {"Value"})},
        {"long names sharing the 22 characters the cut keeps",
         Repeated(40, {long22 + "XY", long22 + "XZ", long22, long22 + "X", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"})},
        {"a 23-character name loses more as its number grows", Repeated(15, {long22 + "w", long22 + "W"})},
        {"numbered names given as mnemonics, in any case",
         Repeated(12, {"Valve_3", "Valve", "VALVE_10", "valve", "Valve_2_2", "Valve_2"})},
        {"a cut that ends on an underscore", Repeated(12, {"abcdefghijklmnopqrstu_vwxyz", "abcdefghijklmnopqrstu"})},
        {"reserved words and defaults", Repeated(12, {"ton", "IF", "INT_TO_REAL", "", "N0_I1", "MOVE_2"})},
        {"the shared-stem project, cut down", Repeated(2, SharedStemMnemonics(1368))},
    };
    for (const auto& c : cases) EXPECT_EQ(SymbolsOf(c.bytes), ProbedSymbols(c.bytes)) << c.what;
}

// Whatever the mnemonics, every symbol is an identifier a PLC takes, none of its reserved words, and no two are
// the same to it.
TEST(PlcSymbols, HostileMnemonicsGiveValidUniqueSymbols) {
    const std::vector<std::string> mnemonics = {
        "",
        "\"quoted\"",
        "a,b",
        "<tag>&amp;",
        std::string(200, 'x'),
        std::string(200, 'x'),
        "\xFF\xFE",
        "x\ny",
        "\t",
        "_",
        "9",
        "99 bottles",
        "END_VAR",
        "%IB12",
        "IB 12",
        "N1_I1",
        "ton",
        "Int_To_Real",
        "Int_To_Real",
    };
    std::vector<ByteOfNode> bytes;
    for (size_t k = 0; k < mnemonics.size(); ++k) bytes.push_back({1, I, static_cast<uint32_t>(k + 1), mnemonics[k]});
    const std::regex identifier("[A-Za-z][A-Za-z0-9]*(_[A-Za-z0-9]+)*");
    std::set<std::string> seen;
    for (const std::string& symbol : SymbolsOf(bytes)) {
        EXPECT_TRUE(std::regex_match(symbol, identifier)) << symbol;
        EXPECT_LE(symbol.size(), kPlcSymbolLength) << symbol;
        EXPECT_FALSE(IsIecReservedWord(symbol)) << symbol;
        std::string key = symbol;
        for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(key).second) << "twice: " << symbol;
    }
}

// The same mnemonic on every byte of a large project must not cost a search from _2 each time.
TEST(PlcSymbols, ManyClashesGetConsecutiveNumbers) {
    std::vector<ByteOfNode> bytes(20000, {1, I, 1, "Value"});
    const std::vector<std::string> symbols = SymbolsOf(bytes);
    EXPECT_EQ(symbols[1], "Value_2");
    EXPECT_EQ(symbols.back(), "Value_20000");
}

// The node style says whose byte it is; both mnemonics are reduced alike and the whole is cut to 24 characters.
TEST(PlcSymbols, TheNodeStyleJoinsTheNodesMnemonicAndTheBytes) {
    const struct {
        std::string node;
        std::string byte;
        MapArea area;
        const char* symbol;
    } cases[] = {
        {"Valve 3", "Open?", I, "Valve_3_Open"},
        {"", "Open", I, "N5_Open"},
        {"Drive", "", Q, "Drive_Q2"},
        {"3rd drive", "Speed", I, "N5_3rd_drive_Speed"},
        {"Conveyor drive north", "Actual speed", I, "Conveyor_drive_north_Act"},
        {"Conveyor drive north side", "x", I, "Conveyor_drive_north_sid"},
    };
    for (const auto& c : cases) {
        AddressMap map;
        map.symbols = SymbolStyle::Node;
        AddressMapRow row;
        row.area = c.area;
        row.id = 5;
        row.byte = 2;
        row.nodeMnemonic = c.node;
        row.mnemonic = c.byte;
        (c.area == I ? map.input : map.output).push_back(row);
        AssignPlcSymbols(map);
        EXPECT_EQ((c.area == I ? map.input : map.output)[0].symbol, c.symbol) << c.node << " / " << c.byte;
    }
}

}  // namespace
