#include "ts2000_ini.h"

#include <cstring>
#include <string>

namespace lex {

namespace {

using T = SettingType;
using A = SettingArgs;

constexpr int kButtonFaceNameSize = 31;  // 30 characters and the terminator

// Every key of ts2000.ini in this table, in the order of Ts2000Key.
constexpr IniKeyDef<Ts2000Key> kTs2000Keys[] = {
    {Ts2000Key::LexoraActive, "LEXORA", "AKTIVNI", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::UiLanguage, "Konfigurace", "Komunikacni jazyk", T::Int, A::None, 1, nullptr, 0},
    {Ts2000Key::SaveLast, "Konfigurace", "Ukladat", T::Int, A::None, 1, nullptr, 0},
    {Ts2000Key::AskToFinish, "Konfigurace", "Ukoncit", T::Int, A::None, 1, nullptr, 0},
    {Ts2000Key::ActivateAtStart, "Konfigurace", "Aktivovat", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::LastQuickButton, "Konfigurace", "Posledni", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::HideAtStart, "Konfigurace", "Minimalizovny", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ActiveKeyboard, "Klavesnice", "Aktualni", T::Text, A::None, 0, "", 255},
    {Ts2000Key::ActiveQuickButton, "Klavesnice", "AktTlac", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::InstallCount, "Klavesnice", "pocitadlo", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::QuickButtonShortName, "RYCHLOTLACITKA", "Tlacitko %i jmeno", T::Text, A::Index, 0, "X", 5},
    {Ts2000Key::QuickButtonName, "RYCHLOTLACITKA", "Tlacitko %i nazev", T::Text, A::Index, 0, "X", 30},
    {Ts2000Key::QuickButtonData, "RYCHLOTLACITKA", "Tlacitko %i data", T::Text, A::Index, 0, "X", 254},
    {Ts2000Key::QuickButtonWindowsLayout, "RYCHLOTLACITKA", "Tlacitko %i WindowsKlavesnice", T::Int, A::Index, -1,
     nullptr, 0},
    {Ts2000Key::SwitchFile, "PREPINAC", "Prepinaci soubor", T::Text, A::None, 0, "", 254},
    {Ts2000Key::ProgramFolder, "CESTY", "Umisteni programu", T::Text, A::None, 0, "", 255},
    {Ts2000Key::ButtonFontHeight, "FONT", "lfHeight", T::Int, A::None, -13, nullptr, 0},
    {Ts2000Key::ButtonFontWidth, "FONT", "lfWidth", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ButtonFontEscapement, "FONT", "lfEscapement", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ButtonFontOrientation, "FONT", "lfOrientation", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ButtonFontWeight, "FONT", "lfWeight", T::Int, A::None, 700, nullptr, 0},
    {Ts2000Key::ButtonFontItalic, "FONT", "lfItalic", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ButtonFontUnderline, "FONT", "lfUnderline", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ButtonFontStrikeOut, "FONT", "lfStrikeOut", T::Int, A::None, 0, nullptr, 0},
    {Ts2000Key::ButtonFontCharSet, "FONT", "lfCharSet", T::Int, A::None, 238, nullptr, 0},
    {Ts2000Key::ButtonFontOutPrecision, "FONT", "lfOutPrecision", T::Int, A::None, 1, nullptr, 0},
    {Ts2000Key::ButtonFontClipPrecision, "FONT", "lfClipPrecision", T::Int, A::None, 2, nullptr, 0},
    {Ts2000Key::ButtonFontQuality, "FONT", "lfQuality", T::Int, A::None, 1, nullptr, 0},
    {Ts2000Key::ButtonFontPitchAndFamily, "FONT", "lfPitchAndFamily", T::Int, A::None, 34, nullptr, 0},
    {Ts2000Key::ButtonFontFaceName, "FONT", "lfFaceName", T::Text, A::None, 0, "System", kButtonFaceNameSize},
};
static_assert(IniTableInOrder(kTs2000Keys), "one row per key, in the order of the enumeration");

}  // namespace

const IniKeyDef<Ts2000Key>& IniKeyTable<Ts2000Key>::Row(Ts2000Key id) { return kTs2000Keys[static_cast<int>(id)]; }

namespace {

// The numeric fields of [FONT] with their keys, in the order they are written.
struct FontField {
    Ts2000Key key;
    LONG LOGFONTA::*wide;
    BYTE LOGFONTA::*narrow;
};

constexpr FontField kFontFields[] = {
    {Ts2000Key::ButtonFontHeight, &LOGFONTA::lfHeight, nullptr},
    {Ts2000Key::ButtonFontWidth, &LOGFONTA::lfWidth, nullptr},
    {Ts2000Key::ButtonFontEscapement, &LOGFONTA::lfEscapement, nullptr},
    {Ts2000Key::ButtonFontOrientation, &LOGFONTA::lfOrientation, nullptr},
    {Ts2000Key::ButtonFontWeight, &LOGFONTA::lfWeight, nullptr},
    {Ts2000Key::ButtonFontItalic, nullptr, &LOGFONTA::lfItalic},
    {Ts2000Key::ButtonFontUnderline, nullptr, &LOGFONTA::lfUnderline},
    {Ts2000Key::ButtonFontStrikeOut, nullptr, &LOGFONTA::lfStrikeOut},
    {Ts2000Key::ButtonFontCharSet, nullptr, &LOGFONTA::lfCharSet},
    {Ts2000Key::ButtonFontOutPrecision, nullptr, &LOGFONTA::lfOutPrecision},
    {Ts2000Key::ButtonFontClipPrecision, nullptr, &LOGFONTA::lfClipPrecision},
    {Ts2000Key::ButtonFontQuality, nullptr, &LOGFONTA::lfQuality},
    {Ts2000Key::ButtonFontPitchAndFamily, nullptr, &LOGFONTA::lfPitchAndFamily},
};

}  // namespace

LOGFONTA ReadButtonFont(const Ts2000IniFile& file) {
    LOGFONTA font{};
    for (const FontField& f : kFontFields) {
        const int value = file.ReadInt(f.key);
        if (f.wide) font.*f.wide = value;
        else font.*f.narrow = static_cast<BYTE>(value);
    }
    const std::string face = file.ReadText(Ts2000Key::ButtonFontFaceName);
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return font;
}

bool WriteButtonFont(const Ts2000IniFile& file, const LOGFONTA& font) {
    bool written = true;
    for (const FontField& f : kFontFields) {
        const int value = f.wide ? static_cast<int>(font.*f.wide) : static_cast<int>(font.*f.narrow);
        written = file.WriteInt(f.key, value) && written;
    }
    const std::string face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    return file.WriteText(Ts2000Key::ButtonFontFaceName, face.substr(0, kButtonFaceNameSize - 1)) && written;
}

}  // namespace lex
