#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "documents/comm_settings.h"
#include "documents/def_byte.h"
#include "documents/dnet_network.h"
#include "documents/document_error.h"
#include "support/hostile_text.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

// Project folders travel by e-mail and USB stick: each editor's loader takes whatever bytes arrive and gives
// a clear error or a correct load, never a crash.

const std::string kPargen =
    "<Par_Gen><PROFI_ID>7</PROFI_ID><PROFI_BAUD>3</PROFI_BAUD><PROFI_NB_IN>16</PROFI_NB_IN>"
    "<PROFI_NB_OUT>8</PROFI_NB_OUT><DNET_DEV_ID>2</DNET_DEV_ID><DNET_BAUD>1</DNET_BAUD></Par_Gen>";
const std::string kNetwork = "<DNET_Net><row ID=\"5\" NB_IN=\"2\" NB_OUT=\"1\" Mnemonic=\"Valve\"/></DNET_Net>";

// Runs the loader and gives the type of what it threw, "" when it loaded.
std::string Outcome(const std::function<void()>& load) {
    try {
        load();
        return "";
    } catch (const ParseError&) {
        return "ParseError";
    } catch (const DocumentError&) {
        return "DocumentError";
    }
}

TEST(DocumentModelsHostile, EachLoaderRefusesOrReadsHostileDocuments) {
    struct Case {
        const char* what;
        std::string pargen, network;
        const char* pargenOutcome;
        const char* networkOutcome;
        const char* nodesOutcome;  // the byte editor converts the numbers that the network editor keeps as text
    };
    const Case cases[] = {
        {"100 000 levels", DeepDocument("Par_Gen"), DeepDocument("DNET_Net"), "DocumentError", "DocumentError",
         "DocumentError"},
        {"NUL byte", std::string("<Par_Gen>\0</Par_Gen>", 20), std::string("<DNET_Net\0/>", 12), "ParseError",
         "ParseError", "ParseError"},
        {"UTF-16", Utf16(kPargen), Utf16(kNetwork), "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string pargen = dir.Write("pargen.xml", c.pargen);
        const std::string network = dir.Write("DNET_Net.xml", c.network);
        CommSettings settings;
        EXPECT_EQ(Outcome([&] { LoadCommSettings(pargen, settings); }), c.pargenOutcome);
        DNetRows rows;
        EXPECT_EQ(Outcome([&] { LoadDNetNetwork(network, rows); }), c.networkOutcome);
        XmlDocument xml;
        DefByteTable table;
        size_t nodesRead = 0;
        EXPECT_EQ(Outcome([&] { ReadDNetNodes(xml, network, table, nodesRead); }), c.nodesOutcome);
    }
}

TEST(DocumentModelsHostile, Utf16ReadsTheValues) {
    TempDir dir;
    DNetRows rows;
    CommSettings settings;
    LoadCommSettings(dir.Write("pargen.xml", Utf16(kPargen)), settings);
    EXPECT_EQ(settings.ProfiId, "7");
    EXPECT_EQ(settings.ProfiBaud, 3);
    EXPECT_EQ(settings.DNetBaud, 1);
    LoadDNetNetwork(dir.Write("DNET_Net.xml", Utf16(kNetwork)), rows);
    EXPECT_EQ(rows[0], (DNetRow{"5", "2", "1", "Valve"}));
}

TEST(DocumentModelsHostile, ByteSelectionsOfADeepDocumentAreRefused) {
    TempDir dir;
    XmlDocument xml;
    DefByteTable table;
    size_t nodesRead = 0;
    ReadDNetNodes(xml, dir.Write("DNET_Net.xml", kNetwork), table, nodesRead);
    EXPECT_THROW(ReadDefBytes(xml, dir.Write("DefByte.xml", DeepDocument("DefBytes")), table), DocumentError);
    EXPECT_THROW(ReadDefBytes(xml, dir.Write("DefByte.xml", std::string("<DefBytes>\0", 11)), table), ParseError);
}

// A row costs some fifty bytes of file but up to 131 070 bytes of selections and mnemonics in the byte editor:
// a hundred megabytes of such rows would ask for terabytes. The byte editor stops where no network the network
// editor can write ever reaches, with the table as long as the document says and no bytes beyond that node.
TEST(DocumentModelsHostile, HundredMegabytesOfLargestNodesLoadWithinBounds) {
    TempDir dir;
    const std::string row = "<row ID=\"1\" NB_IN=\"65535\" NB_OUT=\"65535\" Mnemonic=\"m\"/>";
    std::string text = "<DNET_Net>";
    text.reserve((100u << 20) + row.size() + 16);
    size_t count = 0;
    for (; text.size() < (100u << 20); ++count) text += row;
    const std::string network = dir.Write("DNET_Net.xml", text + "</DNET_Net>");
    text.clear();
    text.shrink_to_fit();

    DNetRows rows;
    LoadDNetNetwork(network, rows);
    EXPECT_EQ(rows[63], (DNetRow{"1", "65535", "65535", "m"}));

    XmlDocument xml;
    DefByteTable table;
    size_t nodesRead = 0;
    try {
        ReadDNetNodes(xml, network, table, nodesRead);
        FAIL() << "a network of " << count << " nodes of 65535 bytes each way was read";
    } catch (const DocumentError& e) {
        EXPECT_NE(std::string(e.what()).find("Node 65 "), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(network), std::string::npos) << e.what();
    }
    // Refused on the counts, before the arrays of the first 64 nodes took a quarter of a gigabyte.
    EXPECT_EQ(nodesRead, 0u);
    EXPECT_TRUE(table.empty());
}

}  // namespace
