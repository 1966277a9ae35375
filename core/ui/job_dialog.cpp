#include "core/ui/job_dialog.h"

#include <commctrl.h>

#include "winlib/exception_barrier.h"

namespace lex {

namespace {

void InitProgressClass() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    done = true;
}

// Sets a flag for a scope, and puts the old value back on every way out.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

}  // namespace

WL_BEGIN_MESSAGE_TABLE(JobDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDCANCEL, CmCancel)
    WL_MESSAGE(WM_DESTROY, EvDestroy)
WL_END_MESSAGE_TABLE()

JobDialog::JobDialog(wl::Window* parent, int templateId, HINSTANCE module)
    : wl::Dialog(parent, templateId, module), clock_(&SystemClock()) {
    InitProgressClass();
}

JobDialog::JobDialog(wl::Window* parent, const wchar_t* templateName, HINSTANCE module)
    : wl::Dialog(parent, templateName, module), clock_(&SystemClock()) {
    InitProgressClass();
}

JobDialog::~JobDialog() {
    if (job_) job_->Cancel();
}

void JobDialog::SetProgressControls(int textId, int barId) {
    textId_ = textId;
    barId_ = barId;
}

void JobDialog::SetTiming(UINT_PTR timerId, UINT periodMs, std::chrono::milliseconds budget) {
    timerId_ = timerId;
    periodMs_ = periodMs;
    budget_ = budget;
}

bool JobDialog::StartJob(Stepper& job) {
    if (job_ || !Handle()) return false;
    if (!job.Start()) {
        ShowProgress(job.Progress());
        JobEnded(job);
        return false;
    }
    job_ = &job;
    cancelRequested_ = false;
    closeRequested_ = false;
    ShowProgress(job.Progress());
    ::SetTimer(Handle(), timerId_, periodMs_, &JobDialog::TickProc);
    return true;
}

void CALLBACK JobDialog::TickProc(HWND hwnd, UINT, UINT_PTR, DWORD) {
    wl::CallGuarded(hwnd, WM_TIMER, [hwnd] {
        if (auto* dialog = dynamic_cast<JobDialog*>(wl::Window::FromHandle(hwnd))) dialog->Tick();
        return LRESULT(0);
    });
}

void JobDialog::Tick() {
    if (!job_ || stepping_ || asking_) return;
    Stepper& job = *job_;
    if (!cancelRequested_) {
        FlagScope busy(stepping_);
        job.Step(*clock_, budget_);
    }
    if (cancelRequested_) job.Cancel();
    if (job.Running()) {
        ShowProgress(job.Progress());
        return;
    }
    const bool close = closeRequested_;
    Finish(job);
    if (close && Handle()) wl::Dialog::CmCancel();
}

void JobDialog::Finish(Stepper& job) {
    KillTimer(timerId_);
    job_ = nullptr;
    cancelRequested_ = false;
    closeRequested_ = false;
    if (!Handle()) return;
    ShowProgress(job.Progress());
    JobEnded(job);
}

void JobDialog::CancelJob() {
    if (!job_) return;
    if (stepping_) {
        cancelRequested_ = true;
        return;
    }
    Stepper& job = *job_;
    job.Cancel();
    Finish(job);
}

bool JobDialog::CanClose() {
    if (!job_) return wl::Dialog::CanClose();
    bool confirmed = false;
    {
        FlagScope asking(asking_);
        confirmed = ConfirmCancel();
    }
    if (!confirmed) return false;
    if (!job_) return true;  // it ended while the question was open
    if (stepping_) {
        // Inside a unit's message loop: the tick cancels and closes when the unit returns.
        cancelRequested_ = true;
        closeRequested_ = true;
        return false;
    }
    CancelJob();
    return true;
}

void JobDialog::EndAfterFailure() {
    if (job_ && !stepping_) {
        Stepper* job = job_;
        KillTimer(timerId_);
        job_ = nullptr;
        job->Cancel();
    }
    wl::Dialog::EndAfterFailure();
}

void JobDialog::CmOk() {
    if (!job_) wl::Dialog::CmOk();
}

void JobDialog::CmCancel() {
    if (CanClose()) wl::Dialog::CmCancel();
}

void JobDialog::ShowProgress(const JobProgress& progress) {
    if (!Handle()) return;
    if (textId_) SetItemText(textId_, progress.text);
    if (barId_) {
        HWND bar = GetItem(barId_);
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(progress.Percent()), 0);
    }
}

void JobDialog::JobEnded(Stepper&) {}

LRESULT JobDialog::EvDestroy(WPARAM, LPARAM) {
    // The window goes: the job stops with it, without an end message.
    if (job_) {
        KillTimer(timerId_);
        if (stepping_) {
            cancelRequested_ = true;  // the tick cancels it when the unit in progress returns
        } else {
            Stepper* job = job_;
            job_ = nullptr;
            job->Cancel();
        }
    }
    return DefaultProcessing();
}

}  // namespace lex
