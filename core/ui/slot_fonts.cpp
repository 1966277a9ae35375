#include "core/ui/slot_fonts.h"

#include "core/engine/collation.h"
#include "core/engine/slots.h"
#include "core/settings/settings.h"
#include "winlib/fonts.h"

namespace lex {

UINT CharSetCodePage(BYTE charSet) {
    switch (charSet) {
    case EASTEUROPE_CHARSET: return 1250;
    case RUSSIAN_CHARSET: return 1251;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    default: return 1252;
    }
}

namespace {

// The collation tables that give their letters as Windows 1250 bytes.
bool SortsWindows1250Letters(int sortType) {
    switch (sortType) {
    case kSortEnglish:
    case kSortCzech:
    case kSortGerman:
    case kSortRumanian:
    case kSortPolish:
        return true;
    default:
        return false;
    }
}

}  // namespace

UINT SideCodePage(BYTE charSet, int sortType) {
    const bool western = charSet == ANSI_CHARSET || charSet == DEFAULT_CHARSET;
    if (western && SortsWindows1250Letters(sortType)) return 1250;
    return CharSetCodePage(charSet);
}

SlotFonts::~SlotFonts() { DeleteFonts(); }

void SlotFonts::ReadSlotFonts(const SettingsFile& settings) {
    DeleteFonts();
    for (int type = 0; type < 3; ++type) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            LOGFONTA font = settings.ReadFontSetting(type, slot);
            // The texts are in the code page of the stored set, whatever face
            // the font is made from.
            FontCharSets[type][slot] = font.lfCharSet;
            Fonts[type][slot] = wl::CreateFontShowing(font);
        }
    }
}

void SlotFonts::DeleteFonts() {
    for (auto& kind : Fonts) {
        for (HFONT& font : kind) {
            if (font) ::DeleteObject(font);
            font = nullptr;
        }
    }
}

UINT SlotFonts::SlotCodePage(int slot, int side) const {
    if (!IsValidSlot(slot) || side < 0 || side > 2) return 1252;
    const BYTE charSet = FontCharSets[side][slot];
    if (side == 2 || !sortTypes_) return CharSetCodePage(charSet);
    return SideCodePage(charSet, (*sortTypes_)[side == 0 ? slot : CounterpartSlot(slot)]);
}

}  // namespace lex
