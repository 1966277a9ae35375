#include "keyboard_dialog.h"

#include "core/settings/ts2000_ini.h"
#include "settings_dialogs.h"
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

const int kFirstIds[ts::kKeyGroupCount] = {IDC_MAIN_KEY_FIRST, IDC_FUNCTION_KEY_FIRST, IDC_KEYPAD_KEY_FIRST};

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
      prefix_(this, IDC_PREFIX_TOGGLE) {
    const UINT keyCodePage = program.KeyCodePage();
    for (int g = 0; g < ts::kKeyGroupCount; ++g) {
        for (int k = 0; k < ts::KeyCount(g); ++k) {
            keys_[g].push_back(std::make_unique<KeyButton>(this, kFirstIds[g] + k, this));
            keys_[g].back()->SetCodePage(keyCodePage);
        }
    }
    for (int i = 0; i < kQuickButtonCount; ++i)
        quick_[i] = std::make_unique<KeyButton>(this, IDC_QUICK_BUTTON_FIRST + i);
}

bool KeyboardDialog::KeyFromId(int id, int& group, int& key) {
    for (int g = 0; g < ts::kKeyGroupCount; ++g) {
        if (id >= kFirstIds[g] && id < kFirstIds[g] + ts::KeyCount(g)) {
            group = g;
            key = id - kFirstIds[g];
            return true;
        }
    }
    return false;
}

int KeyboardDialog::IdOfKey(int group, int key) const { return kFirstIds[group] + key; }

KeyButton* KeyboardDialog::KeyOf(int group, int key) {
    if (group < 0 || group >= ts::kKeyGroupCount || key < 0 || key >= ts::KeyCount(group)) return nullptr;
    return keys_[group][key].get();
}

void KeyboardDialog::SetupWindow() {
    TsDialog::SetupWindow();
    program_.MainWindow = Handle();
    const lex::Ts2000IniFile ts2000;
    const bool editorOnly = program_.EditorOnly();
    program_.Texts().SetLanguage(editorOnly ? program_.Line.Language : ts2000.ReadInt(lex::Ts2000Key::UiLanguage));
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
    if (!editorOnly && ProductWindowPresent(Handle())) {
        // The resident program or another ts runs: this one ends at the
        // first tick, having changed nothing.
        quitRequested_ = true;
        const std::string text = program_.Text(ts::kTextCannotStart);
        const std::string caption = program_.Text(ts::kTextWarningCaption);
        program_.MessageBox8(Handle(), text, caption, MB_OK);
    }
    if (editorOnly) {
        for (int id : {IDC_ACTIVATE, IDC_SETUP}) ::ShowWindow(GetItem(id), SW_HIDE);
    }
    if (HMENU menu = ::GetSystemMenu(Handle(), FALSE)) {
        const UINT cp = program_.UiCodePage();
        ::AppendMenuW(menu, MF_STRING | (editorOnly ? MF_GRAYED : 0), CM_HIDE,
                      wl::ToWide(program_.Text(ts::kTextHide), cp).c_str());
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu, MF_STRING, CM_ABOUT, wl::ToWide(program_.Text(ts::kTextAboutProgram), cp).c_str());
    }
    activeIcon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ACTIVE));
    normalIcon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NORMAL));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(activeIcon_));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(activeIcon_));

    program_.MakeButtonFont(lex::ReadButtonFont(ts2000));
    ApplyButtonFont();

    if (!editorOnly && !quitRequested_) {
        // Without the icon ts goes on; it is then never hidden, as nothing
        // could show it again.
        BuildTrayMenu();
        tray_.Add(Handle(), "Tastrix", normalIcon_);
    }

    for (KeyButton* t : {&alt_, &shift_, &ctrl_, &prefix_}) {
        t->Active = false;
        t->Plain = true;
    }
    alt_.SetKeyCaption("Alt vyp");
    shift_.SetKeyCaption("Shift vyp");
    ctrl_.SetKeyCaption("Ctrl vyp");
    prefix_.SetKeyCaption("P vyp");

    // A button index outside 0..9 in ts2000.ini gives button 0.
    currentQuickButton_ = editorOnly ? 0 : ts2000.ReadIntInRange(lex::Ts2000Key::LastQuickButton, 0, 9);
    for (int i = 0; i < kQuickButtonCount; ++i) {
        KeyButton& b = *quick_[i];
        if (editorOnly) {
            b.Show(SW_HIDE);
            continue;
        }
        b.SetKeyCaption(LoadQuickButton(program_, i).ShortName);
        b.Active = i == currentQuickButton_;
    }
    tips_.SetOwner(Handle());

    // In both modes: the layout, and the toggles with the Off texts of the UI
    // language. A start that ends at once reads and writes no layout file: a
    // load would copy the companion over the running program's working copy.
    if (!quitRequested_) SelectQuickButton(currentQuickButton_);
    if (editorOnly) return;
    if (!quitRequested_ && ts2000.ReadInt(lex::Ts2000Key::ActivateAtStart) == 1) CmActivate();
    SetTimer(kPollTimer, kPollMs);
    if (!quitRequested_) {
        const std::string folder = ts::TrimProgramDirectory(ts2000.ReadText(lex::Ts2000Key::ProgramFolder));
        program_.SetProgramDirectory(folder);
        ts2000.WriteText(lex::Ts2000Key::SwitchFile, folder + ts::kSwitchFileName);
    }
}

