// Every write of the engine's writers (adds, deletions, Undo, Redo) made to
// fail, written short, stopped by a full disk and, natively, the process
// killed before it. Afterwards the slot opens and reads: its key index is
// whole and sorted with both sentinels, the node list is linked both ways and
// holds every live entry, archive save and export can read every node. A
// command that failed left the slot as it was, or one Undo takes it there;
// the Undos after that give the states before the earlier commands exactly.
#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "engine_fixture.h"
#include "tools/slotgen/generated_slot.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using lextest::Bytes;
using lextest::ReadFileBytes;
using lextest::WriteFileBytes;

// A disk with `Room` bytes left: a write that makes a file longer uses them
// up; one that does not fit stores what fits (a short write), and after that
// nothing. Writes inside a file always succeed, as on a real disk.
class FullDisk : public lex::FileSystem {
public:
    explicit FullDisk(lex::FileSystem& inner) : inner_(inner) {}
    int64_t Room = -1;        // -1: as much as asked for
    int64_t Grown = 0;        // bytes the files grew by
    std::set<int64_t> Edges;  // values of Grown where a write began or ended growing a file, and one byte in

    lex::FileHandle Open(const std::string& path, int mode) override { return inner_.Open(path, mode); }
    lex::FileHandle Create(const std::string& path) override { return inner_.Create(path); }
    lex::FileHandle CreateNew(const std::string& path) override { return inner_.CreateNew(path); }
    int32_t Read(lex::FileHandle h, void* b, uint32_t n) override {
        const int32_t r = inner_.Read(h, b, n);
        if (r > 0) at_[h] += r;
        return r;
    }
    int32_t Write(lex::FileHandle h, const void* b, uint32_t n) override {
        const int64_t at = at_[h], size = inner_.Size(h);
        if (size < 0 || inner_.Seek(h, at) != at) return -1;
        const int64_t grow = std::max<int64_t>(0, at + n - size);
        if (Room >= 0 && grow > Room) {
            const int64_t fits = static_cast<int64_t>(n) - (grow - Room);
            if (fits <= 0) return -1;
            n = static_cast<uint32_t>(fits);
        }
        const int32_t r = inner_.Write(h, b, n);
        if (r <= 0) return r;
        at_[h] = at + r;
        const int64_t grew = std::max<int64_t>(0, at + r - size);
        if (grew > 0) Edges.insert({Grown, Grown + 1, Grown + grew - 1});
        Grown += grew;
        if (Room >= 0) Room -= grew;
        return r;
    }
    int64_t Seek(lex::FileHandle h, int64_t o) override {
        const int64_t r = inner_.Seek(h, o);
        at_[h] = r;
        return r;
    }
    int64_t Size(lex::FileHandle h) override {
        const int64_t r = inner_.Size(h);
        at_[h] = r;
        return r;
    }
    bool Close(lex::FileHandle h) override {
        at_.erase(h);
        return inner_.Close(h);
    }
    bool ReadAt(lex::FileHandle h, int64_t o, void* b, uint32_t n) override {
        at_[h] = -1;  // unknown until the next Seek
        return inner_.ReadAt(h, o, b, n);
    }
    int32_t ReadSome(lex::FileHandle h, int64_t o, void* b, uint32_t n) override {
        at_[h] = -1;
        return inner_.ReadSome(h, o, b, n);
    }
    bool Exists(const std::string& path) override { return inner_.Exists(path); }
    int64_t FileSize(const std::string& path) override { return inner_.FileSize(path); }
    bool Replace(const std::string& from, const std::string& to) override { return inner_.Replace(from, to); }
    bool Remove(const std::string& path) override { return inner_.Remove(path); }
    // Cutting a file gives its room back.
    bool Truncate(lex::FileHandle h, int64_t size) override {
        const int64_t before = inner_.Size(h);
        if (before < 0 || !inner_.Truncate(h, size)) return false;
        if (Room >= 0) Room += before - size;
        at_[h] = -1;
        return true;
    }
    void Pause(int ms) override { inner_.Pause(ms); }

private:
    lex::FileSystem& inner_;
    std::map<lex::FileHandle, int64_t> at_;
};

// A whole file, read in one go (the checks read many).
Bytes Slurp(const std::string& path) {
    return ReadFileBytes(path);
}

// Two dumps compared, with only the lines that differ shown.
::testing::AssertionResult SameDump(const std::string& expected, const std::string& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    auto lines = [](const std::string& s) {
        std::multiset<std::string> out;
        size_t at = 0;
        for (size_t nl; (nl = s.find('\n', at)) != std::string::npos; at = nl + 1)
            out.insert(s.substr(at, nl - at));
        return out;
    };
    const std::multiset<std::string> a = lines(expected), b = lines(actual);
    std::string text;
    for (const std::string& l : a)
        if (!b.count(l)) text += "\n  expected only: " + l;
    for (const std::string& l : b)
        if (!a.count(l)) text += "\n  found only:    " + l;
    return ::testing::AssertionFailure() << "the slots differ" << (text.empty() ? " in order" : text);
}

enum class Fault { kFail, kFailOnce, kShort, kKill, kFullDisk, kSettle };

