// Keyboard layout files (".tsb") and their companion ini.
//
// A layout file is exactly 13452 bytes, little-endian, without header:
//   offset    0  MainKeys      60 LayoutKey (98 bytes each)
//   offset 5880  Prefixes       5 PrefixDef (4 bytes each, prefix 1 first)
//   offset 5900  FunctionKeys  12 LayoutKey (F1 first)
//   offset 7076  KeypadKeys    20 LayoutKey
//   offset 9036  RunFlags    4416 bytes
// so the character of key k of a group in state s lies at
// block + 98 k + 2 + 2 s, and a run flag at 9036 + RunFlagCell.
//
// The companion ini (same name, last three characters "ini") holds [RUN]
// "group_key_state" = command line and [FONT] (the key-caption font). ts never
// edits it directly: a load copies it to the working copy (last three characters
// "in_"), edits go to the working copy, a save copies the working copy back.
//
// KeyboardLayoutStore is the layout ts holds in memory; ReadKeyboardFile serves
// any other reader (the dictionary program's keyboard hook).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/whole_files.h"
#include "core/keyboard/profile_file.h"

namespace lex::keyboard {

// KeyGroup: the three key tables.
enum KeyGroup : int { kMainKeys = 0, kFunctionKeys = 1, kKeypadKeys = 2 };
constexpr int kKeyGroupCount = 3;
constexpr int kMainKeyCount = 60;
constexpr int kFunctionKeyCount = 12;
constexpr int kKeypadKeyCount = 20;

// KeyState 0..47: Shift 1 + Alt 2 + Ctrl 4 + 8 x pending prefix (1..5; 0 none).
constexpr int kKeyStateCount = 48;
constexpr int kStateShift = 1;
constexpr int kStateAlt = 2;
constexpr int kStateCtrl = 4;
constexpr int kPrefixCount = 5;
constexpr int kStatesPerPrefix = 8;
constexpr int KeyStateOf(int modifiers, int prefix) { return (modifiers & 7) + kStatesPerPrefix * prefix; }

// Keys in a group (0 for a group that does not exist).
int KeyCount(int group);
// First run-flag key number of a group: 0, 60, 72 (-1 for a group that does not exist).
int RunFlagsBase(int group);

// One key: the scan code of its physical key (0 = not assigned) and the
// character it types in each KeyState (an 8-bit code zero-extended; 0 = none).
struct LayoutKey {
    static constexpr size_t kSize = 98;
    int16_t ScanCode = 0;
    int16_t Chars[kKeyStateCount] = {};
    bool operator==(const LayoutKey& o) const;
};

// A dead key: the key with ScanCode pressed with exactly Modifiers (Shift 1 +
// Alt 2 + Ctrl 4). {0, 0} defines none.
struct PrefixDef {
    static constexpr size_t kSize = 4;
    int16_t Modifiers = 0;
    int16_t ScanCode = 0;
    bool operator==(const PrefixDef& o) const { return Modifiers == o.Modifiers && ScanCode == o.ScanCode; }
};

constexpr size_t kRunFlagsSize = 4416;
constexpr size_t kMainKeysOffset = 0;
constexpr size_t kPrefixesOffset = kMainKeysOffset + kMainKeyCount * LayoutKey::kSize;
constexpr size_t kFunctionKeysOffset = kPrefixesOffset + kPrefixCount * PrefixDef::kSize;
constexpr size_t kKeypadKeysOffset = kFunctionKeysOffset + kFunctionKeyCount * LayoutKey::kSize;
constexpr size_t kRunFlagsOffset = kKeypadKeysOffset + kKeypadKeyCount * LayoutKey::kSize;
constexpr size_t kLayoutFileSize = kRunFlagsOffset + kRunFlagsSize;
static_assert(kPrefixesOffset == 5880 && kFunctionKeysOffset == 5900 && kKeypadKeysOffset == 7076 &&
                  kRunFlagsOffset == 9036 && kLayoutFileSize == 13452,
              "the blocks of the layout file");

// The run-flag cell of a key in a state: (key + RunFlagsBase(group)) x (state + 1);
// -1 for a group, key or state out of range. Stored files depend on this index,
// and it is not one-to-one: main key 0 uses cell 0 in every state, main key 1 in
// state 1 and main key 2 in state 0 share cell 2, main key 36 in state 1 and
// keypad key 0 in state 0 share cell 72. Setting one pair's flag sets the other's.
int RunFlagCell(int group, int key, int state);

// The five tables of one layout, in file order.
struct LayoutTables {
    LayoutKey MainKeys[kMainKeyCount];
    PrefixDef Prefixes[kPrefixCount];
    LayoutKey FunctionKeys[kFunctionKeyCount];
    LayoutKey KeypadKeys[kKeypadKeyCount];
    uint8_t RunFlags[kRunFlagsSize] = {};

