// lx2000.ini, the settings file shared by the dictionary program and the bulk
// utility. Every section and key, its type and its default is in one table
// (SettingDefinition); every read and write goes through SettingsFile, an
// IniFile over that table (ini_file.h) with the readers of this file, whose
// name is given in one place (the bare "lx2000.ini" in the programs, so the
// file lies in the Windows directory; tests give a full temporary path).
//
// A missing file or key gives the default. Numbers that index tables are range
// checked by the typed readers; an out-of-range value gives the default.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/engine/dictionary_settings.h"
#include "ini_file.h"

namespace lex {

class FileSystem;

constexpr const char kSettingsFileName[] = "lx2000.ini";
constexpr int kPairCount = 10;
constexpr int kHistoryKeyCount = 100;  // [HISTORY] "h0".."h99"
constexpr int kSortTypeCount = 11;  // SortType 0..10
constexpr int kFontKeyCount = 14;

// Every key of lx2000.ini. The comment gives section and key.
enum class Setting : int {
    ProgramPath,         // [CESTY] "Umisteni programu"
    CdFolder,            // [CESTY] "Umisteni slovni zasoby CD"
    DiskFolder,          // [CESTY] "Umisteni slovni zasoby Disk"
    ActionLogOwner,      // [INDEX] "akce%d.idx" (a = i): DiskFolder owning that log
    LanguageLetter,      // [JAZYKY] "Tlacitko%d" (a = pair)
    OriginalName,        // [JAZYKY] "JmenoOriginalu%d_%d" (a = pair, b = direction)
    TranslationName,     // [JAZYKY] "JmenoPrekladu%d_%d"
    DictionaryTitle,     // [JAZYKY] "NadpisSlovniku%d_%d"
    SortType,            // [JAZYKY] "Razeni%d_%d"
    InstalledLanguages,  // [JAZYKY] "Instalovane jazyky"
    ConfirmExit,         // [POZICE] "Konec"
    ClipboardAtStart,    // [POZICE] "Schranka"
    WindowLeft,          // [POZICE] "Levy horni roh X"
    WindowTop,           // [POZICE] "Levy horni roh Y"
    WindowWidth,         // [POZICE] "Sirka"
    WindowHeight,        // [POZICE] "Vyska"
    CurrentSlot,         // [SMER] "Smer prekladu"
    GrammarSeparator,    // [GRAMATIKA] "Znak oddelujici gramaticke poznamky"
    HistorySize,         // [HISTORIE] "Maximalni pocet pamatovanych slov"
    HistoryText,         // [HISTORY] "h%d" (a = place 0..99)
    HistorySlot,         // [HISTORY] "h%di"
    KeyboardCoupling,    // [KONFIGURACE] "AKTIVITA TASTRIXU"
    UiLanguage,          // [KOMM] "JAZ"
    ToolbarIcons,        // [TLAC] "RYCHLOIKONY"
    // Font sections "TTFO%d", "TTFT%d", "TTFV%d": a = font type 0/1/2, b = slot.
    FontHeight,          // "lfHeight"
    FontWidth,           // "lfWidth"
    FontEscapement,      // "lfEscapement"
    FontOrientation,     // "lfOrientation"
    FontWeight,          // "lfWeight"
    FontItalic,          // "lfItalic"
    FontUnderline,       // "lfUnderline"
    FontStrikeOut,       // "lfStrikeOut"
    FontCharSet,         // "lfCharSet" (default by slot and type: DefaultFontCharSet)
    FontOutPrecision,    // "lfOutPrecision"
    FontClipPrecision,   // "lfClipPrecision"
    FontQuality,         // "lfQuality"
    FontPitchAndFamily,  // "lfPitchAndFamily"
    FontFaceName,        // "lfFaceName"
    KeyboardOriginal,          // [TASTRIX] "TastrixO%d_%d" (a = pair, b = direction)
    KeyboardTranslation,       // [TASTRIX] "TastrixP%d_%d"
    KeyboardPronunciation,     // [TASTRIX] "TastrixV%d_%d"
    ReversedOriginal,          // [TASTRIX] "TastrixO_ZAPIS%d_%d"
    ReversedTranslation,       // [TASTRIX] "TastrixP_ZAPIS%d_%d"
    ReversedPronunciation,     // [TASTRIX] "TastrixV_ZAPIS%d_%d"
    StandardKeyboard,          // [TASTRIX] "STANDARD"
    Count
};

using SettingDef = IniKeyDef<Setting>;

template <>
struct IniKeyTable<Setting> {
    static constexpr const char* kFileName = kSettingsFileName;
    static const SettingDef& Row(Setting id);
};

// The table row of a key.
const SettingDef& SettingDefinition(Setting id);

// Default "lfCharSet" of a font: type 0 original, 1 translation, 2 pronunciation.
BYTE DefaultFontCharSet(int type, int slot);

// Sort type of a slot at start: pairs 0..5 fixed; pairs 6..9 the stored value
// (0..10), else 0 for direction 0 and 1 for direction 1.
int16_t StartSortType(int slot, int storedValue);

// Base text ids (add the UI language) of the fixed names of the slots of
// pairs 0..5 (slots 0..11); they replace the stored names at start.
int OriginalNameTextId(int slot);
int TranslationNameTextId(int slot);
int DictionaryTitleTextId(int slot);

struct WindowRect {
    int Left = 10;
    int Top = 10;
    int Width = 600;
    int Height = 400;
};

struct HistoryEntry {
    std::string Text;  // empty = empty place
    int Slot = kNoSlot;
};

struct ActionLogRegistration {
    int Index = -1;         // i of the [INDEX] key "akce%d.idx" that names DiskFolder
    std::string Path;       // ProgramFolder + "akce%d.idx"
    bool Registered = false;  // a new [INDEX] key was written
    bool Created = false;     // an empty log was created (there was none)
    bool CreateFailed = false;
};

// lx2000.ini: plain access (ReadText, ReadInt, WriteText, WriteInt, names)
// comes from IniFile; the readers below know the meaning of the keys.
class SettingsFile : public IniFile<Setting> {
public:
    explicit SettingsFile(std::string fileName = kSettingsFileName);

