#include "winlib/controls.h"

#include <vector>

#include "winlib/text.h"

namespace wl {

WL_BEGIN_MESSAGE_TABLE(Control, Window)
WL_END_MESSAGE_TABLE()

Control::Control(Window* parent, int id) : Window(parent), id_(id) {
    if (parent) parent->AddChild(this);
}

Control::Control(Window* parent, int id, int x, int y, int w, int h, DWORD style, DWORD exStyle)
    : Window(parent), id_(id), inCode_(true), x_(x), y_(y), w_(w), h_(h), style_(style), exStyle_(exStyle) {
    if (parent) parent->AddChild(this);
}

Control::~Control() {
    if (Parent()) Parent()->RemoveChild(this);
    if (Handle()) {
        HWND h = Handle();
        Detach();
        if (inCode_) DestroyWindow(h);
    }
}

bool Control::Realize() {
    if (Handle()) return true;
    HWND parent = Parent() ? Parent()->Handle() : nullptr;
    if (!parent) return false;
    HWND h = nullptr;
    if (inCode_) {
        h = CreateWindowExW(exStyle_, ClassName(), L"", style_ | WS_CHILD, x_, y_, w_, h_, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), nullptr);
        if (h) {
            LRESULT font = SendMessageW(parent, WM_GETFONT, 0, 0);
            if (font) SendMessageW(h, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        }
    } else {
        h = GetDlgItem(parent, id_);
    }
    if (!h) return false;
    Subclass(h);
    SetupWindow();
    return true;
}

void Control::DrawItem(DRAWITEMSTRUCT& item) {
    if (item.itemAction & ODA_DRAWENTIRE)
        ODADrawEntire(item);
    else if (item.itemAction & ODA_SELECT)
        ODASelect(item);
    else if (item.itemAction & ODA_FOCUS)
        ODAFocus(item);
}

// ---- Button ----

bool Button::IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
void Button::SetCheck(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

// ---- Edit ----

void Edit::LimitText(int maxChars) { Send(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }
int Edit::GetLineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }

std::string Edit::GetLine(int line) const {
    LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(line));
    if (start < 0) return std::string();
    LRESULT len = Send(EM_LINELENGTH, static_cast<WPARAM>(start));
    if (len <= 0) return std::string();
    std::vector<wchar_t> buf(static_cast<size_t>(len) + 2, L'\0');
    *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(len + 1);
    LRESULT got = Send(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buf.data()));
    if (got < 0) got = 0;
    if (got > len) got = len;
    return FromWide(std::wstring(buf.data(), static_cast<size_t>(got)), CodePage());
}

int Edit::LineFromChar(int charIndex) const {
    return static_cast<int>(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(charIndex)));
}
int Edit::LineIndex(int line) const { return static_cast<int>(Send(EM_LINEINDEX, static_cast<WPARAM>(line))); }
int Edit::LineLength(int charIndex) const {
    return static_cast<int>(Send(EM_LINELENGTH, static_cast<WPARAM>(charIndex)));
}

void Edit::GetSelection(int& start, int& end) const {
    DWORD s = 0, e = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void Edit::SetSelection(int start, int end) { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }

std::string Edit::GetSelectedText() const {
    int s = 0, e = 0;
    GetSelection(s, e);
    if (e <= s) return std::string();
    LRESULT len = Send(WM_GETTEXTLENGTH);
    std::vector<wchar_t> buf(static_cast<size_t>(len) + 1, L'\0');
    Send(WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    std::wstring all(buf.data());
    if (static_cast<size_t>(s) >= all.size()) return std::string();
    return FromWide(all.substr(static_cast<size_t>(s), static_cast<size_t>(e - s)), CodePage());
}

void Edit::Insert(const std::string& text) {
    std::wstring w = ToWide(text, CodePage());
    Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
}

void Edit::Clear() { SetText(std::string()); }

// ---- ListBox and ComboBox ----

const ItemList::Messages& ListBox::ListMessages() const {
    static const Messages m{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                            LB_GETCOUNT,  LB_GETCURSEL,    LB_SETCURSEL,    LB_GETTEXTLEN,
                            LB_GETTEXT,   LB_SETITEMHEIGHT};
    return m;
}

const ItemList::Messages& ComboBox::ListMessages() const {
    static const Messages m{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                            CB_GETCOUNT,  CB_GETCURSEL,    CB_SETCURSEL,    CB_GETLBTEXTLEN,
                            CB_GETLBTEXT, CB_SETITEMHEIGHT};
    return m;
}

int ItemList::AddString(const std::string& text) {
    std::wstring w = ToWide(text, CodePage());
    return static_cast<int>(Send(ListMessages().Add, 0, reinterpret_cast<LPARAM>(w.c_str())));
}
int ItemList::InsertString(const std::string& text, int index) {
    std::wstring w = ToWide(text, CodePage());
    return static_cast<int>(Send(ListMessages().Insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.c_str())));
}
int ItemList::DeleteString(int index) { return static_cast<int>(Send(ListMessages().Delete, static_cast<WPARAM>(index))); }
void ItemList::ClearList() { Send(ListMessages().Reset); }
int ItemList::GetCount() const { return static_cast<int>(Send(ListMessages().Count)); }
int ItemList::GetSelIndex() const { return static_cast<int>(Send(ListMessages().GetSel)); }
int ItemList::SetSelIndex(int index) { return static_cast<int>(Send(ListMessages().SetSel, static_cast<WPARAM>(index))); }

std::string ItemList::GetString(int index) const {
    LRESULT len = Send(ListMessages().TextLength, static_cast<WPARAM>(index));
    if (len < 0) return std::string();
    std::vector<wchar_t> buf(static_cast<size_t>(len) + 1, L'\0');
    Send(ListMessages().Text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    return FromWide(buf.data(), CodePage());
}

int ItemList::GetSelString(std::string& out) const {
    int sel = GetSelIndex();
    if (sel < 0) return -1;
    out = GetString(sel);
    return static_cast<int>(out.size());
}

void ItemList::SetItemHeight(int index, int height) {
    Send(ListMessages().ItemHeight, static_cast<WPARAM>(index), MAKELPARAM(height, 0));
}

void ListBox::SetSel(int index, bool selected) {
    Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
}
bool ListBox::IsSelected(int index) const { return Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0; }

void ComboBox::ShowList(bool show) { Send(CB_SHOWDROPDOWN, show ? TRUE : FALSE); }

// ---- ScrollBar ----

void ScrollBar::SetRange(int min, int max) { SetScrollRange(Handle(), SB_CTL, min, max, TRUE); }
void ScrollBar::SetPosition(int pos) { SetScrollPos(Handle(), SB_CTL, pos, TRUE); }
int ScrollBar::GetPosition() const { return GetScrollPos(Handle(), SB_CTL); }

// ---- drawing helpers ----

int FontTextHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    if (!dc) return 0;
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return tm.tmHeight;
}

void DrawText8(HDC dc, const std::string& text, UINT codePage, RECT rect) {
    std::wstring w = ToWide(text, codePage);
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &rect, 0);
}

}  // namespace wl
