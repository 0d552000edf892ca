#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/file_dialogs.h"

// Answers the file and folder choosers from a script while it lives. A chooser that opens with no answer
// left fails the test.
class ScriptedFileDialogs : public tessara::ui::FileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;

    // An empty text answers with a cancel. `before` runs while the chooser is "open" (to delete a folder).
    void Answer(const QString& answer, std::function<void()> before = {});

    QString ExistingDirectory(QWidget* parent, const QString& title, const QString& startDir) override;
    QString SaveFileName(QWidget* parent, const QString& startDir, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& startDir,
                         const QString& filter) override;

    QStringList titles;  // what each chooser was opened with
    QStringList startDirs;
    QStringList filters;

private:
    QString Next();
    struct Step {
        QString answer;
        std::function<void()> before;
    };
    std::deque<Step> steps_;
    tessara::ui::FileDialogs* previous_;
};
