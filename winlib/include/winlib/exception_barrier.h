// Exception barrier of the window procedures.
//
// An exception thrown by a message handler never unwinds through the window
// system: the window procedures of Window and Dialog (and CallGuarded, for
// other callbacks such as timer procedures and hooks) catch it, report it
// and close the top window of the window whose handler threw: a modal dialog
// ends with IDCANCEL, a modeless dialog, a frame or another top window is
// destroyed (for the main window the message loop then ends normally).
//
//   // the program's own report (or a test's recorder), until the guard ends:
//   wl::ScopedFailureReporter report([](HWND owner, const std::string& text, UINT codePage) { ... });
//   LRESULT r = wl::CallGuarded(hwnd, WM_TIMER, [&] { return Tick(); });
//
// While one failure is being reported, a second one (for example a timer
// that fails again inside the report's message box) closes its window
// without a second report.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace wl {

// Shows `text` (8-bit, `codePage`) to the user; `owner` is the top window
// that closes afterwards (it may be null).
using FailureReporter = std::function<void(HWND owner, const std::string& text, UINT codePage)>;

// The default report: an error message box owned by `owner`.
void ShowFailureBox(HWND owner, const std::string& text, UINT codePage);

// Replaces the report until the guard ends (the previous one comes back).
class ScopedFailureReporter {
public:
    explicit ScopedFailureReporter(FailureReporter reporter);
    ~ScopedFailureReporter();
    ScopedFailureReporter(const ScopedFailureReporter&) = delete;
    ScopedFailureReporter& operator=(const ScopedFailureReporter&) = delete;

private:
    FailureReporter saved_;
};

// Reports a failure (`what` null: not a std::exception) that happened while
// window `hwnd` handled `msg`, and closes its top window (not while the
// window is being destroyed anyway).
void HandleFailure(HWND hwnd, UINT msg, const char* what) noexcept;

// Runs `fn` (returning LRESULT) behind the barrier; 0 after a failure.
template <class Fn>
LRESULT CallGuarded(HWND hwnd, UINT msg, Fn&& fn) noexcept {
    try {
        return fn();
    } catch (const std::exception& e) {
        HandleFailure(hwnd, msg, e.what());
    } catch (...) {
        HandleFailure(hwnd, msg, nullptr);
    }
    return 0;
}

}  // namespace wl
