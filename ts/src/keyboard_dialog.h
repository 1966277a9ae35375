// The main and only top-level window of ts: the on-screen keyboard of the
// loaded layout with its modifier toggles and prefix selector, edit mode, and
// the buttons that open the editing dialogs, save and discard.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "key_button.h"
#include "key_dialogs.h"
#include "product.h"
#include "program.h"
#include "system_tray.h"
#include "ts_ids.h"

namespace tsapp {

class KeyboardDialog : public TsDialog, public KeyButtonOwner {
public:
    explicit KeyboardDialog(Program& program);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

    // Recomputes every key's caption, flags and tooltip from the layout and
    // the toggles, and redraws.
    void RefreshKeys();

    void KeyRightClicked(int id) override;

    // The key tooltips registered now.
    int TipCount() const { return tips_.ToolCount(); }

    // The quick-switch side (normal mode). SelectQuickButton shows button
    // `index` (CurrentQuickButton at start, on activation and when the
    // resident program reports another one).
    void SelectQuickButton(int index);
    // The last quick-switch button shown as on; -1 none.
    int ShownQuickButton() const;
    int CurrentQuickButton() const { return currentQuickButton_; }
    bool KeyboardOn() const { return keyboardOn_; }
    HMENU TrayMenu() const { return trayMenu_; }
    const SystemTray& Tray() const { return tray_; }

private:
    KeyButton* KeyOf(int group, int key);
    // The key of a control id (group and index); false for another id.
    static bool KeyFromId(int id, int& group, int& key);
    int IdOfKey(int group, int key) const;

    // The keyboard file of the current quick-switch button; in editor-only
    // mode the file of the command line, even an empty name.
    std::string CurrentPath() const {
        return program_.EditorOnly() ? program_.Line.EditorFilePath : currentData_ + ".tsb";
    }
    void SetStatus(const std::string& text) { SetItemText(IDC_STATUS, text); }
    // Status blank; in edit mode true, else the status asks to permit changes.
    bool EditingAllowed();
    // The selected key into Current (with the shown state); false: none, and the status says so.
    bool TakeSelectedKey();
    // The key that has the focus into Current (with the shown state); false:
    // none (the handler then does nothing).
    bool TakeFocusedKey();
    void ApplyKeyFont();
    void ApplyButtonFont();
    void LoadCurrent();

    void CmKeyClicked(UINT id);
    void CmKeyDoubleClicked(UINT id);
    void CmKeyRemapping();
    void CmCharacterMap();
    void CmNewKey();
    void CmNewPrefix();
    void CmDeleteKey();
    void CmFont();
    void CmShiftToggle();
    void CmAltToggle();
    void CmCtrlToggle();
    void CmPrefixToggle();
    void CmAllowChanges();
    void CmCancelChanges();
    void CmSave();
    void CmEnd();
    void CmHelp();
    void CmQuickButton(UINT id);
    void CmTrayKeyboard(UINT id);
    void CmActivate();
    void CmSetup();
    void CmShowWindow();
    void CmHideWindow();
    void CmAbout();
    LRESULT EvTimer(WPARAM, LPARAM);
    LRESULT EvTrayMessage(WPARAM, LPARAM);
    LRESULT EvDestroy(WPARAM, LPARAM);
    void InstallHook();
    void RemoveHook();
    void PollCurrentKeyboard();
    void BuildTrayMenu();
    void ToggleOffCaptions();
    void CmNothing() {}
    void CmCancel();
    LRESULT EvClose(WPARAM, LPARAM);
    LRESULT EvSetCursor(WPARAM, LPARAM);
    LRESULT EvSysCommand(WPARAM, LPARAM);
    void Toggle(KeyButton& toggle, int onText, int offText);
    void OpenCharacterMap();

    std::vector<std::unique_ptr<KeyButton>> keys_[ts::kKeyGroupCount];
    std::unique_ptr<KeyButton> quick_[10];
    KeyButton shift_, alt_, ctrl_, prefix_;
    KeyTipWindow tips_;
    std::string currentData_;  // keyboard file path without ".tsb"
    int currentQuickButton_ = 0;
    bool closeRequested_ = false;

    // Activation and the resident program.
    HookLibrary hook_;
    bool keyboardOn_ = false;
    int installCount_ = 0;
    bool temporarilyOff_ = false;
    bool firstTickDone_ = false;
    bool quitRequested_ = false;
    SystemTray tray_;
    HMENU trayMenu_ = nullptr;
    HICON activeIcon_ = nullptr;
    HICON normalIcon_ = nullptr;
};

}  // namespace tsapp
