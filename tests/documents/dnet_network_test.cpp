#include "documents/dnet_network.h"

#include <gtest/gtest.h>

#include "documents/document_error.h"
#include "documents/xml_document.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

DNetRows RowsOf(std::initializer_list<DNetRow> list) {
    DNetRows rows;
    std::copy(list.begin(), list.end(), rows.begin());
    return rows;
}

std::string RowXml(const std::string& id, const std::string& mnemonic = "") {
    return "<row ID=\"" + id + "\" NB_IN=\"1\" NB_OUT=\"2\" Mnemonic=\"" + mnemonic + "\"/>";
}

std::string Saved(const DNetRows& rows) {
    TempDir dir;
    XmlDocument doc;
    SaveDNetNetwork(doc, dir.File("DNET_Net.xml"), rows);
    return dir.Read("DNET_Net.xml");
}

// The rows as a later showing of the editor reads them after they were written.
DNetRows WrittenAndReadBack(const DNetRows& rows) {
    TempDir dir;
    XmlDocument doc;
    SaveDNetNetwork(doc, dir.File("DNET_Net.xml"), rows);
    DNetRows back;
    LoadDNetNetwork(dir.File("DNET_Net.xml"), back);
    return back;
}

TEST(DNetNetwork, TwoNodeDocumentLoadsAndIsWrittenBackByteForByte) {
    DNetRows rows;
    LoadDNetNetwork(FixturePath("dnet_two_nodes/DNET_Net.xml"), rows);
    EXPECT_EQ(rows, RowsOf({{"5", "4", "2", "Valve 3"}, {"12", "10", "0", ""}}));
    EXPECT_EQ(Saved(rows), ReadFixture("dnet_two_nodes/DNET_Net.xml"));
}

