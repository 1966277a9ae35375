#include "tastrix_ini.h"

namespace lex {

namespace {

using T = SettingType;
using A = SettingArgs;

// Every key of tastrix.ini that this system uses, in the order of TastrixKey.
constexpr IniKeyDef<TastrixKey> kTastrixKeys[] = {
    {TastrixKey::LexActive, "LEX", "AKTIVNI", T::Int, A::None, 0, nullptr, 0},
};
static_assert(IniTableInOrder(kTastrixKeys), "one row per key, in the order of the enumeration");

}  // namespace

const IniKeyDef<TastrixKey>& IniKeyTable<TastrixKey>::Row(TastrixKey id) {
    return kTastrixKeys[static_cast<int>(id)];
}

}  // namespace lex
