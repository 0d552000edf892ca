#pragma once

#include <QString>
#include <string>

class QWidget;

namespace tessara::ui {

// An output the user names (a report, a tag table) must never replace a file of the project: true, with the user
// told in the command line's words ("... the report needs another name"), when `path` is one.
bool RefusedAsProjectFile(QWidget* parent, const std::string& projectDir, const QString& path,
                          const std::string& output);

// True when nothing is at `path`, or the user says to replace what is there.
bool MayReplace(QWidget* parent, const QString& path);

}  // namespace tessara::ui
