#pragma once

#include <QIcon>

namespace tessara::ui {

// The pictures on the tool's buttons.
enum class Glyph {
    NewFile,       // a blank page
    OpenFolder,    // an open folder
    Step,          // an arrow pointing right in a green disc: go on to a step
    SendToDevice,  // an arrow pointing up in a green disc
    About,         // an "i" in a blue disc
    Ok,            // a green tick
    Cancel,        // a red cross
    Reload,        // a circular arrow
};

// The glyph as an icon drawn in vectors at the size and pixel density it is shown at: sharp on any screen, and
// nothing to decode while the main window starts (decoding the style's picture files was a tenth of start-up).
QIcon ToolIcon(Glyph glyph);

}  // namespace tessara::ui
