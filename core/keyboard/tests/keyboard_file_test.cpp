#include <cstring>
#include <functional>

#include "keyboard_fixture.h"

namespace {

using keyboardtest::Bytes;
using lex::keyboard::KeyboardFileResult;

Bytes Encode(const lex::keyboard::LayoutTables& t) {
    Bytes image(lex::keyboard::kLayoutFileSize, '\0');
    lex::keyboard::EncodeLayout(t, reinterpret_cast<uint8_t*>(&image[0]));
    return image;
}

// A layout file of varied bytes, negative values included.
Bytes PatternImage(unsigned seed) {
    Bytes image(lex::keyboard::kLayoutFileSize, '\0');
    std::mt19937 gen(seed);
    for (char& c : image) c = static_cast<char>(gen() & 0xFF);
    return image;
}

TEST(LayoutFormat, EveryBlockAtItsOffset) {
    struct Case {
        const char* what;
        std::function<void(lex::keyboard::LayoutTables&)> set;  // stores 0x1234, or 0x5A in a run-flag cell
        size_t offset;
        bool flag;
    };
    using T = lex::keyboard::LayoutTables;
    const Case cases[] = {
        {"main 0 scan", [](T& t) { t.MainKeys[0].ScanCode = 0x1234; }, 0, false},
        {"main 0 state 0", [](T& t) { t.MainKeys[0].Chars[0] = 0x1234; }, 2, false},
        {"main 1 state 0", [](T& t) { t.MainKeys[1].Chars[0] = 0x1234; }, 100, false},
        {"main 12 state 1", [](T& t) { t.Key(0, 12)->Chars[1] = 0x1234; }, 98 * 12 + 2 + 2, false},
        {"main 59 scan", [](T& t) { t.MainKeys[59].ScanCode = 0x1234; }, 5782, false},
        {"main 59 state 47", [](T& t) { t.Key(0, 59)->Chars[47] = 0x1234; }, 5878, false},
        {"prefix 1 modifiers", [](T& t) { t.Prefixes[0].Modifiers = 0x1234; }, 5880, false},
        {"prefix 1 scan", [](T& t) { t.Prefixes[0].ScanCode = 0x1234; }, 5882, false},
        {"prefix 3 scan", [](T& t) { t.Prefixes[2].ScanCode = 0x1234; }, 5890, false},
        {"prefix 5 modifiers", [](T& t) { t.Prefixes[4].Modifiers = 0x1234; }, 5896, false},
        {"prefix 5 scan", [](T& t) { t.Prefixes[4].ScanCode = 0x1234; }, 5898, false},
        {"F1 scan", [](T& t) { t.FunctionKeys[0].ScanCode = 0x1234; }, 5900, false},
        {"F1 state 0", [](T& t) { t.Key(1, 0)->Chars[0] = 0x1234; }, 5902, false},
        {"F10 state 9", [](T& t) { t.Key(1, 9)->Chars[9] = 0x1234; }, 5900 + 98 * 9 + 2 + 18, false},
        {"F12 state 47", [](T& t) { t.Key(1, 11)->Chars[47] = 0x1234; }, 7074, false},
        {"keypad 0 scan", [](T& t) { t.KeypadKeys[0].ScanCode = 0x1234; }, 7076, false},
        {"keypad 0 state 5", [](T& t) { t.Key(2, 0)->Chars[5] = 0x1234; }, 7088, false},
        {"keypad 19 state 47", [](T& t) { t.Key(2, 19)->Chars[47] = 0x1234; }, 9034, false},
        {"run main 0 state 0", [](T& t) { t.SetRunFlag(0, 0, 0, 0x5A); }, 9036, true},
        {"run main 5 state 3", [](T& t) { t.SetRunFlag(0, 5, 3, 0x5A); }, 9036 + 20, true},
        {"run F12 state 47", [](T& t) { t.SetRunFlag(1, 11, 47, 0x5A); }, 9036 + 3408, true},
        {"run keypad 19 state 47", [](T& t) { t.SetRunFlag(2, 19, 47, 0x5A); }, 9036 + 4368, true},
        {"last run cell", [](T& t) { t.RunFlags[4415] = 0x5A; }, 13451, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lex::keyboard::LayoutTables t;
        c.set(t);
        const Bytes image = Encode(t);
        ASSERT_EQ(13452u, image.size());
        Bytes expected(lex::keyboard::kLayoutFileSize, '\0');
        if (c.flag) {
            expected[c.offset] = 0x5A;
        } else {
            expected[c.offset] = 0x34;
            expected[c.offset + 1] = 0x12;
        }
        EXPECT_EQ(expected, image);
        lex::keyboard::LayoutTables back;
        lex::keyboard::DecodeLayout(reinterpret_cast<const uint8_t*>(image.data()), back);
        EXPECT_TRUE(back == t);
    }
}

TEST(LayoutFormat, DecodeEncodeKeepsEveryByte) {
    const Bytes image = PatternImage(7);
    lex::keyboard::LayoutTables t;
    lex::keyboard::DecodeLayout(reinterpret_cast<const uint8_t*>(image.data()), t);
    EXPECT_EQ(image, Encode(t));
    // Little-endian and signed: the bytes 0xFE 0xFF are -2.
    Bytes neg(lex::keyboard::kLayoutFileSize, '\0');
    neg[5902] = '\xFE';
    neg[5903] = '\xFF';
    lex::keyboard::DecodeLayout(reinterpret_cast<const uint8_t*>(neg.data()), t);
    EXPECT_EQ(-2, t.FunctionKeys[0].Chars[0]);
}

TEST(LayoutFormat, RunFlagCellsAndTheirSharedCases) {
    struct Case {
        int group, key, state, cell;
    };
    const Case cells[] = {
        {0, 0, 0, 0},     {0, 0, 47, 0},    {0, 1, 1, 2},      {0, 2, 0, 2},    {0, 59, 47, 2832},
        {1, 0, 0, 60},    {0, 30, 1, 60},   {0, 20, 2, 60},    {1, 11, 47, 3408},
        {2, 0, 0, 72},    {0, 36, 1, 72},   {2, 19, 47, 4368},
        // Out of range: no cell.
        {3, 0, 0, -1},    {-1, 0, 0, -1},   {0, 60, 0, -1},    {1, 12, 0, -1},  {2, 20, 0, -1},
        {0, 0, 48, -1},   {0, 0, -1, -1},
    };
    for (const Case& c : cells) {
        SCOPED_TRACE(std::to_string(c.group) + "/" + std::to_string(c.key) + "/" + std::to_string(c.state));
        EXPECT_EQ(c.cell, lex::keyboard::RunFlagCell(c.group, c.key, c.state));
    }
    // Main key 0 writes cell 0 in every state.
    for (int s = 0; s < lex::keyboard::kKeyStateCount; ++s) {
        lex::keyboard::LayoutTables t;
        t.SetRunFlag(0, 0, s, 1);
        const Bytes image = Encode(t);
        EXPECT_EQ(1, image[9036]) << s;
        EXPECT_EQ(1, static_cast<int>(std::count(image.begin(), image.end(), '\x01'))) << s;
    }
    // Pairs that share a cell see each other's flag, set and cleared.
    const Case pairs[][2] = {
        {{0, 1, 1, 2}, {0, 2, 0, 2}},
        {{0, 36, 1, 72}, {2, 0, 0, 72}},
        {{1, 0, 0, 60}, {0, 30, 1, 60}},
    };
    for (const auto& p : pairs) {
        lex::keyboard::LayoutTables t;
        t.SetRunFlag(p[0].group, p[0].key, p[0].state, 1);
        EXPECT_EQ(1, t.GetRunFlag(p[1].group, p[1].key, p[1].state));
        t.SetRunFlag(p[1].group, p[1].key, p[1].state, 0);
        EXPECT_EQ(0, t.GetRunFlag(p[0].group, p[0].key, p[0].state));
    }
    // The cell holds the low byte; it reads back signed.
    lex::keyboard::LayoutTables t;
    t.SetRunFlag(0, 3, 4, 255);
    EXPECT_EQ(-1, t.GetRunFlag(0, 3, 4));
    t.SetRunFlag(0, 3, 4, 0x180);
    EXPECT_EQ(-128, t.GetRunFlag(0, 3, 4));
    EXPECT_EQ(0x80, t.RunFlags[15]);
    // Out of range: nothing stored, nothing read.
    lex::keyboard::LayoutTables empty;
    t = empty;
    t.SetRunFlag(3, 0, 0, 1);
    t.SetRunFlag(0, 60, 0, 1);
    t.SetRunFlag(0, 0, 48, 1);
    EXPECT_TRUE(t == empty);
    EXPECT_EQ(0, t.GetRunFlag(3, 0, 0));
}

TEST(LayoutFormat, CompanionNamesAndUsableNames) {
    struct Case {
        std::string path, ini, work;
        bool usable;
    };
    const Case cases[] = {
        {"D:\\L\\ru.tsb", "D:\\L\\ru.ini", "D:\\L\\ru.in_", true},
        {"x.tsbx", "x.tini", "x.tin_", true},
        {"x.TSB", "x.ini", "x.in_", true},
        {"abcd", "aini", "ain_", true},
        {"abc", "ini", "in_", false},  // nothing left of the name
        {"ab", "", "", false},
        {"", "", "", false},
        // A keyboard file that its own companion or working copy would overwrite.
        {"D:\\L\\ru.ini", "D:\\L\\ru.ini", "D:\\L\\ru.in_", false},
        {"D:\\L\\ru.INI", "D:\\L\\ru.ini", "D:\\L\\ru.in_", false},
        {"D:\\L\\ru.in_", "D:\\L\\ru.ini", "D:\\L\\ru.in_", false},
        {std::string(251, 'a') + ".tsb", std::string(251, 'a') + ".ini", std::string(251, 'a') + ".in_", true},
        {std::string(252, 'a') + ".tsb", std::string(252, 'a') + ".ini", std::string(252, 'a') + ".in_", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 20));
        EXPECT_EQ(c.ini, lex::keyboard::MakeIniName(c.path));
        EXPECT_EQ(c.work, lex::keyboard::MakeWorkIniName(c.path));
        EXPECT_EQ(c.usable, lex::keyboard::IsUsableKeyboardName(c.path));
    }
    EXPECT_EQ("0_12_1", lex::keyboard::RunKeyName(0, 12, 1));
    EXPECT_EQ("2_19_47", lex::keyboard::RunKeyName(2, 19, 47));
    EXPECT_EQ(21, lex::keyboard::KeyStateOf(lex::keyboard::kStateShift | lex::keyboard::kStateCtrl, 2));
}

class KeyboardStoreTest : public ::testing::Test {
protected:
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    keyboardtest::RecordingMessages messages;
    lex::keyboard::KeyboardLayoutStore store{files, messages};
    const std::string tsb = dir.Sub("cz.tsb");
    const std::string ini = dir.Sub("cz.ini");
    const std::string work = dir.Sub("cz.in_");
    const Bytes image = PatternImage(1);
    const Bytes companion =
        "[RUN]\r\n0_12_1=C:\\Prog\\calc.exe\r\n2_3_0=x\r\n\r\n[FONT]\r\nlfHeight=-20\r\nlfFaceName=Arial\r\n";

