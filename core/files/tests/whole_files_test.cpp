// The file layer's whole-file operations against real files in a temporary
// folder, with every change of a write failed, written short and killed in
// turn through the counting and failing file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>

#include "core/files/testing/faulty_file_system.h"
#include "core/files/testing/test_files.h"
#include "core/files/whole_files.h"

namespace {

using lex::ReadOutcome;
using lex::WriteOutcome;
using lex::testing::FaultCase;
using lex::testing::FaultyFileSystem;
using lex::testing::FileOp;

const std::string kNone = "<none>";

std::string Bytes(const std::string& path) {
    return lex::testing::FileExists(path) ? lex::testing::ReadFileBytes(path) : kNone;
}

void Put(const std::string& path, const std::string& bytes) { lex::testing::WriteFileBytes(path, bytes); }

class WholeFilesTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Sub(name); }
    // The names in the folder, sorted.
    std::vector<std::string> Names() const { return dir_.Names(); }
    void Clear() {
        for (const std::string& name : Names()) std::filesystem::remove(Path(name));
    }

    // Runs `write` cleanly to count its changes and writes, then once for
    // every fault of a fault run, each time from the files `prepare` makes,
    // and lets `check` judge the files. Gives the number of faulty runs.
    int FaultRun(const std::function<void()>& prepare, const std::function<WriteOutcome(FaultyFileSystem&)>& write,
                 const std::function<void(const FaultCase&, WriteOutcome)>& check) {
        FaultyFileSystem clean;
        prepare();
        EXPECT_EQ(WriteOutcome::Done, write(clean));
        int runs = 0;
        for (const FaultCase& fault : lex::testing::FaultCases(clean.Changes, clean.Writes)) {
            SCOPED_TRACE(fault.Name());
            prepare();
            FaultyFileSystem files;
            fault.Apply(files);
            const WriteOutcome outcome = write(files);
            EXPECT_EQ(0, files.OpenCount());
            check(fault, outcome);
            ++runs;
        }
        return runs;
    }

    lex::testing::TempFolder dir_{"lexfiles-test-"};
};

