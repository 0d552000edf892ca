#include "base/settings_text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace tessara::base {

namespace {

struct Line {
    size_t begin;
    size_t end;  // before the line end
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    for (size_t begin = 0; begin < text.size();) {
        const size_t next = text.find('\n', begin);
        const size_t stop = next == std::string_view::npos ? text.size() : next;
        lines.push_back({begin, stop > begin && text[stop - 1] == '\r' ? stop - 1 : stop});
        begin = next == std::string_view::npos ? text.size() : next + 1;
    }
    return lines;
}

std::string_view Trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The name of a section header line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    line = Trimmed(line);
    const size_t close = line.find(']');
    if (!line.starts_with('[') || close == std::string_view::npos) return std::nullopt;
    return Trimmed(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
    const size_t equals = line.find('=');
    return equals != std::string_view::npos && SameName(Trimmed(line.substr(0, equals)), key);
}

}  // namespace

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    std::optional<size_t> keyLine;
    std::optional<size_t> header;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = SectionName(line)) {
            inSection = SameName(*name, section);
            if (inSection) header = i;
        } else if (inSection && IsKeyLine(line, key)) {
            keyLine = i;
        }
    }
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::string result(text);
    if (keyLine) return result.replace(lines[*keyLine].begin, lines[*keyLine].end - lines[*keyLine].begin, entry);
    const std::string eol =
        !lines.empty() && lines.front().end < text.size() && text[lines.front().end] == '\r' ? "\r\n" : "\n";
    if (header) {
        const size_t end = lines[*header].end;
        if (end == text.size()) return result + eol + entry + eol;
        return result.insert(end + (text[end] == '\r' ? 2 : 1), entry + eol);
    }
    if (!result.empty() && result.back() != '\n') result += eol;
    return result + "[" + std::string(section) + "]" + eol + entry + eol;
}

}  // namespace tessara::base
