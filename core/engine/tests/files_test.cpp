#include "engine_fixture.h"

#include <algorithm>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::ReadFileBytes;

const Bytes kHeader = "Vicejazycny slovnik Lexora Sarvo, s.r.o.";

Bytes Node(int32_t prev, int32_t next, int32_t first, int32_t text, uint8_t flags, uint8_t wl,
           uint8_t pl) {
    return I32(prev) + I32(next) + I32(first) + I32(text) + Bytes{char(flags), char(wl), char(pl)};
}
Bytes Key(int32_t key, int32_t node) { return Bytes(1, '\0') + I32(key) + I32(node); }

class FileSetTest : public lextest::EngineTest {};

TEST_F(FileSetTest, FreshSetHasExactBytes) {
    ASSERT_EQ(40u, kHeader.size());
    EXPECT_EQ(Key(0, 40) + Key(6377600, 59), ReadFileBytes(settings.KeyIndexPaths[0]));
    EXPECT_EQ(kHeader + Node(0, 59, 0, 40, 0x82, 200, 0) + Node(40, 0, 0, 240, 0x82, 200, 0),
              ReadFileBytes(settings.NodePaths[0]));
    EXPECT_EQ(kHeader + Bytes(200, '\x1f') + Bytes(200, '\x9e'), ReadFileBytes(settings.CdWordsPaths[0]));
    EXPECT_EQ(kHeader + I32(0), ReadFileBytes(settings.UserTranslationsPaths[0]));
    EXPECT_EQ(kHeader, ReadFileBytes(settings.UserWordsPaths[0]));
    EXPECT_EQ(kHeader, ReadFileBytes(settings.CdTranslationsPaths[0]));
    EXPECT_EQ(Bytes(18, '\0'), ReadFileBytes(settings.ActionLogPath));
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(FileSetTest, FirstAddEntryWritesExactBytes) {
    // "kočka" in Windows-1250.
    ASSERT_EQ(1, Add("cat", "ko\xe8ka", "kat"));
    const int32_t key = 1 + 4 * 125000 + 2 * 2500 + 25 * 50;
    EXPECT_EQ(Key(0, 40) + Key(key, 78) + Key(6377600, 59), ReadFileBytes(settings.KeyIndexPaths[0]));
    EXPECT_EQ(kHeader + Node(0, 78, 0, 40, 0x82, 200, 0) + Node(78, 0, 0, 240, 0x82, 200, 0) +
                  Node(40, 59, 44, 40, 0x01, 3, 3),
              ReadFileBytes(settings.NodePaths[0]));
    EXPECT_EQ(kHeader + "catkat", ReadFileBytes(settings.UserWordsPaths[0]));
    EXPECT_EQ(kHeader + I32(1) + I32(0) + lextest::Two(0x01, 0x05) + "ko\xe8ka",
              ReadFileBytes(settings.UserTranslationsPaths[0]));
    // records written 1; state {0, 0, group 0, count 1, 0}; record {3, slot 0, group 1, node 78, tr 44}.
    EXPECT_EQ(I32(1) + Bytes(2, '\0') + I32(0) + I32(1) + I32(0) + lextest::Two(0x03, 0x00) + I32(1) +
                  I32(78) + I32(44),
              ReadFileBytes(settings.ActionLogPath));
    // The CD files are never written.
    EXPECT_EQ(440u, ReadFileBytes(settings.CdWordsPaths[0]).size());
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(FileSetTest, OpenFailsAfterTenAttemptsAndLeavesNothingOpen) {
    std::filesystem::remove(settings.CdWordsPaths[0]);
    EXPECT_EQ(-1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(9, files.Pauses);  // a short wait between the attempts
    for (int h = 1; h <= 6; ++h) EXPECT_EQ(lex::kNoFile, ctx.Handles[h]);
    EXPECT_EQ(-1, lex::OpenSlotFiles(ctx, 20, lex::kOpenReadShared));
}

TEST_F(FileSetTest, ReadOnlyOpenRefusesWrites) {
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    lex::SetActionSlot(ctx, 0);
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    std::string tr = "x";
    EXPECT_EQ(-1, lex::AddEntry(ctx, "word", "", tr, 1));
    lex::CloseSlotFiles(ctx);
    lex::CloseActionLog(ctx);
    // The failed write took its action record back.
    EXPECT_EQ(0, lex::CanUndo(ctx));
    EXPECT_EQ(std::vector<std::string>{}, Dump());
}

TEST_F(FileSetTest, CreateFailsForAMissingFolder) {
    const std::string bad = dir.Sub("missing/x.slo");
    EXPECT_EQ(-1, lex::CreateDictionaryFiles(ctx, bad, bad, bad, bad, bad, bad));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(-1, lex::CreateActionLog(ctx, bad));
}

// slottool runs as a program of its own: each run gets `input` on its
// standard input; all runs are started before the first is waited for, so
// that they work at the same time. Gives their standard outputs.
struct SlotToolRun {
    std::vector<std::string> Args;
    std::string Input;
};

#ifdef _WIN32
std::vector<std::string> RunSlotTools(const std::vector<SlotToolRun>& runs, const std::string& work) {
    struct Started {
        HANDLE process = nullptr;
        std::string out;
    };
    std::vector<Started> started(runs.size());
    std::string tool = std::string("Z:") + LEX_SLOTTOOL_PATH;
    for (char& c : tool)
        if (c == '/') c = '\\';
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string in = work + "\\stdin" + std::to_string(i) + ".txt";
        started[i].out = work + "\\stdout" + std::to_string(i) + ".txt";
        lextest::WriteFileBytes(in, runs[i].Input);
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE hin = CreateFileA(in.c_str(), GENERIC_READ, FILE_SHARE_READ, &sa, OPEN_EXISTING, 0, nullptr);
        HANDLE hout =
            CreateFileA(started[i].out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
        std::string command = "\"" + tool + "\"";
        for (const std::string& a : runs[i].Args) command += " \"" + a + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = hin;
        si.hStdOutput = hout;
        si.hStdError = hout;
        PROCESS_INFORMATION pi{};
        if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            started[i].process = pi.hProcess;
        }
        CloseHandle(hin);
        CloseHandle(hout);
    }
    std::vector<std::string> outputs;
    for (Started& s : started) {
        if (!s.process) {
            outputs.push_back("<not started>");
            continue;
        }
        const bool ended = WaitForSingleObject(s.process, 120000) == WAIT_OBJECT_0;
        CloseHandle(s.process);
        outputs.push_back(ended ? ReadFileBytes(s.out) : "<still running>");
    }
    return outputs;
}
#else
std::vector<std::string> RunSlotTools(const std::vector<SlotToolRun>& runs, const std::string& work) {
    std::vector<pid_t> pids;
    std::vector<std::string> outs;
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string in = work + "/stdin" + std::to_string(i) + ".txt";
        outs.push_back(work + "/stdout" + std::to_string(i) + ".txt");
        lextest::WriteFileBytes(in, runs[i].Input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outs.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args{LEX_SLOTTOOL_PATH};
        args.insert(args.end(), runs[i].Args.begin(), runs[i].Args.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawn(&pid, LEX_SLOTTOOL_PATH, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        pids.push_back(pid);
    }
    std::vector<std::string> outputs;
    for (size_t i = 0; i < pids.size(); ++i) {
        int status = 0;
        const bool ended = pids[i] > 0 && waitpid(pids[i], &status, 0) == pids[i];
        outputs.push_back(ended ? ReadFileBytes(outs[i]) : "<not started>");
    }
    return outputs;
}
#endif

std::string RunSlotTool(const std::vector<std::string>& args, const std::string& input, const std::string& work) {
    return RunSlotTools({{args, input}}, work)[0];
}

// Another program cannot change a slot this one holds open for writing, and
// its failed attempts leave nothing open behind.
TEST_F(FileSetTest, SecondProgramWaitsForTheWriter) {
    const std::vector<std::string> args{"add", dir.Sub("cd"), dir.Sub("disk"), "0", settings.ActionLogPath};
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteDenyWrite));
    EXPECT_EQ("-1\n", RunSlotTool(args, "word\tslovo\n", dir.Sub(".")));
    lex::CloseSlotFiles(ctx);
    EXPECT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteExclusive));
    lex::CloseSlotFiles(ctx);
    EXPECT_EQ("1\n", RunSlotTool(args, "word\tslovo\n", dir.Sub(".")));
    EXPECT_EQ(std::vector<std::string>{"word||slovo"}, Dump());
}

