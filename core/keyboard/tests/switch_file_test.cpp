// The switch file: the standard hot keys, the 44-byte image, and what a
// missing, short or unwritable file gives.
#include <gtest/gtest.h>

#include "keyboard_fixture.h"
#include "core/keyboard/switch_file.h"

namespace {

using keyboardtest::Bytes;

TEST(SwitchFileTest, StandardKeysAndTheirBytes) {
    struct Case {
        int entry;
        int16_t scan;
        int fKey;
    } cases[] = {{0, 59, 1}, {3, 62, 4}, {9, 68, 10}, {10, 88, 12}};
    for (const Case& c : cases) {
        const lex::keyboard::HotKey k = lex::keyboard::StandardHotKey(c.entry);
        EXPECT_EQ(k.Modifiers, 6) << c.entry;
        EXPECT_EQ(k.ScanCode, c.scan) << c.entry;
        EXPECT_EQ(lex::keyboard::StandardFunctionKeyNumber(c.entry), c.fKey) << c.entry;
    }
    lex::keyboard::HotKeys keys;
    keys[3] = lex::keyboard::StandardHotKey(3);
    keys[10] = lex::keyboard::StandardHotKey(10);
    const Bytes bytes = lex::keyboard::EncodeSwitchFile(keys);
    ASSERT_EQ(bytes.size(), lex::keyboard::kSwitchFileSize);
    EXPECT_EQ(bytes.substr(12, 4), Bytes("\x06\x00\x3E\x00", 4));
    EXPECT_EQ(bytes.substr(40, 4), Bytes("\x06\x00\x58\x00", 4));
    EXPECT_EQ(bytes.substr(0, 4), Bytes("\x00\x00\xFF\xFF", 4));  // no key
    EXPECT_EQ(lex::keyboard::DecodeSwitchFile(bytes), keys);
}

TEST(SwitchFileTest, MissingShortAndLongFiles) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    const lex::keyboard::HotKeys none{};
    EXPECT_EQ(lex::keyboard::ReadSwitchFile(files, dir.Sub("missing.tsc")), none);
    EXPECT_EQ(lex::keyboard::ReadSwitchFile(files, ""), none);
    // Six bytes: the first record whole, the second cut: it stays "no key".
    keyboardtest::WriteFileBytes(dir.Sub("short.tsc"), Bytes("\x01\x00\x1E\x00\x02\x00", 6));
    const lex::keyboard::HotKeys read = lex::keyboard::ReadSwitchFile(files, dir.Sub("short.tsc"));
    EXPECT_EQ(read[0].Modifiers, 1);
    EXPECT_EQ(read[0].ScanCode, 0x1E);
    EXPECT_EQ(read[1], lex::keyboard::HotKey{});
    EXPECT_EQ(files.OpenCount(), 0);
    // Written back: always 44 bytes, whatever the size before.
    keyboardtest::WriteFileBytes(dir.Sub("long.tsc"), Bytes(100, '\x07'));
    ASSERT_TRUE(lex::keyboard::WriteSwitchFile(files, dir.Sub("long.tsc"), read));
    const Bytes back = keyboardtest::ReadFileBytes(dir.Sub("long.tsc"));
    ASSERT_EQ(back.size(), lex::keyboard::kSwitchFileSize);
    EXPECT_EQ(lex::keyboard::DecodeSwitchFile(back), read);
}

TEST(SwitchFileTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    const std::string path = dir.Sub("prepinac.tsc");
    lex::keyboard::HotKeys keys;
    keys[0] = lex::keyboard::StandardHotKey(0);
    ASSERT_TRUE(lex::keyboard::WriteSwitchFile(files, path, keys));
    const Bytes before = keyboardtest::ReadFileBytes(path);
    files.FailWritesTo = "prepinac";
    keys[1] = lex::keyboard::StandardHotKey(1);
    EXPECT_FALSE(lex::keyboard::WriteSwitchFile(files, path, keys));
    EXPECT_EQ(keyboardtest::ReadFileBytes(path), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"prepinac.tsc"});
    EXPECT_FALSE(lex::keyboard::WriteSwitchFile(files, dir.Sub("no such folder/prepinac.tsc"), keys));
    EXPECT_EQ(files.OpenCount(), 0);
}

}  // namespace