const char* FaultName(Fault f) {
    switch (f) {
    case Fault::kFail: return "this write and every later one fail";
    case Fault::kFailOnce: return "this write fails";
    case Fault::kShort: return "this write is short";
    case Fault::kKill: return "killed before this write";
    case Fault::kFullDisk: return "full disk";
    case Fault::kSettle: return "killed, then the next opening of the log under a fault";
    }
    return "";
}

class FailedWritesTest : public lextest::EngineTest {
protected:
    // One writer under test: a user command, or an Undo or a Redo.
    struct Op {
        const char* name;
        std::function<void()> prepare;  // commands run before it, without faults
        std::function<int(lex::EngineContext&)> run;
        bool large = false;  // on the large base
        bool oneAdd = false; // one add on one slot: a failure leaves every file at its old size
        bool afterUndo = false;  // run after an Undo: a Redo of it may be offered afterwards
    };

    // A slot with shipped and user entries and a log of one command: a small
    // one, and one whose key index takes two blocks to move.
    struct Base {
        std::vector<lex::GeneratedEntry> shipped;
        std::vector<std::string> history;  // the slots after each command, the first before them
        std::vector<Bytes> files;
    };
    Base small, large;
    std::string everything;  // a part of every file's path: the temporary folder
    std::string newKeyWord, knownKeyWord;
    FullDisk disk{files};
    lex::EngineContext diskCtx{settings, disk, display, hooks};
    // Figures of the run, by fault: cases, and how the slots were found once
    // the log had been opened again (the writer's change in full, none of it,
    // or a part that one Undo takes back), key indexes with a copied record
    // (room left by an add that stopped) and ending in part of a record.
    struct Tally {
        int Cases = 0, Done = 0, AsBefore = 0, Part = 0, Copies = 0, Fragments = 0;
        int Failed = 0, FailedNotAsBefore = 0;  // reported -1; and the slots not as before
        int RedoKept = 0;  // after a command that followed an Undo: the Redo still offered
    };
    std::map<Fault, Tally> tally;
    int writePoints = 0;
    // With a kill, the settle at the next opening of the log is run under
    // every fault of its own writes too, before the checks.
    bool settleFaults_ = false;
    std::string opFigures;
    Fault fault_ = Fault::kFail;
    int result_ = 0;
    std::string before_;  // the slots before the writer

    void MakeBase(Base& b, int senses, unsigned seed) {
        b.shipped = lex::GenerateEntries(senses, seed);
        ASSERT_EQ(1, lex::WriteShippedSlot(ctx, 0, b.shipped));
        shippedFiles.clear();
        AddFruit();
        ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
        b.history.push_back(DumpAll());
        ASSERT_EQ(1, DeleteWord("fig"));
        b.history.push_back(DumpAll());
        b.files = SnapshotAll();
    }

    void SetUp() override {
        EngineTest::SetUp();
        everything = dir.Sub("");
        MakeBase(large, 1800, 5);
        ASSERT_GT(ReadFileBytes(settings.KeyIndexPaths[0]).size(), 4500u + 9 * 20);
        // The checks read the files themselves: as the engine does.
        std::string engineList;
        for (const std::string& line : Dump(0)) engineList += line + "\n";
        ASSERT_EQ(engineList, ListOf(0));
        // A word with a key of its own near the start of the index (the whole
        // index moves, in two blocks).
        ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
        newKeyWord = "aba";
        ASSERT_EQ(1, lex::LocateWord(ctx, newKeyWord));
        EXPECT_NE(-1, ctx.InsertPosition);
        EXPECT_LT(ctx.InsertPosition, 9 * 5);
        lex::CloseSlotFiles(ctx);
        MakeBase(small, 60, 9);
        // A word whose key is there already.
        ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
        knownKeyWord = small.shipped[4].Word + "zq";
        ASSERT_EQ(1, lex::LocateWord(ctx, knownKeyWord));
        EXPECT_EQ(-1, ctx.InsertPosition);
        EXPECT_EQ(-1, ctx.ExactMatch);
        lex::CloseSlotFiles(ctx);
    }

    static int Command(lex::EngineContext& c, const std::function<int()>& edit) {
        const int r = lex::RunSlotCommand(c, 0, edit);
        return r == lex::kCommandNoAccess ? -1 : r;
    }
    static std::function<int(lex::EngineContext&)> Adding(std::string word, std::string tr,
                                                          std::string pron = "") {
        return [=](lex::EngineContext& c) {
            std::string t = tr;
            return Command(c, [&] { return lex::AddEntry(c, word, pron, t, 1); });
        };
    }

