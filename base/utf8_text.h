#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace tessara::base {

// The length of the well-formed UTF-8 sequence at `at`, or 0: overlong forms, surrogates and code points
// above U+10FFFF are not well-formed.
size_t Utf8SequenceLength(const std::string& text, size_t at);

// Documents may hold any bytes; what must be UTF-8 gets U+FFFD for each byte that starts no well-formed sequence.
std::string WellFormedUtf8(const std::string& text);

// Text from documents as a terminal or the report shows it: a control character would act on the terminal (an
// escape sequence) or split tab-separated fields, so C0 and C1 controls and DEL become \xNN (the code point), and
// a direction control, which would reorder the rest of the line, and U+FFFE and U+FFFF, which XML forbids,
// \uNNNN; any other byte that starts no well-formed sequence becomes U+FFFD. Line breaks (the parser's "Line: N"
// part) become blanks, so the text stays on its line. Every command's text output goes through it.
std::string ShownAsText(const std::string& text);

// Characters on a terminal: a UTF-8 sequence is one.
size_t DisplayWidth(const std::string& text);

// One line of a table for a terminal: each cell padded with blanks to its column's width in characters, in front
// where `rightAligned` says so, two blanks between the columns and none at the end of the line.
std::string AlignedLine(std::span<const std::string> cells, std::span<const size_t> widths,
                        std::span<const bool> rightAligned = {});

}  // namespace tessara::base
