#include "settings.h"

#include "core/files/file_system.h"

#include "core/texts/slot_texts.h"
#include "core/texts/text_loader.h"
#include "core/engine/engine.h"
#include "core/engine/slots.h"

#include <cstring>
#include <utility>

namespace lex {

namespace {

using T = SettingType;
using A = SettingArgs;

constexpr const char kFontSection[] = "TTF%c%d";

int FontCharSetDefault(int type, int slot) { return DefaultFontCharSet(type, slot); }

// Every key of lx2000.ini, in the order of the Setting enumeration.
constexpr SettingDef kSettings[] = {
    {Setting::ProgramPath, "CESTY", "Umisteni programu", T::Text, A::None, 0, "", 255},
    {Setting::CdFolder, "CESTY", "Umisteni slovni zasoby CD", T::Text, A::None, 0, "", 255},
    {Setting::DiskFolder, "CESTY", "Umisteni slovni zasoby Disk", T::Text, A::None, 0, "", 255},
    {Setting::ActionLogOwner, "INDEX", "akce%d.idx", T::Text, A::Index, 0, "* *", 255},
    {Setting::LanguageLetter, "JAZYKY", "Tlacitko%d", T::Text, A::Index, 0, "DEF", 10},
    {Setting::OriginalName, "JAZYKY", "JmenoOriginalu%d_%d", T::Text, A::PairDirection, 0, "X", 254},
    {Setting::TranslationName, "JAZYKY", "JmenoPrekladu%d_%d", T::Text, A::PairDirection, 0, "X", 254},
    {Setting::DictionaryTitle, "JAZYKY", "NadpisSlovniku%d_%d", T::Text, A::PairDirection, 0, "X", 254},
    {Setting::SortType, "JAZYKY", "Razeni%d_%d", T::Int, A::PairDirection, -1, nullptr, 0},
    {Setting::InstalledLanguages, "JAZYKY", "Instalovane jazyky", T::Int, A::None, 2, nullptr, 0},
    {Setting::ConfirmExit, "POZICE", "Konec", T::Int, A::None, 0, nullptr, 0},
    {Setting::ClipboardAtStart, "POZICE", "Schranka", T::Int, A::None, 0, nullptr, 0},
    {Setting::WindowLeft, "POZICE", "Levy horni roh X", T::Int, A::None, 10, nullptr, 0},
    {Setting::WindowTop, "POZICE", "Levy horni roh Y", T::Int, A::None, 10, nullptr, 0},
    {Setting::WindowWidth, "POZICE", "Sirka", T::Int, A::None, 600, nullptr, 0},
    {Setting::WindowHeight, "POZICE", "Vyska", T::Int, A::None, 400, nullptr, 0},
    {Setting::CurrentSlot, "SMER", "Smer prekladu", T::Int, A::None, 0, nullptr, 0},
    {Setting::GrammarSeparator, "GRAMATIKA", "Znak oddelujici gramaticke poznamky", T::Text, A::None, 0, ".", 255},
    {Setting::HistorySize, "HISTORIE", "Maximalni pocet pamatovanych slov", T::Int, A::None, 10, nullptr, 0},
    {Setting::HistoryText, "HISTORY", "h%d", T::Text, A::Index, 0, "", kHistoryTextSize},
    {Setting::HistorySlot, "HISTORY", "h%di", T::Int, A::Index, kNoSlot, nullptr, 0},
    {Setting::KeyboardCoupling, "KONFIGURACE", "AKTIVITA TASTRIXU", T::Int, A::None, 0, nullptr, 0},
    {Setting::UiLanguage, "KOMM", "JAZ", T::Int, A::None, 1, nullptr, 0},
    {Setting::ToolbarIcons, "TLAC", "RYCHLOIKONY", T::Text, A::None, 0, "AXCDXQRXGBXIJKLXOP", 100},
    {Setting::FontHeight, kFontSection, "lfHeight", T::Int, A::FontTypeSlot, -13, nullptr, 0},
    {Setting::FontWidth, kFontSection, "lfWidth", T::Int, A::FontTypeSlot, 0, nullptr, 0},
    {Setting::FontEscapement, kFontSection, "lfEscapement", T::Int, A::FontTypeSlot, 0, nullptr, 0},
    {Setting::FontOrientation, kFontSection, "lfOrientation", T::Int, A::FontTypeSlot, 0, nullptr, 0},
    {Setting::FontWeight, kFontSection, "lfWeight", T::Int, A::FontTypeSlot, 700, nullptr, 0},
    {Setting::FontItalic, kFontSection, "lfItalic", T::Int, A::FontTypeSlot, 0, nullptr, 0},
    {Setting::FontUnderline, kFontSection, "lfUnderline", T::Int, A::FontTypeSlot, 0, nullptr, 0},
    {Setting::FontStrikeOut, kFontSection, "lfStrikeOut", T::Int, A::FontTypeSlot, 0, nullptr, 0},
    // The default character set depends on slot and type (DefaultFontCharSet).
    {Setting::FontCharSet, kFontSection, "lfCharSet", T::Int, A::FontTypeSlot, 238, nullptr, 0, FontCharSetDefault},
    {Setting::FontOutPrecision, kFontSection, "lfOutPrecision", T::Int, A::FontTypeSlot, 1, nullptr, 0},
    {Setting::FontClipPrecision, kFontSection, "lfClipPrecision", T::Int, A::FontTypeSlot, 2, nullptr, 0},
    {Setting::FontQuality, kFontSection, "lfQuality", T::Int, A::FontTypeSlot, 1, nullptr, 0},
    {Setting::FontPitchAndFamily, kFontSection, "lfPitchAndFamily", T::Int, A::FontTypeSlot, 34, nullptr, 0},
    {Setting::FontFaceName, kFontSection, "lfFaceName", T::Text, A::FontTypeSlot, 0, "Arial", LF_FACESIZE},
    {Setting::KeyboardOriginal, "TASTRIX", "TastrixO%d_%d", T::Text, A::PairDirection, 0, "X", 254},
    {Setting::KeyboardTranslation, "TASTRIX", "TastrixP%d_%d", T::Text, A::PairDirection, 0, "X", 254},
    {Setting::KeyboardPronunciation, "TASTRIX", "TastrixV%d_%d", T::Text, A::PairDirection, 0, "X", 254},
    {Setting::ReversedOriginal, "TASTRIX", "TastrixO_ZAPIS%d_%d", T::Int, A::PairDirection, 0, nullptr, 0},
    {Setting::ReversedTranslation, "TASTRIX", "TastrixP_ZAPIS%d_%d", T::Int, A::PairDirection, 0, nullptr, 0},
    {Setting::ReversedPronunciation, "TASTRIX", "TastrixV_ZAPIS%d_%d", T::Int, A::PairDirection, 0, nullptr, 0},
    {Setting::StandardKeyboard, "TASTRIX", "STANDARD", T::Text, A::None, 0, "X", 254},
};
static_assert(IniTableInOrder(kSettings), "one row per setting, in the order of the enumeration");

// Fixed sort types of direction 0 of pairs 0..5; direction 1 sorts Czech (1).
constexpr int16_t kFixedSortTypes[6] = {0, 2, 3, 4, 5, 6};
constexpr int kFixedPairs = 6;
constexpr char kBuiltInLetters[kFixedPairs] = {'A', 'N', 'R', 'F', 'S', 'I'};

Setting KeyboardPathSetting(int field) {
    return field == 0 ? Setting::KeyboardOriginal
                      : field == 1 ? Setting::KeyboardTranslation : Setting::KeyboardPronunciation;
}

Setting ReversedSetting(int field) {
    return field == 0 ? Setting::ReversedOriginal
                      : field == 1 ? Setting::ReversedTranslation : Setting::ReversedPronunciation;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

const SettingDef& IniKeyTable<Setting>::Row(Setting id) { return kSettings[static_cast<int>(id)]; }

const SettingDef& SettingDefinition(Setting id) { return IniKeyTable<Setting>::Row(id); }

BYTE DefaultFontCharSet(int type, int slot) {
    if (type == 0) {
        if (slot == 0 || slot == 6 || slot == 8 || slot == 10) return ANSI_CHARSET;
        if (slot == 4) return RUSSIAN_CHARSET;
    } else if (type == 1) {
        if (slot == 1 || slot == 7 || slot == 9 || slot == 11) return ANSI_CHARSET;
        if (slot == 5) return RUSSIAN_CHARSET;
    }
    return EASTEUROPE_CHARSET;
}

int16_t StartSortType(int slot, int storedValue) {
    const int pair = slot / 2;
    const int direction = slot % 2;
    if (pair < kFixedPairs) return direction == 0 ? kFixedSortTypes[pair] : 1;
    if (storedValue >= 0 && storedValue < kSortTypeCount) return static_cast<int16_t>(storedValue);
    return static_cast<int16_t>(direction == 0 ? 0 : 1);
}

int OriginalNameTextId(int slot) { return HasFixedNames(slot) ? FixedOriginalNameId(slot) : -1; }

int TranslationNameTextId(int slot) { return HasFixedNames(slot) ? FixedTranslationNameId(slot) : -1; }

int DictionaryTitleTextId(int slot) { return HasFixedNames(slot) ? FixedDictionaryTitleId(slot) : -1; }

// ---------------------------------------------------------------------------

SettingsFile::SettingsFile(std::string fileName) : IniFile(std::move(fileName)) {}

int SettingsFile::ReadUiLanguage() const {
    return ReadIntInRange(Setting::UiLanguage, 0, kUiLanguageCount - 1);
}

int SettingsFile::ReadCurrentSlot() const { return ReadIntIf(Setting::CurrentSlot, IsValidSlot); }

int16_t SettingsFile::ReadSortType(int slot) const {
    if (!IsValidSlot(slot)) return 0;
    return StartSortType(slot, ReadInt(Setting::SortType, slot / 2, slot % 2));
}

int SettingsFile::ReadHistorySize() const {
    return ReadIntClamped(Setting::HistorySize, kMinHistorySize, kMaxHistorySize);
}

// A stored kNoSlot is the default itself.
int SettingsFile::ReadHistorySlot(int place) const { return ReadIntIf(Setting::HistorySlot, IsValidSlot, place); }

char SettingsFile::ReadGrammarSeparator() const {
    const std::string text = ReadText(Setting::GrammarSeparator);
    return text.empty() ? '.' : text[0];
}

char SettingsFile::ReadLanguageLetter(int pair) const {
    const std::string text = ReadText(Setting::LanguageLetter, pair);
    if (text == "DEF") return pair >= 0 && pair < kFixedPairs ? kBuiltInLetters[pair] : 0;
    return text.empty() ? 0 : UpperAscii(text[0]);
}

WindowRect SettingsFile::ReadWindowRect() const {
    WindowRect rect;
    rect.Left = ReadInt(Setting::WindowLeft);
    rect.Top = ReadInt(Setting::WindowTop);
    rect.Width = ReadInt(Setting::WindowWidth);
    rect.Height = ReadInt(Setting::WindowHeight);
    if (rect.Width < 300) rect.Width = 310;
    if (rect.Height < 350) rect.Height = 360;
    return rect;
}

void SettingsFile::WriteWindowRect(const WindowRect& rect) const {
    WriteInt(Setting::WindowLeft, rect.Left);
    WriteInt(Setting::WindowTop, rect.Top);
    WriteInt(Setting::WindowWidth, rect.Width);
    WriteInt(Setting::WindowHeight, rect.Height);
}

std::vector<HistoryEntry> SettingsFile::ReadHistory(int count) const {
    if (count < 0) count = 0;
    if (count > kHistoryKeyCount) count = kHistoryKeyCount;
    std::vector<HistoryEntry> entries(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) {
        entries[j].Text = ReadText(Setting::HistoryText, j);
        entries[j].Slot = ReadHistorySlot(j);
    }
    return entries;
}

void SettingsFile::WriteHistory(const std::vector<HistoryEntry>& entries, int historySize) const {
    for (int j = 0; j < kHistoryKeyCount; ++j) {
        const bool used = j < historySize && j < static_cast<int>(entries.size()) && !entries[j].Text.empty();
        WriteText(Setting::HistoryText, used ? entries[j].Text : std::string(), j);
        WriteInt(Setting::HistorySlot, used ? entries[j].Slot : kNoSlot, j);
    }
}

LOGFONTA SettingsFile::ReadFontSetting(int type, int slot) const {
    LOGFONTA font{};
    font.lfHeight = ReadInt(Setting::FontHeight, type, slot);
    font.lfWidth = ReadInt(Setting::FontWidth, type, slot);
    font.lfEscapement = ReadInt(Setting::FontEscapement, type, slot);
    font.lfOrientation = ReadInt(Setting::FontOrientation, type, slot);
    font.lfWeight = ReadInt(Setting::FontWeight, type, slot);
    font.lfItalic = static_cast<BYTE>(ReadInt(Setting::FontItalic, type, slot));
    font.lfUnderline = static_cast<BYTE>(ReadInt(Setting::FontUnderline, type, slot));
    font.lfStrikeOut = static_cast<BYTE>(ReadInt(Setting::FontStrikeOut, type, slot));
    font.lfCharSet = static_cast<BYTE>(ReadInt(Setting::FontCharSet, type, slot));
    font.lfOutPrecision = static_cast<BYTE>(ReadInt(Setting::FontOutPrecision, type, slot));
    font.lfClipPrecision = static_cast<BYTE>(ReadInt(Setting::FontClipPrecision, type, slot));
    font.lfQuality = static_cast<BYTE>(ReadInt(Setting::FontQuality, type, slot));
    font.lfPitchAndFamily = static_cast<BYTE>(ReadInt(Setting::FontPitchAndFamily, type, slot));
    const std::string face = ReadText(Setting::FontFaceName, type, slot);
    std::memcpy(font.lfFaceName, face.c_str(), face.size() + 1);  // at most 31 characters
    return font;
}

void SettingsFile::WriteFontSetting(int type, int slot, const LOGFONTA& font) const {
    WriteInt(Setting::FontHeight, font.lfHeight, type, slot);
    WriteInt(Setting::FontWidth, font.lfWidth, type, slot);
    WriteInt(Setting::FontEscapement, font.lfEscapement, type, slot);
    WriteInt(Setting::FontOrientation, font.lfOrientation, type, slot);
    WriteInt(Setting::FontWeight, font.lfWeight, type, slot);
    WriteInt(Setting::FontItalic, font.lfItalic, type, slot);
    WriteInt(Setting::FontUnderline, font.lfUnderline, type, slot);
    WriteInt(Setting::FontStrikeOut, font.lfStrikeOut, type, slot);
    WriteInt(Setting::FontCharSet, font.lfCharSet, type, slot);
    WriteInt(Setting::FontOutPrecision, font.lfOutPrecision, type, slot);
    WriteInt(Setting::FontClipPrecision, font.lfClipPrecision, type, slot);
    WriteInt(Setting::FontQuality, font.lfQuality, type, slot);
    WriteInt(Setting::FontPitchAndFamily, font.lfPitchAndFamily, type, slot);
    char face[LF_FACESIZE];
    std::memcpy(face, font.lfFaceName, LF_FACESIZE);
    face[LF_FACESIZE - 1] = '\0';
    WriteText(Setting::FontFaceName, face, type, slot);
}

std::string SettingsFile::ReadKeyboardPath(int slot, int field) const {
    return ReadText(KeyboardPathSetting(field), slot / 2, slot % 2);
}

void SettingsFile::WriteKeyboardPath(int slot, int field, const std::string& path) const {
    WriteText(KeyboardPathSetting(field), path, slot / 2, slot % 2);
}

int SettingsFile::ReadReversedFlag(int slot, int field) const {
    return ReadInt(ReversedSetting(field), slot / 2, slot % 2);
}

void SettingsFile::WriteReversedFlag(int slot, int field, int value) const {
    WriteInt(ReversedSetting(field), value, slot / 2, slot % 2);
}

ActionLogRegistration SettingsFile::RegisterActionLog(FileSystem& files, const std::string& diskFolder,
                                                      const std::string& programFolder) const {
    ActionLogRegistration result;
    int i = 0;
    for (;; ++i) {
        const std::string owner = ReadText(Setting::ActionLogOwner, i);
        if (owner.empty() || owner == "* *") break;  // end of the list
        if (owner == diskFolder) {
            result.Index = i;
            break;
        }
    }
    if (result.Index < 0) {
        result.Index = i;
        WriteText(Setting::ActionLogOwner, diskFolder, i);
        result.Registered = true;
    }
    result.Path = programFolder + KeyName(Setting::ActionLogOwner, result.Index);
    // The log keeps the undo history of its folder: it is created only when
    // none is there (a file too short to be one is none), never emptied.
    if (!ActionLogThere(files, result.Path)) {
        if (CreateEmptyActionLog(files, result.Path) == 1)
            result.Created = true;
        else if (!ActionLogThere(files, result.Path))
            result.CreateFailed = true;
    }
    return result;
}

std::vector<std::string> SettingsFile::RegisteredActionLogKeys() const {
    std::vector<std::string> keys;
    for (int i = 0;; ++i) {
        const std::string owner = ReadText(Setting::ActionLogOwner, i);
        if (owner.empty() || owner == "* *") break;
        keys.push_back(KeyName(Setting::ActionLogOwner, i));
    }
    return keys;
}

// ---------------------------------------------------------------------------

bool FileExists(const std::string& path) { return PlatformFileExists(path); }

int CreateEmptyActionLog(FileSystem& files, const std::string& path) {
    return CreateActionLog(files, path, LogCreation::OnlyWhenMissing);
}

// ---------------------------------------------------------------------------

void LoadUiLanguage(const SettingsFile& file, ProgramSettings& settings) {
    settings.UiLanguage = file.ReadUiLanguage();
}

void LoadAtStart(const SettingsFile& file, FileSystem& files, const UiTextFunction& uiText, ProgramSettings& settings) {
    DictionarySettings& dictionary = settings.Dictionary;

    settings.CdFolder = file.ReadText(Setting::CdFolder);
    settings.DiskFolder = file.ReadText(Setting::DiskFolder);

    settings.ActionLog = file.RegisterActionLog(files, settings.DiskFolder, settings.ProgramFolder);
    dictionary.ActionLogPath = settings.ActionLog.Path;

    for (int pair = 0; pair < kPairCount; ++pair) {
        settings.LanguageLetters[pair] = file.ReadLanguageLetter(pair);
        for (int direction = 0; direction < 2; ++direction) {
            const int slot = 2 * pair + direction;
            dictionary.SortType[slot] = file.ReadSortType(slot);
            settings.OriginalNames[slot] = file.ReadText(Setting::OriginalName, pair, direction);
            settings.TranslationNames[slot] = file.ReadText(Setting::TranslationName, pair, direction);
            settings.DictionaryTitles[slot] = file.ReadText(Setting::DictionaryTitle, pair, direction);
            if (pair < kFixedPairs && uiText) {
                settings.OriginalNames[slot] = uiText(OriginalNameTextId(slot));
                settings.TranslationNames[slot] = uiText(TranslationNameTextId(slot));
                settings.DictionaryTitles[slot] = uiText(DictionaryTitleTextId(slot));
            }
        }
    }
    FillSlotPaths(dictionary, settings.CdFolder, settings.DiskFolder);

    settings.ConfigFlags.ConfirmExit = file.ReadInt(Setting::ConfirmExit) != 0;
    settings.ConfigFlags.ClipboardWatchAtStart = file.ReadInt(Setting::ClipboardAtStart) != 0;
    dictionary.CurrentWord.clear();
    settings.InstalledLanguages = file.ReadInt(Setting::InstalledLanguages);
    dictionary.CurrentSlot = file.ReadCurrentSlot();
    dictionary.GrammarSeparator = file.ReadGrammarSeparator();
    dictionary.HistorySize = file.ReadHistorySize();
    settings.KeyboardCouplingSetting = file.ReadInt(Setting::KeyboardCoupling);
    settings.History = file.ReadHistory(dictionary.HistorySize);
}

}  // namespace lex