    std::vector<Op> Ops() {
#ifdef _WIN32
        // Under Wine, where every file call is slow: the add that moves the key index.
        return {{ "new word, new key", {}, Adding(newKeyWord, "nove"), true, true }};
#endif
        const lex::GeneratedEntry& ship1 = small.shipped[7];
        const lex::GeneratedEntry& ship2 = small.shipped[11];
        auto undo = [](lex::EngineContext& c) { return lex::UndoLastAction(c); };
        return {
            {"new word, new key", {}, Adding(newKeyWord, "nove"), true, true},
            {"new word, known key", {}, Adding(knownKeyWord, "znamy"), false, true},
            {"translation for a user word", {}, Adding("apple", "jablicko", "\xe6pl"), false, true},
            {"translation for a shipped word", {}, Adding(ship1.Word, "navic", ship1.Pronunciation), false, true},
            {"deleted word revived", {}, Adding("date", "datle"), false, true},
            {"new pronunciation", {}, Adding("banana", "plantain", "bnn"), false, true},
            {"word with three translations deleted",
             {},
             [](lex::EngineContext& c) { return Command(c, [&] { return lex::DeleteWord(c, "apple"); }); }},
            {"last translation deleted",
             {},
             [](lex::EngineContext& c) {
                 std::string t = "ban\xe1n";
                 return Command(c, [&] { return lex::DeleteTranslation(c, "banana", t); });
             }},
            {"shipped word deleted",
             {},
             [w = ship2.Word](lex::EngineContext& c) {
                 return Command(c, [&] { return lex::DeleteWord(c, w); });
             }},
            {"word added on both sides",
             {},
             [](lex::EngineContext& c) {
                 std::string t1 = "meloun", t2 = "melon";
                 const int r =
                     lex::RunSlotCommand(c, {0, [&] { return lex::AddEntry(c, "melon", "", t1, 1); }},
                                         {1, [&] { return lex::AddEntry(c, "meloun", "", t2, 1); }});
                 return r == lex::kCommandNoAccess ? -1 : r;
             }},
            {"an add after an Undo", [this] { ASSERT_EQ(1, lex::UndoLastAction(ctx)); },
             Adding(knownKeyWord, "znamy"), false, false, true},
            {"Undo of a new word", [this] { ASSERT_EQ(1, Add("aaron", "aron")); }, undo},
            {"Undo of a word deletion", [this] { ASSERT_EQ(1, DeleteWord("apple")); }, undo},
            {"Redo of a word deletion",
             [this] {
                 ASSERT_EQ(1, DeleteWord("apple"));
                 ASSERT_EQ(1, lex::UndoLastAction(ctx));
             },
             [](lex::EngineContext& c) { return lex::RedoAction(c); }},
        };
    }

    std::vector<std::string> SlotPaths(int slot) const {
        const auto& s = settings;
        return {s.KeyIndexPaths[slot], s.NodePaths[slot], s.UserWordsPaths[slot],
                s.UserTranslationsPaths[slot]};
    }
    // The files of slots 0 and 1 and the log; the shipped files of slot 0
    // with `shipped`.
    std::vector<Bytes> SnapshotAll(bool shipped = true) {
        std::vector<Bytes> out;
        for (int slot : {0, 1})
            for (const std::string& p : SlotPaths(slot)) out.push_back(Slurp(p));
        out.push_back(Slurp(settings.ActionLogPath));
        if (shipped) {
            out.push_back(Slurp(settings.CdWordsPaths[0]));
            out.push_back(Slurp(settings.CdTranslationsPaths[0]));
        }
        return out;
    }
    void RestoreAll(const std::vector<Bytes>& snapshot) {
        size_t i = 0;
        for (int slot : {0, 1})
            for (const std::string& p : SlotPaths(slot)) WriteFileBytes(p, snapshot[i++]);
        WriteFileBytes(settings.ActionLogPath, snapshot[i++]);
        if (i < snapshot.size()) {
            WriteFileBytes(settings.CdWordsPaths[0], snapshot[i++]);
            WriteFileBytes(settings.CdTranslationsPaths[0], snapshot[i++]);
            shippedFiles.clear();
        }
    }
    // The slot's files read whole, for the checks.
    struct SlotBytes {
        Bytes Keys, Nodes, UserWords, CdWords, UserTr, CdTr;
        lex::WordNode Node(int32_t at) const {
            return lex::WordNode::Decode(reinterpret_cast<const uint8_t*>(Nodes.data() + at));
        }
        bool HasNode(int32_t at) const {
            return at >= lex::kLowSentinelNode && static_cast<size_t>(at) + 19 <= Nodes.size();
        }
        std::string Word(const lex::WordNode& n, std::string* pron = nullptr) const {
            const Bytes& words = (n.Flags & lex::kFlagCd) ? CdWords : UserWords;
            const size_t at = static_cast<size_t>(n.TextOffset);
            if (at + n.WordLength + n.PronunciationLength > words.size()) return "<texts outside the file>";
            if (pron) *pron = words.substr(at + n.WordLength, n.PronunciationLength);
            return words.substr(at, n.WordLength);
        }
    };
    std::map<int, std::pair<Bytes, Bytes>> shippedFiles;  // the CD files, never written
    SlotBytes ReadSlot(int slot) {
        const auto& s = settings;
        auto cd = shippedFiles.find(slot);
        if (cd == shippedFiles.end())
            cd = shippedFiles
                     .emplace(slot,
                              std::make_pair(Slurp(s.CdWordsPaths[slot]), Slurp(s.CdTranslationsPaths[slot])))
                     .first;
        return {Slurp(s.KeyIndexPaths[slot]),         Slurp(s.NodePaths[slot]),
                Slurp(s.UserWordsPaths[slot]),        cd->second.first,
                Slurp(s.UserTranslationsPaths[slot]), cd->second.second};
    }
    // Every live entry along the list, "word|pronunciation|translations...",
    // as the engine shows it (grammar notes with the separator in front).
    std::string ListOf(int slot) {
        const SlotBytes b = ReadSlot(slot);
        std::string out;
        int32_t at = lex::kLowSentinelNode;
        for (size_t steps = 0; at != 0; ++steps) {
            if (!b.HasNode(at) || steps > b.Nodes.size() / 19) return out + "<broken list>\n";
            const lex::WordNode n = b.Node(at);
            if (!n.Deleted()) {
                std::string pron;
                out += b.Word(n, &pron) + "|" + pron;
                const Bytes& tr = (n.Flags & lex::kFlagDisk) ? b.UserTr : b.CdTr;
                int32_t t = n.FirstTranslation;
                for (size_t links = 0; t != 0; ++links) {
                    if (t < 40 || static_cast<size_t>(t) + 6 > tr.size() || links > tr.size() / 6) {
                        out += "|<broken chain>";
                        break;
                    }
                    const lex::TranslationHead h =
                        lex::TranslationHead::Decode(reinterpret_cast<const uint8_t*>(tr.data() + t));
                    std::string text = tr.substr(static_cast<size_t>(t) + 6, h.Length);
                    if (!text.empty() && static_cast<uint8_t>(text[0]) == lex::kGrammarNoteByte)
                        text[0] = settings.GrammarSeparator;
                    if (!h.Deleted()) out += "|" + text;
                    t = h.Next;
                }
                out += "\n";
            }
            at = n.Next;
        }
        return out;
    }
    // Both slots with their word counts.
    std::string DumpAll() {
        return ListOf(0) + "count " + std::to_string(WordCount(0)) + "\n--\n" + ListOf(1) + "count " +
               std::to_string(WordCount(1)) + "\n";
    }

