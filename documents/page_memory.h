#pragma once

#include <cstddef>
#include <span>

namespace tessara::documents {

// Memory straight from the system for the XML arena: untouched pages cost nothing, and whole huge pages can
// back the parts a large parse fills. Large arrays built after the parse are readied for filling the same way.

// `bytes` of zeroed read-write memory starting at a multiple of `alignment` where the system can place it so,
// or nullptr.
std::byte* MapPages(size_t bytes, size_t alignment);
// False where AskHugePagesFor can never give huge pages.
extern const bool kHugePagesCanBeAsked;
// Asks for huge pages under the given range; where the system does not offer them, normal pages stay.
void AskHugePagesFor(std::byte* begin, size_t bytes);
void UnmapPages(std::byte* base, size_t bytes);

// Maps every page under the given bytes now, in one call, where the system can; their content stays as it is.
void PopulatePages(void* begin, size_t bytes);

// The whole huge pages inside a block: what PrepareForFilling asks huge pages for; empty when it holds none.
std::span<std::byte> HugePagesWithin(void* begin, size_t bytes);
// Readies a large block from the ordinary allocator that is about to be filled whole (an array of a quarter of
// a million rows): huge pages under the whole ones inside it, and all its pages mapped at once, so that filling
// it takes no page fault per 4 KiB.
void PrepareForFilling(void* begin, size_t bytes);

}  // namespace tessara::documents
