// TEdit2: the multi-line edit control of translation lists. A plain edit
// control, except that a left click selects the whole clicked line (without
// its line break), so that one translation is picked as a unit; the caret
// stays where the click put it.
#pragma once

#include "winlib/controls.h"

namespace lex {

class TEdit2 : public wl::Edit {
public:
    // Bound to edit `id` of the parent's template.
    TEdit2(wl::Window* parent, int id) : wl::Edit(parent, id) {}
    // Created in code (give ES_MULTILINE and the other styles).
    TEdit2(wl::Window* parent, int id, int x, int y, int w, int h, DWORD style, DWORD exStyle = 0)
        : wl::Edit(parent, id, x, y, w, h, style, exStyle) {}

    static constexpr int kScanLimit = 10000;  // lines starting at or after this index are not selected

    WL_DECLARE_MESSAGE_TABLE();

private:
    LRESULT EvLButtonDown(WPARAM, LPARAM);
};

}  // namespace lex
