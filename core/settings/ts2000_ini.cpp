#include "ts2000_ini.h"

namespace lex {

namespace {

using T = SettingType;
using A = SettingArgs;

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
};
static_assert(IniTableInOrder(kTs2000Keys), "one row per key, in the order of the enumeration");

}  // namespace

const IniKeyDef<Ts2000Key>& IniKeyTable<Ts2000Key>::Row(Ts2000Key id) { return kTs2000Keys[static_cast<int>(id)]; }

}  // namespace lex
