#include "ts_settings_dialogs.h"

#include "core/settings/ts2000_ini.h"
#include "ts/texts/ts_text_ids.h"
#include "ts_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/text.h"

namespace tsapp {

namespace {

constexpr int kMaxLayouts = 100;
constexpr int kFilePathSize = 254;

void SetCheck(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The display text of an installed Windows layout: its language and country
// in their own names, from the system in Unicode; the identifier when the
// system does not know its locale.
std::wstring LayoutDisplay(HKL layout, const std::wstring& name) {
    // The layout's locale: its identifier with the fourth digit cleared.
    std::wstring digits = name;
    if (digits.size() > 3) digits[3] = L'0';
    unsigned long locale = 0;
    for (wchar_t c : digits) {
        int v = -1;
        if (c >= L'0' && c <= L'9') v = c - L'0';
        else if (c >= L'A' && c <= L'F') v = c - L'A' + 10;
        else if (c >= L'a' && c <= L'f') v = c - L'a' + 10;
        if (v >= 0) locale = locale * 16 + static_cast<unsigned long>(v);
    }
    if (locale == 0) locale = LOWORD(reinterpret_cast<ULONG_PTR>(layout));
    wchar_t language[200] = {}, country[200] = {};
    if (!::GetLocaleInfoW(static_cast<LCID>(locale), LOCALE_SNATIVELANGNAME, language, 200) ||
        !::GetLocaleInfoW(static_cast<LCID>(locale), LOCALE_SNATIVECTRYNAME, country, 200))
        return name;
    std::wstring display = std::wstring(language) + L" (" + country + L")";
    return display.substr(0, 99);
}

const wchar_t* const kLanguageItems[ts::kUiLanguageCount] = {
    L"English", L"\u010Cesky", L"Cesky - bez diakritiky", L"Deutsch",
    L"Russian(\u0420\u0443\u0441\u0441\u043A\u0438\u0439)", L"Fran\u00E7ais", L"Espa\u00F1ol", L"Italiano",
    L"Slovensky"};

}  // namespace

const wchar_t* LanguageItem(int language) {
    return kLanguageItems[language >= 0 && language < ts::kUiLanguageCount ? language : 0];
}

// ---- switch hot keys ----

std::string FormatStandardSwitch(const std::string& text, int number) {
    const size_t at = text.find("%d");
    if (at == std::string::npos) return text;
    return text.substr(0, at) + std::to_string(number) + text.substr(at + 2);
}

WL_BEGIN_MESSAGE_TABLE(HotKeyDialog, TsDialog)
    WL_COMMAND(IDC_CAPTURE, CmCapture)
    WL_COMMAND(IDC_STANDARD, CmStandard)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

HotKeyDialog::HotKeyDialog(Program& program, int entry)
    : TsDialog(program, IDD_HOT_KEY), entry_(entry >= 0 && entry < lex::keyboard::kHotKeyCount ? entry : 0) {}

void HotKeyDialog::SetupWindow() {
    TsDialog::SetupWindow();
    SetText(program_.Text(ts::kTextNewSwitchTitle));
    SetItemText(IDC_CAPTURE_HINT, " ");
    SetItemText(IDC_CAPTURE_STATUS, " ");
    SetItemText(IDC_STANDARD_LABEL,
                FormatStandardSwitch(program_.Text(ts::kTextStandardSwitch), lex::keyboard::StandardFunctionKeyNumber(entry_)));
    SetItemTexts(program_.UiTextLookup(), {{IDC_CAPTURE, ts::kTextClickHere},
                                           {IDC_HOT_KEY_SHIFT, ts::kTextShiftCheck},
                                           {IDC_HOT_KEY_ALT, ts::kTextAltCheck},
                                           {IDC_HOT_KEY_CTRL, ts::kTextCtrlCheck},
                                           {IDC_STANDARD, ts::kTextStandard},
                                           {IDOK, ts::kTextOk},
                                           {IDCANCEL, ts::kTextCancel}});
    SetButtonFont({IDC_CAPTURE_HINT, IDC_CAPTURE, IDC_CAPTURE_STATUS, IDC_HOT_KEY_SHIFT, IDC_HOT_KEY_ALT,
                   IDC_HOT_KEY_CTRL, IDC_STANDARD_LABEL, IDC_STANDARD, IDOK, IDCANCEL});
    captured_ = -1;
    path_ = lex::Ts2000IniFile().ReadText(lex::Ts2000Key::SwitchFile);
    keys_ = lex::keyboard::ReadSwitchFile(*program_.Files, path_);
}

void HotKeyDialog::CmCapture() { captured_ = CaptureAtButton(captured_, true); }

void HotKeyDialog::CmStandard() {
    captured_ = lex::keyboard::StandardHotKey(entry_).ScanCode;
    SetCheck(Handle(), IDC_HOT_KEY_SHIFT, false);
    SetCheck(Handle(), IDC_HOT_KEY_ALT, true);
    SetCheck(Handle(), IDC_HOT_KEY_CTRL, true);
    SetItemText(IDC_CAPTURE_STATUS, program_.Text(ts::kTextAssociated));
}

void HotKeyDialog::CmOk() {
    lex::keyboard::HotKey& key = keys_[static_cast<size_t>(entry_)];
    key.Modifiers = static_cast<int16_t>((Checked(Handle(), IDC_HOT_KEY_SHIFT) ? 1 : 0) +
                                         (Checked(Handle(), IDC_HOT_KEY_ALT) ? 2 : 0) +
                                         (Checked(Handle(), IDC_HOT_KEY_CTRL) ? 4 : 0));
    key.ScanCode = static_cast<int16_t>(captured_);
    if (lex::keyboard::WriteSwitchFile(*program_.Files, path_, keys_)) {
        CloseWindow(IDOK);
        return;
    }
    // Not written: the user hears of it and may cancel.
    program_.MessageBox8(Handle(), "write1", program_.Text(ts::kTextErrorCaption), MB_OK);
}

// ---- settings ----

WL_BEGIN_MESSAGE_TABLE(SettingsDialog, TsDialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_BUTTON_FONT, CmButtonFont)
    WL_COMMAND(IDC_INACTIVATION_SWITCH, CmInactivationSwitch)
    WL_COMMAND_RANGE(IDC_ROW_FIRST, IDC_ROW_FIRST + IDC_ROW_STEP * ts::kQuickButtonCount - 1, CmOtherFile)
WL_END_MESSAGE_TABLE()

SettingsDialog::SettingsDialog(Program& program, HMENU trayMenu)
    : TsDialog(program, IDD_SETTINGS), trayMenu_(trayMenu) {}

std::optional<SettingsDialog::Result> SettingsDialog::Run() {
    if (Execute() != IDOK) return std::nullopt;
    return Result{restartNeeded_};
}

void SettingsDialog::SetupWindow() {
    TsDialog::SetupWindow();
    restartNeeded_ = false;
    SetText(program_.Text(ts::kTextSettingsTitle));
    const wl::TextLookup texts = program_.UiTextLookup();
    SetItemTexts(texts, {{IDC_SHORTCUT_HEADING, ts::kTextShortcut},
                         {IDC_NAME_HEADING, ts::kTextKeyboardNameHeading},
                         {IDC_FILE_HEADING, ts::kTextKeyboardFileHeading},
                         {IDC_WINDOWS_HEADING, ts::kTextWindowsKeyboard},
                         {IDC_ASK_TO_FINISH, ts::kTextApproveCompletion},
                         {IDC_SAVE_LAST, ts::kTextSaveActualSetup},
                         {IDC_ACTIVATE_AT_START, ts::kTextRunActive},
                         {IDC_HIDE_AT_START, ts::kTextRunMinimized},
                         {IDC_LANGUAGE_LABEL, ts::kTextCommunicationLanguage},
                         {IDC_INACTIVATION_SWITCH, ts::kTextInactivationSwitch},
                         {IDC_BUTTON_FONT, ts::kTextButtonsFont},
                         {IDOK, ts::kTextOk},
                         {IDCANCEL, ts::kTextCancelButton}});
    SetButtonFont({IDC_SHORTCUT_HEADING, IDC_NAME_HEADING, IDC_FILE_HEADING, IDC_WINDOWS_HEADING, IDC_ASK_TO_FINISH,
                   IDC_SAVE_LAST, IDC_ACTIVATE_AT_START, IDC_HIDE_AT_START, IDC_LANGUAGE_LABEL, IDC_LANGUAGE,
                   IDC_INACTIVATION_SWITCH, IDC_BUTTON_FONT, IDOK, IDCANCEL});
    const std::string pushButton = program_.Text(ts::kTextPushButton);
    for (int i = 0; i < ts::kQuickButtonCount; ++i) {
        SetItemText(RowId(i, IDC_ROW_LABEL), pushButton + " " + std::to_string(i + 1));
        SetItemTexts(texts,
                     {{RowId(i, IDC_ROW_OTHER), ts::kTextOtherFile}, {RowId(i, IDC_ROW_SWITCH), ts::kTextSwitch}});
        for (int offset = IDC_ROW_LABEL; offset <= IDC_ROW_LAYOUT; ++offset) SetButtonFont({RowId(i, offset)});
        ::SendMessageW(GetItem(RowId(i, IDC_ROW_SHORT_NAME)), EM_LIMITTEXT, ts::kShortNameSize - 1, 0);
        ::SendMessageW(GetItem(RowId(i, IDC_ROW_NAME)), EM_LIMITTEXT, ts::kLongNameSize - 1, 0);
    }
    FillLayoutLists();
    for (int i = 0; i < ts::kQuickButtonCount; ++i) {
        const QuickButton b = LoadQuickButton(program_, i);
        SetItemText(RowId(i, IDC_ROW_SHORT_NAME), b.ShortName);
        SetItemText(RowId(i, IDC_ROW_NAME), b.Name);
        SetItemText(RowId(i, IDC_ROW_FILE), b.Data);
        HWND list = GetItem(RowId(i, IDC_ROW_LAYOUT));
        const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
        const int selection = b.WindowsLayout + 1 >= 0 && b.WindowsLayout + 1 < count ? b.WindowsLayout + 1 : 0;
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    }
    const lex::Ts2000IniFile ts2000;
    SetCheck(Handle(), IDC_ASK_TO_FINISH, ts2000.ReadIntOr(lex::Ts2000Key::AskToFinish, 0) == 1);
    SetCheck(Handle(), IDC_HIDE_AT_START, ts2000.ReadInt(lex::Ts2000Key::HideAtStart) == 1);
    SetCheck(Handle(), IDC_ACTIVATE_AT_START, ts2000.ReadInt(lex::Ts2000Key::ActivateAtStart) == 1);
    SetCheck(Handle(), IDC_SAVE_LAST, ts2000.ReadInt(lex::Ts2000Key::SaveLast) == 1);
    HWND languages = GetItem(IDC_LANGUAGE);
    for (int language = 0; language < ts::kUiLanguageCount; ++language)
        ::SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LanguageItem(language)));
    ::SendMessageW(languages, CB_SETCURSEL, static_cast<WPARAM>(program_.Texts().Language()), 0);
}

