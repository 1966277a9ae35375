#include "history.h"

#include "client.h"
#include "core/ui/history_dialog.h"

namespace lexora {

bool RunHistoryDialog(Program& program, wl::Window* parent, TDrawWindow& client) {
    lex::THistoryDialog dialog(parent, program.History, program.Config.Dictionary, program.Texts,
                               client.WordBoxControl(), program.Look());
    return dialog.Execute() == 1;
}

}  // namespace lexora
