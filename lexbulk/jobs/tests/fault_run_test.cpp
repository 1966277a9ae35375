// The import and the archive load under every fault of their writes: each
// change failed, each write written short and a kill before each change, in
// turn. Afterwards the slot opens and reads, nothing is reported added that
// is not there, and one Undo takes the slot back to exactly what it was
// before the run, the commands before it still undoable. A read of the
// source that fails is reported, never taken for its end.
#include <algorithm>
#include <cstdio>

#include "lexbulk/jobs/archive_jobs.h"
#include "core/files/testing/faulty_file_system.h"
#include "lexbulk/jobs/import_job.h"
#include "jobs_fixture.h"
#include "lexbulk/jobs/load_words.h"

namespace lextest {
namespace {

using lex::testing::FaultCase;
using lex::testing::FileOp;

struct Entry {
    std::string Word, Pronunciation, Translation;
};

class FaultRunTest : public BulkJobTest {
protected:
    // Slot 0 with the fruit and a deleted word; the batch: a new word, a new
    // translation of a word with a pronunciation, a translation that is
    // there already, the deleted word revived and a word after all others.
    const std::vector<Entry> batch = {{"kiwi", "", "kiwi"},
                                      {"apple", "\xe6pl", "jablicko"},
                                      {"banana", "b\xe6n", "ban\xe1n"},
                                      {"date", "", "datle"},
                                      {"zebra", "", "zebra"}};
    std::vector<Bytes> base;
    std::vector<std::string> before, beforeLastCommand, after;
    int lastText = 0;  // the message text of the last run
    int stopped = 0;   // faulty runs that ended failed

    void SetUp() override {
        BulkJobTest::SetUp();
        AddFruit();
        ASSERT_EQ(1, Add("fig", "fikovnik"));
        before = Dump();
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        beforeLastCommand = Dump();
        ASSERT_EQ(1, lex::RedoAction(ctx));
        base = Snapshot();
    }
    void Restore() {
        const auto& s = settings;
        const std::string* paths[] = {&s.CdWordsPaths[0],   &s.CdTranslationsPaths[0], &s.KeyIndexPaths[0],
                                      &s.NodePaths[0],      &s.UserWordsPaths[0],      &s.UserTranslationsPaths[0],
                                      &s.ActionLogPath};
        for (size_t i = 0; i < base.size(); ++i) WriteFileBytes(*paths[i], base[i]);
    }
    // The live translations of a dump: the word count of a slot with no shipped entries.
    static int32_t LiveTranslations(const std::vector<std::string>& dump) {
        int32_t n = 0;
        for (const std::string& line : dump) n += static_cast<int32_t>(std::count(line.begin(), line.end(), '|')) - 1;
        return n;
    }
    bool Holds(const std::vector<std::string>& dump, const Entry& e) {
        for (const std::string& line : dump)
            if (line.rfind(e.Word + "|", 0) == 0 && line.find("|" + e.Translation) != std::string::npos) return true;
        return false;
    }

    // Runs `run` (which gives the entries it reports done) cleanly, then
    // under every fault, checking the slot after each. Gives the number of
    // faulty runs; `changes` and `writes` receive the counts of a clean run.
    int FaultRun(const std::function<int(lex::JobState&)>& run, int& changes, int& writes, bool undoExact) {
        Restore();
        const int changesBefore = files.Changes, writesBefore = files.Writes;
        lex::JobState state;
        EXPECT_EQ(static_cast<int>(batch.size()), run(state));
        EXPECT_EQ(lex::JobState::Done, state);
        changes = files.Changes - changesBefore;
        writes = files.Writes - writesBefore;
        after = Dump();
        for (const Entry& e : batch) EXPECT_TRUE(Holds(after, e)) << e.Word;
        EXPECT_EQ(LiveTranslations(after), WordCount());
        int runs = 0;
        for (const FaultCase& fault : lex::testing::FaultCases(changes, writes)) {
            SCOPED_TRACE(fault.Name());
            Restore();
            fault.Apply(files);
            const int reported = run(state);
            files.ClearFaults();
            ExpectSlotAfter(state, reported, batch, undoExact);
            // Every fault here is a write the system refused: a run it stops
            // says that writing failed, never that the dictionary is damaged.
            if (state == lex::JobState::Failed) {
                EXPECT_EQ(lex::kTextWriteFailed, lastText);
                ++stopped;
            }
            ++runs;
        }
        return runs;
    }