    void SetUp() override {
        keyboardtest::WriteFileBytes(tsb, image);
        keyboardtest::WriteFileBytes(ini, companion);
    }
    std::string Run(const std::string& path, int g, int k, int s) {
        lex::keyboard::TextProfileFile f(files, path);
        return lex::keyboard::ReadRunCommand(f, g, k, s);
    }
    // The files of the folder; no temporary file and no open handle may remain.
    void ExpectNoLeftovers(const std::vector<std::string>& names) {
        EXPECT_EQ(names, dir.Names());
        EXPECT_EQ(0, files.OpenCount());
    }
};

TEST_F(KeyboardStoreTest, LoadThenSaveGivesIdenticalFiles) {
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(work, store.WorkIniName());
    EXPECT_EQ(companion, keyboardtest::ReadFileBytes(work));
    // The tables hold the file: main key 12 in state 1 at 98 x 12 + 2 + 2.
    const size_t at = 98 * 12 + 4;
    EXPECT_EQ(static_cast<int16_t>(static_cast<uint8_t>(image[at]) | static_cast<uint8_t>(image[at + 1]) << 8),
              store.Tables.MainKeys[12].Chars[1]);
    lex::keyboard::TextProfileFile workIni = store.WorkIni();
    EXPECT_EQ("C:\\Prog\\calc.exe", lex::keyboard::ReadRunCommand(workIni, 0, 12, 1));
    lex::keyboard::FontSettings font = lex::keyboard::LoadFontSettings(workIni);
    EXPECT_EQ(-20, font.Height);
    EXPECT_EQ("Arial", font.FaceName);
    EXPECT_EQ(238, font.CharSet);

    store.Modified = true;
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
    EXPECT_EQ(0, lex::keyboard::ResultCode(KeyboardFileResult::Done));
    EXPECT_FALSE(store.Modified);
    EXPECT_EQ(image, keyboardtest::ReadFileBytes(tsb));
    EXPECT_EQ(companion, keyboardtest::ReadFileBytes(ini));
    ExpectNoLeftovers({"cz.in_", "cz.ini", "cz.tsb"});

    // A longer file gives its first 13452 bytes; a save writes those.
    keyboardtest::WriteFileBytes(tsb, image + "tail");
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
    EXPECT_EQ(image, keyboardtest::ReadFileBytes(tsb));
}

TEST_F(KeyboardStoreTest, EditsReachTheFilesOnlyThroughSave) {
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    // A program on main key 5 in state 3, and a character on F2 in state 9.
    lex::keyboard::TextProfileFile workIni = store.WorkIni();
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 5, 3, "C:\\Prog\\notepad.exe"));
    store.Tables.SetRunFlag(0, 5, 3, 1);
    store.Tables.Key(1, 1)->Chars[9] = 0x00E8;
    store.Modified = true;
    EXPECT_EQ(image, keyboardtest::ReadFileBytes(tsb));
    EXPECT_EQ("", Run(ini, 0, 5, 3));

    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
    Bytes expected = image;
    expected[9036 + 5 * 4] = 1;
    expected[5900 + 98 + 2 + 18] = '\xE8';
    expected[5900 + 98 + 2 + 18 + 1] = 0;
    EXPECT_EQ(expected, keyboardtest::ReadFileBytes(tsb));
    EXPECT_EQ("C:\\Prog\\notepad.exe", Run(ini, 0, 5, 3));
    EXPECT_EQ("C:\\Prog\\calc.exe", Run(ini, 0, 12, 1));
    // All keys of a group in one state at once, by key index.
    std::vector<std::string> state3(60);
    state3[5] = "C:\\Prog\\notepad.exe";
    EXPECT_EQ(state3, lex::keyboard::ReadRunCommands(workIni, lex::keyboard::kMainKeys, 3));
    std::vector<std::string> keypad0(20);
    keypad0[3] = "x";
    EXPECT_EQ(keypad0, lex::keyboard::ReadRunCommands(workIni, lex::keyboard::kKeypadKeys, 0));

    // The caption font goes the same way.
    lex::keyboard::FontSettings font;
    font.Height = -17;
    font.Italic = 1;
    font.FaceName = std::string(40, 'F');
    ASSERT_TRUE(lex::keyboard::SaveFontSettings(workIni, font));
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
    lex::keyboard::TextProfileFile companionIni(files, ini);
    font.FaceName.resize(30);
    EXPECT_TRUE(lex::keyboard::LoadFontSettings(companionIni) == font);
    ExpectNoLeftovers({"cz.in_", "cz.ini", "cz.tsb"});
}

