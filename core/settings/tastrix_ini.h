// tastrix.ini, the file of the resident keyboard program. The dictionary
// program writes [LEX] "AKTIVNI" there: "1" while it is the active program
// with its keyboard coupling on, else "0". The programs use the bare name, so
// the file lies in the Windows directory.
#pragma once

#include "ini_file.h"

namespace lex {

constexpr const char kTastrixIniFileName[] = "tastrix.ini";

enum class TastrixKey : int {
    LexActive,  // [LEX] "AKTIVNI"
    Count
};

template <>
struct IniKeyTable<TastrixKey> {
    static constexpr const char* kFileName = kTastrixIniFileName;
    static const IniKeyDef<TastrixKey>& Row(TastrixKey id);
};

using TastrixIniFile = IniFile<TastrixKey>;

}  // namespace lex
