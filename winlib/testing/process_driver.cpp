#include "winlib/testing/process_driver.h"

#include <cstring>

#include "winlib/testing/scoped_replace.h"

namespace wl::testing {

// ---- paths and files ----

std::string WinePath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string wine = "Z:" + path;
    for (char& c : wine)
        if (c == '/') c = '\\';
    return wine;
}

std::string WindowsDirectoryFile(const std::string& name) {
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    std::string path = dir;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + name;
}

std::string ProfileIniFile::Read(const char* section, const char* key, const char* fallback) const {
    char buffer[512] = {};
    ::GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, path_.c_str());
    return buffer;
}

bool ProfileIniFile::Write(const char* section, const char* key, const std::string& value) const {
    return ::WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str()) != FALSE;
}

bool ProfileIniFile::Remove() const { return ::DeleteFileA(path_.c_str()) != FALSE; }

SetAsideFile::SetAsideFile(std::string path) : path_(std::move(path)), saved_(path_ + ".set-aside") {
    ::DeleteFileA(saved_.c_str());
    had_ = ::MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

SetAsideFile::~SetAsideFile() {
    ::DeleteFileA(path_.c_str());
    if (had_) ::MoveFileExA(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// ---- messages ----

bool SendAnswered(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result, DWORD timeoutMs) {
    DWORD_PTR answer = 0;
    bool answered = ::SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, timeoutMs, &answer) != 0;
    if (result) *result = answered ? static_cast<LRESULT>(answer) : 0;
    return answered;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs) {
    LRESULT result = 0;
    SendAnswered(hwnd, msg, wp, lp, &result, timeoutMs);
    return result;
}

void SendCommand(HWND window, int id) { Send(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void PostCommand(HWND window, int id) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void Notify(HWND control, int code) {
    Send(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
         reinterpret_cast<LPARAM>(control));
}

void SelectListRow(HWND list, int row) {
    Send(list, LB_SETCURSEL, static_cast<WPARAM>(row));
    Notify(list, LBN_SELCHANGE);
}

void SelectComboRow(HWND combo, int row) {
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(row));
    Notify(combo, CBN_SELCHANGE);
}

// ---- reading windows ----

std::wstring Text(HWND hwnd) {
    LRESULT length = 0;
    if (!SendAnswered(hwnd, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

namespace {
std::vector<std::wstring> Rows(HWND control, UINT countMsg, UINT lengthMsg, UINT textMsg) {
    std::vector<std::wstring> rows;
    LRESULT count = Send(control, countMsg);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = Send(control, lengthMsg, static_cast<WPARAM>(i));
        std::wstring row(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        LRESULT copied = Send(control, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row.data()));
        row.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        rows.push_back(row);
    }
    return rows;
}
}  // namespace

std::vector<std::wstring> ListRows(HWND list) { return Rows(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }

std::vector<std::wstring> ComboRows(HWND combo) {
    return Rows(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}

// ---- finding windows ----

HWND FindTopWindow(DWORD pid, const std::function<bool(HWND)>& match) {
    struct Search {
        DWORD pid;
        const std::function<bool(HWND)>& match;
        HWND found;
    } search{pid, match, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if ((s->pid && owner != s->pid) || !::IsWindowVisible(hwnd) || !s->match(hwnd)) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title) {
    return FindTopWindow(pid, [&](HWND hwnd) {
        return (!className || ClassOf(hwnd) == className) && (!title || Text(hwnd) == title);
    });
}

HWND FindDialog(DWORD pid, int controlId) {
    return FindTopWindow(pid, [&](HWND hwnd) {
        return ClassOf(hwnd) == L"#32770" && (controlId == 0 || ::GetDlgItem(hwnd, controlId));
    });
}

HWND FindFrame(DWORD pid) {
    return FindTopWindow(pid, [](HWND hwnd) { return ClassOf(hwnd) != L"#32770" && ::GetMenu(hwnd); });
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        // A message another thread sends to this thread's windows (a program
        // under test may send to every top-level window) is answered while
        // waiting, as a running program answers it; posted ones stay queued.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
    }
}

HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = find()) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForGone(HWND hwnd, DWORD timeoutMs) {
    return WaitFor([&] { return !::IsWindow(hwnd); }, timeoutMs);
}

// ---- dialogs ----

void PressButton(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    if (button && ::IsWindowEnabled(button))
        Send(button, BM_CLICK);  // the button presses itself and tells the dialog
    else  // a box without that button (IDCANCEL of a system box is no control)
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool AnswerMessageBox(HWND box, int id, DWORD timeoutMs) {
    PressButton(box, id);
    return WaitForGone(box, timeoutMs);
}

// ---- clipboard ----

std::pair<std::string, std::wstring> ClipboardTexts() {
    std::pair<std::string, std::wstring> texts;
    if (!::OpenClipboard(nullptr)) return texts;
    if (HANDLE text = ::GetClipboardData(CF_TEXT)) {
        texts.first = static_cast<const char*>(::GlobalLock(text));
        ::GlobalUnlock(text);
    }
    if (HANDLE wide = ::GetClipboardData(CF_UNICODETEXT)) {
        texts.second = static_cast<const wchar_t*>(::GlobalLock(wide));
        ::GlobalUnlock(wide);
    }
    ::CloseClipboard();
    return texts;
}

bool PutClipboardUnicode(const std::wstring& text) {
    if (!::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool put = false;
    if (block) {
        std::memcpy(::GlobalLock(block), text.c_str(), bytes);
        ::GlobalUnlock(block);
        put = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        if (!put) ::GlobalFree(block);
    }
    ::CloseClipboard();
    return put;
}

bool PutClipboardEightBit(const std::string& bytes) {
    if (!::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    bool put = false;
    if (block) {
        std::memcpy(::GlobalLock(block), bytes.c_str(), bytes.size() + 1);
        ::GlobalUnlock(block);
        put = ::SetClipboardData(CF_TEXT, block) != nullptr;
        if (!put) ::GlobalFree(block);
    }
    ::CloseClipboard();
    return put;
}

// ---- a program as its own process ----

Process::~Process() {
    if (!process_) return;
    if (Running()) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, kTimeoutMs);
    }
    ::CloseHandle(process_);
}

bool Process::Start(const std::string& folder, const std::string& program, StartBy by,
                    const std::string& arguments) {
    const std::string path = folder + program;
    std::string commandLine = by == StartBy::BareName ? program : "\"" + path + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL started = FALSE;
    {
        // A bare name is found in the current folder, as at a prompt there.
        char before[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, before);
        AtScopeEnd back([&] { ::SetCurrentDirectoryA(before); });
        ::SetCurrentDirectoryA(folder.c_str());
        started = ::CreateProcessA(by == StartBy::BareName ? nullptr : path.c_str(), commandLine.data(), nullptr,
                                   nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi);
    }
    if (!started) return false;
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    ::CloseHandle(pi.hThread);
    ::WaitForInputIdle(process_, kTimeoutMs);
    return true;
}

bool Process::Running() const { return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitForEnd(DWORD timeoutMs) const {
    return process_ && ::WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) ::GetExitCodeProcess(process_, &code);
    return code;
}

// A process not started has no windows (pid 0 would mean every process's).
HWND Process::FindTopWindow(const wchar_t* className, const wchar_t* title) const {
    return pid_ ? testing::FindTopWindow(pid_, className, title) : nullptr;
}

HWND Process::FindDialog(int controlId) const { return pid_ ? testing::FindDialog(pid_, controlId) : nullptr; }

HWND Process::FindFrame() const { return pid_ ? testing::FindFrame(pid_) : nullptr; }

HWND Process::WaitForTopWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) const {
    return WaitForWindow([&] { return FindTopWindow(className, title); }, timeoutMs);
}

HWND Process::WaitForDialog(int controlId, DWORD timeoutMs) const {
    return WaitForWindow([&] { return FindDialog(controlId); }, timeoutMs);
}

HWND Process::WaitForFrame(DWORD timeoutMs) const {
    return WaitForWindow([&] { return FindFrame(); }, timeoutMs);
}

}  // namespace wl::testing
