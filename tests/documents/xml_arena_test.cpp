#include "documents/xml_arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace tessara::documents;

namespace {

constexpr size_t kMiB = size_t{1} << 20;

// Fills each block with its own byte, so an overlap shows as a wrong byte in another.
struct Filled {
    void* block;
    size_t size;
    unsigned char mark;
};

Filled Fill(XmlArena& arena, size_t size, unsigned char mark) {
    void* block = arena.Allocate(size);
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
    std::memset(block, mark, size);
    return {block, size, mark};
}

bool Intact(const Filled& f) {
    const auto* bytes = static_cast<const unsigned char*>(f.block);
    for (size_t i = 0; i < f.size; ++i) {
        if (bytes[i] != f.mark) return false;
    }
    return true;
}

TEST(XmlArena, BlocksOfEverySizeAreSeparateAndAllMemoryGoesBackWithTheLastOne) {
    // pugixml's pages and strings of a few bytes, enough to fill several mappings, between a document's text
    // and a block larger than a whole mapping.
    const size_t smallSizes[] = {32768, 1, 0, 7, 100};
    for (bool lastFirst : {false, true}) {
        XmlArena arena;
        std::vector<Filled> blocks;
        const auto add = [&](size_t size) {
            blocks.push_back(Fill(arena, size, static_cast<unsigned char>(blocks.size())));
        };
        add(20 * kMiB);
        for (int round = 0; round < 3000; ++round) {
            for (size_t size : smallSizes) add(size);
        }
        add(40 * kMiB);
        for (const Filled& f : blocks) EXPECT_TRUE(Intact(f));
        EXPECT_GT(arena.MappedBytes(), 0u);
        if (lastFirst) std::reverse(blocks.begin(), blocks.end());
        for (const Filled& f : blocks) arena.Deallocate(f.block);
        EXPECT_EQ(arena.MappedBytes(), 0u) << (lastFirst ? "freed last first" : "freed first first");
    }
}

TEST(XmlArena, ATreeParsedAgainAndAgainBesideAKeptOneReusesItsMemory) {
    XmlArena arena;
    const Filled kept = Fill(arena, 20 * kMiB, 1);  // a large document held by another window
    size_t mappedAfterFirst = 0;
    for (int parse = 0; parse < 50; ++parse) {
        std::vector<void*> pages;
        for (int i = 0; i < 500; ++i) pages.push_back(Fill(arena, 32768, 2).block);
        for (void* page : pages) arena.Deallocate(page);
        if (parse == 0) mappedAfterFirst = arena.MappedBytes();
    }
    EXPECT_EQ(arena.MappedBytes(), mappedAfterFirst);
    EXPECT_TRUE(Intact(kept));
    arena.Deallocate(kept.block);
    EXPECT_EQ(arena.MappedBytes(), 0u);
}

}  // namespace
