// The program's message boxes: captions and texts by text id in the UI
// language, shown with the common OK and Yes/No dialogs.
#pragma once

#include "lexora_program.h"
#include "winlib/window.h"

namespace lexora {

// OK box with caption text `captionId` and text `textId`.
void ShowOk(Program& program, wl::Window* parent, int captionId, int textId);
// Yes/No box; true for Yes.
bool AskYesNo(Program& program, wl::Window* parent, int captionId, int textId);

// RAII: the dialog-open flag is set while a command shows a dialog and is
// cleared on every way out of it; then the program's after-dialog work runs
// (one clipboard tick), unless `tickAfter` is false. A scope inside another
// leaves the flag to the outer one.
class DialogOpenScope {
public:
    explicit DialogOpenScope(Program& program, bool tickAfter = true)
        : program_(program), outer_(program.EnterDialog()), tickAfter_(tickAfter) {}
    ~DialogOpenScope() {
        if (outer_) program_.LeaveDialog(tickAfter_);
    }
    DialogOpenScope(const DialogOpenScope&) = delete;
    DialogOpenScope& operator=(const DialogOpenScope&) = delete;

private:
    Program& program_;
    bool outer_;
    bool tickAfter_;
};

}  // namespace lexora
