// Commands stopped half-way (a crash, a kill, a full disk): the action log
// forgets the record of data that never reached the files, so Undo of
// everything before it still works.
#include "engine_fixture.h"
#include "tools/slotgen/generated_slot.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::ReadFileBytes;
using lextest::WriteFileBytes;

class InterruptedTest : public lextest::EngineTest {
protected:
    void Restore(const std::vector<Bytes>& snapshot) {
        const auto& s = settings;
        const std::string* paths[] = {&s.CdWordsPaths[0],   &s.CdTranslationsPaths[0], &s.KeyIndexPaths[0],
                                      &s.NodePaths[0],      &s.UserWordsPaths[0],      &s.UserTranslationsPaths[0],
                                      &s.ActionLogPath};
        for (size_t i = 0; i < snapshot.size(); ++i) WriteFileBytes(*paths[i], snapshot[i]);
    }
    int64_t SizeOf(const std::string& path) { return static_cast<int64_t>(ReadFileBytes(path).size()); }
};

// The record appended last names data the files do not hold (all of it, or
// a part): it is dropped, and Undo and Redo go on with the commands before it.
TEST_F(InterruptedTest, TrailingRecordWithoutDataIsDropped) {
    ASSERT_EQ(1, Add("apple", "jablko"));
    ASSERT_EQ(1, Add("banana", "ban\xe1n"));
    const int32_t apple = 78;  // the first node after the two sentinels
    const std::vector<Bytes> base = Snapshot();
    const int32_t nodeEnd = static_cast<int32_t>(SizeOf(settings.NodePaths[0]));
    const int32_t trEnd = static_cast<int32_t>(SizeOf(settings.UserTranslationsPaths[0]));
    const Bytes head = I32(0) + lextest::Two(1, 6);
    struct Case {
        const char* name;
        int32_t node, translation;
        Bytes writtenTranslation;  // what reached the user translations file
    };
    const Case cases[] = {
        {"new word, nothing written", nodeEnd, trEnd, ""},
        {"new word, its node not written", nodeEnd, trEnd, head + "hruska"},
        {"new translation not written", apple, trEnd, ""},
        {"translation head cut", apple, trEnd, head.substr(0, 3)},
        {"translation text cut", apple, trEnd, head + "hr"},
        {"offsets inside the headers", 20, 30, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restore(base);
        ASSERT_EQ(1, lex::OpenActionLog(ctx));
        lex::SetActionSlot(ctx, 0);
        ASSERT_EQ(1, lex::AppendActionRecord(ctx, lex::kActionAdded, c.node, c.translation));
        lex::CloseActionLog(ctx);
        lextest::PatchFile(settings.UserTranslationsPaths[0], static_cast<size_t>(trEnd), c.writtenTranslation);

        EXPECT_EQ(1, lex::CanUndo(ctx));
        EXPECT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_EQ(std::vector<std::string>{"apple||jablko"}, Dump());
        EXPECT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_EQ(std::vector<std::string>{}, Dump());
        EXPECT_EQ(-1, lex::UndoLastAction(ctx));
        EXPECT_EQ(1, lex::RedoAction(ctx));
        EXPECT_EQ(1, lex::RedoAction(ctx));
        EXPECT_EQ(-1, lex::RedoAction(ctx));
        EXPECT_EQ((std::vector<std::string>{"apple||jablko", "banana||ban\xe1n"}), Dump());
        EXPECT_EQ(0, files.OpenCount());
    }

    // Opening the log for the next command mends it there already.
    Restore(base);
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    lex::SetActionSlot(ctx, 0);
    ASSERT_EQ(1, lex::AppendActionRecord(ctx, lex::kActionAdded, nodeEnd, trEnd));
    lex::CloseActionLog(ctx);
    ASSERT_EQ(1, Add("cherry", "tresen"));
    EXPECT_EQ(Bytes(I32(3)), ReadFileBytes(settings.ActionLogPath).substr(0, 4));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(std::vector<std::string>{}, Dump());
}

// The next group number of a damaged log is never wrapped around.
TEST_F(InterruptedTest, GroupNumberThatCannotBeFollowedIsRefused) {
    ASSERT_EQ(1, Add("apple", "jablko"));
    const size_t groupAt = lex::kLogFirstRecord + 2;
    lextest::PatchFile(settings.ActionLogPath, groupAt, I32(0x7FFFFFFE));
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    EXPECT_EQ(0x7FFFFFFF, ctx.CurrentGroup);
    lex::CloseActionLog(ctx);

    lextest::PatchFile(settings.ActionLogPath, groupAt, I32(0x7FFFFFFF));
    const std::vector<Bytes> before = Snapshot();
    EXPECT_EQ(-1, lex::OpenActionLog(ctx));
    EXPECT_EQ(lex::kNoFile, ctx.LogHandle);
    EXPECT_EQ(lex::kCommandNoAccess, Add("banana", "ban\xe1n"));
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ(0, files.OpenCount());
}

#ifndef _WIN32
// A batch of adds (each its own command, as a bulk job runs them) in a child
// process that is killed part-way: with SIGKILL before each write in turn,
// and by a file size limit. Undo then reverts what the batch did, entry by
// entry, back to the state before it.
class InterruptedBatchTest : public InterruptedTest {
protected:
    struct Entry {
        std::string Word, Translation, Pronunciation;  // the pronunciation an existing entry has
    };
    std::vector<Entry> batch;
    std::vector<Bytes> base;
    std::vector<size_t> limits;
    std::vector<std::vector<std::string>> stateAfter;  // [i]: after i entries
    std::vector<int32_t> countAfter;                   // [i]: the word count after i entries
    int batchWrites = 0;

    void SetUp() override {
        InterruptedTest::SetUp();
        std::vector<lex::GeneratedEntry> shipped = lex::GenerateEntries(60, 9);
        ASSERT_EQ(1, lex::WriteShippedSlot(ctx, 0, shipped));
        AddFruit();
        ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
        // New words (new keys and known ones), translations for existing
        // words, a shipped one (copied to the Disk files first) and a
        // deleted one (revived).
        batch = {{"kiwi", "kiwi", ""},
                 {"apple", "jablicko", "\xe6pl"},
                 {shipped[3].Word, "navic", shipped[3].Pronunciation},
                 {"date", "datle", ""},
                 {"applesauce", "jablecna", ""},
                 {"aardvark", "hrabac", ""},
                 {"fig", "fikovnik", "   "},
                 {shipped[10].Word, "jeste", shipped[10].Pronunciation},
                 {"zebra", "zebra", ""}};
        base = Snapshot();
        stateAfter.push_back(Dump());
        countAfter.push_back(WordCount());
        const int writes = files.Writes;
        for (const Entry& e : batch) {
            ASSERT_EQ(1, Add(e.Word, e.Translation, e.Pronunciation));
            stateAfter.push_back(Dump());
            countAfter.push_back(WordCount());
        }
        batchWrites = files.Writes - writes;
        // The sizes the written files grow through during the batch.
        const std::vector<Bytes> end = Snapshot();
        for (size_t i = 2; i < 6; ++i)
            for (size_t size = base[i].size(); size <= end[i].size(); size += 3) limits.push_back(size);
        Restore(base);
    }

    // Runs the batch in a child process after `prepare`; the child stops at
    // the first command that fails. Gives the commands it finished.
    int RunBatchInChild(const std::function<void()>& prepare, int& status) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return -1;
        const pid_t pid = fork();
        if (pid == 0) {
            close(pipeFds[0]);
            prepare();
            for (const Entry& e : batch) {
                if (Add(e.Word, e.Translation, e.Pronunciation) != 1) _exit(3);
                const char done = 1;
                if (write(pipeFds[1], &done, 1) != 1) _exit(4);
            }
            _exit(0);
        }
        close(pipeFds[1]);
        int finished = 0;
        char c;
        while (read(pipeFds[0], &c, 1) == 1) ++finished;
        close(pipeFds[0]);
        waitpid(pid, &status, 0);
        return finished;
    }

    // Undo, step by step, gives the state before each entry the batch
    // finished (and first takes back the one it was in, if that got written).
    void ExpectUndoBackToStart(int finished) {
        std::vector<std::vector<std::string>> seen;
        std::vector<int32_t> counts;
        while (seen.size() <= batch.size() + 1 && lex::UndoLastAction(ctx) == 1) {
            seen.push_back(Dump());
            counts.push_back(WordCount());
        }
        const int undos = static_cast<int>(seen.size());
        ASSERT_GE(undos, finished);
        ASSERT_LE(undos, std::min<int>(finished + 1, static_cast<int>(batch.size())));
        for (int j = 0; j < undos; ++j) {
            EXPECT_EQ(stateAfter[undos - 1 - j], seen[j]) << "undo " << j + 1;
            EXPECT_EQ(countAfter[undos - 1 - j], counts[j]) << "undo " << j + 1;
        }
        EXPECT_EQ(0, lex::CanUndo(ctx));
        EXPECT_EQ(0, files.OpenCount());
        // The next command works and is undone in its turn.
        ASSERT_EQ(1, Add("kiwi", "kiwi"));
        EXPECT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_EQ(stateAfter[0], Dump());
    }
};

TEST_F(InterruptedBatchTest, KilledBeforeAnyWrite) {
    ASSERT_GT(batchWrites, 50);
    for (int k = 1; k <= batchWrites; ++k) {
        SCOPED_TRACE("killed before write " + std::to_string(k));
        Restore(base);
        int status = 0;
        const int finished = RunBatchInChild(
            [&] {
                files.BeforeWrite = [writes = 0, k](const std::string&) mutable {
                    if (++writes == k) raise(SIGKILL);
                };
            },
            status);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ExpectUndoBackToStart(finished);
    }
}

TEST_F(InterruptedBatchTest, StoppedByAFileSizeLimit) {
    int stopped = 0;
    for (size_t limit : limits) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        Restore(base);
        int status = 0;
        const int finished = RunBatchInChild(
            [limit] {
                const rlimit r{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
                setrlimit(RLIMIT_FSIZE, &r);
            },
            status);
        if (finished < static_cast<int>(batch.size())) ++stopped;
        ExpectUndoBackToStart(finished);
    }
    EXPECT_GT(stopped * 2, static_cast<int>(limits.size()));
}
#endif

}  // namespace
