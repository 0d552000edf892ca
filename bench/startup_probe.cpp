// Starts as the tool starts and ends the process as soon as its main window is on screen, so the time from
// spawning it to its exit is the start-up the user waits through. Usage: startup_probe APP_DIR
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "base/file_system.h"
#include "ui/window_style.h"

using namespace tessara::base;
using namespace tessara::ui;
using namespace tessara::app;

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("Usage: startup_probe APP_DIR\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    TFTessaraFirmWare window(argv[1]);
    window.show();
    // Tearing the windows down is no part of starting; the baseline skips it alike.
    std::_Exit(QTest::qWaitForWindowExposed(&window) ? 0 : 1);
}
