#include <cstdio>

#include "core/files/whole_files.h"
#include "engine_fixture.h"

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::ReadFileBytes;

class ActionLogTest : public lextest::EngineTest {
protected:
    int32_t Count(size_t offset) {
        Bytes log = ReadFileBytes(settings.ActionLogPath);
        return lex::GetI32(reinterpret_cast<const uint8_t*>(log.data()) + offset);
    }
    int32_t RecordsWritten() { return Count(0); }
    int32_t CurrentCount() { return Count(4 + 6); }
};

TEST_F(ActionLogTest, FreshLog) {
    EXPECT_EQ(0, lex::CanUndo(ctx));
    EXPECT_EQ(0, lex::CanRedo(ctx));
    EXPECT_EQ(-1, lex::UndoLastAction(ctx));
    EXPECT_EQ(-1, lex::RedoAction(ctx));
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    EXPECT_EQ(1, ctx.CurrentGroup);
    lex::CloseActionLog(ctx);
    EXPECT_EQ(0, files.OpenCount());
    // A log that does not exist: nothing to undo, and no addition either.
    settings.ActionLogPath = dir.Sub("none.idx");
    EXPECT_EQ(0, lex::CanUndo(ctx));
    EXPECT_EQ(0, lex::CanRedo(ctx));
    EXPECT_EQ(-100, Add("word", "slovo"));
}

TEST_F(ActionLogTest, UndoAndRedoByGroupsAcrossTwoSlots) {
    // One command adds an entry and its reverse entry in the other direction.
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    lex::SetActionSlot(ctx, 0);
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteDenyWrite));
    std::string t1 = "pes", t2 = "dog";
    ASSERT_EQ(1, lex::AddEntry(ctx, "dog", "", t1, 1));
    lex::CloseSlotFiles(ctx);
    lex::SetActionSlot(ctx, 1);
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 1, lex::kOpenWriteDenyWrite));
    ASSERT_EQ(1, lex::AddEntry(ctx, "pes", "", t2, 1));
    lex::CloseSlotFiles(ctx);
    lex::CloseActionLog(ctx);
    // Second command: another translation; third: delete the word.
    ASSERT_EQ(1, Add("dog", "ps\xed"));
    ASSERT_EQ(1, DeleteWord("dog"));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_EQ(5, RecordsWritten());

    EXPECT_EQ(1, lex::CanUndo(ctx));
    EXPECT_EQ(1, lex::UndoLastAction(ctx));  // the deletion: both translations back
    EXPECT_EQ(std::vector<std::string>{"dog||pes|ps\xed"}, Dump(0));
    EXPECT_EQ(2, WordCount(0));
    EXPECT_EQ(1, lex::UndoLastAction(ctx));  // the second translation
    EXPECT_EQ(std::vector<std::string>{"dog||pes"}, Dump(0));
    EXPECT_EQ(1, lex::UndoLastAction(ctx));  // the first command, in both slots
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_TRUE(Dump(1).empty());
    EXPECT_EQ(0, WordCount(0));
    EXPECT_EQ(0, WordCount(1));
    EXPECT_EQ(0, lex::CanUndo(ctx));
    EXPECT_EQ(-1, lex::UndoLastAction(ctx));
    EXPECT_EQ(5, RecordsWritten());

    EXPECT_EQ(1, lex::CanRedo(ctx));
    EXPECT_EQ(1, lex::RedoAction(ctx));
    EXPECT_EQ(std::vector<std::string>{"dog||pes"}, Dump(0));
    EXPECT_EQ(std::vector<std::string>{"pes||dog"}, Dump(1));
    EXPECT_EQ(1, lex::RedoAction(ctx));
    EXPECT_EQ(1, lex::RedoAction(ctx));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_EQ(0, WordCount(0));
    EXPECT_EQ(0, lex::CanRedo(ctx));
    EXPECT_EQ(-1, lex::RedoAction(ctx));
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(ActionLogTest, NewCommandAfterUndoDropsTheRedoTail) {
    ASSERT_EQ(1, Add("one", "jedna"));
    ASSERT_EQ(1, Add("two", "dva"));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(0, CurrentCount());
    ASSERT_EQ(1, Add("three", "t\xf8i"));
    EXPECT_EQ(0, lex::CanRedo(ctx));
    EXPECT_EQ(1, RecordsWritten());
    EXPECT_EQ(1, CurrentCount());
    // The new record took the place of the first one, in group 1 again.
    Bytes log = ReadFileBytes(settings.ActionLogPath);
    EXPECT_EQ(1, lex::GetI32(reinterpret_cast<const uint8_t*>(log.data()) + 18 + 2));
    EXPECT_EQ(std::vector<std::string>{"three||t\xf8i"}, Dump());
}

