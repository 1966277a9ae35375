// The fonts of the dictionary slots, read from lx2000.ini's font sections:
// one font handle per slot for the original, translation and pronunciation
// texts, with the character set each was made with. The code page of a
// slot's texts is that of its font's character set. The dictionary program
// and the bulk utility hold their fonts in one of these (their Program
// objects derive from it).
#pragma once

#include <windows.h>

#include "core/engine/dictionary_settings.h"

namespace lex {

class SettingsFile;

// Code page of a font character set (ANSI_CHARSET 1252, EASTEUROPE 1250,
// RUSSIAN 1251, ...); 1252 for one without its own.
UINT CharSetCodePage(BYTE charSet);

class SlotFonts {
public:
    SlotFonts() = default;
    SlotFonts(const SlotFonts&) = delete;
    SlotFonts& operator=(const SlotFonts&) = delete;
    ~SlotFonts();

    // Fonts per slot: [0] original, [1] translation, [2] pronunciation.
    HFONT Fonts[3][kSlotCount] = {};
    BYTE FontCharSets[3][kSlotCount] = {};

    // Makes the fonts of every slot from the settings file (deleting the old ones).
    void ReadSlotFonts(const SettingsFile& settings);
    void DeleteFonts();

    // Code page of the original (0), translation (1) or pronunciation (2)
    // texts of a slot: that of its font's character set.
    UINT SlotCodePage(int slot, int side) const;
};

}  // namespace lex
