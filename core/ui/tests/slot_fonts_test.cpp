#include "core/ui/slot_fonts.h"

#include <gtest/gtest.h>

#include <string>

#include "core/files/testing/test_files.h"
#include "core/settings/settings.h"
#include "winlib/fonts.h"

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

// A side's code page is that of its words' collation table where the font's
// set is Western and the table knows its letters as Windows 1250 bytes; every
// other side keeps the code page of its font's set.
TEST(SlotFonts, SideCodePageFollowsTheCollationTableOverAWesternFont) {
    struct Case {
        BYTE charSet;
        int sortType;
        UINT codePage;
    };
    const Case cases[] = {
        {ANSI_CHARSET, 0, 1250},        {ANSI_CHARSET, 1, 1250},        {ANSI_CHARSET, 2, 1250},
        {ANSI_CHARSET, 9, 1250},        {ANSI_CHARSET, 10, 1250},       {DEFAULT_CHARSET, 0, 1250},
        {ANSI_CHARSET, 3, 1252},        {ANSI_CHARSET, 4, 1252},        {ANSI_CHARSET, 7, 1252},
        {ANSI_CHARSET, 8, 1252},        {ANSI_CHARSET, -1, 1252},       {EASTEUROPE_CHARSET, 0, 1250},
        {EASTEUROPE_CHARSET, 4, 1250},  {RUSSIAN_CHARSET, 3, 1251},     {RUSSIAN_CHARSET, 0, 1251},
        {GREEK_CHARSET, 0, 1253},       {ARABIC_CHARSET, 8, 1256},      {SYMBOL_CHARSET, 0, 1252},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lex::SideCodePage(c.charSet, c.sortType), c.codePage) << int(c.charSet) << " " << c.sortType;
}

// With nothing stored: the English sides (the original of slot 0 and the
// translation of slot 1, both with a Western font) are in 1250 like every
// Czech and German side; the Russian sides stay 1251, the French, Spanish and
// Italian ones 1252. The pronunciations keep their fonts' sets.
TEST(SlotFonts, SlotCodePageOfEverySideWithTheStoredDefaults) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const lex::SettingsFile nothingStored(std::string(folder) + "slot code pages, no such file.ini");
    lex::SlotFonts fonts;
    std::array<int16_t, lex::kSlotCount> sortTypes{};
    for (int slot = 0; slot < lex::kSlotCount; ++slot) {
        sortTypes[slot] = lex::StartSortType(slot, -1);
        for (int side = 0; side < 3; ++side)
            fonts.FontCharSets[side][slot] = nothingStored.ReadFontSetting(side, slot).lfCharSet;
    }
    fonts.UseSortTypes(&sortTypes);
    // [slot] = {original, translation}
    const UINT expected[lex::kSlotCount][2] = {
        {1250, 1250}, {1250, 1250},  // English-Czech, Czech-English
        {1250, 1250}, {1250, 1250},  // German
        {1251, 1250}, {1250, 1251},  // Russian
        {1252, 1250}, {1250, 1252},  // French
        {1252, 1250}, {1250, 1252},  // Spanish
        {1252, 1250}, {1250, 1252},  // Italian
        {1250, 1250}, {1250, 1250}, {1250, 1250}, {1250, 1250},
        {1250, 1250}, {1250, 1250}, {1250, 1250}, {1250, 1250},
    };
    for (int slot = 0; slot < lex::kSlotCount; ++slot) {
        EXPECT_EQ(fonts.SlotCodePage(slot, 0), expected[slot][0]) << slot;
        EXPECT_EQ(fonts.SlotCodePage(slot, 1), expected[slot][1]) << slot;
        EXPECT_EQ(fonts.SlotCodePage(slot, 2), 1250u) << slot;
    }
    // The sort type in memory decides: a user pair sorted as French keeps
    // its font's set, one sorted as Polish with a Western font is in 1250.
    sortTypes[12] = 4;
    fonts.FontCharSets[0][14] = ANSI_CHARSET;
    sortTypes[14] = 10;
    EXPECT_EQ(fonts.SlotCodePage(12, 0), 1250u);
    EXPECT_EQ(fonts.SlotCodePage(13, 1), 1250u);
    EXPECT_EQ(fonts.SlotCodePage(14, 0), 1250u);
    fonts.FontCharSets[0][12] = ANSI_CHARSET;
    EXPECT_EQ(fonts.SlotCodePage(12, 0), 1252u);
    fonts.FontCharSets[1][13] = ANSI_CHARSET;
    EXPECT_EQ(fonts.SlotCodePage(13, 1), 1252u);  // the translation follows the counterpart's sort type
}

// A stored face that lacks the slot's character set ("System" is a Western
// raster font under Wine) still shows the slot's letters: the font takes a
// face that has the set, while the stored font and the slot's code page stay.
TEST(SlotFonts, SlotFontsShowTheStoredCharacterSet) {
    struct Case {
        int type, slot;
        const char* charSet;
        BYTE shown;
    };
    const Case cases[] = {
        {0, 1, "238", EASTEUROPE_CHARSET},  // Czech headwords
        {1, 0, "238", EASTEUROPE_CHARSET},  // Czech translations
        {0, 4, "204", RUSSIAN_CHARSET},     // Russian headwords
        {0, 0, "0", ANSI_CHARSET},          // English: the raster face has the set
    };
    const lex::testing::TempFolder dir("lexslotfonts-test-");
    const std::string ini = dir.Sub("lx2000.ini");
    for (const Case& c : cases) {
        const std::string section = std::string(c.type == 0 ? "TTFO" : "TTFT") + std::to_string(c.slot);
        ASSERT_TRUE(::WritePrivateProfileStringA(section.c_str(), "lfFaceName", "System", ini.c_str()));
        ASSERT_TRUE(::WritePrivateProfileStringA(section.c_str(), "lfCharSet", c.charSet, ini.c_str()));
    }
    const std::string before = lex::testing::ReadFileBytes(ini);
    lex::SlotFonts fonts;
    fonts.ReadSlotFonts(lex::SettingsFile(ini));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + "/" + std::to_string(c.slot));
        EXPECT_EQ(wl::ActualCharSet(fonts.Fonts[c.type][c.slot]), c.shown);
        EXPECT_EQ(fonts.FontCharSets[c.type][c.slot], c.shown);
        LOGFONTA made{};
        ::GetObjectA(fonts.Fonts[c.type][c.slot], sizeof made, &made);
        EXPECT_EQ(made.lfHeight, -13);
        EXPECT_EQ(made.lfWeight, 700);
    }
    EXPECT_EQ(lex::testing::ReadFileBytes(ini), before);
}

}  // namespace
