// The portable parts of ts: command line, program folder, UI texts with the
// text file and the string table, and the edits of the keyboard dialogs.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/keyboard/tests/keyboard_fixture.h"
#include "ts/editor/command_line.h"
#include "ts/editor/layout_editor.h"
#include "ts/editor/ts_ui_texts.h"
#include "ts/texts/ts_text_ids.h"

namespace {

using ts::CommandLine;
using ts::StartMode;

TEST(CommandLineTest, ModesLanguagesAndPaths) {
    struct Case {
        std::vector<std::string> args;
        StartMode mode;
        int language;
        std::string path, folder;
    };
    const std::string longPath = "C:\\" + std::string(253, 'a');  // 256 characters
    const Case cases[] = {
        {{"X", "1", "C:\\K\\cz.tsb"}, StartMode::EditorOnly, 1, "C:\\K\\cz.tsb", "C:\\K\\"},
        {{"foo", "X", "3", "C:\\K\\a.tsb"}, StartMode::EditorOnly, 3, "C:\\K\\a.tsb", "C:\\K\\"},
        {{"x", "1", "C:\\K\\a.tsb"}, StartMode::Normal, 1, "", ""},
        {{"/X", "2", "C:\\K\\a.tsb"}, StartMode::EditorOnly, 2, "C:\\K\\a.tsb", "C:\\K\\"},
        {{"-X", "8", "C:\\K\\a.tsb"}, StartMode::EditorOnly, 8, "C:\\K\\a.tsb", "C:\\K\\"},
        {{"X", "1", "C:\\K\\a.tsb", "more"}, StartMode::EditorOnly, 1, "C:\\K\\a.tsb", "C:\\K\\"},
        {{"X"}, StartMode::EndAtOnce, 1, "", ""},
        {{"X", "1"}, StartMode::EndAtOnce, 1, "", ""},
        {{"X", "abc", "C:\\K\\a.tsb"}, StartMode::EditorOnly, 0, "C:\\K\\a.tsb", "C:\\K\\"},
        {{"X", "4x", "C:\\K\\a.tsb"}, StartMode::EditorOnly, 4, "C:\\K\\a.tsb", "C:\\K\\"},
        // A language outside 0..8 becomes the default (Czech).
        {{"X", "9", "a.tsb"}, StartMode::EditorOnly, 1, "a.tsb", ""},
        {{"X", "99999999999", "C:\\K\\a.tsb"}, StartMode::EditorOnly, 1, "C:\\K\\a.tsb", "C:\\K\\"},
        // A path too long to keep ends the program like a missing one.
        {{"X", "1", longPath}, StartMode::EndAtOnce, 1, "", ""},
        {{"X", "1", longPath.substr(1)}, StartMode::EditorOnly, 1, longPath.substr(1), ":\\"},
        // An empty path is a path: the editor starts and cannot load it.
        {{"X", "1", ""}, StartMode::EditorOnly, 1, "", ""},
        {{}, StartMode::Normal, 1, "", ""},
        {{"C:\\Program Files\\ts\\x.tsb"}, StartMode::Normal, 1, "", ""},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.empty() ? "(none)" : c.args[0] + " ... (" + std::to_string(c.args.size()) + ")";
        const CommandLine line = ts::ParseCommandLine(c.args);
        EXPECT_EQ(line.Mode(), c.mode) << what;
        EXPECT_EQ(line.Language, c.language) << what;
        EXPECT_EQ(line.EditorFilePath, c.path) << what;
        EXPECT_EQ(line.ProgramDirectory, c.folder) << what;
    }
}

TEST(CommandLineTest, ProgramFolderTrimming) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Prog\\ts.exe", "C:\\Prog\\"}, {"C:\\Prog\\", "C:\\Prog\\"}, {"abc", "a"}, {"", ""},
        {"x", "x"}, {"\\", "\\"}, {"C:\\My Programs\\ts\\", "C:\\My Programs\\ts\\"},
        {"C:\\" + std::string(300, 'a') + "\\", "C:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(ts::TrimProgramDirectory(c.first), c.second) << c.first;
    EXPECT_EQ(ts::DirectoryOf("C:\\K\\cz.tsb"), "C:\\K\\");
    EXPECT_EQ(ts::DirectoryOf("cz.tsb"), "");
}

// A text file with fixed values and a string table in memory that counts its loads.
class MapProfile : public lex::keyboard::ProfileFile {
public:
    std::map<std::string, std::string> Values;
    std::string GetString(const std::string& section, const std::string& key, const std::string& fallback,
                          int size) override {
        EXPECT_EQ(section, ts::kUiTextSection);
        auto it = Values.find(key);
        std::string v = it == Values.end() ? fallback : it->second;
        if (v.size() > static_cast<size_t>(size - 1)) v.resize(size - 1);
        return v;
    }
    bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }
};

