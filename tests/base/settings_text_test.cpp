#include "base/settings_text.h"

#include <SimpleIni.h>
#include <gtest/gtest.h>

using namespace tessara::base;

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
    };
    for (const Case& c : cases) {
        const std::string after = WithIniValue(c.before, "lastproj", "projectname", "/New");
        EXPECT_EQ(after, c.after) << c.name;
        CSimpleIniA ini;
        ASSERT_GE(ini.LoadData(after), 0) << c.name;
        EXPECT_STREQ(ini.GetValue("lastproj", "projectname", ""), "/New") << c.name;
    }
}

}  // namespace
