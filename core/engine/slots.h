// Slot numbering, the file names of a slot's six files and the path tables.
#pragma once

#include <array>
#include <string>

#include "dictionary_settings.h"

namespace lex {

// Groups of the name table, in table order.
enum SlotFileGroup : int {
    kGroupCdWords = 0,
    kGroupCdTranslations = 1,
    kGroupKeyIndex = 2,
    kGroupNodes = 3,
    kGroupUserWords = 4,
    kGroupUserTranslations = 5,
};

// 6 groups x 20 base names, index = slot.
extern const std::array<std::array<const char*, kSlotCount>, 6> SlotFileNames;

// The other direction of the slot's language pair.
inline int CounterpartSlot(int slot) { return (slot % 2 == 0) ? slot + 1 : slot - 1; }

// Sort type a slot has unless the settings choose another: pairs 0..5 are
// fixed (0, 2, 3, 4, 5, 6 for direction 0 and 1 for direction 1); pairs 6..9
// default to 0 for direction 0 and 1 for direction 1.
int DefaultSortType(int slot);

// Fills the six path tables: CD files from `cdFolder`, the others from
// `diskFolder`. A folder without a trailing separator gets one ('\\' when the
// folder already uses backslashes, else '/').
void FillSlotPaths(DictionarySettings& settings, const std::string& cdFolder,
                   const std::string& diskFolder);

}  // namespace lex
