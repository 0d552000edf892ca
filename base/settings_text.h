#pragma once

#include <string>
#include <string_view>

namespace tessara::base {

// The settings file is the user's as much as ours: saving our one key must leave every other line as it was.
// SimpleIni reads the file, but its writer rebuilds the whole text (it merges duplicate keys, drops lines
// without "=", moves comments and writes its own line ends), so the save edits the text of the one line instead.
//
// Returns `text` with the value of `key` in `section` set to `value`, matching names as SimpleIni does (without
// regard to case, blanks around them ignored). The line SimpleIni reads the key from (the last one) gets the
// new value and keeps its line end; without such a line one is added under the section's last header, and
// without the section both are appended, in the line ends the file already uses. Throws std::runtime_error when
// SimpleIni cannot read `text`, or would still not read the value from the result (it reads some broken lines its
// own way, such as a "[" that takes the next line for the section's name): the caller then leaves the file as it
// is.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// The value of `key` in `section` as SimpleIni reads it from `text`; empty when either is missing or SimpleIni
// cannot read the text.
std::string IniValue(std::string_view text, const std::string& section, const std::string& key);

}  // namespace tessara::base
