// IniFile over key tables: two files with their own tables and names side by
// side, the keyboard program files tastrix.ini and ts2000.ini, and the range
// checked readers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "core/settings/tastrix_ini.h"
#include "core/settings/ts2000_ini.h"

namespace lex {
namespace {

// A file of the test's own, added the way every ini file is: keys, table, name.
enum class SampleKey : int {
    Title,       // [Main] "Title"
    Size,        // [Main] "Size"
    ButtonName,  // [Buttons] "Button %i name" (a = button)
    ButtonCode,  // [Buttons] "Button %i code"
    Cell,        // [Grid] "Cell%d_%d" (a, b), default 10 a + b
    Count
};

// A second file whose keys share section and key names with the first.
enum class OtherKey : int {
    Title,  // [Main] "Title"
    Count
};

int CellDefault(int a, int b) { return 10 * a + b; }

constexpr IniKeyDef<SampleKey> kSampleKeys[] = {
    {SampleKey::Title, "Main", "Title", SettingType::Text, SettingArgs::None, 0, "untitled", 0},
    {SampleKey::Size, "Main", "Size", SettingType::Int, SettingArgs::None, 7, nullptr, 0},
    {SampleKey::ButtonName, "Buttons", "Button %i name", SettingType::Text, SettingArgs::Index, 0, "X", 5},
    {SampleKey::ButtonCode, "Buttons", "Button %i code", SettingType::Int, SettingArgs::Index, -1, nullptr, 0},
    {SampleKey::Cell, "Grid", "Cell%d_%d", SettingType::Int, SettingArgs::PairDirection, 0, nullptr, 0, CellDefault},
};
static_assert(IniTableInOrder(kSampleKeys), "sample table in order");

constexpr IniKeyDef<OtherKey> kOtherKeys[] = {
    {OtherKey::Title, "Main", "Title", SettingType::Text, SettingArgs::None, 0, "other", 0},
};
static_assert(IniTableInOrder(kOtherKeys), "other table in order");

// A table whose rows are out of order, or one short, is refused at compile time.
constexpr IniKeyDef<OtherKey> kNoRows[] = {
    {OtherKey::Count, "Main", "Title", SettingType::Text, SettingArgs::None, 0, "", 0},
};
static_assert(!IniTableInOrder(kNoRows), "a row in the wrong place is found");

}  // namespace

template <>
struct IniKeyTable<SampleKey> {
    static constexpr const char* kFileName = "sample.ini";
    static const IniKeyDef<SampleKey>& Row(SampleKey id) { return kSampleKeys[static_cast<int>(id)]; }
};

template <>
struct IniKeyTable<OtherKey> {
    static constexpr const char* kFileName = "other.ini";
    static const IniKeyDef<OtherKey>& Row(OtherKey id) { return kOtherKeys[static_cast<int>(id)]; }
};

namespace {

using SampleFile = IniFile<SampleKey>;
using OtherFile = IniFile<OtherKey>;

std::string RawRead(const std::string& file, const char* section, const char* key) {
    char buffer[512];
    GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, file.c_str());
    return buffer;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::string(temp) + "lexini_" + info->name() + "_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
        RemoveFiles();
    }
    void TearDown() override {
        RemoveFiles();
        RemoveDirectoryA(dir_.c_str());
    }
    void RemoveFiles() {
        for (const char* name : {"sample.ini", "other.ini", "tastrix.ini", "ts2000.ini", "lx2000.ini"})
            DeleteFileA((dir_ + name).c_str());
    }
    std::string Path(const char* name) const { return dir_ + name; }

    std::string dir_;
};

