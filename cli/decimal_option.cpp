#include "cli/decimal_option.h"

#include <charconv>

namespace tessara::cli {

std::optional<size_t> DecimalUpTo(std::string_view text, size_t most) {
    size_t value = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result parsed = std::from_chars(text.data(), end, value);
    if (text.empty() || parsed.ec != std::errc() || parsed.ptr != end || value > most) return std::nullopt;
    return value;
}

}  // namespace tessara::cli
