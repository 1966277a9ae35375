#include "core/ui/dialog_placement.h"

namespace lex {

void PlaceAtMainWindowTopRight(wl::Window& dialog) {
    wl::Window* parent = dialog.Parent();
    HWND main = parent && parent->Handle() ? ::GetAncestor(parent->Handle(), GA_ROOT) : nullptr;
    if (!main) return;
    RECT mr{}, dr{};
    ::GetWindowRect(main, &mr);
    ::GetWindowRect(dialog.Handle(), &dr);
    ::SetWindowPos(dialog.Handle(), nullptr, mr.right - (dr.right - dr.left), mr.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lex