TEST_F(IniFileTest, EachFileHasItsNameAndItsOwnTable) {
    // The programs' names are the bare ones (the Windows directory).
    EXPECT_EQ(SampleFile().FileName(), "sample.ini");
    EXPECT_EQ(OtherFile().FileName(), "other.ini");
    EXPECT_EQ(SettingsFile().FileName(), "lx2000.ini");
    EXPECT_EQ(TastrixIniFile().FileName(), "tastrix.ini");
    EXPECT_EQ(Ts2000IniFile().FileName(), "ts2000.ini");

    const SampleFile sample(Path("sample.ini"));
    const OtherFile other(Path("other.ini"));

    // Missing files: every key gives its table's default; nothing is created.
    struct Case {
        SampleKey id;
        int a, b;
        const char* section;
        const char* key;
        const char* missing;  // read from the missing file
        const char* stored;   // written, then read back
        const char* back;
    };
    const Case cases[] = {
        {SampleKey::Title, 0, 0, "Main", "Title", "untitled", "Sample", "Sample"},
        {SampleKey::Size, 0, 0, "Main", "Size", "7", "-12", "-12"},
        {SampleKey::ButtonName, 0, 0, "Buttons", "Button 0 name", "X", "abc", "abc"},
        {SampleKey::ButtonName, 9, 0, "Buttons", "Button 9 name", "X", "longer", "long"},  // buffer 5
        {SampleKey::ButtonCode, 3, 0, "Buttons", "Button 3 code", "-1", "2", "2"},
        {SampleKey::Cell, 4, 1, "Grid", "Cell4_1", "41", "0", "0"},
        {SampleKey::Cell, 0, 2, "Grid", "Cell0_2", "2", "99", "99"},
    };
    auto read = [&](const Case& c) {
        return SampleFile::Definition(c.id).type == SettingType::Int ? std::to_string(sample.ReadInt(c.id, c.a, c.b))
                                                                      : sample.ReadText(c.id, c.a, c.b);
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sample.SectionName(c.id, c.a, c.b), c.section);
        EXPECT_EQ(sample.KeyName(c.id, c.a, c.b), c.key);
        EXPECT_EQ(read(c), c.missing) << c.key;
    }
    EXPECT_EQ(other.ReadText(OtherKey::Title), "other");
    EXPECT_FALSE(Exists(Path("sample.ini")));
    EXPECT_FALSE(Exists(Path("other.ini")));

    for (const Case& c : cases) {
        if (SampleFile::Definition(c.id).type == SettingType::Int)
            sample.WriteInt(c.id, std::stoi(c.stored), c.a, c.b);
        else
            sample.WriteText(c.id, c.stored, c.a, c.b);
    }
    other.WriteText(OtherKey::Title, "Other");
    for (const Case& c : cases) {
        EXPECT_EQ(RawRead(Path("sample.ini"), c.section, c.key), c.stored) << c.key;
        EXPECT_EQ(read(c), c.back) << c.key;
    }
    // The same section and key in the other file is the other file's.
    EXPECT_EQ(RawRead(Path("other.ini"), "Main", "Title"), "Other");
    EXPECT_EQ(RawRead(Path("other.ini"), "Main", "Size"), "<missing>");
    EXPECT_EQ(sample.ReadText(SampleKey::Title), "Sample");
    EXPECT_EQ(other.ReadText(OtherKey::Title), "Other");
    // A text read of an Int key gives its default as digits.
    EXPECT_EQ(sample.ReadText(SampleKey::Cell, 3, 5), "35");
}

TEST_F(IniFileTest, RangeCheckedReaders) {
    const SampleFile file(Path("sample.ini"));
    struct Case {
        const char* stored;  // [Main] "Size"; nullptr: no key
        int inRange;         // ReadIntInRange 0..8, else the default 7
        int oddOnly;         // ReadIntIf odd, else 7
        int clamped;         // ReadIntClamped 5..100
        int orMinusOne;      // ReadIntOr -1
    };
    const Case cases[] = {
        {nullptr, 7, 7, 7, -1}, {"0", 0, 7, 5, 0},     {"8", 8, 7, 8, 8},     {"9", 7, 9, 9, 9},
        {"-1", 7, -1, 5, -1},   {"500", 7, 7, 100, 500}, {"", 7, 7, 7, -1}, {"3", 3, 3, 5, 3},
    };
    for (const Case& c : cases) {
        const std::string what = c.stored ? c.stored : "(none)";
        WritePrivateProfileStringA("Main", "Size", c.stored, file.FileName().c_str());
        EXPECT_EQ(file.ReadIntInRange(SampleKey::Size, 0, 8), c.inRange) << what;
        EXPECT_EQ(file.ReadIntIf(SampleKey::Size, [](int v) { return v % 2 != 0; }), c.oddOnly) << what;
        EXPECT_EQ(file.ReadIntClamped(SampleKey::Size, 5, 100), c.clamped) << what;
        EXPECT_EQ(file.ReadIntOr(SampleKey::Size, -1), c.orMinusOne) << what;
        // Reading never rewrites the stored text.
        EXPECT_EQ(RawRead(file.FileName(), "Main", "Size"), c.stored ? c.stored : "<missing>") << what;
    }
    // An indexed key with a default that depends on its numbers.
    WritePrivateProfileStringA("Grid", "Cell2_3", "77", file.FileName().c_str());
    EXPECT_EQ(file.ReadIntInRange(SampleKey::Cell, 0, 50, 2, 3), 23);
    EXPECT_EQ(file.ReadIntInRange(SampleKey::Cell, 0, 80, 2, 3), 77);
}

// The dictionary program tells the resident keyboard program through two files
// whether it is active with its coupling on.
TEST_F(IniFileTest, KeyboardCouplingFiles) {
    const TastrixIniFile tastrix(Path("tastrix.ini"));
    const Ts2000IniFile ts2000(Path("ts2000.ini"));
    EXPECT_EQ(tastrix.ReadInt(TastrixKey::LexActive), 0);
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::LexoraActive), 0);

    tastrix.WriteInt(TastrixKey::LexActive, 1);
    ts2000.WriteInt(Ts2000Key::LexoraActive, 1);
    EXPECT_EQ(RawRead(Path("tastrix.ini"), "LEX", "AKTIVNI"), "1");
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "LEXORA", "AKTIVNI"), "1");
    EXPECT_EQ(RawRead(Path("tastrix.ini"), "LEXORA", "AKTIVNI"), "<missing>");
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "LEX", "AKTIVNI"), "<missing>");

    tastrix.WriteInt(TastrixKey::LexActive, 0);
    EXPECT_EQ(RawRead(Path("tastrix.ini"), "LEX", "AKTIVNI"), "0");
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::LexoraActive), 1);
    EXPECT_FALSE(Exists(Path("lx2000.ini")));
}