TEST_F(KeyboardStoreTest, FailedLoadKeepsTheLayoutWhole) {
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    store.Tables.MainKeys[0].Chars[0] = 'q';  // an edit in memory
    store.Modified = true;
    const lex::keyboard::LayoutTables before = store.Tables;
    lex::keyboard::TextProfileFile workIni = store.WorkIni();
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 1, 0, "edit.exe"));
    const Bytes workBefore = keyboardtest::ReadFileBytes(work);

    struct Case {
        const char* name;
        std::string path;
        Bytes content;  // "-" for no file
        KeyboardFileResult result;
        int code;
    };
    const Case cases[] = {
        {"missing", dir.Sub("none.tsb"), "-", KeyboardFileResult::NotOpened, -1},
        {"empty", dir.Sub("e.tsb"), "", KeyboardFileResult::ShortFile, -2},
        {"one byte short", dir.Sub("s.tsb"), PatternImage(2).substr(0, 13451), KeyboardFileResult::ShortFile, -2},
        {"first blocks only", dir.Sub("f.tsb"), PatternImage(3).substr(0, 5900), KeyboardFileResult::ShortFile, -2},
        {"a folder", dir.Sub("folder.tsb"), "-", KeyboardFileResult::ShortFile, -2},
        {"named like its companion", dir.Sub("k.ini"), PatternImage(4), KeyboardFileResult::NameRefused, -1},
        {"shorter than the extension", "ab", "-", KeyboardFileResult::NameRefused, -1},
    };
    std::filesystem::create_directories(dir.Sub("folder.tsb"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.content != "-") {
            keyboardtest::WriteFileBytes(c.path, c.content);
            keyboardtest::WriteFileBytes(lex::keyboard::MakeIniName(c.path), "[RUN]\r\n0_1_0=other.exe\r\n");
        }
        messages.Shown.clear();
        const KeyboardFileResult r = store.LoadKeyboardFile(c.path);
        // A folder opens but reads nothing on some systems and does not open on others.
        if (std::string(c.name) == "a folder") {
            EXPECT_TRUE(r == KeyboardFileResult::ShortFile || r == KeyboardFileResult::NotOpened);
        } else {
            EXPECT_EQ(c.result, r);
            EXPECT_EQ(c.code, lex::keyboard::ResultCode(r));
        }
        EXPECT_EQ(std::vector<std::string>{lex::keyboard::kLoadFailedText}, messages.Shown);
        EXPECT_TRUE(store.Tables == before);
        EXPECT_TRUE(store.Modified);
        EXPECT_EQ(work, store.WorkIniName());
        EXPECT_EQ(workBefore, keyboardtest::ReadFileBytes(work));
        EXPECT_EQ(0, files.OpenCount());
    }
}

