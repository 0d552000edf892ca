// The baseline of the start-up benchmark: the least a Qt Widgets program does to show a main window with
// four text buttons, so it pays for fonts and text as the tool's window does. It links Qt alone and ends the
// process as soon as the window is on screen, as startup_probe does.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(565, 257);
    const char* captions[] = {"New project", "Open project", "Set Communication", "Update Device"};
    for (int i = 0; i < 4; ++i) (new QPushButton(QString::fromLatin1(captions[i]), &window))->move(80, 36 + 44 * i);
    window.show();
    std::_Exit(QTest::qWaitForWindowExposed(&window) ? 0 : 1);
}