    // The key index: whole records, sorted, from the low to the high
    // sentinel, one per key, each naming a node of its key. The node list:
    // linked both ways from sentinel to sentinel, and no live user entry
    // whose chain holds no live translation (a deletion left half-done).
    struct Figures {
        bool Fragment = false, Copy = false;
    };
    void ExpectSound(int slot, Figures& fig) {
        const SlotBytes b = ReadSlot(slot);
        const Bytes& index = b.Keys;
        if (index.size() % 9 != 0) {
            ADD_FAILURE() << "key index of " << index.size() << " bytes";
            fig.Fragment = true;
        }
        const size_t count = index.size() / 9;
        ASSERT_GE(count, 2u);
        auto key = [&](size_t i) {
            return lex::KeyRecord::Decode(reinterpret_cast<const uint8_t*>(index.data() + 9 * i));
        };
        EXPECT_EQ(0, key(0).SortKey);
        EXPECT_EQ(lex::kLowSentinelNode, key(0).Node);
        EXPECT_EQ(6377600, key(count - 1).SortKey);
        EXPECT_EQ(lex::kHighSentinelNode, key(count - 1).Node);
        for (size_t i = 1; i < count; ++i) {
            const lex::KeyRecord k = key(i), prev = key(i - 1);
            if (k.SortKey == prev.SortKey) {
                ADD_FAILURE() << "key record " << i << " twice";
                fig.Copy = true;
            }
            EXPECT_GE(k.SortKey, prev.SortKey) << "record " << i;
            if (k.SortKey != 6377600) {
                ASSERT_TRUE(b.HasNode(k.Node)) << "record " << i;
                EXPECT_EQ(k.SortKey, lex::WordSortKey(b.Word(b.Node(k.Node)), slot, settings))
                    << "record " << i;
            }
        }
        int32_t at = lex::kLowSentinelNode;
        for (size_t steps = 0; at != lex::kHighSentinelNode; ++steps) {
            ASSERT_LT(steps, b.Nodes.size() / 19);
            const lex::WordNode node = b.Node(at);
            if (!node.Deleted() && (node.Flags & lex::kFlagDisk) && node.FirstTranslation != 0) {
                bool live = false;
                for (int32_t t = node.FirstTranslation, links = 0; t != 0 && links < 1000; ++links) {
                    ASSERT_LE(static_cast<size_t>(t) + 6, b.UserTr.size()) << b.Word(node);
                    const lex::TranslationHead h =
                        lex::TranslationHead::Decode(reinterpret_cast<const uint8_t*>(b.UserTr.data() + t));
                    live = live || !h.Deleted();
                    t = h.Next;
                }
                EXPECT_TRUE(live) << b.Word(node) << " is listed without a live translation";
            }
            const int32_t next = node.Next;
            ASSERT_TRUE(b.HasNode(next)) << "node " << at;
            ASSERT_EQ(at, b.Node(next).Previous) << "node " << next;
            at = next;
        }
    }

