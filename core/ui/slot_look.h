// How the words of a slot are shown: the source-language font of the slot and
// the code page of its words. The program fills it from its font tables and
// slot settings; an empty function (or a null font) means the control's own.
#pragma once

#include <windows.h>

#include <functional>

namespace lex {

struct SlotLook {
    std::function<HFONT(int slot)> sourceFont;
    std::function<UINT(int slot)> sourceCodePage;

    static bool ValidSlot(int slot) { return slot >= 0 && slot < 20; }
    HFONT Font(int slot) const { return sourceFont && ValidSlot(slot) ? sourceFont(slot) : nullptr; }
    UINT CodePage(int slot, UINT fallback) const {
        UINT cp = sourceCodePage && ValidSlot(slot) ? sourceCodePage(slot) : 0;
        return cp ? cp : fallback;
    }
};

}  // namespace lex
