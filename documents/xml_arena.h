#pragma once

#include <cstddef>
#include <mutex>

namespace tessara::documents {

// The memory of the XML trees. pugixml asks for many small pages while it parses; taking them from a few
// large mappings, backed by huge pages where the system offers them, spares the page fault per 4 KiB that
// the parse of a large document otherwise pays. Huge pages are asked for only where a parse is expected to
// fill them, so none is held for a few bytes. A mapping is given back when the last block in it is freed,
// so all of it is gone when the last document is.
class XmlArena {
public:
    XmlArena() = default;
    XmlArena(const XmlArena&) = delete;
    XmlArena& operator=(const XmlArena&) = delete;
    ~XmlArena();

    // Aligned for any type; nullptr when the system has no memory left (pugixml reports that itself).
    void* Allocate(size_t size);
    void Deallocate(void* block);

    // The next blocks will fill about this many bytes, as a parse does; whole huge pages within them are asked
    // for, and past them too once the parse is large. 0: the parse is over; normal pages.
    void Expect(size_t bytes);

    // Bytes mapped now; 0 once every block is freed.
    size_t MappedBytes() const;

    struct Chunk;  // one mapping, cut into blocks from its start

private:
    Chunk* MapChunk(size_t need, size_t filled);
    void AskHugePages(Chunk& chunk, size_t filledUpTo);
    size_t HugeReach(size_t need) const;
    void Unmap(Chunk* chunk);

    mutable std::mutex mutex_;
    Chunk* current_ = nullptr;  // where small blocks are cut; a large block gets a mapping of its own
    size_t mappedBytes_ = 0;
    size_t expectedBytes_ = 0;  // of the blocks still to come
    bool parsing_ = false;      // between an expectation and its end
    size_t parsedBytes_ = 0;    // given out since the last expectation
};

// Tells the process arena how many bytes the parse about to start will fill; 0 when it is over.
void ExpectXmlMemory(size_t bytes);

// Makes every pugixml document of the process take its memory from one arena. Call once at the start of
// main, before any document exists: a block must go back to the allocator that gave it.
void UseXmlArena();

}  // namespace tessara::documents
