// The state and the rules of ts's main window, without the window: edit mode
// with its save question, the shown key state and the key the editing dialogs
// work on, the quick-switch button shown, and the activation of the keyboard
// with the one-second poll of what the resident program reports in
// ts2000.ini. The steps reach the layout file, the questions, the hook library
// and ts2000.ini through the small interfaces below, and each gives back what
// the window then shows (KeyboardView); the window only draws and forwards
// its commands.
#pragma once

#include <optional>
#include <string>

#include "core/keyboard/keyboard_file.h"
#include "ts/editor/command_line.h"
#include "ts/editor/layout_editor.h"

namespace ts {

// What the window does for the session while a step runs, in the step's order.
class KeyboardSessionWindow {
public:
    virtual ~KeyboardSessionWindow() = default;
    // Loads the layout `path` with its caption font and redraws the keys.
    virtual void LoadLayout(const std::string& path) = 0;
    // "Would you Like to Save the Changes?": true for Yes.
    virtual bool AskSaveChanges() = 0;
    // "Would you Like to Finish?": true for Yes.
    virtual bool AskFinish() = 0;
};

// The product's hook library, which turns the keyboard on for the whole desktop.
class ProductHook {
public:
    enum class Result { Installed, NoLibrary, NoProcedure };
    virtual ~ProductHook() = default;
    // Loads the library of the program folder and installs its hook.
    virtual Result Install() = 0;
    virtual void Remove() = 0;
    virtual bool Installed() const = 0;
};

// The ts2000.ini values the session reads and writes.
class ProductValues {
public:
    virtual ~ProductValues() = default;
    // [Konfigurace]
    virtual bool SaveLast() = 0;                          // "Ukladat" is 1
    virtual void WriteLastQuickButton(int index) = 0;     // "Posledni"
    virtual bool AskToFinish() = 0;                       // "Ukoncit" is 1
    virtual bool HideAtStart() = 0;                       // "Minimalizovny" is 1
    // [Klavesnice]
    virtual std::string ActiveKeyboard() = 0;             // "Aktualni"
    virtual void WriteActiveKeyboard(const std::string& path) = 0;
    virtual int ActiveQuickButton(int missing) = 0;       // "AktTlac", `missing` when there is none
    virtual void WriteActiveQuickButton(int index) = 0;   // "AktTlac" in decimal; -1: an empty value
    virtual void WriteInstallCount(int count) = 0;        // "pocitadlo"
    // [RYCHLOTLACITKA]: the keyboard file of button `index` without ".tsb"
    // (in editor-only mode the edited file's), and its Windows layout (-1 none).
    virtual std::string QuickButtonData(int index) = 0;
    virtual int QuickButtonWindowsLayout(int index) = 0;
};

// The status line after a step.
enum class KeyboardStatus { Unchanged, Blank, PermitChangesFirst, ChooseKeyFirst };

// What the window shows after a step, applied in this order.
struct KeyboardView {
    // For the steps before a dialog or an action of the window: it goes on.
    bool Proceed = true;
    KeyboardStatus Status = KeyboardStatus::Unchanged;
    std::optional<bool> EditMode;      // the edit-mode button: "Changes Allowed" (true) or "Denied"
    std::optional<bool> KeyboardOn;    // the activation button: "Active" (true) or "Inactive"
    std::optional<ProductHook::Result> HookFailure;  // the message of a failed installation
    std::optional<bool> ActiveIcon;    // the tray icon: active (true) or normal
    bool QuickButtons = false;         // the quick-switch buttons' on flags follow ShownQuickButton()
    std::optional<int> Title;          // title and tray tip from this quick-switch button's names
    bool TogglesOff = false;           // the four toggles show their Off texts
    bool TemporarilyOff = false;       // the title says the keyboard is temporarily off
    std::optional<int> WindowsLayout;  // the installed Windows layout of this index to activate
    bool Selection = false;            // the keys' selected flags follow Selected()
    bool Keys = false;                 // the keys are refreshed (in the state Shown())
    bool Hide = false;                 // the window hides (in the tray)
    bool Close = false;                // the window ends with Cancel
};

class KeyboardSession {
public:
    KeyboardSession(const CommandLine& line, lex::keyboard::KeyboardLayoutStore& store, KeyboardSessionWindow& window,
                    ProductHook& hook, ProductValues& values);
    KeyboardSession(const KeyboardSession&) = delete;
    KeyboardSession& operator=(const KeyboardSession&) = delete;

    // ---- start-up ----
    // The quick-switch buttons shown at start with `current` on (normal mode).
    void StartQuickButtons(int current);
    // Editor-only mode: no quick-switch buttons.
    void StartWithoutQuickButtons();
    // Another program of the product runs: the first tick ends the window.
    void RefuseStart() { quitRequested_ = true; }

