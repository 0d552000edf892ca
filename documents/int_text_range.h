#pragma once

#include <string_view>

#include "documents/int_text.h"

namespace tessara::documents {

// The editors' range test on OK: a text that is not an integer text counts as -1, so it fails every range
// that does not hold -1.
inline bool IntTextInRange(std::string_view text, int low, int high) {
    const int value = IntOrMinusOne(text);
    return value >= low && value <= high;
}

}  // namespace tessara::documents
