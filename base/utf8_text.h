#pragma once

#include <cstddef>
#include <string>

namespace tessara::base {

// The length of the well-formed UTF-8 sequence at `at`, or 0: overlong forms, surrogates and code points
// above U+10FFFF are not well-formed.
size_t Utf8SequenceLength(const std::string& text, size_t at);

// Documents may hold any bytes; what must be UTF-8 gets U+FFFD for each byte that starts no well-formed sequence.
std::string WellFormedUtf8(const std::string& text);

}  // namespace tessara::base
