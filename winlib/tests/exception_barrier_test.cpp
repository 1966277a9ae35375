// A handler that throws: the exception stops at the window procedure, is
// reported once, and what was open closes cleanly.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "winlib/exception_barrier.h"
#include "winlib/testing.h"
#include "winlib/winlib.h"

namespace {

using wl::testing::ClickButton;
using wl::testing::ExecuteWith;

struct Report {
    HWND owner;
    std::string text;
    UINT codePage;
};

// Records the reports instead of showing message boxes, for one test.
class RecordedReports {
public:
    std::vector<Report> reports;
    wl::ScopedFailureReporter guard{[this](HWND owner, const std::string& text, UINT codePage) {
        reports.push_back({owner, text, codePage});
    }};
};

class ThrowingEdit : public wl::Edit {
public:
    using wl::Edit::Edit;
    WL_DECLARE_MESSAGE_TABLE();
private:
    LRESULT EvChar(WPARAM, LPARAM) { throw std::runtime_error("edit failed"); }
};
WL_BEGIN_MESSAGE_TABLE(ThrowingEdit, wl::Edit)
    WL_MESSAGE(WM_CHAR, EvChar)
WL_END_MESSAGE_TABLE()

class FailingDialog : public wl::Dialog {
public:
    FailingDialog() : wl::Dialog(nullptr, 100) {}
    WL_DECLARE_MESSAGE_TABLE();
    ThrowingEdit edit{this, 101};
    bool failSetup = false;
    int afterThrow = 0;
    void SetupWindow() override {
        wl::Dialog::SetupWindow();
        if (failSetup) throw std::runtime_error("set-up failed");
    }
private:
    void CmThrow() {
        throw std::runtime_error("P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd");  // Czech in 1250
        ++afterThrow;
    }
    void CmThrowInt() { throw 42; }
    LRESULT EvPing(WPARAM, LPARAM) { return 7; }
};
WL_BEGIN_MESSAGE_TABLE(FailingDialog, wl::Dialog)
    WL_COMMAND(103, CmThrow)
    WL_COMMAND(105, CmThrowInt)
    WL_MESSAGE(WM_APP, EvPing)
WL_END_MESSAGE_TABLE()

TEST(ExceptionBarrier, AModalDialogEndsWithCancelAfterOneReport) {
    struct Case {
        const char* what;
        bool failSetup;
        void (*act)(FailingDialog&);
        std::string text;
    };
    const Case cases[] = {
        {"command handler", false, [](FailingDialog& d) { ClickButton(d.Handle(), 103); },
         "P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd"},
        {"not a std::exception", false, [](FailingDialog& d) { SendMessageW(d.Handle(), WM_COMMAND, 105, 0); },
         "Unexpected error."},
        {"control's own table", false, [](FailingDialog& d) { SendMessageW(d.edit.Handle(), WM_CHAR, 'a', 1); },
         "edit failed"},
        {"set-up", true, [](FailingDialog&) {}, "set-up failed"},
    };
    for (const Case& c : cases) {
        RecordedReports recorded;
        FailingDialog dlg;
        dlg.SetCodePage(1250);
        dlg.failSetup = c.failSetup;
        HWND shown = nullptr;
        LRESULT pingAfter = 0;
        HWND seenInSetup = nullptr;
        INT_PTR code = ExecuteWith(dlg, [&](wl::Dialog& d) {
            shown = d.Handle();
            c.act(dlg);
            // The window goes on answering until its loop ends.
            if (IsWindow(shown)) pingAfter = SendMessageW(shown, WM_APP, 0, 0);
        });
        if (c.failSetup) seenInSetup = recorded.reports.empty() ? nullptr : recorded.reports[0].owner;
        EXPECT_EQ(code, IDCANCEL) << c.what;
        EXPECT_EQ(dlg.Handle(), nullptr) << c.what;
        ASSERT_EQ(recorded.reports.size(), 1u) << c.what;
        EXPECT_EQ(recorded.reports[0].text, c.text) << c.what;
        EXPECT_EQ(recorded.reports[0].codePage, 1250u) << c.what;
        if (!c.failSetup) {
            EXPECT_EQ(recorded.reports[0].owner, shown) << c.what;
            EXPECT_EQ(pingAfter, 7) << c.what;
        } else {
            EXPECT_NE(seenInSetup, nullptr) << c.what;
        }
        EXPECT_EQ(dlg.afterThrow, 0);
    }
}

// A program: the frame's command opens a modal dialog whose handler throws
// (only the dialog ends), then a frame command throws (the frame closes and
// the message loop ends as after a normal close).
class BarrierFrame : public wl::FrameWindow {
public:
    explicit BarrierFrame(wl::Window* client) : wl::FrameWindow("Barrier", client) {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<std::string> log;
    bool CanClose() override {
        log.push_back("asked to close");
        return true;
    }
private:
    void CmDialog() {
        FailingDialog dlg;
        INT_PTR code = ExecuteWith(dlg, [](wl::Dialog& d) { ClickButton(d.Handle(), 103); });
        log.push_back("dialog ended " + std::to_string(code));
        log.push_back(IsWindow(Handle()) ? "frame open" : "frame gone");
        Post(WM_COMMAND, 801);
    }
    void CmFail() {
        log.push_back("failing");
        throw std::logic_error("frame command failed");
    }
    LRESULT EvDestroy(WPARAM wp, LPARAM lp) {
        log.push_back("destroyed");
        return wl::FrameWindow::EvDestroy(wp, lp);
    }
};
WL_BEGIN_MESSAGE_TABLE(BarrierFrame, wl::FrameWindow)
    WL_COMMAND(800, CmDialog)
    WL_COMMAND(801, CmFail)
    WL_MESSAGE(WM_DESTROY, EvDestroy)
WL_END_MESSAGE_TABLE()

class BarrierApp : public wl::Application {
public:
    std::unique_ptr<wl::Window> client = std::make_unique<wl::Window>();
    std::unique_ptr<BarrierFrame> frame;
    HWND frameHandle = nullptr;
    void InitMainWindow() override {
        frame = std::make_unique<BarrierFrame>(client.get());
        frame->Create(20, 20, 300, 200);
        frameHandle = frame->Handle();
        SetMainWindow(frame.get());
        frame->Post(WM_COMMAND, 800);
    }
};

TEST(ExceptionBarrier, AFailingFrameClosesAndTheProgramEndsNormally) {
    RecordedReports recorded;
    BarrierApp app;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.frame->log, (std::vector<std::string>{"dialog ended 2", "frame open", "failing", "destroyed"}));
    ASSERT_EQ(recorded.reports.size(), 2u);
    EXPECT_EQ(recorded.reports[1].text, "frame command failed");
    EXPECT_EQ(recorded.reports[1].owner, app.frameHandle);
    EXPECT_EQ(app.frame->Handle(), nullptr);
}

// A timer that fails on every tick: while the first report is showing (its
// message box runs a message loop) the next failure closes the window
// without a second report.
class TickingFailure : public wl::FrameWindow {
public:
    TickingFailure() : wl::FrameWindow("Ticks", nullptr) {}
    WL_DECLARE_MESSAGE_TABLE();
    int ticks = 0;
private:
    LRESULT EvTimer(WPARAM, LPARAM) {
        ++ticks;
        throw std::runtime_error("tick " + std::to_string(ticks));
    }
};
WL_BEGIN_MESSAGE_TABLE(TickingFailure, wl::FrameWindow)
    WL_MESSAGE(WM_TIMER, EvTimer)
WL_END_MESSAGE_TABLE()

TEST(ExceptionBarrier, AFailureDuringTheReportClosesWithoutASecondReport) {
    std::vector<std::string> texts;
    bool ownerGoneInReport = false;
    wl::ScopedFailureReporter guard([&](HWND owner, const std::string& text, UINT) {
        texts.push_back(text);
        // A message box's loop: runs until its owner is gone (or a guard).
        for (const DWORD start = GetTickCount(); IsWindow(owner) && GetTickCount() - start < wl::testing::kWatchdogMs;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            wl::testing::PumpMessages();
        }
        ownerGoneInReport = !IsWindow(owner);
    });
    TickingFailure frame;
    ASSERT_TRUE(frame.Create(10, 10, 200, 100));
    frame.SetTimer(3, 1);
    MSG msg;
    while (frame.Handle() && GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    EXPECT_EQ(texts, (std::vector<std::string>{"tick 1"}));
    EXPECT_TRUE(ownerGoneInReport);
    EXPECT_EQ(frame.ticks, 2);
    EXPECT_EQ(frame.Handle(), nullptr);
}

// The default report is a real message box: its text in the code page and
// the owner's caption. A timer of the owner reads and answers it.
struct BoxSeen {
    HWND owner = nullptr;
    std::wstring caption;
    std::vector<std::wstring> texts;
};
BoxSeen g_box;

BOOL CALLBACK CollectText(HWND child, LPARAM) {
    g_box.texts.push_back(wl::testing::WideText(child));
    return TRUE;
}

BOOL CALLBACK AnswerBox(HWND hwnd, LPARAM) {
    if (GetWindow(hwnd, GW_OWNER) != g_box.owner || !IsWindowVisible(hwnd)) return TRUE;
    g_box.caption = wl::testing::WideText(hwnd);
    EnumChildWindows(hwnd, &CollectText, 0);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK PollBox(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &AnswerBox, 0);
    if (!g_box.caption.empty()) KillTimer(hwnd, id);
}

TEST(ExceptionBarrier, TheDefaultReportIsAMessageBoxInTheCodePage) {
    wl::Window owner;
    ASSERT_TRUE(owner.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, L"Slovn\u00edk", 10, 10, 200, 100, nullptr, nullptr));
    g_box = BoxSeen{owner.Handle(), L"", {}};
    SetTimer(owner.Handle(), 1, 50, &PollBox);
    wl::ShowFailureBox(owner.Handle(), "P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd", 1250);
    EXPECT_EQ(g_box.caption, L"Slovn\u00edk");
    EXPECT_NE(std::find(g_box.texts.begin(), g_box.texts.end(), L"Příliš žluťoučký"), g_box.texts.end());
}

}  // namespace