TEST_F(ActionLogTest, UndoStopsAtTheStartOfTheLog) {
    ASSERT_EQ(1, Add("one", "jedna"));
    // A record whose group matches the state block in front of it.
    lextest::PatchFile(settings.ActionLogPath, 18 + 2, I32(0));
    EXPECT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(0, CurrentCount());
    EXPECT_EQ(0, lex::CanUndo(ctx));
    EXPECT_TRUE(Dump().empty());
}

TEST_F(ActionLogTest, BadSlotInARecordIsAnError) {
    ASSERT_EQ(1, Add("one", "jedna"));
    lextest::PatchFile(settings.ActionLogPath, 18 + 1, Bytes(1, char(20)));
    EXPECT_EQ(-1, lex::UndoLastAction(ctx));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(1, lex::CanUndo(ctx));
    EXPECT_EQ(std::vector<std::string>{"one||jedna"}, Dump());
}

TEST_F(ActionLogTest, NoChangeGoesUnlogged) {
    ASSERT_EQ(1, Add("one", "jedna"));
    ASSERT_EQ(1, Add("one", "jednička"));
    const auto before = Snapshot();

    // Without the log a deletion is refused before anything changes.
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteDenyWrite));
    EXPECT_EQ(-1, lex::DeleteWord(ctx, "one"));
    std::string tr = "jedna";
    EXPECT_EQ(-1, lex::DeleteTranslation(ctx, "one", tr));
    tr = "new";
    EXPECT_EQ(-1, lex::AddEntry(ctx, "one", "", tr, 1));
    lex::CloseSlotFiles(ctx);
    EXPECT_EQ(before, Snapshot());

    // The log cannot take a record: the deletion stops before changing anything.
    files.FailWritesTo = "akce1.idx";
    EXPECT_EQ(-1, DeleteWord("one"));
    EXPECT_EQ(-1, DeleteTranslation("one", "jedna"));
    files.FailWritesTo.clear();
    EXPECT_EQ(before, Snapshot());

    // The data cannot be written after its record: the record is taken back.
    const int32_t written = RecordsWritten();
    files.FailWritesTo = lex::SlotFileNames[lex::kGroupUserTranslations][0];
    EXPECT_EQ(-1, DeleteTranslation("one", "jedna"));
    EXPECT_EQ(-1, Add("two", "dva"));
    EXPECT_EQ(-1, Add("one", "jedni\xe8ka"));
    files.FailWritesTo.clear();
    EXPECT_EQ(written, RecordsWritten());
    EXPECT_EQ(written, CurrentCount());
    EXPECT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(std::vector<std::string>{"one||jedna"}, Dump());
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(ActionLogTest, FailedCopyToDiskWritesNoNode) {
    // A shipped entry whose copy cannot be written: the node stays as it was.
    ASSERT_EQ(1, Add("one", "jedna"));
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteDenyWrite));
    ASSERT_EQ(1, lex::LocateWord(ctx, "one"));
    ctx.Node.Node.Flags = lex::kFlagCd;  // as if it were shipped
    ctx.Node.Node.FirstTranslation = 0;
    ctx.Node.Node.TextOffset = 40;
    files.FailWritesTo = lex::SlotFileNames[lex::kGroupUserWords][0];
    const auto before = Snapshot();
    EXPECT_EQ(-1, lex::MoveNodeToDisk(ctx));
    files.FailWritesTo.clear();
    lex::CloseSlotFiles(ctx);
    EXPECT_EQ(before, Snapshot());

    // A pronunciation that cannot be written fails the addition.
    files.FailWritesTo = lex::SlotFileNames[lex::kGroupUserWords][0];
    EXPECT_EQ(-1, Add("one", "jedna", "wan"));
    files.FailWritesTo.clear();
    EXPECT_EQ(before, Snapshot());
}

}  // namespace

// The word dialogs' command: both sides of a language pair in one group.
TEST_F(ActionLogTest, PairCommandIsOneGroupOverBothSides) {
    std::string t1 = "pes", t2 = "dog";
    auto left = [&] { return lex::AddEntry(ctx, "dog", "", t1, 1); };
    auto right = [&] { return lex::AddEntry(ctx, "pes", "", t2, 1); };
    ASSERT_EQ(1, lex::RunSlotCommand(ctx, {0, left}, {1, right}));
    EXPECT_EQ(std::vector<std::string>{"dog||pes"}, Dump(0));
    EXPECT_EQ(std::vector<std::string>{"pes||dog"}, Dump(1));
    EXPECT_EQ(2, RecordsWritten());
    EXPECT_EQ(0, files.OpenCount());
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_TRUE(Dump(1).empty());
    EXPECT_EQ(0, lex::CanUndo(ctx));
}

