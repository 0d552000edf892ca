#include "plc/address_map_export.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <regex>
#include <string>
#include <vector>

#include "plc/plc_symbols.h"
#include "support/xml_characters.h"

using namespace tessara::documents;
using namespace tessara::plc;

namespace {

// Mnemonics as a user may type them: quotes, commas, markup, a line break, a byte that is not UTF-8; the
// third input byte lies beyond its area.
AddressMap HostileMap() {
    const std::string node = "Valve \"A\", <B>";
    const std::vector<NodeIo> nodes = {
        {1, 5, node, 3, 0, {{1, "Say \"hi\", <now> & go"}, {2, "F\xC3\xBCll\xFF"}, {3, "line\nbreak"}}, {}},
        {2, 12, "", 0, 1, {}, {{1, ""}}}};
    return BuildAddressMap("Plant <1> & \"2\"", nodes,
                           ProfibusLayout({2, 1}, {{MapArea::Input, 1, 12}, {MapArea::Output, 1, 3}}));
}

// Input bytes of one node (ID 5) at IB 0 on, one per mnemonic, in a single slot.
AddressMap InputMap(const std::string& nodeMnemonic, const std::vector<std::string>& mnemonics) {
    NodeIo node{1, 5, nodeMnemonic, static_cast<uint32_t>(mnemonics.size()), 0, {}, {}};
    for (size_t k = 0; k < mnemonics.size(); ++k)
        node.selectedIn.push_back({static_cast<uint32_t>(k + 1), mnemonics[k]});
    return BuildAddressMap("Plant", {node}, ProfibusLayout({static_cast<int32_t>(mnemonics.size()), 0}, {}));
}

TEST(AddressMapExport, JsonHasExactlyTheKeysOfARowAndEscapesEveryText) {
    const std::string json = FormatAddressMap(HostileMap(), MapFormat::Json);
    const std::string node = "\"node\":1,\"id\":5,\"nodeMnemonic\":\"Valve \\\"A\\\", <B>\"";
    EXPECT_EQ(json,
              std::string("{\"rule\":\"") + kAddressMapRule +
                  "\",\"plcByteOrder\":\"big\",\"slots\":[{\"slot\":1,\"area\":\"input\",\"size\":2,\"start\":12},{"
                  "\"slot\":2,\"area\":"
                  "\"output\",\"size\":1,\"start\":3}],\"input\":[" +
                  "{\"offset\":0,\"slot\":1,\"slotOffset\":0,\"address\":12," + node +
                  ",\"byte\":1,\"mnemonic\":\"Say \\\"hi\\\", <now> & "
                  "go\",\"symbol\":\"Say_hi_now_go\",\"type\":\"BYTE\",\"size\":1,\"byteOrder\":null,\"swap\":false,"
                  "\"fits\":true,\"reason\":null}," +
                  "{\"offset\":1,\"slot\":1,\"slotOffset\":1,\"address\":13," + node +
                  ",\"byte\":2,\"mnemonic\":\"F\xC3\xBCll\xEF\xBF\xBD\",\"symbol\":\"F_ll\",\"type\":\"BYTE\",\"size\":"
                  "1,\"byteOrder\":null,\"swap\":false,\"fits\":true,"
                  "\"reason\":null}," +
                  "{\"offset\":2,\"slot\":null,\"slotOffset\":null,\"address\":null," + node +
                  ",\"byte\":3,\"mnemonic\":\"line\\u000abreak\",\"symbol\":\"line_break\",\"type\":\"BYTE\",\"size\":"
                  "1,\"byteOrder\":null,\"swap\":false,\"fits\":false,"
                  "\"reason\":\"past the 2 bytes of pargen.xml\"}],"
                  "\"output\":[{\"offset\":0,\"slot\":2,\"slotOffset\":0,\"address\":3,\"node\":2,\"id\":12,"
                  "\"nodeMnemonic\":\"\",\"byte\":1,\"mnemonic\":\"\",\"symbol\":\"N12_Q1\",\"type\":\"BYTE\",\"size\":"
                  "1,\"byteOrder\":null,\"swap\":false,\"fits\":true,"
                  "\"reason\":null}],\"unmadeTags\":[]}\n");
}

TEST(AddressMapExport, CsvQuotesFieldsAsRfc4180AndTakesAByteOrderMarkOnRequest) {
    const std::string csv =
        "area,offset,slot,slotOffset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,type,size,byteOrder,swap,fits,"
        "reason\r\n"
        "input,0,1,0,12,1,5,\"Valve \"\"A\"\", <B>\",1,\"Say \"\"hi\"\", <now> & "
        "go\",Say_hi_now_go,BYTE,1,,false,true,\r\n"
        "input,1,1,1,13,1,5,\"Valve \"\"A\"\", <B>\",2,F\xC3\xBCll\xEF\xBF\xBD,F_ll,BYTE,1,,false,true,\r\n"
        "input,2,,,,1,5,\"Valve \"\"A\"\", <B>\",3,\"line\nbreak\",line_break,BYTE,1,,false,false,past the 2 bytes of "
        "pargen.xml\r\n"
        "output,0,2,0,3,2,12,,1,,N12_Q1,BYTE,1,,false,true,\r\n";
    EXPECT_EQ(FormatAddressMap(HostileMap(), MapFormat::Csv), csv);
    EXPECT_EQ(FormatAddressMap(HostileMap(), MapFormat::Csv, {true}), "\xEF\xBB\xBF" + csv);
}

// A spreadsheet takes a cell starting with =, +, -, @, a tab or a carriage return for a formula: in the CSV only,
// such a text gets an apostrophe in front, which the spreadsheet shows as text.
TEST(AddressMapExport, CsvKeepsMnemonicsFromBecomingFormulas) {
    const struct {
        const char* mnemonic;
        const char* field;
    } cases[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1", "'+1"},
        {"-5", "'-5"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tTab", "'\tTab"},
        {"\rCR", "\"'\rCR\""},
        {"a=b", "a=b"},
        {" =1", " =1"},
    };
    for (const auto& c : cases) {
        AddressMap map = InputMap(c.mnemonic, {c.mnemonic});
        map.input[0].symbol = "S";
        const std::string field = c.field;
        EXPECT_EQ(
            FormatAddressMap(map, MapFormat::Csv, {true}),
            "\xEF\xBB\xBF"
            "area,offset,slot,slotOffset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,type,size,byteOrder,swap,"
            "fits,reason\r\ninput,0,1,0,0,1,5," +
                field + ",1," + field + ",S,BYTE,1,,false,true,\r\n");
    }
    const AddressMap map = InputMap("Pump", {"=1+2"});
    EXPECT_NE(FormatAddressMap(map, MapFormat::Json).find("\"mnemonic\":\"=1+2\""), std::string::npos);
    EXPECT_NE(FormatAddressMap(map, MapFormat::Text).find("  =1+2  "), std::string::npos);
    EXPECT_NE(FormatAddressMap(map, MapFormat::Sdf).find("\"Pump, node 1"), std::string::npos);
}

// Fixed-width quoted fields, as STEP 7's symbol import reads them; a byte beyond its area has no address. The
// comment names the node by its mnemonic too.
TEST(AddressMapExport, SdfListsTheBytesThatFitInPaddedFields) {
    EXPECT_EQ(
        FormatAddressMap(HostileMap(), MapFormat::Sdf),
        "\"Say_hi_now_go           \",\"IB 12       \",\"BYTE      \",\"Valve \"A\", <B>, node 1 (ID 5) byte 1" +
            std::string(44, ' ') + "\"\r\n" +
            "\"F_ll                    \",\"IB 13       \",\"BYTE      \",\"Valve \"A\", <B>, node 1 (ID 5) byte 2" +
            std::string(44, ' ') + "\"\r\n" +
            "\"N12_Q1                  \",\"QB 3        \",\"BYTE      \",\"node 2 (ID 12) byte 1" +
            std::string(59, ' ') + "\"\r\n");
    // A long node mnemonic is cut with the comment at its 80 characters, never inside a character.
    AddressMap map = HostileMap();
    map.output[0].nodeMnemonic = std::string(76, 'x') + "\xC3\xBC\xC3\xBC";
    const std::string sdf = FormatAddressMap(map, MapFormat::Sdf);
    EXPECT_NE(sdf.find(",\"" + std::string(76, 'x') + "\xC3\xBC\xC3\xBC, \"\r\n"), std::string::npos) << sdf;
}

TEST(AddressMapExport, TextTableKeepsEveryRowOnOneAlignedLine) {
    EXPECT_EQ(
        FormatAddressMap(HostileMap(), MapFormat::Text),
        std::string(kAddressMapRule) +
            "\n\nPLC byte order: big\n"
            "\nSlots\nSlot 1  input  2 bytes  from IB 12\nSlot 2  output  1 byte  from QB 3\n"
            "\nPROFIBUS input area\n"
            "Address  Slot  Offset  Node  ID  Node mnemonic   Byte  Mnemonic              Symbol         Type  Size  "
            "Order  Swap  Fits\n"
            "IB 12       1       0     1   5  Valve \"A\", <B>     1  Say \"hi\", <now> & go  Say_hi_now_go  BYTE     1"
            "               yes\n"
            "IB 13       1       1     1   5  Valve \"A\", <B>     2  F\xC3\xBCll\xEF\xBF\xBD                 F_ll"
            "           BYTE     1               yes\n"
            "-           -       2     1   5  Valve \"A\", <B>     3  line break            line_break     BYTE     1"
            "               no: past the 2 bytes of pargen.xml\n"
            "\nPROFIBUS output area\n"
            "Address  Slot  Offset  Node  ID  Node mnemonic  Byte  Mnemonic  Symbol  Type  Size  Order  Swap  Fits\n"
            "QB 3        2       0     2  12                    1            N12_Q1  BYTE     1               yes\n");
}

// A cell wider than 40 characters keeps 39 and an ellipsis, so one long mnemonic cannot pad every line; what a
// terminal would act on (C1 controls, a direction override) is shown escaped, as in the check's output. The
// other formats keep the whole text.
TEST(AddressMapExport, TextCutsLongCellsAndEscapesWhatWouldActOnTheTerminal) {
    std::string umlauts;
    for (int k = 0; k < 50; ++k) umlauts += "\xC3\xA4";
    AddressMap map = InputMap(std::string(2000, 'x'), {"\xE2\x80\xAE" + umlauts + "\xC2\x9B", "\xE2\x80\xAEOff"});
    map.input[1].nodeMnemonic = "Pump";
    const std::string cut = std::string(39, 'x') + "\xE2\x80\xA6";
    const std::string mnemonic = "\\u202e" + umlauts.substr(0, 2 * 33) + "\xE2\x80\xA6";
    EXPECT_EQ(FormatAddressMap(map, MapFormat::Text),
              std::string(kAddressMapRule) + "\n\nPLC byte order: big\n" +
                  "\nSlots\nSlot 1  input  2 bytes  from IB 0 (default)\n" + "\nPROFIBUS input area\n" +
                  "Address  Slot  Offset  Node  ID  Node mnemonic" + std::string(29, ' ') + "Byte  Mnemonic" +
                  std::string(34, ' ') + "Symbol  Type  Size  Order  Swap  Fits\n" +
                  "IB 0        1       0     1   5  " + cut + "     1  " + mnemonic + "  N5_I1   BYTE     1" +
                  std::string(15, ' ') + "yes\n" + "IB 1        1       1     1   5  Pump" + std::string(36, ' ') +
                  "     2  \\u202eOff" + std::string(31, ' ') + "  Off     BYTE     1" + std::string(15, ' ') +
                  "yes\n" + "\nPROFIBUS output area\nNo selected bytes.\n");
    const std::string csv = FormatAddressMap(map, MapFormat::Csv);
    EXPECT_NE(csv.find(std::string(2000, 'x')), std::string::npos);
    EXPECT_NE(csv.find(umlauts), std::string::npos);
}

std::vector<std::string> ChildNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children()) names.emplace_back(child.name());
    return names;
}

