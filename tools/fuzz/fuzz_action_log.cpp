// The action log over a small slot: a script of user commands (adds,
// deletions, a command over both directions), Undo and Redo, each possibly
// failed, written short or killed at one of its changes, and damaged logs
// (a forged last record, a byte of the log changed). Properties:
//   walk    after every step (a killed one settled by the next opening of the
//           log) both slots are sound (fuzz_support.h: LookAtSlot) and the
//           engine's own walk reads the same entries;
//   canundo CanUndo (and CanRedo) answering 0 means Undo (Redo) does nothing;
//           on a sound log answering 1 means it works;
//   undo    one Undo after a command gives the entries before it, one Redo
//           after that the entries after it (pronunciations aside: an
//           Undo does not take back one that an addition changed);
//   settle  opening a log whose last record does not describe the files (its
//           translation is not in its node's chain, nor, for an addition, the
//           record that ends the user translations file) writes nothing;
//   keys, count: see LookAtSlot.
// Script: one byte per operation (the low four bits), its arguments after it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/testing/faulty_file_system.h"
#include "fuzz_support.h"

namespace {

using lexfuzz::Check;
using lexfuzz::PropertyOn;

const char* const kWords[] = {"apple", "banana", "cherry", "date", "fig", "melon", "kiwi", "ab"};
const char* const kPronunciations[] = {"\xe6pl", "b\xe6n", "", "", "  ", "", "ki:", ""};
const char* const kTranslations[] = {"jablko", "ban\xe1n", "t\xf8" "e\x9a" "e\xf2", "datle", "f\xedk",
                                     "meloun", ".n. noun", "kiwi"};

using Harness = lexfuzz::EngineHarness;

Harness& TheHarness() {
    static Harness* h = new Harness;
    return *h;
}

struct LogCounts {
    int32_t Written = 0, Current = 0, LastGroup = 0;
    int32_t NextGroup = -1;  // the group of the record Redo applies next; -1: none
    // An Undo or a Redo stopped inside a group.
    bool InsideGroup() const { return Current > 0 && Current < Written && LastGroup == NextGroup; }
};

LogCounts ReadCounts(Harness& h) {
    LogCounts c;
    const std::string log = lexfuzz::FileBytes(*h.files.Inner, h.settings.ActionLogPath).value_or("");
    if (log.size() < 18) return c;
    const auto* b = reinterpret_cast<const uint8_t*>(log.data());
    c.Written = lex::GetI32(b);
    c.Current = lex::GetI32(b + 10);
    const int64_t last = 18 + 14 * int64_t(c.Current - 1);
    if (c.Current > 0 && last + 14 <= int64_t(log.size())) c.LastGroup = lex::GetI32(b + last + 2);
    if (c.Current >= 0 && c.Current < c.Written && last + 28 <= int64_t(log.size()))
        c.NextGroup = lex::GetI32(b + last + 16);
    return c;
}

std::vector<std::optional<std::string>> DiskFiles(Harness& h, int slot) {
    lex::FileSystem& fs = *h.files.Inner;
    const auto& s = h.settings;
    return {lexfuzz::FileBytes(fs, s.KeyIndexPaths[slot]), lexfuzz::FileBytes(fs, s.NodePaths[slot]),
            lexfuzz::FileBytes(fs, s.UserWordsPaths[slot]), lexfuzz::FileBytes(fs, s.UserTranslationsPaths[slot])};
}

// Whether the translation record at `tr` is in the chain of the node at `node`
// of the files as they are.
bool InChainOf(Harness& h, int slot, int32_t node, int32_t tr) {
    lex::FileSystem& fs = *h.files.Inner;
    const std::string nodes = lexfuzz::FileBytes(fs, h.settings.NodePaths[slot]).value_or("");
    const std::string userTr = lexfuzz::FileBytes(fs, h.settings.UserTranslationsPaths[slot]).value_or("");
    if (node < lex::kLowSentinelNode || int64_t(node) + 19 > int64_t(nodes.size())) return false;
    const lex::WordNode n = lex::WordNode::Decode(reinterpret_cast<const uint8_t*>(nodes.data()) + node);
    if (!(n.Flags & lex::kFlagDisk)) return false;
    int guard = 0;
    for (int32_t t = n.FirstTranslation; t >= lex::kFirstUserTranslation && int64_t(t) + 6 <= int64_t(userTr.size()) &&
                                         guard < 100000;
         ++guard) {
        if (t == tr) return true;
        t = lex::TranslationHead::Decode(reinterpret_cast<const uint8_t*>(userTr.data()) + t).Next;
    }
    return false;
}

// The translation record that ends the user translations file is at `tr`.
bool EndsTranslations(Harness& h, int slot, int32_t tr) {
    const std::string userTr = lexfuzz::FileBytes(*h.files.Inner, h.settings.UserTranslationsPaths[slot]).value_or("");
    if (tr < lex::kFirstUserTranslation || int64_t(tr) + 6 > int64_t(userTr.size())) return false;
    const uint8_t length = static_cast<uint8_t>(userTr[tr + 5]);
    return int64_t(tr) + 6 + length == int64_t(userTr.size());
}

// The state of both slots after a step: sound, and read alike by the engine.
void CheckSlots(Harness& h, const char* step) {
    if (!PropertyOn("walk")) return;
    for (int slot = 0; slot < 2; ++slot) {
        const lexfuzz::SlotState s = lexfuzz::LookAtSlot(*h.files.Inner, h.settings, slot);
        Check(s.Problem.empty(), std::string("after ") + step + ": " + s.Problem);
        Check(lexfuzz::EngineWalk(h.ctx, slot) == s.Entries,
              std::string("after ") + step + ": the engine's walk reads slot " + std::to_string(slot) +
                  " otherwise");
    }
}

std::vector<std::string> Entries(Harness& h) {
    std::vector<std::string> all;
    for (int slot = 0; slot < 2; ++slot) {
        const lexfuzz::SlotState s = lexfuzz::LookAtSlot(*h.files.Inner, h.settings, slot);
        all.insert(all.end(), s.Words.begin(), s.Words.end());
        all.push_back("--");
    }
    return all;
}

// What the next opening of the log does after a stopped process.
void Settle(Harness& h) {
    lex::CloseSlotFiles(h.ctx);
    lex::CloseActionLog(h.ctx);
    lex::OpenActionLog(h.ctx);
    lex::CloseActionLog(h.ctx);
}

int Add(Harness& h, int slot, int w, int t) {
    std::string tr = kTranslations[t];
    return lex::RunSlotCommand(h.ctx, slot, [&] { return lex::AddEntry(h.ctx, kWords[w], kPronunciations[w], tr, 1); });
}

void SetUpSlots(Harness& h) {
    h.folder.Clear();
    Check(lex::CreateSlotFiles(h.ctx, 0) == 1 && lex::CreateSlotFiles(h.ctx, 1) == 1 &&
              lex::CreateActionLog(h.ctx, h.settings.ActionLogPath) == 1,
          "the slots cannot be created");
    Check(Add(h, 0, 0, 0) == 1 && Add(h, 0, 0, 6) == 1 && Add(h, 0, 1, 1) == 1 && Add(h, 0, 5, 5) == 1 &&
              Add(h, 1, 0, 0) == 1,
          "the first entries cannot be added");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Harness& h = TheHarness();
    h.files.ClearFaults();
    SetUpSlots(h);
    lexfuzz::Input in(data, size);
    bool damaged = false;           // the log was forged or changed
    bool armed = false;             // a fault waits for the next operation
    lex::testing::FaultCase fault{lex::testing::FaultCase::kFailed, 1};
    std::vector<std::string> beforeCommand, beforeUndo, beforeSplit;
    bool commandGrouped = false, undone = false;
    // An Undo or a Redo stopped inside a group: the Undo that takes back the
    // rest of it is redone as the whole group, to the entries the group
    // gives (known when the stopped step began from them, or right after
    // the Undo of that group).
    bool split = false, splitKnown = false;
    for (int ops = 0; !in.Empty() && ops < 64; ++ops) {
        const uint8_t op = in.Byte() & 15;
        const bool faulty = armed;
        armed = false;
        const bool undoCheck = commandGrouped, redoCheck = undone;
        commandGrouped = undone = false;
        const char* step = "?";
        int result = 0;
        const std::vector<std::string> before = damaged ? std::vector<std::string>() : Entries(h);
        const LogCounts countsBefore = ReadCounts(h);
        if (faulty) fault.Apply(h.files);
        switch (op) {
        case 0:
        case 1:
        case 2: {  // add
            step = "an add";
            const uint8_t a = in.Byte();
            result = Add(h, a & 1, (a >> 1) & 7, (a >> 4) & 7);
            break;
        }
        case 3: {  // delete a word
            step = "a word deletion";
            const uint8_t a = in.Byte();
            result = lex::RunSlotCommand(h.ctx, a & 1, [&] { return lex::DeleteWord(h.ctx, kWords[(a >> 1) & 7]); });
            break;
        }
        case 4: {  // delete a translation
            step = "a translation deletion";
            const uint8_t a = in.Byte();
            std::string tr = kTranslations[(a >> 4) & 7];
            result = lex::RunSlotCommand(h.ctx, a & 1,
                                         [&] { return lex::DeleteTranslation(h.ctx, kWords[(a >> 1) & 7], tr); });
            break;
        }
        case 5: {  // an entry and its reverse entry, one command
            step = "a command over both directions";
            const uint8_t a = in.Byte();
            const int w = a & 7, t = (a >> 3) & 7;
            std::string tr = kTranslations[t], back = kWords[w];
            result = lex::RunSlotCommand(h.ctx, {0, [&] { return lex::AddEntry(h.ctx, kWords[w], kPronunciations[w], tr, 1); }},
                                {1, [&] { return lex::AddEntry(h.ctx, kTranslations[t], "", back, 1); }});
            break;
        }
        case 6:
        case 7: {  // undo, redo
            const bool undo = op == 6;
            step = undo ? "an Undo" : "a Redo";
            h.files.ClearFaults();
            const int can = undo ? lex::CanUndo(h.ctx) : lex::CanRedo(h.ctx);
            if (faulty) fault.Apply(h.files);
            const int done = undo ? lex::UndoLastAction(h.ctx) : lex::RedoAction(h.ctx);
            result = done;
            lexfuzz::Trace(std::string(undo ? "CanUndo " : "CanRedo ") + std::to_string(can));
            if (PropertyOn("canundo") && !faulty) {
                Check(can != 0 || done != 1, std::string(undo ? "CanUndo" : "CanRedo") + " gave 0, yet " + step +
                                                 " took a group");
                if (!damaged && can == 1) Check(done == 1, std::string(step) + " failed on a sound log");
            }
            if (!faulty && !damaged && done == 1 && PropertyOn("undo")) {
                const std::vector<std::string> now = Entries(h);
                if (undo && undoCheck)
                    Check(now == beforeCommand, "one Undo does not give the entries before the command: " +
                                                    lexfuzz::Differ(beforeCommand, now));
                if (!undo && redoCheck)
                    Check(now == beforeUndo, "one Redo does not give the entries before the Undo: " +
                                                 lexfuzz::Differ(beforeUndo, now));
            }
            if (undo && done == 1 && !faulty) {
                undone = !split || splitKnown;
                beforeUndo = split ? beforeSplit : before;
            }
            break;
        }
        case 8: {  // the next operation fails, writes short or is killed at one of its changes
            const uint8_t a = in.Byte();
            const int nth = 1 + in.Byte() % 96;
            fault = {a % 3 == 0 ? lex::testing::FaultCase::kFailed
                                : a % 3 == 1 ? lex::testing::FaultCase::kShort : lex::testing::FaultCase::kKilled,
                     nth};
            armed = true;
            continue;
        }
        case 9: {  // a forged last record
            step = "a forged record";
            h.files.ClearFaults();
            lex::FileSystem& fs = *h.files.Inner;
            std::string log = lexfuzz::FileBytes(fs, h.settings.ActionLogPath).value_or("");
            const LogCounts c = ReadCounts(h);
            const uint8_t a = in.Byte();
            lex::ActionRecord rec;
            rec.Action = (a & 1) ? lex::kActionAdded : lex::kActionDeleted;
            rec.Slot = (a & 2) ? 1 : 0;
            rec.Group = c.LastGroup + ((a & 4) ? 1 : 0);
            const lexfuzz::SlotState s = lexfuzz::LookAtSlot(fs, h.settings, rec.Slot);
            const uint8_t pick = in.Byte();
            // Mostly a node of the list and a record of some chain, possibly a few bytes off.
            std::vector<int32_t> records;
            for (const auto& chain : s.Chains) records.insert(records.end(), chain.second.begin(), chain.second.end());
            if ((a & 8) || s.Nodes.empty())
                rec.Node = in.I32();
            else
                rec.Node = s.Nodes[pick % s.Nodes.size()];
            const int8_t delta = static_cast<int8_t>(in.Byte());
            if ((a & 16) || records.empty())
                rec.Translation = in.I32();
            else
                rec.Translation = records[in.Byte() % records.size()] + ((a & 32) ? delta % 9 : 0);
            if (c.Current < 0 || int64_t(log.size()) < 18 + 14 * int64_t(c.Current)) break;
            log.resize(18 + 14 * size_t(c.Current + 1));
            uint8_t* b = reinterpret_cast<uint8_t*>(&log[0]);
            rec.Encode(b + 18 + 14 * c.Current);
            lex::PutI32(b, c.Current + 1);
            lex::PutI32(b + 10, c.Current + 1);
            Check(lexfuzz::PutFile(fs, h.settings.ActionLogPath, log), "the log cannot be written");
            const bool describes = InChainOf(h, rec.Slot, rec.Node, rec.Translation) ||
                                   (rec.Action == lex::kActionAdded && EndsTranslations(h, rec.Slot, rec.Translation));
            const auto filesBefore = DiskFiles(h, rec.Slot);
            Settle(h);
            if (!describes && PropertyOn("settle"))
                Check(DiskFiles(h, rec.Slot) == filesBefore,
                      "opening the log wrote to slot " + std::to_string(rec.Slot) + " for a record (action " +
                          std::to_string(rec.Action) + ", node " + std::to_string(rec.Node) + ", translation " +
                          std::to_string(rec.Translation) + ") that does not describe its files");
            damaged = true;
            continue;
        }
        case 10: {  // a byte of the log changed
            step = "a damaged log";
            h.files.ClearFaults();
            lex::FileSystem& fs = *h.files.Inner;
            std::string log = lexfuzz::FileBytes(fs, h.settings.ActionLogPath).value_or("");
            const uint16_t at = in.U16();
            const uint8_t value = in.Byte();
            if (!log.empty()) {
                log[at % log.size()] = static_cast<char>(value);
                Check(lexfuzz::PutFile(fs, h.settings.ActionLogPath, log), "the log cannot be written");
            }
            damaged = true;
            break;
        }
        default:  // the log opened and closed (as by the next command)
            step = "an opening of the log";
            lex::OpenActionLog(h.ctx);
            lex::CloseActionLog(h.ctx);
            break;
        }
        h.files.ClearFaults();
        if (faulty) Settle(h);
        {
            const LogCounts c = ReadCounts(h);
            lexfuzz::Trace(std::string(step) + (faulty ? " (" + fault.Name() + ")" : std::string()) + ": log " +
                           std::to_string(c.Current) + "/" + std::to_string(c.Written) + ", result " +
                           std::to_string(result));
        }
        Check(h.files.OpenCount() == 0, std::string("a file stays open after ") + step);
        if (damaged) continue;
        CheckSlots(h, step);
        // A command that left a group of its own: one Undo must take it back.
        const LogCounts after = ReadCounts(h);
        if (!after.InsideGroup()) {
            split = false;
        } else if (!split) {
            split = true;
            splitKnown = op == 6 || (op == 7 && redoCheck);
            beforeSplit = op == 6 ? before : beforeUndo;
        }
        if (op <= 5 && after.Current > countsBefore.Current) {
            commandGrouped = true;
            beforeCommand = before;
        }
    }
    return 0;
}

// Seeds: byte scripts of the operations above. An add's argument byte is
// slot (bit 0) + 2 x word + 16 x translation.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using lexfuzz::Script;
    lexfuzz::WriteSeedsIfAsked([](const lexfuzz::SeedSink& seed) {
        seed("adds-undo-redo", Script({0, 0x24, 0, 0x31, 1, 0x12, 6, 6, 7, 7, 6}));
        seed("delete-word-undo-redo", Script({3, 0x00, 6, 7, 4, 0x02, 6, 3, 0x0a, 6}));
        seed("two-sides-undo-redo", Script({5, 0x1b, 5, 0x02, 6, 7, 6, 6, 7}));
        // Each command killed, failed or written short at one of its changes, then undone.
        seed("killed-add-new-word", Script({8, 2, 7, 0, 0x24, 6, 8, 2, 3, 0, 0x08, 6, 7}));
        seed("killed-add-existing-word", Script({8, 2, 2, 0, 0x40, 6, 8, 2, 5, 1, 0x60, 6}));
        seed("failed-deletions", Script({8, 0, 2, 3, 0x00, 6, 8, 1, 1, 4, 0x02, 6, 7}));
        seed("killed-undo-redo", Script({0, 0x24, 8, 2, 2, 6, 6, 8, 2, 2, 7, 7}));
        // A forged last record that does describe the files (apple's first translation).
        seed("forged-record-in-chain", Script({9, 0x01, 1, 0, 0}));
        seed("damaged-log-byte", Script({10, 22, 0, 0x7f, 6, 7, 15}));
    });
    return 0;
}
