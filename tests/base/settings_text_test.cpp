#include "base/settings_text.h"

#include <SimpleIni.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace tessara::base;
using namespace std::string_literals;

namespace {

struct Case {
    const char* name;
    std::string before;
    std::string after;
};

// Saving our key changes only its one line; what SimpleIni's writer would lose (duplicate keys, lines without
// "=", comments, CR LF line ends) stays as the user left it.
TEST(SettingsText, OnlyTheLineOfTheKeyChanges) {
    const Case cases[] = {
        {"empty file", "", "[lastproj]\nprojectname=/New\n"},
        {"no section, no final line end", "[other]\nkey=1", "[other]\nkey=1\n[lastproj]\nprojectname=/New\n"},
        {"section without the key", "[lastproj]\r\nport=COM1\r\n", "[lastproj]\r\nprojectname=/New\r\nport=COM1\r\n"},
        {"section header on the last line", "; mine\n[LastProj]", "; mine\n[LastProj]\nprojectname=/New\n"},
        {"kept around the key",
         "\xEF\xBB\xBF; comment\r\n[other]\r\ndup=1\r\ndup=2\r\nflag\r\n[ lastproj ]\r\n ProjectName = /Old \r\n"
         "; trailing comment\r\n",
         "\xEF\xBB\xBF; comment\r\n[other]\r\ndup=1\r\ndup=2\r\nflag\r\n[ lastproj ]\r\nprojectname=/New\r\n"
         "; trailing comment\r\n"},
        {"the line SimpleIni reads is the last", "[lastproj]\nprojectname=/A\n[x]\n[lastproj]\nprojectname=/B\n",
         "[lastproj]\nprojectname=/A\n[x]\n[lastproj]\nprojectname=/New\n"},
        {"same key in another section", "[other]\nprojectname=/Keep\n",
         "[other]\nprojectname=/Keep\n[lastproj]\nprojectname=/New\n"},
        // SimpleIni stops at the first NUL byte, so the new lines go before the padding a crash can leave.
        {"NUL bytes after the text", "[other]\nkey=1\n\0\0"s, "[other]\nkey=1\n[lastproj]\nprojectname=/New\n\0\0"s},
        {"NUL byte inside the key line", "[lastproj]\nprojectname=/Old\0tail"s, "[lastproj]\nprojectname=/New\0tail"s},
        {"a CR alone ends a line", "[lastproj]\r", "[lastproj]\rprojectname=/New\n"},
        {"a UTF-8 signature counts only at the start", "[a]\n\xEF\xBB\xBF[lastproj]\n",
         "[a]\n\xEF\xBB\xBF[lastproj]\n[lastproj]\nprojectname=/New\n"},
    };
    for (const Case& c : cases) {
        const std::string after = WithIniValue(c.before, "lastproj", "projectname", "/New");
        EXPECT_EQ(after, c.after) << c.name;
        CSimpleIniA ini;
        ASSERT_GE(ini.LoadData(after), 0) << c.name;
        EXPECT_STREQ(ini.GetValue("lastproj", "projectname", ""), "/New") << c.name;
    }
}

// A "[" followed by blanks takes the next line for the section's name in SimpleIni; rather than write a file the
// value would not be read from, the edit is refused.
TEST(SettingsText, ATextSimpleIniWouldNotReadTheValueFromIsRefused) {
    EXPECT_THROW(WithIniValue("[other]\nkey=1\n[\n", "lastproj", "projectname", "/New"), std::runtime_error);
}

// The value read is the one WithIniValue edits: the key's last line, names matched without regard to case.
TEST(SettingsText, IniValueIsTheLineTheEditChanges) {
    const std::string text = "[LastProj]\nProjectName=/A\n[other]\nprojectname=/B\n[lastproj]\nprojectname = /C\n";
    EXPECT_EQ(IniValue(text, "lastproj", "projectname"), "/C");
    EXPECT_EQ(IniValue(WithIniValue(text, "lastproj", "projectname", "/D"), "lastproj", "projectname"), "/D");
    EXPECT_EQ(IniValue(text, "serialport", "lastport"), "");
    EXPECT_EQ(IniValue("", "lastproj", "projectname"), "");
}

}  // namespace
