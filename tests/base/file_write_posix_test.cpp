#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <future>

#include "base/file_system.h"
#include "base/save_temporary.h"
#include "base/temporary_name.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

namespace fs = std::filesystem;

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

size_t EntryCount(const std::string& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// Reads until the writer is done, then closes `fd`.
std::string ReadToEnd(int fd) {
    std::string content;
    char block[256];
    for (ssize_t n; (n = ::read(fd, block, sizeof block)) > 0;) content.append(block, static_cast<size_t>(n));
    ::close(fd);
    return content;
}

TEST(FileWrite, ALinkIsFollowedAndStaysALink) {
    TempDir dir;
    dir.Write("real.gsd", "old");
    fs::create_symlink("real.gsd", dir.File("link.gsd"));
    fs::create_symlink("made.gsd", dir.File("dangling.gsd"));
    WriteWholeFile(dir.File("link.gsd"), "new");
    WriteWholeFile(dir.File("dangling.gsd"), "made");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.gsd")));
    EXPECT_EQ(dir.Read("real.gsd"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.gsd")));
    EXPECT_EQ(dir.Read("made.gsd"), "made");
    EXPECT_EQ(EntryCount(dir.path()), 4u);
}

TEST(FileWrite, ModeOwnerAndGroupAreKept) {
    TempDir dir;
    for (const mode_t mode : {0600, 0440, 0755}) {
        const std::string path = dir.Write("Tessara_DNETM2PROFI.ini", "[lastproj]\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        // Giving the file away needs root; as another user only the mode is checked.
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        }
        WriteWholeFile(path, "[lastproj]\nprojectname=/Plant1\n", WriteTarget::RegularFile);
        const struct stat st = StatOf(path);
        EXPECT_EQ(st.st_mode & 07777, mode);
        if (root) {
            EXPECT_EQ(st.st_uid, 65534u);
            EXPECT_EQ(st.st_gid, 65534u);
        }
        EXPECT_EQ(dir.Read("Tessara_DNETM2PROFI.ini"), "[lastproj]\nprojectname=/Plant1\n");
        fs::remove(path);
    }
}

TEST(FileWrite, AFileWithSeveralNamesKeepsThemAll) {
    TempDir dir;
    const std::string path = dir.Write("pargen.xml", "<old/>");
    fs::create_hard_link(path, dir.File("copy.xml"));
    WriteWholeFile(path, "<PARGEN/>", WriteTarget::RegularFile);
    EXPECT_EQ(dir.Read("copy.xml"), "<PARGEN/>");
    EXPECT_EQ(StatOf(path).st_nlink, 2u);
    EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(FileWrite, AFailureInTheMiddleOfAnInPlaceWriteBringsThePreviousContentBack) {
    TempDir dir;
    const std::string previous(1000, 'o');
    const std::string path = dir.Write("DefByte.xml", previous);
    fs::create_hard_link(path, dir.File("other.xml"));
    {
        const FileSizeLimit full(4096);
        try {
            WriteWholeFile(path, std::string(10000, 'n'), WriteTarget::RegularFile);
            FAIL() << "a write past the limit succeeded";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(e.reason(), "File too large");
        }
    }
    EXPECT_EQ(dir.Read("other.xml"), previous);
    EXPECT_EQ(EntryCount(dir.path()), 2u) << "the copy of the previous content is left behind";
}

TEST(FileWrite, AnOutputThatIsNoRegularFileIsWrittenAndNeverReplaced) {
    TempDir dir;
    const std::string fifo = dir.File("reader");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // a reader is there before the save
    WriteWholeFile(fifo, "GSD text");
    ::fcntl(reader, F_SETFL, 0);
    EXPECT_EQ(ReadToEnd(reader), "GSD text");
    EXPECT_TRUE(fs::is_fifo(fifo));
    WriteWholeFile("/dev/null", "GSD text");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    const std::string socketPath = dir.File("listener");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    std::future<std::string> accepted =
        std::async(std::launch::async, [&] { return ReadToEnd(::accept(listener, nullptr, nullptr)); });
    WriteWholeFile(socketPath, "report text");
    EXPECT_EQ(accepted.get(), "report text");
    EXPECT_TRUE(fs::is_socket(socketPath));
    ::close(listener);
}

// Nobody will ever read it: waiting for a reader would hold the save, and the window, forever.
TEST(FileWrite, AFifoThatNoProgramReadsIsRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.File("report.html");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    try {
        WriteWholeFile(fifo, "report text");
        ADD_FAILURE() << "written to a FIFO nobody reads";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write \"" + fifo + "\". No program is reading it");
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(FileWrite, ADocumentOrImageThatIsNoRegularFileIsRefused) {
    TempDir dir;
    const std::string fifo = dir.File("DefByte.xml");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.MakeDir("bank.bin");
    for (const std::string& path : {fifo, std::string("/dev/null"), folder}) {
        try {
            WriteWholeFile(path, "<DefBytes/>", WriteTarget::RegularFile);
            ADD_FAILURE() << path << " was written";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(std::string(e.what()).find("Cannot write \"" + path + "\". It is "), 0u) << e.what();
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(folder));
}

// A save still running holds its temporary; a link or a folder of the temporary's name is not the tool's file,
// even with the proof of a temporary of the tool's beside it.
TEST(FileWrite, ATemporaryThatASaveHoldsOrALinkIsNotRemoved) {
    TempDir dir;
    SaveError error;
    SaveTemporary held = CreateSaveTemporary(dir.path(), error);
    ASSERT_TRUE(held.file.valid()) << ReasonOf(error);
    const std::string target = dir.Write("elsewhere.xml", "the user's");
    const std::string link = dir.File(".tessara-00000000000000cc.tmp");
    fs::create_symlink(target, link);
    const std::string folder = dir.MakeDir(".tessara-00000000000000dd.tmp");
    for (const std::string& name : {link, folder}) fs::copy_file(ProofPathOf(held.path), ProofPathOf(name));
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& path : {held.path, target, folder}) fs::last_write_time(path, old);
    WriteWholeFile(dir.File("DefByte.xml"), "<DefBytes/>", WriteTarget::RegularFile);
    EXPECT_TRUE(fs::exists(held.path));
    EXPECT_TRUE(fs::is_symlink(link));
    ASSERT_FALSE(held.file.Close());
    WriteWholeFile(dir.File("DefByte.xml"), "<DefBytes/>", WriteTarget::RegularFile);
    EXPECT_FALSE(fs::exists(held.path));
    EXPECT_FALSE(fs::exists(ProofPathOf(held.path)));
    EXPECT_EQ(dir.Read("elsewhere.xml"), "the user's");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_directory(folder));
}

// With a second name it is rewritten in place, and its backup copy's longer name is more than the folder takes:
// the previous content is then held in memory instead.
TEST(FileWrite, ANameOfTheLongestLengthSaves) {
    TempDir dir;
    const std::string name(255, 'g');
    dir.Write(name, "old");
    WriteWholeFile(dir.File(name), "new");
    EXPECT_EQ(dir.Read(name), "new");
    EXPECT_EQ(EntryCount(dir.path()), 1u);
    fs::create_hard_link(dir.File(name), dir.File("second"));
    WriteWholeFile(dir.File(name), "newer");
    EXPECT_EQ(dir.Read("second"), "newer");
    EXPECT_EQ(EntryCount(dir.path()), 2u);
}

}  // namespace
