#include "key_dialogs.h"

#include <cstdio>

#include "ts/texts/ts_text_ids.h"
#include "ts_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/text.h"

namespace tsapp {

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;
constexpr int kGridFirstCode = 31;
constexpr int kGridColumns = 25;
constexpr int kGridRows = 9;

// The new position of a code scroll bar after a scroll message; -1 leaves it.
int ScrollTo(int position, WPARAM wp) {
    switch (LOWORD(wp)) {
        case SB_LINELEFT: return position - 1;
        case SB_LINERIGHT: return position + 1;
        case SB_PAGELEFT: return position - 10;
        case SB_PAGERIGHT: return position + 10;
        case SB_THUMBTRACK: return static_cast<short>(HIWORD(wp));
        default: return -1;
    }
}

int Clamp(int code) { return code < kFirstCode ? kFirstCode : code > kLastCode ? kLastCode : code; }

std::string CharText(int code) { return std::string(1, static_cast<char>(code & 0xFF)); }

}  // namespace

TsDialog::TsDialog(Program& program, int templateId) : wl::Dialog(nullptr, templateId), program_(program) {
    SetCodePage(program.UiCodePage());
}

void TsDialog::SetButtonFont(std::initializer_list<int> ids) {
    if (!program_.ButtonFont) return;
    for (int id : ids)
        ::SendMessageW(GetItem(id), WM_SETFONT, reinterpret_cast<WPARAM>(program_.ButtonFont), TRUE);
}

int TsDialog::CaptureAtButton(int kept, bool showHint) {
    SetItemText(IDC_CAPTURE, program_.Text(ts::kTextPressKeyNow));
    SetItemText(IDC_CAPTURE_STATUS, " ");
    if (showHint) SetItemText(IDC_CAPTURE_HINT, program_.Text(ts::kTextPressKeyAlone));
    const int scan = CaptureKey(GetItem(IDC_CAPTURE));
    SetItemText(IDC_CAPTURE, program_.Text(ts::kTextClickHere));
    SetItemText(IDC_CAPTURE_STATUS, program_.Text(ts::kTextAssociated));
    if (showHint) SetItemText(IDC_CAPTURE_HINT, " ");
    return scan >= 0 ? scan : kept;
}

int CaptureKey(HWND target) {
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, target, WM_KEYDOWN, WM_KEYDOWN);
    if (got <= 0) {
        if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
        return -1;
    }
    return static_cast<int>((static_cast<DWORD>(msg.lParam) >> 16) & 0xFF);
}

// ---- character map ----

WL_BEGIN_MESSAGE_TABLE(CharMapDialog, TsDialog)
    WL_MESSAGE(WM_PAINT, EvPaintGrid)
    WL_MESSAGE(WM_LBUTTONDOWN, EvLButtonDown)
    WL_MESSAGE(WM_HSCROLL, EvHScroll)
WL_END_MESSAGE_TABLE()

CharMapDialog::CharMapDialog(Program& program, int shown) : TsDialog(program, IDD_CHAR_MAP), picked_(shown) {}

std::optional<int> CharMapDialog::Pick() {
    if (Execute() != IDOK) return std::nullopt;
    return picked_;
}

void CharMapDialog::SetupWindow() {
    TsDialog::SetupWindow();
    SetText(program_.Text(ts::kTextCharacterSelection));
    SetItemTexts(program_.UiTextLookup(),
                 {{IDC_SELECT_LABEL, ts::kTextSelect}, {IDOK, ts::kTextOk}, {IDCANCEL, ts::kTextCancelButton}});
    SetButtonFont({IDOK, IDCANCEL, IDC_SELECT_LABEL});
    large_.SetCodePage(program_.KeyCodePage());
    if (program_.LargeKeyFont)
        large_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.LargeKeyFont), TRUE);
    scroll_.SetRange(kFirstCode, kLastCode);
    if (picked_ != -1) ShowPick(picked_, true);
}

void CharMapDialog::ShowPick(int code, bool moveBar) {
    if (moveBar) scroll_.SetPosition(code);
    large_.SetText(CharText(code) + "  ");
    SetItemText(IDC_CODE, std::to_string(code));
}

LRESULT CharMapDialog::EvPaintGrid(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    HGDIOBJ oldFont = program_.KeyCaptionFont ? ::SelectObject(dc, program_.KeyCaptionFont) : nullptr;
    const UINT cp = program_.KeyCodePage();
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridColumns; ++col) {
            const int code = kGridFirstCode + kGridColumns * row + col;
            RECT r;
            r.right = 35 + 24 * col;
            r.bottom = 39 + 28 * row;
            r.left = r.right - 25;
            r.top = r.bottom - 29;
            ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            ::SetBkColor(dc, RGB(255, 255, 255));
            ::InflateRect(&r, -1, -1);
            ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            const std::wstring text = code == '&' ? L"&&" : wl::ToWide(CharText(code), cp);
            ::InflateRect(&r, -1, -2);
            ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER);
        }
    }
    if (oldFont) ::SelectObject(dc, oldFont);
    ::EndPaint(Handle(), &ps);
    return 0;
}