TEST_F(WholeFilesTest, ReadOutcomes) {
    Put(Path("f"), "0123456789");
    struct Case {
        const char* name;
        std::function<ReadOutcome(FaultyFileSystem&, std::string&)> read;
        ReadOutcome outcome;
        std::string bytes;  // what the buffer holds afterwards (it starts as "old")
    } cases[] = {
        {"whole", [&](FaultyFileSystem& f, std::string& b) { return lex::ReadWholeFile(f, Path("f"), b); },
         ReadOutcome::Whole, "0123456789"},
        {"missing", [&](FaultyFileSystem& f, std::string& b) { return lex::ReadWholeFile(f, Path("g"), b); },
         ReadOutcome::Missing, "old"},
        {"held by another program",
         [&](FaultyFileSystem& f, std::string& b) {
             f.FailOpenOf = "f";
             return lex::ReadWholeFile(f, Path("f"), b);
         },
         ReadOutcome::NotOpened, "old"},
        {"a read fails",
         [&](FaultyFileSystem& f, std::string& b) {
             f.FailNth(FileOp::Read, 1);
             return lex::ReadWholeFile(f, Path("f"), b);
         },
         ReadOutcome::ReadError, "old"},
        {"start of a file", [&](FaultyFileSystem& f, std::string& b) { return lex::ReadFileStart(f, Path("f"), 4, b); },
         ReadOutcome::Whole, "0123"},
        {"start of a short file",
         [&](FaultyFileSystem& f, std::string& b) { return lex::ReadFileStart(f, Path("f"), 11, b); },
         ReadOutcome::Short, "old"},
        {"empty file",
         [&](FaultyFileSystem& f, std::string& b) {
             Put(Path("e"), "");
             return lex::ReadWholeFile(f, Path("e"), b);
         },
         ReadOutcome::Whole, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultyFileSystem files;
        std::string bytes = "old";
        EXPECT_EQ(c.outcome, c.read(files, bytes));
        EXPECT_EQ(c.bytes, bytes);
        EXPECT_EQ(0, files.OpenCount());
    }
}

// A replacing write leaves the old file or the whole new one, and says Done
// only for the new one; a failed write leaves no temporary file.
TEST_F(WholeFilesTest, ReplacingWriteUnderEveryFault) {
    for (const bool hadOld : {true, false}) {
        SCOPED_TRACE(hadOld ? "replacing a file" : "a new file");
        const std::string old = hadOld ? "old contents" : kNone;
        const int runs = FaultRun(
            [&] {
                Clear();
                if (hadOld) Put(Path("t"), old);
            },
            [&](FaultyFileSystem& f) { return lex::WriteFileReplacing(f, Path("t"), "new contents, longer"); },
            [&](const FaultCase& fault, WriteOutcome outcome) {
                const std::string now = Bytes(Path("t"));
                EXPECT_TRUE(now == old || now == "new contents, longer") << now;
                EXPECT_EQ(outcome == WriteOutcome::Done, now != old);
                if (fault.kind != FaultCase::kKilled) {
                    EXPECT_NE(WriteOutcome::Done, outcome);
                    EXPECT_EQ(Bytes(Path("t.tmp")), kNone);
                }
            });
        EXPECT_EQ(runs, 3 + 1 + 3);  // create, write, replace; one write
    }
}

// The pair save replaces both files or neither under every failure, puts an
// old first file back when the second cannot follow, and leaves no temporary
// or backup file; killed, it never leaves the second new beside the first old.
TEST_F(WholeFilesTest, PairSaveUnderEveryFault) {
    struct Case {
        const char* name;
        std::string first, second;  // the old files (kNone: none)
        int runs;
    } cases[] = {
        {"both there", "old first", "old second", 12 + 4 + 12},
        {"neither there", kNone, kNone, 9 + 3 + 9},
        {"only the second there", kNone, "old second", 9 + 3 + 9},
    };
    const lex::FileContents first{Path("a.ini"), "new first"}, second{Path("a.tsb"), "new second"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int runs = FaultRun(
            [&] {
                Clear();
                if (c.first != kNone) Put(first.Path, c.first);
                if (c.second != kNone) Put(second.Path, c.second);
            },
            [&](FaultyFileSystem& f) { return lex::SaveFilePair(f, first, second); },
            [&](const FaultCase& fault, WriteOutcome outcome) {
                const std::string a = Bytes(first.Path), b = Bytes(second.Path);
                EXPECT_TRUE(a == c.first || a == first.Bytes) << a;
                EXPECT_TRUE(b == c.second || b == second.Bytes) << b;
                EXPECT_EQ(outcome == WriteOutcome::Done, b == second.Bytes);
                if (fault.kind == FaultCase::kKilled) {
                    EXPECT_FALSE(a == c.first && b == second.Bytes && c.first != first.Bytes);
                } else if (outcome == WriteOutcome::Done) {
                    EXPECT_EQ(first.Bytes, a);  // only the removal of the backup failed
                } else {
                    EXPECT_EQ(c.first, a);  // both old, nothing left beside them
                    EXPECT_EQ(c.second, b);
                    std::vector<std::string> left;
                    if (c.first != kNone) left.push_back("a.ini");
                    if (c.second != kNone) left.push_back("a.tsb");
                    EXPECT_EQ(left, Names());
                }
            });
        EXPECT_EQ(c.runs, runs);
    }
}

// A pair save stopped at any change (failed, written short, killed) and then
// finished by FinishInterruptedPairSave, as the next load or save does: the
// pair is both old or both new (both new whenever Done was said), and nothing
// is left beside it. A second finish changes nothing.
TEST_F(WholeFilesTest, StoppedPairSaveIsFinishedBothOldOrBothNew) {
    struct Case {
        const char* name;
        std::string first, second;  // the old files (kNone: none)
    } cases[] = {
        {"both there", "old first", "old second"},
        {"neither there", kNone, kNone},
        {"only the second there", kNone, "old second"},
        {"only the first there", "old first", kNone},
    };
    const lex::FileContents first{Path("a.ini"), "new first"}, second{Path("a.tsb"), "new second"};
    int total = 0, killedBetween = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> pair;
        if (c.first != kNone) pair.push_back("a.ini");
        if (c.second != kNone) pair.push_back("a.tsb");
        total += FaultRun(
            [&] {
                Clear();
                if (c.first != kNone) Put(first.Path, c.first);
                if (c.second != kNone) Put(second.Path, c.second);
            },
            [&](FaultyFileSystem& f) { return lex::SaveFilePair(f, first, second); },
            [&](const FaultCase&, WriteOutcome outcome) {
                if (Bytes(first.Path) == first.Bytes && Bytes(second.Path) != second.Bytes) ++killedBetween;
                FaultyFileSystem later;
                EXPECT_TRUE(lex::FinishInterruptedPairSave(later, first.Path, second.Path));
                const std::string a = Bytes(first.Path), b = Bytes(second.Path);
                const bool bothNew = a == first.Bytes && b == second.Bytes;
                EXPECT_TRUE(bothNew || (a == c.first && b == c.second)) << a << " / " << b;
                if (outcome == WriteOutcome::Done) {
                    EXPECT_TRUE(bothNew);
                }
                const std::vector<std::string> both{"a.ini", "a.tsb"};
                EXPECT_EQ(bothNew ? both : pair, Names());
                const int changes = later.Changes;
                EXPECT_TRUE(lex::FinishInterruptedPairSave(later, first.Path, second.Path));
                EXPECT_EQ(changes, later.Changes);
                EXPECT_EQ(0, later.OpenCount());
            });
    }
    EXPECT_EQ(28 + 21 + 21 + 28, total);
    EXPECT_GT(killedBetween, 0);  // some runs stopped with the first new and the second old
}

