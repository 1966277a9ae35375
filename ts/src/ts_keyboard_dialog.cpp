#include "ts_keyboard_dialog.h"

#include "ts_settings_dialogs.h"
#include "startup.h"
#include "ts/texts/ts_text_ids.h"
#include "ts_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/text.h"

namespace tsapp {

namespace {

constexpr int kQuickButtonCount = ts::kQuickButtonCount;
constexpr UINT_PTR kPollTimer = 0;
constexpr UINT kPollMs = 1000;
constexpr COLORREF kTipBack = RGB(255, 255, 200);
constexpr COLORREF kTipText = RGB(0, 0, 0);

const int kFirstIds[lex::keyboard::kKeyGroupCount] = {IDC_MAIN_KEY_FIRST, IDC_FUNCTION_KEY_FIRST, IDC_KEYPAD_KEY_FIRST};

// The controls that show the button font: set at the start and again after
// the settings.
const int kButtonFontIds[] = {
    IDC_NEW_PREFIX, IDC_NEW_KEY, IDC_DELETE_KEY, IDC_ALLOW_CHANGES, IDC_ACTIVATE, IDC_SAVE, IDC_CANCEL_CHANGES,
    IDC_FONT, IDC_SETUP, IDC_HELP_BUTTON, IDC_END, IDC_SHIFT_TOGGLE, IDC_ALT_TOGGLE, IDC_CTRL_TOGGLE,
    IDC_PREFIX_TOGGLE, IDC_STATUS, IDC_STATUS_LABEL, IDC_QUICK_HEADING, IDC_QUICK_BUTTON_FIRST + 0,
    IDC_QUICK_BUTTON_FIRST + 1, IDC_QUICK_BUTTON_FIRST + 2, IDC_QUICK_BUTTON_FIRST + 3, IDC_QUICK_BUTTON_FIRST + 4,
    IDC_QUICK_BUTTON_FIRST + 5, IDC_QUICK_BUTTON_FIRST + 6, IDC_QUICK_BUTTON_FIRST + 7, IDC_QUICK_BUTTON_FIRST + 8,
    IDC_QUICK_BUTTON_FIRST + 9};

}  // namespace

WL_BEGIN_MESSAGE_TABLE(KeyboardDialog, TsDialog)
    WL_MESSAGE(WM_SYSCOMMAND, EvSysCommand)
    WL_MESSAGE(WM_CLOSE, EvClose)
    WL_MESSAGE(WM_SETCURSOR, EvSetCursor)
    WL_COMMAND(IDOK, CmNothing)
    WL_COMMAND(IDCANCEL, CmCancel)
    WL_COMMAND(IDC_NOTHING, CmNothing)
    WL_COMMAND(IDC_FONT, CmFont)
    WL_COMMAND(IDC_NEW_KEY, CmNewKey)
    WL_COMMAND(IDC_NEW_PREFIX, CmNewPrefix)
    WL_COMMAND(IDC_ALLOW_CHANGES, CmAllowChanges)
    WL_COMMAND(IDC_END, CmEnd)
    WL_COMMAND(IDC_SAVE, CmSave)
    WL_COMMAND(IDC_CANCEL_CHANGES, CmCancelChanges)
    WL_COMMAND(IDC_DELETE_KEY, CmDeleteKey)
    WL_COMMAND(IDC_CTRL_TOGGLE, CmCtrlToggle)
    WL_COMMAND(IDC_ALT_TOGGLE, CmAltToggle)
    WL_COMMAND(IDC_PREFIX_TOGGLE, CmPrefixToggle)
    WL_COMMAND(IDC_SHIFT_TOGGLE, CmShiftToggle)
    WL_COMMAND(IDC_HELP_BUTTON, CmHelp)
    WL_NOTIFY_RANGE(IDC_MAIN_KEY_FIRST, IDC_MAIN_KEY_LAST, BN_DOUBLECLICKED, CmKeyDoubleClicked)
    WL_NOTIFY_RANGE(IDC_KEYPAD_KEY_FIRST, IDC_KEYPAD_KEY_LAST, BN_DOUBLECLICKED, CmKeyDoubleClicked)
    WL_NOTIFY_RANGE(IDC_FUNCTION_KEY_FIRST, IDC_FUNCTION_KEY_LAST, BN_DOUBLECLICKED, CmKeyDoubleClicked)
    WL_COMMAND_RANGE(IDC_MAIN_KEY_FIRST, IDC_MAIN_KEY_LAST, CmKeyClicked)
    WL_COMMAND_RANGE(IDC_KEYPAD_KEY_FIRST, IDC_KEYPAD_KEY_LAST, CmKeyClicked)
    WL_COMMAND_RANGE(IDC_FUNCTION_KEY_FIRST, IDC_FUNCTION_KEY_LAST, CmKeyClicked)
    WL_COMMAND(CM_KEY_REMAPPING, CmKeyRemapping)
    WL_COMMAND(CM_CHARACTER_MAP, CmCharacterMap)
    WL_COMMAND_RANGE(IDC_QUICK_BUTTON_FIRST, IDC_QUICK_BUTTON_LAST, CmQuickButton)
    WL_COMMAND_RANGE(CM_TRAY_KEYBOARD_FIRST, CM_TRAY_KEYBOARD_LAST, CmTrayKeyboard)
    WL_COMMAND(IDC_ACTIVATE, CmActivate)
    WL_COMMAND(IDC_SETUP, CmSetup)
    WL_COMMAND(CM_SHOW_WINDOW, CmShowWindow)
    WL_COMMAND(CM_HIDE_WINDOW, CmHideWindow)
    WL_COMMAND(CM_ABOUT, CmAbout)
    WL_MESSAGE(WM_TIMER, EvTimer)
    WL_MESSAGE(kTrayMessage, EvTrayMessage)
    WL_MESSAGE(WM_DESTROY, EvDestroy)
WL_END_MESSAGE_TABLE()

KeyboardDialog::KeyboardDialog(Program& program)
    : TsDialog(program, IDD_KEYBOARD),
      shift_(this, IDC_SHIFT_TOGGLE),
      alt_(this, IDC_ALT_TOGGLE),
      ctrl_(this, IDC_CTRL_TOGGLE),
      prefix_(this, IDC_PREFIX_TOGGLE),
      hook_(program),
      values_(program),
      session_(program.Line, program.Store, *this, hook_, values_) {
    const UINT keyCodePage = program.KeyCodePage();
    for (int g = 0; g < lex::keyboard::kKeyGroupCount; ++g) {
        for (int k = 0; k < lex::keyboard::KeyCount(g); ++k) {
            keys_[g].push_back(std::make_unique<KeyButton>(this, kFirstIds[g] + k, this));
            keys_[g].back()->SetCodePage(keyCodePage);
        }
    }
    for (int i = 0; i < kQuickButtonCount; ++i)
        quick_[i] = std::make_unique<KeyButton>(this, IDC_QUICK_BUTTON_FIRST + i);
}

bool KeyboardDialog::KeyFromId(int id, int& group, int& key) {
    for (int g = 0; g < lex::keyboard::kKeyGroupCount; ++g) {
        if (id >= kFirstIds[g] && id < kFirstIds[g] + lex::keyboard::KeyCount(g)) {
            group = g;
            key = id - kFirstIds[g];
            return true;
        }
    }
    return false;
}

int KeyboardDialog::IdOfKey(int group, int key) const { return kFirstIds[group] + key; }

KeyButton* KeyboardDialog::KeyOf(int group, int key) {
    if (group < 0 || group >= lex::keyboard::kKeyGroupCount || key < 0 || key >= lex::keyboard::KeyCount(group)) return nullptr;
    return keys_[group][key].get();
}

void KeyboardDialog::SetupWindow() {
    TsDialog::SetupWindow();
    program_.MainWindow = Handle();
    Ts2000StartupSettings settings(program_);
    Startup startup(program_, *this, settings);
    startup.Run();
}

void KeyboardDialog::ShowUiTexts(bool editorOnly) {
    SetCodePage(program_.UiCodePage());
    SetItemText(IDC_QUICK_HEADING, editorOnly ? " " : program_.Text(ts::kTextQuickSwitchHeading));
    SetItemTexts(program_.UiTextLookup(), {{IDC_NEW_PREFIX, ts::kTextNewPrefix},
                                           {IDC_NEW_KEY, ts::kTextNewKey},
                                           {IDC_DELETE_KEY, ts::kTextDeleteKey},
                                           {IDC_ALLOW_CHANGES, ts::kTextChangesDenied},
                                           {IDC_ACTIVATE, ts::kTextInactive},
                                           {IDC_SAVE, ts::kTextSave},
                                           {IDC_CANCEL_CHANGES, ts::kTextCancel},
                                           {IDC_FONT, ts::kTextFont},
                                           {IDC_SETUP, ts::kTextSetup},
                                           {IDC_HELP_BUTTON, ts::kTextHelp},
                                           {IDC_END, ts::kTextEnd},
                                           {IDC_STATUS_LABEL, ts::kTextStatusLabel}});
    SetItemText(IDC_STATUS, " ");
}

bool KeyboardDialog::OtherProductWindowRuns() { return ProductWindowPresent(Handle()); }

void KeyboardDialog::RefuseStart() {
    session_.RefuseStart();
    const std::string text = program_.Text(ts::kTextCannotStart);
    const std::string caption = program_.Text(ts::kTextWarningCaption);
    program_.MessageBox8(Handle(), text, caption, MB_OK);
}

void KeyboardDialog::HideProductButtons() {
    for (int id : {IDC_ACTIVATE, IDC_SETUP}) ::ShowWindow(GetItem(id), SW_HIDE);
}

void KeyboardDialog::AddWindowMenu(bool editorOnly) {
    HMENU menu = ::GetSystemMenu(Handle(), FALSE);
    if (!menu) return;
    const UINT cp = program_.UiCodePage();
    ::AppendMenuW(menu, MF_STRING | (editorOnly ? MF_GRAYED : 0), CM_HIDE,
                  wl::ToWide(program_.Text(ts::kTextHide), cp).c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, CM_ABOUT, wl::ToWide(program_.Text(ts::kTextAboutProgram), cp).c_str());
}

void KeyboardDialog::SetIcons() {
    activeIcon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ACTIVE));
    normalIcon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NORMAL));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(activeIcon_));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(activeIcon_));
}