LRESULT CharMapDialog::EvLButtonDown(WPARAM, LPARAM) {
    POINT cursor;
    ::GetCursorPos(&cursor);
    RECT window;
    ::GetWindowRect(Handle(), &window);
    const int x = cursor.x - (window.left + ::GetSystemMetrics(SM_CXBORDER));
    const int y = cursor.y - (window.top + ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYBORDER));
    const int col = (x - 10) / 24;
    const int row = (y - 10) / 28;
    if (x >= 10 && y >= 10 && row >= 0 && row < kGridRows && col >= 0 && col < kGridColumns) {
        const int code = col + kGridColumns * row + kGridFirstCode;
        picked_ = code;
        ShowPick(code, true);
    }
    return DefaultProcessing();
}

LRESULT CharMapDialog::EvHScroll(WPARAM wp, LPARAM) {
    const int to = ScrollTo(scroll_.GetPosition(), wp);
    if (to >= 0) scroll_.SetPosition(Clamp(to));
    const int position = scroll_.GetPosition();
    SetItemText(IDC_CODE, std::to_string(position));
    picked_ = position;
    large_.SetText(CharText(position));
    return DefaultProcessing();
}

// ---- key assignment ----

WL_BEGIN_MESSAGE_TABLE(KeyAssignDialog, TsDialog)
    WL_COMMAND(IDC_OPEN_CHAR_MAP, CmCharMap)
    WL_COMMAND(IDC_BROWSE, CmBrowse)
    WL_COMMAND(IDOK, CmOk)
    WL_MESSAGE(WM_HSCROLL, EvHScroll)
WL_END_MESSAGE_TABLE()

KeyAssignDialog::KeyAssignDialog(Program& program, const ts::KeyRef& key)
    : TsDialog(program, IDD_KEY_ASSIGN), key_(key), preview_(this, IDC_PREVIEW_KEY), scroll_(this, IDC_CODE_SCROLL) {
    preview_.SetCodePage(program.KeyCodePage());
}

void KeyAssignDialog::SetupWindow() {
    TsDialog::SetupWindow();
    SetText(program_.Text(ts::kTextKeyRemapping));
    SetItemTexts(program_.UiTextLookup(), {{IDC_USE_CHARACTER, ts::kTextUseCharacter},
                                           {IDC_OPEN_CHAR_MAP, ts::kTextCharacterMap},
                                           {IDC_USE_PROGRAM, ts::kTextUseProgram},
                                           {IDC_BROWSE, ts::kTextBrowse},
                                           {IDOK, ts::kTextOk},
                                           {IDCANCEL, ts::kTextCancelButton}});
    SetButtonFont({IDC_USE_CHARACTER, IDC_CODE, IDC_OPEN_CHAR_MAP, IDC_USE_PROGRAM, IDC_PROGRAM_PATH, IDC_BROWSE,
                   IDOK, IDCANCEL});
    if (program_.KeyCaptionFont)
        preview_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.KeyCaptionFont), TRUE);
    const ts::KeyRef& ref = key_;
    const int flag = program_.Store.Tables.GetRunFlag(ref.Group, ref.Key, ref.State);
    if (flag == 0) ::CheckDlgButton(Handle(), IDC_USE_CHARACTER, BST_CHECKED);
    if (flag == 1) ::CheckDlgButton(Handle(), IDC_USE_PROGRAM, BST_CHECKED);
    preview_.Active = true;
    const int c = ts::KeyCharacter(program_.Store.Tables, ref);
    preview_.SetKeyCaption(c ? CharText(c) : std::string());
    scroll_.SetRange(kFirstCode, kLastCode);
    scroll_.SetPosition(Clamp(c));
    SetItemText(IDC_CODE, std::to_string(c));
    lex::keyboard::ProfileFile& ini = program_.WorkIni();
    shownCommand_ = lex::keyboard::ReadRunCommand(ini, ref.Group, ref.Key, ref.State);
    SetItemText(IDC_PROGRAM_PATH, shownCommand_);
}

void KeyAssignDialog::ShowCode(int code) {
    SetItemText(IDC_CODE, std::to_string(code));
    preview_.SetKeyCaption(CharText(code));
    preview_.Redraw();
}

