// Driving a program that runs as its own process: start it in a folder, find
// its windows, send them messages with a timeout, answer its dialogs and read
// back what it shows. Everything goes through ordinary window messages, as a
// user or another program would see it. Nothing here knows one program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace wl::testing {

// How long a wait or a sent message may take before the test gives up:
// generous, since the waits end as soon as their condition holds and a busy
// machine takes several times as long as an idle one.
constexpr DWORD kTimeoutMs = 120000;

// ---- paths and files ----

// A path the build wrote in Unix form ("/work/build/x.exe") as Wine sees it
// ("Z:\work\build\x.exe"); any other path unchanged.
std::string WinePath(const std::string& path);

// `name` in the Windows directory (of the test prefix under Wine), where
// profile functions put a file given by its bare name.
std::string WindowsDirectoryFile(const std::string& name);

// An ini file read and written through the profile functions.
class ProfileIniFile {
public:
    explicit ProfileIniFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    // The value of `key`, or `fallback` when there is none.
    std::string Read(const char* section, const char* key, const char* fallback = "<none>") const;
    bool Write(const char* section, const char* key, const std::string& value) const;
    bool Remove() const;  // deletes the file

private:
    std::string path_;
};

// Moves `path` aside while it lives and puts it back at its end (or leaves
// no file there, when there was none): for a file shared with the rest of the
// test prefix, such as a program's ini file in the Windows directory.
class SetAsideFile {
public:
    explicit SetAsideFile(std::string path);
    ~SetAsideFile();
    SetAsideFile(const SetAsideFile&) = delete;
    SetAsideFile& operator=(const SetAsideFile&) = delete;

private:
    std::string path_, saved_;
    bool had_ = false;
};

// ---- messages ----

// SendMessageTimeoutW: the window's answer, or 0 when it did not answer
// within `timeoutMs` or is gone.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0, DWORD timeoutMs = kTimeoutMs);
// The same, telling whether the window answered in time.
bool SendAnswered(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr,
                  DWORD timeoutMs = kTimeoutMs);

// WM_COMMAND for menu or accelerator command `id`. Post it when the command
// opens a modal dialog (a sent one would wait for the dialog to end).
void SendCommand(HWND window, int id);
void PostCommand(HWND window, int id);
// The WM_COMMAND notification `code` of `control` to its parent, as the
// control sends it (BN_CLICKED, LBN_SELCHANGE, CBN_SELCHANGE ...).
void Notify(HWND control, int code);
// Selects `row` of a list box or combo box and notifies its parent, as a
// click on the row does.
void SelectListRow(HWND list, int row);
void SelectComboRow(HWND combo, int row);

// ---- reading windows ----

// The text of a window or control (WM_GETTEXT through the W message).
std::wstring Text(HWND hwnd);
// The rows of a list box or of a combo box's list (LB_GETTEXT, CB_GETLBTEXT
// through the W messages; the A ones give UTF-16 bytes across processes).
std::vector<std::wstring> ListRows(HWND list);
std::vector<std::wstring> ComboRows(HWND combo);
// The class name of a window.
std::wstring ClassOf(HWND hwnd);

// ---- finding windows ----

// The visible top-level windows of process `pid` (0: of every process) for
// which `match` holds; the first in z-order, or nullptr.
HWND FindTopWindow(DWORD pid, const std::function<bool(HWND)>& match);
// ... of window class `className` and caption `title` (nullptr: any).
HWND FindTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr);
// A dialog (class "#32770") that holds a control `controlId` (0: any dialog).
HWND FindDialog(DWORD pid, int controlId = 0);
// A frame: a window with a menu that is no dialog.
HWND FindFrame(DWORD pid);

// Asks `done` every 20 ms until it holds or `timeoutMs` has passed; true when
// it held.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kTimeoutMs);
// Asks `find` until it gives a window; that window, or nullptr at the timeout.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = kTimeoutMs);
// Waits until `hwnd` is destroyed.
bool WaitForGone(HWND hwnd, DWORD timeoutMs = kTimeoutMs);

// ---- dialogs ----

// Presses button `id` of `dialog` as a click does.
void PressButton(HWND dialog, int id);
// Answers a message box with button `id` and waits for it to close; true when
// it closed. Our own boxes answer with 1 (OK, Yes) and 2 (No); a system
// MessageBox has IDOK, IDCANCEL, IDYES, IDNO ...
bool AnswerMessageBox(HWND box, int id, DWORD timeoutMs = kTimeoutMs);

// ---- clipboard ----

// The clipboard's 8-bit text (CF_TEXT) and Unicode text (CF_UNICODETEXT).
std::pair<std::string, std::wstring> ClipboardTexts();
// Puts `text` on the clipboard as CF_UNICODETEXT only.
bool PutClipboardUnicode(const std::wstring& text);
// Puts `bytes` on the clipboard as CF_TEXT only, as a program without
// Unicode does (the system then offers a CF_UNICODETEXT made from it too).
bool PutClipboardEightBit(const std::string& bytes);

// ---- a program as its own process ----

// One started program. The end of the object ends the program when it still
// runs, so that a failed test leaves no process behind.
class Process {
public:
    enum class StartBy {
        FullPath,  // "<folder><program>" quoted, as a shortcut starts it
        BareName,  // "<program>" from the folder, as typed at a prompt there
    };

    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts program file `program` of `folder` (ending in '\') with
    // `arguments`, its current folder `folder`, and waits until it is idle
    // for input. False when it could not be started.
    bool Start(const std::string& folder, const std::string& program, StartBy by = StartBy::FullPath,
               const std::string& arguments = {});

    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return process_; }
    bool Running() const;
    // Waits for the program to end; true when it ended in time.
    bool WaitForEnd(DWORD timeoutMs = kTimeoutMs) const;
    // The exit code once it has ended (STILL_ACTIVE while it runs).
    DWORD ExitCode() const;

    // The windows of this process (see the functions above).
    HWND FindTopWindow(const wchar_t* className, const wchar_t* title = nullptr) const;
    HWND FindDialog(int controlId = 0) const;
    HWND FindFrame() const;
    HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title = nullptr,
                          DWORD timeoutMs = kTimeoutMs) const;
    HWND WaitForDialog(int controlId = 0, DWORD timeoutMs = kTimeoutMs) const;
    HWND WaitForFrame(DWORD timeoutMs = kTimeoutMs) const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

}  // namespace wl::testing
