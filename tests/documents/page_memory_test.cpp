#include "documents/page_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace tessara::documents;

namespace {

constexpr uintptr_t kMiB = uintptr_t{1} << 20;

void* At(uintptr_t address) {
    return reinterpret_cast<void*>(address);
}

// Advice past either end of a block would change memory the block does not own: only whole huge pages inside
// it are asked for.
TEST(PageMemory, HugePagesWithinABlockAreTheWholeOnesInsideIt) {
    struct Case {
        uintptr_t begin;
        uintptr_t bytes;
        uintptr_t first;  // 0 for none
        uintptr_t end;
    };
    const Case cases[] = {
        {4 * kMiB, 4 * kMiB, 4 * kMiB, 8 * kMiB},                // exactly two
        {2 * kMiB + 16, 6 * kMiB, 4 * kMiB, 8 * kMiB},           // starts inside one, ends inside another
        {2 * kMiB + 16, 4 * kMiB - 32, 0, 0},                    // spans a boundary but holds no whole page
        {2 * kMiB, 2 * kMiB - 1, 0, 0},                          // one byte short
        {6 * kMiB - 4096, 2 * kMiB + 4096, 6 * kMiB, 8 * kMiB},  // a glibc block: its header on the page before
        {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const auto pages = HugePagesWithin(At(c.begin), c.bytes);
        SCOPED_TRACE(::testing::Message() << c.begin << " + " << c.bytes);
        if (c.first == 0) {
            EXPECT_TRUE(pages.empty());
            continue;
        }
        EXPECT_EQ(reinterpret_cast<uintptr_t>(pages.data()), c.first);
        EXPECT_EQ(pages.size(), c.end - c.first);
    }
}

// Mapping the pages of a block ahead changes nothing in it, nor in the bytes beside it on its first and last page.
TEST(PageMemory, PopulatingPagesKeepsWhatTheyHold) {
    std::vector<unsigned char> bytes(3 * kMiB + 100, 0xA5);
    PopulatePages(bytes.data() + 7, bytes.size() - 20);
    EXPECT_TRUE(std::ranges::all_of(bytes, [](unsigned char b) { return b == 0xA5; }));
}

}  // namespace
