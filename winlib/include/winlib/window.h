// Window base class and message tables.
//
// Every window class has one static message table. An entry names a message,
// a command id or a control notification and the member that answers it; the
// table of the class is searched first, then the tables of its base classes.
// A message that no entry answers gets the window's default handling.
//
//   class TMyDialog : public wl::Dialog {
//   public:
//       TMyDialog(wl::Window* parent) : wl::Dialog(parent, 6) {}
//       WL_DECLARE_MESSAGE_TABLE();
//   private:
//       void CmOk();                        // command 1
//       void EvListNotify(UINT code);       // every notification of control 101
//       LRESULT EvTimer(WPARAM, LPARAM);    // WM_TIMER
//   };
//   WL_BEGIN_MESSAGE_TABLE(TMyDialog, wl::Dialog)
//       WL_COMMAND(IDOK, CmOk)
//       WL_CONTROL(101, EvListNotify)
//       WL_MESSAGE(WM_TIMER, EvTimer)
//   WL_END_MESSAGE_TABLE()
//
// Entry kinds and handler signatures:
//   WL_MESSAGE(msg, Fn)         LRESULT Fn(WPARAM, LPARAM)   any window message
//   WL_COMMAND(id, Fn)          void Fn()                    menu item, accelerator, or button click (BN_CLICKED)
//   WL_NOTIFY(id, code, Fn)     void Fn()                    one notification of one control
//   WL_CONTROL(id, Fn)          void Fn(UINT code)           every notification of one control
//   WL_ENABLER(id, Fn)          void Fn(wl::CommandEnabler&) text/enabled state of a menu item or toolbar button
//   WL_COMMAND_RANGE(first, last, Fn)  void Fn(UINT id)      WL_COMMAND for every id first..last
//   WL_NOTIFY_RANGE(first, last, code, Fn)  void Fn(UINT id) WL_NOTIFY for every control id first..last
//                                                            (e.g. BN_DOUBLECLICKED of a row of buttons)
//   WL_ENABLER_RANGE(first, last, Fn)  void Fn(wl::CommandEnabler&)  WL_ENABLER likewise (ce.Id() tells which)
//   WL_ON_NOTIFY(id, code, Fn)  LRESULT Fn(NMHDR&)           WM_NOTIFY `code` from control `id` (idFrom)
//   WL_ON_NOTIFY_ANY(id, Fn)    LRESULT Fn(NMHDR&)           every WM_NOTIFY from control `id` (hdr.code tells which)
//   WL_ON_NOTIFY_RANGE(first, last, code, Fn)  LRESULT Fn(NMHDR&)  WM_NOTIFY `code` from ids first..last
//                                                            (e.g. TTN_GETDISPINFOW of toolbar buttons)
// The WM_NOTIFY result is the handler's return value (in a dialog it goes
// back through DWLP_MSGRESULT). Entries are tried in table order, the first
// that matches answers; a single entry before a range takes one id out of it.
// A notification-area icon reports through its own callback message, so it
// takes a WL_MESSAGE entry, not a WM_NOTIFY one.
// A handler that wants the default handling as well calls DefaultProcessing().
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace wl {

class Window;
class CommandEnabler;

using AnyHandler = void (Window::*)();
using MessageHandler = LRESULT (Window::*)(WPARAM, LPARAM);
using CommandHandler = void (Window::*)();
using ControlHandler = void (Window::*)(UINT);
using EnablerHandler = void (Window::*)(CommandEnabler&);
using CommandRangeHandler = void (Window::*)(UINT);
using NotifyHandler = LRESULT (Window::*)(NMHDR&);

enum class EntryKind : unsigned char {
    End, Message, Command, Notify, Control, Enabler, CommandRange, EnablerRange, NotifyMessage, NotifyAnyCode,
    NotifyRange
};

struct TableEntry {
    EntryKind kind;
    UINT message;  // Message
    UINT id;       // the control or command id (the first of a range)
    UINT last;     // the last id of a range (= id for single entries)
    UINT code;     // Notify, NotifyMessage
    AnyHandler handler;

    bool HasId(UINT candidate) const { return candidate >= id && candidate <= last; }

    static TableEntry Message(UINT msg, MessageHandler h);
    static TableEntry Command(UINT id, CommandHandler h);
    static TableEntry Notify(UINT id, UINT code, CommandHandler h);
    static TableEntry Control(UINT id, ControlHandler h);
    static TableEntry Enabler(UINT id, EnablerHandler h);
    static TableEntry CommandRange(UINT first, UINT last, CommandRangeHandler h);
    static TableEntry NotifyRange(UINT first, UINT last, UINT code, CommandRangeHandler h);
    static TableEntry EnablerRange(UINT first, UINT last, EnablerHandler h);
    static TableEntry NotifyMessage(UINT first, UINT last, UINT code, NotifyHandler h);
    static TableEntry NotifyAnyCode(UINT id, NotifyHandler h);
    static TableEntry End();
};

struct MessageTable {
    const MessageTable* base;   // searched after this one (nullptr: none)
    const TableEntry* entries;  // ends with an End entry
};

// A control and the id of the text it shows.
struct ItemText {
    int control;
    int text;
};

// Texts by id, 8-bit in the code page of the window that shows them (a
// program's UI texts in its UI language).
using TextLookup = std::function<std::string(int textId)>;

// State of one command's user-interface items, filled by an enabler handler.
class CommandEnabler {
public:
    CommandEnabler(UINT id, UINT codePage) : id_(id), codePage_(codePage) {}
    UINT Id() const { return id_; }
    UINT CodePage() const { return codePage_; }
    void Enable(bool enable) { enabled_ = enable; }
    void SetText(const std::string& text) { text_ = text; hasText_ = true; }
    void SetCheck(bool checked) { checked_ = checked ? 1 : 0; }

    bool Enabled() const { return enabled_; }
    bool HasText() const { return hasText_; }
    const std::string& Text() const { return text_; }
    int Check() const { return checked_; }  // -1 untouched, 0, 1
    bool handled = false;

private:
    UINT id_;
    UINT codePage_;
    bool enabled_ = true;
    bool hasText_ = false;
    std::string text_;
    int checked_ = -1;
};

class Window {
public:
    explicit Window(Window* parent = nullptr);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    Window* Parent() const { return parent_; }
    static Window* FromHandle(HWND hwnd);

    // Code page of the texts this window shows; 0 = the parent's (or the
    // program's default code page for a window without parent).
    void SetCodePage(UINT codePage) { codePage_ = codePage; }
    UINT CodePage() const;
    static void SetDefaultCodePage(UINT codePage);
    static UINT DefaultCodePage();

    // Texts in this window's code page.
    void SetText(const std::string& text);
    std::string GetText() const;
    void SetItemText(int id, const std::string& text);
    std::string GetItemText(int id) const;
    // Sets each control's text to the text `lookup` gives for its text id, in
    // the order of `items`.
    void SetItemTexts(const TextLookup& lookup, std::initializer_list<ItemText> items);
    HWND GetItem(int id) const { return ::GetDlgItem(hwnd_, id); }

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(hwnd_, msg, wp, lp); }
    bool Post(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(hwnd_, msg, wp, lp) != 0; }
    void Show(int cmdShow) { ::ShowWindow(hwnd_, cmdShow); }
    void SetFocus() { ::SetFocus(hwnd_); }

    // Window timers (WM_TIMER with the id in wParam).
    bool SetTimer(UINT_PTR id, UINT milliseconds);
    void KillTimer(UINT_PTR id);

    // Destroys the window (the object stays).
    void Destroy();

    // Set-up after the window exists (for dialogs at WM_INITDIALOG). The base
    // version binds or creates the child controls; overrides call it first.
    virtual void SetupWindow();
    // Asked before a frame closes; false keeps it open.
    virtual bool CanClose() { return true; }
    // Closes this top window after a handler failed (see exception_barrier.h):
    // destroys it; a modal dialog ends with IDCANCEL instead.
    virtual void EndAfterFailure();

    // The message table of the object's class.
    virtual const MessageTable* GetMessageTable() const;
    static const MessageTable& StaticMessageTable();

    // Runs the message through the message tables; false when no entry answers.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Default handling of the message being handled now.
    LRESULT DefaultProcessing();

    // Updates `enabler` through the table's enabler entries (false: none).
    // A frame also asks its client.
    virtual bool EnableCommand(CommandEnabler& enabler);

    // Creates an ordinary window of the library's own window class, then runs
    // SetupWindow.
    bool Create(DWORD style, DWORD exStyle, const std::wstring& title, int x, int y, int w, int h,
                HWND parent, HMENU menuOrId);
    // Creates this window as the client of a frame (a plain child window;
    // dialogs create themselves from their template, which has WS_CHILD).
    virtual bool CreateAsClient(HWND frame);

    // Owner-drawn child controls: the parent hands these requests to the
    // control object with the request's control id.
    virtual void DrawItem(DRAWITEMSTRUCT&) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT&) {}

