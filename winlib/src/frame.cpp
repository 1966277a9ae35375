#include "winlib/frame.h"

#include <commctrl.h>

#include "winlib/application.h"
#include "winlib/text.h"

namespace wl {

namespace {
void InitCommonControlsOnce() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}
}  // namespace

// ---- ControlBar ----

void ControlBar::AddButton(int bitmapId, UINT command, HINSTANCE module) {
    buttons_.push_back({bitmapId, command, module ? module : GetModuleHandleW(nullptr)});
}

void ControlBar::AddSeparator() { buttons_.push_back({0, 0, nullptr}); }

bool ControlBar::Realize(HWND frame) {
    if (Handle()) return true;
    InitCommonControlsOnce();
    HWND h = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                             frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!h) return false;
    Subclass(h);
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (font_) Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (const Item& item : buttons_) {
        TBBUTTON b{};
        if (item.command == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            TBADDBITMAP bm{item.module, static_cast<UINT_PTR>(item.bitmapId)};
            LRESULT index = Send(TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&bm));
            b.iBitmap = index < 0 ? I_IMAGENONE : static_cast<int>(index);
            b.idCommand = static_cast<int>(item.command);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        Send(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    }
    Send(TB_AUTOSIZE);
    return true;
}

void ControlBar::UpdateButtons(Window& target) {
    if (!Handle()) return;
    for (const Item& item : buttons_) {
        if (item.command == 0) continue;
        CommandEnabler ce(item.command, target.CodePage());
        if (target.EnableCommand(ce)) Send(TB_ENABLEBUTTON, item.command, MAKELPARAM(ce.Enabled() ? TRUE : FALSE, 0));
    }
}

int ControlBar::Height() const {
    if (!Handle() || !(GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE)) return 0;
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r.bottom - r.top;
}

// ---- StatusBar ----

bool StatusBar::Realize(HWND frame) {
    if (Handle()) return true;
    InitCommonControlsOnce();
    HWND h = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, frame,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!h) return false;
    Subclass(h);
    return true;
}

int StatusBar::Height() const {
    if (!Handle() || !(GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE)) return 0;
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r.bottom - r.top;
}

// ---- FrameWindow ----

WL_BEGIN_MESSAGE_TABLE(FrameWindow, Window)
    WL_MESSAGE(WM_SIZE, EvSize)
    WL_MESSAGE(WM_COMMAND, EvCommand)
    WL_MESSAGE(WM_INITMENUPOPUP, EvInitMenuPopup)
    WL_MESSAGE(WM_CLOSE, EvClose)
    WL_MESSAGE(WM_DESTROY, EvDestroy)
WL_END_MESSAGE_TABLE()

FrameWindow::FrameWindow(const std::string& title, Window* client) : Window(nullptr), title_(title), client_(client) {}

void FrameWindow::Insert(ControlBar& bar, Place) { toolbar_ = &bar; }
void FrameWindow::Insert(StatusBar& bar, Place) { status_ = &bar; }

bool FrameWindow::AssignMenu(const wchar_t* name, HINSTANCE module) {
    HMENU menu = LoadMenuW(module ? module : GetModuleHandleW(nullptr), name);
    if (!menu) return false;
    if (Handle()) {
        HMENU old = GetMenu(Handle());
        ::SetMenu(Handle(), menu);
        if (old) DestroyMenu(old);
    } else {
        if (menu_) DestroyMenu(menu_);
    }
    menu_ = menu;
    return true;
}

bool FrameWindow::Create(int x, int y, int w, int h, DWORD style, DWORD exStyle) {
    if (!Window::Create(style | WS_CLIPCHILDREN, exStyle, ToWide(title_, CodePage()), x, y, w, h, nullptr, menu_))
        return false;
    Layout();
    return true;
}

void FrameWindow::SetupWindow() {
    Window::SetupWindow();
    if (toolbar_) toolbar_->Realize(Handle());
    if (status_) status_->Realize(Handle());
    if (client_ && !client_->Handle()) client_->CreateAsClient(Handle());
}

bool FrameWindow::EnableCommand(CommandEnabler& enabler) {
    if (Window::EnableCommand(enabler)) return true;
    return client_ && client_->Handle() && client_->EnableCommand(enabler);
}

void FrameWindow::UpdateCommands() {
    if (toolbar_) toolbar_->UpdateButtons(*this);
}

void FrameWindow::Layout() {
    if (!Handle()) return;
    RECT rc{};
    GetClientRect(Handle(), &rc);
    if (toolbar_ && toolbar_->Handle()) toolbar_->Send(TB_AUTOSIZE);
    if (status_ && status_->Handle()) status_->Send(WM_SIZE);
    int top = toolbar_ ? toolbar_->Height() : 0;
    int bottom = status_ ? status_->Height() : 0;
    if (client_ && client_->Handle()) {
        int height = rc.bottom - top - bottom;
        MoveWindow(client_->Handle(), 0, top, rc.right, height < 0 ? 0 : height, TRUE);
    }
}

LRESULT FrameWindow::EvSize(WPARAM, LPARAM) {
    DefaultProcessing();
    Layout();
    return 0;
}

LRESULT FrameWindow::EvCommand(WPARAM wp, LPARAM lp) {
    // Commands the frame does not answer go on to the client's table.
    LRESULT result = 0;
    if (client_ && client_->Handle() && client_->Dispatch(WM_COMMAND, wp, lp, result)) return result;
    return DefaultProcessing();
}

LRESULT FrameWindow::EvInitMenuPopup(WPARAM wp, LPARAM lp) {
    if (HIWORD(lp)) return DefaultProcessing();  // the system menu
    HMENU menu = reinterpret_cast<HMENU>(wp);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu || (info.fType & MFT_SEPARATOR)) continue;
        CommandEnabler ce(info.wID, CodePage());
        if (!EnableCommand(ce)) continue;
        if (ce.HasText()) {
            std::wstring text = ToWide(ce.Text(), ce.CodePage());
            MENUITEMINFOW t{};
            t.cbSize = sizeof(t);
            t.fMask = MIIM_STRING;
            t.dwTypeData = &text[0];
            SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &t);
        }
        EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (ce.Enabled() ? MF_ENABLED : MF_GRAYED));
        if (ce.Check() >= 0)
            CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (ce.Check() ? MF_CHECKED : MF_UNCHECKED));
    }
    return DefaultProcessing();
}

LRESULT FrameWindow::EvClose(WPARAM, LPARAM) {
    if (CanClose()) Destroy();
    return 0;
}

LRESULT FrameWindow::EvDestroy(WPARAM, LPARAM) {
    Application* app = Application::Current();
    if (app && app->MainWindow() == this) PostQuitMessage(0);
    return 0;
}

}  // namespace wl