TEST_F(ActionLogTest, PairCommandSkipsEmptySidesAndStopsAtAFailure) {
    std::string t1 = "pes", t2 = "dog";
    // Only the right side.
    ASSERT_EQ(1, lex::RunSlotCommand(ctx, {0, {}}, {1, [&] { return lex::AddEntry(ctx, "pes", "", t2, 1); }}));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_EQ(std::vector<std::string>{"pes||dog"}, Dump(1));

    // The second side's files cannot be opened: the first side stays, logged
    // in the same group, and one Undo takes it back.
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    int rightRuns = 0;
    EXPECT_EQ(lex::kCommandNoAccess,
              lex::RunSlotCommand(ctx, {0, [&] { return lex::AddEntry(ctx, "dog", "", t1, 1); }},
                                  {3, [&] { return ++rightRuns; }}));  // slot 3 has no files
    EXPECT_EQ(0, rightRuns);
    EXPECT_EQ(std::vector<std::string>{"dog||pes"}, Dump(0));
    EXPECT_EQ(0, files.OpenCount());
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_TRUE(Dump(0).empty());

    // A failing first side stops the command before the second.
    EXPECT_EQ(-1, lex::RunSlotCommand(ctx, {0, [] { return -1; }}, {1, [&] { return ++rightRuns; }}));
    EXPECT_EQ(0, rightRuns);
    EXPECT_EQ(0, files.OpenCount());

    // The log cannot be opened: nothing runs, nothing is written.
    const auto before = Snapshot(0);
    const std::string log = settings.ActionLogPath;
    settings.ActionLogPath = dir.Sub("no-such-log.idx");
    int runs = 0;
    EXPECT_EQ(lex::kCommandNoAccess, lex::RunSlotCommand(ctx, {0, [&] { return ++runs; }}, {1, [&] { return ++runs; }}));
    settings.ActionLogPath = log;
    EXPECT_EQ(0, runs);
    EXPECT_EQ(before, Snapshot(0));
}

namespace {

// An empty log is made whole or not at all, under every fault of its writes
// (each change failed, each write short, a kill before each change) and a
// close that reports a failure: 1 and the 18-byte empty log, or -1 and the
// log as it was (an emptied one the old log; a new one none there, or a file
// too short to be a log that the next creation replaces).
TEST_F(ActionLogTest, EmptyLogIsWholeOrNotThere) {
    using lex::testing::FaultCase;
    ASSERT_EQ(1, Add("dog", "pes"));
    const Bytes old = ReadFileBytes(settings.ActionLogPath);
    const Bytes empty(18, '\0');
    const std::string path = settings.ActionLogPath;
    struct Mode {
        const char* name;
        lex::LogCreation how;
        bool logThere;
    } modes[] = {{"emptied", lex::LogCreation::Empty, true},
                 {"made where none is", lex::LogCreation::OnlyWhenMissing, false}};
    int cases = 0, held = 0;
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.name);
        auto prepare = [&] {
            std::filesystem::remove(path);
            std::filesystem::remove(lex::TemporaryName(path));
            if (m.logThere) lextest::WriteFileBytes(path, old);
        };
        prepare();
        const int changesBefore = files.Changes, writesBefore = files.Writes;
        ASSERT_EQ(1, lex::CreateActionLog(files, path, m.how));
        EXPECT_EQ(empty, ReadFileBytes(path));
        std::vector<FaultCase> faults =
            lex::testing::FaultCases(files.Changes - changesBefore, files.Writes - writesBefore);
        faults.push_back({FaultCase::kFailed, 0});  // stands for the close that fails
        for (const FaultCase& f : faults) {
            SCOPED_TRACE(f.nth == 0 ? std::string("close failed") : f.Name());
            prepare();
            if (f.nth == 0) {
                files.FailWritesTo = path;
                files.FailClose = true;
            } else {
                f.Apply(files);
            }
            const int r = lex::CreateActionLog(files, path, m.how);
            files.ClearFaults();
            files.FailWritesTo.clear();
            files.FailClose = false;
            ++cases;
            const bool there = std::filesystem::exists(path);
            const Bytes now = there ? ReadFileBytes(path) : Bytes();
            bool ok;
            if (r == 1)
                ok = now == empty;
            else if (m.logThere)
                ok = now == old;
            else
                ok = !there || now.size() < 18;
            EXPECT_TRUE(ok) << "result " << r << ", " << now.size() << " bytes";
            EXPECT_EQ(0, files.OpenCount());
            // A new log is made over what a failed creation left.
            if (!m.logThere && r != 1) {
                EXPECT_EQ(1, lex::CreateActionLog(files, path, m.how));
                EXPECT_EQ(empty, ReadFileBytes(path));
            }
            held += ok;
        }
    }
    std::printf("empty log under every fault: %d cases, %d held\n", cases, held);
    // The engine's own call empties a log.
    lextest::WriteFileBytes(path, old);
    EXPECT_EQ(1, lex::CreateActionLog(ctx, path));
    EXPECT_EQ(empty, ReadFileBytes(path));
    // A whole log is never made again where it is.
    EXPECT_EQ(-1, lex::CreateActionLog(files, path, lex::LogCreation::OnlyWhenMissing));
}

}  // namespace
