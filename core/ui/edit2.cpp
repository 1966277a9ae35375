#include "core/ui/edit2.h"

namespace lex {

WL_BEGIN_MESSAGE_TABLE(TEdit2, wl::Edit)
    WL_MESSAGE(WM_LBUTTONDOWN, EvLButtonDown)
WL_END_MESSAGE_TABLE()

LRESULT TEdit2::EvLButtonDown(WPARAM, LPARAM) {
    // The edit control first places the caret at the clicked character.
    DefaultProcessing();
    POINT caret{};
    GetCaretPos(&caret);
    const int line = LineFromChar(-1);
    // The first character of that line is the first index whose line it is.
    const int first = LineIndex(line);
    if (first >= 0 && first < kScanLimit) {
        SetCaretPos(caret.x, caret.y);
        SetSelection(first, first + LineLength(first));
        SetCaretPos(caret.x, caret.y);
    }
    return 0;
}

}  // namespace lex
