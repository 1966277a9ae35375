// Work that walks a slot or a file runs as a stepper: the window that owns it
// calls Step on every timer tick with a time budget, so the program stays
// responsive, shows progress and can cancel between two units of work.
//
//   class ExportJob : public lex::Stepper {
//       bool OnStart() override;               // open files; Fail(...) and false when it cannot
//       bool DoUnit() override;                // one record; false when the work is complete
//       void OnCancel() override;              // close what is open; what was written stays
//       lex::JobProgress Progress() const override;
//   };
//   job.Start();
//   while (job.Step(lex::SystemClock(), std::chrono::milliseconds(20))) {}   // or one Step per tick
//
// Portable: no window system here (lex::JobDialog in core/ui is the dialog side).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace lex {

// Time as the stepper sees it: monotonic, from any fixed origin. Tests use a
// clock of their own that moves only when they say.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::microseconds Now() const = 0;
};

// The steady clock of the machine.
const Clock& SystemClock();

enum class JobState { Idle, Running, Done, Failed, Cancelled };

struct JobProgress {
    std::uint64_t done = 0;
    std::uint64_t total = 0;  // 0: not known
    std::string text;         // what the job is at (8-bit, the job's own code page)

    // done / total in whole percent, 0..100 (0 while the total is not known).
    int Percent() const;
};

// How a run ended: the state, and a code and text of the job's own (for
// example the id of the message to show, and the file it concerns).
struct JobResult {
    JobState state = JobState::Idle;
    int code = 0;
    std::string text;
};

class Stepper {
public:
    virtual ~Stepper() = default;

    // Prepares a run (also after an earlier run ended). False when the work
    // cannot start (or is already running); Result() then says why.
    bool Start();
    // Units of work until `budget` of `clock` has passed since the call or the
    // work ends. Every call does at least one unit, so a zero budget means one
    // unit per call. True while work remains; false once the run has ended
    // (and at once when no run is going on).
    bool Step(const Clock& clock, std::chrono::microseconds budget);
    // Stops a running job; what was done so far stays. Called from inside a
    // unit (a message loop there), the step ends after that unit.
    void Cancel();

    JobState State() const { return result_.state; }
    bool Running() const { return result_.state == JobState::Running; }
    const JobResult& Result() const { return result_; }
    virtual JobProgress Progress() const = 0;

protected:
    // Sets the run up; false (after Fail) when it cannot start.
    virtual bool OnStart() = 0;
    // Does one unit of work; false when the work is complete or has failed
    // (after Fail).
    virtual bool DoUnit() = 0;
    // The run is being cancelled: release what the run holds.
    virtual void OnCancel() {}

    // Records a failure; the run ends when OnStart or DoUnit returns false.
    void Fail(int code, std::string text = std::string());
    // The code and text of a run that ends well (kept until the next Start).
    void SetResult(int code, std::string text = std::string());

private:
    JobResult result_;
    bool failed_ = false;
};

// Runs `job` from its start to its end, one budget after another (for
// programs without a window and for tests); returns how the run ended.
JobState RunToEnd(Stepper& job, const Clock& clock = SystemClock(),
                  std::chrono::microseconds budget = std::chrono::milliseconds(20));

}  // namespace lex