TEST_F(KeyboardStoreTest, MissingCompanionEmptiesTheWorkingCopy) {
    // A stale working copy from an earlier session that discarded its edits.
    const std::string other = dir.Sub("de.tsb");
    const Bytes otherImage = PatternImage(5);
    keyboardtest::WriteFileBytes(other, otherImage);
    keyboardtest::WriteFileBytes(dir.Sub("de.in_"), "[RUN]\r\n0_1_0=stale.exe\r\n");

    const KeyboardFileResult r = store.LoadKeyboardFile(other);
    EXPECT_EQ(KeyboardFileResult::CompanionMissing, r);
    EXPECT_EQ(-1, lex::keyboard::ResultCode(r));
    EXPECT_TRUE(lex::keyboard::LayoutTaken(r));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(Encode(store.Tables), otherImage);
    EXPECT_EQ(dir.Sub("de.in_"), store.WorkIniName());
    lex::keyboard::TextProfileFile workIni = store.WorkIni();
    EXPECT_EQ("", lex::keyboard::ReadRunCommand(workIni, 0, 1, 0));
    EXPECT_TRUE(lex::keyboard::LoadFontSettings(workIni) == lex::keyboard::FontSettings());

    // Saved without edits: no companion appears.
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(other));
    EXPECT_FALSE(keyboardtest::FileExists(dir.Sub("de.ini")));

    // An edit makes the working copy, and the save the companion.
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 2, 0, "new.exe"));
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(other));
    EXPECT_EQ("new.exe", Run(dir.Sub("de.ini"), 0, 2, 0));
    EXPECT_EQ("", Run(dir.Sub("de.ini"), 0, 1, 0));
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(KeyboardStoreTest, ReloadDiscardsEditsOfTheWorkingCopy) {
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    lex::keyboard::TextProfileFile workIni = store.WorkIni();
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 12, 1, "edited.exe"));
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    EXPECT_EQ("C:\\Prog\\calc.exe", lex::keyboard::ReadRunCommand(workIni, 0, 12, 1));

    // The companion went away meanwhile: the edits do not come back either.
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 12, 1, "edited.exe"));
    std::filesystem::remove(ini);
    EXPECT_EQ(KeyboardFileResult::CompanionMissing, store.LoadKeyboardFile(tsb));
    EXPECT_EQ("", lex::keyboard::ReadRunCommand(workIni, 0, 12, 1));
}

