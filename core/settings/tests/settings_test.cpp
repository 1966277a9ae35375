// lx2000.ini through SettingsFile, on a file in a temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/files/file_system.h"
#include "core/texts/text_ids.h"
#include "core/settings/settings.h"

namespace lex {
namespace {

std::string RawRead(const std::string& file, const char* section, const char* key, const char* def = "<missing>") {
    char buffer[512];
    GetPrivateProfileStringA(section, key, def, buffer, sizeof buffer, file.c_str());
    return buffer;
}

void RawWrite(const std::string& file, const char* section, const char* key, const char* value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, file.c_str()));
}

std::string FileBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<none>";
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    bytes.resize(read);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::string(temp) + "lexsettings_" + info->name() + "_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir_.c_str(), nullptr);
        program_ = dir_ + "\\prog\\";
        CreateDirectoryA(program_.c_str(), nullptr);
        ini_ = dir_ + "\\lx2000.ini";
        DeleteFileA(ini_.c_str());
        for (int i = 0; i < 8; ++i) DeleteFileA(LogPath(i).c_str());
    }
    void TearDown() override {
        DeleteFileA(ini_.c_str());
        for (int i = 0; i < 8; ++i) DeleteFileA(LogPath(i).c_str());
        RemoveDirectoryA(program_.c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    std::string LogPath(int i) const { return program_ + "akce" + std::to_string(i) + ".idx"; }

    std::string dir_, program_, ini_;
    std::unique_ptr<FileSystem> files_ = MakePlatformFileSystem();
};

// ---------------------------------------------------------------------------

struct DefaultCase {
    Setting id;
    int a, b;
    const char* expected;
};

TEST_F(SettingsTest, MissingFileGivesEveryDefault) {
    const DefaultCase cases[] = {
        {Setting::ProgramPath, 0, 0, ""},
        {Setting::CdFolder, 0, 0, ""},
        {Setting::DiskFolder, 0, 0, ""},
        {Setting::ActionLogOwner, 3, 0, "* *"},
        {Setting::LanguageLetter, 9, 0, "DEF"},
        {Setting::OriginalName, 7, 1, "X"},
        {Setting::TranslationName, 0, 0, "X"},
        {Setting::DictionaryTitle, 9, 1, "X"},
        {Setting::SortType, 8, 0, "-1"},
        {Setting::InstalledLanguages, 0, 0, "2"},
        {Setting::ConfirmExit, 0, 0, "0"},
        {Setting::ClipboardAtStart, 0, 0, "0"},
        {Setting::WindowLeft, 0, 0, "10"},
        {Setting::WindowTop, 0, 0, "10"},
        {Setting::WindowWidth, 0, 0, "600"},
        {Setting::WindowHeight, 0, 0, "400"},
        {Setting::CurrentSlot, 0, 0, "0"},
        {Setting::GrammarSeparator, 0, 0, "."},
        {Setting::HistorySize, 0, 0, "10"},
        {Setting::HistoryText, 99, 0, ""},
        {Setting::HistorySlot, 0, 0, "500"},
        {Setting::KeyboardCoupling, 0, 0, "0"},
        {Setting::UiLanguage, 0, 0, "1"},
        {Setting::ToolbarIcons, 0, 0, "AXCDXQRXGBXIJKLXOP"},
        {Setting::FontHeight, 0, 0, "-13"},
        {Setting::FontWidth, 1, 5, "0"},
        {Setting::FontEscapement, 2, 19, "0"},
        {Setting::FontOrientation, 0, 0, "0"},
        {Setting::FontWeight, 1, 1, "700"},
        {Setting::FontItalic, 0, 0, "0"},
        {Setting::FontUnderline, 0, 0, "0"},
        {Setting::FontStrikeOut, 0, 0, "0"},
        {Setting::FontCharSet, 0, 2, "238"},
        {Setting::FontOutPrecision, 0, 0, "1"},
        {Setting::FontClipPrecision, 0, 0, "2"},
        {Setting::FontQuality, 0, 0, "1"},
        {Setting::FontPitchAndFamily, 0, 0, "34"},
        {Setting::FontFaceName, 2, 3, "Arial"},
        {Setting::KeyboardOriginal, 0, 0, "X"},
        {Setting::KeyboardTranslation, 4, 1, "X"},
        {Setting::KeyboardPronunciation, 9, 1, "X"},
        {Setting::ReversedOriginal, 0, 0, "0"},
        {Setting::ReversedTranslation, 0, 1, "0"},
        {Setting::ReversedPronunciation, 5, 0, "0"},
        {Setting::StandardKeyboard, 0, 0, "X"},
    };
    ASSERT_EQ(sizeof cases / sizeof cases[0], static_cast<size_t>(Setting::Count)) << "every key has a case";
    const SettingsFile file(ini_);
    for (const DefaultCase& c : cases) {
        const std::string got = SettingDefinition(c.id).type == SettingType::Int
                                    ? std::to_string(file.ReadInt(c.id, c.a, c.b))
                                    : file.ReadText(c.id, c.a, c.b);
        EXPECT_EQ(got, c.expected) << file.SectionName(c.id, c.a, c.b) << " " << file.KeyName(c.id, c.a, c.b);
    }
    EXPECT_EQ(GetFileAttributesA(ini_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading creates no file";
}

TEST_F(SettingsTest, FontDefaultsFollowSlotAndType) {
    struct Case { int type, slot, charSet; };
    const Case cases[] = {
        {0, 0, 0},   {0, 6, 0},   {0, 8, 0},   {0, 10, 0},  {0, 4, 204}, {0, 2, 238}, {0, 1, 238},
        {0, 12, 238}, {1, 1, 0},  {1, 7, 0},   {1, 9, 0},   {1, 11, 0},  {1, 5, 204}, {1, 3, 238},
        {1, 0, 238}, {2, 0, 238}, {2, 4, 238}, {2, 5, 238}, {2, 19, 238},
    };
    const SettingsFile file(ini_);
    for (const Case& c : cases) {
        const LOGFONTA font = file.ReadFontSetting(c.type, c.slot);
        EXPECT_EQ(font.lfCharSet, c.charSet) << "type " << c.type << " slot " << c.slot;
        EXPECT_EQ(font.lfHeight, -13);
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_EQ(font.lfOutPrecision, 1);
        EXPECT_EQ(font.lfClipPrecision, 2);
        EXPECT_EQ(font.lfQuality, 1);
        EXPECT_EQ(font.lfPitchAndFamily, 34);
        EXPECT_STREQ(font.lfFaceName, "Arial");
    }
}

// ---------------------------------------------------------------------------

struct WriteCase {
    Setting id;
    int a, b;
    const char* section;
    const char* key;
    const char* value;
};

TEST_F(SettingsTest, EveryKeyIsWrittenUnderItsNameAndReadBack) {
    const WriteCase cases[] = {
        {Setting::ProgramPath, 0, 0, "CESTY", "Umisteni programu", "C:\\Lex\\lexora.exe"},
        {Setting::CdFolder, 0, 0, "CESTY", "Umisteni slovni zasoby CD", "E:\\DATA\\"},
        {Setting::DiskFolder, 0, 0, "CESTY", "Umisteni slovni zasoby DISK", "C:\\Lex\\data\\"},
        {Setting::ActionLogOwner, 4, 0, "INDEX", "akce4.idx", "C:\\Other\\"},
        {Setting::LanguageLetter, 3, 0, "JAZYKY", "Tlacitko3", "fr"},
        {Setting::OriginalName, 7, 1, "JAZYKY", "JmenoOriginalu7_1", "\xC8" "esky"},
        {Setting::TranslationName, 8, 0, "JAZYKY", "JmenoPrekladu8_0", "Polski"},
        {Setting::DictionaryTitle, 9, 1, "JAZYKY", "NadpisSlovniku9_1", "Slovnik 10"},
        {Setting::SortType, 7, 0, "JAZYKY", "Razeni7_0", "7"},
        {Setting::InstalledLanguages, 0, 0, "JAZYKY", "Instalovane jazyky", "6"},
        {Setting::ConfirmExit, 0, 0, "POZICE", "Konec", "1"},
        {Setting::ClipboardAtStart, 0, 0, "POZICE", "Schranka", "1"},
        {Setting::WindowLeft, 0, 0, "POZICE", "Levy horni roh X", "-20"},
        {Setting::WindowTop, 0, 0, "POZICE", "Levy horni roh Y", "33"},
        {Setting::WindowWidth, 0, 0, "POZICE", "Sirka", "640"},
        {Setting::WindowHeight, 0, 0, "POZICE", "Vyska", "480"},
        {Setting::CurrentSlot, 0, 0, "SMER", "Smer prekladu", "13"},
        {Setting::GrammarSeparator, 0, 0, "GRAMATIKA", "Znak oddelujici gramaticke poznamky", ";"},
        {Setting::HistorySize, 0, 0, "HISTORIE", "Maximalni pocet pamatovanych slov", "42"},
        {Setting::HistoryText, 42, 0, "HISTORY", "h42", "Hund"},
        {Setting::HistorySlot, 42, 0, "HISTORY", "h42i", "2"},
        {Setting::KeyboardCoupling, 0, 0, "KONFIGURACE", "AKTIVITA TASTRIXU", "1"},
        {Setting::UiLanguage, 0, 0, "KOMM", "JAZ", "4"},
        {Setting::ToolbarIcons, 0, 0, "TLAC", "RYCHLOIKONY", "ABXQ"},
        {Setting::FontHeight, 0, 0, "TTFO0", "lfHeight", "-16"},
        {Setting::FontWidth, 1, 13, "TTFT13", "lfWidth", "7"},
        {Setting::FontEscapement, 2, 19, "TTFV19", "lfEscapement", "900"},
        {Setting::FontOrientation, 0, 1, "TTFO1", "lfOrientation", "450"},
        {Setting::FontWeight, 1, 2, "TTFT2", "lfWeight", "400"},
        {Setting::FontItalic, 2, 3, "TTFV3", "lfItalic", "1"},
        {Setting::FontUnderline, 0, 4, "TTFO4", "lfUnderline", "1"},
        {Setting::FontStrikeOut, 1, 5, "TTFT5", "lfStrikeOut", "1"},
        {Setting::FontCharSet, 2, 6, "TTFV6", "lfCharSet", "204"},
        {Setting::FontOutPrecision, 0, 7, "TTFO7", "lfOutPrecision", "3"},
        {Setting::FontClipPrecision, 1, 8, "TTFT8", "lfClipPrecision", "4"},
        {Setting::FontQuality, 2, 9, "TTFV9", "lfQuality", "2"},
        {Setting::FontPitchAndFamily, 0, 10, "TTFO10", "lfPitchAndFamily", "18"},
        {Setting::FontFaceName, 1, 11, "TTFT11", "lfFaceName", "Times New Roman"},
        {Setting::KeyboardOriginal, 2, 0, "TASTRIX", "TastrixO2_0", "C:\\Tastrix\\rus.tsb"},
        {Setting::KeyboardTranslation, 2, 1, "TASTRIX", "TastrixP2_1", "C:\\Tastrix\\cz.tsb"},
        {Setting::KeyboardPronunciation, 0, 0, "TASTRIX", "TastrixV0_0", "C:\\Tastrix\\ipa.tsb"},
        {Setting::ReversedOriginal, 6, 1, "TASTRIX", "TastrixO_ZAPIS6_1", "1"},
        {Setting::ReversedTranslation, 6, 0, "TASTRIX", "TastrixP_ZAPIS6_0", "1"},
        {Setting::ReversedPronunciation, 1, 1, "TASTRIX", "TastrixV_ZAPIS1_1", "1"},
        {Setting::StandardKeyboard, 0, 0, "TASTRIX", "STANDARD", "C:\\Tastrix\\std.tsb"},
    };
    ASSERT_EQ(sizeof cases / sizeof cases[0], static_cast<size_t>(Setting::Count)) << "every key has a case";
    {
        const SettingsFile writer(ini_);
        for (const WriteCase& c : cases) {
            if (SettingDefinition(c.id).type == SettingType::Int)
                writer.WriteInt(c.id, std::stoi(c.value), c.a, c.b);
            else
                writer.WriteText(c.id, c.value, c.a, c.b);
        }
    }
    const SettingsFile reader(ini_);
    for (const WriteCase& c : cases) {
        EXPECT_EQ(RawRead(ini_, c.section, c.key), c.value) << c.section << " " << c.key;
        const std::string got = SettingDefinition(c.id).type == SettingType::Int
                                    ? std::to_string(reader.ReadInt(c.id, c.a, c.b))
                                    : reader.ReadText(c.id, c.a, c.b);
        EXPECT_EQ(got, c.value) << c.section << " " << c.key;
    }
}

TEST_F(SettingsTest, TextsAreCutToTheirBuffers) {
    const SettingsFile file(ini_);
    const std::string longText(400, 'w');
    file.WriteText(Setting::HistoryText, longText, 0);
    file.WriteText(Setting::LanguageLetter, "abcdefghijklmnop", 0);
    file.WriteText(Setting::ToolbarIcons, longText);
    EXPECT_EQ(file.ReadText(Setting::HistoryText, 0), std::string(253, 'w'));
    EXPECT_EQ(file.ReadText(Setting::LanguageLetter, 0), "abcdefghi");
    EXPECT_EQ(file.ReadText(Setting::ToolbarIcons), std::string(99, 'w'));
}

TEST_F(SettingsTest, FontSettingRoundTrip) {
    const SettingsFile file(ini_);
    LOGFONTA font{};
    font.lfHeight = -27;
    font.lfWidth = 11;
    font.lfEscapement = 900;
    font.lfOrientation = 900;
    font.lfWeight = 400;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 204;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 4;
    font.lfQuality = 2;
    font.lfPitchAndFamily = 18;
    std::strcpy(font.lfFaceName, "Courier New");
    file.WriteFontSetting(1, 17, font);

    const LOGFONTA back = SettingsFile(ini_).ReadFontSetting(1, 17);
    EXPECT_EQ(std::memcmp(&back, &font, sizeof font), 0);
    EXPECT_EQ(RawRead(ini_, "TTFT17", "lfCharSet"), "204");
    // Other sections keep their defaults.
    EXPECT_EQ(file.ReadFontSetting(0, 17).lfCharSet, 238);
    EXPECT_EQ(file.ReadFontSetting(1, 16).lfHeight, -13);

    // A face name longer than the field is cut to 31 characters.
    RawWrite(ini_, "TTFO2", "lfFaceName", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij");
    EXPECT_STREQ(file.ReadFontSetting(0, 2).lfFaceName, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
}

// ---------------------------------------------------------------------------

TEST_F(SettingsTest, NumbersOutOfRangeGiveTheDefault) {
    struct Case {
        const char* section;
        const char* key;
        const char* stored;
        std::function<int(const SettingsFile&)> read;
        int expected;
    };
    auto ui = [](const SettingsFile& f) { return f.ReadUiLanguage(); };
    auto slot = [](const SettingsFile& f) { return f.ReadCurrentSlot(); };
    auto hslot = [](const SettingsFile& f) { return f.ReadHistorySlot(7); };
    auto hsize = [](const SettingsFile& f) { return f.ReadHistorySize(); };
    auto width = [](const SettingsFile& f) { return f.ReadWindowRect().Width; };
    auto height = [](const SettingsFile& f) { return f.ReadWindowRect().Height; };
    const Case cases[] = {
        {"KOMM", "JAZ", "0", ui, 0},
        {"KOMM", "JAZ", "8", ui, 8},
        {"KOMM", "JAZ", "9", ui, 1},
        {"KOMM", "JAZ", "-1", ui, 1},
        {"SMER", "Smer prekladu", "19", slot, 19},
        {"SMER", "Smer prekladu", "20", slot, 0},
        {"SMER", "Smer prekladu", "-1", slot, 0},
        {"HISTORY", "h7i", "0", hslot, 0},
        {"HISTORY", "h7i", "19", hslot, 19},
        {"HISTORY", "h7i", "500", hslot, 500},
        {"HISTORY", "h7i", "20", hslot, 500},
        {"HISTORY", "h7i", "-1", hslot, 500},
        {"HISTORY", "h7i", "499", hslot, 500},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "500", hsize, 100},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "100", hsize, 100},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "5", hsize, 5},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "3", hsize, 5},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "2", hsize, 5},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "-7", hsize, 5},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "abc", hsize, 5},
        {"POZICE", "Sirka", "200", width, 310},
        {"POZICE", "Sirka", "299", width, 310},
        {"POZICE", "Sirka", "300", width, 300},
        {"POZICE", "Vyska", "100", height, 360},
        {"POZICE", "Vyska", "349", height, 360},
        {"POZICE", "Vyska", "350", height, 350},
    };
    const SettingsFile file(ini_);
    for (const Case& c : cases) {
        RawWrite(ini_, c.section, c.key, c.stored);
        EXPECT_EQ(c.read(file), c.expected) << c.key << "=" << c.stored;
        // Reading never rewrites the stored text.
        EXPECT_EQ(RawRead(ini_, c.section, c.key), c.stored);
    }
}

