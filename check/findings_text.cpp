#include "check/findings_text.h"

#include <algorithm>
#include <cstdio>

#include "base/json_text.h"
#include "base/utf8_text.h"

namespace tessara::check {

namespace {

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
            const size_t length = base::Utf8SequenceLength(text, i);
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

void JsonBytes(base::JsonText& out, const std::vector<SelectedByte>& bytes) {
    out.Raw("[");
    for (size_t k = 0; k < bytes.size(); ++k) {
        out.Raw(k ? ",{\"byte\":" : "{\"byte\":").Number(bytes[k].number).Raw(",\"mnemonic\":");
        out.String(bytes[k].mnemonic).Raw("}");
    }
    out.Raw("]");
}

void JsonNode(base::JsonText& out, const NodeIo& n) {
    out.Raw("{\"position\":").Number(n.position).Raw(",\"ID\":").Number(n.ID).Raw(",\"mnemonic\":");
    out.String(n.mnemonic).Raw(",\"NB_IN\":").Number(n.NB_IN).Raw(",\"NB_OUT\":").Number(n.NB_OUT);
    out.Raw(",\"selectedIn\":");
    JsonBytes(out, n.selectedIn);
    out.Raw(",\"selectedOut\":");
    JsonBytes(out, n.selectedOut);
    out.Raw("}");
}

void JsonArea(base::JsonText& out, const char* name, const AreaFit& fit) {
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
    base::JsonText out(ExpectedJsonSize(check));
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
