#include "ui/file_dialogs.h"

#include <QFileDialog>

namespace tessara::ui {

namespace {

FileDialogs* g_dialogs = nullptr;

QtFileDialogs& DefaultDialogs() {
    static QtFileDialogs dialogs;
    return dialogs;
}

}  // namespace

FileDialogs& Dialogs() {
    if (g_dialogs) return *g_dialogs;
    return DefaultDialogs();
}

FileDialogs* SetFileDialogs(FileDialogs* dialogs) {
    FileDialogs* previous = g_dialogs;
    g_dialogs = dialogs;
    return previous;
}

QString QtFileDialogs::ExistingDirectory(QWidget* parent, const QString& title, const QString& startDir) {
    return QFileDialog::getExistingDirectory(parent, title, startDir, QFileDialog::ShowDirsOnly);
}

QString QtFileDialogs::SaveFileName(QWidget* parent, const QString& startDir, const QString& filter,
                                    const QString& defaultSuffix) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setDirectory(startDir);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString QtFileDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& startDir,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, startDir, filter);
}

}  // namespace tessara::ui
