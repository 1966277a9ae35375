// The copy of a layout with its companion (lexora's New keyboard and ts's
// Other): byte for byte, both or neither.
#include "keyboard_fixture.h"

namespace {

using keyboardtest::Bytes;
using lex::keyboard::KeyboardFileResult;

TEST(LayoutCopyTest, LayoutPairCopiedByteForByte) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    Bytes layout(lex::keyboard::kLayoutFileSize, '\0');
    for (size_t i = 0; i < layout.size(); ++i) layout[i] = static_cast<char>(i * 7);
    keyboardtest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    keyboardtest::WriteFileBytes(dir.Sub("cz.ini"), "[FONT]\r\nlfHeight=-20\r\n");
    ASSERT_TRUE(lex::keyboard::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("new.tsb")));
    EXPECT_EQ(keyboardtest::ReadFileBytes(dir.Sub("new.tsb")), layout);
    EXPECT_EQ(keyboardtest::ReadFileBytes(dir.Sub("new.ini")), "[FONT]\r\nlfHeight=-20\r\n");
    // A source without a companion gives a layout without one.
    keyboardtest::WriteFileBytes(dir.Sub("ru.tsb"), layout);
    ASSERT_TRUE(lex::keyboard::CopyLayoutPair(files, dir.Sub("ru.tsb"), dir.Sub("n2.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("n2.ini")));
    // A failed copy says so and leaves no target behind.
    EXPECT_FALSE(lex::keyboard::CopyLayoutPair(files, dir.Sub("missing.tsb"), dir.Sub("n3.tsb")));
    files.FailWritesTo = "n4";
    EXPECT_FALSE(lex::keyboard::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("n4.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("n3.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("n4.tsb")));
    EXPECT_EQ(files.OpenCount(), 0);
}

// The companion goes with its layout or the copy fails whole: a companion that
// is there but cannot be read, or cannot be written, leaves no layout behind.
TEST(LayoutCopyTest, LayoutPairNotCopiedWithoutItsCompanion) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    const Bytes layout(lex::keyboard::kLayoutFileSize, 'k');
    keyboardtest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    keyboardtest::WriteFileBytes(dir.Sub("cz.ini"), "[RUN]\r\n0_1_0=notepad\r\n");
    files.FailOpenOf = "cz.ini";
    EXPECT_FALSE(lex::keyboard::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("a.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("a.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("a.ini")));
    files.FailOpenOf.clear();
    files.FailWritesTo = "b.ini";
    EXPECT_FALSE(lex::keyboard::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("b.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("b.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("b.ini")));
    files.FailWritesTo.clear();
    files.FailReplaceOf = "c.ini";
    EXPECT_FALSE(lex::keyboard::CopyLayoutPair(files, dir.Sub("cz.tsb"), dir.Sub("c.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("c.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("c.ini")));
    EXPECT_EQ(files.OpenCount(), 0);
}

// The copy under every fault (each change failed, each write short, a kill
// before each change), onto a new name and over an existing layout, followed
// by a load of the target as ts makes it: the target's layout and companion
// are both the old ones (or none) or both copies, and nothing is left beside
// them. The companion goes in place first: a kill between the two leaves no
// layout without the companion it names.
TEST(LayoutCopyTest, CopyUnderEveryFaultThenLoad) {
    keyboardtest::KeyboardTempDir dir;
    Bytes layout(lex::keyboard::kLayoutFileSize, '\0');
    for (size_t i = 0; i < layout.size(); ++i) layout[i] = static_cast<char>(i * 11);
    const Bytes ini = "[RUN]\r\n0_1_0=notepad\r\n";
    const Bytes oldLayout(lex::keyboard::kLayoutFileSize, 'o'), oldIni = "[FONT]\r\nlfHeight=-9\r\n";
    const std::string source = dir.Sub("cz.tsb"), target = dir.Sub("new.tsb"), targetIni = dir.Sub("new.ini");
    for (const bool over : {false, true}) {
        SCOPED_TRACE(over ? "over an existing layout" : "onto a new name");
        auto prepare = [&] {
            for (const std::string& name : dir.Names()) std::filesystem::remove(dir.Sub(name));
            keyboardtest::WriteFileBytes(source, layout);
            keyboardtest::WriteFileBytes(dir.Sub("cz.ini"), ini);
            if (over) {
                keyboardtest::WriteFileBytes(target, oldLayout);
                keyboardtest::WriteFileBytes(targetIni, oldIni);
            }
        };
        prepare();
        keyboardtest::TrackingFileLayer clean;
        ASSERT_TRUE(lex::keyboard::CopyLayoutPair(clean, source, target));
        int betweenTheTwo = 0;
        const auto faults = lex::testing::FaultCases(clean.Changes, clean.Writes);
        for (const lex::testing::FaultCase& fault : faults) {
            SCOPED_TRACE(fault.Name());
            prepare();
            keyboardtest::TrackingFileLayer files;
            fault.Apply(files);
            const bool copied = lex::keyboard::CopyLayoutPair(files, source, target);
            EXPECT_EQ(0, files.OpenCount());
            const bool layoutNew = keyboardtest::ReadFileBytes(target) == layout;
            if (layoutNew) {
                EXPECT_EQ(ini, keyboardtest::ReadFileBytes(targetIni));  // never the layout without its companion
            }
            if (!layoutNew && keyboardtest::ReadFileBytes(targetIni) == ini) ++betweenTheTwo;
            keyboardtest::TrackingFileLayer later;
            keyboardtest::RecordingMessages messages;
            lex::keyboard::KeyboardLayoutStore store(later, messages);
            const KeyboardFileResult loaded = store.LoadKeyboardFile(target);
            const Bytes nowLayout = keyboardtest::ReadFileBytes(target), nowIni = keyboardtest::ReadFileBytes(targetIni);
            const bool bothNew = nowLayout == layout && nowIni == ini;
            if (over) {
                EXPECT_EQ(KeyboardFileResult::Done, loaded);
                EXPECT_TRUE(bothNew || (nowLayout == oldLayout && nowIni == oldIni));
            } else {
                EXPECT_TRUE(bothNew || (!keyboardtest::FileExists(target) && !keyboardtest::FileExists(targetIni)));
            }
            if (copied) {
                EXPECT_TRUE(bothNew);
            }
            std::vector<std::string> names{"cz.ini", "cz.tsb"};
            if (bothNew || over) names = {"cz.ini", "cz.tsb", "new.in_", "new.ini", "new.tsb"};
            EXPECT_EQ(names, dir.Names());
        }
        EXPECT_GT(betweenTheTwo, 0);  // some kills fell between the two replacements
    }
}

}  // namespace

// The check of a new layout's name (both programs' one): what is there, what
// cannot be made, and what a stopped copy left, which no longer counts. The
// check leaves nothing behind.
TEST(LayoutCopyTest, NewLayoutNameChecked) {
    using lex::keyboard::NewLayoutName;
    keyboardtest::KeyboardTempDir dir;
    const Bytes layout(lex::keyboard::kLayoutFileSize, 'k');
    keyboardtest::WriteFileBytes(dir.Sub("cz.tsb"), layout);
    keyboardtest::WriteFileBytes(dir.Sub("cz.ini"), "[RUN]\r\n");
    keyboardtest::WriteFileBytes(dir.Sub("lone.ini"), "[RUN]\r\n");
    keyboardtest::WriteFileBytes(dir.Sub("bare.tsb"), layout);
    {
        // A copy to "half.tsb" killed with the companion in place, the layout not yet.
        lex::testing::FaultyFileSystem killed;
        killed.StopAtChange(8);
        EXPECT_FALSE(lex::keyboard::CopyLayoutPair(killed, dir.Sub("cz.tsb"), dir.Sub("half.tsb")));
        ASSERT_TRUE(keyboardtest::FileExists(dir.Sub("half.ini")));
    }
    const std::vector<std::string> before = dir.Names();
    struct Case { std::string path; NewLayoutName result; };
    const Case cases[] = {
        {dir.Sub("new.tsb"), NewLayoutName::Free},
        {dir.Sub("cz.tsb"), NewLayoutName::LayoutExists},
        {dir.Sub("bare.tsb"), NewLayoutName::LayoutExists},
        {dir.Sub("lone.tsb"), NewLayoutName::CompanionExists},
        {dir.Sub("no such folder/new.tsb"), NewLayoutName::Refused},
        {dir.Sub("own.ini"), NewLayoutName::Refused},  // its companion would be the file itself
        {dir.Sub(std::string(300, 'n') + ".tsb"), NewLayoutName::Refused},
    };
    keyboardtest::TrackingFileLayer files;
    for (const Case& c : cases) EXPECT_EQ(lex::keyboard::CheckNewLayoutName(files, c.path), c.result) << c.path;
    EXPECT_EQ(dir.Names(), before);
    EXPECT_EQ(files.OpenCount(), 0);

    // The stopped copy is finished first: the name is free again, nothing of it is left.
    EXPECT_EQ(lex::keyboard::CheckNewLayoutName(files, dir.Sub("half.tsb")), NewLayoutName::Free);
    for (const std::string& name : dir.Names()) EXPECT_EQ(name.find("half"), std::string::npos) << name;
    const std::vector<std::string> finished = dir.Names();

    // A file that cannot be made there refuses the name, also where no file is.
    lex::testing::FaultyFileSystem failing;
    failing.FailNth(lex::testing::FileOp::Create, 1);
    EXPECT_EQ(lex::keyboard::CheckNewLayoutName(failing, dir.Sub("new.tsb")), NewLayoutName::Refused);
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("new.tsb")));
    EXPECT_FALSE(keyboardtest::FileExists(lex::TemporaryName(dir.Sub("new.tsb"))));

    // The probe is never the name itself: when it cannot be removed again (or
    // the program is killed before), no empty layout is left under the name,
    // and the next check clears what was left.
    lex::testing::FaultyFileSystem stuck;
    stuck.FailNth(lex::testing::FileOp::Remove, 1);
    lex::keyboard::CheckNewLayoutName(stuck, dir.Sub("new.tsb"));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("new.tsb")));
    EXPECT_EQ(lex::keyboard::CheckNewLayoutName(files, dir.Sub("new.tsb")), NewLayoutName::Free);
    EXPECT_EQ(dir.Names(), finished);
}
