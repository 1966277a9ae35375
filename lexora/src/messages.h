// The program's message boxes: captions and texts by text id in the UI
// language, shown with the common OK and Yes/No dialogs.
#pragma once

#include "program.h"
#include "winlib/window.h"

namespace lexora {

// OK box with caption text `captionId` and text `textId`.
void ShowOk(Program& program, wl::Window* parent, int captionId, int textId);
// Yes/No box; true for Yes.
bool AskYesNo(Program& program, wl::Window* parent, int captionId, int textId);

// RAII: the dialog-open flag is set while a command shows a dialog and is
// cleared on every way out of it.
class DialogOpenScope {
public:
    explicit DialogOpenScope(Program& program) : program_(program) { program_.DialogOpen = true; }
    ~DialogOpenScope() { program_.DialogOpen = false; }
    DialogOpenScope(const DialogOpenScope&) = delete;
    DialogOpenScope& operator=(const DialogOpenScope&) = delete;

private:
    Program& program_;
};

}  // namespace lexora