void KeyboardDialog::AddTrayIcon() {
    BuildTrayMenu();
    tray_.Add(Handle(), "Tastrix", normalIcon_);
}

void KeyboardDialog::ResetToggles() {
    for (KeyButton* t : {&alt_, &shift_, &ctrl_, &prefix_}) {
        t->Active = false;
        t->Plain = true;
    }
    alt_.SetKeyCaption("Alt vyp");
    shift_.SetKeyCaption("Shift vyp");
    ctrl_.SetKeyCaption("Ctrl vyp");
    prefix_.SetKeyCaption("P vyp");
}

void KeyboardDialog::ShowQuickButtons(int current, const std::vector<std::string>& shortNames) {
    session_.StartQuickButtons(current);
    for (int i = 0; i < kQuickButtonCount; ++i) {
        KeyButton& b = *quick_[i];
        b.SetKeyCaption(shortNames[static_cast<size_t>(i)]);
        b.Active = i == session_.ShownQuickButton();
    }
}

void KeyboardDialog::HideQuickButtons() {
    session_.StartWithoutQuickButtons();
    for (int i = 0; i < kQuickButtonCount; ++i) quick_[i]->Show(SW_HIDE);
}

void KeyboardDialog::SetUpKeyTips() { tips_.SetOwner(Handle()); }

