#include <gtest/gtest.h>

#include <QApplication>

#include "documents/xml_arena.h"

using namespace tessara::documents;

// Every test executable runs inside one application object, so window tests can create widgets offscreen; its
// documents take their memory from the arena, as in the tool.
int main(int argc, char** argv) {
    UseXmlArena();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Firmware Tessara"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
