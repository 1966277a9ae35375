// A dialog that runs a Stepper (core/jobs) on its window timer: one Step with
// the time budget per tick, progress shown after each, cancel from the Cancel
// button, Escape or the close box, and an end hook for the closing message.
//
//   class TExportWindow : public lex::JobDialog {
//       TExportWindow(wl::Window* parent) : lex::JobDialog(parent, kExportTemplate) { SetProgressControls(kProgressLine); }
//       void CmStart() { if (!JobRunning()) StartJob(exportJob_); }         // the table maps IDOK to it
//       bool ConfirmCancel() override { return AskYesNo(...); }             // the program's own question
//       void JobEnded(lex::Stepper& job) override { if (job.State() == lex::JobState::Done) ShowOk(...); }
//   };
//
// While a job runs:
// - a tick that comes while the previous one is still busy (a message box or
//   dialog inside a unit runs a message loop) or while ConfirmCancel asks, does nothing;
// - Cancel, Escape and the close box ask ConfirmCancel (default: yes); yes
//   cancels the job (at once, or right after the unit in progress) and closes
//   the dialog with IDCANCEL; no lets it run on. Enter (IDOK) does nothing;
// - CancelJob() stops it and keeps the dialog open; destroying the dialog
//   cancels it too.
// Every end of a run (done, failed, cancelled, or a failed start) shows the
// last progress and calls JobEnded, while the dialog still exists.
//
// The ticks come from a timer procedure, not from the message table, so a
// derived class may have a WM_TIMER entry of its own (other timer ids).
// A derived class that maps IDOK or IDCANCEL itself calls JobDialog::CmOk /
// CmCancel (or CanClose) for them.
#pragma once

#include <chrono>

#include "core/jobs/stepper.h"
#include "winlib/dialog.h"

namespace lex {

class JobDialog : public wl::Dialog {
public:
    JobDialog(wl::Window* parent, int templateId, HINSTANCE module = nullptr);
    JobDialog(wl::Window* parent, const wchar_t* templateName, HINSTANCE module = nullptr);
    ~JobDialog() override;

    // Controls that show the progress (0: none): the text control gets the
    // job's progress text, the progress bar (msctls_progress32) the percentage.
    void SetProgressControls(int textId, int barId = 0);
    // Window timer id and period, and the work budget of one tick (0: one
    // unit per tick). Defaults: timer 1, every 10 ms, 20 ms of work.
    void SetTiming(UINT_PTR timerId, UINT periodMs, std::chrono::milliseconds budget);
    // The clock the budget is measured on (tests); it must outlive the runs.
    void SetClock(const Clock& clock) { clock_ = &clock; }

    // Starts `job` (not owned; it must outlive the run). False when a job is
    // running already or the dialog has no window, or when the job cannot
    // start (JobEnded has then run).
    bool StartJob(Stepper& job);
    bool JobRunning() const { return job_ != nullptr; }
    Stepper* RunningJob() const { return job_; }
    // Stops the running job and keeps the dialog open.
    void CancelJob();

    // While a job runs: ConfirmCancel; yes cancels the job, no keeps the dialog.
    bool CanClose() override;
    // A handler failed: the job is cancelled before the dialog ends.
    void EndAfterFailure() override;

    WL_DECLARE_MESSAGE_TABLE();
    void CmOk();
    void CmCancel();

protected:
    // Asked before a running job is cancelled by a close request.
    virtual bool ConfirmCancel() { return true; }
    // Shows the progress in the controls of SetProgressControls.
    virtual void ShowProgress(const JobProgress& progress);
    // The run has ended (job.State(), job.Result()): the closing message.
    virtual void JobEnded(Stepper& job);

    LRESULT EvDestroy(WPARAM, LPARAM);

private:
    static void CALLBACK TickProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);
    void Tick();
    void Finish(Stepper& job);

    Stepper* job_ = nullptr;
    const Clock* clock_;
    UINT_PTR timerId_ = 1;
    UINT periodMs_ = 10;
    std::chrono::milliseconds budget_{20};
    int textId_ = 0;
    int barId_ = 0;
    bool stepping_ = false;         // inside Step (a unit may run a message loop)
    bool asking_ = false;           // inside ConfirmCancel
    bool cancelRequested_ = false;  // cancel when the step in progress returns
    bool closeRequested_ = false;   // and then close with IDCANCEL
};

}  // namespace lex
