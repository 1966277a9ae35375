// How the words of a slot are shown: the source-language font of the slot and
// the code page of its words. The program fills it from its font tables and
// slot settings; an empty function (or a null font) means the control's own.
#pragma once

#include <windows.h>

#include <functional>

#include "core/engine/dictionary_settings.h"

namespace lex {

struct SlotLook {
    std::function<HFONT(int slot)> sourceFont;
    std::function<UINT(int slot)> sourceCodePage;

    HFONT Font(int slot) const { return sourceFont && IsValidSlot(slot) ? sourceFont(slot) : nullptr; }
    UINT CodePage(int slot, UINT fallback) const {
        UINT cp = sourceCodePage && IsValidSlot(slot) ? sourceCodePage(slot) : 0;
        return cp ? cp : fallback;
    }
};

}  // namespace lex
