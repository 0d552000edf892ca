// The window benchmarks run inside one offscreen application object, as the tool's window tests do.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "bench/bench_projects.h"
#include "ui/message_display.h"

using namespace tessara::ui;

namespace {

// A message box would wait for a click that never comes; any message means the measured action failed.
class AbortingDisplay : public MessageDisplay {
public:
    void ShowMessage(QWidget*, const QString& text) override { AbortBenchmark(text.toStdString()); }
    void ShowError(QWidget*, const QString& text) override { AbortBenchmark(text.toStdString()); }
    void ShowUnhandled(QWidget*, const QString& text) override { AbortBenchmark(text.toStdString()); }
    bool AskYesNo(QWidget*, const QString& text) override {
        AbortBenchmark(text.toStdString());
        return false;
    }
    bool AskYesNoWithDetails(QWidget* parent, const QString& text, const QString&) override {
        return AskYesNo(parent, text);
    }
    bool AskYesNoDefaultYes(QWidget* parent, const QString& text, const QString&) override {
        return AskYesNo(parent, text);
    }
};

// The platform's first window loads fonts and styles once per process; neither side of a ratio should pay it.
void WarmUp() {
    QWidget window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) AbortBenchmark("the offscreen window was never exposed");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder and warns at every start without one, the started programs included.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", ScratchFolder().c_str());
    QApplication app(argc, argv);
    AbortingDisplay display;
    SetMessageDisplay(&display);
    WarmUp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
