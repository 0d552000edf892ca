#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessara::base {

// Paths are held as UTF-8 text with the platform's separator; these turn them into file system calls. Every
// file the tool reads or writes goes through here.

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
// Windows takes "/" in a path as well as its own separator.
inline constexpr char kOtherPathSeparator = '/';
inline constexpr bool kPathsHaveDriveLetters = true;
inline constexpr const char* kExecutableSuffix = ".exe";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr char kOtherPathSeparator = '/';
inline constexpr bool kPathsHaveDriveLetters = false;
inline constexpr const char* kExecutableSuffix = "";
#endif

constexpr bool IsPathSeparator(char c) {
    return c == kPathSeparator || c == kOtherPathSeparator;
}

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// True when the path names a directory; a plain file of that name does not count.
bool DirectoryExists(const std::string& path);
// True when anything but a directory is at the path (a link is followed): a reader then reads it, and refuses
// what is not a regular file, rather than take a FIFO or a device for a missing document.
bool FileExists(const std::string& path);
// True when anything is at the path, a folder included (a link is followed): a project document's readers then
// refuse a folder named like the document as they refuse other non-files, rather than take it for a missing one.
bool AnythingExists(const std::string& path);

// True when the user may make a new entry in the directory (for root, whenever it exists). The one answer to
// "can a file be created here?" for the workspace, the check and the saves alike.
bool CanCreateIn(const std::string& dir);

// The largest input each reader takes: a file above its limit is refused by its size before it is read.
// A project document: 64 nodes of 65 535 input and 65 535 output bytes make a DefByte.xml of 8 388 480 rows,
// 29 bytes each with empty mnemonics (about 243 MB); the limit leaves room for a mnemonic of some 30
// characters on every byte of such a network.
inline constexpr size_t kDocumentFileLimit = size_t{512} << 20;
// An EDS file is a text description of one device, rarely above a megabyte.
inline constexpr size_t kEdsFileLimit = size_t{16} << 20;
inline constexpr size_t kSettingsFileLimit = size_t{1} << 20;

// A file that could not be read: the message names the path and the reason; the path is kept apart so a caller
// can tell which document failed without reading the message.
class FileReadError : public std::runtime_error {
public:
    FileReadError(const std::string& message, const std::string& path) : std::runtime_error(message), path_(path) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Reads a whole regular file of at most `limit` bytes. Anything else (a folder, a FIFO, a device) and a larger
// file are refused at once, naming the path; throws FileReadError with the system's reason otherwise.
std::string ReadWholeFile(const std::string& path, size_t limit = kDocumentFileLimit);
// The same into memory the caller provides: `buffer(size)` is asked once for room for the whole file.
void ReadWholeFileInto(const std::string& path, size_t limit, const std::function<char*(size_t)>& buffer);

// What the file held when it was read, to tell later whether another program has rewritten it: a hash of its
// content, or nullopt when there is no file. Content rather than time stamps, because a file system that keeps
// whole seconds would hide a rewrite of the same size within the second.
std::optional<uint64_t> FileFingerprint(const std::string& path, size_t limit);
uint64_t ContentFingerprint(std::string_view content);

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

enum class WriteTarget {
    RegularFile,  // a project document or bank.bin: anything that is not a regular file is refused
    AnyFile,      // an output the user names: a device, FIFO or socket there is written directly
};

// Writes a whole file as a careful editor does. A link is followed and stays a link; an existing file the user
// may not write is refused; an ordinary file is replaced through a temporary file in its folder, keeping its
// mode, owner and group, so a failed or interrupted write leaves the previous content in place; a file with
// several names, in a folder the user may not write, or whose owner could not be kept, is written in place, with
// a backup copy of its previous content beside it (where the folder takes one) until the write ends. Temporaries
// that killed saves left in the folder are removed first. Throws FileWriteError.
void WriteWholeFile(const std::string& path, std::string_view content, WriteTarget target = WriteTarget::AnyFile);

}  // namespace tessara::base
