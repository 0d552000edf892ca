#pragma once

#include <cstdint>
#include <string>

namespace tessara::base {

// The refusals every platform's reader gives in the same words.

// Throws FileReadError: "Cannot read "<path>". <reason>".
[[noreturn]] void FailRead(const std::string& path, const std::string& reason);
// Refuses a folder, anything that is not a regular file, and a file above `limit` bytes.
void CheckKindAndSize(const std::string& path, bool directory, bool regular, uintmax_t size, size_t limit);

}  // namespace tessara::base