TEST_F(SettingsTest, HistorySizeIsStoredAsTypedAndUsedClamped) {
    const SettingsFile file(ini_);
    file.WriteText(Setting::HistorySize, "500");
    EXPECT_EQ(RawRead(ini_, "HISTORIE", "Maximalni pocet pamatovanych slov"), "500");
    EXPECT_EQ(file.ReadHistorySize(), 100);
}

TEST_F(SettingsTest, SortTypesAtStart) {
    struct Case {
        int pair, direction;
        const char* stored;  // nullptr: no key
        int expected;
    };
    const Case cases[] = {
        {0, 0, "9", 0}, {1, 0, "7", 2}, {2, 0, nullptr, 3}, {3, 0, "0", 4}, {4, 0, nullptr, 5},
        {5, 0, "10", 6}, {0, 1, "7", 1}, {5, 1, nullptr, 1},
        {7, 0, "7", 7},   // user pairs take the stored value
        {6, 1, "0", 0},
        {9, 0, "10", 10},
        {6, 0, nullptr, 0},  // missing: 0 for direction 0 ...
        {8, 1, nullptr, 1},  // ... and 1 for direction 1
        {8, 0, "11", 0},     // out of range: the default
        {9, 1, "-5", 1},
        {7, 1, "-1", 1},
    };
    const SettingsFile file(ini_);
    for (const Case& c : cases) {
        if (c.stored) {
            const std::string key = "Razeni" + std::to_string(c.pair) + "_" + std::to_string(c.direction);
            RawWrite(ini_, "JAZYKY", key.c_str(), c.stored);
        }
    }
    for (const Case& c : cases) {
        EXPECT_EQ(file.ReadSortType(2 * c.pair + c.direction), c.expected)
            << "pair " << c.pair << " direction " << c.direction;
    }
}

