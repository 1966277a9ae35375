// The main and only top-level window of ts: the on-screen keyboard of the
// loaded layout with its modifier toggles and prefix selector, edit mode, and
// the buttons that open the editing dialogs, save and discard. Its state and
// rules are the keyboard session's (ts/editor/keyboard_session.h): the dialog
// forwards its commands there and draws what each step gives back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "key_button.h"
#include "key_dialogs.h"
#include "product.h"
#include "ts_program.h"
#include "startup.h"
#include "system_tray.h"
#include "ts/editor/keyboard_session.h"
#include "ts_ids.h"

namespace tsapp {

class KeyboardDialog : public TsDialog,
                       public KeyButtonOwner,
                       private StartupWindow,
                       private ts::KeyboardSessionWindow {
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
    void SelectQuickButton(int index) override;
    // The last quick-switch button shown as on; -1 none.
    int ShownQuickButton() const { return session_.ShownQuickButton(); }
    int CurrentQuickButton() const { return session_.CurrentQuickButton(); }
    bool KeyboardOn() const { return session_.KeyboardOn(); }
    const ts::KeyboardSession& Session() const { return session_; }
    HMENU TrayMenu() const { return trayMenu_; }
    const SystemTray& Tray() const { return tray_; }

private:
    // The window work of the start-up.
    void ShowUiTexts(bool editorOnly) override;
    bool OtherProductWindowRuns() override;
    void RefuseStart() override;
    void HideProductButtons() override;
    void AddWindowMenu(bool editorOnly) override;
    void SetIcons() override;
    void AddTrayIcon() override;
    void ResetToggles() override;
    void ShowQuickButtons(int current, const std::vector<std::string>& shortNames) override;
    void HideQuickButtons() override;
    void SetUpKeyTips() override;
    void StartPollTimer() override;
    void Activate() override { CmActivate(); }

    KeyButton* KeyOf(int group, int key);
    // The key of a control id (group and index); false for another id.
    static bool KeyFromId(int id, int& group, int& key);
    int IdOfKey(int group, int key) const;

    // The window work of the session's steps.
    void LoadLayout(const std::string& path) override;
    bool AskSaveChanges() override;
    bool AskFinish() override;
    // Draws what a step of the session gives back: the status line and the
    // buttons' texts with the tray icon, the quick-switch side (title, tray
    // tip, toggles' captions, on flags, Windows layout), the selected key.
    void ShowView(const ts::KeyboardView& view);
    void ShowButtons(const ts::KeyboardView& view);
    void ShowQuickSwitch(const ts::KeyboardView& view);
    void ShowSelection();
    // ShowView; whether the command goes on.
    bool Proceeds(const ts::KeyboardView& view) {
        ShowView(view);
        return view.Proceed;
    }
    // The key that has the focus (group -1: none).
    void FocusedKey(int& group, int& key);
    void SetStatus(const std::string& text) { SetItemText(IDC_STATUS, text); }
    void ApplyKeyFont();
    void ApplyButtonFont() override;

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
    void BuildTrayMenu();
    void ToggleOffCaptions();
    void CmNothing() {}
    void CmCancel();
    LRESULT EvClose(WPARAM, LPARAM);
    LRESULT EvSetCursor(WPARAM, LPARAM);
    LRESULT EvSysCommand(WPARAM, LPARAM);
    // A modifier toggle after its step: on flag, caption, the keys.
    void ShowToggle(KeyButton& toggle, const ts::KeyboardView& view, bool on, int onText, int offText);
    void OpenCharacterMap();

    std::vector<std::unique_ptr<KeyButton>> keys_[lex::keyboard::kKeyGroupCount];
    std::unique_ptr<KeyButton> quick_[10];
    KeyButton shift_, alt_, ctrl_, prefix_;
    KeyTipWindow tips_;
    bool closeRequested_ = false;

    ProgramHookLibrary hook_;
    Ts2000ProductValues values_;
    ts::KeyboardSession session_;
    SystemTray tray_;
    HMENU trayMenu_ = nullptr;
    HICON activeIcon_ = nullptr;
    HICON normalIcon_ = nullptr;
};

}  // namespace tsapp