TEST_F(KeyboardStoreTest, WorkingCopyThatCannotBeWritten) {
    keyboardtest::WriteFileBytes(work, "[RUN]\r\n0_12_1=stale.exe\r\n");
    files.FailWritesTo = "cz.in_";
    const KeyboardFileResult r = store.LoadKeyboardFile(tsb);
    EXPECT_EQ(KeyboardFileResult::WorkingCopyFailed, r);
    EXPECT_EQ(-1, lex::keyboard::ResultCode(r));
    EXPECT_TRUE(lex::keyboard::LayoutTaken(r));
    EXPECT_EQ(Encode(store.Tables), image);
    EXPECT_FALSE(keyboardtest::FileExists(work));  // the stale copy does not stay
    ExpectNoLeftovers({"cz.ini", "cz.tsb"});
}

TEST_F(KeyboardStoreTest, CompanionThatCannotBeReadIsNotSavedOver) {
    files.FailOpenOf = "cz.ini";
    EXPECT_EQ(KeyboardFileResult::WorkingCopyFailed, store.LoadKeyboardFile(tsb));
    files.FailOpenOf.clear();
    EXPECT_FALSE(keyboardtest::FileExists(work));
    lex::keyboard::TextProfileFile workIni = store.WorkIni();
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 7, 0, "only.exe"));
    store.Tables.MainKeys[7].Chars[0] = 'u';
    EXPECT_EQ(KeyboardFileResult::CompanionNotSaved, store.SaveKeyboardFile(tsb));
    EXPECT_EQ(Encode(store.Tables), keyboardtest::ReadFileBytes(tsb));
    EXPECT_EQ(companion, keyboardtest::ReadFileBytes(ini));
    // The next load that reads it works as usual.
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 7, 0, "only.exe"));
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
    EXPECT_EQ("only.exe", Run(ini, 0, 7, 0));
    EXPECT_EQ("C:\\Prog\\calc.exe", Run(ini, 0, 12, 1));
}

TEST_F(KeyboardStoreTest, FailedSaveKeepsTheOldFilesAndModified) {
    struct Case {
        const char* name;
        std::function<void(keyboardtest::TrackingFileLayer&)> fail;
        KeyboardFileResult result;
        int code;
    };
    using F = keyboardtest::TrackingFileLayer;
    const Case cases[] = {
        {"first write of the keyboard file", [](F& f) { f.FailWritesTo = "cz.tsb"; }, KeyboardFileResult::WriteFailed, -2},
        {"flush of the keyboard file",
         [](F& f) {
             f.FailWritesTo = "cz.tsb";
             f.FailClose = true;
         },
         KeyboardFileResult::WriteFailed, -2},
        {"write of the companion", [](F& f) { f.FailWritesTo = "cz.ini"; }, KeyboardFileResult::WriteFailed, -2},
        {"putting the keyboard file in place", [](F& f) { f.FailReplaceOf = "cz.tsb"; },
         KeyboardFileResult::WriteFailed, -2},
        {"putting the companion in place", [](F& f) { f.FailReplaceOf = "cz.ini"; },
         KeyboardFileResult::WriteFailed, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files = keyboardtest::TrackingFileLayer();
        ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
        store.Tables.MainKeys[3].Chars[0] = 'w';
        store.Tables.SetRunFlag(0, 4, 0, 1);
        lex::keyboard::TextProfileFile workIni = store.WorkIni();
        ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 4, 0, "C:\\run.exe"));
        store.Modified = true;
        messages.Shown.clear();

        c.fail(files);
        const KeyboardFileResult r = store.SaveKeyboardFile(tsb);
        EXPECT_EQ(c.result, r);
        EXPECT_EQ(c.code, lex::keyboard::ResultCode(r));
        EXPECT_EQ(std::vector<std::string>{lex::keyboard::kSaveFailedText}, messages.Shown);
        EXPECT_TRUE(store.Modified);
        EXPECT_EQ(image, keyboardtest::ReadFileBytes(tsb));
        EXPECT_EQ(companion, keyboardtest::ReadFileBytes(ini));
        ExpectNoLeftovers({"cz.in_", "cz.ini", "cz.tsb"});

        // Once the disk works again the same save goes through.
        files = keyboardtest::TrackingFileLayer();
        ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
        EXPECT_FALSE(store.Modified);
        EXPECT_EQ(Encode(store.Tables), keyboardtest::ReadFileBytes(tsb));
        EXPECT_EQ("C:\\run.exe", Run(ini, 0, 4, 0));
        keyboardtest::WriteFileBytes(tsb, image);
        keyboardtest::WriteFileBytes(ini, companion);
    }
}

