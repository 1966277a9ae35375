// Text ids of the fixed names of language pairs 0..5 (slots 0..11): the
// original-language name, the translation-language name and the dictionary
// title that replace the stored [JAZYKY] values at start.
#pragma once

#include "core/texts/text_ids.h"

namespace lex {

// Languages of the fixed pairs in name order: 0 English, 1 Czech, 2 German,
// 3 Russian, 4 French, 5 Spanish, 6 Italian. Pair p (0..5) translates between
// language (p == 0 ? 0 : p + 1) and Czech.
constexpr int kFixedPairCount = 6;

// "English Original", "Czech Original", "German Original", ... in language order.
constexpr int kOriginalNameBaseId = kTextOriginalEnglish;
// "Czech Translation", "English Translation", "German Translation", ... in language order.
constexpr int kTranslationNameBaseId = kTextTranslationCzech;
// "English-Czech Dictionary", "Czech-English Dictionary", ... one per slot.
constexpr int kDictionaryTitleBaseId = kTextTitleEnglishCzech;

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

// The names follow the language order above.
static_assert(kTextOriginalCzech == kOriginalNameBaseId + 10 && kTextOriginalItalian == kOriginalNameBaseId + 60);
static_assert(kTextTranslationEnglish == kTranslationNameBaseId + 10 &&
              kTextTranslationItalian == kTranslationNameBaseId + 60);
static_assert(kTextTitleCzechItalian == kDictionaryTitleBaseId + 110);
static_assert(FixedOriginalNameId(0) == kTextOriginalEnglish && FixedOriginalNameId(2) == kTextOriginalGerman &&
              FixedOriginalNameId(3) == kTextOriginalCzech && FixedOriginalNameId(10) == kTextOriginalItalian &&
              FixedOriginalNameId(11) == kTextOriginalCzech);
static_assert(FixedTranslationNameId(0) == kTextTranslationCzech &&
              FixedTranslationNameId(1) == kTextTranslationEnglish &&
              FixedTranslationNameId(5) == kTextTranslationRussian &&
              FixedTranslationNameId(11) == kTextTranslationItalian);
static_assert(FixedDictionaryTitleId(11) == kTextTitleCzechItalian);

}  // namespace lex
