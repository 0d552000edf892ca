#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "documents/page_memory.h"

namespace tessara::documents {

// Over-maps by one alignment step and gives back the ends, so each whole huge page of the mapping can be backed
// by one.
std::byte* MapPages(size_t bytes, size_t alignment) {
    void* raw = ::mmap(nullptr, bytes + alignment, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + alignment - 1) / alignment * alignment;
    if (aligned > start) ::munmap(raw, aligned - start);
    if (const size_t tail = start + alignment - aligned) ::munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    return reinterpret_cast<std::byte*>(aligned);
}

const bool kHugePagesCanBeAsked = true;

void AskHugePagesFor(std::byte* begin, size_t bytes) {
    ::madvise(begin, bytes, MADV_HUGEPAGE);
}

// A kernel older than 5.14 refuses the request: the pages are then mapped as they are first written.
void PopulatePages(void* begin, size_t bytes) {
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t start = reinterpret_cast<uintptr_t>(begin) / page * page;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(begin) + bytes + page - 1) / page * page;
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}

void UnmapPages(std::byte* base, size_t bytes) {
    ::munmap(base, bytes);
}

}  // namespace tessara::documents