// A save with every change failed, every write written short and a kill
// before every change, in turn: the layout and its companion stay both old or
// become both new (a kill between the two replacements may leave the new
// companion beside the old layout, whose run flags then name nothing new;
// never a new layout beside the old companion), Done is said only of a save
// that reached both, and the files load again. The next load finishes what a
// killed save left: the pair is then both old or both new, and nothing is
// left beside it.
TEST_F(KeyboardStoreTest, SaveUnderEveryFault) {
    Bytes newImage, newCompanion;
    auto prepare = [&] {
        for (const std::string& name : dir.Names()) std::filesystem::remove(dir.Sub(name));
        keyboardtest::WriteFileBytes(tsb, image);
        keyboardtest::WriteFileBytes(ini, companion);
        files = keyboardtest::TrackingFileLayer();
        ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
        store.Tables.MainKeys[3].Chars[0] = 'w';
        store.Tables.SetRunFlag(0, 4, 0, 1);
        lex::keyboard::TextProfileFile workIni = store.WorkIni();
        ASSERT_TRUE(lex::keyboard::WriteRunCommand(workIni, 0, 4, 0, "C:\\run.exe"));
        store.Modified = true;
        messages.Shown.clear();
        newImage = Encode(store.Tables);
        newCompanion = keyboardtest::ReadFileBytes(work);
    };
    prepare();
    const int changesBefore = files.Changes, writesBefore = files.Writes;
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(tsb));
    const int changes = files.Changes - changesBefore, writes = files.Writes - writesBefore;
    const auto faults = lex::testing::FaultCases(changes, writes);
    for (const lex::testing::FaultCase& fault : faults) {
        SCOPED_TRACE(fault.Name());
        prepare();
        fault.Apply(files);
        const KeyboardFileResult r = store.SaveKeyboardFile(tsb);
        const Bytes nowTsb = keyboardtest::ReadFileBytes(tsb), nowIni = keyboardtest::ReadFileBytes(ini);
        EXPECT_TRUE(nowTsb == image || nowTsb == newImage);
        EXPECT_TRUE(nowIni == companion || nowIni == newCompanion);
        EXPECT_FALSE(nowTsb == newImage && nowIni == companion);
        EXPECT_EQ(r == KeyboardFileResult::Done, nowTsb == newImage);
        EXPECT_EQ(r == KeyboardFileResult::Done, !store.Modified);
        if (fault.kind != lex::testing::FaultCase::kKilled && r != KeyboardFileResult::Done) {
            EXPECT_EQ(image, nowTsb);
            EXPECT_EQ(companion, nowIni);
            EXPECT_EQ(std::vector<std::string>{lex::keyboard::kSaveFailedText}, messages.Shown);
        }
        EXPECT_EQ(0, files.OpenCount());
        // Whatever is there opens as a layout.
        keyboardtest::TrackingFileLayer other;
        keyboardtest::RecordingMessages otherMessages;
        lex::keyboard::KeyboardLayoutStore reader(other, otherMessages);
        EXPECT_EQ(KeyboardFileResult::Done, reader.LoadKeyboardFile(tsb));
        const Bytes loadedTsb = keyboardtest::ReadFileBytes(tsb), loadedIni = keyboardtest::ReadFileBytes(ini);
        const bool bothNew = loadedTsb == newImage && loadedIni == newCompanion;
        EXPECT_TRUE(bothNew || (loadedTsb == image && loadedIni == companion));
        if (r == KeyboardFileResult::Done) {
            EXPECT_TRUE(bothNew);
        }
        EXPECT_EQ(Encode(reader.Tables), loadedTsb);
        EXPECT_EQ((std::vector<std::string>{"cz.in_", "cz.ini", "cz.tsb"}), dir.Names());
    }
    // Create, write and replace of both files, the backup of the companion
    // (create, write, remove), the journal of the replacements (create,
    // write, remove): 12 changes, 4 writes.
    EXPECT_EQ(12, changes);
    EXPECT_EQ(4, writes);
    EXPECT_EQ(28u, faults.size());
}

