#include <gtest/gtest.h>

#include "lexbulk/text/code_pages.h"

namespace lexbulk {
namespace {

const TextCode kAllCodes[] = {TextCode::kWindows1250, TextCode::kLatin2, TextCode::kKamenicky};
const TextCode kDosCodes[] = {TextCode::kLatin2, TextCode::kKamenicky};

TEST(CodePages, AsciiNeverChanges) {
    for (TextCode code : kAllCodes)
        for (int b = 0; b < 0x80; ++b) {
            EXPECT_EQ(ToWindows1250(code, static_cast<unsigned char>(b)), b) << static_cast<int>(code);
            EXPECT_EQ(FromWindows1250(code, static_cast<unsigned char>(b)), b) << static_cast<int>(code);
        }
}

TEST(CodePages, WindowsCodeKeepsEveryByte) {
    for (int b = 0; b < 0x100; ++b) {
        EXPECT_EQ(ToWindows1250(TextCode::kWindows1250, static_cast<unsigned char>(b)), b);
        EXPECT_EQ(FromWindows1250(TextCode::kWindows1250, static_cast<unsigned char>(b)), b);
    }
}

// The Czech and German letters as Windows 1250, Latin 2 and Kamenicky bytes.
struct Letter {
    const char* name;
    unsigned char windows, latin2, kamenicky;
};
const Letter kLetters[] = {
    {"a acute", 0xE1, 0xA0, 0xA0}, {"c caron", 0xE8, 0x9F, 0x87}, {"d caron", 0xEF, 0xD4, 0x83},
    {"e acute", 0xE9, 0x82, 0x82}, {"e caron", 0xEC, 0xD8, 0x88}, {"i acute", 0xED, 0xA1, 0xA1},
    {"n caron", 0xF2, 0xE5, 0xA4}, {"o acute", 0xF3, 0xA2, 0xA2}, {"r caron", 0xF8, 0xFD, 0xA9},
    {"s caron", 0x9A, 0xE7, 0xA8}, {"t caron", 0x9D, 0x9C, 0x9F}, {"u acute", 0xFA, 0xA3, 0xA3},
    {"u ring", 0xF9, 0x85, 0x96}, {"y acute", 0xFD, 0xEC, 0x98}, {"z caron", 0x9E, 0xA7, 0x91},
    {"A acute", 0xC1, 0xB5, 0x8F}, {"C caron", 0xC8, 0xAC, 0x80}, {"D caron", 0xCF, 0xD2, 0x85},
    {"E acute", 0xC9, 0x90, 0x90}, {"E caron", 0xCC, 0xB7, 0x89}, {"I acute", 0xCD, 0xD6, 0x8B},
    {"N caron", 0xD2, 0xD5, 0xA5}, {"O acute", 0xD3, 0xE0, 0x95}, {"R caron", 0xD8, 0xFC, 0x9E},
    {"S caron", 0x8A, 0xE6, 0x9B}, {"T caron", 0x8D, 0x9B, 0x86}, {"U acute", 0xDA, 0xE9, 0x97},
    {"U ring", 0xD9, 0xDE, 0xA6}, {"Y acute", 0xDD, 0xED, 0x9D}, {"Z caron", 0x8E, 0xA6, 0x92},
    {"a umlaut", 0xE4, 0x84, 0x84}, {"A umlaut", 0xC4, 0x8E, 0x8E}, {"o umlaut", 0xF6, 0x94, 0x94},
    {"O umlaut", 0xD6, 0x99, 0x99}, {"u umlaut", 0xFC, 0x81, 0x81}, {"U umlaut", 0xDC, 0x9A, 0x9A},
    // Sharp s is 0xE1 in both DOS code pages.
    {"sharp s", 0xDF, 0xE1, 0xE1},
};

TEST(CodePages, LettersBothWays) {
    for (const Letter& l : kLetters) {
        EXPECT_EQ(FromWindows1250(TextCode::kLatin2, l.windows), l.latin2) << l.name;
        EXPECT_EQ(FromWindows1250(TextCode::kKamenicky, l.windows), l.kamenicky) << l.name;
        EXPECT_EQ(ToWindows1250(TextCode::kLatin2, l.latin2), l.windows) << l.name;
        EXPECT_EQ(ToWindows1250(TextCode::kKamenicky, l.kamenicky), l.windows) << l.name;
    }
}

// Bytes that are not sharp s: Latin 2 0xD1 is D with stroke, Kamenicky 0xB5 a
// box-drawing sign that Windows 1250 lacks.
TEST(CodePages, OnlyOneByteIsSharpS) {
    EXPECT_EQ(ToWindows1250(TextCode::kLatin2, 0xD1), 0xD0);
    EXPECT_EQ(ToWindows1250(TextCode::kKamenicky, 0xB5), '?');
    for (TextCode code : kDosCodes)
        for (int b = 0x80; b < 0x100; ++b) {
            if (b == 0xE1) continue;
            EXPECT_NE(ToWindows1250(code, static_cast<unsigned char>(b)), 0xDF) << b;
        }
}

// Through either DOS code page and back, a byte stays itself or becomes '?':
// never another letter.
TEST(CodePages, RoundTripNeverChangesALetter) {
    for (TextCode code : kDosCodes)
        for (int b = 0x80; b < 0x100; ++b) {
            const unsigned char byte = static_cast<unsigned char>(b);
            const unsigned char out = ToWindows1250(code, FromWindows1250(code, byte));
            EXPECT_TRUE(out == byte || out == '?') << static_cast<int>(code) << " 1250 byte " << b;
            const unsigned char in = FromWindows1250(code, ToWindows1250(code, byte));
            EXPECT_TRUE(in == byte || in == '?') << static_cast<int>(code) << " DOS byte " << b;
        }
}

// Which letters each page holds, beyond the Czech ones above.
struct TextCase {
    TextCode code;
    const char* windows;
    const char* file;
};
const TextCase kTexts[] = {
    // Slovak: l caron, l acute, o circumflex, r acute are in both pages.
    {TextCode::kLatin2, "\xbe\xe5\xf4\xe0\xbc\xc5\xd4\xc0", "\x96\x92\x93\xea\x95\x91\xe2\xe8"},
    {TextCode::kKamenicky, "\xbe\xe5\xf4\xe0\xbc\xc5\xd4\xc0", "\x8c\x8d\x93\xaa\x9c\x8a\xa7\xab"},
    // Polish l stroke and z dot: in Latin 2, not in Kamenicky.
    {TextCode::kLatin2, "\xb3\xbf", "\x88\xbe"},
    // Signs both have: section, degree, no-break space; and one 1250 lacks.
    {TextCode::kLatin2, "\xa7\xb0\xa0", "\xf5\xf8\xff"},
    {TextCode::kKamenicky, "\xa7\xb0\xa0", "\xad\xf8\xff"},
    {TextCode::kWindows1250, "\xb3\xbf\x81", "\xb3\xbf\x81"},
};

TEST(CodePages, Texts) {
    for (const TextCase& c : kTexts) {
        EXPECT_EQ(ConvertedFromWindows1250(c.code, c.windows), c.file) << c.windows;
        EXPECT_EQ(ConvertedToWindows1250(c.code, c.file), c.windows) << c.file;
    }
    // Letters that Kamenicky lacks.
    EXPECT_EQ(ConvertedFromWindows1250(TextCode::kKamenicky, "\xb3\xbf"), "??");
    // File bytes with no 1250 character: box drawing, Greek.
    EXPECT_EQ(ConvertedToWindows1250(TextCode::kLatin2, "\xb0\xc5"), "??");
    EXPECT_EQ(ConvertedToWindows1250(TextCode::kKamenicky, "\xe0\xc5"), "??");
}

TEST(CodePages, TextCodeOfRadioButton) {
    TextCode code = TextCode::kWindows1250;
    EXPECT_TRUE(TextCodeFromIndex(2, code));
    EXPECT_EQ(code, TextCode::kKamenicky);
    EXPECT_FALSE(TextCodeFromIndex(3, code));
    EXPECT_FALSE(TextCodeFromIndex(-1, code));
}

}  // namespace
}  // namespace lexbulk
