// The copy of a layout with its companion (lexora's New keyboard and ts's
// Other): byte for byte, both or neither.
#include "keyboard_fixture.h"

namespace {

using tstest::Bytes;

TEST(LayoutCopyTest, LayoutPairCopiedByteForByte) {
    tstest::TempDir dir;
    tstest::TrackingFileLayer files;
    Bytes layout(ts::kLayoutFileSize, '\0');
    for (size_t i = 0; i < layout.size(); ++i) layout[i] = static_cast<char>(i * 7);
    tstest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    tstest::WriteFileBytes(dir.Sub("cz.ini"), "[FONT]\r\nlfHeight=-20\r\n");
    ASSERT_TRUE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("new.tsb")));
    EXPECT_EQ(tstest::ReadFileBytes(dir.Sub("new.tsb")), layout);
    EXPECT_EQ(tstest::ReadFileBytes(dir.Sub("new.ini")), "[FONT]\r\nlfHeight=-20\r\n");
    // A source without a companion gives a layout without one.
    tstest::WriteFileBytes(dir.Sub("ru.tsb"), layout);
    ASSERT_TRUE(ts::CopyLayoutPair(files, dir.Sub("ru.tsb"), dir.Sub("n2.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("n2.ini")));
    // A failed copy says so and leaves no target behind.
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("missing.tsb"), dir.Sub("n3.tsb")));
    files.FailWritesTo = "n4";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("n4.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("n3.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("n4.tsb")));
    EXPECT_EQ(files.OpenCount(), 0);
}

// The companion goes with its layout or the copy fails whole: a companion that
// is there but cannot be read, or cannot be written, leaves no layout behind.
TEST(LayoutCopyTest, LayoutPairNotCopiedWithoutItsCompanion) {
    tstest::TempDir dir;
    tstest::TrackingFileLayer files;
    const Bytes layout(ts::kLayoutFileSize, 'k');
    tstest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    tstest::WriteFileBytes(dir.Sub("cz.ini"), "[RUN]\r\n0_1_0=notepad\r\n");
    files.FailOpenOf = "cz.ini";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("a.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("a.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("a.ini")));
    files.FailOpenOf.clear();
    files.FailWritesTo = "b.ini";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("b.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("b.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("b.ini")));
    files.FailWritesTo.clear();
    files.FailReplaceOf = "c.ini";
    EXPECT_FALSE(ts::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("c.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("c.tsb")));
    EXPECT_FALSE(tstest::FileExists(dir.Sub("c.ini")));
    EXPECT_EQ(files.OpenCount(), 0);
}

}  // namespace