    // What the readers see: the list and the nodes in file order (archive
    // save, quick export) read without an error, and every live user entry
    // with a live translation is in the list.
    void ExpectReadable(int slot) {
        std::set<int32_t> inList;
        lex::NodeWalk walk = lex::WalkFromNode(slot, lex::kLowSentinelNode);
        std::vector<lex::WalkEntry> listed;
        int r;
        while ((r = lex::StepNodeWalk(ctx, walk, 1000, 0, listed)) > 0) {
        }
        ASSERT_EQ(0, r);
        for (const lex::WalkEntry& e : listed) inList.insert(e.Offset);
        lex::NodeFileCursor cursor;
        ASSERT_EQ(1, lex::BeginNodeFileCursor(ctx, slot, cursor));
        std::vector<lex::StoredEntry> entries;
        while ((r = lex::StepNodeFileCursor(ctx, cursor, 1000, entries)) > 0) {
        }
        ASSERT_EQ(0, r);
        for (const lex::StoredEntry& e : entries) {
            if (e.Node.Deleted()) continue;
            bool live = false;
            for (const lex::EntryTranslation& t : e.Translations) live = live || !t.Head.Deleted();
            if (live) {
                EXPECT_EQ(1u, inList.count(e.Offset)) << e.Word << " is not in the list";
            }
        }
    }

    // Undo, step by step: first to `chain[0]` unless the slots are there
    // already (nothing of the writer is left to take back), then through the
    // rest of `chain`, then nothing more. A writer that got its change in full
    // (the slots as `after`) is undone as without faults: `undone` (an Undo
    // keeps a new pronunciation). A new command works afterwards.
    void ExpectUndoThrough(const std::vector<std::string>& chain, const std::string& after,
                           const std::vector<std::string>& undone) {
        ExpectReadable(0);
        // What a writer left half-done is finished when the log is opened next.
        ASSERT_EQ(1, lex::OpenActionLog(ctx));
        lex::CloseActionLog(ctx);
        Figures fig;
        ExpectSound(0, fig);
        ExpectSound(1, fig);
        Tally& t = tally[fault_];
        t.Fragments += fig.Fragment;
        t.Copies += fig.Copy;
        const std::string now = DumpAll();
        const std::vector<std::string>& states = now == after && now != chain[0] ? undone : chain;
        size_t i = now == chain[0] ? 1 : 0;
        ++(now == before_ ? t.AsBefore : now == after ? t.Done : t.Part);
        t.Failed += result_ == -1;
        t.FailedNotAsBefore += result_ == -1 && now != before_;
        for (; i < states.size(); ++i) {
            ASSERT_EQ(1, lex::UndoLastAction(ctx)) << "undo to state " << i;
            ASSERT_TRUE(SameDump(states[i], DumpAll())) << "undo to state " << i;
        }
        EXPECT_EQ(-1, lex::UndoLastAction(ctx));
        EXPECT_EQ(0, lex::CanUndo(ctx));
        EXPECT_EQ(0, files.OpenCount());
        ASSERT_EQ(1, Add("abacus", "pocitadlo"));
        ExpectSound(0, fig);
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_TRUE(SameDump(states.back(), DumpAll()));
    }

    // Runs `op` with `fault` at its write `n` (or, for a full disk, `n` bytes
    // of room), then checks the slots. `done` is the result and the state of
    // the op without faults.
    void RunCase(const Op& op, const std::vector<Bytes>& opBase, Fault fault, int n, int done,
                 const std::string& after, const std::vector<std::string>& chain,
                 const std::vector<std::string>& undone) {
        SCOPED_TRACE(std::string(op.name) + ": " + FaultName(fault) + " " + std::to_string(n));
        RestoreAll(opBase);
        fault_ = fault;
        ++tally[fault].Cases;
        int result = 0;
        if (fault == Fault::kKill) {
#ifndef _WIN32
            const pid_t pid = fork();
            if (pid == 0) {
                files.BeforeWrite = [writes = 0, n](const std::string&) mutable {
                    if (++writes == n) raise(SIGKILL);
                };
                op.run(ctx);
                _exit(0);
            }
            int status = 0;
            waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
#endif
        } else if (fault == Fault::kFullDisk) {
            disk.Room = n;
            result = op.run(diskCtx);
            disk.Room = -1;
        } else {
            if (fault == Fault::kFail) {
                files.FailWritesTo = everything;
                files.FailAfterWrites = n - 1;
            } else if (fault == Fault::kFailOnce) {
                files.BeforeWrite = [this, writes = 0, n](const std::string&) mutable {
                    ++writes;
                    files.FailWritesTo = writes == n ? everything : std::string();
                    files.FailAfterWrites = 0;
                };
            } else {
                files.ShortNthWrite(n);
            }
            result = op.run(ctx);
            files.FailWritesTo.clear();
            files.BeforeWrite = nullptr;
            files.ClearFaults();
        }
        EXPECT_EQ(0, files.OpenCount());
        result_ = result;
        if (fault == Fault::kShort) {
            // A write the file system cut short is carried on: nothing failed.
            EXPECT_EQ(done, result);
            EXPECT_TRUE(SameDump(after, DumpAll()));
        } else if (result == 1) {
            EXPECT_TRUE(SameDump(after, DumpAll()));
        } else if (fault != Fault::kKill) {
            EXPECT_EQ(-1, result);
        }
        if (settleFaults_ && fault == Fault::kKill) {
            const std::vector<Bytes> killed = SnapshotAll(false);
            const int changesBefore = files.Changes, writesBefore = files.Writes;
            ASSERT_EQ(1, lex::OpenActionLog(ctx));
            lex::CloseActionLog(ctx);
            const int changes = files.Changes - changesBefore, writes = files.Writes - writesBefore;
            for (const lex::testing::FaultCase& f : lex::testing::FaultCases(changes, writes)) {
                SCOPED_TRACE("settle: " + f.Name());
                RestoreAll(killed);
                fault_ = Fault::kSettle;
                ++tally[fault_].Cases;
                f.Apply(files);
                if (lex::OpenActionLog(ctx) == 1) lex::CloseActionLog(ctx);
                files.ClearFaults();
                EXPECT_EQ(0, files.OpenCount());
                if (op.afterUndo)
                    ExpectRedoAfter(opBase, chain, after, undone);
                else
                    ExpectUndoThrough(chain, after, undone);
                if (HasFatalFailure()) return;
            }
            RestoreAll(killed);
            fault_ = fault;
        }
        // A failed add that could write again (one write failed, or the disk
        // was full) left every file at its old size.
        if (op.oneAdd && result == -1 && (fault == Fault::kFailOnce || fault == Fault::kFullDisk)) {
            const std::vector<Bytes> now = SnapshotAll(false);
            for (size_t i = 0; i < now.size(); ++i) EXPECT_EQ(opBase[i].size(), now[i].size()) << "file " << i;
        }
        if (op.afterUndo) {
            ExpectRedoAfter(opBase, chain, after, undone);
            return;
        }
        ExpectUndoThrough(chain, after, undone);
    }

