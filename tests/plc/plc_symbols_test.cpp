#include "plc/plc_symbols.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
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
        {"reserved words of IEC 61131-3", {{1, I, 1, "IF"}, {1, I, 2, "byte"}}, {"IF_2", "byte_2"}},
        {"longer names are cut at 24 characters, and before the clash number",
         {{1, I, 1, "abcdefghijklmnopqrstuvwxyz"},
          {1, I, 2, "abcdefghijklmnopqrstuvwxyz"},
          {1, I, 3, "abcdefghijklmnopqrstuvw_yz"}},
         {"abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqrstuv_2", "abcdefghijklmnopqrstuvw"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SymbolsOf(c.bytes), c.symbols) << c.what;
}

// Whatever the mnemonics, every symbol is an identifier a PLC takes, and no two are the same to it.
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
    };
    std::vector<ByteOfNode> bytes;
    for (size_t k = 0; k < mnemonics.size(); ++k) bytes.push_back({1, I, static_cast<uint32_t>(k + 1), mnemonics[k]});
    const std::regex identifier("[A-Za-z][A-Za-z0-9]*(_[A-Za-z0-9]+)*");
    std::set<std::string> seen;
    for (const std::string& symbol : SymbolsOf(bytes)) {
        EXPECT_TRUE(std::regex_match(symbol, identifier)) << symbol;
        EXPECT_LE(symbol.size(), kPlcSymbolLength) << symbol;
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
