// The byte selection editor on the largest projects: showing it, confirming it, moving to the huge node and
// toggling a byte there with the PROFIBUS area bars following.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTest>
#include <pugixml.hpp>

#include "base/file_system.h"
#include "base/workspace.h"
#include "bench/bench_projects.h"
#include "documents/ui/def_byte_dialog.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

Workspace ProjectWorkspace(const std::string& projectDir) {
    Workspace ws;
    ws.ProjectDir = projectDir;
    ws.BuildDocumentPaths();
    return ws;
}

// Shows the editor as the main window does, so the grids lay out and paint what they hold.
void ShowEditor(TFDefByte& editor) {
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor)) AbortBenchmark("the byte editor was never exposed");
}

void EditorParseBaseline(benchmark::State& state, const char* shape) {
    const std::string& dir = BenchProject(shape);
    for (auto _ : state) ParseProjectDocuments(dir);
}

void EditorShow(benchmark::State& state, const char* shape) {
    const Workspace ws = ProjectWorkspace(BenchProject(shape));
    TFDefByte editor(ws);
    ShowEditor(editor);
    for (auto _ : state) {
        editor.FormShow();
        QApplication::processEvents();
    }
}

// Confirming without an edit must write back exactly the bytes that were read.
void EditorOk(benchmark::State& state, const char* shape) {
    const Workspace ws = ProjectWorkspace(BenchProject(shape));
    const std::string before = ReadWholeFile(ws.DefByteFile);
    TFDefByte editor(ws);
    for (auto _ : state) {
        state.PauseTiming();
        ShowEditor(editor);
        state.ResumeTiming();
        editor.bitbtn1Click();
    }
    if (editor.isVisible()) AbortBenchmark("OK did not close the byte editor");
    if (ReadWholeFile(ws.DefByteFile) != before) AbortBenchmark("OK without an edit changed DefByte.xml");
}

void PugiSaveBaseline(benchmark::State& state, const char* shape) {
    const std::string& dir = BenchProject(shape);
    pugi::xml_document doc;
    if (!doc.load_file((dir + kPathSeparator + "DefByte.xml").c_str())) AbortBenchmark("DefByte.xml unreadable");
    const std::string copy = dir + kPathSeparator + "DefByte.pugixml.xml";
    for (auto _ : state) {
        if (!doc.save_file(copy.c_str(), "", pugi::format_raw | pugi::format_no_declaration)) {
            AbortBenchmark("pugixml cannot save " + copy);
        }
    }
}

// From the small first node to the node of 65 535 bytes each way, and back, with the grids repainted.
void SwitchToHugeNode(benchmark::State& state) {
    const Workspace ws = ProjectWorkspace(BenchProject("switch"));
    TFDefByte editor(ws);
    ShowEditor(editor);
    auto* list = editor.findChild<QComboBox*>(QStringLiteral("CB"));
    for (auto _ : state) {
        list->setCurrentIndex(1);
        QApplication::processEvents();
        list->setCurrentIndex(0);
        QApplication::processEvents();
    }
    if (editor.CurrentNode() != 0) AbortBenchmark("the byte editor did not return to the first node");
}

// One click on a "Select" cell of the node of 65 535 bytes and one more to undo it, each with the node list's
// count and the area bars brought up to date and the window repainted.
void ToggleOnHugeNode(benchmark::State& state) {
    const Workspace ws = ProjectWorkspace(BenchProject("switch"));
    TFDefByte editor(ws);
    ShowEditor(editor);
    editor.findChild<QComboBox*>(QStringLiteral("CB"))->setCurrentIndex(1);
    auto* grid = editor.findChild<QTableView*>(QStringLiteral("ASG_IN"));
    const QModelIndex last = grid->model()->index(grid->model()->rowCount() - 1, 1);
    grid->scrollTo(last);
    QApplication::processEvents();
    const QString before = last.data().toString();
    for (auto _ : state) {
        for (int click = 0; click < 2; ++click) {
            const bool checked = last.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            grid->model()->setData(last, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            QApplication::processEvents();
        }
    }
    if (last.data().toString() != before) AbortBenchmark("two toggles did not restore the byte");
}

}  // namespace

BENCHMARK_CAPTURE(EditorParseBaseline, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditorShow, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugiSaveBaseline, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditorOk, large, "large")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditorParseBaseline, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditorShow, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugiSaveBaseline, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditorOk, huge, "huge")->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchToHugeNode)->Unit(benchmark::kMillisecond);
BENCHMARK(ToggleOnHugeNode)->Unit(benchmark::kMillisecond);
