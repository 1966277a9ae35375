// Texts of the settings dialogs: caption and control texts from the UI
// texts, and the row labels of the pair tables (configuration and sort order).
#pragma once

#include "core/dialogs/settings_dialogs_ids.h"
#include "core/settings/settings.h"
#include "core/texts/text_loader.h"
#include "core/ui/ui_texts.h"
#include "winlib/dialog.h"

#include <initializer_list>

namespace lex {

// The dialog's texts in the UI language: its code page, its caption (0 keeps
// the template's own) and the controls' texts (base ids).
inline void SetDialogTexts(wl::Dialog& dialog, TextLoader& texts, int captionId,
                           std::initializer_list<wl::ItemText> items) {
    dialog.SetCodePage(texts.CodePage());
    if (captionId) dialog.SetText(texts.LoadText(captionId));
    dialog.SetItemTexts(UiTextLookup(texts), items);
}

inline void SetRowLabels(wl::Dialog& dialog, TextLoader& texts) {
    static const int labels[kPairCount] = {kTextLanguageEnglish, kTextLanguageGerman, kTextLanguageRussian,
                                           kTextLanguageFrench,  kTextLanguageSpanish, kTextLanguageItalian,
                                           kTextLanguage7,       kTextLanguage8,       kTextLanguage9,
                                           kTextLanguage10};
    for (int pair = 0; pair < kPairCount; ++pair)
        dialog.SetItemText(IDC_ROW_LABEL_FIRST + pair, texts.LoadText(labels[pair]));
}

}  // namespace lex
