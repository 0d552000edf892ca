#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"
#include "support/tool_process.h"

namespace {

constexpr uid_t kNobody = 65534;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Target {
    const char* name;
    uid_t owner;
    mode_t mode;
    mode_t folderMode;
    bool written;
};

// The tool run by a user who may or may not write the file: a file he may not write is refused even where the
// folder would let him replace it; a file he may write is written even where the folder would not let him
// create the temporary file.
TEST(OtherUser, AFileIsWrittenExactlyWhenItsPermissionsLetTheUserWriteIt) {
    if (const std::string why = NobodyUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const Target cases[] = {
        {"root's file in root's folder", 0, 0644, 0755, false},
        {"read-only file in a folder anyone may write", kNobody, 0444, 0777, false},
        {"writable file in root's folder", kNobody, 0644, 0755, true},
        {"file anyone may write in root's folder", 0, 0666, 0755, true},
        {"root's file anyone may write in a folder anyone may write", 0, 0666, 0777, true},
    };
    TempDir dir;
    OpenToOthers(dir.path());
    const std::string project = dir.MakeDir("Plant1");
    dir.Write("Plant1/pargen.xml", "<PARGEN><PROFI_NB_IN>4</PROFI_NB_IN><PROFI_NB_OUT>2</PROFI_NB_OUT></PARGEN>");
    for (const Target& c : cases) {
        const std::string folder = dir.MakeDir(std::to_string(&c - cases));
        const std::string gsd = dir.Write(std::to_string(&c - cases) + "/VO48210.gsd", "old");
        ASSERT_EQ(::chown(gsd.c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(gsd.c_str(), c.mode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        const ToolRun run = RunToolAsNobody({"gsd", project, gsd});
        EXPECT_EQ(run.status, c.written ? 0 : 1) << c.name << ": " << run.output;
        struct stat st {};
        ASSERT_EQ(::stat(gsd.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, c.owner) << c.name;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.name;
        if (c.written) {
            EXPECT_NE(dir.Read(std::to_string(&c - cases) + "/VO48210.gsd"), "old") << c.name;
        } else {
            EXPECT_EQ(dir.Read(std::to_string(&c - cases) + "/VO48210.gsd"), "old") << c.name;
            EXPECT_EQ(run.output, "Cannot create file \"" + gsd + "\". Permission denied\n") << c.name;
        }
    }
}

TEST(OtherUser, AReadOnlyImageStopsTheBuild) {
    if (const std::string why = NobodyUnavailable(); !why.empty()) GTEST_SKIP() << why;
    TempDir dir;
    OpenToOthers(dir.path());
    const std::string project = dir.MakeDir("Plant1");
    const std::string bin = dir.MakeDir("Plant1/bin");
    const std::string bank = dir.Write("Plant1/bin/bank.bin", "old");
    ASSERT_EQ(::chown(bin.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(bank.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(bank.c_str(), 0444), 0);
    const ToolRun run = RunToolAsNobody({"image", project});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.output, bank)) << run.output;
    EXPECT_EQ(dir.Read("Plant1/bin/bank.bin"), "old");
}

}  // namespace