// ts's keys of ts2000.ini: defaults of a missing file, the quick-switch
// buttons' indexed keys, and the limits of the texts.
TEST_F(IniFileTest, KeyboardProgramKeys) {
    const Ts2000IniFile ts2000(Path("ts2000.ini"));
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::UiLanguage), 1);
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::SaveLast), 1);
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::AskToFinish), 1);
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::ActivateAtStart), 0);
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::LastQuickButton), 0);
    EXPECT_EQ(ts2000.ReadText(Ts2000Key::QuickButtonData, 3), "X");
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::QuickButtonWindowsLayout, 3), -1);
    EXPECT_EQ(ts2000.ReadText(Ts2000Key::ProgramFolder), "");

    WritePrivateProfileStringA("RYCHLOTLACITKA", "Tlacitko 3 jmeno", "CZECH", Path("ts2000.ini").c_str());
    WritePrivateProfileStringA("RYCHLOTLACITKA", "Tlacitko 3 data", "C:\\K\\cz", Path("ts2000.ini").c_str());
    WritePrivateProfileStringA("Konfigurace", "Komunikacni jazyk", "8", Path("ts2000.ini").c_str());
    WritePrivateProfileStringA("CESTY", "Umisteni programu", "C:\\Prog\\ts.exe", Path("ts2000.ini").c_str());
    EXPECT_EQ(ts2000.ReadText(Ts2000Key::QuickButtonShortName, 3), "CZEC");  // four characters
    EXPECT_EQ(ts2000.ReadText(Ts2000Key::QuickButtonData, 3), "C:\\K\\cz");
    EXPECT_EQ(ts2000.ReadText(Ts2000Key::QuickButtonData, 4), "X");
    EXPECT_EQ(ts2000.ReadInt(Ts2000Key::UiLanguage), 8);
    EXPECT_EQ(ts2000.ReadText(Ts2000Key::ProgramFolder), "C:\\Prog\\ts.exe");
    ts2000.WriteInt(Ts2000Key::LastQuickButton, 3);
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "Konfigurace", "Posledni"), "3");
    ts2000.WriteText(Ts2000Key::SwitchFile, "C:\\Prog\\prepinac.tsc");
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "PREPINAC", "Prepinaci soubor"), "C:\\Prog\\prepinac.tsc");
}

// [FONT] of ts2000.ini, the font of ts's buttons: the defaults of a missing
// file, every field written and read back, the face name cut to 30
// characters, and a write that fails says so.
TEST_F(IniFileTest, ButtonFontOfTheKeyboardProgram) {
    const Ts2000IniFile ts2000(Path("ts2000.ini"));
    const LOGFONTA missing = ReadButtonFont(ts2000);
    EXPECT_EQ(missing.lfHeight, -13);
    EXPECT_EQ(missing.lfWeight, 700);
    EXPECT_EQ(missing.lfCharSet, 238);
    EXPECT_EQ(missing.lfOutPrecision, 1);
    EXPECT_EQ(missing.lfClipPrecision, 2);
    EXPECT_EQ(missing.lfQuality, 1);
    EXPECT_EQ(missing.lfPitchAndFamily, 34);
    EXPECT_STREQ(missing.lfFaceName, "System");
    EXPECT_FALSE(Exists(Path("ts2000.ini")));

    LOGFONTA font{};
    font.lfHeight = -20;
    font.lfWidth = 7;
    font.lfEscapement = 900;
    font.lfOrientation = 450;
    font.lfWeight = 400;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 204;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 4;
    font.lfQuality = 2;
    font.lfPitchAndFamily = 18;
    lstrcpynA(font.lfFaceName, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde", LF_FACESIZE);  // 31 characters
    EXPECT_TRUE(WriteButtonFont(ts2000, font));
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "FONT", "lfHeight"), "-20");
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "FONT", "lfCharSet"), "204");
    EXPECT_EQ(RawRead(Path("ts2000.ini"), "FONT", "lfFaceName"), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd");
    LOGFONTA back = ReadButtonFont(ts2000);
    lstrcpynA(font.lfFaceName, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd", LF_FACESIZE);
    EXPECT_EQ(std::memcmp(&back, &font, sizeof font), 0);

    const Ts2000IniFile unwritable(Path("no such folder\\ts2000.ini"));
    EXPECT_FALSE(WriteButtonFont(unwritable, font));
    EXPECT_FALSE(unwritable.WriteInt(Ts2000Key::LastQuickButton, 3));
    EXPECT_TRUE(ts2000.WriteInt(Ts2000Key::LastQuickButton, 3));
}

}  // namespace
}  // namespace lex
