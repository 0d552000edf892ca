#include "documents/xml_arena.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <pugixml.hpp>

#include "documents/page_memory.h"

// MinGW ships no sanitizer headers; there the poisoning marks are no-ops, as they are in a build without ASan.
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace tessara::documents {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Large enough that the largest project's trees need a handful of mappings; untouched parts cost no memory.
constexpr size_t kChunkBytes = size_t{32} << 20;
// A block this large (a document's text) gets its own mapping, so it leaves the small blocks' one whole.
constexpr size_t kOwnChunkBytes = kChunkBytes / 4;
constexpr size_t kAlignment = 16;
// A parse that has outgrown what was expected of it, and filled this much already, keeps getting huge pages:
// the one it ends in is then at most a twentieth of its memory.
constexpr size_t kLargeParseBytes = 20 * kHugePage;

size_t RoundUp(size_t value, size_t step) {
    return (value + step - 1) / step * step;
}

size_t RoundDown(size_t value, size_t step) {
    return value / step * step;
}

}  // namespace

struct XmlArena::Chunk {
    std::byte* base;
    size_t size;
    size_t used;
    size_t liveBlocks;
    size_t hugeUpTo;  // the kernel was asked for huge pages below this offset
};

namespace {

// Ahead of every block: the mapping it came from, so a free needs no search, and its size for the sanitizer.
struct BlockHeader {
    XmlArena::Chunk* chunk;
    size_t size;
};
static_assert(sizeof(BlockHeader) % kAlignment == 0);

// The chunk's own record sits at the start of its mapping.
size_t FirstBlockOffset() {
    return RoundUp(sizeof(XmlArena::Chunk), kAlignment);
}

}  // namespace

// Blocks still in use by then would dangle; every document is freed first.
XmlArena::~XmlArena() {
    if (current_) Unmap(current_);
}

XmlArena::Chunk* XmlArena::MapChunk(size_t need, size_t filled) {
    const size_t bytes = RoundUp(std::max(need + sizeof(Chunk), kChunkBytes), kHugePage);
    std::byte* base = MapPages(bytes, kHugePage);
    if (!base) return nullptr;
    Chunk chunk{base, bytes, 0, 0, 0};
    // Before the chunk's record below touches its first page, which then could no longer become a huge one.
    AskHugePages(chunk, FirstBlockOffset() + filled);
    chunk.used = FirstBlockOffset();
    ASAN_POISON_MEMORY_REGION(base, bytes);
    ASAN_UNPOISON_MEMORY_REGION(base, sizeof(Chunk));
    mappedBytes_ += bytes;
    return new (base) Chunk(chunk);
}

// Huge pages only for what the expected blocks fill whole: the page a parse ends in would count its full
// 2 MiB from its first byte, most of it never used.
void XmlArena::AskHugePages(Chunk& chunk, size_t filledUpTo) {
    const size_t begin = std::max(RoundUp(chunk.used, kHugePage), chunk.hugeUpTo);
    const size_t end = RoundDown(std::min(filledUpTo, chunk.size), kHugePage);
    if (end <= begin) return;
    // Where huge pages are off or not offered this fails, and the memory works with normal pages.
    AskHugePagesFor(chunk.base + begin, end - begin);
    chunk.hugeUpTo = end;
}

void XmlArena::Unmap(Chunk* chunk) {
    mappedBytes_ -= chunk->size;
    ASAN_UNPOISON_MEMORY_REGION(chunk->base, chunk->size);
    UnmapPages(chunk->base, chunk->size);
}

void* XmlArena::Allocate(size_t size) {
    const size_t need = sizeof(BlockHeader) + RoundUp(size ? size : 1, kAlignment);
    const std::lock_guard lock(mutex_);
    Chunk* chunk = current_;
    if (need > kOwnChunkBytes) {
        chunk = MapChunk(need, std::min(need, HugeReach(need)));
    } else if (!chunk || chunk->used + need > chunk->size) {
        // The full mapping stays until its last block is freed.
        chunk = MapChunk(need, HugeReach(need));
        if (chunk) current_ = chunk;
    } else if (const size_t reach = HugeReach(need)) {
        AskHugePages(*chunk, chunk->used + reach);
    }
    if (!chunk) return nullptr;
    expectedBytes_ -= std::min(expectedBytes_, need);
    parsedBytes_ += need;
    std::byte* at = chunk->base + chunk->used;
    chunk->used += need;
    ++chunk->liveBlocks;
    ASAN_UNPOISON_MEMORY_REGION(at, need);
    new (at) BlockHeader{chunk, need - sizeof(BlockHeader)};
    return at + sizeof(BlockHeader);
}

void XmlArena::Deallocate(void* block) {
    if (!block) return;
    auto* header = reinterpret_cast<BlockHeader*>(static_cast<std::byte*>(block) - sizeof(BlockHeader));
    const std::lock_guard lock(mutex_);
    Chunk* chunk = header->chunk;
    ASAN_POISON_MEMORY_REGION(block, header->size);
    if (--chunk->liveBlocks > 0) return;
    if (chunk == current_) {
        chunk->used = FirstBlockOffset();
    } else {
        Unmap(chunk);
    }
    // No block left anywhere: the current mapping goes back too.
    if (current_ && current_->liveBlocks == 0 && mappedBytes_ == current_->size) {
        Unmap(current_);
        current_ = nullptr;
    }
}

// How far from the next block on huge pages are wanted: as far as the parse is expected to fill, and, for a
// large parse past that, into the huge page this block ends in.
size_t XmlArena::HugeReach(size_t need) const {
    if (parsing_ && parsedBytes_ >= kLargeParseBytes) return std::max(expectedBytes_, need + kHugePage);
    return expectedBytes_;
}

void XmlArena::Expect(size_t bytes) {
    const std::lock_guard lock(mutex_);
    expectedBytes_ = bytes;
    parsing_ = bytes > 0;
    parsedBytes_ = 0;
}

size_t XmlArena::MappedBytes() const {
    const std::lock_guard lock(mutex_);
    return mappedBytes_;
}

namespace {

XmlArena& ProcessArena() {
    // Never destroyed: a document in a static object may be freed after main returns.
    static XmlArena* arena = new XmlArena;
    return *arena;
}

void* ArenaAllocate(size_t size) {
    return ProcessArena().Allocate(size);
}

void ArenaDeallocate(void* block) {
    ProcessArena().Deallocate(block);
}

}  // namespace

void ExpectXmlMemory(size_t bytes) {
    ProcessArena().Expect(bytes);
}

void UseXmlArena() {
    ProcessArena();
    pugi::set_memory_management_functions(&ArenaAllocate, &ArenaDeallocate);
}

}  // namespace tessara::documents
