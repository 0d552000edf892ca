#include "support/ui/scripted_file_dialogs.h"

#include <gtest/gtest.h>

using namespace tessara::ui;

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(SetFileDialogs(this)) {}

ScriptedFileDialogs::~ScriptedFileDialogs() {
    SetFileDialogs(previous_);
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " scripted answers were not used";
}

void ScriptedFileDialogs::Answer(const QString& answer, std::function<void()> before) {
    steps_.push_back({answer, std::move(before)});
}

QString ScriptedFileDialogs::Next() {
    if (steps_.empty()) {
        ADD_FAILURE() << "a file or folder chooser opened that the test did not expect";
        return {};
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (step.before) step.before();
    return step.answer;
}

QString ScriptedFileDialogs::ExistingDirectory(QWidget*, const QString& title, const QString& startDir) {
    titles << title;
    startDirs << startDir;
    return Next();
}

QString ScriptedFileDialogs::SaveFileName(QWidget*, const QString& startDir, const QString& filter, const QString&) {
    startDirs << startDir;
    filters << filter;
    return Next();
}

QString ScriptedFileDialogs::OpenFileName(QWidget*, const QString& title, const QString& startDir,
                                          const QString& filter) {
    titles << title;
    startDirs << startDir;
    filters << filter;
    return Next();
}
