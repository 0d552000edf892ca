#include "base/utf8_text.h"

namespace tessara::base {

namespace {

size_t LeadLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
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
            valid += "\xEF\xBF\xBD";
            ++i;
        } else {
            valid.append(text, i, length);
            i += length;
        }
    }
    return valid;
}

}  // namespace tessara::base