protected:
    // Child objects bound to this window (controls register themselves).
    friend class Control;
    void AddChild(Window* child) { children_.push_back(child); }
    void RemoveChild(Window* child);
    Window* ChildWithId(int id) const;
    virtual int ChildId() const { return 0; }
    virtual void CreateOrBind() {}

    // How DefaultProcessing answers: the system's default window procedure,
    // the procedure a control had before it was subclassed, or (dialogs) the
    // dialog manager after the handler returns.
    enum class Kind { Plain, Subclassed, DialogBox };
    void Attach(HWND hwnd, Kind kind);
    void Subclass(HWND hwnd);
    void Detach();

    LRESULT EvDrawItem(WPARAM, LPARAM);
    LRESULT EvMeasureItem(WPARAM, LPARAM);

    // Message handling shared by the window procedures.
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp, bool* handled);
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    friend class Dialog;

private:
    struct Current {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        bool defaultDone;
        LRESULT defaultResult;
        bool dialogDefault;  // dialog: let the dialog manager handle it too
        Current* outer;      // the message this one came inside, if any
        bool objectGone;     // a handler ended the object: nothing more is written to it
    };

    HWND hwnd_ = nullptr;
    Window* parent_;
    UINT codePage_ = 0;
    Kind kind_ = Kind::Plain;
    WNDPROC oldProc_ = nullptr;
    Current* current_ = nullptr;
    std::vector<Window*> children_;
    static UINT defaultCodePage_;
};

}  // namespace wl

