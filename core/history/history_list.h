// The history of looked-up words: newest first, each word with the slot it
// was looked up in. Lives in memory; the frame loads and saves it through the
// settings file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/dictionary_settings.h"  // slot numbers and the history limits

namespace lex {

class HistoryList {
public:
    static constexpr int kTextSize = kHistoryTextSize;  // bytes of one entry with its terminator

    // Marks the list as not allocated.
    void ResetHistory();
    // Clamps `historySize` to kMinHistorySize..kMaxHistorySize (and stores
    // the clamped value back), then makes that many empty entries (slot
    // kNoSlot). 1 done, -1 out of memory.
    int AllocHistory(int32_t& historySize);
    // Clamps `historySize` like AllocHistory and gives the list that size,
    // keeping the newest entries that fit. 1 done; -1 out of memory, and then
    // the list and `historySize` keep their old contents and size.
    int ResizeHistory(int32_t& historySize);
    void FreeHistory();
    bool Allocated() const { return allocated_; }
    int Size() const { return static_cast<int>(texts_.size()); }

    // Puts `word` (trimmed) at the top with `currentSlot`: an entry with the
    // same text moves up, otherwise the oldest entry drops out. An empty word
    // or an unallocated list changes nothing.
    void AddToHistory(const std::string& word, int32_t currentSlot);

    // Entry i (0 = newest); an index outside the list gives "" and slot 500.
    const std::string& Text(int i) const;
    int32_t Slot(int i) const;
    // Sets entry i as read from the settings; the text is cut to 253 bytes,
    // a slot outside 0..19 becomes 500. False for an index outside the list.
    bool SetEntry(int i, const std::string& text, int32_t slot);

private:
    bool allocated_ = false;
    std::vector<std::string> texts_;
    std::vector<int32_t> slots_;
};

}  // namespace lex
