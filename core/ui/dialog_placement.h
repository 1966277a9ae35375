// Where the dictionary programs' list dialogs appear.
#pragma once

#include "winlib/window.h"

namespace lex {

// Moves `dialog` so that its top-right corner lies on the top-right corner of
// the main window it belongs to (the root of its parent), keeping its size,
// Z order and activation.
void PlaceAtMainWindowTopRight(wl::Window& dialog);

}  // namespace lex
