// Driving the dialogs that a frame's command opens, in this process and with
// real messages: the frame gets the command, each dialog is answered from
// inside its own loop by the next step. Used by the dialog tests of both
// dictionary programs, with the file helpers they check lx2000.ini with.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "winlib/dialog.h"
#include "winlib/testing.h"
#include "winlib/text.h"

namespace lexora_test {

inline std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream out;
    out << file.rdbuf();
    return out.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Key names of an ini section in file order.
inline std::vector<std::string> SectionKeys(const std::string& ini, const std::string& section) {
    std::vector<char> buffer(32768);
    const DWORD n = ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                ini.c_str());
    std::vector<std::string> keys;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += std::strlen(p) + 1) {
        const std::string line = p;
        keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

// The sort type keys "Razeni<pair>_<direction>" of [JAZYKY]: all of them in
// slot order, and those the file holds in file order.
inline std::vector<std::string> SortKeysInSlotOrder() {
    std::vector<std::string> keys;
    for (int pair = 0; pair < lex::kPairCount; ++pair)
        for (int direction = 0; direction < 2; ++direction)
            keys.push_back("Razeni" + std::to_string(pair) + "_" + std::to_string(direction));
    return keys;
}
inline std::vector<std::string> WrittenSortKeys(const std::string& ini) {
    std::vector<std::string> written;
    for (const std::string& key : SectionKeys(ini, "JAZYKY"))
        if (key.rfind("Razeni", 0) == 0) written.push_back(key);
    return written;
}

// Closes a dialog that a failed step left open, so that the test goes on
// (after the messages a step posted, such as the close box's Cancel).
inline void CloseIfOpen(wl::Dialog& dialog) {
    wl::testing::PumpMessages();
    if (::IsWindow(dialog.Handle()) && ::IsWindowVisible(dialog.Handle())) {
        ADD_FAILURE() << "dialog left open";
        dialog.CloseWindow(IDCANCEL);
    }
}

// Answers the next dialog with `act` (then closes it if `act` did not).
inline void Next(std::function<void(wl::Dialog&)> act) {
    wl::Dialog::SetTestHook([act = std::move(act)](wl::Dialog& d) {
        act(d);
        CloseIfOpen(d);
    });
}

// A command whose dialogs are still open this long after (a step failed to
// close one, or an unexpected message came) gets every dialog of this
// thread cancelled, so that the test fails instead of hanging. Generous: a
// busy machine must never reach it.
constexpr UINT_PTR kWatchdogTimer = 0x7E58;
constexpr UINT kWatchdogMs = wl::testing::kWatchdogMs;
inline void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    ADD_FAILURE() << "dialogs still open: cancelled";
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM) -> BOOL {
        wchar_t name[16] = {};
        ::GetClassNameW(hwnd, name, 16);
        if (std::wstring(name) == L"#32770" && ::IsWindowVisible(hwnd)) ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }, 0);
}

// Sends command `id` to `frame`; `act` drives the dialog it opens. True when
// the dialog came.
inline bool FrameCommand(HWND frame, unsigned id, std::function<void(wl::Dialog&)> act) {
    bool opened = false;
    Next([&](wl::Dialog& d) {
        opened = true;
        act(d);
    });
    ::SetTimer(frame, kWatchdogTimer, kWatchdogMs, Watchdog);
    ::SendMessageW(frame, WM_COMMAND, id, 0);
    if (::IsWindow(frame)) ::KillTimer(frame, kWatchdogTimer);
    wl::Dialog::SetTestHook(nullptr);
    return opened;
}

// The texts that do not show whole (wl::testing::ClippedTexts) in the dialogs
// a test walks through, in every UI language: each is kept as
// "<language> <dialog>: <text>" and reported as a failure at the end.
class ClippedTextsWalk {
public:
    ~ClippedTextsWalk() {
        for (const std::string& text : clipped_) ADD_FAILURE() << "clipped: " << text;
    }
    // The UI language of the dialogs checked from now on.
    void SetLanguage(int language) { language_ = language; }
    void Check(wl::Dialog& d, const char* name) {
        for (const std::wstring& text : wl::testing::ClippedTexts(d.Handle()))
            clipped_.push_back(std::to_string(language_) + " " + name + ": " + wl::FromWide(text, CP_UTF8));
    }
    // Checks the dialog and cancels it.
    std::function<void(wl::Dialog&)> Plain(const char* name) {
        return [this, name](wl::Dialog& d) {
            Check(d, name);
            wl::testing::ClickButton(d.Handle(), IDCANCEL);
        };
    }
    // Checks the dialog, then the one that `button` opens from it, which
    // closes with `inner`; then closes the first with `outer`.
    std::function<void(wl::Dialog&)> WithInner(const char* name, int button, const char* innerName, int inner,
                                               int outer) {
        return [this, name, button, innerName, inner, outer](wl::Dialog& d) {
            Check(d, name);
            bool opened = false;
            Next([&](wl::Dialog& i) {
                opened = true;
                Check(i, innerName);
                wl::testing::ClickButton(i.Handle(), inner);
            });
            wl::testing::ClickButton(d.Handle(), button);
            wl::Dialog::SetTestHook(nullptr);
            EXPECT_TRUE(opened) << innerName;
            wl::testing::ClickButton(d.Handle(), outer);
        };
    }

private:
    int language_ = 0;
    std::vector<std::string> clipped_;
};

}  // namespace lexora_test
