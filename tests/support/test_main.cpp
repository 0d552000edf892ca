#include <gtest/gtest.h>

#include "documents/xml_arena.h"

using namespace tessara::documents;

// The documents of every test take their memory from the arena, as in the tool.
int main(int argc, char** argv) {
    UseXmlArena();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
