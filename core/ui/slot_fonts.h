// The fonts of the dictionary slots, read from lx2000.ini's font sections:
// one font handle per slot for the original, translation and pronunciation
// texts, with the character set each was made with; and the code page of
// each side's texts (SlotCodePage). The dictionary program and the bulk
// utility hold their fonts in one of these (their Program objects derive
// from it).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "core/engine/dictionary_settings.h"

namespace lex {

class SettingsFile;

// Code page of a font character set (ANSI_CHARSET 1252, EASTEUROPE 1250,
// RUSSIAN 1251, ...); 1252 for one without its own.
UINT CharSetCodePage(BYTE charSet);

// Code page of the words of one side (a language) whose font has `charSet`
// and whose words sort by `sortType` (-1: not known). A side's bytes are
// those its collation table knows. The table of English, Czech and German and
// those of Rumanian and Polish know their letters as Windows 1250 bytes: such
// a side whose font has a Western set (the stored default of the English
// sides) is in 1250, which keeps every letter that 1250 shares with 1252 and
// adds the Czech ones. Every other side is in the code page of its font's set
// (the Russian sides in 1251, the French, Spanish and Italian sides in 1252
// by default, a side with a Greek font in 1253).
UINT SideCodePage(BYTE charSet, int sortType);

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

    // The sort types of the slots, read where they are kept (null: not
    // known; each side then has the code page of its font's set).
    void UseSortTypes(const std::array<int16_t, kSlotCount>* sortTypes) { sortTypes_ = sortTypes; }

    // Code page of the original (0), translation (1) or pronunciation (2)
    // texts of a slot: SideCodePage of the side's font set and of the sort
    // type of its language (the original's is the slot's, the translation's
    // that of the counterpart slot, whose original language it is). The
    // pronunciation is not sorted: the code page of its font's set.
    UINT SlotCodePage(int slot, int side) const;

private:
    const std::array<int16_t, kSlotCount>* sortTypes_ = nullptr;
};

}  // namespace lex
