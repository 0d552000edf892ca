#include <gtest/gtest.h>

#include <string>

#include "documents/document_error.h"
#include "gsd/gsd_file.h"
#include "image/bank_image.h"
#include "support/temp_dir.h"

namespace {

// The image build and the GSD generator read the same documents that travel between engineers: hostile ones
// end the action with a clear error, in bounded memory.

TEST(BankImageHostile, HundredMegabytesOfLargestNodesAreRefusedBeforeTheirSelectionsAreRead) {
    TempDir project;
    const std::string row = "<row ID=\"1\" NB_IN=\"65535\" NB_OUT=\"65535\" Mnemonic=\"m\"/>";
    std::string text = "<DNET_Net>";
    text.reserve((100u << 20) + row.size() + 16);
    while (text.size() < (100u << 20)) text += row;
    project.Write("DNET_Net.xml", text + "</DNET_Net>");
    text.clear();
    text.shrink_to_fit();
    // Selections for every node would be some thirty gigabytes; the limit is known from the byte counts alone.
    project.Write("DefByte.xml", "<DefBytes><Nodo_DNET/></DefBytes>");
    try {
        BuildBankImage(project.path());
        FAIL() << "an image of two million nodes was built";
    } catch (const ImageLimitError& e) {
        EXPECT_NE(std::string(e.what()).find("node 5 (ID 1)"), std::string::npos) << e.what();
    }
}

TEST(BankImageHostile, DeepNulAndEntityDocumentsEndTheBuildWithAnError) {
    std::string deep = "<DNET_Net>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    deep += "</DNET_Net>";
    const std::string bomb = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>";
    struct Case {
        const char* file;
        std::string content;
    };
    const Case cases[] = {
        {"DNET_Net.xml", deep},
        {"DNET_Net.xml", std::string("<DNET_Net\0/>", 12)},
        {"DNET_Net.xml", bomb + "<DNET_Net><row ID=\"&b;\" NB_IN=\"1\" NB_OUT=\"1\"/></DNET_Net>"},
        {"pargen.xml", bomb + "<Par_Gen><PROFI_ID>&b;</PROFI_ID></Par_Gen>"},
    };
    for (const Case& c : cases) {
        TempDir project;
        project.Write(c.file, c.content);
        EXPECT_THROW(BuildBankImage(project.path()), std::runtime_error) << c.content.substr(0, 60);
    }

    // The GSD generator reads the counts it can and takes 0 for the rest.
    TempDir project;
    project.Write("pargen.xml",
                  bomb + "<Par_Gen><PROFI_NB_IN>&b;</PROFI_NB_IN><PROFI_NB_OUT>3</PROFI_NB_OUT></Par_Gen>");
    EXPECT_EQ(ReadProfiSizes(project.path()).NbIn, 0);
    EXPECT_EQ(ReadProfiSizes(project.path()).NbOut, 3);
    project.Write("pargen.xml", std::string("<Par_Gen\0/>", 11));
    EXPECT_THROW(ReadProfiSizes(project.path()), ParseError);
}

}  // namespace
