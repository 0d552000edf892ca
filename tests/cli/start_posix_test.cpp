// A start without a command word as a new user meets it: a mistyped word, and a machine without a display.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/tool_process.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// "tessara mpa P" printed the usage alone, and left the user to find the slip.
TEST(ToolStart, AMistypedCommandWordIsAnsweredWithTheNearestOne) {
    const struct {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"mpa", "P"}, "tessara: unknown command word 'mpa': did you mean map?\n"},
        {{"imgae", "P"}, "tessara: unknown command word 'imgae': did you mean image?\n"},
        {{"chek", "P"}, "tessara: unknown command word 'chek': did you mean check?\n"},
        {{"Inspect", "f"}, "tessara: unknown command word 'Inspect': did you mean inspect?\n"},
        {{"reprots", "P", "f"}, "tessara: unknown command word 'reprots': did you mean report?\n"},
        {{"frobnicate"}, "tessara: unknown argument 'frobnicate'\n"},
        {{"mop", "P"}, "tessara: unknown command word 'mop': did you mean map?\n"},
        {{"gzip", "P"}, "tessara: unknown argument 'gzip'\n"},
        {{"--mpa"}, "tessara: unknown argument '--mpa'\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, 2) << c.args[0];
        EXPECT_EQ(run.output.rfind(c.said, 0), 0u) << run.output;
        EXPECT_TRUE(Contains(run.output, "\nUsage: tessara")) << run.output;
    }
}

// Qt aborted the start with status 134 inside its platform plugin; the user is told what scripts/run tells, by
// the front and by the wizard run directly.
TEST(ToolStart, WithoutADisplayTheWizardSaysHowToRunIt) {
    std::vector<std::string> programs{TESSARA_EXECUTABLE};
    const auto wizard = std::filesystem::path(TESSARA_EXECUTABLE).parent_path() / "tessara-wizard";
    if (std::filesystem::exists(wizard)) programs.push_back(wizard.string());  // not in a build without windows
    const std::string noDisplay = "export DISPLAY= WAYLAND_DISPLAY=; unset QT_QPA_PLATFORM; ";
    const struct {
        std::string shellHead;
        std::vector<std::string> args;
    } cases[] = {
        {noDisplay, {}},
        {noDisplay, {"--app-dir", "/tmp/x"}},
        {noDisplay + "export QT_QPA_PLATFORM=xcb; ", {}},
        {noDisplay + "export QT_QPA_PLATFORM='wayland;xcb'; ", {}},
    };
    for (const std::string& program : programs) {
        for (const auto& c : cases) {
            SCOPED_TRACE(program + " after " + c.shellHead);
            const ToolRun run = RunProgramAfter(c.shellHead, program, c.args);
            EXPECT_EQ(run.status, 1) << run.output;
            EXPECT_EQ(run.output.rfind("tessara: no display found. The wizard needs one; on a headless machine run it "
                                       "under Xvfb:\n  xvfb-run -a " +
                                           program,
                                       0),
                      0u)
                << run.output;
            EXPECT_TRUE(Contains(
                run.output, "\nThe command words (image, gsd, check, report, inspect, map, tag) need no display.\n"))
                << run.output;
        }
    }
    // Help, version and the command words ask for no window.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--help"}, {"--version"}, {"inspect", "--help"}}) {
        EXPECT_EQ(RunToolAfter(noDisplay, args).status, 0) << args[0];
    }
}

}  // namespace
