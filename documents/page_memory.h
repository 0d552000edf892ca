#pragma once

#include <cstddef>

namespace tessara::documents {

// Memory straight from the system for the XML arena: untouched pages cost nothing, and whole huge pages can
// back the parts a large parse fills.

// `bytes` of zeroed read-write memory starting at a multiple of `alignment` where the system can place it so,
// or nullptr.
std::byte* MapPages(size_t bytes, size_t alignment);
// False where AskHugePagesFor can never give huge pages.
extern const bool kHugePagesCanBeAsked;
// Asks for huge pages under the given range; where the system does not offer them, normal pages stay.
void AskHugePagesFor(std::byte* begin, size_t bytes);
void UnmapPages(std::byte* base, size_t bytes);

}  // namespace tessara::documents
