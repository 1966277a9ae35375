#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/jobs/stepper.h"

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// A clock that moves only when the work moves it.
class FakeClock : public lex::Clock {
public:
    microseconds Now() const override { return now; }
    microseconds now{1000000};
};

// `units` units of work, each `cost` long on `clock`; it can refuse to start
// or fail at a chosen unit.
class CountingJob : public lex::Stepper {
public:
    CountingJob(FakeClock& clock, int units, milliseconds cost) : clock_(clock), units_(units), cost_(cost) {}

    bool refuseStart = false;
    int failAt = -1;    // unit number that fails
    int cancelAt = -1;  // unit number that cancels the job from inside
    int done = 0;
    int starts = 0;
    int cancels = 0;

    lex::JobProgress Progress() const override {
        return {static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(units_),
                "unit " + std::to_string(done)};
    }

protected:
    bool OnStart() override {
        ++starts;
        done = 0;
        if (refuseStart) {
            Fail(17, "cannot open");
            return false;
        }
        return true;
    }
    bool DoUnit() override {
        clock_.now += cost_;
        if (done == cancelAt) Cancel();
        if (done == failAt) {
            Fail(23, "bad record " + std::to_string(done));
            return false;
        }
        ++done;
        if (done < units_) return true;
        SetResult(5, "all done");
        return false;
    }
    void OnCancel() override { ++cancels; }

private:
    FakeClock& clock_;
    int units_;
    milliseconds cost_;
};

TEST(Stepper, EachStepWorksUntilItsBudgetIsSpent) {
    struct Case {
        int units;
        int costMs;
        int budgetMs;
        std::vector<int> steps;
    };
    const Case cases[] = {
        {10, 3, 10, {4, 4, 2}},           // the unit that crosses the budget still runs
        {10, 3, 0, std::vector<int>(10, 1)},  // no budget: one unit per step
        {5, 0, 10, {5}},                  // free units: all in one step
        {6, 5, 10, {2, 2, 2}},            // exactly on the budget: stop
        {1, 50, 10, {1}},                 // one slow unit
        {7, 11, 10, std::vector<int>(7, 1)},  // every unit longer than the budget
    };
    for (const Case& c : cases) {
        FakeClock clock;
        CountingJob job(clock, c.units, milliseconds(c.costMs));
        ASSERT_TRUE(job.Start());
        std::vector<int> steps;
        for (int guard = 0; guard < 100; ++guard) {
            const int before = job.done;
            const bool more = job.Step(clock, milliseconds(c.budgetMs));
            steps.push_back(job.done - before);
            if (!more) break;
        }
        const std::string what = std::to_string(c.units) + " units of " + std::to_string(c.costMs) + " ms, budget " +
                                 std::to_string(c.budgetMs);
        EXPECT_EQ(steps, c.steps) << what;
        EXPECT_EQ(job.State(), lex::JobState::Done) << what;
        EXPECT_EQ(job.Result().code, 5) << what;
        EXPECT_EQ(job.Result().text, "all done") << what;
        EXPECT_EQ(job.Progress().Percent(), 100) << what;
        EXPECT_FALSE(job.Step(clock, milliseconds(c.budgetMs))) << what;  // nothing more after the end
        EXPECT_EQ(job.done, c.units) << what;
    }
}

TEST(Stepper, CancelStopsBetweenUnitsOnceAndKeepsWhatWasDone) {
    FakeClock clock;
    CountingJob job(clock, 100, milliseconds(1));
    EXPECT_FALSE(job.Step(clock, milliseconds(10)));  // not started: no work
    job.Cancel();                                     // not running: nothing to cancel
    EXPECT_EQ(job.cancels, 0);
    EXPECT_EQ(job.done, 0);

    ASSERT_TRUE(job.Start());
    EXPECT_FALSE(job.Start());  // already running
    EXPECT_EQ(job.starts, 1);
    EXPECT_TRUE(job.Step(clock, milliseconds(5)));
    EXPECT_EQ(job.done, 5);
    EXPECT_TRUE(job.Running());
    job.Cancel();
    job.Cancel();
    EXPECT_EQ(job.cancels, 1);
    EXPECT_EQ(job.State(), lex::JobState::Cancelled);
    EXPECT_FALSE(job.Step(clock, milliseconds(5)));
    EXPECT_EQ(job.done, 5);
    EXPECT_EQ(job.Progress().Percent(), 5);
    EXPECT_EQ(job.Progress().text, "unit 5");

    // Cancelled from inside a unit (a message loop there): no unit after it.
    CountingJob inside(clock, 100, milliseconds(1));
    inside.cancelAt = 3;
    ASSERT_TRUE(inside.Start());
    EXPECT_FALSE(inside.Step(clock, milliseconds(50)));
    EXPECT_EQ(inside.done, 4);
    EXPECT_EQ(inside.State(), lex::JobState::Cancelled);
    EXPECT_EQ(inside.cancels, 1);

    // A new run starts afresh.
    ASSERT_TRUE(job.Start());
    EXPECT_EQ(lex::RunToEnd(job, clock, milliseconds(30)), lex::JobState::Done);
    EXPECT_EQ(job.done, 100);
    EXPECT_EQ(job.cancels, 1);
}

TEST(Stepper, FailuresAtTheStartAndOnTheWayEndTheRunWithTheirReason) {
    FakeClock clock;
    CountingJob refused(clock, 10, milliseconds(1));
    refused.refuseStart = true;
    EXPECT_FALSE(refused.Start());
    EXPECT_EQ(refused.State(), lex::JobState::Failed);
    EXPECT_EQ(refused.Result().code, 17);
    EXPECT_EQ(refused.Result().text, "cannot open");
    EXPECT_FALSE(refused.Step(clock, milliseconds(10)));
    EXPECT_EQ(refused.done, 0);
    EXPECT_EQ(lex::RunToEnd(refused, clock), lex::JobState::Failed);

    CountingJob broken(clock, 10, milliseconds(1));
    broken.failAt = 6;
    EXPECT_EQ(lex::RunToEnd(broken, clock, milliseconds(4)), lex::JobState::Failed);
    EXPECT_EQ(broken.done, 6);
    EXPECT_EQ(broken.Result().code, 23);
    EXPECT_EQ(broken.Result().text, "bad record 6");
    EXPECT_EQ(broken.cancels, 0);

    // After a failure the next run starts with a clean result.
    broken.failAt = -1;
    EXPECT_EQ(lex::RunToEnd(broken, clock), lex::JobState::Done);
    EXPECT_EQ(broken.Result().code, 5);
}

TEST(Stepper, PercentOfProgress) {
    struct Case {
        std::uint64_t done, total;
        int percent;
    };
    const Case cases[] = {
        {0, 0, 0}, {5, 0, 0}, {0, 7, 0}, {1, 3, 33}, {2, 3, 66}, {3, 3, 100}, {4, 3, 100},
        {UINT64_MAX - 1, UINT64_MAX, 99}, {UINT64_MAX / 2, UINT64_MAX, 49},
    };
    for (const Case& c : cases) {
        lex::JobProgress p{c.done, c.total, ""};
        EXPECT_EQ(p.Percent(), c.percent) << c.done << "/" << c.total;
    }
}

TEST(Stepper, SystemClockDoesNotRunBackwards) {
    const microseconds a = lex::SystemClock().Now();
    const microseconds b = lex::SystemClock().Now();
    EXPECT_LE(a, b);
}

}  // namespace
