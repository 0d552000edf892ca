#include "documents/page_memory.h"

#include <cstdint>

namespace tessara::documents {

namespace {

constexpr uintptr_t kHugePage = uintptr_t{2} << 20;

}  // namespace

std::span<std::byte> HugePagesWithin(void* begin, size_t bytes) {
    const auto start = reinterpret_cast<uintptr_t>(begin);
    const uintptr_t first = (start + kHugePage - 1) / kHugePage * kHugePage;
    const uintptr_t end = (start + bytes) / kHugePage * kHugePage;
    if (end <= first) return {};
    return {reinterpret_cast<std::byte*>(first), end - first};
}

void PrepareForFilling(void* begin, size_t bytes) {
    const std::span<std::byte> pages = HugePagesWithin(begin, bytes);
    if (!pages.empty()) AskHugePagesFor(pages.data(), pages.size());
    PopulatePages(begin, bytes);
}

}  // namespace tessara::documents