    // The key of a group; nullptr when out of range.
    LayoutKey* Key(int group, int key);
    const LayoutKey* Key(int group, int key) const;
    // The cell's byte, signed (a stored 0xFF reads -1); 0 out of range.
    int GetRunFlag(int group, int key, int state) const;
    // Stores the low byte of value in the cell (nothing out of range).
    void SetRunFlag(int group, int key, int state, int value);
    bool operator==(const LayoutTables& o) const;
    bool operator!=(const LayoutTables& o) const { return !(*this == o); }
};

// The file image of the tables (kLayoutFileSize bytes) and back.
void EncodeLayout(const LayoutTables& tables, uint8_t* image);
void DecodeLayout(const uint8_t* image, LayoutTables& tables);

// Longest keyboard file name taken (the programs hold paths in 256-byte buffers).
constexpr size_t kMaxKeyboardPathLength = 255;
// The name with its last three characters replaced by "ini" / "in_"
// ("D:\L\ru.tsb" gives "D:\L\ru.ini" and "D:\L\ru.in_"); "" for a name of fewer
// than three characters.
std::string MakeIniName(const std::string& path);
std::string MakeWorkIniName(const std::string& path);
// A name the layout files can be loaded from and saved to: at least one
// character before the three that the companion names replace, at most
// kMaxKeyboardPathLength characters, and neither companion name the file itself
// (a name ending in "ini" or "in_" would be overwritten by its own companion).
bool IsUsableKeyboardName(const std::string& path);

// The companion ini's sections and the [RUN] key of a key in a state ("0_12_1").
constexpr char kRunSection[] = "RUN";
constexpr char kFontSection[] = "FONT";
constexpr int kRunCommandSize = 253;  // read limit of a command line, terminator included
std::string RunKeyName(int group, int key, int state);
std::string ReadRunCommand(ProfileFile& ini, int group, int key, int state, int size = kRunCommandSize);
// The commands of every key of a group in one state, by key index, with one
// reading of the ini (the key tooltips ask for all of them at each refresh).
std::vector<std::string> ReadRunCommands(ProfileFile& ini, int group, int state, int size = kRunCommandSize);
bool WriteRunCommand(ProfileFile& ini, int group, int key, int state, const std::string& command);

// A LOGFONT as the [FONT] section holds it: keys "lfHeight" .. "lfFaceName" in
// LOGFONT order, numbers written with "%d"; missing keys take these defaults.
struct FontSettings {
    int32_t Height = -13;
    int32_t Width = 0;
    int32_t Escapement = 0;
    int32_t Orientation = 0;
    int32_t Weight = 700;
    uint8_t Italic = 0;
    uint8_t Underline = 0;
    uint8_t StrikeOut = 0;
    uint8_t CharSet = 238;
    uint8_t OutPrecision = 1;
    uint8_t ClipPrecision = 2;
    uint8_t Quality = 1;
    uint8_t PitchAndFamily = 34;
    std::string FaceName = "System";  // at most kMaxFaceNameLength characters
    bool operator==(const FontSettings& o) const;
};
constexpr int kMaxFaceNameLength = 30;
constexpr int32_t kLargeKeyFontHeight = -35;  // the character map's key font
FontSettings LoadFontSettings(ProfileFile& ini);
bool SaveFontSettings(ProfileFile& ini, const FontSettings& font);

// Results of the keyboard file operations. ResultCode gives the numbers the
// callers know: 0 done, -1 a file cannot be opened, -2 a short read or write.
enum class KeyboardFileResult {
    Done,
    NameRefused,        // -1: not a usable keyboard file name; nothing read or written
    NotOpened,          // -1: the keyboard file (or a temporary file beside it) cannot be opened or created
    ShortFile,          // -2: the keyboard file holds fewer than 13452 bytes
    ReadFailed,         // -2: the keyboard file could not be read
    WriteFailed,        // -2: not written whole or not put in place; the old files stay
    CompanionMissing,   // -1: load: layout taken, no companion: the working copy is emptied
    WorkingCopyFailed,  // -1: load: layout taken, the companion could not be read or the
                        //     working copy not refreshed; the working copy is removed
    CompanionNotSaved,  // -1: save: keyboard file saved, no working copy (or the load could
                        //     not read the companion): the companion stays
    Declined,           // -1: save: the file whose load failed is kept at the user's word
};
int ResultCode(KeyboardFileResult result);
// The load took the new layout (the tables and the working copy name changed).
inline bool LayoutTaken(KeyboardFileResult r) {
    return r == KeyboardFileResult::Done || r == KeyboardFileResult::CompanionMissing ||
           r == KeyboardFileResult::WorkingCopyFailed;
}

// Reads a whole layout file. The tables change only when all 13452 bytes were
// read (Done); a longer file gives its first 13452 bytes.
KeyboardFileResult ReadKeyboardFile(lex::FileSystem& files, const std::string& path, LayoutTables& tables);

// Finishes a save of the layout `path` and its companion (MakeIniName) that
// stopped half way, so that both are old or both new, and removes what it
// left (lex::FinishInterruptedPairSave). False while the pair may be mixed.
bool FinishInterruptedLayoutSave(lex::FileSystem& files, const std::string& path);

// The companion ini a layout file is copied with: the path with its last four
// characters replaced by ".ini" ("" for a path of fewer than four characters).
std::string CopiedCompanionName(const std::string& path);

// What a name chosen for a new layout file (a copy of another) allows.
enum class NewLayoutName {
    Free,             // neither the layout nor its companion is there, and a file can be made there
    LayoutExists,     // a layout file is there
    CompanionExists,  // no layout, but its companion (CopiedCompanionName) is there; a file can be made
    Refused,          // not a usable keyboard file name, or no file can be made there
};
// The check of a new layout's name, made before the source is chosen: a copy
// to the name (or a save of it) that stopped half way is finished first, so
// that what it left does not count; a temporary file made and removed beside
// the name shows that it can be written, and no empty file is ever left under
// the name itself.
NewLayoutName CheckNewLayoutName(lex::FileSystem& files, const std::string& path);

// Copies the layout `source` byte for byte to `target`, and its companion
// (CopiedCompanionName) to the companion of `target` when the source has one:
// both or neither. A companion that is there but cannot be read fails the copy,
// so that no new layout lacks the commands and font it should have; a source
// without a companion gives a layout without one. A save of the source or of
// the target that stopped half way is finished first. False when nothing was
// made.
bool CopyLayoutPair(lex::FileSystem& files, const std::string& source, const std::string& target);

// How the store tells the user about a keyboard file it cannot load or save.
class KeyboardFileMessages {
public:
    virtual ~KeyboardFileMessages() = default;
    virtual void ShowFileMessage(const std::string& text) = 0;
    // Asked before a save replaces the file whose last load failed (what it
    // holds was never shown): true replaces it.
    virtual bool ConfirmReplaceUnloaded(const std::string& path) = 0;
};
constexpr char kLoadFailedText[] = "otevreni load key";
constexpr char kSaveFailedText[] = "write1";

// The layout ts holds: the tables, the name of the working copy of its companion
// ini, and whether the tables differ from the file.
class KeyboardLayoutStore {
public:
    KeyboardLayoutStore(lex::FileSystem& files, KeyboardFileMessages& messages)
        : files_(files), messages_(messages) {}

