#pragma once

#include <cstddef>
#include <mutex>

namespace tessara::documents {

// The memory of the XML trees. pugixml asks for many small pages while it parses; taking them from a few
// large mappings, backed by huge pages where the system offers them, spares the page fault per 4 KiB that
// the parse of a large document otherwise pays. A mapping is given back when the last block in it is freed,
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

    // Bytes mapped now; 0 once every block is freed.
    size_t MappedBytes() const;

    struct Chunk;  // one mapping, cut into blocks from its start

private:
    Chunk* MapChunk(size_t need);
    void Unmap(Chunk* chunk);

    mutable std::mutex mutex_;
    Chunk* current_ = nullptr;  // where small blocks are cut; a large block gets a mapping of its own
    size_t mappedBytes_ = 0;
};

// Makes every pugixml document of the process take its memory from one arena. Call once at the start of
// main, before any document exists: a block must go back to the allocator that gave it.
void UseXmlArena();

}  // namespace tessara::documents
