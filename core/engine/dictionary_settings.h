// The settings record the dictionary engine works from: the full paths of the
// six files of every slot, the current slot, the sort types and the action log.
// Filled at start by the programs' frame set-up (from lx2000.ini) and by tools.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lex {

constexpr int kSlotCount = 20;
constexpr int kNoSlot = 500;  // history entries without a slot

// The slot range check of every slot number read from a file or a caller.
constexpr bool IsValidSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

// The history of looked-up words: its size (HistorySize) is kept within these
// limits, and one entry's text is at most kHistoryTextSize - 1 bytes.
constexpr int kMinHistorySize = 5;
constexpr int kMaxHistorySize = 100;
constexpr int kHistoryTextSize = 254;  // bytes with the terminator

struct DictionarySettings {
    // Full paths, index = slot.
    std::array<std::string, kSlotCount> CdWordsPaths;
    std::array<std::string, kSlotCount> CdTranslationsPaths;
    std::array<std::string, kSlotCount> KeyIndexPaths;
    std::array<std::string, kSlotCount> UserWordsPaths;
    std::array<std::string, kSlotCount> NodePaths;
    std::array<std::string, kSlotCount> UserTranslationsPaths;

    std::array<int16_t, kSlotCount> SortType{};  // collation of each slot's source language
    std::string ActionLogPath;                   // program folder + "akce%d.idx"
    char GrammarSeparator = '.';
    int32_t HistorySize = 10;
    std::string CurrentWord;
    int32_t VisibleRows = 25;
    int32_t CurrentSlot = 0;
};

}  // namespace lex
