// The careful save, written once over the platform's primitives (save_primitives.h).
#include <algorithm>
#include <memory>
#include <optional>

#include "base/file_system.h"
#include "base/save_primitives.h"
#include "base/save_temporary.h"
#include "base/temporary_name.h"

namespace tessara::base {

namespace {

// A copy moves through memory in pieces of this size, so a file of any size costs the same memory to save over.
constexpr size_t kCopyChunk = size_t{1} << 20;

[[noreturn]] void FailWrite(const std::string& shown, SaveError error) {
    throw FileWriteError(shown, ReasonOf(error));
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of(std::string{kPathSeparator, kOtherPathSeparator});
    if (cut == std::string::npos) return ".";
    return cut == 0 ? std::string(1, kPathSeparator) : path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of(std::string{kPathSeparator, kOtherPathSeparator}) + 1);
}

SaveError WriteFlushed(const SaveHandle& file, std::string_view content) {
    if (SaveError error = WriteAt(file, 0, content)) return error;
    if (SaveError error = SetSize(file, content.size())) return error;
    return Flush(file);
}

// Copies the first `size` bytes of `from` over the whole of `to`, a piece at a time, and flushes.
SaveError CopyContent(const SaveHandle& from, const SaveHandle& to, uint64_t size) {
    const std::unique_ptr<char[]> chunk(new char[kCopyChunk]);
    for (uint64_t done = 0; done < size;) {
        size_t got = 0;
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyChunk, size - done));
        if (SaveError error = ReadAt(from, done, chunk.get(), want, got)) return error;
        if (got == 0) {
            size = done;  // shorter than it was: the copy ends where the file does
            break;
        }
        if (SaveError error = WriteAt(to, done, std::string_view(chunk.get(), got))) return error;
        done += got;
    }
    if (SaveError error = SetSize(to, size)) return error;
    return Flush(to);
}

// Writes into a new file beside the target and renames it over the target, so the target is at every moment
// either the whole old file or the whole new one. False, with nothing changed, when the folder does not let
// a file be created or the owner could not be kept: the caller then writes in place.
bool ReplaceThroughTemporary(const std::string& target, const std::string& shown, std::string_view content,
                             const FoundFile* old) {
    SaveError error;
    SaveTemporary temporary = CreateSaveTemporary(FolderOf(target), error);
    if (!temporary.file.valid()) {
        if (old && IsRefusal(error)) return false;
        FailWrite(shown, error);
    }
    if (old && !KeepIdentity(temporary.file, *old)) {
        DiscardSaveTemporary(temporary);
        return false;
    }
    error = WriteFlushed(temporary.file, content);
    if (!error) error = temporary.file.Close();
    if (!error) error = MoveOver(temporary.path, target, old != nullptr);
    if (error) {
        DiscardSaveTemporary(temporary);
        FailWrite(shown, error);
    }
    DropProof(temporary.path);
    return true;
}

// Where the previous content of a file rewritten in place is kept until the rewrite ends: its backup copy
// beside it, or, where the folder takes no new file, memory.
struct PreviousContent {
    std::string copy;  // the backup copy's path; empty when there is none
    std::optional<std::string> held;
};

// A piece of free space for the copy and for the file's growth, or a refusal before the file is touched.
void CheckRoomForCopy(const std::string& folder, const std::string& shown, uint64_t size, size_t newSize) {
    uint64_t available = 0;
    const uint64_t needed = size + (newSize > size ? newSize - size : 0);
    // A drive that does not tell is tried: a copy that then fills it fails and is removed before the file changes.
    if (FreeSpace(folder, available) || available >= needed) return;
    throw FileWriteError(shown, "There is no room for the backup copy of its " + std::to_string(size) +
                                    " bytes that a rewrite in place keeps beside it: " + std::to_string(available) +
                                    " bytes are free");
}

// The previous content, saved beside the file as its backup copy before the first byte of the file changes.
// Copied under a temporary's name and given the copy's name only when whole, so a copy that exists can always
// be put back; it takes the file's permissions, so it shows no more of the content than the file does. Empty
// when the folder takes no new file or the copy's longer name; throws when the drive has no room for it.
std::string MakeBackupCopy(const std::string& path, const std::string& shown, const SaveHandle& file, uint64_t size,
                           size_t newSize, const FoundFile& found) {
    SaveError error;
    SaveTemporary temporary = CreateSaveTemporary(FolderOf(path), error);
    if (!temporary.file.valid()) return {};
    try {
        CheckRoomForCopy(FolderOf(path), shown, size, newSize);
    } catch (const FileWriteError&) {
        DiscardSaveTemporary(temporary);
        throw;
    }
    KeepIdentity(temporary.file, found);
    const std::string copy = FolderOf(path) + kPathSeparator + BackupCopyName(NameOf(path));
    error = CopyContent(file, temporary.file, size);
    if (!error) error = temporary.file.Close();
    if (!error) error = MoveOver(temporary.path, copy, false);
    if (error) {
        DiscardSaveTemporary(temporary);
        return {};
    }
    DropProof(temporary.path);
    return copy;
}

