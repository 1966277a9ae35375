#include "core/texts/text_loader.h"

#include <cstring>

namespace lex {

UINT UiLanguageCodePage(int uiLanguage) {
    switch (uiLanguage) {
    case 4:
        return 1251;  // Russian
    case 5:           // French
    case 6:           // Spanish
        return 1252;
    default:
        return 1250;  // English, Czech, German, Italian, Polish
    }
}

TextLoader::TextLoader(HINSTANCE module) : module_(module) {}

void TextLoader::SetUiLanguage(int uiLanguage) {
    uiLanguage_ = (uiLanguage >= 0 && uiLanguage < kUiLanguageCount) ? uiLanguage : 1;
}

const char* TextLoader::LoadText(int baseId) {
    char* buffer;
    if (useSecond_ == 1) {
        useSecond_ = 0;
        buffer = buffers_[0];
    } else {
        useSecond_ = 1;
        buffer = buffers_[1];
    }
    buffer[0] = '\0';

    HINSTANCE module = module_ ? module_ : GetModuleHandleW(nullptr);
    // With a zero buffer size LoadStringW hands out a read-only pointer to the
    // resource's own UTF-16 text, which is not zero-terminated.
    const wchar_t* wide = nullptr;
    int length = LoadStringW(module, static_cast<UINT>(baseId + uiLanguage_),
                             reinterpret_cast<LPWSTR>(&wide), 0);
    if (length > 0 && wide) {
        // Every text of the tables is in a single-byte code page: one UTF-16
        // unit gives one byte, so cutting at 252 units cuts at 252 characters.
        if (length > kLoadedTextLength) length = kLoadedTextLength;
        int written = WideCharToMultiByte(CodePage(), 0, wide, length, buffer,
                                          kLoadedTextLength, nullptr, nullptr);
        buffer[written > 0 ? written : 0] = '\0';
    }
    last_ = buffer;
    return buffer;
}

}  // namespace lex