void KeyboardDialog::StartPollTimer() { SetTimer(kPollTimer, kPollMs); }

void KeyboardDialog::ApplyButtonFont() {
    for (int id : kButtonFontIds) SetButtonFont({id});
}

void KeyboardDialog::LoadLayout(const std::string& path) {
    const ts::ShownState& shown = session_.Shown();
    shift_.Active = shown.Shift;
    alt_.Active = shown.Alt;
    ctrl_.Active = shown.Ctrl;
    prefix_.Active = shown.PendingPrefix >= 0;
    const lex::keyboard::KeyboardFileResult result = program_.LoadKeyboardFile(path);
    // Only a layout loaded with its companion brings a caption font; without
    // one the keys keep the font they have (the default [FONT] before the first).
    if (result == lex::keyboard::KeyboardFileResult::Done || !program_.KeyCaptionFont) {
        lex::keyboard::ProfileFile& ini = program_.WorkIni();
        program_.MakeKeyFonts(ToLogFont(lex::keyboard::LoadFontSettings(ini)));
        ApplyKeyFont();
    }
    RefreshKeys();
}

bool KeyboardDialog::AskSaveChanges() {
    const std::string question = program_.Text(ts::kTextSaveChangesQuestion);
    const std::string caption = program_.Text(ts::kTextWarningCaption);
    return program_.MessageBox8(Handle(), question, caption, MB_YESNO) == IDYES;
}