    // After a command that followed an Undo (of the last command of the
    // base): a Redo is offered only when the command left nothing, and then
    // gives the state before the Undo exactly, from the log as it was.
    void ExpectRedoAfter(const std::vector<Bytes>& opBase, const std::vector<std::string>& chain,
                         const std::string& after, const std::vector<std::string>& undone) {
        ASSERT_EQ(1, lex::OpenActionLog(ctx));
        lex::CloseActionLog(ctx);
        const int canRedo = lex::CanRedo(ctx);
        if (canRedo != 1) {
            EXPECT_EQ(0, canRedo);
            // Nothing to redo: Undo goes back to the base as the Undo left it.
            ExpectUndoThrough({chain.back()}, after, undone);
            return;
        }
        ++tally[fault_].RedoKept;
        EXPECT_TRUE(SameDump(before_, DumpAll()));
        EXPECT_EQ(opBase[8], Slurp(settings.ActionLogPath)) << "the log as before the command";
        ASSERT_EQ(1, lex::RedoAction(ctx));
        ASSERT_TRUE(SameDump(chain.front(), DumpAll()));
        ExpectUndoThrough(chain, after, undone);
    }

    void RunAll(const std::vector<Fault>& faults) {
        for (const Op& op : Ops()) {
            SCOPED_TRACE(op.name);
            const Base& base = op.large ? large : small;
            RestoreAll(base.files);
            if (op.prepare) op.prepare();
            const std::vector<Bytes> opBase = SnapshotAll(false);
            // The states Undo passes through after the op (see ExpectUndoThrough):
            // a command's is the one before it, an Undo's or Redo's the one
            // before the command it steps over.
            const std::vector<std::string> chain(base.history.rbegin(), base.history.rend());
            const std::string before = DumpAll();
            const int writesBefore = files.Writes;
            disk.Grown = 0;
            disk.Edges.clear();
            const int done = op.run(diskCtx);
            const int writes = files.Writes - writesBefore;
            const std::set<int64_t> rooms = disk.Edges;
            const std::string after = DumpAll();
            std::vector<std::string> undone;
            while (lex::UndoLastAction(ctx) == 1) undone.push_back(DumpAll());
            ASSERT_EQ(1, done);
            ASSERT_NE(before, after);
            ASSERT_GT(writes, 2);
            writePoints += writes;
            opFigures += std::string("  ") + op.name + ": " + std::to_string(writes) + " writes\n";
            before_ = before;
            for (Fault fault : faults) {
                if (fault == Fault::kFullDisk) {
                    // No room at all, and a write stopped after its first byte,
                    // one before its last, and at its end: where records are cut.
                    for (int64_t room : rooms)
                        RunCase(op, opBase, fault, static_cast<int>(room), done, after, chain, undone);
                } else {
                    for (int n = 1; n <= writes; ++n)
                        RunCase(op, opBase, fault, n, done, after, chain, undone);
                }
                if (HasFatalFailure()) return;
            }
        }
    }

    void Report() {
        std::printf("write points: %d\n%s", writePoints, opFigures.c_str());
        for (const auto& [fault, t] : tally)
            std::printf(
                "%s: %d cases, %d reported -1 (%d of them not as before); afterwards done %d, "
                "as before %d, one Undo takes back %d; key index with a copied record %d, "
                "ending in part of a record %d; Redo kept after a command %d\n",
                FaultName(fault), t.Cases, t.Failed, t.FailedNotAsBefore, t.Done, t.AsBefore, t.Part,
                t.Copies, t.Fragments, t.RedoKept);
    }
};