    // Typed readers with range checks.
    int ReadUiLanguage() const;            // 0..8, else 1
    int ReadCurrentSlot() const;           // 0..19, else 0
    int16_t ReadSortType(int slot) const;  // StartSortType of the stored value
    int ReadHistorySize() const;           // clamped to 5..100
    int ReadHistorySlot(int place) const;  // 0..19 or 500, else 500
    char ReadGrammarSeparator() const;     // first character; '.' when empty
    // Upper-cased first character of "Tlacitko%d"; the default "DEF" gives
    // A, N, R, F, S, I for pairs 0..5 and 0 (no letter) for pairs 6..9.
    char ReadLanguageLetter(int pair) const;
    WindowRect ReadWindowRect() const;     // width < 300 gives 310, height < 350 gives 360
    void WriteWindowRect(const WindowRect& rect) const;

    // [HISTORY]: places 0..count-1 (count clamped to 0..100).
    std::vector<HistoryEntry> ReadHistory(int count) const;
    // Writes all 100 places: below historySize a non-empty entry gives its text
    // and slot, everything else "" and "500".
    void WriteHistory(const std::vector<HistoryEntry>& entries, int historySize) const;

    // Font sections (type 0 original, 1 translation, 2 pronunciation).
    LOGFONTA ReadFontSetting(int type, int slot) const;
    void WriteFontSetting(int type, int slot, const LOGFONTA& font) const;

    // [TASTRIX] of a slot; field 0 original, 1 translation, 2 pronunciation.
    std::string ReadKeyboardPath(int slot, int field) const;
    void WriteKeyboardPath(int slot, int field, const std::string& path) const;
    int ReadReversedFlag(int slot, int field) const;
    void WriteReversedFlag(int slot, int field, int value) const;

    // [INDEX]: finds the key whose value equals diskFolder byte for byte, or
    // registers diskFolder under the first missing or empty key; the log is
    // programFolder + key name. An empty log is created only when no file is
    // there: an existing log (even one another program holds open) is kept.
    // The log is looked for and created through `files`.
    ActionLogRegistration RegisterActionLog(FileSystem& files, const std::string& diskFolder,
                                            const std::string& programFolder) const;
    // Key names "akce%d.idx" of every registered log, up to the first missing or
    // empty key.
    std::vector<std::string> RegisteredActionLogKeys() const;
};

// True when a file (not a folder) is at path. A file that another program
// holds open exclusively counts as there.
bool FileExists(const std::string& path);

// Creates an empty action log at path (lex::CreateActionLog with
// LogCreation::OnlyWhenMissing); never overwrites a file that is already
// there. 1 done, -1 failure (no log left behind).
int CreateEmptyActionLog(FileSystem& files, const std::string& path);

// The settings a dictionary program keeps in memory between reads.
struct ProgramSettings {
    DictionarySettings Dictionary;  // paths, sort types, log, separator, history size, slot
    std::string ProgramFolder;      // folder of the program file, ending in a backslash
    std::string CdFolder;
    std::string DiskFolder;
    std::array<char, kPairCount> LanguageLetters{};  // 0 = no letter
    std::array<std::string, kSlotCount> OriginalNames;
    std::array<std::string, kSlotCount> TranslationNames;
    std::array<std::string, kSlotCount> DictionaryTitles;
    int UiLanguage = 1;
    struct ConfigFlagSet {
        bool RestartNeeded = false;          // a dialog changed what takes effect at the next start
        bool ConfirmExit = false;            // [POZICE] "Konec"
        bool ClipboardWatchAtStart = false;  // [POZICE] "Schranka"
    };
    ConfigFlagSet ConfigFlags;
    int KeyboardCouplingSetting = 0;
    int InstalledLanguages = 2;
    ActionLogRegistration ActionLog;    // result of the [INDEX] registration
    std::vector<HistoryEntry> History;  // places 0..HistorySize-1 as read at start
};

// Text of a base id in the current UI language (the fixed names of pairs 0..5).
using UiTextFunction = std::function<std::string(int baseId)>;

// Application start: UiLanguage := [KOMM] "JAZ" (range checked).
void LoadUiLanguage(const SettingsFile& file, ProgramSettings& settings);

// The frame's start-up reads, in order: folders, [INDEX] registration (may
// write the key and create the log), per pair the letter and per slot sort
// type, names and title (pairs 0..5 from uiText), the exit and clipboard
// switches, current word "", installed languages, current slot, separator,
// history size (clamped), keyboard coupling, history entries. ProgramFolder
// must be set before. The slot file paths are filled from the folders.
void LoadAtStart(const SettingsFile& file, FileSystem& files, const UiTextFunction& uiText,
                 ProgramSettings& settings);

}  // namespace lex
