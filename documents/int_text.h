#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessara::documents {

// The integer text of the project documents: optional leading blanks, an optional sign, then decimal digits
// or one of the hexadecimal prefixes "$", "x", "X", "0x", "0X" with hex digits; nothing after; signed 32 bits.
std::optional<int32_t> ParseIntText(std::string_view text);

int32_t IntOrMinusOne(std::string_view text);

// Throws DocumentError "'<text>' is not a valid integer value".
int32_t IntOrError(std::string_view text);

}  // namespace tessara::documents
