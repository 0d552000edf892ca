#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// Paths are held as UTF-8 text with the platform's separator; these turn them into file system calls.

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::filesystem::path PathFromUtf8(std::string_view utf8);

// True when the path names a directory; a plain file of that name does not count.
bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);

// A file that could not be read: the message names the path and the system's reason; the path is kept apart so
// a caller can tell which document failed without reading the message.
class FileReadError : public std::runtime_error {
public:
    FileReadError(const std::string& message, const std::string& path) : std::runtime_error(message), path_(path) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Reads a whole file; throws FileReadError.
std::string ReadWholeFile(const std::string& path);

// A file that could not be written: "Cannot write "<path>". <reason>", with the system's reason kept apart so
// a caller can word the failure its own way.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const std::string& path, const std::string& reason)
        : std::runtime_error("Cannot write \"" + path + "\". " + reason), reason_(reason) {}
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

// Writes through a temporary file in the same directory that is renamed over the target, so a failed or
// interrupted write leaves the previous content in place. Throws FileWriteError.
void WriteFileAtomically(const std::string& path, std::string_view content);
