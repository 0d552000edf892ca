#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/backup_copies.h"
#include "base/file_system.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    TempDir dir;
    dir.Write("bank.bin", "old");
    WriteWholeFile(dir.File("bank.bin"), std::string("new\0data", 8));
    EXPECT_EQ(dir.Read("bank.bin"), std::string("new\0data", 8));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(AtomicWrite, AFolderRemovedBeforeTheSaveGivesPathAndReason) {
    TempDir dir;
    dir.Write("doc/pargen.xml", "<old/>");
    const std::string target = dir.File("doc/pargen.xml");
    std::filesystem::remove_all(dir.File("doc"));
    try {
        WriteWholeFile(target, "<new/>");
        FAIL() << "write into a removed folder succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
    }
}

// Saves in a loop, killed after `delay`.
void KillSavesAfter(const std::string& target, const std::string& first, const std::string& second,
                    std::chrono::milliseconds delay) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            for (;;) {
                WriteWholeFile(target, first);
                WriteWholeFile(target, second);
            }
        } catch (const std::exception& e) {
            fprintf(stderr, "child: %s\n", e.what());
        }
        _exit(1);
    }
    std::this_thread::sleep_for(delay);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

TEST(AtomicWrite, AProcessKilledMidSaveLeavesTheOldOrTheNewFileNeverATruncatedOne) {
    TempDir dir;
    const std::string oldContent(4 << 20, 'o');
    const std::string newContent(4 << 20, 'n');
    const std::string target = dir.Write("DefByte.xml", oldContent);
    for (int round = 0; round < 12; ++round) {
        KillSavesAfter(target, newContent, oldContent, std::chrono::milliseconds(3 + round * 7));
        const std::string now = ReadWholeFile(target);
        EXPECT_TRUE(now == oldContent || now == newContent) << "round " << round << ": " << now.size() << " bytes";
    }
}

// A file with a second name is rewritten in place, which a kill can cut: the whole previous content is then in a
// backup copy beside it, found by the readers, and putting it back gives a whole file again.
TEST(AtomicWrite, AnInPlaceRewriteKilledMidSaveLeavesAWholeCopyThatPutsTheFileBack) {
    TempDir dir;
    const std::string oldContent(4 << 20, 'o');
    const std::string newContent(4 << 20, 'n');
    const std::string target = dir.Write("DefByte.xml", oldContent);
    std::filesystem::create_hard_link(target, dir.File("DefByte-shared.xml"));
    size_t copiesLeft = 0;
    for (int round = 0; round < 12; ++round) {
        KillSavesAfter(target, newContent, oldContent, std::chrono::milliseconds(3 + round * 7));
        for (const std::string& copy : LeftBackupCopies(target)) {
            const std::string kept = ReadWholeFile(copy);
            EXPECT_TRUE(kept == oldContent || kept == newContent) << "round " << round << ": " << kept.size();
            RestoreBackupCopy(copy, target, kDocumentFileLimit);
            ++copiesLeft;
        }
        const std::string now = ReadWholeFile(target);
        EXPECT_TRUE(now == oldContent || now == newContent) << "round " << round << ": " << now.size() << " bytes";
        EXPECT_EQ(std::filesystem::hard_link_count(target), 2u);
    }
    EXPECT_GT(copiesLeft, 0u) << "no kill fell within a rewrite";
}

}  // namespace
