#include "base/utf8_text.h"

#include <algorithm>
#include <cstdio>

namespace tessara::base {

namespace {

constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

size_t LeadLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// \x1b for a code point up to U+00FF, \u202e above.
void AppendEscaped(std::string& line, unsigned code) {
    char escaped[16];
    if (code <= 0xFF) {
        std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
    } else {
        std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
    }
    line += escaped;
}

// The code point of the sequence of `length` bytes at `at`, which is well-formed.
unsigned CodePointAt(const std::string& text, size_t at, size_t length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    unsigned code = length == 2 ? byte(0) & 0x1Fu : length == 3 ? byte(0) & 0x0Fu : byte(0) & 0x07u;
    for (size_t i = 1; i < length; ++i) code = (code << 6) | (byte(i) & 0x3Fu);
    return code;
}

// Marks, embeddings, overrides and isolates: on a terminal that orders text by direction, one of them reorders the
// rest of the line.
bool IsBidiControl(unsigned code) {
    return code == 0x061C || code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

// The code point to show escaped at `at`: a C1 control (U+0080 to U+009F, or such a byte outside any UTF-8
// sequence), a direction control, or U+FFFE or U+FFFF, which no text may hold; or -1.
long EscapedCodeAt(const std::string& text, size_t at, size_t length) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (length == 0) return lead <= 0x9F ? lead : -1;
    const unsigned code = CodePointAt(text, at, length);
    const bool escaped = (code >= 0x80 && code <= 0x9F) || IsBidiControl(code) || code == 0xFFFE || code == 0xFFFF;
    return escaped ? static_cast<long>(code) : -1;
}

}  // namespace

size_t Utf8SequenceLength(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = LeadLength(lead);
    if (length <= 1 || at + length > text.size()) return at + length > text.size() ? 0 : length;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    }
    const unsigned char second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F)) {
        return 0;
    }
    return length;
}

std::string WellFormedUtf8(const std::string& text) {
    std::string valid;
    valid.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            valid += kReplacementCharacter;
            ++i;
        } else {
            valid.append(text, i, length);
            i += length;
        }
    }
    return valid;
}

std::string ShownAsText(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        } else if (c == '\r' || c == '\n') {
            line += ' ';
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscaped(line, c);
            ++i;
        } else if (c < 0x80) {
            line += static_cast<char>(c);
            ++i;
        } else {
            const size_t length = Utf8SequenceLength(text, i);
            if (const long code = EscapedCodeAt(text, i, length); code >= 0) {
                AppendEscaped(line, static_cast<unsigned>(code));
            } else if (length == 0) {
                line += kReplacementCharacter;
            } else {
                line.append(text, i, length);
            }
            i += std::max<size_t>(length, 1);
        }
    }
    return line;
}

size_t DisplayWidth(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string AlignedLine(std::span<const std::string> cells, std::span<const size_t> widths,
                        std::span<const bool> rightAligned) {
    std::string line;
    for (size_t c = 0; c < cells.size(); ++c) {
        const std::string padding(widths[c] - DisplayWidth(cells[c]), ' ');
        if (c) line += "  ";
        line += c < rightAligned.size() && rightAligned[c] ? padding + cells[c] : cells[c] + padding;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace tessara::base
