#include <gtest/gtest.h>

#include <QApplication>

// Every test executable runs inside one application object, so window tests can create widgets offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Firmware Tessara"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