void SettingsDialog::FillLayoutLists() {
    wchar_t activeName[KL_NAMELENGTH] = {};
    ::GetKeyboardLayoutNameW(activeName);
    HKL layouts[kMaxLayouts];
    const int count = InstalledLayouts(layouts, kMaxLayouts);
    int active = 0;
    std::vector<std::wstring> displays;
    for (int j = 0; j < count; ++j) {
        wchar_t name[KL_NAMELENGTH] = {};
        if (::ActivateKeyboardLayout(layouts[j], 0)) {
            ::GetKeyboardLayoutNameW(name);
        } else {
            // The layout cannot be made active here: its identifier from the handle.
            wsprintfW(name, L"%08X", static_cast<unsigned>(LOWORD(reinterpret_cast<ULONG_PTR>(layouts[j]))));
        }
        if (std::wstring(name) == activeName) active = j;
        displays.push_back(LayoutDisplay(layouts[j], name));
    }
    if (count > 0) ::ActivateKeyboardLayout(layouts[active], 0);
    const std::wstring inactive = wl::ToWide(program_.Text(ts::kTextNoWindowsLayout), program_.UiCodePage());
    for (int i = 0; i < ts::kQuickButtonCount; ++i) {
        HWND list = GetItem(RowId(i, IDC_ROW_LAYOUT));
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(inactive.c_str()));
        for (const std::wstring& d : displays) ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.c_str()));
    }
}

