#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_system.h"

namespace tessara::base {

// The few system calls a careful save is made of, one set per platform (file_write_posix.cpp and
// file_write_win.cpp). The save itself, the temporary and rename, the backup copy and the rewrite in place, is
// written once over them in file_write.cpp, so the platforms cannot drift apart.

// A failed system call: the platform's error number (errno or GetLastError), 0 for none.
struct SaveError {
    unsigned long code = 0;
    explicit operator bool() const { return code != 0; }
};
std::string ReasonOf(SaveError error);
bool IsAlreadyThere(SaveError error);
// The user may not make or change the file; a save then takes the next way, where it has one.
bool IsRefusal(SaveError error);

// An open file of the system (a descriptor or a handle), closed when it goes out of scope.
class SaveHandle {
public:
    SaveHandle() = default;
    explicit SaveHandle(std::intptr_t raw) : raw_(raw) {}
    ~SaveHandle();
    SaveHandle(const SaveHandle&) = delete;
    SaveHandle(SaveHandle&& other) noexcept : raw_(std::exchange(other.raw_, kNone)) {}
    SaveHandle& operator=(SaveHandle&& other) noexcept {
        std::swap(raw_, other.raw_);
        return *this;
    }
    bool valid() const { return raw_ != kNone; }
    std::intptr_t raw() const { return raw_; }
    // Closing is where some file systems report a failed write.
    SaveError Close();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t raw_ = kNone;
};

enum class FoundKind { Missing, Folder, RegularFile, Stream };

// What is at the path a save was given, links followed.
struct FoundFile {
    FoundKind kind = FoundKind::Missing;
    // The file the save goes to: the one every link reaches; for a missing file, where a dangling link leads.
    std::string reached;
    unsigned long names = 0;  // a regular file's hard links
    // What the file's replacement keeps where the system keeps them in numbers (mode, owner and group).
    uint32_t mode = 0;
    uint32_t owner = 0;
    uint32_t group = 0;
    // A stream the look had to open for writing (a Windows pipe takes only one opener); else not valid.
    SaveHandle opened;
};

// Throws FileWriteError for a path that cannot be looked at and for a regular file the user may not write.
FoundFile LookAt(const std::string& path, WriteTarget target);
// A device, FIFO, pipe or socket is the user's chosen output: written as it comes, never replaced. Throws.
void WriteToStream(const std::string& path, FoundFile& found, std::string_view content);

// A new file under a name nobody has, for reading and writing, held until closed so no other save takes it for
// a leftover (temporary_hold.h).
SaveHandle CreateNew(const std::string& path, SaveError& error);
SaveHandle OpenToRewrite(const std::string& path, SaveError& error);
SaveHandle OpenToRead(const std::string& path, SaveError& error);
SaveError SizeOf(const SaveHandle& file, uint64_t& size);
// `got` is 0 at the end of the file.
SaveError ReadAt(const SaveHandle& file, uint64_t offset, char* data, size_t size, size_t& got);
SaveError WriteAt(const SaveHandle& file, uint64_t offset, std::string_view data);
SaveError SetSize(const SaveHandle& file, uint64_t size);
// Until this returns the data may still be only in memory; a rename before it could make an empty document.
SaveError Flush(const SaveHandle& file);
// Gives `from` the name `to`, replacing what has that name. `keepReplaced` keeps the replaced file's attributes
// and permissions where the platform keeps them only through the rename itself.
SaveError MoveOver(const std::string& from, const std::string& to, bool keepReplaced);
void RemoveFile(const std::string& path);
// The bytes the user may still write on the drive that holds the folder.
SaveError FreeSpace(const std::string& dir, uint64_t& bytes);
// Gives a new file the permissions, and where it can the owner and group, of `old`. False when the owner
// could not be given back, so a replacement would take the file from its owner.
bool KeepIdentity(const SaveHandle& made, const FoundFile& old);
// Which file this is on its volume, whatever its names: the same text for every name of one file.
std::string FileIdentity(const SaveHandle& file);

}  // namespace tessara::base