bool KeyboardDialog::AskFinish() {
    const std::string question = program_.Text(ts::kTextFinishQuestion);
    const std::string caption = program_.Text(ts::kTextWarningCaption);
    return program_.MessageBox8(Handle(), question, caption, MB_YESNO) == IDYES;
}

void KeyboardDialog::ShowView(const ts::KeyboardView& view) {
    ShowButtons(view);
    ShowQuickSwitch(view);
    if (view.Selection) ShowSelection();
    if (view.Keys) RefreshKeys();
    if (view.Hide) CmHideWindow();
    if (view.Close) CloseWindow(IDCANCEL);
}

void KeyboardDialog::ShowButtons(const ts::KeyboardView& view) {
    switch (view.Status) {
        case ts::KeyboardStatus::Unchanged: break;
        case ts::KeyboardStatus::Blank: SetStatus(" "); break;
        case ts::KeyboardStatus::PermitChangesFirst: SetStatus(program_.Text(ts::kTextPermitChangesFirst)); break;
        case ts::KeyboardStatus::ChooseKeyFirst: SetStatus(program_.Text(ts::kTextChooseKeyFirst)); break;
    }
    if (view.EditMode) {
        const int text = *view.EditMode ? ts::kTextChangesAllowed : ts::kTextChangesDenied;
        SetItemText(IDC_ALLOW_CHANGES, program_.Text(text));
    }
    if (view.HookFailure == ts::ProductHook::Result::NoLibrary)
        ::MessageBoxA(Handle(), "nemohu nahrat", "", MB_OK | MB_ICONEXCLAMATION);
    if (view.HookFailure == ts::ProductHook::Result::NoProcedure)
        ::MessageBoxA(Handle(), "nemohu pristupnit k dll", "", MB_OK | MB_ICONEXCLAMATION);
    if (view.ActiveIcon) tray_.ChangeIcon(*view.ActiveIcon ? activeIcon_ : normalIcon_);
    if (view.KeyboardOn)
        SetItemText(IDC_ACTIVATE, program_.Text(*view.KeyboardOn ? ts::kTextActive : ts::kTextInactive));
}