TEST_F(FailedWritesTest, FailedAndShortWrites) {
    RunAll({Fault::kFail, Fault::kFailOnce, Fault::kShort});
    Report();
}

TEST_F(FailedWritesTest, FullDisk) {
    RunAll({Fault::kFullDisk});
    Report();
}

#ifndef _WIN32
TEST_F(FailedWritesTest, KilledBeforeEachWrite) {
    RunAll({Fault::kKill});
    Report();
}

// What a kill left is set right by the next opening of the log even when
// that is stopped in its turn: each of its changes failed, each write short,
// and a kill before each change, then one more opening.
TEST_F(FailedWritesTest, KilledThenSettledUnderEveryFault) {
    settleFaults_ = true;
    RunAll({Fault::kKill});
    Report();
}
#endif

}  // namespace

namespace {

// A batch of adds (each its own command, as slottool and the bulk jobs run
// them) into a user slot of 300 entries whose disk fills part-way: every add
// that reported -1 is absent, the slot stays whole, and undoing the adds that
// reported 1 gives back the slot as it was before the batch.
class FullDiskBatchTest : public lextest::EngineTest {
protected:
    static std::string Word(std::mt19937& rng, int letters) {
        std::string w;
        for (int i = 0; i < letters; ++i) w += static_cast<char>('a' + rng() % 26);
        return w;
    }
};

TEST_F(FullDiskBatchTest, AddsThatFailLeaveNothing) {
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(1, Add(Word(rng, 4 + i % 6), Word(rng, 10)));
    ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
    std::vector<std::pair<std::string, std::string>> batch;
    for (int i = 0; i < 200; ++i) batch.push_back({Word(rng, 4 + i % 6) + "q", Word(rng, 10)});
    const std::vector<std::string> before = Dump();
    const std::vector<Bytes> pristine = Snapshot();
    auto restore = [&] {
        const auto& s = settings;
        const std::string* paths[] = {
            &s.CdWordsPaths[0],   &s.CdTranslationsPaths[0],   &s.KeyIndexPaths[0], &s.NodePaths[0],
            &s.UserWordsPaths[0], &s.UserTranslationsPaths[0], &s.ActionLogPath};
        for (size_t i = 0; i < pristine.size(); ++i) WriteFileBytes(*paths[i], pristine[i]);
    };
    FullDisk disk(files);
    lex::EngineContext diskCtx(settings, disk, display, hooks);
    auto runBatch = [&](std::vector<int>& results) {
        results.clear();
        for (const auto& e : batch) {
            std::string tr = e.second;
            const int64_t roomBefore = disk.Room;
            const int r =
                lex::RunSlotCommand(diskCtx, 0, [&] { return lex::AddEntry(diskCtx, e.first, "", tr, 1); });
            results.push_back(r == lex::kCommandNoAccess ? -1 : r);
            // A failed add leaves every file at its old size: the room it took is free again.
            if (r != 1) {
                EXPECT_EQ(roomBefore, disk.Room) << e.first;
            }
        }
    };
    std::vector<int> results;
    runBatch(results);
    // What the batch made the files grow by (room a step takes for a while
    // and gives back, as the note of a step, not counted).
    int64_t needed = 0;
    const std::vector<Bytes> full = Snapshot();
    for (size_t i = 0; i < full.size(); ++i)
        needed += static_cast<int64_t>(full[i].size()) - static_cast<int64_t>(pristine[i].size());
#ifdef _WIN32
    const int eighths[] = {2, 5};  // under Wine, where every file call is slow
#else
    const int eighths[] = {1, 2, 3, 4, 5, 6, 7};
#endif
    for (int eighth : eighths) {
        // Where the disk fills moves by a byte or two between the runs.
        const int64_t room = needed * eighth / 8 + eighth % 3;
        SCOPED_TRACE("room " + std::to_string(room));
        restore();
        disk.Room = room;
        runBatch(results);
        disk.Room = -1;
        // The disk filled: an add failed (a later, shorter one may fit in the room left).
        ASSERT_NE(results.end(), std::find(results.begin(), results.end(), -1));
        std::set<std::string> listed;
        for (const std::string& line : Dump()) listed.insert(line.substr(0, line.find('|')));
        int added = 0;
        for (size_t i = 0; i < batch.size(); ++i) {
            if (results[i] == 1) ++added;
            EXPECT_EQ(results[i] == 1, listed.count(batch[i].first) == 1) << batch[i].first;
        }
        const Bytes index = ReadFileBytes(settings.KeyIndexPaths[0]);
        const size_t records = index.size() / 9;
        int32_t previous = -1;
        for (size_t r = 0; r < records; ++r) {
            const lex::KeyRecord k =
                lex::KeyRecord::Decode(reinterpret_cast<const uint8_t*>(index.data() + 9 * r));
            EXPECT_GE(k.SortKey, previous) << "record " << r;
            previous = k.SortKey;
        }
        EXPECT_EQ(6377600, previous);
        // Archive save and quick export read every node.
        lex::NodeFileCursor cursor;
        ASSERT_EQ(1, lex::BeginNodeFileCursor(ctx, 0, cursor));
        std::vector<lex::StoredEntry> entries;
        int step;
        while ((step = lex::StepNodeFileCursor(ctx, cursor, 1000, entries)) > 0) {
        }
        EXPECT_EQ(0, step);
        for (int i = 0; i < added; ++i) ASSERT_EQ(1, lex::UndoLastAction(ctx)) << i;
        EXPECT_EQ(before, Dump());
        EXPECT_EQ(0, lex::CanUndo(ctx));
        // With room again the next add works and leaves the key index whole.
        ASSERT_EQ(1, Add("zzz", "konec"));
        EXPECT_EQ(0u, ReadFileBytes(settings.KeyIndexPaths[0]).size() % 9);
        EXPECT_EQ(0, files.OpenCount());
    }
}

}  // namespace

