// Fonts made from a stored LOGFONT so that their text can be read: a face the
// system resolves to a font without the character set the text needs (the
// raster "System" font has only the Western set on some systems) is replaced
// by a face that has it, with the same height and weight. The stored LOGFONT
// itself never changes.
#pragma once

#include <windows.h>

#include <string>

namespace wl {

// The character set of the font the system actually gives for `font`
// (DEFAULT_CHARSET when it cannot be told).
BYTE ActualCharSet(HFONT font);

// The font character set of a Windows code page (1250 EASTEUROPE_CHARSET,
// 1251 RUSSIAN_CHARSET, ...); ANSI_CHARSET for 1252 and any other.
BYTE CharSetOfCodePage(UINT codePage);

// A font that shows the characters of `charSet`: `font` as it stands when the
// system gives it that character set; otherwise the same font asked for in
// `charSet`, from its own face when that face has it, else from another face
// that has it. DEFAULT_CHARSET, SYMBOL_CHARSET and OEM_CHARSET are taken as
// they come. When no face has the set, `font` as it stands. The caller
// deletes the font.
HFONT CreateFontShowing(const LOGFONTA& font, BYTE charSet);
// The same for the character set `font` itself asks for.
inline HFONT CreateFontShowing(const LOGFONTA& font) { return CreateFontShowing(font, font.lfCharSet); }
// The same, but a font is taken only when it also draws every character of
// `letters` (the texts it will show; see FontShowsLetters): a matching
// character set alone says nothing about the letters. When no face draws
// them all, the font of CreateFontShowing(font, charSet); with no letters,
// exactly that.
HFONT CreateFontShowing(const LOGFONTA& font, BYTE charSet, const std::wstring& letters);

// Whether `font` draws every character of `text` as itself: none comes out
// as the font's default character, and in a font that is not TrueType (a
// raster font draws the bytes of a code page) each one converts exactly into
// the code page of the font's character set. Blanks and control characters
// count as shown.
bool FontShowsLetters(HFONT font, const std::wstring& text);

// Every window of this thread (top-level windows and all their descendants)
// whose font is `from` gets `to` and is redrawn; `from` may be deleted after.
void ReplaceFont(HFONT from, HFONT to);

}  // namespace wl
