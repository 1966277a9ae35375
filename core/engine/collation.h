// Collation of the slots' source languages: weights, sort keys, comparisons,
// match lengths and the text operations applied to every word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dictionary_settings.h"
#include "trim_word.h"

namespace lex {

// Sort types (the collation of a slot's source language).
enum SortTypes : int {
    kSortEnglish = 0, kSortCzech = 1, kSortGerman = 2, kSortRussian = 3, kSortFrench = 4,
    kSortSpanish = 5, kSortItalian = 6, kSortDanish = 7, kSortPersian = 8, kSortRumanian = 9,
    kSortPolish = 10
};

constexpr int32_t kLowSentinelKey = 0;
constexpr int32_t kHighSentinelKey = 6377600;
constexpr size_t kMaxTextLength = 253;           // longest word, pronunciation or translation
constexpr size_t kMaxWeights = 2 * kMaxTextLength;  // 0xDF (type 2) and 0xF2 (type 8) give two weights
constexpr uint8_t kGrammarNoteByte = 0x1F;

// Maps `word` to collation weights for `sortType` (no reversal). `out` must hold
// 2 * min(length, 253) weights; longer words are cut at 253 bytes. Returns the count.
size_t WordSortBytes(const std::string& word, uint8_t* out, int sortType);

// SortKey of an already prepared word: 1 + w0*125000 + w1*2500 + w2*50 + w3.
int32_t SortKeyOf(const std::string& word, int sortType);
// The slot's key: Persian words are reversed first; an empty word gives 1.
int32_t WordSortKey(const std::string& word, int slot, const DictionarySettings& settings);

// -1, 0, 1 by collation only.
int CompareWords(const std::string& a, const std::string& b, int sortType);
// The slot's collation with the high sentinel and the Persian reversal.
int CompareSlotWords(const std::string& a, const std::string& b, int slot,
                     const DictionarySettings& settings);
// One word mapped once for many comparisons in the slot's collation:
// CompareWith(a) equals CompareSlotWords(a, word, slot, settings).
class SlotWordCollation {
public:
    SlotWordCollation(const std::string& word, int slot, const DictionarySettings& settings);
    int CompareWith(const std::string& a) const;

private:
    int CompareMapped(const std::string& a) const;

    int type_;
    bool high_;
    bool empty_;
    bool note_ = false;
    size_t count_ = 0;
    uint8_t weights_[kMaxWeights];
};
// Byte compare, the tie-break among words of equal collation: a proper prefix
// compares greater. With `reversed` both texts are compared back to front.
int CompareText(const std::string& a, const std::string& b, bool reversed = false);

// Signed length of the common collation prefix (see the translator's scoring).
int MatchLength(const std::string& a, const std::string& b, int sortType);
int SlotMatchLength(const std::string& a, const std::string& b, int slot,
                    const DictionarySettings& settings);
// The same on bytes; mode 1 compares ASCII upper-cased copies.
int MatchLengthPlain(const std::string& a, const std::string& b, int mode);
int SlotMatchLengthPlain(const std::string& a, const std::string& b, int slot, int mode);

void ReverseText(std::string& text);

// True when the first 100 bytes of `word` are the high sentinel's 0x9E bytes.
bool IsHighSentinelWord(const std::string& word);

}  // namespace lex
