#include "documents/xml_arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "documents/page_memory.h"

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

// Whether the mapping that holds `address` was advised as huge pages ("hg" among its flags in smaps).
bool HugePagesAsked(const void* address) {
    const auto at = reinterpret_cast<uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        uintptr_t begin = 0;
        uintptr_t end = 0;
        char dash = 0;
        if (std::istringstream(line) >> std::hex >> begin >> dash >> end && dash == '-') {
            inside = begin <= at && at < end;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return (line + " ").find(" hg ") != std::string::npos;
        }
    }
    ADD_FAILURE() << "no mapping holds " << address;
    return false;
}

TEST(XmlArena, HugePagesAreAskedForWhereAParseFillsThemWhole) {
    if (!kHugePagesCanBeAsked) GTEST_SKIP() << "huge pages are never asked for on this system";
    if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled")) {
        GTEST_SKIP() << "this kernel has no transparent huge pages";
    }
    XmlArena arena;
    const auto byteAt = [](void* block, size_t offset) { return static_cast<std::byte*>(block) + offset; };

    void* unexpected = Fill(arena, 32768, 1).block;
    EXPECT_FALSE(HugePagesAsked(unexpected)) << "no parse announced";

    // A parse of 7 MiB from 32 KiB into the mapping fills its second and third huge pages whole; the first
    // already holds a block, the fourth is where the parse ends.
    arena.Expect(7 * kMiB);
    std::vector<void*> pages;
    for (size_t filled = 0; filled < 7 * kMiB; filled += 32768) pages.push_back(Fill(arena, 32768, 2).block);
    EXPECT_FALSE(HugePagesAsked(pages.front()));
    EXPECT_TRUE(HugePagesAsked(byteAt(unexpected, 3 * kMiB)));
    EXPECT_TRUE(HugePagesAsked(byteAt(unexpected, 5 * kMiB)));
    EXPECT_FALSE(HugePagesAsked(pages.back())) << "the huge page the parse ends in";

    // A document's text in a mapping of its own: its last, partly filled huge page is not asked for either.
    arena.Expect(9 * kMiB);
    void* text = Fill(arena, 9 * kMiB, 3).block;
    EXPECT_TRUE(HugePagesAsked(text));
    EXPECT_FALSE(HugePagesAsked(byteAt(text, 9 * kMiB - 1)));

    arena.Expect(0);
    void* after = Fill(arena, 32768, 4).block;
    EXPECT_FALSE(HugePagesAsked(byteAt(after, 32767)));

    // A parse far larger than expected: normal pages past the expectation, huge ones again once it is large.
    arena.Expect(kMiB);
    std::vector<void*> large;
    for (size_t filled = 0; filled < 46 * kMiB; filled += 32768) large.push_back(Fill(arena, 32768, 5).block);
    EXPECT_FALSE(HugePagesAsked(large[10 * kMiB / 32768]));
    EXPECT_TRUE(HugePagesAsked(large.back()));
    arena.Expect(0);

    for (const std::vector<void*>* blocks : {&pages, &large}) {
        for (void* block : *blocks) arena.Deallocate(block);
    }
    for (void* block : {unexpected, text, after}) arena.Deallocate(block);
    EXPECT_EQ(arena.MappedBytes(), 0u);
}

}  // namespace