// Message table macros (see the top of this file).
#define WL_DECLARE_MESSAGE_TABLE()                                   \
    const ::wl::MessageTable* GetMessageTable() const override;      \
    static const ::wl::MessageTable& StaticMessageTable()

#define WL_BEGIN_MESSAGE_TABLE(Class, Base)                                              \
    const ::wl::MessageTable* Class::GetMessageTable() const { return &StaticMessageTable(); } \
    const ::wl::MessageTable& Class::StaticMessageTable() {                              \
        using ThisClass = Class;                                                         \
        using BaseClass = Base;                                                          \
        static_assert(sizeof(ThisClass) > 0, "message table of an incomplete class");   \
        static const ::wl::TableEntry entries[] = {

#define WL_MESSAGE(msg, fn) \
    ::wl::TableEntry::Message((msg), static_cast<::wl::MessageHandler>(static_cast<LRESULT (ThisClass::*)(WPARAM, LPARAM)>(&ThisClass::fn))),
#define WL_COMMAND(id, fn) \
    ::wl::TableEntry::Command((id), static_cast<::wl::CommandHandler>(static_cast<void (ThisClass::*)()>(&ThisClass::fn))),
#define WL_NOTIFY(id, code, fn) \
    ::wl::TableEntry::Notify((id), (code), static_cast<::wl::CommandHandler>(static_cast<void (ThisClass::*)()>(&ThisClass::fn))),
#define WL_CONTROL(id, fn) \
    ::wl::TableEntry::Control((id), static_cast<::wl::ControlHandler>(static_cast<void (ThisClass::*)(UINT)>(&ThisClass::fn))),
#define WL_ENABLER(id, fn)                                                                  \
    ::wl::TableEntry::Enabler((id), static_cast<::wl::EnablerHandler>(                      \
                                        static_cast<void (ThisClass::*)(::wl::CommandEnabler&)>(&ThisClass::fn))),

#define WL_COMMAND_RANGE(first, last, fn)                                                   \
    ::wl::TableEntry::CommandRange((first), (last), static_cast<::wl::CommandRangeHandler>(  \
                                                        static_cast<void (ThisClass::*)(UINT)>(&ThisClass::fn))),
#define WL_NOTIFY_RANGE(first, last, code, fn)                                              \
    ::wl::TableEntry::NotifyRange((first), (last), (code), static_cast<::wl::CommandRangeHandler>( \
                                      static_cast<void (ThisClass::*)(UINT)>(&ThisClass::fn))),
#define WL_ENABLER_RANGE(first, last, fn)                                                   \
    ::wl::TableEntry::EnablerRange((first), (last), static_cast<::wl::EnablerHandler>(       \
                                        static_cast<void (ThisClass::*)(::wl::CommandEnabler&)>(&ThisClass::fn))),
#define WL_ON_NOTIFY_RANGE(first, last, code, fn)                                          \
    ::wl::TableEntry::NotifyMessage((first), (last), (code), static_cast<::wl::NotifyHandler>( \
                                        static_cast<LRESULT (ThisClass::*)(NMHDR&)>(&ThisClass::fn))),
#define WL_ON_NOTIFY(id, code, fn) WL_ON_NOTIFY_RANGE(id, id, code, fn)
#define WL_ON_NOTIFY_ANY(id, fn)                                                            \
    ::wl::TableEntry::NotifyAnyCode((id), static_cast<::wl::NotifyHandler>(                  \
                                        static_cast<LRESULT (ThisClass::*)(NMHDR&)>(&ThisClass::fn))),

#define WL_END_MESSAGE_TABLE()                                                  \
            ::wl::TableEntry::End()};                                           \
        static const ::wl::MessageTable table{&BaseClass::StaticMessageTable(), entries}; \
        return table;                                                           \
    }
