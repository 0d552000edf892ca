#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tessara::cli {

// The value of an option that takes a decimal number from 0 to `most`, the whole text; nullopt for anything else
// (a sign, blanks, a number past `most`).
std::optional<size_t> DecimalUpTo(std::string_view text, size_t most);

}  // namespace tessara::cli
