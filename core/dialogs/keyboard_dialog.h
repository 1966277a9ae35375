// TTastrixAll: the keyboard assignment dialog (template
// IDD_KEYBOARD_ASSIGNMENT). For each of the 20 slots the keyboard files of
// the original, translation and pronunciation fields and the right-to-left
// flags, the standard keyboard and the coupling switch; kept in [TASTRIX] of
// lx2000.ini, written on OK only. Edit starts the keyboard program `ts` on
// a file; New keyboard makes a keyboard file (and its companion ini) as a
// copy of another.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "core/dialogs/keyboard_coupling.h"
#include "core/dialogs/word_dialog_ids.h"
#include "core/files/file_system.h"
#include "core/settings/settings.h"
#include "core/texts/text_loader.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lex {

struct KeyboardDialogServices {
    const SettingsFile& Settings;  // lx2000.ini
    TextLoader& Texts;
    KeyboardCoupling& Coupling;
    FileSystem& Files;  // the program's file layer
    std::array<std::string, kSlotCount> Titles;  // DictionaryTitles
    std::string ProgramFolder;                   // ending in a backslash
    int UiLanguage = 1;
    // A message box with `text` and `caption` (8-bit, UI code page).
    std::function<void(wl::Window* parent, const std::string& text, const std::string& caption)> Show;
};

// The command line that opens `path` in the keyboard program: the program
// quoted, "X", the UI language (0 for one above 7), the path quoted.
std::string KeyboardEditorCommandLine(const std::string& programFolder, int uiLanguage, const std::string& path);
// "X" (exactly) stands for no keyboard.
bool IsNoKeyboard(const std::string& path);

class TTastrixAll : public wl::Dialog {
public:
    TTastrixAll(wl::Window* parent, KeyboardDialogServices services, int currentSlot, int& couplingSetting);
    void SetupWindow() override;

    WL_DECLARE_MESSAGE_TABLE();

private:
    struct SlotKeyboards {
        std::string Paths[3];  // original, translation, pronunciation
        int Reversed[2] = {};  // original, translation
    };
    void SaveSlotFields();
    void ShowSlot(int slot);
    void EvSlotSelChange();
    void CmOk();
    void CmBrowse(UINT id);
    void CmEdit(UINT id);
    void CmNewKeyboard();
    void CmEditOrBrowse(UINT id);
    void CmBrowseStandard();
    void CmEditStandard();
    // The path edit that belongs to a browse or edit button.
    static int PathEditOf(UINT button);
    void ShowError(int textId);

    KeyboardDialogServices services_;
    int currentSlot_;
    int& couplingSetting_;
    std::array<SlotKeyboards, kSlotCount> slots_;
    int shown_ = -1;
    wl::ListBox list_;
    wl::Button originalRtl_;
    wl::Button translationRtl_;
    wl::Button coupling_;
};

}  // namespace lex
