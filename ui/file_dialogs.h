#pragma once

#include <QString>

class QWidget;

namespace tessara::ui {

// The one seam for the file and folder choosers, so tests can answer them (the next folder, the next file
// name, or a cancel) without a modal window.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen folder, or an empty text when the user cancels.
    virtual QString ExistingDirectory(QWidget* parent, const QString& title, const QString& startDir) = 0;
    // The chosen file name, or an empty text when the user cancels. An existing file is replaced without a
    // question.
    virtual QString SaveFileName(QWidget* parent, const QString& startDir, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // The chosen existing file, or an empty text when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& startDir,
                                 const QString& filter) = 0;
};

FileDialogs& Dialogs();
// Installs another implementation (tests); returns the previous one. The caller keeps ownership.
FileDialogs* SetFileDialogs(FileDialogs* dialogs);

class QtFileDialogs : public FileDialogs {
public:
    QString ExistingDirectory(QWidget* parent, const QString& title, const QString& startDir) override;
    QString SaveFileName(QWidget* parent, const QString& startDir, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& startDir,
                         const QString& filter) override;
};

}  // namespace tessara::ui