TEST_F(SettingsTest, LanguageLetters) {
    struct Case {
        int pair;
        const char* stored;  // nullptr: no key
        char expected;
    };
    const Case cases[] = {
        {0, nullptr, 'A'}, {1, nullptr, 'N'}, {2, nullptr, 'R'}, {3, "f", 'F'}, {4, nullptr, 'S'},
        {5, "DEF", 'I'},   {6, nullptr, 0},   {7, "ukr", 'U'},   {8, "3x", '3'}, {9, "", 0},
    };
    const SettingsFile file(ini_);
    for (const Case& c : cases)
        if (c.stored) file.WriteText(Setting::LanguageLetter, c.stored, c.pair);
    for (const Case& c : cases) EXPECT_EQ(file.ReadLanguageLetter(c.pair), c.expected) << "pair " << c.pair;
}

TEST_F(SettingsTest, HistoryWritesAllHundredPlaces) {
    const SettingsFile file(ini_);
    // An earlier, longer history must not survive.
    std::vector<HistoryEntry> old(100, HistoryEntry{"old", 3});
    file.WriteHistory(old, 100);
    EXPECT_EQ(RawRead(ini_, "HISTORY", "h99"), "old");

    const std::vector<HistoryEntry> entries = {{"cat", 0}, {"", 7}, {"Hund", 2}, {"beyond", 5}};
    file.WriteHistory(entries, 3);
    struct Case { const char* key; const char* value; };
    const Case cases[] = {
        {"h0", "cat"}, {"h0i", "0"}, {"h1", ""},    {"h1i", "500"}, {"h2", "Hund"}, {"h2i", "2"},
        {"h3", ""},    {"h3i", "500"}, {"h50", ""}, {"h50i", "500"}, {"h99", ""},   {"h99i", "500"},
    };
    for (const Case& c : cases) EXPECT_EQ(RawRead(ini_, "HISTORY", c.key), c.value) << c.key;

    const std::vector<HistoryEntry> back = file.ReadHistory(5);
    ASSERT_EQ(back.size(), 5u);
    const HistoryEntry expected[] = {{"cat", 0}, {"", 500}, {"Hund", 2}, {"", 500}, {"", 500}};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(back[j].Text, expected[j].Text) << j;
        EXPECT_EQ(back[j].Slot, expected[j].Slot) << j;
    }
    EXPECT_EQ(file.ReadHistory(500).size(), 100u);
    EXPECT_TRUE(file.ReadHistory(-3).empty());
}