void KeyboardDialog::ApplyButtonFont() {
    for (int id : kButtonFontIds) SetButtonFont({id});
}

void KeyboardDialog::LoadCurrent() {
    program_.Shown = ts::ShownState();
    shift_.Active = alt_.Active = ctrl_.Active = prefix_.Active = false;
    const ts::KeyboardFileResult result = program_.LoadKeyboardFile(CurrentPath());
    // Only a layout loaded with its companion brings a caption font; without
    // one the keys keep the font they have (the default [FONT] before the first).
    if (result == ts::KeyboardFileResult::Done || !program_.KeyCaptionFont) {
        ts::ProfileFile& ini = program_.WorkIni();
        program_.MakeKeyFonts(ToLogFont(ts::LoadFontSettings(ini)));
        ApplyKeyFont();
    }
    RefreshKeys();
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
        ts::ProfileFile& ini = program_.WorkIni();
        return ts::ComputeFaces(program_.Store.Tables, program_.Shown, ini, program_.Text(ts::kTextKeyUnusable));
    }();
    shift_.PrefixMark = faces.MarkShift;
    alt_.PrefixMark = faces.MarkAlt;
    ctrl_.PrefixMark = faces.MarkCtrl;
    for (int g = 0; g < ts::kKeyGroupCount; ++g) {
        for (int k = 0; k < ts::KeyCount(g); ++k) {
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

bool KeyboardDialog::EditingAllowed() {
    SetStatus(" ");
    if (program_.EditMode) return true;
    SetStatus(program_.Text(ts::kTextPermitChangesFirst));
    return false;
}

bool KeyboardDialog::TakeSelectedKey() {
    for (int g = 0; g < ts::kKeyGroupCount; ++g) {
        for (int k = 0; k < ts::KeyCount(g); ++k) {
            if (keys_[g][k]->Selected) {
                program_.Current = ts::KeyRef{g, k, program_.Shown.KeyState()};
                return true;
            }
        }
    }
    SetStatus(program_.Text(ts::kTextChooseKeyFirst));
    return false;
}

bool KeyboardDialog::TakeFocusedKey() {
    HWND focus = ::GetFocus();
    for (int g = 0; g < ts::kKeyGroupCount; ++g) {
        for (int k = 0; k < ts::KeyCount(g); ++k) {
            if (focus && keys_[g][k]->Handle() == focus) {
                program_.Current = ts::KeyRef{g, k, program_.Shown.KeyState()};
                return true;
            }
        }
    }
    return false;
}

void KeyboardDialog::CmKeyClicked(UINT id) {
    int group, key;
    if (!KeyFromId(static_cast<int>(id), group, key)) return;
    for (int g = 0; g < ts::kKeyGroupCount; ++g) {
        for (int k = 0; k < ts::KeyCount(g); ++k) {
            KeyButton& b = *keys_[g][k];
            const bool selected = g == group && k == key;
            if (b.Selected != selected) {
                b.Selected = selected;
                b.Redraw();
            }
        }
    }
    program_.Current = ts::KeyRef{group, key, program_.Shown.KeyState()};
}

void KeyboardDialog::KeyRightClicked(int id) {
    CmKeyClicked(static_cast<UINT>(id));
    if (!EditingAllowed()) return;
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
    if (!EditingAllowed() || !TakeFocusedKey()) return;
    KeyAssignDialog dialog(program_);
    if (dialog.Execute() == IDOK) {
        program_.Store.Modified = true;
        RefreshKeys();
    }
}

void KeyboardDialog::OpenCharacterMap() {
    const std::string& caption = KeyOf(program_.Current.Group, program_.Current.Key)->GetKeyCaption();
    const int first = caption.empty() ? 0 : static_cast<unsigned char>(caption[0]);
    program_.PickedChar = first == 9 || first >= 31 ? first : -1;
    CharMapDialog dialog(program_);
    if (dialog.Execute() == IDOK && ts::ApplyCharacterPick(program_.Store.Tables, program_.Current, program_.PickedChar))
        program_.Store.Modified = true;
    RefreshKeys();
}

void KeyboardDialog::CmCharacterMap() {
    if (!EditingAllowed() || !TakeFocusedKey()) return;
    OpenCharacterMap();
}

void KeyboardDialog::CmKeyDoubleClicked(UINT id) {
    CmKeyClicked(id);
    if (!EditingAllowed()) return;
    OpenCharacterMap();
}

void KeyboardDialog::CmNewKey() {
    if (!EditingAllowed() || !TakeSelectedKey()) return;
    NewKeyDialog dialog(program_);
    if (dialog.Execute() == IDOK) {
        program_.Store.Modified = true;
        RefreshKeys();
    }
}

void KeyboardDialog::CmNewPrefix() {
    if (!EditingAllowed()) return;
    PrefixDialog dialog(program_);
    dialog.Execute();
    RefreshKeys();
}

void KeyboardDialog::CmDeleteKey() {
    if (!EditingAllowed() || !TakeSelectedKey()) return;
    DeleteKeyDialog dialog(program_);
    if (dialog.Execute() != IDCANCEL) {
        program_.Store.Modified = true;
        RefreshKeys();
    }
}

void KeyboardDialog::CmFont() {
    if (!EditingAllowed()) return;
    wl::FontDialogOptions options;
    options.font = program_.KeyFont;
    options.flags = CF_SCREENFONTS | CF_TTONLY;
    options.codePage = CP_ACP;
    if (wl::ChooseFontDialog(this, options)) {
        program_.MakeKeyFonts(options.font);
        program_.Store.Modified = true;
    }
    ApplyKeyFont();
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ts::ProfileFile& ini = program_.WorkIni();
    ts::SaveFontSettings(ini, FromLogFont(program_.KeyFont));
    RefreshKeys();
}

void KeyboardDialog::Toggle(KeyButton& toggle, int onText, int offText) {
    toggle.Active = !toggle.Active;
    toggle.SetKeyCaption(program_.Text(toggle.Active ? onText : offText));
    toggle.Redraw();
    program_.Shown.Shift = shift_.Active;
    program_.Shown.Alt = alt_.Active;
    program_.Shown.Ctrl = ctrl_.Active;
    RefreshKeys();
}

void KeyboardDialog::CmShiftToggle() { Toggle(shift_, ts::kTextShiftOn, ts::kTextShiftOff); }
void KeyboardDialog::CmAltToggle() { Toggle(alt_, ts::kTextAltOn, ts::kTextAltOff); }
void KeyboardDialog::CmCtrlToggle() { Toggle(ctrl_, ts::kTextCtrlOn, ts::kTextCtrlOff); }

void KeyboardDialog::CmPrefixToggle() {
    int& pending = program_.Shown.PendingPrefix;
    pending = pending >= ts::kPrefixCount - 1 ? -1 : pending + 1;
    const int onTexts[] = {ts::kTextPrefix1On, ts::kTextPrefix2On, ts::kTextPrefix3On, ts::kTextPrefix4On,
                           ts::kTextPrefix5On};
    prefix_.Active = pending >= 0;
    prefix_.SetKeyCaption(program_.Text(pending >= 0 ? onTexts[pending] : ts::kTextPrefixOff));
    prefix_.Redraw();
    RefreshKeys();
}

void KeyboardDialog::CmAllowChanges() {
    // The keyboard goes off while its layouts can change.
    if (hook_.Installed()) CmActivate();
    if (!program_.EditMode) {
        program_.EditMode = true;
        SetItemText(IDC_ALLOW_CHANGES, program_.Text(ts::kTextChangesAllowed));
        return;
    }
    program_.EditMode = false;
    SetItemText(IDC_ALLOW_CHANGES, program_.Text(ts::kTextChangesDenied));
    if (!program_.CancelPending && program_.Store.Modified) {
        const std::string question = program_.Text(ts::kTextSaveChangesQuestion);
        const std::string caption = program_.Text(ts::kTextWarningCaption);
        if (program_.MessageBox8(Handle(), question, caption, MB_YESNO) == IDYES) {
            program_.Store.SaveKeyboardFile(CurrentPath());
            if (program_.Store.Modified) {
                // Not saved (the store has said so): the edits and edit mode stay.
                program_.EditMode = true;
                SetItemText(IDC_ALLOW_CHANGES, program_.Text(ts::kTextChangesAllowed));
            }
            return;
        }
    }
    program_.Store.Modified = false;
    LoadCurrent();
    program_.CancelPending = false;
}

void KeyboardDialog::CmCancelChanges() {
    if (program_.EditMode) {
        program_.CancelPending = true;
        CmAllowChanges();
    }
    program_.CancelPending = false;
    LoadCurrent();
}

void KeyboardDialog::CmSave() { program_.Store.SaveKeyboardFile(CurrentPath()); }

void KeyboardDialog::CmEnd() {
    if (program_.EditMode) CmAllowChanges();
    if (program_.EditMode) return;  // the edits could not be saved
    if (!program_.EditorOnly()) {
        const lex::Ts2000IniFile ts2000;
        if (ts2000.ReadInt(lex::Ts2000Key::SaveLast) == 1) {
            const int shown = ShownQuickButton();
            ts2000.WriteInt(lex::Ts2000Key::LastQuickButton, shown < 0 ? 0 : shown);
        }
        if (ts2000.ReadInt(lex::Ts2000Key::AskToFinish) == 1) {
            const std::string question = program_.Text(ts::kTextFinishQuestion);
            const std::string caption = program_.Text(ts::kTextWarningCaption);
            if (program_.MessageBox8(Handle(), question, caption, MB_YESNO) != IDYES) return;
        }
    }
    CloseWindow(IDCANCEL);
}

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

int KeyboardDialog::ShownQuickButton() const {
    int shown = -1;
    for (int i = 0; i < kQuickButtonCount; ++i)
        if (quick_[i]->Active) shown = i;
    return shown;
}

void KeyboardDialog::ToggleOffCaptions() {
    shift_.SetKeyCaption(program_.Text(ts::kTextShiftOff));
    alt_.SetKeyCaption(program_.Text(ts::kTextAltOff));
    ctrl_.SetKeyCaption(program_.Text(ts::kTextCtrlOff));
    prefix_.SetKeyCaption(program_.Text(ts::kTextPrefixOff));
    for (KeyButton* t : {&shift_, &alt_, &ctrl_, &prefix_}) t->Redraw();
}

void KeyboardDialog::SelectQuickButton(int index) {
    if (!ts::IsQuickButton(index)) return;
    const QuickButton button = LoadQuickButton(program_, index);
    if (!program_.EditorOnly()) SetText(ts::ProductTitle(button.Name));
    currentData_ = button.Data;
    LoadCurrent();
    ToggleOffCaptions();
    for (int i = 0; i < kQuickButtonCount; ++i) {
        quick_[i]->Active = i == currentQuickButton_;
        quick_[i]->Redraw();
    }
    tray_.ChangeTip(ts::ProductTitle(button.ShortName));
}

void KeyboardDialog::CmQuickButton(UINT id) {
    if (program_.EditorOnly()) return;
    if (program_.EditMode) CmAllowChanges();
    if (program_.EditMode) return;  // the edits could not be saved
    const int index = static_cast<int>(id) - IDC_QUICK_BUTTON_FIRST;
    if (!ts::IsQuickButton(index)) return;
    for (int i = 0; i < kQuickButtonCount; ++i) {
        quick_[i]->Active = i == index;
        quick_[i]->Redraw();
    }
    const QuickButton button = LoadQuickButton(program_, index);
    SetText(ts::ProductTitle(button.Name));
    currentData_ = button.Data;
    LoadCurrent();
    tray_.ChangeTip(ts::ProductTitle(button.ShortName));
    if (!hook_.Installed()) return;
    const lex::Ts2000IniFile ts2000;
    ts2000.WriteInt(lex::Ts2000Key::ActiveQuickButton, index);
    ts2000.WriteText(lex::Ts2000Key::ActiveKeyboard, CurrentPath());
    HKL layouts[100];
    const int count = InstalledLayouts(layouts, 100);
    const int active = ts2000.ReadIntOr(lex::Ts2000Key::ActiveQuickButton, -1);
    if (!ts::IsQuickButton(active)) return;
    const int layout = ts2000.ReadInt(lex::Ts2000Key::QuickButtonWindowsLayout, active);
    if (layout >= 0 && layout < count) ::ActivateKeyboardLayout(layouts[layout], 0);
}

void KeyboardDialog::CmTrayKeyboard(UINT id) {
    const int index = static_cast<int>(id) - CM_TRAY_KEYBOARD_FIRST;
    if (!ts::IsQuickButton(index)) return;
    ::SetFocus(quick_[index]->Handle());
    CmQuickButton(static_cast<UINT>(IDC_QUICK_BUTTON_FIRST + index));
}

// ---- activation and the resident program ----

void KeyboardDialog::CmActivate() {
    if (program_.EditorOnly()) return;
    // Edit mode is left first, so that its question comes before the layout
    // shown is replaced.
    if (program_.EditMode) CmAllowChanges();
    if (program_.EditMode) return;  // the edits could not be saved
    SelectQuickButton(currentQuickButton_);
    if (keyboardOn_) {
        RemoveHook();
        SetItemText(IDC_ACTIVATE, program_.Text(ts::kTextInactive));
        keyboardOn_ = false;
        return;
    }
    const lex::Ts2000IniFile ts2000;
    ts2000.WriteText(lex::Ts2000Key::ActiveKeyboard, CurrentPath());
    const int shown = ShownQuickButton();
    ts2000.WriteText(lex::Ts2000Key::ActiveQuickButton, shown < 0 ? std::string() : std::to_string(shown));
    RemoveHook();
    InstallHook();
    keyboardOn_ = hook_.Installed();
    SetItemText(IDC_ACTIVATE, program_.Text(keyboardOn_ ? ts::kTextActive : ts::kTextInactive));
}

void KeyboardDialog::InstallHook() {
    if (hook_.Installed()) return;
    ++installCount_;
    lex::Ts2000IniFile().WriteInt(lex::Ts2000Key::InstallCount, installCount_);
    const std::string path = program_.ProgramDirectory() + ts::kHookLibraryName;
    switch (hook_.Install(path)) {
        case HookLibrary::Result::NoLibrary:
            ::MessageBoxA(Handle(), "nemohu nahrat", "", MB_OK | MB_ICONEXCLAMATION);
            return;
        case HookLibrary::Result::NoProcedure:
            ::MessageBoxA(Handle(), "nemohu pristupnit k dll", "", MB_OK | MB_ICONEXCLAMATION);
            return;
        case HookLibrary::Result::Installed: tray_.ChangeIcon(activeIcon_); return;
    }
}

void KeyboardDialog::RemoveHook() {
    if (!hook_.Installed()) return;
    hook_.Remove();
    tray_.ChangeIcon(normalIcon_);
}

LRESULT KeyboardDialog::EvTimer(WPARAM id, LPARAM) {
    if (id != kPollTimer) return DefaultProcessing();
    if (quitRequested_) {
        KillTimer(kPollTimer);
        CloseWindow(IDCANCEL);
        return 0;
    }
    if (!firstTickDone_) {
        firstTickDone_ = true;
        if (!program_.EditorOnly() && lex::Ts2000IniFile().ReadInt(lex::Ts2000Key::HideAtStart) == 1) CmHideWindow();
    }
    if (keyboardOn_) PollCurrentKeyboard();
    return 0;
}

void KeyboardDialog::PollCurrentKeyboard() {
    if (program_.EditorOnly()) return;
    const lex::Ts2000IniFile ts2000;
    if (ts2000.ReadText(lex::Ts2000Key::ActiveKeyboard) == ts::kTemporarilyOff) {
        SetText(ts::ProductTitle(program_.Text(ts::kTextTemporarilyInactive)));
        temporarilyOff_ = true;
        return;
    }
    const int reported = ts2000.ReadInt(lex::Ts2000Key::ActiveQuickButton);
    // A report outside 0..9 names no button; edits not yet saved are never
    // replaced by a reload.
    if (!ts::IsQuickButton(reported) || program_.Store.Modified) return;
    if (reported != currentQuickButton_ || temporarilyOff_) {
        currentQuickButton_ = reported;
        temporarilyOff_ = false;
        SelectQuickButton(reported);
    }
}

void KeyboardDialog::CmSetup() {
    if (program_.EditorOnly()) return;
    if (program_.EditMode) CmAllowChanges();
    if (program_.EditMode) return;  // the edits could not be saved
    if (hook_.Installed()) CmActivate();
    program_.RestartNeeded = false;
    SettingsDialog settings(program_, trayMenu_);
    if (settings.Execute() != IDOK) return;
    for (int i = 0; i < kQuickButtonCount; ++i) {
        quick_[i]->SetKeyCaption(LoadQuickButton(program_, i).ShortName);
        quick_[i]->Redraw();
    }
    ApplyButtonFont();
    currentData_ = LoadQuickButton(program_, ShownQuickButton()).Data;
    LoadCurrent();
    if (!program_.RestartNeeded) return;
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
