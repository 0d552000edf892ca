#include "check/findings_text.h"

#include <cstdio>
#include <sstream>

namespace tessara::check {

namespace {

std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        line += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return line;
}

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

// Documents and folder names may hold any bytes; JSON must be UTF-8, so a byte that starts no well-formed
// sequence becomes U+FFFD.
std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            json += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            json += escaped;
        } else {
            json.append(text, i, length);
        }
        i += length;
    }
    return json + "\"";
}

void JsonBytes(std::ostream& out, const std::vector<SelectedByte>& bytes) {
    out << "[";
    for (size_t k = 0; k < bytes.size(); ++k) {
        out << (k ? "," : "") << "{\"byte\":" << bytes[k].number << ",\"mnemonic\":" << JsonString(bytes[k].mnemonic)
            << "}";
    }
    out << "]";
}

void JsonNode(std::ostream& out, const NodeIo& n) {
    out << "{\"position\":" << n.position << ",\"ID\":" << n.ID << ",\"mnemonic\":" << JsonString(n.mnemonic)
        << ",\"NB_IN\":" << n.NB_IN << ",\"NB_OUT\":" << n.NB_OUT << ",\"selectedIn\":";
    JsonBytes(out, n.selectedIn);
    out << ",\"selectedOut\":";
    JsonBytes(out, n.selectedOut);
    out << "}";
}

void JsonArea(std::ostream& out, const char* name, const AreaFit& fit) {
    out << JsonString(name) << ":{\"selected\":" << fit.selected << ",\"profibus\":" << fit.area << "}";
}

}  // namespace

std::string FindingLine(const Finding& finding) {
    return std::string(SeverityName(finding.severity)) + "\t" + finding.place + "\t" + OneLine(finding.text);
}

std::string FindingsText(const ProjectCheck& check) {
    std::string text;
    for (const Finding& finding : check.findings) text += FindingLine(finding) + "\n";
    return text;
}

std::string ProjectCheckJson(const ProjectCheck& check) {
    std::ostringstream out;
    out << "{\"project\":" << JsonString(check.projectDir) << ",\"nodes\":[";
    for (size_t i = 0; i < check.nodes.size(); ++i) {
        out << (i ? "," : "");
        JsonNode(out, check.nodes[i]);
    }
    out << "],";
    JsonArea(out, "input", check.input);
    out << ",";
    JsonArea(out, "output", check.output);
    out << ",\"findings\":[";
    for (size_t i = 0; i < check.findings.size(); ++i) {
        const Finding& f = check.findings[i];
        out << (i ? "," : "") << "{\"severity\":" << JsonString(SeverityName(f.severity))
            << ",\"place\":" << JsonString(f.place) << ",\"text\":" << JsonString(f.text) << "}";
    }
    out << "],\"error\":" << (check.HasError() ? "true" : "false") << "}\n";
    return out.str();
}

}  // namespace tessara::check
