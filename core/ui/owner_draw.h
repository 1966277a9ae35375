// Drawing of the owner-drawn word lists (history list, word box).
#pragma once

#include <windows.h>

#include <string>

namespace lex {

// The line drawn for an item: every "&" doubled (so that it shows as one),
// then blanks up to `padTo` characters; never longer than `bufferSize` - 1.
// A doubled "&" is never split when the text must be cut.
std::string DrawnItemText(const std::string& text, size_t padTo, size_t bufferSize);

// Draws `line` (8-bit, `codePage`) into the item's rectangle in the system's
// highlight colours when `selected`, else in the window colours, with `font`
// (null: the device context's font). The device context is restored.
void DrawListItem(const DRAWITEMSTRUCT& item, const std::string& line, UINT codePage, HFONT font, bool selected);

}  // namespace lex
