// The row labels of the pair tables (configuration and sort order).
#pragma once

#include "core/dialogs/settings_dialogs_ids.h"
#include "core/settings/settings.h"
#include "core/texts/text_loader.h"
#include "winlib/dialog.h"

namespace lex {

inline void SetRowLabels(wl::Dialog& dialog, TextLoader& texts) {
    static const int labels[kPairCount] = {kTextLanguageEnglish, kTextLanguageGerman, kTextLanguageRussian,
                                           kTextLanguageFrench,  kTextLanguageSpanish, kTextLanguageItalian,
                                           kTextLanguage7,       kTextLanguage8,       kTextLanguage9,
                                           kTextLanguage10};
    for (int pair = 0; pair < kPairCount; ++pair)
        dialog.SetItemText(IDC_ROW_LABEL_FIRST + pair, texts.LoadText(labels[pair]));
}

}  // namespace lex
