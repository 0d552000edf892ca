#pragma once

#include <string>
#include <vector>

namespace tessara::base {

// The backup copies of the file at `path` that an interrupted rewrite in place left beside it (a file reached
// through a link has them beside the file it reaches), newest first. Each holds the whole content the file had
// before that save began. Empty when there are none or the folder cannot be listed.
std::vector<std::string> LeftBackupCopies(const std::string& path);

// Puts the copy's content back as the file at `path`, saved as every save is, then removes the copy. Throws
// FileReadError or FileWriteError; the copy stays unless the file was written.
void RestoreBackupCopy(const std::string& copy, const std::string& path, size_t limit);

}  // namespace tessara::base