void SettingsDialog::ShowError() {
    const std::string text = program_.Text(ts::kTextWrongFileName);
    const std::string caption = program_.Text(ts::kTextErrorCaption);
    program_.MessageBox8(Handle(), text, caption, MB_OK);
}

void SettingsDialog::CmOtherFile(UINT id) {
    const int offset = (static_cast<int>(id) - IDC_ROW_FIRST) % IDC_ROW_STEP;
    const int row = (static_cast<int>(id) - IDC_ROW_FIRST) / IDC_ROW_STEP;
    if (offset == IDC_ROW_SWITCH) {
        CmHotKey(id);
        return;
    }
    if (offset != IDC_ROW_OTHER) return;
    wl::FileDialogOptions options;
    options.defaultExt = "tsb";
    options.fileName = "*.tsb";
    options.filter = program_.Text(ts::kTextKeyboardFilesFilter);
    options.title = program_.Text(ts::kTextKeyboardFileOpening);
    options.flags = OFN_HIDEREADONLY;
    if (!wl::OpenFileDialog(this, options)) return;
    const std::string path = ts::KeyboardFileOf(options.fileName);
    const std::string data = ts::QuickButtonDataOf(path);
    lex::FileSystem& files = *program_.Files;
    if (data.empty()) {
        ShowError();
        return;
    }
    // A copy to this name (or a save of it) that stopped half way is finished first.
    const lex::keyboard::NewLayoutName name = lex::keyboard::CheckNewLayoutName(files, path);
    if (name == lex::keyboard::NewLayoutName::LayoutExists) {
        for (int i = 0; i < ts::kQuickButtonCount; ++i) {
            const QuickButton stored = LoadQuickButton(program_, i);
            if (stored.Data == data) {
                SetItemText(RowId(row, IDC_ROW_SHORT_NAME), stored.ShortName);
                SetItemText(RowId(row, IDC_ROW_NAME), stored.Name);
                break;
            }
        }
        SetItemText(RowId(row, IDC_ROW_FILE), data);
        return;
    }
    if (name == lex::keyboard::NewLayoutName::Refused) {
        ShowError();
        return;
    }
    wl::FileDialogOptions source;
    source.defaultExt = "tsb";
    source.fileName = "*.tsb";
    source.filter = options.filter;
    source.title = program_.Text(ts::kTextSourceFile);
    source.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    if (!wl::OpenFileDialog(this, source)) return;
    if (!lex::keyboard::CopyLayoutPair(files, source.fileName, path)) {
        ShowError();  // nothing was made; the row stays as it was
        return;
    }
    SetItemText(RowId(row, IDC_ROW_SHORT_NAME), "X");
    SetItemText(RowId(row, IDC_ROW_NAME), "X");
    SetItemText(RowId(row, IDC_ROW_FILE), data);
}