// The order of elements the TC6 v2.01 schema validates, read back with every name and address.
TEST(AddressMapExport, PlcOpenHasTheShapeOfTc6AndOneVariablePerByteThatFits) {
    const std::string xml = FormatAddressMap(HostileMap(), MapFormat::PlcOpen);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str())) << xml;
    const pugi::xml_node project = doc.document_element();
    EXPECT_STREQ(project.name(), "project");
    EXPECT_STREQ(project.attribute("xmlns").value(), "http://www.plcopen.org/xml/tc6_0201");
    EXPECT_STREQ(project.attribute("xmlns:xhtml").value(), "http://www.w3.org/1999/xhtml");
    EXPECT_EQ(ChildNames(project), (std::vector<std::string>{"fileHeader", "contentHeader", "types", "instances"}));

    const pugi::xml_node header = project.child("fileHeader");
    for (const char* attribute : {"companyName", "productName", "productVersion"}) {
        EXPECT_STRNE(header.attribute(attribute).value(), "") << attribute;
    }
    EXPECT_TRUE(std::regex_match(header.attribute("creationDateTime").value(),
                                 std::regex("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ")));
    const pugi::xml_node content = project.child("contentHeader");
    EXPECT_STREQ(content.attribute("name").value(), "Plant <1> & \"2\"");
    EXPECT_EQ(ChildNames(content), std::vector<std::string>{"coordinateInfo"});
    const pugi::xml_node coordinates = content.child("coordinateInfo");
    EXPECT_EQ(ChildNames(coordinates), (std::vector<std::string>{"fbd", "ld", "sfc"}));
    for (pugi::xml_node editor : coordinates.children()) {
        EXPECT_STREQ(editor.child("scaling").attribute("x").value(), "1");
        EXPECT_STREQ(editor.child("scaling").attribute("y").value(), "1");
    }
    EXPECT_EQ(ChildNames(project.child("types")), (std::vector<std::string>{"dataTypes", "pous"}));
    EXPECT_TRUE(project.child("types").child("dataTypes").first_child().empty());

    const pugi::xml_node globalVars =
        project.first_element_by_path("instances/configurations/configuration/resource/globalVars");
    ASSERT_TRUE(globalVars);
    const struct {
        const char* name;
        const char* address;
        const char* documentation;
    } expected[] = {
        {"Say_hi_now_go", "%IB12", "Say \"hi\", <now> & go: Valve \"A\", <B>, node 1 (ID 5) byte 1"},
        {"F_ll", "%IB13", "F\xC3\xBCll\xEF\xBF\xBD: Valve \"A\", <B>, node 1 (ID 5) byte 2"},
        {"N12_Q1", "%QB3", "node 2 (ID 12) byte 1"},
    };
    std::vector<pugi::xml_node> variables(globalVars.children().begin(), globalVars.children().end());
    ASSERT_EQ(variables.size(), std::size(expected));
    for (size_t k = 0; k < variables.size(); ++k) {
        const pugi::xml_node variable = variables[k];
        EXPECT_STREQ(variable.name(), "variable");
        EXPECT_STREQ(variable.attribute("name").value(), expected[k].name);
        EXPECT_STREQ(variable.attribute("address").value(), expected[k].address);
        EXPECT_EQ(ChildNames(variable), (std::vector<std::string>{"type", "documentation"}));
        EXPECT_EQ(ChildNames(variable.child("type")), std::vector<std::string>{"BYTE"});
        EXPECT_STREQ(variable.child("documentation").child("xhtml:p").text().get(), expected[k].documentation);
    }
}

// A mnemonic or folder name may hold any character; the PLCopen document holds none that XML forbids, whatever
// reader opens it, and blanks take their place as they take that of the other controls.
TEST(AddressMapExport, PlcOpenHoldsNoCharacterXmlForbids) {
    AddressMap map = InputMap("\x02Node\xEF\xBF\xBF", {"a\xEF\xBF\xBF\x1F\x0B\xFF\xEF\xBF\xBE"});
    map.project = "Plant\xEF\xBF\xBE\x01";
    const std::string xml = FormatAddressMap(map, MapFormat::PlcOpen);
    EXPECT_EQ(FirstCharacterXmlForbids(xml), std::string::npos) << xml;
    EXPECT_NE(xml.find("name=\"Plant  \""), std::string::npos);
    EXPECT_NE(xml.find(">a   \xEF\xBF\xBD :  Node , node 1 (ID 5) byte 1<"), std::string::npos) << xml;
}

}  // namespace
