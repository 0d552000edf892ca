#include "check/findings_text.h"

#include <cstdio>
#include <sstream>

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

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            json += escaped;
        } else {
            json += static_cast<char>(c);
        }
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
