#include "winlib/window.h"

#include <algorithm>

#include "winlib/exception_barrier.h"
#include "winlib/text.h"

// Table entries keep every handler as one member pointer type and turn it back
// into its own type before the call.
#pragma GCC diagnostic ignored "-Wcast-function-type"

namespace wl {

namespace {
const wchar_t kObjectProp[] = L"wl.Window";
const wchar_t kOldProcProp[] = L"wl.OldProc";
const wchar_t kWindowClass[] = L"wl.Window";
}  // namespace

// ---- message table entries ----

TableEntry TableEntry::Message(UINT msg, MessageHandler h) {
    return {EntryKind::Message, msg, 0, 0, 0, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::Command(UINT id, CommandHandler h) {
    return {EntryKind::Command, 0, id, id, 0, h};
}
TableEntry TableEntry::Notify(UINT id, UINT code, CommandHandler h) {
    return {EntryKind::Notify, 0, id, id, code, h};
}
TableEntry TableEntry::Control(UINT id, ControlHandler h) {
    return {EntryKind::Control, 0, id, id, 0, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::Enabler(UINT id, EnablerHandler h) {
    return {EntryKind::Enabler, 0, id, id, 0, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::CommandRange(UINT first, UINT last, CommandRangeHandler h) {
    return {EntryKind::CommandRange, 0, first, last, 0, reinterpret_cast<AnyHandler>(h)};
}

TableEntry TableEntry::NotifyRange(UINT first, UINT last, UINT code, CommandRangeHandler h) {
    return {EntryKind::NotifyRange, 0, first, last, code, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::EnablerRange(UINT first, UINT last, EnablerHandler h) {
    return {EntryKind::EnablerRange, 0, first, last, 0, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::NotifyMessage(UINT first, UINT last, UINT code, NotifyHandler h) {
    return {EntryKind::NotifyMessage, WM_NOTIFY, first, last, code, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::NotifyAnyCode(UINT id, NotifyHandler h) {
    return {EntryKind::NotifyAnyCode, WM_NOTIFY, id, id, 0, reinterpret_cast<AnyHandler>(h)};
}
TableEntry TableEntry::End() {
    return {EntryKind::End, 0, 0, 0, 0, nullptr};
}

// ---- Window ----

UINT Window::defaultCodePage_ = 1252;

const MessageTable& Window::StaticMessageTable() {
    static const TableEntry entries[] = {
        TableEntry::Message(WM_DRAWITEM, &Window::EvDrawItem),
        TableEntry::Message(WM_MEASUREITEM, &Window::EvMeasureItem),
        TableEntry::End(),
    };
    static const MessageTable table{nullptr, entries};
    return table;
}

const MessageTable* Window::GetMessageTable() const { return &StaticMessageTable(); }

Window::Window(Window* parent) : parent_(parent) {}

Window::~Window() {
    // Ended from inside its own handlers: their ways out must not touch it.
    for (Current* c = current_; c; c = c->outer) c->objectGone = true;
    if (hwnd_) {
        HWND h = hwnd_;
        Kind kind = kind_;
        Detach();
        if (kind != Kind::Subclassed) DestroyWindow(h);
    }
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

UINT Window::CodePage() const {
    if (codePage_) return codePage_;
    if (parent_) return parent_->CodePage();
    return defaultCodePage_;
}

void Window::SetDefaultCodePage(UINT codePage) { defaultCodePage_ = codePage; }
UINT Window::DefaultCodePage() { return defaultCodePage_; }

void Window::SetText(const std::string& text) { wl::SetText(hwnd_, text, CodePage()); }
std::string Window::GetText() const { return wl::GetText(hwnd_, CodePage()); }
void Window::SetItemText(int id, const std::string& text) { wl::SetItemText(hwnd_, id, text, CodePage()); }
std::string Window::GetItemText(int id) const { return wl::GetItemText(hwnd_, id, CodePage()); }

void Window::SetItemTexts(const TextLookup& lookup, std::initializer_list<ItemText> items) {
    for (const ItemText& item : items) SetItemText(item.control, lookup(item.text));
}

bool Window::SetTimer(UINT_PTR id, UINT milliseconds) {
    return hwnd_ && ::SetTimer(hwnd_, id, milliseconds, nullptr) != 0;
}

void Window::KillTimer(UINT_PTR id) {
    if (hwnd_) ::KillTimer(hwnd_, id);
}

void Window::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void Window::EndAfterFailure() { Destroy(); }

void Window::SetupWindow() {
    // Copy: a child's set-up may add or remove children.
    std::vector<Window*> children = children_;
    for (Window* child : children) child->CreateOrBind();
}

void Window::RemoveChild(Window* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

Window* Window::ChildWithId(int id) const {
    for (Window* child : children_)
        if (child->ChildId() == id) return child;
    return nullptr;
}

void Window::Attach(HWND hwnd, Kind kind) {
    hwnd_ = hwnd;
    kind_ = kind;
    SetPropW(hwnd, kObjectProp, this);
}

void Window::Subclass(HWND hwnd) {
    Attach(hwnd, Kind::Subclassed);
    oldProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    SetPropW(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(oldProc_));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc));
}

void Window::Detach() {
    if (!hwnd_) return;
    if (kind_ == Kind::Subclassed) {
        // Subclassed again after us: our procedure stays in the chain and
        // goes on to the control's own one through the property.
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) == &Window::SubclassProc) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
            RemovePropW(hwnd_, kOldProcProp);
        }
    }
    if (GetPropW(hwnd_, kObjectProp) == this) RemovePropW(hwnd_, kObjectProp);
    hwnd_ = nullptr;
}

bool Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const UINT id = LOWORD(wp);
    const UINT code = HIWORD(wp);
    const bool fromControl = msg == WM_COMMAND && lp != 0;
    // A click (or a menu item or accelerator) runs a command entry; other
    // notifications of a button do not.
    const bool isCommand = msg == WM_COMMAND && (!fromControl || code == BN_CLICKED);
    NMHDR* hdr = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp) : nullptr;
    for (const MessageTable* t = GetMessageTable(); t; t = t->base) {
        for (const TableEntry* e = t->entries; e->kind != EntryKind::End; ++e) {
            switch (e->kind) {
            case EntryKind::Message:
                if (e->message == msg) {
                    result = (this->*reinterpret_cast<MessageHandler>(e->handler))(wp, lp);
                    return true;
                }
                break;
            case EntryKind::Command:
                if (isCommand && e->id == id) {
                    (this->*e->handler)();
                    result = 0;
                    return true;
                }
                break;
            case EntryKind::CommandRange:
                if (isCommand && e->HasId(id)) {
                    (this->*reinterpret_cast<CommandRangeHandler>(e->handler))(id);
                    result = 0;
                    return true;
                }
                break;
            case EntryKind::NotifyMessage:
            case EntryKind::NotifyAnyCode:
                if (hdr && hdr->idFrom <= 0xFFFFFFFFu && e->HasId(static_cast<UINT>(hdr->idFrom)) &&
                    (e->kind == EntryKind::NotifyAnyCode || e->code == hdr->code)) {
                    result = (this->*reinterpret_cast<NotifyHandler>(e->handler))(*hdr);
                    return true;
                }
                break;
            case EntryKind::Notify:
                if (fromControl && e->id == id && e->code == code) {
                    (this->*e->handler)();
                    result = 0;
                    return true;
                }
                break;
            case EntryKind::NotifyRange:
                if (fromControl && e->HasId(id) && e->code == code) {
                    (this->*reinterpret_cast<CommandRangeHandler>(e->handler))(id);
                    result = 0;
                    return true;
                }
                break;
            case EntryKind::Control:
                if (fromControl && e->id == id) {
                    (this->*reinterpret_cast<ControlHandler>(e->handler))(code);
                    result = 0;
                    return true;
                }
                break;
            default:
                break;
            }
        }
    }
    return false;
}

bool Window::EnableCommand(CommandEnabler& enabler) {
    for (const MessageTable* t = GetMessageTable(); t; t = t->base) {
        for (const TableEntry* e = t->entries; e->kind != EntryKind::End; ++e) {
            if ((e->kind == EntryKind::Enabler || e->kind == EntryKind::EnablerRange) && e->HasId(enabler.Id())) {
                (this->*reinterpret_cast<EnablerHandler>(e->handler))(enabler);
                enabler.handled = true;
                return true;
            }
        }
    }
    return false;
}

LRESULT Window::DefaultProcessing() {
    Current* cur = current_;
    if (!cur) return 0;
    if (cur->defaultDone) return cur->defaultResult;
    cur->defaultDone = true;
    switch (kind_) {
    case Kind::DialogBox:
        cur->dialogDefault = true;
        cur->defaultResult = 0;
        break;
    case Kind::Subclassed:
        cur->defaultResult = CallWindowProcW(oldProc_, hwnd_, cur->msg, cur->wp, cur->lp);
        break;
    case Kind::Plain:
        cur->defaultResult = DefWindowProcW(hwnd_, cur->msg, cur->wp, cur->lp);
        break;
    }
    return cur->defaultResult;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
    // Kept locally: a handler may destroy the object (e.g. a closing dialog).
    const HWND hwnd = hwnd_;
    const Kind kind = kind_;
    const WNDPROC oldProc = oldProc_;

    Current cur{msg, wp, lp, false, 0, false, current_, false};
    bool found = false;
    LRESULT result = 0;
    {
        // Restored on every way out, an exception included; not when a
        // handler has ended the object.
        struct Restore {
            Current*& slot;
            Current& cur;
            ~Restore() {
                if (!cur.objectGone) slot = cur.outer;
            }
        } restore{current_, cur};
        current_ = &cur;
        found = Dispatch(msg, wp, lp, result);
    }

    if (found) {
        if (handled) *handled = !cur.dialogDefault;
        return result;
    }
    if (kind == Kind::DialogBox) {
        if (handled) *handled = false;
        return 0;
    }
    if (handled) *handled = true;
    if (kind == Kind::Subclassed) return CallWindowProcW(oldProc, hwnd, msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHandle(hwnd);
    if (!w && msg == WM_NCCREATE) {
        w = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (w) w->Attach(hwnd, Kind::Plain);
    }
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT r = CallGuarded(hwnd, msg, [&] { return w->HandleMessage(msg, wp, lp, nullptr); });
    if (msg == WM_NCDESTROY && FromHandle(hwnd) == w) w->Detach();
    return r;
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHandle(hwnd);
    if (!w) {
        auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProp));
        if (msg == WM_NCDESTROY) RemovePropW(hwnd, kOldProcProp);
        return old ? CallWindowProcW(old, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
    }
    LRESULT r = CallGuarded(hwnd, msg, [&] { return w->HandleMessage(msg, wp, lp, nullptr); });
    if (msg == WM_NCDESTROY && FromHandle(hwnd) == w) w->Detach();
    return r;
}

bool Window::Create(DWORD style, DWORD exStyle, const std::wstring& title, int x, int y, int w, int h,
                    HWND parent, HMENU menuOrId) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        registered = RegisterClassExW(&wc) != 0;
        if (!registered) return false;
    }
    HWND created = CreateWindowExW(exStyle, kWindowClass, title.c_str(), style, x, y, w, h, parent, menuOrId,
                                   GetModuleHandleW(nullptr), this);
    if (!created) return false;
    SetupWindow();
    return true;
}

bool Window::CreateAsClient(HWND frame) {
    return Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, L"", 0, 0, 0, 0, frame, nullptr);
}

LRESULT Window::EvDrawItem(WPARAM, LPARAM lp) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    Window* child = item && item->CtlType != ODT_MENU ? ChildWithId(static_cast<int>(item->CtlID)) : nullptr;
    if (!child) return DefaultProcessing();
    child->DrawItem(*item);
    return TRUE;
}

LRESULT Window::EvMeasureItem(WPARAM, LPARAM lp) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    Window* child = item && item->CtlType != ODT_MENU ? ChildWithId(static_cast<int>(item->CtlID)) : nullptr;
    if (!child) return DefaultProcessing();
    child->MeasureItem(*item);
    return TRUE;
}

}  // namespace wl
