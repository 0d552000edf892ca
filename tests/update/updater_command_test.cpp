#include "update/updater_command.h"

#include <gtest/gtest.h>

#include "base/file_system.h"
#include "base/workspace.h"

using namespace tessara::base;
using namespace tessara::update;

namespace {

Workspace ToolAt(const std::string& appDir, const std::string& project) {
    Workspace ws;
    ws.AppDir = ToNativeSeparators(appDir);
    ws.ProgramDir = ws.AppDir;
    ws.MasterDir = ws.AppDir + kPathSeparator + "MASTER";
    ws.ProjectDir = ToNativeSeparators(project);
    return ws;
}

TEST(UpdaterCommandTest, WorkedExampleWithEveryBoxChecked) {
    const Workspace ws = ToolAt("C:\\Tool", "C:\\Tool\\PROJECTS\\Plant1");
    const UpdaterCommand command = BuildUpdaterCommand(ws, "\\\\.\\COM3", UpdateOptions{});
    EXPECT_EQ(command.ParameterString,
              "\\\\.\\COM3 FW FR PW PR " +
                  ToNativeSeparators("\"C:\\Tool\\MASTER\\sim48210.sim\" \"C:\\Tool\\PROJECTS\\Plant1\\bin\\\""));
    EXPECT_EQ(command.Program, ToNativeSeparators("C:\\Tool\\Ser_48210_Update") + kExecutableSuffix);
}

TEST(UpdaterCommandTest, ClearedBoxesReadNoAndArgumentsAreTheSamePieces) {
    const Workspace ws = ToolAt("/opt/my tool", "/opt/my tool/PROJECTS/Plant \"A\"");
    const UpdaterCommand command = BuildUpdaterCommand(ws, "/dev/ttyUSB0", {false, false, false, false});
    const std::string S(1, kPathSeparator);
    EXPECT_EQ(command.ParameterString.substr(0, 25), "/dev/ttyUSB0 NO NO NO NO ");
    const std::vector<std::string> expected = {
        "/dev/ttyUSB0", "NO", "NO", "NO", "NO", ws.MasterDir + S + "sim48210.sim", ws.ProjectDir + S + "bin" + S};
    EXPECT_EQ(command.Arguments, expected);

    const UpdaterCommand mixed = BuildUpdaterCommand(ws, "/dev/ttyUSB0", {true, false, false, true});
    EXPECT_EQ(std::vector<std::string>(mixed.Arguments.begin() + 1, mixed.Arguments.begin() + 5),
              (std::vector<std::string>{"FW", "NO", "NO", "PR"}));
}

}  // namespace