void KeyboardDialog::ShowQuickSwitch(const ts::KeyboardView& view) {
    if (view.Title) {
        const QuickButton button = LoadQuickButton(program_, *view.Title);
        if (!program_.EditorOnly()) SetText(ts::ProductTitle(button.Name));
        tray_.ChangeTip(ts::ProductTitle(button.ShortName));
    }
    if (view.TogglesOff) ToggleOffCaptions();
    if (view.QuickButtons) {
        for (int i = 0; i < kQuickButtonCount; ++i) {
            quick_[i]->Active = i == session_.ShownQuickButton();
            quick_[i]->Redraw();
        }
    }
    if (view.TemporarilyOff) SetText(ts::ProductTitle(program_.Text(ts::kTextTemporarilyInactive)));
    if (view.WindowsLayout) {
        HKL layouts[100];
        const int count = InstalledLayouts(layouts, 100);
        if (*view.WindowsLayout < count) ::ActivateKeyboardLayout(layouts[*view.WindowsLayout], 0);
    }
}

void KeyboardDialog::ShowSelection() {
    for (int g = 0; g < lex::keyboard::kKeyGroupCount; ++g) {
        for (int k = 0; k < lex::keyboard::KeyCount(g); ++k) {
            KeyButton& b = *keys_[g][k];
            const bool selected = g == session_.SelectedGroup() && k == session_.SelectedKey();
            if (b.Selected != selected) {
                b.Selected = selected;
                b.Redraw();
            }
        }
    }
}

void KeyboardDialog::ApplyKeyFont() {
    const UINT cp = program_.KeyCodePage();
    for (auto& group : keys_) {
        for (auto& key : group) {
            key->SetCodePage(cp);
            if (program_.KeyCaptionFont)
                key->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.KeyCaptionFont), FALSE);
        }
    }
}

