#include "dde_poke.h"

#include <cstring>

#include "core/engine/dictionary_settings.h"

namespace lexora {

int PokedSlot(const unsigned char* data, size_t size) {
    if (!data || size < 2) return -1;
    auto digit = [](unsigned char c) { return c >= '0' && c <= '9' ? c - '0' : -1; };
    const int tens = digit(data[0]), units = digit(data[1]);
    if (tens < 0 || units < 0) return -1;
    const int slot = 10 * tens + units;
    return lex::IsValidSlot(slot) ? slot : -1;
}

std::array<char, kRequestAnswerSize> RequestAnswer() {
    std::array<char, kRequestAnswerSize> block{};
    std::memcpy(block.data(), kRequestAnswerText, std::strlen(kRequestAnswerText));
    return block;
}

}  // namespace lexora
