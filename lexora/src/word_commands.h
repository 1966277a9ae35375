// What lexora hands to the word dialogs of the dictionary core: its services
// (engine, texts, fonts, keyboard coupling, message boxes) and a copy of the
// main view taken when a dialog opens.
#pragma once

#include "client.h"
#include "core/dialogs/word_dialogs.h"
#include "lexora_program.h"

namespace lexora {

lex::WordDialogServices WordDialogServicesOf(Program& program);
// The slot, word, pronunciation line and translation lines as the lookup
// session has them, the caret line, and the node of the selected list line.
lex::WordDialogView CaptureView(Program& program, TDrawWindow& client);
// The selected list line backed by a row (-1: none).
int SelectedListLine(TDrawWindow& client);

}  // namespace lexora
