#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

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

TEST(AtomicWrite, AProcessKilledMidSaveLeavesTheOldOrTheNewFileNeverATruncatedOne) {
    TempDir dir;
    const std::string oldContent(4 << 20, 'o');
    const std::string newContent(4 << 20, 'n');
    const std::string target = dir.Write("DefByte.xml", oldContent);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                for (;;) {
                    WriteWholeFile(target, newContent);
                    WriteWholeFile(target, oldContent);
                }
            } catch (const std::exception& e) {
                fprintf(stderr, "child: %s\n", e.what());
            }
            _exit(1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(3 + round * 7));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = ReadWholeFile(target);
        EXPECT_TRUE(now == oldContent || now == newContent) << "round " << round << ": " << now.size() << " bytes";
    }
}

}  // namespace
