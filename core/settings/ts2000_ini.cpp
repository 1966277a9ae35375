#include "ts2000_ini.h"

namespace lex {

namespace {

using T = SettingType;
using A = SettingArgs;

// Every key of ts2000.ini in this table, in the order of Ts2000Key.
constexpr IniKeyDef<Ts2000Key> kTs2000Keys[] = {
    {Ts2000Key::LexoraActive, "LEXORA", "AKTIVNI", T::Int, A::None, 0, nullptr, 0},
};
static_assert(IniTableInOrder(kTs2000Keys), "one row per key, in the order of the enumeration");

}  // namespace

const IniKeyDef<Ts2000Key>& IniKeyTable<Ts2000Key>::Row(Ts2000Key id) { return kTs2000Keys[static_cast<int>(id)]; }

}  // namespace lex