void SettingsDialog::CmHotKey(UINT id) {
    const int entry = static_cast<int>(id) == IDC_INACTIVATION_SWITCH
                          ? lex::keyboard::kDeactivateHotKey
                          : (static_cast<int>(id) - IDC_ROW_FIRST) / IDC_ROW_STEP;
    HotKeyDialog dialog(program_, entry);
    dialog.Execute();
}

void SettingsDialog::CmButtonFont() {
    wl::FontDialogOptions options;
    options.font = program_.ButtonLogFont;
    options.flags = CF_SCREENFONTS | CF_TTONLY;
    options.codePage = CP_ACP;
    if (!wl::ChooseFontDialog(this, options)) return;
    program_.MakeButtonFont(options.font);
    restartNeeded_ = true;
}

void SettingsDialog::CmOk() {
    const lex::Ts2000IniFile ts2000;
    const LRESULT language = ::SendMessageW(GetItem(IDC_LANGUAGE), CB_GETCURSEL, 0, 0);
    // No language chosen: the old one stays.
    if (language >= 0 && language < ts::kUiLanguageCount) {
        if (static_cast<int>(language) != program_.Texts().Language()) restartNeeded_ = true;
        ts2000.WriteInt(lex::Ts2000Key::UiLanguage, static_cast<int>(language));
    }
    const UINT cp = program_.UiCodePage();
    for (int i = 0; i < ts::kQuickButtonCount; ++i) {
        QuickButton b;
        b.ShortName = ts::CutText(GetItemText(RowId(i, IDC_ROW_SHORT_NAME)), ts::kShortNameSize);
        b.Name = ts::CutText(GetItemText(RowId(i, IDC_ROW_NAME)), ts::kLongNameSize);
        if (trayMenu_)
            ::ModifyMenuW(trayMenu_, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                          static_cast<UINT_PTR>(CM_TRAY_KEYBOARD_FIRST + i), wl::ToWide(b.Name, cp).c_str());
        b.Data = ts::CutText(GetItemText(RowId(i, IDC_ROW_FILE)), kFilePathSize);
        const LRESULT layout = ::SendMessageW(GetItem(RowId(i, IDC_ROW_LAYOUT)), CB_GETCURSEL, 0, 0);
        b.WindowsLayout = layout == CB_ERR ? -1 : static_cast<int>(layout) - 1;
        SaveQuickButton(i, b);
    }
    auto flag = [&](lex::Ts2000Key key, int id) { ts2000.WriteText(key, Checked(Handle(), id) ? "1" : "0"); };
    flag(lex::Ts2000Key::AskToFinish, IDC_ASK_TO_FINISH);
    flag(lex::Ts2000Key::HideAtStart, IDC_HIDE_AT_START);
    flag(lex::Ts2000Key::ActivateAtStart, IDC_ACTIVATE_AT_START);
    flag(lex::Ts2000Key::SaveLast, IDC_SAVE_LAST);
    lex::WriteButtonFont(ts2000, program_.ButtonLogFont);
    CloseWindow(IDOK);
}