// After a load that failed (a short file, or one another program held), the
// tables do not come from that file: a save asks before replacing it, No
// keeps it byte for byte and the edits, Yes replaces it. A file that is not
// there is written without a question, and a load that works ends them.
TEST_F(KeyboardStoreTest, SaveAfterAFailedLoadAsksBeforeReplacing) {
    const std::string bad = dir.Sub("bad.tsb");
    const Bytes shortImage = PatternImage(6).substr(0, lex::keyboard::kLayoutFileSize - 1);
    struct Case {
        const char* name;
        Bytes content;     // "-": none
        bool held;         // another program holds it while it loads
        bool asked;
    } cases[] = {
        {"short file", shortImage, false, true},
        {"held at the load", PatternImage(7), true, true},
        {"missing file", "-", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(bad);
        if (c.content != "-") keyboardtest::WriteFileBytes(bad, c.content);
        ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
        files.FailOpenOf = c.held ? "bad.tsb" : "";
        EXPECT_FALSE(lex::keyboard::LayoutTaken(store.LoadKeyboardFile(bad)));
        files.FailOpenOf.clear();
        store.Modified = true;
        messages.Shown.clear();
        messages.Asked.clear();
        messages.ReplaceUnloaded = false;
        if (c.asked) {
            const KeyboardFileResult r = store.SaveKeyboardFile(bad);
            EXPECT_EQ(KeyboardFileResult::Declined, r);
            EXPECT_EQ(-1, lex::keyboard::ResultCode(r));
            EXPECT_EQ(std::vector<std::string>{bad}, messages.Asked);
            EXPECT_TRUE(messages.Shown.empty());
            EXPECT_TRUE(store.Modified);
            EXPECT_EQ(c.content, keyboardtest::ReadFileBytes(bad));
            messages.ReplaceUnloaded = true;
        }
        ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(bad));
        EXPECT_EQ(Encode(store.Tables), keyboardtest::ReadFileBytes(bad));
        EXPECT_FALSE(store.Modified);
        // Saved once, the file holds these tables: no more questions.
        ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(bad));
        EXPECT_EQ(c.asked ? 2u : 0u, messages.Asked.size());  // No, then Yes
        EXPECT_EQ(0, files.OpenCount());
    }
    // A load that works ends the questions for the file that failed before.
    keyboardtest::WriteFileBytes(bad, shortImage);
    EXPECT_FALSE(lex::keyboard::LayoutTaken(store.LoadKeyboardFile(bad)));
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    messages.Asked.clear();
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(bad));
    EXPECT_TRUE(messages.Asked.empty());
}

TEST_F(KeyboardStoreTest, SaveThatCannotStart) {
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    store.Modified = true;
    const std::string cases[] = {dir.Sub("no folder") + "/cz.tsb", dir.Sub("cz.ini"), "ab"};
    const KeyboardFileResult results[] = {KeyboardFileResult::NotOpened, KeyboardFileResult::NameRefused,
                                          KeyboardFileResult::NameRefused};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i]);
        messages.Shown.clear();
        const KeyboardFileResult r = store.SaveKeyboardFile(cases[i]);
        EXPECT_EQ(results[i], r);
        EXPECT_EQ(-1, lex::keyboard::ResultCode(r));
        EXPECT_EQ(std::vector<std::string>{lex::keyboard::kSaveFailedText}, messages.Shown);
        EXPECT_TRUE(store.Modified);
        EXPECT_EQ(companion, keyboardtest::ReadFileBytes(ini));
        ExpectNoLeftovers({"cz.in_", "cz.ini", "cz.tsb"});
    }
}

// A working copy that is there but cannot be read (another program holds it,
// a read fails): the save fails with its message, both files stay as they
// were and Modified stays; the layout is not saved alone.
TEST_F(KeyboardStoreTest, WorkingCopyThatCannotBeReadAtSave) {
    using F = keyboardtest::TrackingFileLayer;
    const std::function<void(F&)> cases[] = {[](F& f) { f.FailOpenOf = "cz.in_"; },
                                              [](F& f) { f.FailReadsFrom = "cz.in_"; }};
    for (const auto& fail : cases) {
        files = F();
        ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
        store.Tables.MainKeys[5].Chars[0] = 'q';
        store.Modified = true;
        messages.Shown.clear();
        fail(files);
        const KeyboardFileResult r = store.SaveKeyboardFile(tsb);
        EXPECT_EQ(KeyboardFileResult::WriteFailed, r);
        EXPECT_EQ(std::vector<std::string>{lex::keyboard::kSaveFailedText}, messages.Shown);
        EXPECT_TRUE(store.Modified);
        EXPECT_EQ(image, keyboardtest::ReadFileBytes(tsb));
        EXPECT_EQ(companion, keyboardtest::ReadFileBytes(ini));
        ExpectNoLeftovers({"cz.in_", "cz.ini", "cz.tsb"});
    }
}

TEST_F(KeyboardStoreTest, WorkingCopyMissingAtSave) {
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(tsb));
    store.Tables.MainKeys[0].Chars[0] = 'a';
    store.Modified = true;
    std::filesystem::remove(work);
    const KeyboardFileResult r = store.SaveKeyboardFile(tsb);
    EXPECT_EQ(KeyboardFileResult::CompanionNotSaved, r);
    EXPECT_EQ(-1, lex::keyboard::ResultCode(r));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_FALSE(store.Modified);
    EXPECT_EQ(Encode(store.Tables), keyboardtest::ReadFileBytes(tsb));
    EXPECT_EQ(companion, keyboardtest::ReadFileBytes(ini));
}

