#include "documents/document_file.h"

#include <gtest/gtest.h>

#include "documents/document_error.h"
#include "support/temp_dir.h"

using namespace tessara::documents;

namespace {

std::string ParseErrorText(DocumentFile& file) {
    try {
        file.Root();
    } catch (const ParseError& e) {
        return e.what();
    }
    return "no error";
}

// The readers after the first see the tree the first one was given, not the file as it stands later.
TEST(DocumentFile, ParsesOnceForEveryReader) {
    TempDir dir;
    DocumentFile file(dir.Write("DNET_Net.xml", "<DNET_Net><row ID=\"5\"/></DNET_Net>"));
    EXPECT_EQ(AttrToText(ChildAt(file.Root(), 0), "ID"), "5");
    dir.Write("DNET_Net.xml", "<DNET_Net><row ID=\"9\"/></DNET_Net>");
    EXPECT_EQ(AttrToText(ChildAt(file.Root(), 0), "ID"), "5");
}

// A reader after a failed load must get the failure too, never an empty tree it would read as no nodes.
TEST(DocumentFile, FailedLoadFailsAgainWithTheSameError) {
    TempDir dir;
    DocumentFile file(dir.Write("DefByte.xml", "<DefBytes><nodo>"));
    const std::string first = ParseErrorText(file);
    EXPECT_NE(first.find("DefByte.xml"), std::string::npos) << first;
    dir.Write("DefByte.xml", "<DefBytes/>");
    EXPECT_EQ(ParseErrorText(file), first);
}

// A document held in memory stands for the file whatever the disk holds at its path.
TEST(DocumentFile, HeldTextIsReadInPlaceOfTheFile) {
    TempDir dir;
    const std::string path = dir.Write("DNET_Net.xml", "<DNET_Net><row ID=\"5\"/></DNET_Net>");
    DocumentFile held(path, std::string("<DNET_Net><row ID=\"9\"/></DNET_Net>"));
    EXPECT_TRUE(held.Exists());
    EXPECT_EQ(AttrToText(ChildAt(held.Root(), 0), "ID"), "9");
    EXPECT_FALSE(DocumentFile(path, std::nullopt).Exists());

    DocumentFile broken(dir.File("DefByte.xml"), std::string("<DefBytes><nodo>"));
    EXPECT_NE(ParseErrorText(broken).find(dir.File("DefByte.xml")), std::string::npos);
}

}  // namespace