TEST(DNetNetwork, TheListEndsAtTheFirstEmptyId) {
    struct Case {
        const char* name;
        DNetRows rows;
        std::optional<std::string> refusal;
        std::string written;  // when accepted
    };
    DNetRows gap = RowsOf({{"1", "1", "2", ""}, {"2", "1", "2", ""}, {"3", "1", "2", ""}, {"", "9", "9", "lost"}});
    gap[4] = {"bad", "bad", "bad", "after the gap"};  // neither tested nor written
    const Case cases[] = {
        {"empty grid", DNetRows{}, std::nullopt, "<DNET_Net/>"},
        {"row 4 empty", gap, std::nullopt, "<DNET_Net>" + RowXml("1") + RowXml("2") + RowXml("3") + "</DNET_Net>"},
        {"blank ID is not empty", RowsOf({{"1", "1", "2", ""}, {" ", "1", "2", ""}}),
         "Error in row 2!! ID must be between 0 and 63. ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckRows(c.rows), c.refusal);
        if (!c.refusal) {
            EXPECT_EQ(Saved(c.rows), c.written);
        }
    }
}

TEST(DNetNetwork, TheFirstRowBelowTheListThatHoldsAnythingIsFound) {
    const DNetRow node{"1", "1", "2", ""};
    DNetRows stranded = RowsOf({node, {}, {}});
    stranded[40].Mnemonic = " ";
    stranded[63].ID = "5";
    const struct {
        const char* name;
        DNetRows rows;
        std::optional<size_t> found;
    } cases[] = {
        {"empty grid", DNetRows{}, std::nullopt},
        {"list only", RowsOf({node, node}), std::nullopt},
        {"a blank mnemonic counts", stranded, 40},
        {"the row right below the gap", RowsOf({node, {}, node}), 2},
        {"a forgotten ID ends the list and is found itself", RowsOf({node, {"", "4", "", ""}}), 1},
        {"a forgotten ID in the first row", RowsOf({{"", "", "", "Valve"}}), 0},
        {"a full grid has nothing below",
         [&] {
             DNetRows full;
             full.fill(node);
             return full;
         }(),
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FirstRowBelowTheList(c.rows), c.found);
    }
}

TEST(DNetNetwork, CheckReportsTheFirstFailureInRowThenColumnOrder) {
    struct Case {
        DNetRow row;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {{"0", "0", "0", ""}, nullptr},
        {{"63", "65535", "65535", "anything <&>"}, nullptr},
        {{" 7", "$FFFF", "0x10", ""}, nullptr},
        {{"64", "", "", ""}, "ID must be between 0 and 63. "},
        {{"-1", "1", "1", ""}, "ID must be between 0 and 63. "},
        {{"x", "1", "1", ""}, "ID must be between 0 and 63. "},
        {{"7 ", "1", "1", ""}, "ID must be between 0 and 63. "},
        {{"1", "", "", ""}, "Number Byte IN must be between 0 and 65535. "},
        {{"1", "65536", "1", ""}, "Number Byte IN must be between 0 and 65535. "},
        {{"1", "1", "65536", ""}, "Number Byte OUT must be between 0 and 65535. "},
        {{"1", "1", "-1", ""}, "Number Byte OUT must be between 0 and 65535. "},
    };
    for (const Case& c : cases) {
        // The row under test is the third: the number in the message is the row's, counted from 1.
        const DNetRows rows = RowsOf({{"1", "1", "1", ""}, {"1", "1", "1", ""}, c.row, {"bad", "", "", ""}});
        const std::optional<std::string> result = CheckRows(rows);
        if (c.message) {
            EXPECT_EQ(result, std::string("Error in row 3!! ") + c.message) << c.row.ID << "/" << c.row.NB_IN;
        } else {
            EXPECT_EQ(result, "Error in row 4!! ID must be between 0 and 63. ") << c.row.ID << "/" << c.row.NB_IN;
        }
    }
}

TEST(DNetNetwork, AllSixtyFourRowsAreTestedAndWritten) {
    DNetRows rows;
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = {"3", std::to_string(i), "0", "n" + std::to_string(i + 1)};
    rows[63].NB_OUT = "65536";
    EXPECT_EQ(CheckRows(rows), "Error in row 64!! Number Byte OUT must be between 0 and 65535. ");
    rows[63].NB_OUT = "65535";
    EXPECT_EQ(CheckRows(rows), std::nullopt);

    EXPECT_EQ(WrittenAndReadBack(rows), rows);
}

TEST(DNetNetwork, RowsBeyondSixtyFourAreNeitherShownNorWritten) {
    TempDir dir;
    std::string document = "<DNET_Net>";
    for (int i = 1; i <= 70; ++i) document += RowXml(std::to_string(i % 64), "node " + std::to_string(i));
    const std::string path = dir.Write("DNET_Net.xml", document + "</DNET_Net>");
    DNetRows rows;
    LoadDNetNetwork(path, rows);
    EXPECT_EQ(rows[63], (DNetRow{"0", "1", "2", "node 64"}));

    XmlDocument doc;
    SaveDNetNetwork(doc, path, rows);
    doc.LoadFile(path);
    EXPECT_EQ(ChildCount(doc.FirstTopLevelNode()), 64u);
}

TEST(DNetNetwork, TextsSurviveAWriteAndARead) {
    const DNetRows rows = RowsOf({{" 7", "", "x", "a&b <\"c\"> '\xC3\xA9\xE2\x82\xAC'"}, {"8", "1", "1", "\t"}});
    EXPECT_EQ(WrittenAndReadBack(rows), rows);
}

TEST(DNetNetwork, FailedLoadKeepsTheCellsReadBeforeIt) {
    TempDir dir;
    const std::string path =
        dir.Write("DNET_Net.xml", "<DNET_Net>\n  " + RowXml("5", "first") + "\n  <node ID=\"6\" NB_IN=\"3\"/>" +
                                      RowXml("7") + "</DNET_Net>");
    DNetRows rows;
    try {
        LoadDNetNetwork(path, rows);
        FAIL() << "missing attribute accepted";
    } catch (const DocumentError& e) {
        EXPECT_EQ(std::string(e.what()), "Attribute \"NB_OUT\" is missing in element \"node\" (in " + path + ")");
    }
    EXPECT_EQ(rows, RowsOf({{"5", "1", "2", "first"}, {"6", "3", "", ""}}));
}

TEST(DNetNetwork, MissingDocumentChangesNothing) {
    TempDir dir;
    DNetRows rows = RowsOf({{"1", "2", "3", "kept"}});
    LoadDNetNetwork(dir.File("DNET_Net.xml"), rows);
    EXPECT_EQ(rows, RowsOf({{"1", "2", "3", "kept"}}));
}

}  // namespace