// Two writers of one slot: the second is refused (the Disk files deny other
// writers) and keeps no handle; readers may still come in.
TEST_F(FileSetTest, ShareModesBetweenTwoWriters) {
    lextest::TrackingFileSystem otherFiles;
    lex::RecordingDisplay otherDisplay;
    lex::RecordingHooks otherHooks;
    lex::EngineContext other(settings, otherFiles, otherDisplay, otherHooks);

    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteDenyWrite));
    EXPECT_EQ(-1, lex::OpenSlotFiles(other, 0, lex::kOpenWriteDenyWrite));
    EXPECT_EQ(0, otherFiles.OpenCount());
    for (int h = 1; h <= 6; ++h) EXPECT_EQ(lex::kNoFile, other.Handles[h]);
    EXPECT_EQ(-1, lex::OpenSlotFiles(other, 0, lex::kOpenWriteExclusive));
    // A lookup reads alongside the writer.
    std::vector<lex::ResultRow> rows;
    EXPECT_EQ(0, lex::LookupWord(other, "a", rows, 0));
    lex::CloseSlotFiles(ctx);
    // Nothing of the refused attempts stayed open: an exclusive open works now.
    EXPECT_EQ(1, lex::OpenSlotFiles(other, 0, lex::kOpenWriteExclusive));
    EXPECT_EQ(-1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    lex::CloseSlotFiles(other);

    // The action log is exclusive to one command at a time.
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    EXPECT_EQ(-1, lex::OpenActionLog(other));
    EXPECT_EQ(-1, lex::UndoLastAction(other));
    lex::CloseActionLog(ctx);
    EXPECT_EQ(1, lex::OpenActionLog(other));
    lex::CloseActionLog(other);
}

