#include "messages.h"

namespace lexora {

void ShowOk(Program& program, wl::Window* parent, int captionId, int textId) {
    lex::ShowMessage(parent, program.Messages, program.Texts, captionId, textId);
}

bool AskYesNo(Program& program, wl::Window* parent, int captionId, int textId) {
    return lex::AskYesNo(parent, program.Messages, program.Texts, captionId, textId);
}

}  // namespace lexora
