#pragma once

#include <charconv>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "base/utf8_text.h"

namespace tessara::base {

// JSON built by appending to one string: the I/O map of a large project is megabytes of it, which a stream
// and a temporary string per value would copy again and again.
class JsonText {
public:
    explicit JsonText(size_t expected) { text_.reserve(expected); }

    JsonText& Raw(std::string_view raw) {
        text_.append(raw);
        return *this;
    }
    template <class Integer>
    JsonText& Number(Integer value) {
        char digits[24];
        const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
        text_.append(digits, end.ptr);
        return *this;
    }
    // Documents and folder names may hold any bytes; JSON must be UTF-8, so a byte that starts no well-formed
    // sequence becomes U+FFFD.
    JsonText& String(const std::string& text) {
        text_ += '"';
        for (size_t i = 0; i < text.size();) {
            const size_t plain = PlainRun(text, i);
            text_.append(text, i, plain - i);
            if ((i = plain) < text.size()) i += Special(text, i);
        }
        text_ += '"';
        return *this;
    }
    std::string Take() { return std::move(text_); }
    // Writes what is held so far and starts again, keeping the room: a long document goes out in pieces
    // instead of being held whole.
    void MoveTo(std::ostream& out) {
        out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }
    size_t Size() const { return text_.size(); }

private:
    // Where the run of printable ASCII that needs no escape, starting at `from`, ends.
    static size_t PlainRun(const std::string& text, size_t from) {
        while (from < text.size()) {
            const unsigned char c = static_cast<unsigned char>(text[from]);
            if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') break;
            ++from;
        }
        return from;
    }
    // Writes the character at `at` that is not plain ASCII; returns how many bytes it took.
    size_t Special(const std::string& text, size_t at) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            text_ += "\xEF\xBF\xBD";
            return 1;
        }
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            text_ += escaped;
        } else {
            text_.append(text, at, length);
        }
        return length;
    }

    std::string text_;
};

}  // namespace tessara::base
