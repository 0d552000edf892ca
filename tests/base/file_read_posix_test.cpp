#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/file_system.h"
#include "base/workspace.h"
#include "documents/eds_reader.h"
#include "documents/profibus_areas.h"
#include "support/command_runner.h"
#include "support/temp_dir.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

namespace fs = std::filesystem;

// Every reader: what it is given is read at once or refused at once, naming the file; none waits on a FIFO.
TEST(FileRead, WhatIsNoRegularFileIsRefusedAtOnceByEveryReader) {
    TempDir dir;
    const std::string fifo = dir.File("pargen.xml");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.MakeDir("device.eds");
    struct Case {
        std::string path;
        std::string refusal;
    };
    for (const Case& c : {Case{fifo, "it is not a regular file"}, Case{"/dev/zero", "it is not a regular file"},
                          Case{folder, "it is a folder"}}) {
        const std::string expected = "Cannot read \"" + c.path + "\": " + c.refusal;
        const CommandOutcome inspect = Tessara({"inspect", c.path});
        EXPECT_EQ(inspect.status, 1);
        EXPECT_EQ(inspect.err, expected + "\n");
        try {
            ReadEdsFile(c.path);
            ADD_FAILURE() << c.path << " read as an EDS file";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), expected);
        }
    }
    // A document in the project folder: the reader refuses it rather than take it for a missing document.
    try {
        ReadProfibusAreas(dir.path());
        ADD_FAILURE() << "a FIFO read as pargen.xml";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), "Cannot read \"" + fifo + "\": it is not a regular file");
    }
}

TEST(FileRead, AFileAboveItsLimitIsRefusedBeforeItIsRead) {
    TempDir dir;
    const std::string path = dir.File("huge.bin");
    fs::resize_file(dir.Write("huge.bin", ""), 2'000'000'000);  // sparse: no disk space taken
    const CommandOutcome inspect = Tessara({"inspect", path});
    EXPECT_EQ(inspect.status, 1);
    EXPECT_EQ(inspect.err, "Cannot read \"" + path +
                               "\": it has 2000000000 bytes, more than the 100001 such a "
                               "file can have\n");
    fs::resize_file(path, kEdsFileLimit + 1);
    EXPECT_THROW(ReadEdsFile(path), std::runtime_error);
    fs::resize_file(path, kEdsFileLimit);
    EXPECT_NO_THROW(ReadWholeFile(path, kEdsFileLimit));
}

TEST(FileRead, ASettingsFileThatIsAFifoReadsAsNoProject) {
    TempDir app;
    ASSERT_EQ(::mkfifo(app.File(Workspace::kSettingsFileName).c_str(), 0600), 0);
    app.MakeDir("PROJECTS/Plant1");
    Workspace ws;
    EXPECT_FALSE(ws.InitWorkspace(app.File("tessara")));
    EXPECT_EQ(ws.ProjectDir, ws.ProjectsDir);
}

}  // namespace
