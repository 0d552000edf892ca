#include "check/findings_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace tessara::check {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0: overlong forms, surrogates and code points
// above U+10FFFF are not well-formed.
size_t LeadLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

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

void AppendEscaped(std::string& line, unsigned char code) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
    line += escaped;
}

// The C1 control at `at` (U+0080 to U+009F, or such a byte outside any UTF-8 sequence), or -1.
int C1ControlAt(const std::string& text, size_t at, size_t length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (length == 0 && byte(at) >= 0x80 && byte(at) <= 0x9F) return byte(at);
    if (length == 2 && byte(at) == 0xC2 && byte(at + 1) <= 0x9F) return byte(at + 1);
    return -1;
}

}  // namespace

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
            if (const int control = C1ControlAt(text, i, length); control >= 0) {
                AppendEscaped(line, static_cast<unsigned char>(control));
            } else {
                line.append(text, i, std::max<size_t>(length, 1));
            }
            i += std::max<size_t>(length, 1);
        }
    }
    return line;
}

namespace {

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

void JsonBytes(JsonText& out, const std::vector<SelectedByte>& bytes) {
    out.Raw("[");
    for (size_t k = 0; k < bytes.size(); ++k) {
        out.Raw(k ? ",{\"byte\":" : "{\"byte\":").Number(bytes[k].number).Raw(",\"mnemonic\":");
        out.String(bytes[k].mnemonic).Raw("}");
    }
    out.Raw("]");
}

void JsonNode(JsonText& out, const NodeIo& n) {
    out.Raw("{\"position\":").Number(n.position).Raw(",\"ID\":").Number(n.ID).Raw(",\"mnemonic\":");
    out.String(n.mnemonic).Raw(",\"NB_IN\":").Number(n.NB_IN).Raw(",\"NB_OUT\":").Number(n.NB_OUT);
    out.Raw(",\"selectedIn\":");
    JsonBytes(out, n.selectedIn);
    out.Raw(",\"selectedOut\":");
    JsonBytes(out, n.selectedOut);
    out.Raw("}");
}

void JsonArea(JsonText& out, const char* name, const AreaFit& fit) {
    out.String(name).Raw(":{\"selected\":").Number(fit.selected).Raw(",\"profibus\":").Number(fit.area).Raw("}");
}

// Some 40 bytes of JSON for each selected byte, and room for the rest.
size_t ExpectedJsonSize(const ProjectCheck& check) {
    size_t bytes = 0;
    for (const NodeIo& n : check.nodes) bytes += n.selectedIn.size() + n.selectedOut.size();
    return 40 * bytes + 200 * (check.nodes.size() + check.findings.size()) + 1024;
}

}  // namespace

std::string FindingLine(const Finding& finding) {
    return std::string(SeverityName(finding.severity)) + "\t" + ShownAsText(finding.place) + "\t" +
           ShownAsText(finding.text);
}

std::string FindingsText(const ProjectCheck& check) {
    std::string text;
    for (const Finding& finding : check.findings) text += FindingLine(finding) + "\n";
    return text;
}

std::string ProjectCheckJson(const ProjectCheck& check) {
    JsonText out(ExpectedJsonSize(check));
    out.Raw("{\"project\":").String(check.projectDir).Raw(",\"nodes\":[");
    for (size_t i = 0; i < check.nodes.size(); ++i) {
        out.Raw(i ? "," : "");
        JsonNode(out, check.nodes[i]);
    }
    out.Raw("],");
    JsonArea(out, "input", check.input);
    out.Raw(",");
    JsonArea(out, "output", check.output);
    out.Raw(",\"findings\":[");
    for (size_t i = 0; i < check.findings.size(); ++i) {
        const Finding& f = check.findings[i];
        out.Raw(i ? ",{\"severity\":" : "{\"severity\":").String(SeverityName(f.severity));
        out.Raw(",\"place\":").String(f.place).Raw(",\"text\":").String(f.text).Raw("}");
    }
    out.Raw("],\"error\":").Raw(check.HasError() ? "true" : "false").Raw("}\n");
    return out.Take();
}

}  // namespace tessara::check