// ---------------------------------------------------------------------------

TEST_F(SettingsTest, ActionLogRegistration) {
    struct Step {
        const char* what;
        const char* presetKey;  // raw [INDEX] value written before the step
        const char* presetValue;
        bool logThere;          // a log file with content lies there before the step
        const char* diskFolder;
        int index;
        bool registered;
        bool created;
    };
    const Step steps[] = {
        {"fresh file", nullptr, nullptr, false, "C:\\Data\\", 0, true, true},
        {"same folder again", nullptr, nullptr, false, "C:\\Data\\", 0, false, false},
        {"second folder", nullptr, nullptr, false, "D:\\Other\\", 1, true, true},
        {"back to the first", nullptr, nullptr, false, "C:\\Data\\", 0, false, false},
        {"second again", nullptr, nullptr, false, "D:\\Other\\", 1, false, false},
        {"empty value ends the list", "akce3.idx", "E:\\Third\\", false, "E:\\Third\\", 2, true, true},
        {"the empty key was taken", nullptr, nullptr, false, "E:\\Third\\", 2, false, false},
        {"folder differing in case, log already there", nullptr, nullptr, true, "c:\\data\\", 4, true, false},
    };
    // Key 2 empty; step 6 puts a key 3 behind it.
    RawWrite(ini_, "INDEX", "akce2.idx", "");
    const SettingsFile file(ini_);
    const std::string content(32, '\x07');
    for (const Step& s : steps) {
        if (s.presetKey) RawWrite(ini_, "INDEX", s.presetKey, s.presetValue);
        if (s.logThere) WriteBytes(LogPath(s.index), content);
        const ActionLogRegistration r = file.RegisterActionLog(*files_, s.diskFolder, program_);
        EXPECT_EQ(r.Index, s.index) << s.what;
        EXPECT_EQ(r.Path, LogPath(s.index)) << s.what;
        EXPECT_EQ(r.Registered, s.registered) << s.what;
        EXPECT_EQ(r.Created, s.created) << s.what;
        EXPECT_FALSE(r.CreateFailed) << s.what;
        const std::string key = "akce" + std::to_string(s.index) + ".idx";
        EXPECT_EQ(RawRead(ini_, "INDEX", key.c_str()), s.diskFolder) << s.what;
        EXPECT_EQ(FileBytes(r.Path), s.logThere ? content : std::string(18, '\0')) << s.what;
    }
    EXPECT_EQ(RawRead(ini_, "INDEX", "akce3.idx"), "E:\\Third\\");
    const std::vector<std::string> keys = file.RegisteredActionLogKeys();
    EXPECT_EQ(keys, (std::vector<std::string>{"akce0.idx", "akce1.idx", "akce2.idx", "akce3.idx", "akce4.idx"}));
}