namespace {

class StoppedAddTest : public lextest::EngineTest {
protected:
    int32_t RecordsWritten() {
        const Bytes log = ReadFileBytes(settings.ActionLogPath);
        return lex::GetI32(reinterpret_cast<const uint8_t*>(log.data()));
    }
};

// An add whose files refused every write from the link to its new node on,
// its own taking back included: its record stays until the log is opened
// next. A writer that opens the slot before the log (as the import does)
// takes it back there, through its own handles of the slot.
TEST_F(StoppedAddTest, TakenBackWhenTheLogIsOpenedWithTheSlotOpen) {
    AddFruit();
    const std::vector<std::string> before = Dump();
    const int32_t written = RecordsWritten();
    const std::string nodeFile = lex::SlotFileNames[lex::kGroupNodes][0];
    int nodeWrites = 0;
    files.BeforeWrite = [&](const std::string& path) {
        if (path.find(nodeFile) != std::string::npos && ++nodeWrites == 2) {
            files.FailWritesTo = dir.Sub("");
            files.FailAfterWrites = 0;
        }
    };
    EXPECT_EQ(-1, Add("kiwi", "kiwi"));
    files.BeforeWrite = nullptr;
    files.FailWritesTo.clear();
    ASSERT_EQ(written + 1, RecordsWritten());

    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenWriteDenyWrite));
    EXPECT_EQ(1, lex::OpenActionLog(ctx));
    lex::CloseActionLog(ctx);
    lex::CloseSlotFiles(ctx);
    EXPECT_EQ(written, RecordsWritten());
    EXPECT_EQ(before, Dump());
    // The next Undo takes back the command before the add.
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(before.size() - 1, Dump().size());
    EXPECT_EQ(0, files.OpenCount());
}

}  // namespace

namespace {

// A node file that ends in a part of a node (a full disk cut the write of a
// node short, and the writer was killed before it could cut it off): the
// next add writes its node over that part, on the 19-byte grid, so that the
// readers in file order (archive save, export, search) read every node.
class PartNodeTest : public lextest::EngineTest {};

TEST_F(PartNodeTest, NextNodeWritesOverAPartOfANode) {
    AddFruit();
    const std::string nodePath = settings.NodePaths[0];
    const Bytes pristine = ReadFileBytes(nodePath);
    ASSERT_EQ(0u, (pristine.size() - 40) % 19);
    const Bytes lastNode = pristine.substr(pristine.size() - 19);
    const std::vector<std::string> expected = {"apple", "banana", "cherry", "date", "fig", "kiwi"};
    for (size_t part = 1; part < 19; ++part) {
        SCOPED_TRACE(std::to_string(part) + " bytes of a node");
        WriteFileBytes(nodePath, pristine + lastNode.substr(0, part));
        const std::vector<Bytes> others = Snapshot();
        ASSERT_EQ(1, Add("kiwi", "kiwi"));
        const Bytes nodes = ReadFileBytes(nodePath);
        EXPECT_EQ(pristine.size() + 19, nodes.size());
        // In file order every node reads, the new one last.
        lex::NodeFileCursor cursor;
        ASSERT_EQ(1, lex::BeginNodeFileCursor(ctx, 0, cursor));
        std::vector<lex::StoredEntry> entries;
        int step;
        while ((step = lex::StepNodeFileCursor(ctx, cursor, 1000, entries)) > 0) {
        }
        EXPECT_EQ(0, step);
        std::vector<std::string> words;
        for (const lex::StoredEntry& e : entries) {
            words.push_back(e.Word);
            EXPECT_EQ(0, (e.Offset - lex::kLowSentinelNode) % 19) << e.Word;
        }
        EXPECT_EQ(expected, words);
        // The list shows it where it belongs.
        std::vector<std::string> listed;
        for (const std::string& line : Dump()) listed.push_back(line.substr(0, line.find('|')));
        EXPECT_EQ(std::vector<std::string>({"apple", "banana", "cherry", "fig", "kiwi"}), listed);
        // Put the slot back for the next case.
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        const auto& s = settings;
        WriteFileBytes(s.KeyIndexPaths[0], others[2]);
        WriteFileBytes(s.UserWordsPaths[0], others[4]);
        WriteFileBytes(s.UserTranslationsPaths[0], others[5]);
        WriteFileBytes(s.ActionLogPath, others[6]);
        WriteFileBytes(nodePath, pristine);
    }
    EXPECT_EQ(0, files.OpenCount());
}

}  // namespace
