// The job dialog with a stepper of the test's own and real WM_TIMER ticks.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/jobs/stepper.h"
#include "core/ui/job_dialog.h"
#include "winlib/exception_barrier.h"
#include "winlib/testing.h"
#include "winlib/winlib.h"

namespace {

using wl::testing::ClickButton;
using wl::testing::ExecuteWith;
using wl::testing::PostKey;

constexpr int kProgressText = 201;
constexpr int kProgressBar = 202;
constexpr INT_PTR kEndedCode = 77;

// `units` units; `onUnit(n)` runs inside unit n. It notes what the progress
// control showed when each unit began.
class FakeJob : public lex::Stepper {
public:
    explicit FakeJob(int units) : units_(units) {}
    std::function<void(int)> onUnit;
    HWND dialog = nullptr;
    bool refuseStart = false;
    int done = 0;
    int cancels = 0;
    int depth = 0;
    int maxDepth = 0;
    std::vector<std::string> shownAtUnit;

    lex::JobProgress Progress() const override {
        return {static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(units_),
                std::to_string(done) + " of " + std::to_string(units_)};
    }

protected:
    bool OnStart() override {
        done = 0;
        if (refuseStart) Fail(3, "no source file");
        return !refuseStart;
    }
    bool DoUnit() override {
        ++depth;
        if (depth > maxDepth) maxDepth = depth;
        shownAtUnit.push_back(wl::GetItemText(dialog, kProgressText, 1252));
        const int unit = done;
        if (onUnit) onUnit(unit);
        ++done;
        --depth;
        if (done < units_) return true;
        SetResult(1, "finished");
        return false;
    }
    void OnCancel() override { ++cancels; }

private:
    int units_;
};

struct Ending {
    lex::JobState state;
    std::string resultText;
    std::string shown;
    int bar;
};

class TestJobDialog : public lex::JobDialog {
public:
    TestJobDialog() : lex::JobDialog(nullptr, L"JOB") {
        SetProgressControls(kProgressText, kProgressBar);
        SetTiming(1, 1, std::chrono::milliseconds(0));  // one unit per tick
    }
    bool confirm = true;
    int questions = 0;
    int unitsDuringQuestion = -1;
    FakeJob* watched = nullptr;
    std::vector<Ending> endings;

protected:
    bool ConfirmCancel() override {
        ++questions;
        // As a message box would: a message loop runs while the user decides.
        const int before = watched ? watched->done : 0;
        for (int i = 0; i < 5; ++i) {
            Sleep(10);
            wl::testing::PumpMessages();
        }
        unitsDuringQuestion = (watched ? watched->done : 0) - before;
        return confirm;
    }
    void JobEnded(lex::Stepper& job) override {
        endings.push_back({job.State(), job.Result().text, GetItemText(kProgressText),
                           static_cast<int>(SendMessageW(GetItem(kProgressBar), PBM_GETPOS, 0, 0))});
        if (job.State() == lex::JobState::Done) CloseWindow(kEndedCode);
    }
};

TEST(JobDialog, RunsOneUnitPerTickShowsProgressAndEndsWithTheResult) {
    TestJobDialog dlg;
    FakeJob job(5);
    bool startedAgain = true;
    INT_PTR code = ExecuteWith(dlg, [&](wl::Dialog& d) {
        job.dialog = d.Handle();
        EXPECT_TRUE(dlg.StartJob(job));
        startedAgain = dlg.StartJob(job);
    });
    EXPECT_FALSE(startedAgain);
    EXPECT_EQ(code, kEndedCode);
    EXPECT_EQ(job.done, 5);
    EXPECT_EQ(job.shownAtUnit, (std::vector<std::string>{"0 of 5", "1 of 5", "2 of 5", "3 of 5", "4 of 5"}));
    ASSERT_EQ(dlg.endings.size(), 1u);
    EXPECT_EQ(dlg.endings[0].state, lex::JobState::Done);
    EXPECT_EQ(dlg.endings[0].resultText, "finished");
    EXPECT_EQ(dlg.endings[0].shown, "5 of 5");
    EXPECT_EQ(dlg.endings[0].bar, 100);
    EXPECT_EQ(dlg.questions, 0);
    EXPECT_FALSE(dlg.JobRunning());
}

TEST(JobDialog, CancelEscapeAndTheCloseBoxStopTheJobWithinATick) {
    struct Case {
        const char* what;
        void (*request)(HWND dialog);  // runs inside unit 2
        bool confirm;
        INT_PTR code;
        lex::JobState state;
        int maxDone;
        int questions;
    };
    const Case cases[] = {
        // Clicked inside the unit: the unit ends, no unit follows.
        {"Cancel button", [](HWND h) { ClickButton(h, IDCANCEL); }, true, IDCANCEL, lex::JobState::Cancelled, 3, 1},
        // Posted: handled before the next tick.
        {"Escape", [](HWND h) { PostKey(GetDlgItem(h, IDOK), VK_ESCAPE); }, true, IDCANCEL,
         lex::JobState::Cancelled, 4, 1},
        {"close box", [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); }, true, IDCANCEL, lex::JobState::Cancelled, 4,
         1},
        {"Escape, then no", [](HWND h) { PostKey(GetDlgItem(h, IDOK), VK_ESCAPE); }, false, kEndedCode,
         lex::JobState::Done, 10, 1},
        {"Enter", [](HWND h) { PostKey(GetDlgItem(h, IDCANCEL), VK_RETURN); }, true, kEndedCode,
         lex::JobState::Done, 10, 0},
    };
    for (const Case& c : cases) {
        TestJobDialog dlg;
        dlg.confirm = c.confirm;
        FakeJob job(10);
        dlg.watched = &job;
        job.onUnit = [&](int unit) {
            if (unit == 2) c.request(job.dialog);
        };
        INT_PTR code = ExecuteWith(dlg, [&](wl::Dialog& d) {
            job.dialog = d.Handle();
            dlg.StartJob(job);
        });
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_EQ(job.State(), c.state) << c.what;
        EXPECT_GE(job.done, 3) << c.what;
        EXPECT_LE(job.done, c.maxDone) << c.what;
        EXPECT_EQ(job.cancels, c.state == lex::JobState::Cancelled ? 1 : 0) << c.what;
        EXPECT_EQ(dlg.questions, c.questions) << c.what;
        if (c.questions) {
            EXPECT_EQ(dlg.unitsDuringQuestion, 0) << c.what;  // no tick worked while asking
        }
        ASSERT_EQ(dlg.endings.size(), 1u) << c.what;
        EXPECT_EQ(dlg.endings[0].state, c.state) << c.what;
        EXPECT_EQ(job.maxDepth, 1) << c.what;
    }
}