TEST_F(SettingsTest, AnExistingActionLogIsNeverEmptied) {
    // A log with one undo record in it.
    std::string log(18 + 14, '\0');
    log[0] = 1;
    log[8] = 1;
    log[18] = 3;
    log[20] = 1;
    struct Case {
        const char* what;
        bool registered;  // [INDEX] already names the folder
        bool heldOpen;    // another handle holds the log exclusively
    };
    const Case cases[] = {
        {"registered log", true, false},
        {"log there but not registered", false, false},
        {"registered log held open exclusively", true, true},
        {"unregistered log held open exclusively", false, true},
    };
    for (const Case& c : cases) {
        DeleteFileA(ini_.c_str());
        WriteBytes(LogPath(0), log);
        if (c.registered) RawWrite(ini_, "INDEX", "akce0.idx", "C:\\Data\\");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.heldOpen) {
            held = CreateFileA(LogPath(0).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.what;
        }
        const ActionLogRegistration r = SettingsFile(ini_).RegisterActionLog(*files_, "C:\\Data\\", program_);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(r.Index, 0) << c.what;
        EXPECT_EQ(r.Registered, !c.registered) << c.what;
        EXPECT_FALSE(r.Created) << c.what;
        EXPECT_FALSE(r.CreateFailed) << c.what;
        EXPECT_EQ(FileBytes(LogPath(0)), log) << c.what;
    }
}

