// The settings dialogs of the dictionary programs (lexora and lexbulk): the
// program configuration with its toolbar icons dialog, the sort order, the
// fonts of a slot with the script choice, the translation direction (lexora
// only) and the about box with its licence viewer. Each is built on the
// caller's stack with the opener as parent and a SettingsDialogHost, run with
// Execute() and destroyed by its opener.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/dialogs/settings_dialog_host.h"
#include "core/dialogs/settings_dialogs_ids.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lex {

// --- Program configuration ------------------------------------------------------

// History size, grammar-note separator, the two folders, letters, names and
// titles of the pairs, the exit and clipboard switches, the UI language and
// (button) the toolbar icons. OK writes lx2000.ini, updates the settings in
// memory, registers the action log of the disk folder and raises
// Config.ConfigFlags.RestartNeeded for a new letter or UI language.
class TConfigWindow : public wl::Dialog {
public:
    TConfigWindow(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_CONFIG);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void CmBrowseCd();
    void CmBrowseDisk();
    void CmToolbar();
    void Browse(int editId);

    SettingsDialogHost& host_;
    wl::ComboBox uiLanguage_;
};

// Builds dialog `DialogClass` with `parent` and `host`, runs it modally; true
// when it ended with OK.
template <typename DialogClass>
bool RunSettingsDialog(wl::Window* parent, SettingsDialogHost& host) {
    DialogClass dialog(parent, host);
    return dialog.Execute() == IDOK;
}

// The configuration command of both frames: clears the restart flag, runs
// TConfigWindow (`afterOk` runs when it ends with OK), and when a change needs
// a restart asks with the restart question. True: the user wants the restart
// now (the flag stays set; the frame restarts); false: no restart, flag clear.
bool RunConfiguration(wl::Window* frame, SettingsDialogHost& host, const std::function<void()>& afterOk);

// A grammar-note separator must be one visible character that cannot begin a
// word: not empty, not a blank or control character, not a letter or digit.
bool IsValidGrammarSeparator(const std::string& typed, UINT codePage);

// The folder of a file chosen in the open-file dialog, starting in `folder`
// (trimmed, a backslash added); `folder` unchanged after Cancel.
std::string BrowseFolder(wl::Window* owner, TextLoader& texts, const std::string& folder);

// Trimmed folder ending in a backslash (an empty one stays empty).
std::string CompletedFolder(std::string folder);

// --- Toolbar icons ------------------------------------------------------------------

// The letters of [TLAC] "RYCHLOIKONY" as a list of catalogue entries; OK
// writes the letters top to bottom and raises the restart flag.
class TTlacitko : public wl::Dialog {
public:
    static constexpr int kMaxIcons = 99;
    TTlacitko(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_TOOLBAR);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmCopyIcon();
    void CmDeleteIcon();
    void CmMoveUp();
    void CmMoveDown();
    void CmOk();
    void Swap(int a, int b);

    SettingsDialogHost& host_;
    wl::ListBox catalogue_;
    wl::ListBox icons_;
};

// --- Sort order -----------------------------------------------------------------------

// The sort type of every slot; only the user pairs 6..9 can change. A slot
// whose files hold entries keeps its type (its files are ordered by it).
class TSortWindow : public wl::Dialog {
public:
    TSortWindow(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_SORT);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();

    SettingsDialogHost& host_;
    std::array<std::string, kSortTypeCount> names_;  // SortTypeNames in the UI language
    std::vector<std::unique_ptr<wl::ComboBox>> lists_;
};

// True when the files of `slot` hold entries (live or deleted): more nodes
// than the two sentinels of an empty file set.
bool SlotHoldsEntries(FileSystem& files, const DictionarySettings& settings, int slot);

// --- Fonts --------------------------------------------------------------------------

// List of the slots and three buttons, each choosing one font of the selected
// slot (ChooseSlotFont). Every choice is saved at once; OK only closes.
class TConfigFontWindow : public wl::Dialog {
public:
    TConfigFontWindow(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_FONTS);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

    // Font type 0 original, 1 translation, 2 pronunciation of `slot`: the
    // system's font chooser, then the script, then the new handle and the
    // 14 keys of the slot's font section. Cancel of the chooser changes nothing.
    void ChooseSlotFont(int type, int slot);

private:
    void CmOriginalFont();
    void CmTranslationFont();
    void CmPronunciationFont();
    void Choose(int type);

    SettingsDialogHost& host_;
    wl::ListBox slots_;
};

// The script (character set) of the font just chosen.
struct ScriptChoice {
    int Slot = 0;
    int Side = 0;     // 1 translation font, 0 original and pronunciation
    int CharSet = 0;  // the last chosen one
};

class TScriptWindow : public wl::Dialog {
public:
    static constexpr int kScriptCount = 9;
    TScriptWindow(wl::Window* parent, SettingsDialogHost& host, ScriptChoice& choice, int templateId = IDD_SCRIPT);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    SettingsDialogHost& host_;
    ScriptChoice& choice_;
    wl::ComboBox list_;
};

// Character set of script list entry `index` (0..8).
BYTE ScriptCharSet(int index);
// The entry the script list opens with for a choice.
int ScriptPreselection(const ScriptChoice& choice);

// --- Translation direction ------------------------------------------------------------

// The 20 dictionary titles; a double click or OK chooses the selected one
// (ChosenSlot), where the opener then takes the lookup. Placed with its
// top-right corner on the main window's.
class TJazykyDialog : public wl::Dialog {
public:
    TJazykyDialog(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_LANGUAGES);
    void SetupWindow() override;
    // The slot chosen; the current slot when none was.
    int ChosenSlot() const { return chosen_; }
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void EvListNotify(UINT code);
    SettingsDialogHost& host_;
    wl::ListBox list_;
    int chosen_;
};

// --- About ------------------------------------------------------------------------------

// The program's name and the number of translations of every slot, read when
// the box opens; a button shows the licence text.
class TAbout : public wl::Dialog {
public:
    TAbout(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_ABOUT);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmLicence();
    SettingsDialogHost& host_;
    wl::ListBox contents_;
};

// The licence agreement: ProgramFolder + "licence.txt", whole.
class TProdejci : public wl::Dialog {
public:
    TProdejci(wl::Window* parent, SettingsDialogHost& host, int templateId = IDD_LICENCE);
    void SetupWindow() override;

private:
    SettingsDialogHost& host_;
};

constexpr char kLicenceFileName[] = "licence.txt";

// WordCount of a slot's user translations file; 0 when the file is missing or
// too short to hold it.
int32_t ReadSlotWordCount(FileSystem& files, const std::string& userTranslationsPath);
// The about box's count line: 27 spaces, 16 dots, a space and the count.
std::string CountLine(int32_t count);
// The text of a licence file as the viewer shows it: every line ends in
// "\r\n" (a CR before a line feed is dropped), the last line without a line
// feed is kept.
std::string LicenceViewText(const std::string& fileContent);

}  // namespace lex