// The recovery itself stopped at any change, after a save killed with the
// first new and the second old: finished again, the pair is whole.
TEST_F(WholeFilesTest, StoppedRecoveryIsFinishedByTheNextOne) {
    const lex::FileContents first{Path("a.ini"), "new first"}, second{Path("a.tsb"), "new second"};
    auto killedBetween = [&] {
        Clear();
        Put(first.Path, "old first");
        Put(second.Path, "old second");
        FaultyFileSystem f;
        f.FailReplaceOf = "a.tsb";  // the second stays old...
        f.FailNth(FileOp::Replace, 3);  // ...and the first cannot be put back
        EXPECT_EQ(WriteOutcome::HalfReplaced, lex::SaveFilePair(f, first, second));
        EXPECT_EQ(first.Bytes, Bytes(first.Path));
    };
    killedBetween();
    FaultyFileSystem clean;
    const int before = clean.Changes;
    ASSERT_TRUE(lex::FinishInterruptedPairSave(clean, first.Path, second.Path));
    const int changes = clean.Changes - before;
    EXPECT_EQ("old first", Bytes(first.Path));
    for (const FaultCase& fault : lex::testing::FaultCases(changes, 0)) {
        SCOPED_TRACE(fault.Name());
        killedBetween();
        FaultyFileSystem f;
        fault.Apply(f);
        lex::FinishInterruptedPairSave(f, first.Path, second.Path);
        EXPECT_NE(second.Bytes, Bytes(second.Path));
        FaultyFileSystem later;
        EXPECT_TRUE(lex::FinishInterruptedPairSave(later, first.Path, second.Path));
        EXPECT_EQ("old first", Bytes(first.Path));
        EXPECT_EQ("old second", Bytes(second.Path));
        EXPECT_EQ((std::vector<std::string>{"a.ini", "a.tsb"}), Names());
    }
}