// Another program (here a second process) has the log open for writing, as
// the dictionary program or the bulk utility has during a change.
TEST_F(SettingsTest, ActionLogHeldByAnotherProgramIsKept) {
    const std::string log(18 + 2 * 14, '\x05');
    WriteBytes(LogPath(0), log);

    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string holder = exe;
    holder = holder.substr(0, holder.find_last_of('\\') + 1) + "lexsettings_log_holder.exe";
    const std::string tag = std::to_string(GetCurrentProcessId());
    const std::string readyName = "lexsettings_ready_" + tag, releaseName = "lexsettings_release_" + tag;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
    ASSERT_TRUE(ready && release);

    std::string command = "\"" + holder + "\" \"" + LogPath(0) + "\" " + readyName + " " + releaseName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << holder;
    ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
    // The holder really has it: this process cannot open it.
    HANDLE probe = CreateFileA(LogPath(0).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(probe, INVALID_HANDLE_VALUE);
    if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);

    RawWrite(ini_, "INDEX", "akce0.idx", "C:\\Data\\");
    const ActionLogRegistration found = SettingsFile(ini_).RegisterActionLog(*files_, "C:\\Data\\", program_);
    DeleteFileA(ini_.c_str());
    const ActionLogRegistration fresh = SettingsFile(ini_).RegisterActionLog(*files_, "C:\\Data\\", program_);

    SetEvent(release);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(ready);
    CloseHandle(release);

    EXPECT_EQ(exitCode, 0u) << "the holder had the log open";
    for (const ActionLogRegistration& r : {found, fresh}) {
        EXPECT_EQ(r.Index, 0);
        EXPECT_FALSE(r.Created);
        EXPECT_FALSE(r.CreateFailed);
    }
    EXPECT_FALSE(found.Registered);
    EXPECT_TRUE(fresh.Registered);
    EXPECT_EQ(FileBytes(LogPath(0)), log);
}