// ---- about and the text viewer ----

const AboutTexts& AboutTextsOf(int language) {
    static const AboutTexts kTexts[ts::kUiLanguageCount] = {
        {L"&Licence Agreement...", L"Professional Support...", L"All rights reserved.", L"Licence Agreement",
         L"Professional Support"},
        {L"&Licen\u010Dn\u00ED ujedn\u00E1n\u00ED...", L"Odborn\u00E1 pomoc...",
         L"V\u0161echna pr\u00E1va vyhrazena.", L"Licen\u010Dn\u00ED ujedn\u00E1n\u00ED", L"Odborn\u00E1 pomoc"},
        {L"&Licencni ujednani...", L"Odborna pomoc...", L"Vsechna prava vyhrazena.", L"Licencni ujednani",
         L"Odborna pomoc"},
        {L"&Lizenzvereinbarung...", L"Fachkundige Hilfe...", L"Alle Rechte vorbehalten.", L"Lizenzvereinbarung",
         L"Fachkundige Hilfe"},
        {L"&\u041B\u0438\u0446\u0435\u043D\u0437\u0438\u043E\u043D\u043D\u043E\u0435 "
         L"\u0441\u043E\u0433\u043B\u0430\u0448\u0435\u043D\u0438\u0435...",
         L"\u0421\u043F\u0435\u0446\u043F\u043E\u043C\u043E\u0449\u044C...",
         L"\u0412\u0441\u0435 \u043F\u0440\u0430\u0432\u0430 "
         L"\u0437\u0430\u0440\u0435\u0437\u0435\u0440\u0432\u0438\u0440\u043E\u0432\u0430\u043D\u044B.",
         L"\u041B\u0438\u0446\u0435\u043D\u0437\u0438\u043E\u043D\u043D\u043E\u0435 "
         L"\u0441\u043E\u0433\u043B\u0430\u0448\u0435\u043D\u0438\u0435",
         L"\u0421\u043F\u0435\u0446\u043F\u043E\u043C\u043E\u0449\u044C"},
        {L"&Convention de licence...", L"Assistance professionnel...", L"R\u00E9servation de tous les droits.",
         L"Convention de licence", L"Assistance professionnel"},
        {L"&Convenci\u00F3n de licencia...", L"Asistencia profesional...",
         L"Reservaci\u00F3n de todos los derechos.", L"Convenci\u00F3n de licencia", L"Asistencia profesional"},
        {L"&Il contratto di licenza...", L"Collaboratori esperti...", L"Tutti diritti riservati.",
         L"Il contratto di licenza", L"Collaboratori esperti"},
        {L"&Licen\u010Dn\u00ED ujedn\u00E1n\u00ED...", L"Odborn\u00E1 pomoc...",
         L"V\u0161echna pr\u00E1va vyhrazena.", L"Licen\u010Dn\u00ED ujedn\u00E1n\u00ED...",
         L"Odborn\u00E1 pomoc"},
    };
    return kTexts[language >= 0 && language < ts::kUiLanguageCount ? language : 0];
}

