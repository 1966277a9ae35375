#include "lexora/rules/dde_poke.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lexora {
namespace {

TEST(PokedSlot, TwoDigitsGiveASlotAndAnythingElseNone) {
    const struct {
        std::string bytes;
        int slot;
    } cases[] = {
        {"00", 0},
        {"02", 2},
        {"19", 19},
        {"19 and more bytes", 19},
        {std::string("07\0x", 4), 7},
        {"2", -1},     // one byte
        {"", -1},
        {"ab", -1},
        {"2a", -1},
        {"a2", -1},
        {" 2", -1},
        {"-1", -1},
        {"20", -1},    // beyond the twenty slots
        {"25", -1},
        {"99", -1},
        {std::string("\0" "2", 2), -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PokedSlot(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()), c.slot)
            << '"' << c.bytes << '"';
    }
    EXPECT_EQ(PokedSlot(nullptr, 2), -1);
    // Noise of any length names no slot.
    std::string noise(200, '\xA7');
    EXPECT_EQ(PokedSlot(reinterpret_cast<const unsigned char*>(noise.data()), noise.size()), -1);
}

TEST(RequestAnswer, TheFixedTextFollowedByZeros) {
    const auto block = RequestAnswer();
    ASSERT_EQ(block.size(), 255u);
    EXPECT_STREQ(block.data(), "Server application message number:  ");
    for (size_t i = std::strlen(kRequestAnswerText); i < block.size(); ++i) EXPECT_EQ(block[i], 0) << i;
}

}  // namespace
}  // namespace lexora
