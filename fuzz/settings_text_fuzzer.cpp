#include <SimpleIni.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/settings_text.h"
#include "base/workspace.h"

using namespace tessara::base;

namespace {

// SimpleIni drops the blanks around a value, so the value set is one a save could give it back.
std::string_view TrimmedValue(std::string_view value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!value.empty() && blank(value.front())) value.remove_prefix(1);
    while (!value.empty() && blank(value.back())) value.remove_suffix(1);
    return value;
}

// The edit changes at most one line of the input: between the part both texts start with and the part both
// end with, the input keeps no line end.
bool TouchesOneLine(std::string_view before, std::string_view after) {
    const auto common = [](auto b, auto bEnd, auto a, auto aEnd) {
        return static_cast<size_t>(std::mismatch(b, bEnd, a, aEnd).first - b);
    };
    const size_t prefix = common(before.begin(), before.end(), after.begin(), after.end());
    before.remove_prefix(prefix);
    after.remove_prefix(prefix);
    const size_t suffix = common(before.rbegin(), before.rend(), after.rbegin(), after.rend());
    return before.substr(0, before.size() - suffix).find('\n') == std::string_view::npos;
}

}  // namespace

// The first line of the input is the value to save, the rest the settings file. Of a file SimpleIni reads, the
// edit is either refused or keeps every other line and gives a file SimpleIni reads the new value from.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t cut = std::min(input.find('\n'), input.size());
    const std::string value(TrimmedValue(input.substr(0, cut)));
    if (value.find_first_of(std::string_view("\r\0", 2)) != std::string::npos) return 0;
    const std::string_view text = input.substr(std::min(cut + 1, input.size()));

    CSimpleIniA before;
    if (before.LoadData(text.data(), text.size()) < 0) return 0;
    std::string after;
    try {
        after = WithIniValue(text, Workspace::kSettingsSection, Workspace::kSettingsKey, value);
    } catch (const std::runtime_error&) {
        return 0;  // a text SimpleIni reads its own way is refused and left as it is
    }
    if (!TouchesOneLine(text, after)) std::abort();
    CSimpleIniA reread;
    if (reread.LoadData(after) < 0) std::abort();
    if (reread.GetValue(Workspace::kSettingsSection, Workspace::kSettingsKey, "") != value) std::abort();
    return 0;
}
