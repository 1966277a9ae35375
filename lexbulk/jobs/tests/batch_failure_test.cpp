// A batch of adds (archive load, import, load words) stops at the first add
// that fails: nothing after it is applied, even when the next write would
// succeed again, the files and the log are closed, and one Undo takes back
// what was applied before it.
#include "lexbulk/jobs/archive_jobs.h"
#include "lexbulk/jobs/import_job.h"
#include "jobs_fixture.h"
#include "lexbulk/jobs/load_words.h"

namespace lextest {
namespace {

class BatchFailureTest : public BulkJobTest {
protected:
    // Fails the `nth` write to slot 0's node file, once: the write after it works again.
    void FailOneNodeWrite(int nth) {
        files.BeforeWrite = [this, nth, seen = 0](const std::string& path) mutable {
            files.FailWritesTo.clear();
            if (path == settings.NodePaths[0] && ++seen == nth) files.FailWritesTo = path;
        };
    }
};

TEST_F(BatchFailureTest, StopsAtTheFirstFailedAdd) {
    // Each new word writes the node file four times (its node, both
    // neighbours, its node again to show it): the fifth write belongs to the
    // second add.
    auto record = [](const std::string& w, const std::string& t) {
        return std::string{0, 1, char(w.size()), 0} + w + std::string{1, char(t.size())} + t;
    };
    struct Case {
        const char* name;
        std::function<int()> run;  // the message text id the batch ended with
    } cases[] = {
        {"archive load",
         [&] {
             WriteFileBytes(Path("a.ars"), record("first", "prvni") + record("second", "druhy") +
                                               record("third", "treti"));
             lexbulk::ArchiveLoadJob job(ctx);
             lexbulk::SlotSelection slots{};
             slots[0] = true;
             job.SetRequest(Path("a.ars"), slots);
             EXPECT_EQ(lex::JobState::Failed, Run(job));
             return job.MessageText();
         }},
        {"import",
         [&] {
             WriteFileBytes(Path("in.txt"), "first\r\n\r\nprvni\r\nsecond\r\n\r\ndruhy\r\nthird\r\n\r\ntreti\r\n");
             lexbulk::ImportJob job(ctx, nullptr);
             lexbulk::ImportRequest r;
             r.Path = Path("in.txt");
             job.SetRequest(r);
             EXPECT_EQ(lex::JobState::Failed, Run(job));
             return job.MessageText();
         }},
        {"load words",
         [&] {
             lexbulk::BothSidesEntry e;
             e.Word = "first";
             // The second translation of the same word writes the node once (the fifth write).
             e.Translations = {"prvni", "druhy", "treti"};
             e.ReverseWords = {"prvni"};
             e.ReverseTranslation = "first";
             return lexbulk::AddBothSides(ctx, 0, e);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 1));
        ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
        FailOneNodeWrite(5);
        EXPECT_EQ(lex::kTextWriteFailed, c.run());
        files.BeforeWrite = nullptr;
        files.FailWritesTo.clear();
        EXPECT_EQ((std::vector<std::string>{"first||prvni"}), Dump(0));
        EXPECT_TRUE(Dump(1).empty());  // no later side either
        EXPECT_EQ(lex::kNoFile, ctx.LogHandle);
        EXPECT_EQ(0, files.OpenCount());
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_TRUE(Dump(0).empty());
    }
}

}  // namespace
}  // namespace lextest
