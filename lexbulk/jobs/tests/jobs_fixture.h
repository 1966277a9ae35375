// The engine test fixture with helpers to run the bulk jobs to their end.
#pragma once

#include "core/engine/tests/engine_fixture.h"
#include "lexbulk/jobs/bulk_job.h"
#include "core/texts/text_ids.h"

namespace lextest {

class BulkJobTest : public EngineTest {
protected:
    // Runs a job to its end with a zero budget (one unit per step), so that
    // every unit boundary is crossed.
    static lex::JobState Run(lexbulk::BulkJob& job) {
        return lex::RunToEnd(job, lex::SystemClock(), std::chrono::microseconds(0));
    }
    std::string Path(const std::string& name) const { return dir.Sub(name); }
    // Undoes every action of the log.
    int UndoAll() {
        int n = 0;
        while (lex::UndoLastAction(ctx) == 1) ++n;
        return n;
    }
};

}  // namespace lextest
