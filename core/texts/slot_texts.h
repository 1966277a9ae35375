// Text ids of the fixed names of language pairs 0..5 (slots 0..11): the
// original-language name, the translation-language name and the dictionary
// title that replace the stored [JAZYKY] values at start.
#pragma once

namespace lex {

// Languages of the fixed pairs in name order: 0 English, 1 Czech, 2 German,
// 3 Russian, 4 French, 5 Spanish, 6 Italian. Pair p (0..5) translates between
// language (p == 0 ? 0 : p + 1) and Czech.
constexpr int kFixedPairCount = 6;

// "English Original", "Czech Original", "German Original", ... (10530..10590).
constexpr int kOriginalNameBaseId = 10530;
// "Czech Translation", "English Translation", "German Translation", ... (10600..10660).
constexpr int kTranslationNameBaseId = 10600;
// "English-Czech Dictionary", "Czech-English Dictionary", ... one per slot (10670..10780).
constexpr int kDictionaryTitleBaseId = 10670;

constexpr bool HasFixedNames(int slot) { return slot >= 0 && slot < 2 * kFixedPairCount; }

// Base text id of the original-language name of a slot 0..11.
constexpr int FixedOriginalNameId(int slot) {
    // Direction 0 reads the pair's foreign language, direction 1 Czech.
    return slot % 2 == 0 ? kOriginalNameBaseId + 10 * (slot == 0 ? 0 : slot / 2 + 1)
                         : kOriginalNameBaseId + 10;
}

// Base text id of the translation-language name of a slot 0..11.
constexpr int FixedTranslationNameId(int slot) {
    return slot % 2 == 0 ? kTranslationNameBaseId
                         : kTranslationNameBaseId + 10 * (slot == 1 ? 1 : slot / 2 + 1);
}

// Base text id of the dictionary title of a slot 0..11.
constexpr int FixedDictionaryTitleId(int slot) { return kDictionaryTitleBaseId + 10 * slot; }

static_assert(FixedOriginalNameId(0) == 10530 && FixedOriginalNameId(2) == 10550 &&
              FixedOriginalNameId(3) == 10540 && FixedOriginalNameId(10) == 10590 &&
              FixedOriginalNameId(11) == 10540);
static_assert(FixedTranslationNameId(0) == 10600 && FixedTranslationNameId(1) == 10610 &&
              FixedTranslationNameId(5) == 10630 && FixedTranslationNameId(11) == 10660);
static_assert(FixedDictionaryTitleId(11) == 10780);

}  // namespace lex
