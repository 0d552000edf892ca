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

}  // namespace
