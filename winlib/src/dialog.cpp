#include "winlib/dialog.h"

#include <algorithm>
#include <vector>

#include "winlib/exception_barrier.h"

namespace wl {

namespace {
Dialog* g_creating = nullptr;  // dialog whose window is being made (before WM_INITDIALOG)
std::function<void(Dialog&)> g_testHook;
std::vector<Dialog*> g_modeless;

UINT TestHookMessage() {
    static UINT msg = RegisterWindowMessageW(L"wl.Dialog.TestHook");
    return msg;
}
}  // namespace

WL_BEGIN_MESSAGE_TABLE(Dialog, Window)
    WL_MESSAGE(WM_CTLCOLORDLG, EvCtlColor)
    WL_MESSAGE(WM_CTLCOLORSTATIC, EvCtlColor)
    WL_MESSAGE(WM_CTLCOLORBTN, EvCtlColor)
    WL_MESSAGE(WM_PAINT, EvPaint)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDCANCEL, CmCancel)
WL_END_MESSAGE_TABLE()

Dialog::Dialog(Window* parent, int templateId, HINSTANCE module)
    : Window(parent), owner_(parent), template_(MAKEINTRESOURCEW(templateId)),
      module_(module ? module : GetModuleHandleW(nullptr)) {}

Dialog::Dialog(Window* parent, const wchar_t* templateName, HINSTANCE module)
    : Window(parent), owner_(parent), template_(templateName),
      module_(module ? module : GetModuleHandleW(nullptr)) {}

Dialog::~Dialog() {
    g_modeless.erase(std::remove(g_modeless.begin(), g_modeless.end(), this), g_modeless.end());
    if (g_creating == this) g_creating = nullptr;
}

INT_PTR Dialog::Execute() {
    modal_ = true;
    g_creating = this;
    HWND owner = owner_ ? owner_->Handle() : nullptr;
    INT_PTR result = DialogBoxParamW(module_, template_, owner, &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (g_creating == this) g_creating = nullptr;
    return result;
}

bool Dialog::Create() { return CreateModeless(owner_ ? owner_->Handle() : nullptr); }

bool Dialog::CreateAsClient(HWND frame) { return CreateModeless(frame); }

bool Dialog::CreateModeless(HWND parent) {
    if (Handle()) return true;
    modal_ = false;
    g_creating = this;
    HWND h = CreateDialogParamW(module_, template_, parent, &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (g_creating == this) g_creating = nullptr;
    if (!h || !IsWindow(h)) return false;  // a failed set-up may have destroyed it
    g_modeless.push_back(this);
    return true;
}

void Dialog::CloseWindow(INT_PTR code) {
    if (!Handle()) return;
    if (modal_)
        EndDialog(Handle(), code);
    else
        Destroy();
}

LRESULT Dialog::EvCtlColor(WPARAM wp, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
}

LRESULT Dialog::EvPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    BeginPaint(Handle(), &ps);
    EndPaint(Handle(), &ps);
    return 0;
}

// A child dialog (the client of a frame) is not closed by Enter or Escape.
void Dialog::CmOk() {
    if (modal_ || !(GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD)) CloseWindow(IDOK);
}
void Dialog::CmCancel() {
    if (modal_ || !(GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD)) CloseWindow(IDCANCEL);
}

void Dialog::SetTestHook(std::function<void(Dialog&)> hook) { g_testHook = std::move(hook); }

bool Dialog::IsModelessDialogMessage(MSG& msg) {
    for (Dialog* d : g_modeless) {
        if (d->Handle() && IsDialogMessageW(d->Handle(), &msg)) return true;
    }
    return false;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = static_cast<Dialog*>(FromHandle(hwnd));
    if (!d) {
        d = msg == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lp) : g_creating;
        if (!d) return FALSE;
        if (g_creating == d) g_creating = nullptr;
        d->Attach(hwnd, Kind::DialogBox);
    }
    INT_PTR r = static_cast<INT_PTR>(
        CallGuarded(hwnd, msg, [&] { return static_cast<LRESULT>(d->Answer(hwnd, msg, wp, lp)); }));
    if (msg == WM_NCDESTROY) {
        if (FromHandle(hwnd) == d) d->Detach();
        g_modeless.erase(std::remove(g_modeless.begin(), g_modeless.end(), d), g_modeless.end());
        return FALSE;
    }
    return r;
}

INT_PTR Dialog::Answer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetupWindow();
        if (g_testHook) {
            pendingHook_ = std::move(g_testHook);
            g_testHook = nullptr;
            PostMessageW(hwnd, TestHookMessage(), 0, 0);
        }
        return TRUE;
    }
    if (msg == TestHookMessage()) {
        auto hook = std::move(pendingHook_);
        pendingHook_ = nullptr;
        // A modal dialog is shown by its loop once the queue is empty; the
        // hook acts on it as the user would see it.
        if (modal_ && !IsWindowVisible(hwnd)) {
            ShowWindow(hwnd, SW_SHOWNORMAL);
            UpdateWindow(hwnd);
        }
        if (hook) hook(*this);
        return TRUE;
    }

    bool handled = false;
    LRESULT r = HandleMessage(msg, wp, lp, &handled);
    if (!handled || msg == WM_NCDESTROY) return FALSE;
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(r);
    default:
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, r);
        return TRUE;
    }
}

void Dialog::EndAfterFailure() {
    if (modal_)
        CloseWindow(IDCANCEL);
    else
        Destroy();
}

}  // namespace wl
