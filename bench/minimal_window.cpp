// The baseline of the start-up benchmark: the least a Qt Widgets program does to show one empty window. It
// links Qt alone and ends the process as soon as the window is on screen, as startup_probe does.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    std::_Exit(QTest::qWaitForWindowExposed(&window) ? 0 : 1);
}
