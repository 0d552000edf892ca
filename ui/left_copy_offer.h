#pragma once

#include <cstddef>
#include <string>

class QWidget;

namespace tessara::ui {

// Before a window reads a file the tool saves (a document, the settings file): a save of it that was interrupted
// while rewriting it in place may have cut it and left its whole previous content in a backup copy beside it.
// The user is asked whether to put the newest such copy back; Yes saves it as the file and removes it (a failure
// is shown as an error), No leaves both as they are. Nothing is asked when there is no copy.
void OfferLeftCopy(QWidget* parent, const std::string& path, size_t limit);

}  // namespace tessara::ui
