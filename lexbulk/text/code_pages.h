// Code pages of the text files that the bulk jobs read and write. The
// dictionary files hold Windows 1250; a text file may also be in one of the two
// DOS code pages used for Czech. Every conversion goes through 1250.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lexbulk {

// The code of an outside text, as chosen by the three radio buttons of every
// text dialog (first, second, third).
enum class TextCode : int {
    kWindows1250 = 0,  // no conversion
    kLatin2 = 1,       // code page 852
    kKamenicky = 2,    // Kamenicky brothers' code (KEYBCS2)
};

// The TextCode of radio button `index` (0..2); false for any other index.
bool TextCodeFromIndex(int index, TextCode& code);

// One byte of a text in `code` as Windows 1250. Bytes 0x00..0x7F never
// change; a character that 1250 lacks becomes '?'.
unsigned char ToWindows1250(TextCode code, unsigned char byte);
// One byte of 1250 text in `code`. Bytes 0x00..0x7F never change; a
// character that the page lacks becomes '?'.
unsigned char FromWindows1250(TextCode code, unsigned char byte);

// Whole texts, byte by byte.
void ConvertToWindows1250(TextCode code, std::string& text);
std::string ConvertedToWindows1250(TextCode code, std::string_view text);
void ConvertFromWindows1250(TextCode code, std::string& text);
std::string ConvertedFromWindows1250(TextCode code, std::string_view text);

}  // namespace lexbulk