    // `reported`: the number of entries of `done` (in order) the run reported done.
    void ExpectSlotAfter(lex::JobState state, int reported, const std::vector<Entry>& done, bool undoExact = true) {
        EXPECT_EQ(0, files.OpenCount());
        EXPECT_EQ(lex::kNoFile, ctx.LogHandle);
        EXPECT_EQ(0, ctx.ArchiveMode);
        // The slot opens and reads, and once the log is opened again its word
        // count is its live translations.
        const std::vector<std::string> now = Dump();
        for (const std::string& line : now) EXPECT_NE("<error>", line);
        ASSERT_EQ(1, lex::OpenActionLog(ctx));
        lex::CloseActionLog(ctx);
        EXPECT_EQ(LiveTranslations(Dump()), WordCount());
        // What was reported done is there; Done only when all of it is.
        if (state == lex::JobState::Done) {
            EXPECT_EQ(after, now);
        }
        for (int i = 0; i < reported && i < static_cast<int>(done.size()); ++i)
            EXPECT_TRUE(Holds(now, done[i])) << done[i].Word;
        // One Undo takes what the run changed back whole (a record of data that
        // never reached the files needs none), and the command before it stays
        // undoable.
        if (!undoExact) return;
        if (now != before) {
            EXPECT_EQ(1, lex::UndoLastAction(ctx));
        }
        EXPECT_EQ(before, Dump());
        EXPECT_EQ(LiveTranslations(before), WordCount());
        EXPECT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_EQ(beforeLastCommand, Dump());
        EXPECT_EQ(LiveTranslations(beforeLastCommand), WordCount());
    }

    std::string ImportText() const {
        std::string text;
        for (const Entry& e : batch) text += e.Word + "\r\n" + e.Pronunciation + "\r\n" + e.Translation + "\r\n";
        return text;
    }
    std::string ArchiveBytes() const {
        std::string bytes;
        for (const Entry& e : batch) {
            bytes += std::string{0, 1, char(e.Word.size()), char(e.Pronunciation.size())} + e.Word + e.Pronunciation;
            bytes += std::string{1, char(e.Translation.size())} + e.Translation;
        }
        return bytes;
    }
    // The entries an import run reports done: added or already there.
    int RunImport(lex::JobState& state) {
        lexbulk::ImportJob job(ctx, nullptr);
        lexbulk::ImportRequest r;
        r.Path = Path("in.txt");
        job.SetRequest(r);
        state = Run(job);
        lastText = job.MessageText();
        return static_cast<int>(job.Count() + job.Duplicates());
    }
    int RunArchiveLoad(lex::JobState& state) {
        lexbulk::ArchiveLoadJob job(ctx);
        lexbulk::SlotSelection slots{};
        slots[0] = true;
        job.SetRequest(Path("a.ars"), slots);
        state = Run(job);
        lastText = job.MessageText();
        return static_cast<int>(job.Count());
    }
};

// The slot opens and reads after every fault, and what a run reports done is
// there.
TEST_F(FaultRunTest, ImportUnderEveryFault) {
    WriteFileBytes(Path("in.txt"), ImportText());
    int changes = 0, writes = 0;
    const int runs = FaultRun([&](lex::JobState& s) { return RunImport(s); }, changes, writes, false);
    EXPECT_EQ(2 * changes + writes, runs);
    std::printf("fault run, import of %zu entries: %d changes (%d writes), %d runs, %d stopped by the fault\n",
                batch.size(), changes, writes, runs, stopped);
}

TEST_F(FaultRunTest, ArchiveLoadUnderEveryFault) {
    WriteFileBytes(Path("a.ars"), ArchiveBytes());
    int changes = 0, writes = 0;
    const int runs = FaultRun([&](lex::JobState& s) { return RunArchiveLoad(s); }, changes, writes, false);
    EXPECT_EQ(2 * changes + writes, runs);
    std::printf("fault run, archive load of %zu records: %d changes (%d writes), %d runs, %d stopped by the fault\n",
                batch.size(), changes, writes, runs, stopped);
}

// The same runs, and then one Undo gives exactly the slot before the run.
TEST_F(FaultRunTest, ImportUndoIsExactUnderEveryFault) {
    WriteFileBytes(Path("in.txt"), ImportText());
    int changes = 0, writes = 0;
    FaultRun([&](lex::JobState& s) { return RunImport(s); }, changes, writes, true);
}

TEST_F(FaultRunTest, ArchiveLoadUndoIsExactUnderEveryFault) {
    WriteFileBytes(Path("a.ars"), ArchiveBytes());
    int changes = 0, writes = 0;
    FaultRun([&](lex::JobState& s) { return RunArchiveLoad(s); }, changes, writes, true);
}

// Why a change failed decides the message: writing failed (the system
// refused a write), the slot's files are held by another program, or they are
// damaged.
TEST_F(FaultRunTest, FailuresAreToldApart) {
    WriteFileBytes(Path("in.txt"), ImportText());
    WriteFileBytes(Path("a.ars"), ArchiveBytes());
    auto addBothSides = [&](lex::JobState& state) {
        lexbulk::BothSidesEntry e;
        e.Word = "kiwi";
        e.Translations = {"kiwi"};
        lastText = lexbulk::AddBothSides(ctx, 0, e);
        state = lastText == 1 ? lex::JobState::Done : lex::JobState::Failed;
        return lastText == 1 ? 1 : 0;
    };
    struct Job {
        const char* name;
        std::function<int(lex::JobState&)> run;
        int heldText;  // the message when another program holds the slot's files
    } jobs[] = {
        {"import", [&](lex::JobState& s) { return RunImport(s); }, lex::kTextEntryLocked},
        {"archive load", [&](lex::JobState& s) { return RunArchiveLoad(s); }, lex::kTextDataFilesInaccessible},
        {"load words", addBothSides, lex::kTextEntryLocked},
    };
    const std::string nodes = settings.NodePaths[0];
    struct Fault {
        const char* name;
        std::function<void()> apply;
        int text;  // 0: the job's own text for a held file
    } faults[] = {
        {"a full disk", [&] { files.FailWritesTo = "disk"; }, lex::kTextWriteFailed},
        {"writes cut short, then refused",
         [&] {
             files.FailWritesTo = "disk";
             files.ShortWrites = true;
         },
         lex::kTextWriteFailed},
        {"damaged nodes",
         [&] {
             // Every user node overwritten with bytes that name no file offset.
             Bytes b = ReadFileBytes(nodes);
             for (size_t i = 78; i < b.size(); ++i) b[i] = '\xff';
             WriteFileBytes(nodes, b);
         },
         lex::kTextDataFilesCorrupted},
        {"the node file held by another program", [&] { files.FailOpenOf = nodes; }, 0},
    };
    for (const Job& job : jobs) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(job.name) + ", " + fault.name);
            Restore();
            fault.apply();
            lex::JobState state;
            job.run(state);
            files.FailWritesTo.clear();
            files.ShortWrites = false;
            files.FailOpenOf.clear();
            EXPECT_EQ(lex::JobState::Failed, state);
            EXPECT_EQ(fault.text ? fault.text : job.heldText, lastText);
            EXPECT_EQ(0, files.OpenCount());
        }
    }
}