TEST_F(SettingsTest, ActionLogThatCannotBeCreatedIsReported) {
    const ActionLogRegistration r =
        SettingsFile(ini_).RegisterActionLog(*files_, "C:\\Data\\", dir_ + "\\no such folder\\");
    EXPECT_EQ(r.Index, 0);
    EXPECT_TRUE(r.Registered);
    EXPECT_FALSE(r.Created);
    EXPECT_TRUE(r.CreateFailed);
}

// ---------------------------------------------------------------------------

std::string FakeText(int id) { return "text" + std::to_string(id); }

TEST_F(SettingsTest, LoadAtStartFromMissingFile) {
    const SettingsFile file(ini_);
    ProgramSettings s;
    s.ProgramFolder = program_;
    LoadUiLanguage(file, s);
    LoadAtStart(file, *files_, FakeText, s);

    EXPECT_EQ(s.UiLanguage, 1);
    const int sortTypes[kSlotCount] = {0, 1, 2, 1, 3, 1, 4, 1, 5, 1, 6, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(s.Dictionary.SortType[slot], sortTypes[slot]) << slot;
    const char letters[kPairCount] = {'A', 'N', 'R', 'F', 'S', 'I', 0, 0, 0, 0};
    for (int pair = 0; pair < kPairCount; ++pair) EXPECT_EQ(s.LanguageLetters[pair], letters[pair]) << pair;
    for (int slot = 12; slot < kSlotCount; ++slot) {
        EXPECT_EQ(s.OriginalNames[slot], "X");
        EXPECT_EQ(s.TranslationNames[slot], "X");
        EXPECT_EQ(s.DictionaryTitles[slot], "X");
    }
    EXPECT_EQ(s.CdFolder, "");
    EXPECT_EQ(s.DiskFolder, "");
    EXPECT_EQ(s.Dictionary.ActionLogPath, LogPath(0));
    EXPECT_EQ(FileBytes(LogPath(0)), std::string(18, '\0'));
    EXPECT_FALSE(s.ConfigFlags.ConfirmExit);
    EXPECT_FALSE(s.ConfigFlags.ClipboardWatchAtStart);
    EXPECT_EQ(s.InstalledLanguages, 2);
    EXPECT_EQ(s.Dictionary.CurrentSlot, 0);
    EXPECT_EQ(s.Dictionary.GrammarSeparator, '.');
    EXPECT_EQ(s.Dictionary.HistorySize, 10);
    EXPECT_EQ(s.KeyboardCouplingSetting, 0);
    ASSERT_EQ(s.History.size(), 10u);
    for (const HistoryEntry& e : s.History) {
        EXPECT_EQ(e.Text, "");
        EXPECT_EQ(e.Slot, kNoSlot);
    }
}

TEST_F(SettingsTest, LoadAtStartFromFilledFile) {
    struct Raw { const char* section; const char* key; const char* value; };
    const Raw raw[] = {
        {"CESTY", "Umisteni slovni zasoby CD", "E:\\CD\\"},
        {"CESTY", "Umisteni slovni zasoby Disk", "C:\\Disk\\"},
        {"INDEX", "akce0.idx", "C:\\Elsewhere\\"},
        {"JAZYKY", "Tlacitko6", "polski"},
        {"JAZYKY", "JmenoOriginalu0_0", "ignored for the fixed pairs"},
        {"JAZYKY", "JmenoOriginalu6_0", "Polski"},
        {"JAZYKY", "JmenoPrekladu6_1", "Polski"},
        {"JAZYKY", "NadpisSlovniku6_0", "Polsko-cesky"},
        {"JAZYKY", "Razeni6_0", "9"},
        {"JAZYKY", "Instalovane jazyky", "7"},
        {"POZICE", "Konec", "1"},
        {"POZICE", "Schranka", "1"},
        {"SMER", "Smer prekladu", "13"},
        {"GRAMATIKA", "Znak oddelujici gramaticke poznamky", "::"},
        {"HISTORIE", "Maximalni pocet pamatovanych slov", "3"},
        {"KONFIGURACE", "AKTIVITA TASTRIXU", "1"},
        {"KOMM", "JAZ", "4"},
        {"HISTORY", "h0", "kniga"},
        {"HISTORY", "h0i", "4"},
        {"HISTORY", "h1", "dog"},
        {"HISTORY", "h1i", "77"},
        {"HISTORY", "h4", "fifth"},
        {"HISTORY", "h4i", "1"},
        {"HISTORY", "h5", "beyond the size"},
    };
    for (const Raw& r : raw) RawWrite(ini_, r.section, r.key, r.value);

    const SettingsFile file(ini_);
    ProgramSettings s;
    s.ProgramFolder = program_;
    LoadUiLanguage(file, s);
    LoadAtStart(file, *files_, FakeText, s);

    EXPECT_EQ(s.UiLanguage, 4);
    EXPECT_EQ(s.CdFolder, "E:\\CD\\");
    EXPECT_EQ(s.DiskFolder, "C:\\Disk\\");
    EXPECT_EQ(s.Dictionary.ActionLogPath, LogPath(1));
    EXPECT_EQ(RawRead(ini_, "INDEX", "akce1.idx"), "C:\\Disk\\");
    EXPECT_EQ(s.Dictionary.CdWordsPaths[0], "E:\\CD\\ac_a.slo");
    EXPECT_EQ(s.Dictionary.CdTranslationsPaths[3], "E:\\CD\\cn_n.slo");
    EXPECT_EQ(s.Dictionary.KeyIndexPaths[19], "C:\\Disk\\j10_2.idx");
    EXPECT_EQ(s.Dictionary.NodePaths[4], "C:\\Disk\\j03_o1di.slo");
    EXPECT_EQ(s.Dictionary.UserWordsPaths[2], "C:\\Disk\\nc_nd.slo");
    EXPECT_EQ(s.Dictionary.UserTranslationsPaths[1], "C:\\Disk\\ca_ad.slo");
    EXPECT_EQ(s.LanguageLetters[6], 'P');
    EXPECT_EQ(s.Dictionary.SortType[12], 9);
    EXPECT_EQ(s.OriginalNames[12], "Polski");
    EXPECT_EQ(s.TranslationNames[13], "Polski");
    EXPECT_EQ(s.DictionaryTitles[12], "Polsko-cesky");
    EXPECT_EQ(s.OriginalNames[13], "X");
    // Pairs 0..5 show the program's own names in the UI language.
    struct Fixed { int slot; int original, translation, title; };
    const Fixed fixed[] = {
        {0, kTextOriginalEnglish, kTextTranslationCzech, kTextTitleEnglishCzech},
        {1, kTextOriginalCzech, kTextTranslationEnglish, kTextTitleCzechEnglish},
        {2, kTextOriginalGerman, kTextTranslationCzech, kTextTitleGermanCzech},
        {3, kTextOriginalCzech, kTextTranslationGerman, kTextTitleCzechGerman},
        {4, kTextOriginalRussian, kTextTranslationCzech, kTextTitleRussianCzech},
        {5, kTextOriginalCzech, kTextTranslationRussian, kTextTitleCzechRussian},
        {10, kTextOriginalItalian, kTextTranslationCzech, kTextTitleItalianCzech},
        {11, kTextOriginalCzech, kTextTranslationItalian, kTextTitleCzechItalian},
    };
    for (const Fixed& f : fixed) {
        EXPECT_EQ(s.OriginalNames[f.slot], FakeText(f.original)) << f.slot;
        EXPECT_EQ(s.TranslationNames[f.slot], FakeText(f.translation)) << f.slot;
        EXPECT_EQ(s.DictionaryTitles[f.slot], FakeText(f.title)) << f.slot;
    }
    EXPECT_TRUE(s.ConfigFlags.ConfirmExit);
    EXPECT_TRUE(s.ConfigFlags.ClipboardWatchAtStart);
    EXPECT_EQ(s.InstalledLanguages, 7);
    EXPECT_EQ(s.Dictionary.CurrentSlot, 13);
    EXPECT_EQ(s.Dictionary.GrammarSeparator, ':');
    EXPECT_EQ(s.Dictionary.HistorySize, 5);
    EXPECT_EQ(s.KeyboardCouplingSetting, 1);
    ASSERT_EQ(s.History.size(), 5u);
    EXPECT_EQ(s.History[0].Text, "kniga");
    EXPECT_EQ(s.History[0].Slot, 4);
    EXPECT_EQ(s.History[1].Text, "dog");
    EXPECT_EQ(s.History[1].Slot, kNoSlot);
    EXPECT_EQ(s.History[4].Text, "fifth");
    EXPECT_EQ(s.History[4].Slot, 1);
}

}  // namespace
}  // namespace lex
