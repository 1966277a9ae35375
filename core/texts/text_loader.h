// UI texts of the dictionary programs: the string table holds every text in
// nine languages at id = base id + UI language; each language's texts are
// 8-bit in that language's Windows code page.
#pragma once

#include <windows.h>

#include "core/texts/text_ids.h"  // the names of the base ids

namespace lex {

constexpr int kUiLanguageCount = 9;

// Longest text LoadText gives back; its buffers keep room for the terminator.
constexpr int kLoadedTextLength = 252;

// Windows code page of the UI texts of a UI language (0..8).
UINT UiLanguageCodePage(int uiLanguage);

class TextLoader {
public:
    // module: the module whose string table is read (nullptr = the program itself).
    explicit TextLoader(HINSTANCE module = nullptr);

    // A value outside 0..8 becomes 1.
    void SetUiLanguage(int uiLanguage);
    int UiLanguage() const { return uiLanguage_; }
    UINT CodePage() const { return UiLanguageCodePage(uiLanguage_); }

    // Text of base id + UI language, at most kLoadedTextLength bytes, in the language's
    // code page. Two buffers are used in turn: a result stays valid until the
    // second call after it. An id without text gives an empty text.
    const char* LoadText(int baseId);

private:
    HINSTANCE module_;
    int uiLanguage_ = 1;
    char buffers_[2][kLoadedTextLength + 1] = {};
    unsigned char useSecond_ = 1;  // the first call of a run uses the first buffer
    const char* last_ = nullptr;
};

}  // namespace lex
