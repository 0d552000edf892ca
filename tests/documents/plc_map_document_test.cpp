#include "documents/plc_map_document.h"

#include <gtest/gtest.h>

#include "documents/document_error.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

const PlcMapDocument kDocument{
    {{AreaDirection::Input, 1, 12}, {AreaDirection::Output, 2, 300}},
    {{"Speed", AreaDirection::Input, 2, 3, TagType::Int, ByteOrder::Little},
     {"Flow", AreaDirection::Output, 1, 1, TagType::Lreal, ByteOrder::Big}},
    ByteOrder::Little,
    TagExport{
        "2026-12-11T06:00:00Z", "node", {{"Status", AreaDirection::Input, 12}, {"Cmd", AreaDirection::Output, 0}}}};

TEST(PlcMapDocument, AProjectWithoutItFollowsEverySlotFromZero) {
    TempDir project;
    EXPECT_EQ(LoadPlcMap(project.path()), PlcMapDocument{});
}

TEST(PlcMapDocument, IsWrittenCompactAndReadBackWhole) {
    TempDir project;
    SavePlcMap(project.path(), kDocument);
    EXPECT_EQ(project.Read("PlcMap.xml"),
              "<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"12\"/><Slot Area=\"output\" Position=\"2\" "
              "Start=\"300\"/><TypedTag Name=\"Speed\" Area=\"input\" Node=\"2\" Byte=\"3\" Type=\"INT\" "
              "ByteOrder=\"little\"/><TypedTag Name=\"Flow\" Area=\"output\" Node=\"1\" Byte=\"1\" Type=\"LREAL\" "
              "ByteOrder=\"big\"/><Plc ByteOrder=\"little\"/><Export Date=\"2026-12-11T06:00:00Z\" "
              "Symbols=\"node\"><Tag Symbol=\"Status\" "
              "Area=\"input\" Address=\"12\"/><Tag Symbol=\"Cmd\" Area=\"output\" Address=\"0\"/></Export></PlcMap>");
    EXPECT_EQ(LoadPlcMap(project.path()), kDocument);
}

// A newer tool's additions survive a save by this one; the elements this tool writes are replaced, not repeated.
TEST(PlcMapDocument, KeepsWhatItDoesNotKnowOnSave) {
    TempDir project;
    project.Write("PlcMap.xml",
                  "<PlcMap Version=\"9\"><Unit>kPa</Unit><Slot Area=\"input\" Position=\"1\" Start=\"5\"/>"
                  "<Plc ByteOrder=\"big\"/><Scaling Tag=\"Speed\"/></PlcMap>");
    SavePlcMap(project.path(), {{{AreaDirection::Input, 1, 7}}, {}, std::nullopt, std::nullopt});
    EXPECT_EQ(project.Read("PlcMap.xml"),
              "<PlcMap Version=\"9\"><Unit>kPa</Unit><Scaling Tag=\"Speed\"/><Slot Area=\"input\" "
              "Position=\"1\" Start=\"7\"/></PlcMap>");
}

TEST(PlcMapDocument, RefusesWhatItCannotUnderstandAndReplacesNoUnreadableFile) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"<PlcMap><Slot Area=\"in\" Position=\"1\" Start=\"5\"/></PlcMap>", "slot element 1"},
        {"<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"5\"/><Slot Area=\"input\" Position=\"0\" Start=\"5\"/>"
         "</PlcMap>",
         "Attribute \"Position\": 0 is not from 1 to 65535"},
        {"<PlcMap><Slot Area=\"input\" Position=\"1\" Start=\"65536\"/></PlcMap>", "65536 is not from 0 to 65535"},
        {"<PlcMap><Slot Area=\"input\" Position=\"1\"/></PlcMap>", "\"Start\" is missing"},
        {"<PlcMap><Export Date=\"d\"><Tag Symbol=\"A\" Area=\"input\" Address=\"x\"/></Export></PlcMap>", "tag 1"},
        {"<PlcMap><TypedTag Name=\"A\" Area=\"input\" Node=\"1\" Byte=\"1\" Type=\"SHORT\" ByteOrder=\"little\"/>"
         "</PlcMap>",
         "typed tag 1"},
        {"<PlcMap><TypedTag Name=\"A\" Area=\"input\" Node=\"1\" Byte=\"0\" Type=\"INT\" ByteOrder=\"little\"/>"
         "</PlcMap>",
         "Attribute \"Byte\": 0 is not from 1"},
        {"<PlcMap><TypedTag Name=\"\" Area=\"input\" Node=\"1\" Byte=\"1\" Type=\"INT\" ByteOrder=\"little\"/>"
         "</PlcMap>",
         "Attribute \"Name\" is empty"},
        {"<PlcMap><TypedTag Name=\"A\" Area=\"input\" Node=\"1\" Byte=\"1\" Type=\"INT\" ByteOrder=\"middle\"/>"
         "</PlcMap>",
         "'middle' is neither little nor big"},
        {"<PlcMap><Plc ByteOrder=\"BIG\"/></PlcMap>", "Plc element"},
    };
    for (const Case& c : cases) {
        TempDir project;
        project.Write("PlcMap.xml", c.text);
        try {
            LoadPlcMap(project.path());
            ADD_FAILURE() << c.text;
        } catch (const DocumentError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(e.File().find("PlcMap.xml"), std::string::npos);
        }
    }
    TempDir project;
    project.Write("PlcMap.xml", "<PlcMap><Slot");
    EXPECT_THROW(LoadPlcMap(project.path()), ParseError);
    EXPECT_THROW(SavePlcMap(project.path(), kDocument), ParseError);
    EXPECT_EQ(project.Read("PlcMap.xml"), "<PlcMap><Slot");
}

}  // namespace
