#include <windows.h>

#include "documents/page_memory.h"

namespace tessara::documents {

// Committed memory is backed by physical pages only when first touched, as a private mapping is elsewhere.
// The system places it on a 64 KiB boundary; large pages would have to be asked for here, all at once, and
// need a privilege an ordinary account lacks, so the arena keeps normal pages.
std::byte* MapPages(size_t bytes, size_t /*alignment*/) {
    return static_cast<std::byte*>(::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

const bool kHugePagesCanBeAsked = false;

void AskHugePagesFor(std::byte* /*begin*/, size_t /*bytes*/) {}

// Committed memory gets its pages as they are first written; nothing maps them ahead.
void PopulatePages(void* /*begin*/, size_t /*bytes*/) {}

void UnmapPages(std::byte* base, size_t /*bytes*/) {
    ::VirtualFree(base, 0, MEM_RELEASE);
}

}  // namespace tessara::documents
