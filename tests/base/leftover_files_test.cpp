// What a save leaves beside its file when it is interrupted: backup copies of a rewrite in place, which are the
// user's data, and temporaries of an atomic replace, which a later save into the folder removes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "base/backup_copies.h"
#include "base/file_system.h"
#include "base/save_temporary.h"
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
    // Only the one length and alphabet the tool makes: a user's ".tessara-123.tmp" is no temporary of the tool's.
    for (const char* name :
         {".tessara-12", ".tessara-.tmp", ".tessara-12.tmp", "tessara-0123456789abcdef.tmp",
          ".tessara-0123456789abcde.tmp", ".tessara-0123456789abcdef0.tmp", ".tessara-0123456789ABCDEF.tmp",
          ".tessara-0123456789abcdeg.tmp", ".tessara-1234567890123456789012345678901234567.tmp"}) {
        EXPECT_FALSE(IsTemporaryName(name)) << name;
    }
    EXPECT_TRUE(IsTemporaryName(".tessara-0123456789abcdef.tmp"));
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

// What a save killed part way leaves: its temporary, let go, and the proof beside it.
std::string LeftTemporary(const std::string& dir, const std::string& content) {
    SaveError error;
    SaveTemporary temporary = CreateSaveTemporary(dir, error);
    EXPECT_TRUE(temporary.file.valid()) << ReasonOf(error);
    EXPECT_FALSE(WriteAt(temporary.file, 0, content));
    return temporary.path;
}

// Only what the tool made, no save holds and is older than a save's start goes, and only from the folder saved
// into; a user's file of a similar name, even one of the very form with a proof copied beside it, stays.
TEST(LeftoverFiles, ASaveRemovesTheStaleTemporariesOfItsFolderOnly) {
    TempDir dir;
    const std::string stale = LeftTemporary(dir.path(), "half a document");
    MakeOld(stale);
    const std::string fresh = LeftTemporary(dir.path(), "a save that is just beginning");
    const std::string elsewhere = LeftTemporary(dir.MakeDir("other"), "another folder");
    MakeOld(elsewhere);
    const std::string copied = LeftTemporary(dir.path(), "copied");
    const std::string copy = dir.File(".tessara-00000000000000aa.tmp");
    fs::copy_file(PathFromUtf8(copied), PathFromUtf8(copy));
    fs::copy_file(PathFromUtf8(ProofPathOf(copied)), PathFromUtf8(ProofPathOf(copy)));
    fs::remove(PathFromUtf8(copied));
    MakeOld(copy);
    const std::string orphanProof = dir.Write(".tessara-00000000000000bb.own", ProofText("1:2"));
    MakeOld(orphanProof);
    const char* kept[] = {".tessara-123.tmp",
                          ".tessara-1234567890123456789012345678901234567.tmp",
                          ".tessara-0123456789abcdef.tmp",
                          ".tessara-8",
                          ".DefByte.xml.tessara-9",
                          ".tessara-10.tmp.bak",
                          "notes.tmp"};
    for (const char* name : kept) MakeOld(dir.Write(name, "userdata\n"), std::chrono::minutes(120));

    WriteWholeFile(dir.File("pargen.xml"), "<Par_Gen/>", WriteTarget::RegularFile);
    EXPECT_FALSE(fs::exists(PathFromUtf8(stale)));
    EXPECT_FALSE(fs::exists(PathFromUtf8(ProofPathOf(stale))));
    EXPECT_FALSE(fs::exists(PathFromUtf8(orphanProof)));
    for (const std::string& path : {fresh, ProofPathOf(fresh), elsewhere, copy}) {
        EXPECT_TRUE(fs::exists(PathFromUtf8(path))) << path;
    }
    for (const char* name : kept) EXPECT_EQ(dir.Read(name), "userdata\n") << name;
    EXPECT_EQ(dir.Read("pargen.xml"), "<Par_Gen/>");
}

}  // namespace