TEST(JobDialog, TicksWaitWhileAUnitRunsADialogAndACancelThereWaitsForTheUnit) {
    TestJobDialog dlg;
    FakeJob job(10);
    dlg.watched = &job;
    INT_PTR nested = 0;
    job.onUnit = [&](int unit) {
        if (unit != 1) return;
        wl::Dialog preview(&dlg, L"PREVIEW");  // as a preview or question inside one unit
        nested = ExecuteWith(preview, [&](wl::Dialog& p) {
            for (int i = 0; i < 5; ++i) {  // ticks come meanwhile
                Sleep(10);
                wl::testing::PumpMessages();
            }
            ClickButton(job.dialog, IDCANCEL);  // the user cancels the job meanwhile
            p.CloseWindow(IDOK);
        });
    };
    INT_PTR code = ExecuteWith(dlg, [&](wl::Dialog& d) {
        job.dialog = d.Handle();
        dlg.StartJob(job);
    });
    EXPECT_EQ(nested, IDOK);
    EXPECT_EQ(code, IDCANCEL);
    EXPECT_EQ(job.maxDepth, 1);
    EXPECT_EQ(job.done, 2);  // unit 1 finished, none after it
    EXPECT_EQ(job.State(), lex::JobState::Cancelled);
    EXPECT_EQ(job.cancels, 1);
}

TEST(JobDialog, AFailedStartEndsAtOnceAndAFailingUnitEndsTheDialog) {
    TestJobDialog refused;
    FakeJob noStart(3);
    noStart.refuseStart = true;
    bool started = true;
    ExecuteWith(refused, [&](wl::Dialog& d) {
        noStart.dialog = d.Handle();
        started = refused.StartJob(noStart);
        EXPECT_FALSE(refused.JobRunning());
        d.CloseWindow(IDOK);
    });
    EXPECT_FALSE(started);
    EXPECT_EQ(noStart.done, 0);
    ASSERT_EQ(refused.endings.size(), 1u);
    EXPECT_EQ(refused.endings[0].state, lex::JobState::Failed);
    EXPECT_EQ(refused.endings[0].resultText, "no source file");

    std::vector<std::string> reports;
    wl::ScopedFailureReporter recorder([&](HWND, const std::string& text, UINT) { reports.push_back(text); });
    TestJobDialog failing;
    FakeJob job(10);
    job.onUnit = [](int unit) {
        if (unit == 3) throw std::runtime_error("bad record");
    };
    INT_PTR code = ExecuteWith(failing, [&](wl::Dialog& d) {
        job.dialog = d.Handle();
        failing.StartJob(job);
    });
    EXPECT_EQ(code, IDCANCEL);
    EXPECT_EQ(reports, (std::vector<std::string>{"bad record"}));
    EXPECT_EQ(job.State(), lex::JobState::Cancelled);
    EXPECT_EQ(job.cancels, 1);
    EXPECT_EQ(job.done, 3);
}

TEST(JobDialog, DestroyingTheDialogCancelsTheJob) {
    TestJobDialog dlg;
    ASSERT_TRUE(dlg.Create());
    FakeJob job(1000);
    job.dialog = dlg.Handle();
    ASSERT_TRUE(dlg.StartJob(job));
    while (job.done < 3) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        wl::testing::PumpMessages();
    }
    dlg.Destroy();
    EXPECT_EQ(job.State(), lex::JobState::Cancelled);
    EXPECT_EQ(job.cancels, 1);
    EXPECT_FALSE(dlg.JobRunning());
    EXPECT_TRUE(dlg.endings.empty());
    const int done = job.done;
    for (int i = 0; i < 3; ++i) {
        Sleep(5);
        wl::testing::PumpMessages();
    }
    EXPECT_EQ(job.done, done);
}

}  // namespace
