// Trimming of a word or pronunciation as typed, pasted or kept in the history.
// Header only: the history list uses it without the rest of the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lex {

// The text ends at its first zero byte; then leading and trailing bytes 1..32
// go and the remaining bytes below 32 become spaces; bytes 128..255 stay.
// Returns the new length.
inline size_t TrimWord(std::string& text) {
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    size_t start = 0;
    while (start < text.size() && static_cast<uint8_t>(text[start]) <= 32) ++start;
    size_t end = text.size();
    while (end > start && static_cast<uint8_t>(text[end - 1]) <= 32) --end;
    text = text.substr(start, end - start);
    for (char& c : text)
        if (static_cast<uint8_t>(c) < 32) c = ' ';
    return text.size();
}

}  // namespace lex
