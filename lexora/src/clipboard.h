// Clipboard and selection texts. Words are 8-bit in their slot's code page;
// the clipboard gets both the 8-bit text and its UTF-16 form, converted whole
// with that code page.
#pragma once

#include <windows.h>

#include <string>

namespace lexora {

// Longest text the frame reads from the clipboard.
constexpr size_t kClipboardTextLength = 250;

// The selected part of an edit control's text, or of a combo box's edit part.
std::wstring SelectedWide(HWND control, bool comboBox);

// Puts `text` on the clipboard as CF_UNICODETEXT and as CF_TEXT in `codePage`.
bool PutClipboardText(HWND owner, const std::wstring& text, UINT codePage);

// The clipboard text in `codePage` (the Unicode text when there is one, else
// the 8-bit text), up to the first zero and at most `maxBytes` bytes, never
// cut inside a character's bytes. Text that a program put as 8-bit text only
// is taken as its bytes, which are read in `codePage`.
std::string ClipboardText(HWND owner, UINT codePage, size_t maxBytes);

}  // namespace lexora
