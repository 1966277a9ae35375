// The product side without windows: titles, the resident program's command,
// the keyboard file chosen for a quick button and the licence text.
#include <gtest/gtest.h>

#include "ts/editor/product_settings.h"

namespace {

TEST(ProductSettingsTest, TitlesIndexesAndCuts) {
    EXPECT_EQ(ts::ProductTitle("Czech"), "Tastrix - Czech");
    EXPECT_TRUE(ts::IsProductTitle("Tastrix - Czech"));
    EXPECT_TRUE(ts::IsProductTitle("Tastrix 2000"));
    EXPECT_FALSE(ts::IsProductTitle("Tastrix"));
    EXPECT_FALSE(ts::IsProductTitle("tastrix - x"));
    EXPECT_FALSE(ts::IsProductTitle("dd"));
    for (int i : {-1, 10, 99}) EXPECT_FALSE(ts::IsQuickButton(i)) << i;
    for (int i : {0, 9}) EXPECT_TRUE(ts::IsQuickButton(i)) << i;
    EXPECT_EQ(ts::CutText(std::string(40, 'n'), ts::kLongNameSize), std::string(29, 'n'));
    EXPECT_EQ(ts::CutText("ABCDEFG", ts::kShortNameSize), "ABCD");
    EXPECT_EQ(ts::CutText("AB", ts::kShortNameSize), "AB");
    EXPECT_EQ(ts::ResidentCommand("C:\\Program Files\\TS\\"), "\"C:\\Program Files\\TS\\tastrix.exe\"");
    EXPECT_EQ(ts::ResidentCommand(""), "\"tastrix.exe\"");
}

TEST(ProductSettingsTest, KeyboardFileChosenForAQuickButton) {
    struct Case {
        const char* chosen;
        const char* file;
        const char* data;
    } cases[] = {
        {"C:\\K\\a.TSB", "C:\\K\\a.TSB", "C:\\K\\a"},
        {"C:\\K\\a.txt", "C:\\K\\a.txt.tsb", "C:\\K\\a.txt"},
        {"C:\\K\\a", "C:\\K\\a.tsb", "C:\\K\\a"},
        {"a", "a.tsb", "a"},
        {"C:\\K\\.tsb", "C:\\K\\.tsb", ""},  // no name before the extension: refused
        {".tsb", ".tsb", ""},
        {"", ".tsb", ""},
    };
    for (const Case& c : cases) {
        const std::string file = ts::KeyboardFileOf(c.chosen);
        EXPECT_EQ(file, c.file) << c.chosen;
        EXPECT_EQ(ts::QuickButtonDataOf(file), c.data) << c.chosen;
    }
}

TEST(ProductSettingsTest, LicenceTextLines) {
    struct Case {
        const char* file;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"one\ntwo\n", "one\r\ntwo\r\n"},
        {"one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        {"one\ntwo", "one\r\ntwo"},
        {"\n\n", "\r\n\r\n"},
        {"a\rb\n", "a\rb\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(ts::LicenceViewText(c.file), c.shown) << c.file;
}

}  // namespace
