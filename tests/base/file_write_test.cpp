// The save's cases that read the same on every platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_system.h"
#include "base/save_primitives.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

namespace fs = std::filesystem;

// A file with a second name is rewritten in place after a backup copy of it is made beside it. A copy the
// drive cannot hold would fill it part way, so it is refused before anything is written. The file is sparse:
// its size is larger than the free space without taking any of it.
TEST(FileWriteRoom, ABackupCopyTheFreeSpaceCannotHoldIsRefusedBeforeTheFileIsTouched) {
    TempDir dir;
    const std::string path = dir.Write("big.gsd", "");
    const uintmax_t size = fs::space(PathFromUtf8(dir.path())).available + (uintmax_t{1} << 30);
    {
        // Through the tool's own call: the C library's resize stops at 2 GiB on some platforms.
        SaveError error;
        const SaveHandle file = OpenToRewrite(path, error);
        ASSERT_FALSE(error) << ReasonOf(error);
        ASSERT_FALSE(SetSize(file, size));
    }
    fs::create_hard_link(PathFromUtf8(path), PathFromUtf8(dir.File("big2")));
    try {
        WriteWholeFile(path, "#Profibus_DP\n");
        ADD_FAILURE() << "the save went ahead without room for its backup copy";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.reason().find("There is no room for the backup copy of its " + std::to_string(size) + " bytes"), 0u)
            << e.what();
    }
    EXPECT_EQ(fs::file_size(PathFromUtf8(dir.File("big2"))), size);
    EXPECT_EQ(std::distance(fs::directory_iterator(PathFromUtf8(dir.path())), {}), 2);
}

}  // namespace
