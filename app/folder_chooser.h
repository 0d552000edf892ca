#pragma once

#include <QString>

class QWidget;

namespace tessara::app {

// Lets the user pick a folder below `root`, preselecting `dir`. `dir` is emptied first when it does not exist
// (and stays so on a cancel); on a confirm it becomes the chosen folder and the result is true. A folder
// outside `root` is refused with a message naming `root` and counts as a cancel, since a Qt dialog cannot be
// rooted.
bool BrowseFolder(QWidget* owner, const QString& title, const QString& root, QString& dir);

}  // namespace tessara::app