// A first file that is there but cannot be read cannot be kept as a backup:
// the save is refused and both files stay, whatever the second does.
TEST_F(WholeFilesTest, PairSaveKeepsAFirstFileItCannotRead) {
    const lex::FileContents first{Path("a.ini"), "new first"}, second{Path("a.tsb"), "new second"};
    for (const bool secondFails : {false, true}) {
        SCOPED_TRACE(secondFails ? "the second cannot be put in place" : "the second can");
        Clear();
        Put(first.Path, "old first");
        Put(second.Path, "old second");
        FaultyFileSystem f;
        f.FailOpenOf = "a.ini";
        if (secondFails) f.FailReplaceOf = "a.tsb";
        EXPECT_NE(WriteOutcome::Done, lex::SaveFilePair(f, first, second));
        EXPECT_EQ("old first", Bytes(first.Path));
        EXPECT_EQ("old second", Bytes(second.Path));
        EXPECT_EQ((std::vector<std::string>{"a.ini", "a.tsb"}), Names());
        EXPECT_EQ(0, f.OpenCount());
    }
}

// The writer of export and archive save: every change failed, written short
// or killed, and the close of the temporary file failing (the system could
// not keep what was written). The target is old or whole new, Done only for
// the new one, and a writer that failed leaves no temporary file.
TEST_F(WholeFilesTest, ReplacingWriterUnderEveryFault) {
    const std::string target = Path("out"), big(100 * 1024, 'n');
    auto write = [&](FaultyFileSystem& f) {
        lex::ReplacingWriter w(f);
        if (!w.Create(target)) return WriteOutcome::NotCreated;
        w.Append(big);
        w.Append("end");
        return w.Commit();
    };
    auto check = [&](const FaultCase* fault, WriteOutcome outcome) {
        const std::string now = Bytes(target);
        EXPECT_TRUE(now == "previous" || now == big + "end");
        EXPECT_EQ(outcome == WriteOutcome::Done, now != "previous");
        if (!fault || fault->kind != FaultCase::kKilled) {
            if (outcome != WriteOutcome::Done) {
                EXPECT_EQ(std::vector<std::string>{"out"}, Names());
            }
        }
    };
    const int runs = FaultRun([&] { Clear(), Put(target, "previous"); }, write,
                              [&](const FaultCase& fault, WriteOutcome outcome) { check(&fault, outcome); });
    EXPECT_EQ(4 + 2 + 4, runs);  // create, two writes, replace
    Clear();
    Put(target, "previous");
    FaultyFileSystem f;
    f.FailWritesTo = "out";
    f.FailClose = true;
    const WriteOutcome outcome = write(f);
    EXPECT_EQ(WriteOutcome::WriteFailed, outcome);
    check(nullptr, outcome);
    EXPECT_EQ(0, f.OpenCount());
}