// slottool asks whether the log exists without opening it: while this
// program holds the log for a command, slottool's adds are refused one by
// one (-1), and it never makes a new, empty log in its place.
TEST_F(FileSetTest, SlotToolNeverReplacesALogAnotherWriterHolds) {
    ASSERT_EQ(1, Add("apple", "jablko"));
    const Bytes log = ReadFileBytes(settings.ActionLogPath);
    const std::vector<std::string> args{"add", dir.Sub("cd"), dir.Sub("disk"), "0", settings.ActionLogPath};
    ASSERT_EQ(1, lex::OpenActionLog(ctx));
    EXPECT_EQ("-1\n-1\n", RunSlotTool(args, "word\tslovo\nhouse\tdum\n", dir.Sub(".")));
    lex::CloseActionLog(ctx);
    EXPECT_EQ(log, ReadFileBytes(settings.ActionLogPath));
    EXPECT_EQ("1\n", RunSlotTool(args, "word\tslovo\n", dir.Sub(".")));
    // Both commands are in the log: undo takes them back one by one.
    EXPECT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(std::vector<std::string>{"apple||jablko"}, Dump());
    EXPECT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(std::vector<std::string>{}, Dump());
    // A missing log is made by slottool's first add.
    std::filesystem::remove(settings.ActionLogPath);
    EXPECT_EQ("1\n", RunSlotTool(args, "word\tslovo\n", dir.Sub(".")));
    EXPECT_EQ(1, lex::CanUndo(ctx));
}

// Two programs add to one slot at the same time, each command by command: the
// log and the slot's files let one writer in at a time, so a command is
// either refused (-1, nothing written) or done whole. Afterwards the slot
// walks cleanly and holds exactly the words whose adds said 1.
TEST_F(FileSetTest, TwoWritersAtOnceLeaveASoundSlot) {
    constexpr int kWriters = 2, kAdds = 300;
    std::vector<SlotToolRun> runs;
    for (int w = 0; w < kWriters; ++w) {
        std::string input;
        for (int i = 0; i < kAdds; ++i)
            input += "w" + std::to_string(w) + "x" + std::to_string(1000 + i) + "\tt" + std::to_string(i) + "\n";
        runs.push_back({{"add", dir.Sub("cd"), dir.Sub("disk"), "0", settings.ActionLogPath}, input});
    }
    const std::vector<std::string> outputs = RunSlotTools(runs, dir.Sub("."));
    std::vector<std::string> expected;
    int done = 0;
    for (int w = 0; w < kWriters; ++w) {
        std::istringstream lines(outputs[w]);
        std::string line;
        int i = 0;
        for (; std::getline(lines, line); ++i) {
            ASSERT_TRUE(line == "1" || line == "-1") << "writer " << w << " add " << i << ": " << line;
            if (line == "1") {
                expected.push_back("w" + std::to_string(w) + "x" + std::to_string(1000 + i) + "||t" +
                                   std::to_string(i));
                ++done;
            }
        }
        EXPECT_EQ(kAdds, i) << "writer " << w;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_GT(done, 0);
    std::vector<std::string> now = Dump();
    EXPECT_TRUE(std::is_sorted(now.begin(), now.end()));
    std::sort(now.begin(), now.end());
    EXPECT_EQ(expected, now);
    EXPECT_EQ(done, WordCount());
}

}  // namespace
