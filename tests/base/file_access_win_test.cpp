// The Windows counterparts of the FIFO, device and mode cases: a named pipe, the NUL device, the read-only
// attribute, and a path beyond the old 260-character limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <random>

#include "base/file_system.h"
#include "base/save_temporary.h"
#include "base/temporary_name.h"
#include "base/windows_handle.h"
#include "base/windows_path.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

// A pipe with a server end and no client: a reader that opened it for reading would wait for data forever.
struct NamedPipe {
    std::string path = "\\\\.\\pipe\\tessara-test-" + std::to_string(std::random_device{}());
    WindowsHandle server{
        ::CreateNamedPipeA(path.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr)};
};

TEST(FileAccessWindows, APipeADeviceAndAFolderAreRefusedAtOnceByTheReader) {
    TempDir dir;
    NamedPipe pipe;
    ASSERT_TRUE(pipe.server.valid());
    const std::string folder = dir.MakeDir("device.eds");
    const std::pair<std::string, std::string> cases[] = {
        {pipe.path, "it is not a regular file"}, {"NUL", "it is not a regular file"}, {folder, "it is a folder"}};
    for (const auto& [path, refusal] : cases) {
        try {
            ReadWholeFile(path);
            ADD_FAILURE() << path << " was read";
        } catch (const FileReadError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read \"" + path + "\": " + refusal);
        }
    }
}

TEST(FileAccessWindows, APipeOrDeviceIsWrittenDirectlyOnlyWhereTheUserNamedIt) {
    NamedPipe pipe;
    ASSERT_TRUE(pipe.server.valid());
    WriteWholeFile("NUL", "GSD text");
    auto received = std::async(std::launch::async, [&pipe] {
        ::ConnectNamedPipe(pipe.server.get(), nullptr);
        std::string text(64, '\0');
        DWORD got = 0;
        ::ReadFile(pipe.server.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
        text.resize(got);
        return text;
    });
    WriteWholeFile(pipe.path, "GSD text");
    EXPECT_EQ(received.get(), "GSD text");
    NamedPipe unread;
    for (const std::string& path : {unread.path, std::string("NUL")}) {
        EXPECT_THROW(WriteWholeFile(path, "image", WriteTarget::RegularFile), FileWriteError) << path;
    }
}

TEST(FileAccessWindows, TheReadOnlyAttributeIsRefusedAndTheFileKept) {
    TempDir dir;
    const std::string path = dir.Write("DNET_Net.xml", "previous");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        WriteWholeFile(path, "new", WriteTarget::RegularFile);
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.reason(), "Permission denied");
    }
    EXPECT_EQ(ReadWholeFile(path), "previous");
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileAccessWindows, APathLongerThan260CharactersIsWrittenReplacedAndRead) {
    TempDir dir;
    const std::string folder = dir.MakeDir(std::string(120, 'a') + "/" + std::string(120, 'b'));
    const std::string path = folder + kPathSeparator + std::string(60, 'c') + ".xml";
    ASSERT_GT(path.size(), 260u);
    WriteWholeFile(path, "first");
    WriteWholeFile(path, "second");
    EXPECT_EQ(ReadWholeFile(path), "second");
}

// A save still running has its temporary open, sharing nothing: a later save in the folder leaves it alone.
TEST(FileAccessWindows, ATemporaryThatASaveHoldsIsNotRemoved) {
    TempDir dir;
    SaveError error;
    SaveTemporary held = CreateSaveTemporary(dir.path(), error);
    ASSERT_TRUE(held.file.valid()) << ReasonOf(error);
    // Aged through its own handle: a temporary held sharing nothing takes no other opener.
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER written{};
    written.LowPart = now.dwLowDateTime;
    written.HighPart = now.dwHighDateTime;
    written.QuadPart -= 36000000000ull;  // an hour in 100-nanosecond steps
    const FILETIME hourAgo{written.LowPart, written.HighPart};
    ASSERT_TRUE(::SetFileTime(reinterpret_cast<HANDLE>(held.file.raw()), nullptr, nullptr, &hourAgo));
    WriteWholeFile(dir.File("DefByte.xml"), "<DefBytes/>", WriteTarget::RegularFile);
    EXPECT_TRUE(FileExists(held.path));
    ASSERT_FALSE(held.file.Close());
    WriteWholeFile(dir.File("DefByte.xml"), "<DefBytes/>", WriteTarget::RegularFile);
    EXPECT_FALSE(FileExists(held.path));
    EXPECT_FALSE(FileExists(ProofPathOf(held.path)));
}

}  // namespace
