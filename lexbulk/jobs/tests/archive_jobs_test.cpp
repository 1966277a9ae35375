// Archive save and load steppers: exact bytes, round trips, undo, damaged
// archives and failures.
#include <random>

#include "lexbulk/jobs/archive_jobs.h"
#include "lexbulk/jobs/data_file_init.h"
#include "jobs_fixture.h"

namespace lextest {
namespace {

using lexbulk::ArchiveLoadJob;
using lexbulk::ArchiveSaveJob;
using lexbulk::SlotSelection;

SlotSelection Slots(std::initializer_list<int> list) {
    SlotSelection s{};
    for (int i : list) s[i] = true;
    return s;
}

class ArchiveTest : public BulkJobTest {
protected:
    lex::JobState Save(const SlotSelection& slots, ArchiveSaveJob* out = nullptr) {
        ArchiveSaveJob local(ctx);
        ArchiveSaveJob& job = out ? *out : local;
        job.SetRequest(Path("a.ars"), slots);
        lex::JobState s = Run(job);
        EXPECT_EQ(0, files.OpenCount());
        return s;
    }
    lex::JobState Load(const SlotSelection& slots, ArchiveLoadJob* out = nullptr) {
        ArchiveLoadJob local(ctx);
        ArchiveLoadJob& job = out ? *out : local;
        job.SetRequest(Path("a.ars"), slots);
        lex::JobState s = Run(job);
        EXPECT_EQ(0, files.OpenCount());
        EXPECT_EQ(0, ctx.ArchiveMode);
        return s;
    }
    static std::string Record(uint8_t slot, uint8_t nodeFlags, const std::string& w, const std::string& p,
                              uint8_t trFlags, const std::string& t) {
        std::string r{char(slot), char(nodeFlags), char(w.size()), char(p.size())};
        return r + w + p + std::string{char(trFlags), char(t.size())} + t;
    }
};

TEST_F(ArchiveTest, SavesExactBytesWithDeletedTranslationsInChainOrder) {
    ASSERT_EQ(1, Add("tea", "caj", "ti:"));
    ASSERT_EQ(1, Add("tea", "odvar", "ti:"));
    ASSERT_EQ(1, DeleteTranslation("tea", "odvar"));
    ASSERT_EQ(1, Add("sun", "slunce", "", 1));
    ArchiveSaveJob job(ctx);
    ASSERT_EQ(lex::JobState::Done, Save(Slots({0, 1}), &job));
    EXPECT_EQ(lex::kTextArchiveDone, job.MessageText());
    EXPECT_EQ(3, job.Count());
    const std::string expected = Record(0, 1, "tea", "ti:", 1, "caj") + Record(0, 1, "tea", "ti:", 0x81, "odvar") +
                                 Record(1, 1, "sun", "", 1, "slunce");
    EXPECT_EQ(expected, ReadFileBytes(Path("a.ars")));
    EXPECT_FALSE(std::filesystem::exists(Path("a.ars.tmp")));
}

TEST_F(ArchiveTest, SaveInitialiseLoadGivesTheSameSlotsAndOneUndoRevertsTheLoad) {
    AddFruit();
    ASSERT_EQ(1, Add("sun", "slunce", "", 1));
    const auto slot0 = Dump(0), slot1 = Dump(1);
    const int32_t words0 = WordCount(0);
    ASSERT_EQ(lex::JobState::Done, Save(Slots({0, 1})));
    ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
    ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 1));
    ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
    const auto empty0 = Dump(0);
    ArchiveLoadJob job(ctx);
    ASSERT_EQ(lex::JobState::Done, Load(Slots({0, 1}), &job));
    EXPECT_EQ(lex::kTextArchiveLoadDone, job.MessageText());
    EXPECT_EQ(slot0, Dump(0));
    EXPECT_EQ(slot1, Dump(1));
    EXPECT_EQ(words0, WordCount(0));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(empty0, Dump(0));
    EXPECT_TRUE(Dump(1).empty());
    EXPECT_NE(1, lex::UndoLastAction(ctx));
}

TEST_F(ArchiveTest, LoadSkipsUnselectedSlotsAndOlderVariantMarksTranslations) {
    std::string older(100, '\0');
    auto olderRecord = [](uint8_t slot, const std::string& w, const std::string& t) {
        return std::string{char(slot), 1, char(w.size()), 0} + w + std::string{1, 0, char(t.size())} + t;
    };
    older += olderRecord(0, "old", "stary") + olderRecord(1, "skip", "me") + olderRecord(25, "x", "y");
    WriteFileBytes(Path("a.ars"), older);
    ArchiveLoadJob job(ctx);
    ASSERT_EQ(lex::JobState::Done, Load(Slots({0}), &job));
    EXPECT_EQ(1, job.Count());
    EXPECT_EQ((std::vector<std::string>{"old||stary"}), Dump(0));
    EXPECT_TRUE(Dump(1).empty());
    // A translation replayed from an older archive is not archived again.
    ASSERT_EQ(lex::JobState::Done, Save(Slots({0})));
    EXPECT_EQ("", ReadFileBytes(Path("a.ars")));
}