    // ---- edit mode ----
    // The edit-mode button: the keyboard goes off first; entering allows
    // changes; leaving asks to save modified edits (unless a cancel is
    // pending) and else reloads the layout. Edits that could not be saved
    // keep edit mode.
    KeyboardView AllowChanges();
    // The cancel button: leaves edit mode without asking and reloads.
    KeyboardView CancelChanges();
    // The save button (in any mode).
    KeyboardView Save();
    // The end button and the close box: edit mode is left first; in normal
    // mode the shown button is remembered and the end may be asked.
    KeyboardView End();

    // ---- keys and the shown state ----
    // A click on a key: it is selected and becomes the current key.
    KeyboardView ClickKey(int group, int key);
    // Before an editing dialog: status blank; outside edit mode the status
    // asks to permit changes and the dialog does not go on.
    KeyboardView BeginEdit();
    // As BeginEdit, for the selected key (none: the status says to choose one).
    KeyboardView BeginEditOfSelectedKey();
    // As BeginEdit, for the key that has the focus (group -1: none; nothing
    // goes on, without a word).
    KeyboardView BeginEditOfKey(int group, int key);
    // An editing dialog changed the layout.
    void MarkModified() { store_.Modified = true; }
    KeyboardView ToggleShift();
    KeyboardView ToggleAlt();
    KeyboardView ToggleCtrl();
    // No prefix, prefix 1 .. 5, no prefix again.
    KeyboardView TogglePrefix();

    // ---- quick-switch buttons and activation ----
    // Shows button `index` and loads its layout, the toggles off (at start,
    // on activation and when the resident program reports another button).
    KeyboardView SelectQuickButton(int index);
    // A click on quick-switch button `index` (normal mode): edit mode is left
    // first; while the keyboard is on, the button is named in ts2000.ini and
    // its Windows layout activated.
    KeyboardView PressQuickButton(int index);
    // The activation button: off, or on after naming the layout in ts2000.ini.
    KeyboardView Activate();
    // Before the settings dialog (normal mode): edit mode left, keyboard off.
    KeyboardView BeginSetup();
    // After its OK: the shown button's layout is loaded again.
    KeyboardView SetupDone();
    // The one-second tick: the quit of a refused start, the hide at the first
    // tick, and while the keyboard is on the poll of the resident program.
    KeyboardView Tick();

    bool EditMode() const { return editMode_; }
    bool CancelPending() const { return cancelPending_; }
    bool Modified() const { return store_.Modified; }
    const ShownState& Shown() const { return shown_; }
    // The key and state the editing dialogs work on.
    const KeyRef& Current() const { return current_; }
    // The key last clicked (group -1: none).
    int SelectedGroup() const { return selectedGroup_; }
    int SelectedKey() const { return selectedKey_; }
    // The quick-switch button shown as on (-1 none) and the one chosen at
    // start or reported by the resident program.
    int ShownQuickButton() const { return shownQuickButton_; }
    int CurrentQuickButton() const { return currentQuickButton_; }
    bool KeyboardOn() const { return keyboardOn_; }
    bool TemporarilyOff() const { return temporarilyOff_; }
    int InstallCount() const { return installCount_; }
    // The keyboard file of the shown button; in editor-only mode the file of
    // the command line, even an empty name.
    std::string CurrentPath() const;

private:
    bool EditorOnly() const { return line_.Mode() == StartMode::EditorOnly; }
    void AllowChanges(KeyboardView& view);
    // Edit mode on: it is left first. False when it stays (edits not saved).
    bool LeaveEditModeFirst(KeyboardView& view);
    void Activate(KeyboardView& view);
    void SelectQuickButton(int index, KeyboardView& view);
    // The shown state off and the current layout loaded again (the window
    // redraws the keys).
    void Reload();
    void InstallHook(KeyboardView& view);
    void RemoveHook(KeyboardView& view);
    void Poll(KeyboardView& view);
    void TakeKey(int group, int key);

    const CommandLine& line_;
    lex::keyboard::KeyboardLayoutStore& store_;
    KeyboardSessionWindow& window_;
    ProductHook& hook_;
    ProductValues& values_;

    bool editMode_ = false;
    bool cancelPending_ = false;
    ShownState shown_;
    KeyRef current_;
    int selectedGroup_ = -1;
    int selectedKey_ = -1;
    std::string data_;  // the keyboard file of the shown button without ".tsb"
    int shownQuickButton_ = -1;
    int currentQuickButton_ = 0;
    bool keyboardOn_ = false;
    int installCount_ = 0;
    bool temporarilyOff_ = false;
    bool firstTickDone_ = false;
    bool quitRequested_ = false;
};

}  // namespace ts
