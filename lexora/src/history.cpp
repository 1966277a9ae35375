#include "history.h"

#include "core/ui/history_dialog.h"

namespace lexora {

bool RunHistoryDialog(Program& program, wl::Window* parent, int& slot, std::string& word) {
    lex::THistoryDialog dialog(parent, program.History, program.CurrentSlot(), program.Texts, program.Look());
    if (dialog.Execute() != 1) return false;
    // OK without an entry shows the lookup where it is afresh.
    slot = dialog.Taken() ? dialog.TakenSlot() : program.CurrentSlot();
    word = dialog.Taken() ? dialog.TakenWord() : program.CurrentWord();
    return true;
}

}  // namespace lexora