// A source of several chunks with each of its reads failed in turn: the run
// ends with its error message, never as if the file had ended there, and one
// Undo takes back what it added.
TEST_F(FaultRunTest, ReadErrorsOfTheSourceAreReported) {
    std::string text, archive;
    std::vector<Entry> entries;
    for (int i = 0; i < 300; ++i) {
        const std::string word = "w" + std::to_string(1000 + i) + std::string(60, 'x');
        const std::string translation = "t" + std::to_string(1000 + i) + std::string(60, 'y');
        entries.push_back({word, "", translation});
        text += word + "\r\n\r\n" + translation + "\r\n";
        archive += std::string{0, 1, char(word.size()), 0} + word + std::string{1, char(translation.size())} + translation;
    }
    ASSERT_GT(text.size(), 2 * lexbulk::ChunkReader::kChunk);
    WriteFileBytes(Path("in.txt"), text);
    WriteFileBytes(Path("a.ars"), archive);
    struct Case {
        const char* name;
        const char* source;
        std::function<int(lex::JobState&)> run;
    } cases[] = {
        {"import", "in.txt", [&](lex::JobState& s) { return RunImport(s); }},
        {"archive load", "a.ars", [&](lex::JobState& s) { return RunArchiveLoad(s); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restore();
        const int readsBefore = files.Reads;
        lex::JobState state;
        c.run(state);
        ASSERT_EQ(lex::JobState::Done, state);
        // The reads of the whole run, the source's among them: fail each of the source's.
        const int reads = files.Reads - readsBefore;
        int sourceReads = 0;
        for (int k = 1; k <= reads; ++k) {
            Restore();
            files.FailNth(FileOp::Read, k, c.source);
            const int reported = c.run(state);
            files.ClearFaults();
            if (state == lex::JobState::Done) break;  // past the source's last read
            ++sourceReads;
            SCOPED_TRACE("read " + std::to_string(k) + " failed");
            EXPECT_EQ(lex::JobState::Failed, state);
            ExpectSlotAfter(state, reported, entries);
        }
        // Every chunk and the read that finds the end.
        EXPECT_EQ(static_cast<int>(text.size() / lexbulk::ChunkReader::kChunk) + 2, sourceReads);
    }
}

}  // namespace
}  // namespace lextest
