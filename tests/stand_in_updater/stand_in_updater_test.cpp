#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <string>

#include "support/temp_dir.h"
#include "support/ui/pseudo_terminal.h"

namespace {

struct Result {
    int exitCode;
    std::string out;
    std::string err;
};

Result RunUpdater(const QStringList& args) {
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + "/../Ser_48210_Update", args);
    if (!process.waitForFinished(30000)) return {-1, "", process.errorString().toStdString()};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

class StandInUpdater : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.Path().isEmpty());
        project.Write("bin/bank.bin", ReadFixture("image_worked_example/expected_bank.bin"));
    }
    QStringList Args(const std::string& port, const char* projectCode) const {
        return {QString::fromStdString(port),
                "FW",
                "NO",
                projectCode,
                "PR",
                QString::fromStdString(master.File("sim48210.sim")),
                QString::fromStdString(project.File("bin/"))};
    }

    PseudoTerminal pty;
    TempDir master;
    TempDir project;
};

TEST_F(StandInUpdater, SaysWhatItWouldDownloadAndThatItIsAStandIn) {
    const Result result = RunUpdater(Args(pty.Path().toStdString(), "PW"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("stand-in: it speaks no device protocol"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Port " + pty.Path().toStdString() + " opened and closed again"), std::string::npos);
    EXPECT_NE(result.out.find("Firmware: write yes, read back when finished no"), std::string::npos);
    EXPECT_NE(result.out.find("sim48210.sim, not found"), std::string::npos);
    EXPECT_NE(result.out.find("Project: write yes, read back when finished yes"), std::string::npos);
    EXPECT_NE(result.out.find("Configuration image: 47 bytes, 2 nodes"), std::string::npos) << result.out;
}

TEST_F(StandInUpdater, FailsClearlyWhenSomethingIsWrong) {
    const Result noPort = RunUpdater(Args(project.File("no-such-port"), "PW"));
    EXPECT_EQ(noPort.exitCode, 1);
    EXPECT_NE(noPort.err.find("Cannot open port " + project.File("no-such-port")), std::string::npos) << noPort.err;

    project.Write("bin/bank.bin", "short");
    const Result badImage = RunUpdater(Args(pty.Path().toStdString(), "PW"));
    EXPECT_EQ(badImage.exitCode, 1);
    EXPECT_NE(badImage.err.find("Not a valid configuration image"), std::string::npos) << badImage.err;
    // Without the project download the image is not looked at.
    EXPECT_EQ(RunUpdater(Args(pty.Path().toStdString(), "NO")).exitCode, 0);

    const Result badArgs = RunUpdater({pty.Path(), "FW"});
    EXPECT_EQ(badArgs.exitCode, 2);
    EXPECT_NE(badArgs.err.find("Expected 7 arguments, got 2"), std::string::npos) << badArgs.err;
}

}  // namespace