LRESULT KeyAssignDialog::EvHScroll(WPARAM wp, LPARAM) {
    const int to = ScrollTo(scroll_.GetPosition(), wp);
    if (to >= 0) scroll_.SetPosition(Clamp(to));
    ShowCode(scroll_.GetPosition());
    return DefaultProcessing();
}

void KeyAssignDialog::CmCharMap() {
    CharMapDialog map(program_, scroll_.GetPosition());
    const std::optional<int> picked = map.Pick();
    if (!picked || *picked < 0) return;
    scroll_.SetPosition(Clamp(*picked));
    ShowCode(*picked);
}

void KeyAssignDialog::CmBrowse() {
    wl::FileDialogOptions o;
    o.defaultExt = "exe";
    o.fileName = "*.exe";
    o.flags = OFN_FILEMUSTEXIST;
    o.filter = "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*|";
    if (wl::OpenFileDialog(this, o)) SetItemText(IDC_PROGRAM_PATH, o.fileName);
}

void KeyAssignDialog::CmOk() {
    const bool character = ::IsDlgButtonChecked(Handle(), IDC_USE_CHARACTER) == BST_CHECKED;
    const std::string& caption = preview_.GetKeyCaption();
    const unsigned char c = caption.empty() ? 0 : static_cast<unsigned char>(caption[0]);
    lex::keyboard::ProfileFile& ini = program_.WorkIni();
    // The box shows at most 252 characters of the stored command: unless the
    // user changed it, the stored command stays whole (nothing is written).
    std::string command = GetItemText(IDC_PROGRAM_PATH);
    if (command == shownCommand_) command.clear();
    if (!ts::AssignKey(program_.Store.Tables, ini, key_, !character, c, command)) {
        program_.ShowFileMessage("write1");  // the working copy cannot be written: the dialog stays
        return;
    }
    CloseWindow(IDOK);
}

// ---- new key ----

WL_BEGIN_MESSAGE_TABLE(NewKeyDialog, TsDialog)
    WL_COMMAND(IDC_CAPTURE, CmCapture)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

NewKeyDialog::NewKeyDialog(Program& program, const ts::KeyRef& key) : TsDialog(program, IDD_NEW_KEY), key_(key) {}

void NewKeyDialog::SetupWindow() {
    TsDialog::SetupWindow();
    SetText(program_.Text(ts::kTextKeyRemapping));
    SetItemText(IDC_CAPTURE_HINT, " ");
    SetItemText(IDC_CAPTURE_STATUS, " ");
    SetItemTexts(program_.UiTextLookup(), {{IDC_CAPTURE, ts::kTextClickHere},
                                           {IDC_CAPTURE_NOTE, ts::kTextModifiersHint},
                                           {IDOK, ts::kTextOk},
                                           {IDCANCEL, ts::kTextCancel}});
    SetButtonFont({IDC_CAPTURE_HINT, IDC_CAPTURE, IDC_CAPTURE_STATUS, IDC_CAPTURE_NOTE, IDOK, IDCANCEL});
    captured_ = -1;
}

void NewKeyDialog::CmCapture() { captured_ = CaptureAtButton(captured_, true); }

void NewKeyDialog::CmOk() {
    if (captured_ != -1) ts::SetScanCode(program_.Store.Tables, key_, captured_);
    CloseWindow(IDOK);
}

// ---- prefix ----

WL_BEGIN_MESSAGE_TABLE(PrefixDialog, TsDialog)
    WL_COMMAND(IDC_CAPTURE, CmCapture)
    WL_COMMAND(IDC_DELETE_PREFIX, CmDeletePrefix)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

PrefixDialog::PrefixDialog(Program& program) : TsDialog(program, IDD_PREFIX) {}

void PrefixDialog::SetupWindow() {
    TsDialog::SetupWindow();
    SetText(program_.Text(ts::kTextPrefixRemapping));
    SetItemTexts(program_.UiTextLookup(), {{IDC_CAPTURE_HINT, ts::kTextWhichPrefix},
                                           {IDC_PREFIX_1, ts::kTextPrefix1},
                                           {IDC_PREFIX_1 + 1, ts::kTextPrefix2},
                                           {IDC_PREFIX_1 + 2, ts::kTextPrefix3},
                                           {IDC_PREFIX_1 + 3, ts::kTextPrefix4},
                                           {IDC_PREFIX_5, ts::kTextPrefix5},
                                           {IDC_DELETE_PREFIX, ts::kTextDeletePrefix},
                                           {IDC_CAPTURE_NOTE, ts::kTextPressKeyAlone},
                                           {IDC_CAPTURE, ts::kTextClickHere},
                                           {IDC_PREFIX_SHIFT, ts::kTextShiftCheck},
                                           {IDC_PREFIX_ALT, ts::kTextAltCheck},
                                           {IDC_PREFIX_CTRL, ts::kTextCtrlCheck},
                                           {IDOK, ts::kTextOk},
                                           {IDCANCEL, ts::kTextCancel}});
    SetItemText(IDC_CAPTURE_STATUS, " ");
    SetButtonFont({IDC_CAPTURE_HINT, IDC_PREFIX_1, IDC_PREFIX_1 + 1, IDC_PREFIX_1 + 2, IDC_PREFIX_1 + 3, IDC_PREFIX_5,
                   IDC_DELETE_PREFIX, IDC_CAPTURE_NOTE, IDC_CAPTURE, IDC_CAPTURE_STATUS, IDC_PREFIX_SHIFT,
                   IDC_PREFIX_ALT, IDC_PREFIX_CTRL, IDOK, IDCANCEL});
    captured_ = -1;
    ::CheckRadioButton(Handle(), IDC_PREFIX_1, IDC_PREFIX_5, IDC_PREFIX_1);
}

