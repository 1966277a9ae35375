// The word history command's dialog.
#pragma once

#include <string>

#include "lexora_program.h"
#include "winlib/window.h"

namespace lexora {

// Shows the history; true after OK, with the slot and word to go to (the
// entry taken, else where the lookup is).
bool RunHistoryDialog(Program& program, wl::Window* parent, int& slot, std::string& word);

}  // namespace lexora
