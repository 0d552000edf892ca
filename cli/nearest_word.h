#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessara::cli {

// The word of `words` that a mistyped one most likely meant ("mpa" -> "map", "chek" -> "check"): the nearest by
// edits of one letter (a letter added, dropped, changed, or two neighbours swapped), if it is near enough to be a
// slip: one edit for words of up to four letters, two for longer ones; the case of a letter is no edit.
// Empty when none is near enough.
std::string NearestWord(std::string_view typed, const std::vector<std::string>& words);

}  // namespace tessara::cli