int PrefixDialog::SelectedPrefix() const {
    for (int p = 0; p < lex::keyboard::kPrefixCount; ++p)
        if (::IsDlgButtonChecked(Handle(), IDC_PREFIX_1 + p) == BST_CHECKED) return p;
    return 0;
}

void PrefixDialog::CmCapture() { captured_ = CaptureAtButton(captured_, false); }

void PrefixDialog::CmDeletePrefix() {
    ts::DeletePrefix(program_.Store.Tables, SelectedPrefix());
    const std::string text = program_.Text(ts::kTextPrefixDeleted);
    const std::string caption = program_.Text(ts::kTextWarningCaption);
    program_.MessageBox8(Handle(), text, caption, MB_OK);
    program_.Store.Modified = true;
}

void PrefixDialog::CmOk() {
    if (captured_ != -1) {
        int modifiers = 0;
        if (::IsDlgButtonChecked(Handle(), IDC_PREFIX_SHIFT) == BST_CHECKED) modifiers |= lex::keyboard::kStateShift;
        if (::IsDlgButtonChecked(Handle(), IDC_PREFIX_ALT) == BST_CHECKED) modifiers |= lex::keyboard::kStateAlt;
        if (::IsDlgButtonChecked(Handle(), IDC_PREFIX_CTRL) == BST_CHECKED) modifiers |= lex::keyboard::kStateCtrl;
        ts::SetPrefix(program_.Store.Tables, SelectedPrefix(), modifiers, captured_);
        program_.Store.Modified = true;
    }
    CloseWindow(IDOK);
}

// ---- delete key ----

WL_BEGIN_MESSAGE_TABLE(DeleteKeyDialog, TsDialog)
    WL_COMMAND(IDC_DELETE_STATE_IMAGE, CmStateImage)
    WL_COMMAND(IDC_DELETE_ALL_IMAGES, CmAllImages)
    WL_COMMAND(IDC_DELETE_WHOLE_KEY, CmWholeKey)
WL_END_MESSAGE_TABLE()

DeleteKeyDialog::DeleteKeyDialog(Program& program, const ts::KeyRef& key)
    : TsDialog(program, IDD_DELETE_KEY), key_(key) {}

void DeleteKeyDialog::SetupWindow() {
    TsDialog::SetupWindow();
    SetText(program_.Text(ts::kTextDeleteKeyTitle));
    SetItemTexts(program_.UiTextLookup(), {{IDC_DELETE_STATE_IMAGE, ts::kTextDeleteStateImage},
                                           {IDC_DELETE_ALL_IMAGES, ts::kTextDeleteAllImages},
                                           {IDC_DELETE_WHOLE_KEY, ts::kTextDeleteWholeKey},
                                           {IDCANCEL, ts::kTextCancelButton}});
    SetButtonFont({IDC_DELETE_STATE_IMAGE, IDC_DELETE_ALL_IMAGES, IDC_DELETE_WHOLE_KEY, IDCANCEL});
}

void DeleteKeyDialog::CmStateImage() {
    lex::keyboard::ProfileFile& ini = program_.WorkIni();
    ts::DeleteStateImage(program_.Store.Tables, ini, key_);
    CloseWindow(IDOK);
}

void DeleteKeyDialog::CmAllImages() {
    lex::keyboard::ProfileFile& ini = program_.WorkIni();
    ts::DeleteAllImages(program_.Store.Tables, ini, key_);
    CloseWindow(IDOK);
}

void DeleteKeyDialog::CmWholeKey() {
    lex::keyboard::ProfileFile& ini = program_.WorkIni();
    ts::DeleteWholeKey(program_.Store.Tables, ini, key_);
    CloseWindow(IDOK);
}

}  // namespace tsapp