TEST_F(ArchiveTest, DamagedArchivesApplyOnlyWholeSoundRecords) {
    const std::string good = Record(0, 1, "good", "", 1, "dobry");
    const std::string tooLong = Record(0, 1, std::string(254, 'w'), "", 1, "t");
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> dump;
        int text;
    } cases[] = {
        {"sound", good, {"good||dobry"}, lex::kTextArchiveLoadDone},
        {"zero bytes", "", {}, lex::kTextArchiveLoadDone},
        {"empty word", Record(0, 1, "", "", 1, "x") + good, {"good||dobry"}, lex::kTextArchiveDamaged},
        {"empty translation", good + Record(0, 1, "w", "", 1, ""), {"good||dobry"}, lex::kTextArchiveDamaged},
        {"word over 253", tooLong + good, {"good||dobry"}, lex::kTextArchiveDamaged},
        {"truncated tail", good + Record(0, 1, "tail", "", 1, "ocas").substr(0, 9), {"good||dobry"},
         lex::kTextArchiveDamaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
        WriteFileBytes(Path("a.ars"), c.bytes);
        ArchiveLoadJob job(ctx);
        EXPECT_EQ(lex::JobState::Done, Load(Slots({0}), &job));
        EXPECT_EQ(c.text, job.MessageText());
        EXPECT_EQ(c.dump, Dump(0));
    }
}

// A record whose word begins with the grammar separator is passed over: the
// engine stores nothing for it, so it is neither counted nor shown; a grammar
// note as a translation is replayed as it was stored.
TEST_F(ArchiveTest, LoadPassesOverGrammarNoteWords) {
    WriteFileBytes(Path("a.ars"), Record(0, 1, "abc", "", 1, "\x1fn. noun") + Record(0, 1, "good", "", 1, "dobry") +
                                      Record(0, 1, ".n.abc", "", 1, "foo"));
    ArchiveLoadJob job(ctx);
    ASSERT_EQ(lex::JobState::Done, Load(Slots({0}), &job));
    EXPECT_EQ(lex::kTextArchiveLoadDone, job.MessageText());
    EXPECT_EQ(2, job.Count());
    EXPECT_EQ("good", job.LastWord());
    EXPECT_EQ((std::vector<std::string>{"abc||.n. noun", "good||dobry"}), Dump(0));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_NE(1, lex::UndoLastAction(ctx));
}

TEST_F(ArchiveTest, LoadFailures) {
    WriteFileBytes(Path("a.ars"), Record(0, 1, "good", "", 1, "dobry"));
    const auto before = Snapshot();
    // The log cannot be opened for writing: nothing applied.
    const std::string log = settings.ActionLogPath;
    settings.ActionLogPath = Path("missing/akce1.idx");
    ArchiveLoadJob job(ctx);
    EXPECT_EQ(lex::JobState::Failed, Load(Slots({0}), &job));
    EXPECT_EQ(lex::kTextEntryLocked, job.MessageText());
    settings.ActionLogPath = log;
    EXPECT_EQ(before, Snapshot());
    // A missing archive.
    job.SetRequest(Path("none.ars"), Slots({0}));
    EXPECT_EQ(lex::JobState::Failed, Run(job));
    EXPECT_EQ(lex::kTextCannotOpenLoadFile, job.MessageText());
    // A write the system refuses stops the run with the write-failure message
    // (not the corrupt-files one); what was applied before stays.
    WriteFileBytes(Path("a.ars"), Record(0, 1, "first", "", 1, "prvni") + Record(0, 1, "second", "", 1, "druhy"));
    files.FailWritesTo = "disk";
    files.FailAfterWrites = 4;
    ArchiveLoadJob failing(ctx);
    EXPECT_EQ(lex::JobState::Failed, Load(Slots({0}), &failing));
    EXPECT_EQ(lex::kTextWriteFailed, failing.MessageText());
    files.FailWritesTo.clear();
}

TEST_F(ArchiveTest, SaveFailuresLeaveTheTargetAsItWas) {
    ASSERT_EQ(1, Add("tea", "caj"));
    WriteFileBytes(Path("a.ars"), "previous");
    // No slot chosen: no file is touched.
    ArchiveSaveJob job(ctx);
    EXPECT_EQ(lex::JobState::Failed, Save(SlotSelection{}, &job));
    EXPECT_EQ("previous", ReadFileBytes(Path("a.ars")));
    // A failing write: reported as such (the file was opened), the old archive
    // stays, no temporary file is left.
    files.FailWritesTo = "a.ars";
    ArchiveSaveJob failing(ctx);
    EXPECT_EQ(lex::JobState::Failed, Save(Slots({0}), &failing));
    EXPECT_EQ(lex::kTextWriteFailed, failing.MessageText());
    EXPECT_EQ(lex::kTextBulkWarningCaption, failing.MessageCaption());
    EXPECT_EQ("previous", ReadFileBytes(Path("a.ars")));
    EXPECT_FALSE(std::filesystem::exists(Path("a.ars.tmp")));
    files.FailWritesTo.clear();
    // Cancelled half-way: the old archive stays.
    ArchiveSaveJob cancelled(ctx);
    cancelled.SetRequest(Path("a.ars"), Slots({0}));
    ASSERT_TRUE(cancelled.Start());
    cancelled.Step(lex::SystemClock(), std::chrono::microseconds(0));
    cancelled.Cancel();
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ("previous", ReadFileBytes(Path("a.ars")));
}

// Random archives: the reader and the load never crash (sanitizers) and
// leave every file closed.
TEST_F(ArchiveTest, FuzzedArchivesLoadSafely) {
    std::mt19937 random(7);
    const std::string good = Record(0, 1, "w", "p", 1, "t") + Record(1, 0x81, "u", "", 0x81, "v");
    for (int round = 0; round < 60; ++round) {
        std::string bytes = good + good;
        for (int k = 0; k < 4; ++k) bytes[random() % bytes.size()] = static_cast<char>(random());
        bytes.resize(random() % (bytes.size() + 1));
        WriteFileBytes(Path("a.ars"), bytes);
        ArchiveLoadJob job(ctx);
        const lex::JobState s = Load(Slots({0, 1}), &job);
        EXPECT_TRUE(s == lex::JobState::Done || s == lex::JobState::Failed);
    }
}

}  // namespace
}  // namespace lextest