TEST_F(KeyboardStoreTest, FixedPathServesEveryLoadAndSave) {
    store.SetFixedPath(tsb);
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(dir.Sub("other.tsb")));
    EXPECT_EQ(tsb, store.LastPath());
    EXPECT_EQ(work, store.WorkIniName());
    store.Tables.MainKeys[1].Chars[2] = 'z';
    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(dir.Sub("other.tsb")));
    EXPECT_EQ(Encode(store.Tables), keyboardtest::ReadFileBytes(tsb));
    ExpectNoLeftovers({"cz.in_", "cz.ini", "cz.tsb"});
}

TEST(ReadKeyboardFile, TablesChangeOnlyAfterAFullRead) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    lex::keyboard::LayoutTables t;
    t.Prefixes[1] = {lex::keyboard::kStateShift, 0x1E};
    const lex::keyboard::LayoutTables before = t;
    keyboardtest::WriteFileBytes(dir.Sub("short.tsb"), PatternImage(9).substr(0, 9036));
    EXPECT_EQ(KeyboardFileResult::ShortFile, lex::keyboard::ReadKeyboardFile(files, dir.Sub("short.tsb"), t));
    EXPECT_EQ(KeyboardFileResult::NotOpened, lex::keyboard::ReadKeyboardFile(files, dir.Sub("none.tsb"), t));
    EXPECT_TRUE(t == before);
    // A file of zeros: no keys, no prefixes, no run flags.
    keyboardtest::WriteFileBytes(dir.Sub("zero.tsb"), Bytes(lex::keyboard::kLayoutFileSize, '\0'));
    EXPECT_EQ(KeyboardFileResult::Done, lex::keyboard::ReadKeyboardFile(files, dir.Sub("zero.tsb"), t));
    EXPECT_TRUE(t == lex::keyboard::LayoutTables());
    EXPECT_EQ(0, files.OpenCount());
}

}  // namespace

namespace {

// The demo layout of ts/data, written by make_demo_layout.py from its own
// reading of the format: the tables must hold each character in its place.
TEST(DemoLayout, LoadsWithEveryCharacterInItsPlace) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    keyboardtest::RecordingMessages messages;
    const std::string source = TS_DEMO_DATA_DIR;
    const Bytes image = keyboardtest::ReadFileBytes(source + "/demo.tsb");
    ASSERT_EQ(lex::keyboard::kLayoutFileSize, image.size());
    keyboardtest::WriteFileBytes(dir.Sub("demo.tsb"), image);
    keyboardtest::WriteFileBytes(dir.Sub("demo.ini"), keyboardtest::ReadFileBytes(source + "/demo.ini"));

    lex::keyboard::KeyboardLayoutStore store(files, messages);
    ASSERT_EQ(KeyboardFileResult::Done, store.LoadKeyboardFile(dir.Sub("demo.tsb")));
    const lex::keyboard::LayoutTables& t = store.Tables;
    // Main key 2 (legend "2", scan 3): "ě" in cp1250 without Shift, "2" with it.
    EXPECT_EQ(0x03, t.MainKeys[2].ScanCode);
    EXPECT_EQ(0xEC, t.MainKeys[2].Chars[0]);
    EXPECT_EQ('2', t.MainKeys[2].Chars[lex::keyboard::kStateShift]);
    // Main key 18 (legend "E", scan 0x12): e, E, and after prefix 1 the carons.
    EXPECT_EQ(0x12, t.MainKeys[18].ScanCode);
    EXPECT_EQ('e', t.MainKeys[18].Chars[0]);
    EXPECT_EQ('E', t.MainKeys[18].Chars[1]);
    EXPECT_EQ(0xEC, t.MainKeys[18].Chars[lex::keyboard::KeyStateOf(0, 1)]);
    EXPECT_EQ(0xCC, t.MainKeys[18].Chars[lex::keyboard::KeyStateOf(lex::keyboard::kStateShift, 1)]);
    EXPECT_TRUE((t.Prefixes[0] == lex::keyboard::PrefixDef{lex::keyboard::kStateShift, 0x0D}));
    EXPECT_EQ(0xA1, t.MainKeys[12].Chars[lex::keyboard::kStateShift]);  // the caron itself
    EXPECT_EQ(0x58, t.FunctionKeys[11].ScanCode);
    EXPECT_EQ('7', t.KeypadKeys[4].Chars[0]);
    // F2 starts notepad.
    EXPECT_EQ(1, t.GetRunFlag(lex::keyboard::kFunctionKeys, 1, 0));
    lex::keyboard::TextProfileFile work = store.WorkIni();
    EXPECT_EQ("notepad.exe", lex::keyboard::ReadRunCommand(work, lex::keyboard::kFunctionKeys, 1, 0));
    EXPECT_EQ("Arial", lex::keyboard::LoadFontSettings(work).FaceName);

    ASSERT_EQ(KeyboardFileResult::Done, store.SaveKeyboardFile(dir.Sub("demo.tsb")));
    EXPECT_EQ(image, keyboardtest::ReadFileBytes(dir.Sub("demo.tsb")));
}

}  // namespace
