// The DDE service of lexora: its names, the answer to a request, and the slot
// that a poke asks for.
#pragma once

#include <array>
#include <cstddef>

namespace lexora {

constexpr const char* kDdeService = "Slovnik LXOR";
constexpr const char* kDdeTopic = "PRELOZ SLOVO";
constexpr const char* kDdeItem = "DDEData";

// At most this many bytes of a poke are read.
constexpr size_t kPokeBufferSize = 80;

// The slot that the poked bytes name: two decimal digits giving 00..19 (what
// follows them is not read); -1 for anything else.
int PokedSlot(const unsigned char* data, size_t size);

// A request is answered with this block: the text and zeros.
constexpr size_t kRequestAnswerSize = 255;
constexpr const char* kRequestAnswerText = "Server application message number:  ";
std::array<char, kRequestAnswerSize> RequestAnswer();

}  // namespace lexora
