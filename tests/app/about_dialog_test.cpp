#include "app/about_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "base/workspace.h"

using namespace tessara::base;
using namespace tessara::app;

namespace {

TEST(AboutDialog, ShowsTheSoftwareIdentityWithItsPicture) {
    Workspace ws;
    ws.AppDir = "/home/ana/.local/share/Tessara";
    TFAbout about(ws);
    EXPECT_EQ(about.windowTitle(), "About...");
    EXPECT_EQ(about.size(), QSize(421, 152));
    const std::pair<const char*, const char*> texts[] = {
        {"Label1", "Software Tessara "}, {"Label2", "DeviceNet Master / PROFIBUS Slave - Converter"},
        {"Label6", "Software Code : "},  {"Label9", "SW48210"},
        {"Label3", "Version :"},         {"Label10", "1.100"},
        {"Label8", "Document Code :"},   {"Label12", "MN48210"}};
    for (const auto& [name, text] : texts) {
        auto* label = about.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), text) << name;
    }
    const QPixmap picture = about.findChild<QLabel*>("Image2")->pixmap();
    EXPECT_EQ(picture.size(), QSize(340, 340));
    about.show();
    EXPECT_FALSE(about.findChild<QLabel*>("Label5")->isVisible());
    EXPECT_EQ(about.findChild<QLabel*>("LabelWorkspace")->toolTip(), "/home/ana/.local/share/Tessara");
}

// The title was sized for the window's 8 pt font before its bold 10 pt font was set: "Software Tes".
TEST(AboutDialog, EveryLabelIsWideEnoughForItsText) {
    Workspace ws;
    TFAbout about(ws);
    about.show();
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->objectName() == "LabelWorkspace") continue;
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->objectName().toStdString();
        EXPECT_LE(label->x() + label->fontMetrics().horizontalAdvance(label->text()), about.width())
            << label->objectName().toStdString();
    }
    EXPECT_EQ(about.findChild<QLabel*>("Label1")->font().pointSize(), 10);
}

}  // namespace