WL_BEGIN_MESSAGE_TABLE(AboutDialog, TsDialog)
    WL_COMMAND(IDC_LICENCE, CmLicence)
    WL_COMMAND(IDC_SUPPORT, CmSupport)
WL_END_MESSAGE_TABLE()

AboutDialog::AboutDialog(Program& program) : TsDialog(program, IDD_ABOUT) {}

void AboutDialog::SetupWindow() {
    TsDialog::SetupWindow();
    const AboutTexts& texts = AboutTextsOf(program_.Texts().Language());
    ::SetDlgItemTextW(Handle(), IDC_LICENCE, texts.LicenceButton);
    ::SetDlgItemTextW(Handle(), IDC_SUPPORT, texts.SupportButton);
    ::SetDlgItemTextW(Handle(), IDC_RIGHTS, texts.Rights);
    SetText(program_.Text(ts::kTextAboutTitle));
    SetItemText(IDC_PRODUCT_LINE, program_.Text(ts::kTextProductLine));
    SetButtonFont({IDC_PRODUCT_LINE, IDC_RIGHTS, IDC_MAKER_NOTICE, IDC_LICENCE, IDC_SUPPORT, IDOK});
}

void AboutDialog::CmLicence() {
    TextViewDialog view(program_, TextViewDialog::Mode::Licence);
    view.Execute();
}

void AboutDialog::CmSupport() {
    TextViewDialog view(program_, TextViewDialog::Mode::Support);
    view.Execute();
}

TextViewDialog::TextViewDialog(Program& program, Mode mode) : TsDialog(program, IDD_TEXT_VIEW), mode_(mode) {}

void TextViewDialog::SetupWindow() {
    TsDialog::SetupWindow();
    const AboutTexts& texts = AboutTextsOf(program_.Texts().Language());
    ::SetWindowTextW(Handle(), mode_ == Mode::Licence ? texts.LicenceTitle : texts.SupportTitle);
    SetButtonFont({IDOK, IDC_VIEW_TEXT});
    ShowFromTheTop();
    HWND edit = GetItem(IDC_VIEW_TEXT);
    // The whole text, however long.
    ::SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    if (mode_ == Mode::Support) {
        ::SetWindowTextW(edit,
                         L"Tastrix 2000 is made and looked after by its own small team.\r\n"
                         L"Questions about the keyboards and the program: write to the address given\r\n"
                         L"with your copy of the product, naming the version shown in this box.\r\n");
        return;
    }
    ::SetWindowTextW(edit, L"error opening file");
    std::string bytes;
    if (lex::ReadWholeFile(*program_.Files, program_.ProgramDirectory() + ts::kLicenceFileName, bytes) !=
        lex::ReadOutcome::Whole)
        return;
    ::SetWindowTextW(edit, wl::ToWide(ts::LicenceViewText(bytes), program_.UiCodePage()).c_str());
}

void TextViewDialog::ShowFromTheTop() {
    // The dialog gives the text box the focus after the set-up, selecting the
    // whole text and so scrolling to its end: the caret goes back to the
    // first line once that is done.
    HWND edit = GetItem(IDC_VIEW_TEXT);
    ::PostMessageW(edit, EM_SETSEL, 0, 0);
    ::PostMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace tsapp