// Without a copy the previous content is held in memory to be put back after a failure part way, up to the
// size of the largest document.
std::string HeldPrevious(const std::string& shown, const SaveHandle& file, uint64_t size) {
    if (size > kDocumentFileLimit) {
        throw FileWriteError(shown, "No backup copy of it can be made beside it, and its " + std::to_string(size) +
                                        " bytes are more than a rewrite in place holds in memory");
    }
    std::string held(static_cast<size_t>(size), '\0');
    size_t got = 0;
    for (size_t done = 0; done < held.size(); done += got) {
        if (SaveError error = ReadAt(file, done, held.data() + done, held.size() - done, got)) FailWrite(shown, error);
        if (got == 0) {
            held.resize(done);
            break;
        }
    }
    return held;
}

PreviousContent KeepPrevious(const std::string& path, const std::string& shown, const SaveHandle& file, uint64_t size,
                             size_t newSize, const FoundFile& found) {
    if (std::string copy = MakeBackupCopy(path, shown, file, size, newSize, found); !copy.empty()) {
        return {std::move(copy), std::nullopt};
    }
    return {{}, HeldPrevious(shown, file, size)};
}

SaveError PutBack(const SaveHandle& file, const PreviousContent& previous) {
    if (previous.held) return WriteFlushed(file, *previous.held);
    SaveError error;
    const SaveHandle copy = OpenToRead(previous.copy, error);
    uint64_t size = 0;
    if (!error) error = SizeOf(copy, size);
    return error ? error : CopyContent(copy, file, size);
}

// Rewrites the file itself, so every name it has (hard links) and its identity stay. Before the first byte
// changes, the previous content is kept (KeepPrevious). A failure part way puts the previous content back and
// removes the copy; a process killed part way leaves the copy, which the project check reports and the editors
// offer to put back.
void RewriteInPlace(const std::string& path, const std::string& shown, std::string_view content,
                    const FoundFile& found) {
    SaveError error;
    const SaveHandle file = OpenToRewrite(path, error);
    uint64_t size = 0;
    if (!error) error = SizeOf(file, size);
    if (error) FailWrite(shown, error);
    const PreviousContent previous = KeepPrevious(path, shown, file, size, content.size(), found);
    error = WriteFlushed(file, content);
    if (error && PutBack(file, previous)) {
        throw FileWriteError(
            shown, ReasonOf(error) +
                       (previous.copy.empty() ? std::string() : ". The previous content is in " + previous.copy));
    }
    if (!previous.copy.empty()) RemoveFile(previous.copy);
    if (error) FailWrite(shown, error);
}

}  // namespace

SaveTemporary CreateSaveTemporary(const std::string& dir, SaveError& error) {
    SaveTemporary temporary;
    for (int attempt = 0; !temporary.file.valid() && attempt < 100; ++attempt) {
        temporary.path = dir + kPathSeparator + TemporaryName();
        temporary.file = CreateNew(temporary.path, error);
        if (!temporary.file.valid() && !IsAlreadyThere(error)) return temporary;
    }
    if (!temporary.file.valid()) return temporary;
    // Without its proof a leftover temporary is only never removed, so a proof that cannot be written is no error.
    SaveError proofError;
    const std::string proofPath = ProofPathOf(temporary.path);
    SaveHandle proof = CreateNew(proofPath, proofError);
    if (proof.valid() && (WriteAt(proof, 0, ProofText(FileIdentity(temporary.file))) || proof.Close())) {
        RemoveFile(proofPath);
    }
    return temporary;
}

void DropProof(const std::string& temporaryPath) {
    RemoveFile(ProofPathOf(temporaryPath));
}

void DiscardSaveTemporary(SaveTemporary& temporary) {
    if (temporary.file.valid()) temporary.file.Close();
    RemoveFile(temporary.path);
    DropProof(temporary.path);
}

void WriteWholeFile(const std::string& path, std::string_view content, WriteTarget target) {
    FoundFile found = LookAt(path, target);
    switch (found.kind) {
        case FoundKind::Folder:
            throw FileWriteError(path, "It is a folder");
        case FoundKind::Stream:
            if (target == WriteTarget::RegularFile) throw FileWriteError(path, "It is not a regular file");
            WriteToStream(path, found, content);
            return;
        case FoundKind::Missing:
            RemoveStaleTemporaries(FolderOf(found.reached));
            ReplaceThroughTemporary(found.reached, path, content, nullptr);
            return;
        case FoundKind::RegularFile:
            RemoveStaleTemporaries(FolderOf(found.reached));
            if (found.names > 1 || !ReplaceThroughTemporary(found.reached, path, content, &found)) {
                RewriteInPlace(found.reached, path, content, found);
            }
            return;
    }
}

}  // namespace tessara::base