TEST_F(WholeFilesTest, ReplacingWriterCommitsOrLeavesTheTarget) {
    FaultyFileSystem files;
    Put(Path("out"), "previous");
    {
        lex::ReplacingWriter w(files);
        ASSERT_TRUE(w.Create(Path("out")));
        EXPECT_TRUE(w.Append(std::string(100 * 1024, 'x')));  // more than one block
        EXPECT_EQ("previous", Bytes(Path("out")));
    }  // abandoned
    EXPECT_EQ("previous", Bytes(Path("out")));
    EXPECT_EQ(std::vector<std::string>{"out"}, Names());
    lex::ReplacingWriter w(files);
    ASSERT_TRUE(w.Create(Path("out")));
    EXPECT_TRUE(w.Append("a"));
    EXPECT_TRUE(w.Append(std::string("b")));
    EXPECT_EQ(WriteOutcome::Done, w.Commit());
    EXPECT_EQ("ab", Bytes(Path("out")));
    // A write that fails: reported, the target stays.
    files.FailWritesTo = "out";
    ASSERT_TRUE(w.Create(Path("out")));
    EXPECT_TRUE(w.Append("c"));
    EXPECT_EQ(WriteOutcome::WriteFailed, w.Commit());
    EXPECT_EQ("ab", Bytes(Path("out")));
    EXPECT_EQ(std::vector<std::string>{"out"}, Names());
    // No folder for the temporary file.
    EXPECT_FALSE(w.Create(Path("none/out")));
    EXPECT_EQ(WriteOutcome::NotCreated, w.Commit());
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(WholeFilesTest, CreateNewLeavesAnExistingFileAlone) {
    FaultyFileSystem files;
    Put(Path("log"), "kept");
    EXPECT_EQ(lex::kNoFile, files.CreateNew(Path("log")));
    EXPECT_EQ("kept", Bytes(Path("log")));
    const lex::FileHandle h = files.CreateNew(Path("new"));
    ASSERT_NE(lex::kNoFile, h);
    EXPECT_EQ(3, files.Write(h, "abc", 3));
    EXPECT_TRUE(files.Close(h));
    EXPECT_EQ("abc", Bytes(Path("new")));
    EXPECT_EQ(3, files.FileSize(Path("new")));
    EXPECT_EQ(lex::kNoFileSize, files.FileSize(Path("none")));
    EXPECT_TRUE(files.Remove(Path("new")));
    EXPECT_TRUE(files.Remove(Path("new")));  // none there: nothing to do
    EXPECT_FALSE(files.Exists(Path("new")));
}

// Truncate cuts an open file to the size given, never makes it longer, and
// needs a handle that may write; the fake counts it as a change that can
// fail or be stopped.
TEST_F(WholeFilesTest, TruncateCutsAnOpenFile) {
    std::unique_ptr<lex::FileSystem> platform = lex::MakePlatformFileSystem();
    Put(Path("f"), "0123456789");
    lex::FileHandle h = platform->Open(Path("f"), lex::kOpenWriteDenyWrite);
    ASSERT_NE(lex::kNoFile, h);
    EXPECT_FALSE(platform->Truncate(h, 11));
    EXPECT_TRUE(platform->Truncate(h, 4));
    EXPECT_EQ(4, platform->Size(h));
    EXPECT_TRUE(platform->Truncate(h, 4));
    // What is written after it lands where it is asked to.
    EXPECT_TRUE(lex::WriteAt(*platform, h, 4, "xy", 2));
    EXPECT_TRUE(platform->Close(h));
    EXPECT_EQ("0123xy", Bytes(Path("f")));
    h = platform->Open(Path("f"), lex::kOpenReadShared);
    ASSERT_NE(lex::kNoFile, h);
    EXPECT_FALSE(platform->Truncate(h, 2));  // opened for reading only
    EXPECT_TRUE(platform->Close(h));
    EXPECT_EQ("0123xy", Bytes(Path("f")));

    struct Case {
        const char* name;
        std::function<void(FaultyFileSystem&)> fault;
        bool cut;
    } cases[] = {
        {"no fault", [](FaultyFileSystem&) {}, true},
        {"the change fails", [](FaultyFileSystem& f) { f.FailNthChange(1); }, false},
        {"killed before the change", [](FaultyFileSystem& f) { f.StopAtChange(1); }, false},
        {"truncations fail", [](FaultyFileSystem& f) { f.FailNth(FileOp::Truncate, 1); }, false},
        {"writes to the file fail", [this](FaultyFileSystem& f) { f.FailWritesTo = Path("f"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(Path("f"), "0123456789");
        FaultyFileSystem files;
        h = files.Open(Path("f"), lex::kOpenWriteDenyWrite);
        ASSERT_NE(lex::kNoFile, h);
        c.fault(files);
        EXPECT_EQ(c.cut, files.Truncate(h, 3));
        EXPECT_EQ(1, files.Changes);
        EXPECT_EQ(1, files.Writes);
        EXPECT_TRUE(files.Close(h));
        EXPECT_EQ(c.cut ? "012" : "0123456789", Bytes(Path("f")));
    }
}

}  // namespace
