#include <gtest/gtest.h>

#include <string>

#include "documents/document_error.h"
#include "documents/profibus_areas.h"
#include "image/bank_image.h"
#include "support/hostile_text.h"
#include "support/temp_dir.h"

using namespace tessara::documents;
using namespace tessara::image;

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

TEST(BankImageHostile, DeepAndNulDocumentsEndTheBuildWithAnError) {
    struct Case {
        const char* file;
        std::string content;
    };
    const Case cases[] = {
        {"DNET_Net.xml", DeepDocument("DNET_Net")},
        {"DNET_Net.xml", std::string("<DNET_Net\0/>", 12)},
    };
    for (const Case& c : cases) {
        TempDir project;
        project.Write(c.file, c.content);
        EXPECT_THROW(BuildBankImage(project.path()), std::runtime_error) << c.content.substr(0, 60);
    }

    TempDir project;
    project.Write("pargen.xml", std::string("<Par_Gen\0/>", 11));
    EXPECT_THROW(ReadProfibusAreas(project.path()), ParseError);
}

}  // namespace
