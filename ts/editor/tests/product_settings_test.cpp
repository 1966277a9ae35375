// The product side without windows: titles, the resident program's command,
// the keyboard file chosen for a quick button, the layout copy and the
// licence text.
#include <gtest/gtest.h>

#include "keyboard_fixture.h"
#include "ts/editor/product_settings.h"

namespace {

using tstest::Bytes;

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

TEST(ProductSettingsTest, LayoutPairCopiedByteForByte) {
    tstest::TempDir dir;
    tstest::TrackingFileLayer files;
    Bytes layout(13452, '\0');
    for (size_t i = 0; i < layout.size(); ++i) layout[i] = static_cast<char>(i * 7);
    tstest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    tstest::WriteFileBytes(dir.Sub("cz.ini"), "[FONT]\r\nlfHeight=-20\r\n");
    ASSERT_TRUE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("new.tsb"), dir.Sub("new")));
    EXPECT_EQ(tstest::ReadFileBytes(dir.Sub("new.tsb")), layout);
    EXPECT_EQ(tstest::ReadFileBytes(dir.Sub("new.ini")), "[FONT]\r\nlfHeight=-20\r\n");
    // A source without a companion gives a layout without one.
    tstest::WriteFileBytes(dir.Sub("ru.tsb"), layout);
    ASSERT_TRUE(ts::CopyLayoutPair(files, dir.Sub("ru.tsb"), dir.Sub("n2.tsb"), dir.Sub("n2")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("n2.ini")));
    // A failed copy says so and leaves no target behind.
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("missing.tsb"), dir.Sub("n3.tsb"), dir.Sub("n3")));
    files.FailWritesTo = "n4";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("n4.tsb"), dir.Sub("n4")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("n3.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("n4.tsb")));
    EXPECT_EQ(files.OpenCount(), 0);
}

// The companion goes with its layout or the copy fails whole: a companion that
// is there but cannot be read, or cannot be written, leaves no layout behind.
TEST(ProductSettingsTest, LayoutPairNotCopiedWithoutItsCompanion) {
    tstest::TempDir dir;
    tstest::TrackingFileLayer files;
    const Bytes layout(13452, 'k');
    tstest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    tstest::WriteFileBytes(dir.Sub("cz.ini"), "[RUN]\r\n0_1_0=notepad\r\n");
    files.FailOpenOf = "cz.ini";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("a.tsb"), dir.Sub("a")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("a.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("a.ini")));
    files.FailOpenOf.clear();
    files.FailWritesTo = "b.ini";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("b.tsb"), dir.Sub("b")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("b.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("b.ini")));
    files.FailWritesTo.clear();
    files.FailReplaceOf = "c.ini";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("c.tsb"), dir.Sub("c")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("c.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("c.ini")));
    EXPECT_EQ(files.OpenCount(), 0);
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
