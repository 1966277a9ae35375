#include "core/jobs/stepper.h"

#include <utility>

namespace lex {

namespace {
class SteadyClock final : public Clock {
public:
    std::chrono::microseconds Now() const override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};
}  // namespace

const Clock& SystemClock() {
    static const SteadyClock clock;
    return clock;
}

int JobProgress::Percent() const {
    if (total == 0) return 0;
    if (done >= total) return 100;
    // Wide enough for done * 100 with any 64-bit count.
    return static_cast<int>(static_cast<unsigned __int128>(done) * 100 / total);
}

bool Stepper::Start() {
    if (Running()) return false;
    result_ = JobResult{JobState::Running, 0, std::string()};
    failed_ = false;
    if (OnStart()) return true;
    result_.state = JobState::Failed;
    return false;
}

bool Stepper::Step(const Clock& clock, std::chrono::microseconds budget) {
    if (!Running()) return false;
    const std::chrono::microseconds start = clock.Now();
    do {
        const bool more = DoUnit();
        if (!Running()) return false;  // cancelled from inside the unit
        if (!more) {
            result_.state = failed_ ? JobState::Failed : JobState::Done;
            return false;
        }
    } while (clock.Now() - start < budget);
    return true;
}

void Stepper::Cancel() {
    if (!Running()) return;
    result_.state = JobState::Cancelled;
    OnCancel();
}

void Stepper::Fail(int code, std::string text) {
    failed_ = true;
    result_.code = code;
    result_.text = std::move(text);
}

void Stepper::SetResult(int code, std::string text) {
    result_.code = code;
    result_.text = std::move(text);
}

JobState RunToEnd(Stepper& job, const Clock& clock, std::chrono::microseconds budget) {
    if (!job.Running() && !job.Start()) return job.State();
    while (job.Step(clock, budget)) {
    }
    return job.State();
}

}  // namespace lex
