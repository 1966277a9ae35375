#include "winlib/exception_barrier.h"

#include <utility>

#include "winlib/text.h"
#include "winlib/window.h"

namespace wl {

namespace {

FailureReporter& Reporter() {
    static FailureReporter reporter = &ShowFailureBox;
    return reporter;
}

bool g_reporting = false;

std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

void ShowFailureBox(HWND owner, const std::string& text, UINT codePage) {
    std::wstring caption;
    if (owner) {
        caption.resize(static_cast<size_t>(GetWindowTextLengthW(owner)) + 1);
        caption.resize(static_cast<size_t>(GetWindowTextW(owner, &caption[0], static_cast<int>(caption.size()))));
    }
    if (caption.find_first_not_of(L' ') == std::wstring::npos) caption = ModuleBaseName();
    MessageBoxW(owner, ToWide(text, codePage).c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

ScopedFailureReporter::ScopedFailureReporter(FailureReporter reporter) : saved_(std::move(Reporter())) {
    Reporter() = std::move(reporter);
}

ScopedFailureReporter::~ScopedFailureReporter() { Reporter() = std::move(saved_); }

void HandleFailure(HWND hwnd, UINT msg, const char* what) noexcept {
    HWND top = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (!top) top = hwnd;
    if (top && !IsWindow(top)) top = nullptr;
    Window* window = Window::FromHandle(top);
    if (!g_reporting) {
        g_reporting = true;
        try {
            const std::string text = what && *what ? what : "Unexpected error.";
            const UINT codePage = window ? window->CodePage() : Window::DefaultCodePage();
            if (Reporter()) Reporter()(top, text, codePage);
        } catch (...) {
            // A report that fails itself still closes the window.
        }
        g_reporting = false;
    }
    if (msg == WM_DESTROY || msg == WM_NCDESTROY) return;  // on its way out already
    if (!top || !IsWindow(top)) return;
    window = Window::FromHandle(top);  // the report may have changed things
    if (window)
        window->EndAfterFailure();
    else
        PostMessageW(top, WM_CLOSE, 0, 0);
}

}  // namespace wl
