// What a save leaves beside its file when it is interrupted: backup copies of a rewrite in place, which are the
// user's data, and temporaries of an atomic replace, which a later save into the folder removes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "base/backup_copies.h"
#include "base/file_system.h"
#include "base/temporary_name.h"
#include "support/temp_dir.h"

using namespace tessara::base;

namespace {

namespace fs = std::filesystem;

void MakeOld(const std::string& path, std::chrono::minutes age = std::chrono::minutes(60)) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

TEST(LeftoverFiles, TheNamesSayWhoseTheyAreAndWhichIsATemporary) {
    EXPECT_TRUE(IsTemporaryName(TemporaryName()));
    EXPECT_TRUE(IsBackupCopyName(BackupCopyName("DefByte.xml"), "DefByte.xml"));
    EXPECT_FALSE(IsBackupCopyName(BackupCopyName("DefByte.xml"), "DefByte"));
    EXPECT_FALSE(IsTemporaryName(BackupCopyName("DefByte.xml")));
    // The copy of an earlier in-place rewrite had this short name: it is kept as the user's data.
    for (const char* name : {".tessara-12", ".tessara-.tmp", ".tessara-12x.tmp", "tessara-12.tmp"}) {
        EXPECT_FALSE(IsTemporaryName(name)) << name;
    }
    EXPECT_TRUE(IsTemporaryName(".tessara-12.tmp"));
}

TEST(LeftoverFiles, TheCopiesOfAFileAreFoundNewestFirstAndNothingElse) {
    TempDir dir;
    const std::string document = dir.Write("DefByte.xml", "<mixed");
    MakeOld(dir.Write(".DefByte.xml.tessara-41", "<older/>"), std::chrono::minutes(90));
    MakeOld(dir.Write(".DefByte.xml.tessara-7", "<newer/>"));
    for (const char* other : {".pargen.xml.tessara-5", ".DefByte.xml.tessara-", ".DefByte.xml.tessara-3.tmp",
                              ".tessara-8", ".tessara-9.tmp", "DefByte.xml.tessara-6"}) {
        dir.Write(other, "not a copy of DefByte.xml");
    }
    dir.MakeDir(".DefByte.xml.tessara-99");
    EXPECT_EQ(LeftBackupCopies(document),
              (std::vector<std::string>{dir.File(".DefByte.xml.tessara-7"), dir.File(".DefByte.xml.tessara-41")}));
    EXPECT_TRUE(LeftBackupCopies(dir.File("DNET_Net.xml")).empty());
    EXPECT_TRUE(LeftBackupCopies(dir.File("gone/DefByte.xml")).empty());
}

TEST(LeftoverFiles, ACopyPutBackReplacesTheFileAndGoes) {
    TempDir dir;
    const std::string document = dir.Write("bin/bank.bin", "cut");
    const std::string copy = dir.Write("bin/.bank.bin.tessara-3", std::string("whole\0image", 11));
    RestoreBackupCopy(copy, document, kDocumentFileLimit);
    EXPECT_EQ(ReadWholeFile(document), std::string("whole\0image", 11));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(LeftBackupCopies(document).empty());
}

TEST(LeftoverFiles, ACopyThatCannotBePutBackStays) {
    TempDir dir;
    const std::string copy = dir.Write(".pargen.xml.tessara-3", "<Par_Gen/>");
    const std::string inTheWay = dir.MakeDir("pargen.xml");
    EXPECT_THROW(RestoreBackupCopy(copy, inTheWay, kDocumentFileLimit), FileWriteError);
    EXPECT_TRUE(fs::exists(copy));
}

// Only what no save holds, the tool named and is older than a save's start goes; the copies are never touched.
TEST(LeftoverFiles, ASaveRemovesTheStaleTemporariesOfItsFolderOnly) {
    TempDir dir;
    const std::string stale = dir.Write(".tessara-5.tmp", "half a document");
    MakeOld(stale);
    const std::string fresh = dir.Write(".tessara-6.tmp", "a save that is just beginning");
    const std::string elsewhere = dir.Write("other/.tessara-7.tmp", "another folder");
    MakeOld(elsewhere);
    const char* kept[] = {".tessara-8", ".DefByte.xml.tessara-9", ".tessara-10.tmp.bak", "notes.tmp"};
    for (const char* name : kept) MakeOld(dir.Write(name, "the user's"));
    WriteWholeFile(dir.File("pargen.xml"), "<Par_Gen/>", WriteTarget::RegularFile);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_TRUE(fs::exists(elsewhere));
    for (const char* name : kept) EXPECT_TRUE(fs::exists(dir.File(name))) << name;
    EXPECT_EQ(dir.Read("pargen.xml"), "<Par_Gen/>");
}

}  // namespace