void KeyboardDialog::RefreshKeys() {
    const ts::KeyboardFaces faces = [&] {
        lex::keyboard::ProfileFile& ini = program_.WorkIni();
        return ts::ComputeFaces(program_.Store.Tables, session_.Shown(), ini, program_.Text(ts::kTextKeyUnusable));
    }();
    shift_.PrefixMark = faces.MarkShift;
    alt_.PrefixMark = faces.MarkAlt;
    ctrl_.PrefixMark = faces.MarkCtrl;
    for (int g = 0; g < lex::keyboard::kKeyGroupCount; ++g) {
        for (int k = 0; k < lex::keyboard::KeyCount(g); ++k) {
            KeyButton& b = *keys_[g][k];
            const ts::KeyFace& face = faces.Keys[g][k];
            b.StartsProgram = face.StartsProgram;
            b.PrefixMark = face.Marked;
            b.Active = face.Active;
            b.Disabled = face.Disabled;
            ::EnableWindow(b.Handle(), face.Disabled ? FALSE : TRUE);
            b.SetKeyCaption(face.Caption);
            tips_.RemoveTool(b.Id());
            if (!face.Tip.empty()) {
                const UINT cp = face.Disabled ? program_.UiCodePage() : CP_ACP;
                tips_.AddTool(b.Id(), {face.Tip}, cp, kTipBack, kTipText);
            }
        }
    }
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void KeyboardDialog::FocusedKey(int& group, int& key) {
    group = key = -1;
    HWND focus = ::GetFocus();
    for (int g = 0; g < lex::keyboard::kKeyGroupCount; ++g) {
        for (int k = 0; k < lex::keyboard::KeyCount(g); ++k) {
            if (focus && keys_[g][k]->Handle() == focus) {
                group = g;
                key = k;
                return;
            }
        }
    }
}

void KeyboardDialog::CmKeyClicked(UINT id) {
    int group, key;
    if (!KeyFromId(static_cast<int>(id), group, key)) return;
    ShowView(session_.ClickKey(group, key));
}

void KeyboardDialog::KeyRightClicked(int id) {
    CmKeyClicked(static_cast<UINT>(id));
    if (!Proceeds(session_.BeginEdit())) return;
    HMENU menu = ::CreatePopupMenu();
    const UINT cp = program_.UiCodePage();
    ::AppendMenuW(menu, MF_STRING, CM_CHARACTER_MAP, wl::ToWide(program_.Text(ts::kTextCharacterMap), cp).c_str());
    ::AppendMenuW(menu, MF_STRING, CM_KEY_REMAPPING, wl::ToWide(program_.Text(ts::kTextKeyRemapping), cp).c_str());
    POINT at;
    ::GetCursorPos(&at);
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
    ::DestroyMenu(menu);
}

void KeyboardDialog::CmKeyRemapping() {
    int group, key;
    FocusedKey(group, key);
    if (!Proceeds(session_.BeginEditOfKey(group, key))) return;
    KeyAssignDialog dialog(program_, session_.Current());
    if (dialog.Execute() == IDOK) {
        session_.MarkModified();
        RefreshKeys();
    }
}

void KeyboardDialog::OpenCharacterMap() {
    const ts::KeyRef& current = session_.Current();
    CharMapDialog dialog(program_, ts::CharacterMapStart(KeyOf(current.Group, current.Key)->GetKeyCaption()));
    const std::optional<int> picked = dialog.Pick();
    if (picked && ts::ApplyCharacterPick(program_.Store.Tables, current, *picked)) session_.MarkModified();
    RefreshKeys();
}

void KeyboardDialog::CmCharacterMap() {
    int group, key;
    FocusedKey(group, key);
    if (!Proceeds(session_.BeginEditOfKey(group, key))) return;
    OpenCharacterMap();
}

void KeyboardDialog::CmKeyDoubleClicked(UINT id) {
    CmKeyClicked(id);
    if (!Proceeds(session_.BeginEdit())) return;
    OpenCharacterMap();
}

void KeyboardDialog::CmNewKey() {
    if (!Proceeds(session_.BeginEditOfSelectedKey())) return;
    NewKeyDialog dialog(program_, session_.Current());
    if (dialog.Execute() == IDOK) {
        session_.MarkModified();
        RefreshKeys();
    }
}

void KeyboardDialog::CmNewPrefix() {
    if (!Proceeds(session_.BeginEdit())) return;
    PrefixDialog dialog(program_);
    dialog.Execute();
    RefreshKeys();
}

void KeyboardDialog::CmDeleteKey() {
    if (!Proceeds(session_.BeginEditOfSelectedKey())) return;
    DeleteKeyDialog dialog(program_, session_.Current());
    if (dialog.Execute() != IDCANCEL) {
        session_.MarkModified();
        RefreshKeys();
    }
}

void KeyboardDialog::CmFont() {
    if (!Proceeds(session_.BeginEdit())) return;
    wl::FontDialogOptions options;
    options.font = program_.KeyFont;
    options.flags = CF_SCREENFONTS | CF_TTONLY;
    options.codePage = CP_ACP;
    if (wl::ChooseFontDialog(this, options)) {
        program_.MakeKeyFonts(options.font);
        session_.MarkModified();
    }
    ApplyKeyFont();
    ::InvalidateRect(Handle(), nullptr, TRUE);
    lex::keyboard::ProfileFile& ini = program_.WorkIni();
    lex::keyboard::SaveFontSettings(ini, FromLogFont(program_.KeyFont));
    RefreshKeys();
}

void KeyboardDialog::ShowToggle(KeyButton& toggle, const ts::KeyboardView& view, bool on, int onText, int offText) {
    toggle.Active = on;
    toggle.SetKeyCaption(program_.Text(on ? onText : offText));
    toggle.Redraw();
    ShowView(view);
}

void KeyboardDialog::CmShiftToggle() {
    const ts::KeyboardView view = session_.ToggleShift();
    ShowToggle(shift_, view, session_.Shown().Shift, ts::kTextShiftOn, ts::kTextShiftOff);
}

void KeyboardDialog::CmAltToggle() {
    const ts::KeyboardView view = session_.ToggleAlt();
    ShowToggle(alt_, view, session_.Shown().Alt, ts::kTextAltOn, ts::kTextAltOff);
}

void KeyboardDialog::CmCtrlToggle() {
    const ts::KeyboardView view = session_.ToggleCtrl();
    ShowToggle(ctrl_, view, session_.Shown().Ctrl, ts::kTextCtrlOn, ts::kTextCtrlOff);
}

void KeyboardDialog::CmPrefixToggle() {
    const ts::KeyboardView view = session_.TogglePrefix();
    const int pending = session_.Shown().PendingPrefix;
    const int onTexts[] = {ts::kTextPrefix1On, ts::kTextPrefix2On, ts::kTextPrefix3On, ts::kTextPrefix4On,
                           ts::kTextPrefix5On};
    prefix_.Active = pending >= 0;
    prefix_.SetKeyCaption(program_.Text(pending >= 0 ? onTexts[pending] : ts::kTextPrefixOff));
    prefix_.Redraw();
    ShowView(view);
}

void KeyboardDialog::CmAllowChanges() { ShowView(session_.AllowChanges()); }

void KeyboardDialog::CmCancelChanges() { ShowView(session_.CancelChanges()); }

void KeyboardDialog::CmSave() { ShowView(session_.Save()); }

void KeyboardDialog::CmEnd() { ShowView(session_.End()); }

void KeyboardDialog::CmCancel() {
    // Escape alone does nothing; the close box ends as the end button does.
    if (!closeRequested_) return;
    closeRequested_ = false;
    CmEnd();
}

LRESULT KeyboardDialog::EvClose(WPARAM, LPARAM) {
    closeRequested_ = true;
    CmCancel();
    return 0;
}

LRESULT KeyboardDialog::EvSetCursor(WPARAM, LPARAM lp) {
    // The mouse moving over the dialog or one of its keys: the tip of that key.
    if (HIWORD(lp) == WM_MOUSEMOVE) {
        POINT at;
        ::GetCursorPos(&at);
        ::ScreenToClient(Handle(), &at);
        tips_.RelayMouseMove(at);
    }
    return DefaultProcessing();
}

LRESULT KeyboardDialog::EvSysCommand(WPARAM wp, LPARAM) {
    const UINT command = static_cast<UINT>(wp & 0xFFF0);
    if (command == CM_ABOUT) {
        CmAbout();
        return 0;
    }
    if (command == CM_HIDE) {
        if (!program_.EditorOnly()) CmHideWindow();
        return 0;
    }
    return DefaultProcessing();
}

void KeyboardDialog::CmHelp() {
    const std::string file = program_.ProgramDirectory() + program_.Text(ts::kTextHelpFileName);
    ::WinHelpA(Handle(), file.c_str(), HELP_CONTENTS, 0);
}

// ---- quick-switch buttons ----

void KeyboardDialog::ToggleOffCaptions() {
    shift_.SetKeyCaption(program_.Text(ts::kTextShiftOff));
    alt_.SetKeyCaption(program_.Text(ts::kTextAltOff));
    ctrl_.SetKeyCaption(program_.Text(ts::kTextCtrlOff));
    prefix_.SetKeyCaption(program_.Text(ts::kTextPrefixOff));
    for (KeyButton* t : {&shift_, &alt_, &ctrl_, &prefix_}) t->Redraw();
}

void KeyboardDialog::SelectQuickButton(int index) { ShowView(session_.SelectQuickButton(index)); }

void KeyboardDialog::CmQuickButton(UINT id) {
    ShowView(session_.PressQuickButton(static_cast<int>(id) - IDC_QUICK_BUTTON_FIRST));
}

void KeyboardDialog::CmTrayKeyboard(UINT id) {
    const int index = static_cast<int>(id) - CM_TRAY_KEYBOARD_FIRST;
    if (!ts::IsQuickButton(index)) return;
    ::SetFocus(quick_[index]->Handle());
    CmQuickButton(static_cast<UINT>(IDC_QUICK_BUTTON_FIRST + index));
}

// ---- activation and the resident program ----

void KeyboardDialog::CmActivate() { ShowView(session_.Activate()); }

LRESULT KeyboardDialog::EvTimer(WPARAM id, LPARAM) {
    if (id != kPollTimer) return DefaultProcessing();
    const ts::KeyboardView view = session_.Tick();
    if (view.Close) KillTimer(kPollTimer);
    ShowView(view);
    return 0;
}

void KeyboardDialog::CmSetup() {
    if (!Proceeds(session_.BeginSetup())) return;
    SettingsDialog settings(program_, trayMenu_);
    const std::optional<SettingsDialog::Result> result = settings.Run();
    if (!result) return;
    for (int i = 0; i < kQuickButtonCount; ++i) {
        quick_[i]->SetKeyCaption(LoadQuickButton(program_, i).ShortName);
        quick_[i]->Redraw();
    }
    ApplyButtonFont();
    ShowView(session_.SetupDone());
    if (!result->RestartNeeded) return;
    const std::string question = program_.Text(ts::kTextRestartQuestion);
    const std::string caption = program_.Text(ts::kTextWarningCaption);
    if (program_.MessageBox8(Handle(), question, caption, MB_YESNO) != IDYES) return;
    SetText("dd");  // so that the new program finds no window of the product
    if (StartResidentProgram(program_.ProgramDirectory())) {
        CloseWindow(IDCANCEL);
        return;
    }
    const std::string text = program_.Text(ts::kTextCannotStart);
    const std::string caption2 = program_.Text(ts::kTextWarningCaption);
    program_.MessageBox8(Handle(), text, caption2, MB_OK);
}

// ---- notification-area icon ----

void KeyboardDialog::BuildTrayMenu() {
    trayMenu_ = ::CreatePopupMenu();
    const UINT cp = program_.UiCodePage();
    for (int i = 0; i < kQuickButtonCount; ++i)
        ::AppendMenuW(trayMenu_, MF_STRING, CM_TRAY_KEYBOARD_FIRST + i,
                      wl::ToWide(LoadQuickButton(program_, i).Name, cp).c_str());
    ::AppendMenuW(trayMenu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(trayMenu_, MF_STRING, CM_HIDE_WINDOW, wl::ToWide(program_.Text(ts::kTextHide), cp).c_str());
    ::AppendMenuW(trayMenu_, MF_STRING, CM_SHOW_WINDOW, wl::ToWide(program_.Text(ts::kTextShow), cp).c_str());
    ::AppendMenuW(trayMenu_, MF_STRING, CM_ABOUT, wl::ToWide(program_.Text(ts::kTextAboutProgram), cp).c_str());
    ::SetMenuDefaultItem(trayMenu_, kTrayDefaultPosition, TRUE);
}

LRESULT KeyboardDialog::EvTrayMessage(WPARAM wp, LPARAM lp) {
    tray_.HandleMessage(wp, lp, trayMenu_);
    return 0;
}

void KeyboardDialog::CmShowWindow() {
    Show(SW_SHOW);
    ::SetForegroundWindow(Handle());
}

void KeyboardDialog::CmHideWindow() {
    if (tray_.Enabled()) Show(SW_HIDE);
}

void KeyboardDialog::CmAbout() {
    AboutDialog about(program_);
    about.Execute();
}

LRESULT KeyboardDialog::EvDestroy(WPARAM, LPARAM) {
    KillTimer(kPollTimer);
    tray_.Delete();
    if (trayMenu_) ::DestroyMenu(trayMenu_);
    trayMenu_ = nullptr;
    return DefaultProcessing();
}

}  // namespace tsapp