    LayoutTables Tables;
    bool Modified = false;  // set by the editors; cleared by a load or a save that worked

    // The working copy of the last load's companion ini ("" before the first load).
    const std::string& WorkIniName() const { return workIniName_; }
    TextProfileFile WorkIni() { return TextProfileFile(files_, workIniName_); }

    // In editor-only mode every load and save uses this path, whatever name the
    // caller passes; empty: the caller's path.
    void SetFixedPath(const std::string& path) { fixedPath_ = path; }
    // The path the last load or save used.
    const std::string& LastPath() const { return lastPath_; }

    // First finishes a save of this layout that stopped half way (the pair
    // is both old or both new; while it cannot be finished, the load fails).
    // Reads the layout whole before taking it: a missing, short or unreadable
    // file shows kLoadFailedText and keeps the layout, the working copy name and
    // Modified as they were. Taken: Modified cleared, the companion copied to
    // the working copy, or the working copy removed when there is no companion
    // (so no edits of an earlier session come back).
    KeyboardFileResult LoadKeyboardFile(const std::string& path);

    // Writes the tables to `path` and the working copy of the last load to its
    // companion, both or neither (the pair save of the file layer; the
    // companion goes in place first, so that a layout never names a program
    // its companion lacks). On failure kSaveFailedText is shown, the old files
    // stay and Modified stays set; so too when the working copy is there but
    // cannot be read. A file whose last load failed is replaced only when
    // ConfirmReplaceUnloaded says so.
    KeyboardFileResult SaveKeyboardFile(const std::string& path);

private:
    lex::FileSystem& files_;
    KeyboardFileMessages& messages_;
    std::string workIniName_;
    std::string fixedPath_;
    std::string lastPath_;
    std::string unloadedPath_;    // the path of the last load when it failed
    bool keepCompanion_ = false;  // the last load could not read the companion that is there
};

}  // namespace lex::keyboard
