#pragma once

// What the system calls a path that runs through a file as if it were a folder: Linux names the file in the way,
// Windows only finds no such path.
#ifdef _WIN32
inline constexpr const char* kPathThroughAFileReason = "No such file or directory";
#else
inline constexpr const char* kPathThroughAFileReason = "Not a directory";
#endif