class MapTable : public ts::StringTable {
public:
    std::map<int, std::string> Texts;
    int Loads = 0;
    std::string LoadString(int id, int size) override {
        ++Loads;
        auto it = Texts.find(id);
        std::string v = it == Texts.end() ? "" : it->second;
        if (v.size() > static_cast<size_t>(size - 1)) v.resize(size - 1);
        return v;
    }
};

// The key of a text in "zdroj.rc": its id in decimal.
std::string Key(int id) { return std::to_string(id); }

TEST(UiTextsTest, LineBreakRule) {
    const std::pair<std::string, std::string> cases[] = {
        {"one\\ntwo", "one\ntwo"}, {"C:\\new", "C:\new"}, {"a\\b", "a\\b"}, {"end\\", "end\\"},
        {"\\\\n", "\\\n"}, {"\\n\\n", "\n\n"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ts::ExpandLineBreaks(c.first), c.second) << c.first;

    MapProfile file;
    file.Values[Key(ts::kTextSaveChangesQuestion + 1)] = "Ulozit?\\nAno?";
    file.Values[Key(ts::kTextSaveChangesQuestion + 2)] = "";
    std::string out;
    EXPECT_EQ(ts::ReadUiTextFile(file, ts::kTextSaveChangesQuestion + 1, out), 12);
    EXPECT_EQ(out, "Ulozit?\nAno?");
    EXPECT_EQ(ts::ReadUiTextFile(file, ts::kTextSaveChangesQuestion + 2, out), -1);  // empty counts as missing
    EXPECT_EQ(ts::ReadUiTextFile(file, ts::kTextSaveChangesQuestion + 3, out), -1);
}

TEST(UiTextsTest, FileFirstThenTableAndTwoBuffersWhateverTheSource) {
    MapProfile file;
    MapTable table;
    file.Values[Key(ts::kTextSave + 1)] = "Ulozit z souboru";
    table.Texts = {{ts::kTextSave + 1, "Uložit"},
                   {ts::kTextCancel + 1, "Storno"},
                   {ts::kTextWarningCaption + 1, "Upozornění"},
                   {ts::kTextSave + 3, "Speichern"}};
    ts::UiTexts texts(&file, table);
    texts.SetLanguage(1);
    EXPECT_EQ(texts.Language(), 1);

    const char* a = texts.Get(ts::kTextSave);  // from the file
    const char* b = texts.Get(ts::kTextCancel);  // from the table
    EXPECT_STREQ(a, "Ulozit z souboru");
    EXPECT_STREQ(b, "Storno");
    // Two fallbacks in a row: both results stay valid.
    const char* c = texts.Get(ts::kTextWarningCaption);
    const char* d = texts.Get(ts::kTextCancel);
    EXPECT_STREQ(c, "Upozornění");
    EXPECT_STREQ(d, "Storno");
    EXPECT_NE(c, d);
    // The third call overwrites the first.
    const char* e = texts.Get(ts::kTextSave);
    EXPECT_EQ(e, c);
    EXPECT_STREQ(c, "Ulozit z souboru");
    EXPECT_STREQ(d, "Storno");

    // Without a text file, and with a language outside 0..8 (the default, 1).
    ts::UiTexts plain(nullptr, table);
    plain.SetLanguage(12);
    EXPECT_EQ(plain.Language(), 1);
    EXPECT_STREQ(plain.Get(ts::kTextCancel), "Storno");
    plain.SetLanguage(-1);
    EXPECT_EQ(plain.Language(), 1);
    plain.SetLanguage(3);
    EXPECT_STREQ(plain.Get(ts::kTextSave), "Speichern");
    EXPECT_STREQ(plain.Get(ts::kTextHelp), "");  // in neither: empty, no message
}

// ---- the layout edits ----

class LayoutEditTest : public ::testing::Test {
protected:
    keyboardtest::KeyboardTempDir dir;
    std::unique_ptr<lex::FileSystem> files = lex::MakePlatformFileSystem();
    lex::keyboard::TextProfileFile ini{*files, dir.Sub("k.in_")};
    lex::keyboard::LayoutTables tables;
};

TEST_F(LayoutEditTest, FacesOfTheShownState) {
    ts::ShownState shown;
    shown.Shift = true;
    shown.Ctrl = true;
    shown.PendingPrefix = 1;
    EXPECT_EQ(shown.KeyState(), 21);
    tables.MainKeys[16].ScanCode = 16;
    tables.MainKeys[16].Chars[21] = 0x1E9;  // a high byte: the low byte is shown
    tables.MainKeys[20].ScanCode = 20;
    tables.Prefixes[1] = {lex::keyboard::kStateShift | lex::keyboard::kStateCtrl, 20};
    tables.MainKeys[3].Chars[21] = 'x';
    tables.SetRunFlag(0, 3, 21, 1);
    ini.WriteString("RUN", "0_3_21", "notepad.exe");
    tables.MainKeys[4].Chars[21] = 'y';
    tables.SetRunFlag(0, 4, 21, 1);
    ini.WriteString("RUN", "0_4_21", "n");  // one character: no program
    tables.MainKeys[5].Chars[21] = 'z';
    tables.SetRunFlag(0, 5, 21, 2);  // only a flag of 1 counts
    ini.WriteString("RUN", "0_5_21", "calc.exe");

    const ts::KeyboardFaces faces = ts::ComputeFaces(tables, shown, ini, "unusable");
    EXPECT_EQ(faces.Keys[0][16].Caption, "\xE9");
    EXPECT_TRUE(faces.Keys[0][16].Active);
    EXPECT_FALSE(faces.Keys[0][16].Marked);
    EXPECT_TRUE(faces.Keys[0][20].Marked);
    EXPECT_TRUE(faces.MarkShift);
    EXPECT_FALSE(faces.MarkAlt);
    EXPECT_TRUE(faces.MarkCtrl);
    EXPECT_TRUE(faces.Keys[0][3].StartsProgram);
    EXPECT_EQ(faces.Keys[0][3].Tip, "notepad.exe");
    EXPECT_FALSE(faces.Keys[0][4].StartsProgram);
    EXPECT_FALSE(faces.Keys[0][5].StartsProgram);
    EXPECT_EQ(faces.Keys[0][0].Caption, "");
    // Shift on: the whole keypad is unusable; F1 and F10 always.
    for (int k = 0; k < lex::keyboard::kKeypadKeyCount; ++k) EXPECT_TRUE(faces.Keys[2][k].Disabled) << k;
    EXPECT_EQ(faces.Keys[2][5].Tip, "unusable");
    EXPECT_TRUE(faces.Keys[1][0].Disabled);
    EXPECT_TRUE(faces.Keys[1][9].Disabled);
    EXPECT_FALSE(faces.Keys[1][1].Disabled);

    shown = ts::ShownState();
    const ts::KeyboardFaces plain = ts::ComputeFaces(tables, shown, ini, "unusable");
    EXPECT_TRUE(plain.Keys[2][1].Disabled);
    EXPECT_FALSE(plain.Keys[2][0].Disabled);
    EXPECT_FALSE(plain.Keys[0][20].Marked);
}

TEST_F(LayoutEditTest, AssignmentAndCharacterPick) {
    const ts::KeyRef ref{0, 12, 1};
    ts::AssignKey(tables, ini, ref, true, 'q', "C:\\Tools\\run.exe");
    EXPECT_EQ(tables.GetRunFlag(0, 12, 1), 1);
    EXPECT_EQ(tables.MainKeys[12].Chars[1], 'q');
    EXPECT_EQ(ini.GetString("RUN", "0_12_1", "", 253), "C:\\Tools\\run.exe");
    // A one-character path writes nothing; the character is widened unsigned.
    ts::AssignKey(tables, ini, ref, false, 0xE8, "x");
    EXPECT_EQ(tables.GetRunFlag(0, 12, 1), 0);
    EXPECT_EQ(tables.MainKeys[12].Chars[1], 0xE8);
    EXPECT_EQ(ini.GetString("RUN", "0_12_1", "", 253), "C:\\Tools\\run.exe");

    // A command that cannot be stored leaves the key as it was.
    lex::keyboard::TextProfileFile nowhere{*files, dir.Sub("no such folder/k.in_")};
    const lex::keyboard::LayoutTables unchanged = tables;
    EXPECT_FALSE(ts::AssignKey(tables, nowhere, ref, true, 'r', "C:\\Tools\\other.exe"));
    EXPECT_TRUE(tables == unchanged);

    // The character map's OK without a pick changes nothing.
    tables.SetRunFlag(0, 12, 1, 1);
    const lex::keyboard::LayoutTables before = tables;
    EXPECT_FALSE(ts::ApplyCharacterPick(tables, ref, -1));
    EXPECT_TRUE(tables == before);
    EXPECT_TRUE(ts::ApplyCharacterPick(tables, ref, 0xFC));
    EXPECT_EQ(tables.MainKeys[12].Chars[1], 0xFC);
    EXPECT_EQ(tables.GetRunFlag(0, 12, 1), 0);
}

TEST(CharacterMapTest, OpensOnTheCaptionsFirstCharacterWhenItIsOne) {
    const std::pair<std::string, int> cases[] = {
        {"", -1}, {"\t", 9}, {"\x1e", -1}, {"\x1f", 31}, {" ", 32}, {"a", 'a'}, {"\xfc", 0xFC}, {"&&", '&'},
    };
    for (const auto& c : cases) EXPECT_EQ(ts::CharacterMapStart(c.first), c.second) << c.first;
}

TEST_F(LayoutEditTest, DeletingImagesClearsTheirRunFlags) {
    const ts::KeyRef ref{2, 5, 9};
    for (int s = 0; s < lex::keyboard::kKeyStateCount; ++s) {
        tables.KeypadKeys[5].Chars[s] = static_cast<int16_t>('a' + s % 26);
        tables.SetRunFlag(2, 5, s, 1);
    }
    tables.KeypadKeys[5].ScanCode = 76;
    ini.WriteString("RUN", "2_5_9", "calc.exe");
    ini.WriteString("RUN", "2_5_10", "notepad.exe");
    ini.WriteString("RUN", "2_5_11", "n");

    ts::DeleteStateImage(tables, ini, ref);
    EXPECT_EQ(tables.KeypadKeys[5].Chars[9], 0);
    EXPECT_EQ(tables.GetRunFlag(2, 5, 9), 0);
    EXPECT_EQ(tables.KeypadKeys[5].Chars[10], 'a' + 10);
    EXPECT_EQ(tables.GetRunFlag(2, 5, 10), 1);
    EXPECT_EQ(ini.GetString("RUN", "2_5_9", "<none>", 253), "");
    EXPECT_EQ(ini.GetString("RUN", "2_5_10", "<none>", 253), "notepad.exe");

    ts::DeleteWholeKey(tables, ini, ref);
    EXPECT_EQ(tables.KeypadKeys[5].ScanCode, 0);
    for (int s = 0; s < lex::keyboard::kKeyStateCount; ++s) {
        EXPECT_EQ(tables.KeypadKeys[5].Chars[s], 0) << s;
        EXPECT_EQ(tables.GetRunFlag(2, 5, s), 0) << s;
    }
    EXPECT_EQ(ini.GetString("RUN", "2_5_10", "<none>", 253), "");
    EXPECT_EQ(ini.GetString("RUN", "2_5_11", "<none>", 253), "n");  // one character stays
}

TEST_F(LayoutEditTest, ScanCodesAndPrefixes) {
    ts::SetScanCode(tables, {0, 30, 0}, 30);
    EXPECT_EQ(tables.MainKeys[30].ScanCode, 30);
    ts::SetPrefix(tables, 2, lex::keyboard::kStateAlt | lex::keyboard::kStateCtrl, 40);
    EXPECT_EQ(tables.Prefixes[2].Modifiers, 6);
    EXPECT_EQ(tables.Prefixes[2].ScanCode, 40);
    ts::DeletePrefix(tables, 2);
    EXPECT_TRUE(tables.Prefixes[2] == lex::keyboard::PrefixDef());
    const lex::keyboard::LayoutTables before = tables;
    ts::SetPrefix(tables, 5, 1, 1);
    ts::SetScanCode(tables, {1, 12, 0}, 5);
    EXPECT_TRUE(tables == before);
}

}  // namespace
