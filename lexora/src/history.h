// The word history command's dialog.
#pragma once

#include "program.h"
#include "winlib/window.h"

namespace lexora {

class TDrawWindow;

// Shows the history; true when an entry was taken (the current slot and word
// then hold it and the word box shows it).
bool RunHistoryDialog(Program& program, wl::Window* parent, TDrawWindow& client);

}  // namespace lexora
