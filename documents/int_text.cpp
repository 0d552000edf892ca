#include "documents/int_text.h"

#include "documents/document_error.h"

namespace tessara::documents {

namespace {

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (!hex) return -1;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int32_t> ParseIntText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;

    // Accumulate the magnitude in 64 bits; the limit lets "-2147483648" through but not "2147483648".
    const int64_t limit = negative ? INT64_C(2147483648) : INT64_C(2147483647);
    const int base = hex ? 16 : 10;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], hex);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t IntOrMinusOne(std::string_view text) {
    return ParseIntText(text).value_or(-1);
}

int32_t IntOrError(std::string_view text) {
    if (auto value = ParseIntText(text)) return *value;
    throw DocumentError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace tessara::documents
