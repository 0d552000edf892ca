#include "plc/address_map_export.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <regex>
#include <string>
#include <vector>

#include "plc/plc_symbols.h"

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

TEST(AddressMapExport, JsonHasExactlyTheKeysOfARowAndEscapesEveryText) {
    const std::string json = FormatAddressMap(HostileMap(), MapFormat::Json);
    const std::string node = "\"node\":1,\"id\":5,\"nodeMnemonic\":\"Valve \\\"A\\\", <B>\"";
    EXPECT_EQ(json, std::string("{\"rule\":\"") + kAddressMapRule +
                        "\",\"slots\":[{\"slot\":1,\"area\":\"input\",\"size\":2,\"start\":12},{\"slot\":2,\"area\":"
                        "\"output\",\"size\":1,\"start\":3}],\"input\":[" +
                        "{\"offset\":0,\"slot\":1,\"slotOffset\":0,\"address\":12," + node +
                        ",\"byte\":1,\"mnemonic\":\"Say \\\"hi\\\", <now> & go\",\"symbol\":\"Say_hi_now_go\","
                        "\"fits\":true,\"reason\":null}," +
                        "{\"offset\":1,\"slot\":1,\"slotOffset\":1,\"address\":13," + node +
                        ",\"byte\":2,\"mnemonic\":\"F\xC3\xBCll\xEF\xBF\xBD\",\"symbol\":\"F_ll\",\"fits\":true,"
                        "\"reason\":null}," +
                        "{\"offset\":2,\"slot\":null,\"slotOffset\":null,\"address\":null," + node +
                        ",\"byte\":3,\"mnemonic\":\"line\\u000abreak\",\"symbol\":\"line_break\",\"fits\":false,"
                        "\"reason\":\"past the 2 bytes of pargen.xml\"}],"
                        "\"output\":[{\"offset\":0,\"slot\":2,\"slotOffset\":0,\"address\":3,\"node\":2,\"id\":12,"
                        "\"nodeMnemonic\":\"\",\"byte\":1,\"mnemonic\":\"\",\"symbol\":\"N12_Q1\",\"fits\":true,"
                        "\"reason\":null}]}\n");
}

TEST(AddressMapExport, CsvQuotesFieldsAsRfc4180AndTakesAByteOrderMarkOnRequest) {
    const std::string csv =
        "area,offset,slot,slotOffset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,fits,reason\r\n"
        "input,0,1,0,12,1,5,\"Valve \"\"A\"\", <B>\",1,\"Say \"\"hi\"\", <now> & go\",Say_hi_now_go,true,\r\n"
        "input,1,1,1,13,1,5,\"Valve \"\"A\"\", <B>\",2,F\xC3\xBCll\xEF\xBF\xBD,F_ll,true,\r\n"
        "input,2,,,,1,5,\"Valve \"\"A\"\", <B>\",3,\"line\nbreak\",line_break,false,past the 2 bytes of pargen.xml\r\n"
        "output,0,2,0,3,2,12,,1,,N12_Q1,true,\r\n";
    EXPECT_EQ(FormatAddressMap(HostileMap(), MapFormat::Csv), csv);
    EXPECT_EQ(FormatAddressMap(HostileMap(), MapFormat::Csv, {true}), "\xEF\xBB\xBF" + csv);
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
            "\n\nSlots\nSlot 1  input  2 bytes  from IB 12\nSlot 2  output  1 byte  from QB 3\n"
            "\nPROFIBUS input area\n"
            "Address  Slot  Offset  Node  ID  Node mnemonic   Byte  Mnemonic              Symbol         Fits\n"
            "IB 12       1       0     1   5  Valve \"A\", <B>     1  Say \"hi\", <now> & go  Say_hi_now_go  yes\n"
            "IB 13       1       1     1   5  Valve \"A\", <B>     2  F\xC3\xBCll\xEF\xBF\xBD                 F_ll"
            "           yes\n"
            "-           -       2     1   5  Valve \"A\", <B>     3  line break            line_break     no: "
            "past the 2 bytes of pargen.xml\n"
            "\nPROFIBUS output area\n"
            "Address  Slot  Offset  Node  ID  Node mnemonic  Byte  Mnemonic  Symbol  Fits\n"
            "QB 3        2       0     2  12                    1            N12_Q1  yes\n");
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

}  // namespace
