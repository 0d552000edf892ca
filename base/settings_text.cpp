#include "base/settings_text.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tessara::base {

namespace {

struct Line {
    size_t begin;
    size_t end;   // before the line end
    size_t next;  // after the line end: where the next line begins
};

constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

// The lines as SimpleIni reads them: CR LF, LF or a CR alone ends one, and a UTF-8 signature counts only at the
// start of the text, where it belongs to no line.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    for (size_t begin = text.starts_with(kUtf8Signature) ? kUtf8Signature.size() : 0; begin < text.size();) {
        const size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
        const size_t next = std::min(end + (text.substr(end, 2) == "\r\n" ? 2 : 1), text.size());
        lines.push_back({begin, end, next});
        begin = next;
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
    line = Trimmed(line);
    const size_t close = line.find(']');
    if (!line.starts_with('[') || close == std::string_view::npos) return std::nullopt;
    return Trimmed(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
    const size_t equals = line.find('=');
    return equals != std::string_view::npos && SameName(Trimmed(line.substr(0, equals)), key);
}

struct Places {
    std::optional<size_t> keyLine;  // the last line of the key in the section, which SimpleIni reads
    std::optional<size_t> header;   // the section's last header
};

Places FindPlaces(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                  std::string_view key) {
    Places places;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = SectionName(line)) {
            inSection = SameName(*name, section);
            if (inSection) places.header = i;
        } else if (inSection && IsKeyLine(line, key)) {
            places.keyLine = i;
        }
    }
    return places;
}

std::string EditedText(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
    // SimpleIni reads up to the first NUL byte (a file cut short by a crash may end in a run of them), so only
    // the lines before it count, and what is added goes before it to be read back.
    const std::string_view seen = text.substr(0, text.find('\0'));
    const std::vector<Line> lines = SplitLines(seen);
    const Places places = FindPlaces(seen, lines, section, key);
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::string result(text);
    if (places.keyLine) {
        const Line& line = lines[*places.keyLine];
        return result.replace(line.begin, line.end - line.begin, entry);
    }
    const std::string eol = !lines.empty() && seen.substr(lines.front().end, 2) == "\r\n" ? "\r\n" : "\n";
    // After the section's last header, or a new section after the last line; either starts on a line of its own.
    const size_t at = places.header ? lines[*places.header].next : seen.size();
    const std::string lineEnd = at > 0 && seen[at - 1] != '\n' && seen[at - 1] != '\r' ? eol : std::string();
    const std::string added = places.header ? entry + eol : "[" + std::string(section) + "]" + eol + entry + eol;
    return result.insert(at, lineEnd + added);
}

std::optional<std::string> ReadValue(std::string_view text, const std::string& section, const std::string& key) {
    CSimpleIniA ini;
    if (ini.LoadData(text.data(), text.size()) < 0) return std::nullopt;
    const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!value) return std::nullopt;
    return value;
}

bool Readable(std::string_view text) {
    CSimpleIniA ini;
    return ini.LoadData(text.data(), text.size()) >= 0;
}

bool ReadsBack(const std::string& text, const std::string& section, const std::string& key, std::string_view value) {
    const std::optional<std::string> read = ReadValue(text, section, key);
    return read && Trimmed(value) == *read;
}

}  // namespace

std::string IniValue(std::string_view text, const std::string& section, const std::string& key) {
    return ReadValue(text, section, key).value_or(std::string());
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    if (!Readable(text)) throw std::runtime_error("SimpleIni cannot read the settings");
    std::string result = EditedText(text, section, key, value);
    if (!ReadsBack(result, std::string(section), std::string(key), value))
        throw std::runtime_error("SimpleIni would not read the new value from the edited settings");
    return result;
}

}  // namespace tessara::base
