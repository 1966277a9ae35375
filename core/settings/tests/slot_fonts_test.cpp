#include "slot_fonts.h"

#include <gtest/gtest.h>

namespace {

TEST(SlotFonts, CodePageOfEachCharacterSet) {
    struct Case {
        BYTE charSet;
        UINT codePage;
    };
    const Case cases[] = {
        {ANSI_CHARSET, 1252},    {DEFAULT_CHARSET, 1252}, {SYMBOL_CHARSET, 1252}, {EASTEUROPE_CHARSET, 1250},
        {RUSSIAN_CHARSET, 1251}, {GREEK_CHARSET, 1253},   {TURKISH_CHARSET, 1254}, {HEBREW_CHARSET, 1255},
        {ARABIC_CHARSET, 1256},  {BALTIC_CHARSET, 1257},
    };
    for (const Case& c : cases) EXPECT_EQ(lex::CharSetCodePage(c.charSet), c.codePage) << int(c.charSet);
}

TEST(SlotFonts, SlotCodePageFollowsTheFontOfThatSideAndIsWindows1252OutsideTheTable) {
    lex::SlotFonts fonts;
    fonts.FontCharSets[0][3] = RUSSIAN_CHARSET;
    fonts.FontCharSets[1][3] = EASTEUROPE_CHARSET;
    fonts.FontCharSets[2][lex::kSlotCount - 1] = GREEK_CHARSET;
    EXPECT_EQ(fonts.SlotCodePage(3, 0), 1251u);
    EXPECT_EQ(fonts.SlotCodePage(3, 1), 1250u);
    EXPECT_EQ(fonts.SlotCodePage(3, 2), 1252u);
    EXPECT_EQ(fonts.SlotCodePage(lex::kSlotCount - 1, 2), 1253u);
    EXPECT_EQ(fonts.SlotCodePage(-1, 0), 1252u);
    EXPECT_EQ(fonts.SlotCodePage(lex::kSlotCount, 0), 1252u);
    EXPECT_EQ(fonts.SlotCodePage(3, 3), 1252u);
    EXPECT_EQ(fonts.SlotCodePage(3, -1), 1252u);
}

}  // namespace
