// The action log: every translation added or deleted, in groups of one user
// command each, for undo and redo.
#include <climits>

#include "engine_internal.h"

namespace lex {

using namespace detail;

namespace {

struct LogCounts {
    int32_t Written = 0;
    ActionRecord State;
    int32_t Current() const { return State.Node; }
};

int64_t RecordOffset(int32_t index) {
    return kLogFirstRecord + static_cast<int64_t>(ActionRecord::kSize) * index;
}

// Reads records written and the state, and checks them against the file size.
bool ReadCounts(EngineContext& ctx, FileHandle h, LogCounts& c) {
    uint8_t b[4 + ActionRecord::kSize];
    if (!ReadAt(ctx.Files, h, 0, b, sizeof b)) return false;
    c.Written = GetI32(b);
    c.State = ActionRecord::Decode(b + 4);
    const int64_t size = ctx.Files.Size(h);
    return c.Current() >= 0 && c.Written >= c.Current() && RecordOffset(c.Written) <= size;
}

// Record `index`; index -1 reads the state block in front of record 0.
bool ReadRecord(EngineContext& ctx, FileHandle h, int32_t index, ActionRecord& rec) {
    uint8_t b[ActionRecord::kSize];
    if (!ReadAt(ctx.Files, h, RecordOffset(index), b, sizeof b)) return false;
    rec = ActionRecord::Decode(b);
    return true;
}

bool WriteState(EngineContext& ctx, FileHandle h, const ActionRecord& state) {
    uint8_t b[ActionRecord::kSize];
    state.Encode(b);
    return WriteAt(ctx.Files, h, kLogStateOffset, b, sizeof b);
}

// Sets (`deleted`) or clears the deleted flag of one logged translation and of
// its node as far as the chain asks for, and moves the word count with it.
int ApplyRecord(EngineContext& ctx, const ActionRecord& rec, bool deleted) {
    const DictionarySettings& s = ctx.Settings;
    FileSystem& fs = ctx.Files;
    FileHandle nodes = fs.Open(s.NodePaths[rec.Slot], kOpenWriteDenyWrite);
    if (nodes == kNoFile) return -1;
    FileHandle userTr = fs.Open(s.UserTranslationsPaths[rec.Slot], kOpenWriteDenyWrite);
    if (userTr == kNoFile) {
        fs.Close(nodes);
        return -1;
    }
    int result = -1;
    uint8_t b[TranslationHead::kSize], c[4];
    WordNode node;
    std::vector<ChainRecord> chain;
    if (rec.Translation >= kFirstUserTranslation &&
        ReadAt(fs, userTr, rec.Translation, b, sizeof b) &&
        ReadNodeRecord(ctx, nodes, rec.Node, node) &&
        ReadAt(fs, userTr, kWordCountOffset, c, sizeof c)) {
        TranslationHead head = TranslationHead::Decode(b);
        if (deleted) {
            head.Flags |= kFlagDeleted;
        } else {
            head.Flags &= static_cast<uint8_t>(~kFlagDeleted);
            node.Flags &= static_cast<uint8_t>(~kFlagDeleted);
        }
        PutU32(c, static_cast<uint32_t>(GetI32(c)) + (deleted ? 0xFFFFFFFFu : 1u));
        bool ok = WriteHead(ctx, userTr, rec.Translation, head);
        if (ok && deleted) {
            // The word goes when its last live translation goes.
            ok = ReadChain(ctx, userTr, node.FirstTranslation, kFirstUserTranslation, false,
                           chain) == 1;
            bool live = false;
            for (const ChainRecord& r : chain) live = live || !r.Head.Deleted();
            if (ok && !live) node.Flags |= kFlagDeleted;
        }
        ok = ok && WriteAt(fs, userTr, kWordCountOffset, c, sizeof c) &&
             WriteNodeRecord(ctx, nodes, rec.Node, node);
        result = ok ? 1 : -1;
    }
    fs.Close(userTr);
    fs.Close(nodes);
    return result;
}

bool IsTranslationAction(uint8_t action) { return action == kActionDeleted || action == kActionAdded; }

// Whether the slot files lack the node or the translation record that `rec`
// names (or hold only part of them): the data of a command that was stopped
// after its record was appended. A file that cannot be opened proves nothing.
bool DataNeverWritten(EngineContext& ctx, const ActionRecord& rec) {
    if (!IsTranslationAction(rec.Action) || !IsValidSlot(rec.Slot)) return false;
    if (rec.Node < kLowSentinelNode || rec.Translation < kFirstUserTranslation) return true;
    FileSystem& fs = ctx.Files;
    FileHandle nodes = fs.Open(ctx.Settings.NodePaths[rec.Slot], kOpenReadShared);
    if (nodes == kNoFile) return false;
    const int64_t nodeSize = fs.Size(nodes);
    fs.Close(nodes);
    FileHandle userTr = fs.Open(ctx.Settings.UserTranslationsPaths[rec.Slot], kOpenReadShared);
    if (userTr == kNoFile) return false;
    const int64_t trSize = fs.Size(userTr);
    bool missing = nodeSize < 0 || trSize < 0 ||
                   static_cast<int64_t>(rec.Node) + static_cast<int64_t>(WordNode::kSize) > nodeSize ||
                   static_cast<int64_t>(rec.Translation) + static_cast<int64_t>(TranslationHead::kSize) > trSize;
    if (!missing) {
        uint8_t b[TranslationHead::kSize];
        if (ReadAt(fs, userTr, rec.Translation, b, sizeof b)) {
            const TranslationHead head = TranslationHead::Decode(b);
            missing = static_cast<int64_t>(rec.Translation) + static_cast<int64_t>(TranslationHead::kSize) +
                          head.Length > trSize;
        }
    }
    fs.Close(userTr);
    return missing;
}

// Takes the trailing records whose data was never written out of the counts
// `c` (a command stopped between appending its record and writing its data
// never happened). With `h` open for writing, the log is mended on disk too.
// False when the log cannot be read or written.
bool DropUnwrittenRecords(EngineContext& ctx, FileHandle h, LogCounts& c, bool write) {
    bool dropped = false;
    while (c.Written > 0) {
        ActionRecord last;
        if (!ReadRecord(ctx, h, c.Written - 1, last)) return false;
        if (!DataNeverWritten(ctx, last)) break;
        c.Written -= 1;
        if (c.State.Node > c.Written) c.State.Node = c.Written;
        dropped = true;
    }
    if (!dropped || !write) return true;
    uint8_t w[4];
    PutI32(w, c.Written);
    return WriteAt(ctx.Files, h, 0, w, 4) && WriteState(ctx, h, c.State);
}

}  // namespace

namespace detail {

void RetractActionRecord(EngineContext& ctx) {
    if (ctx.LogHandle == kNoFile || ctx.LogState.Node <= 0) return;
    ctx.LogState.Node -= 1;
    ctx.LogRecordsWritten = ctx.LogState.Node;
    uint8_t b[4];
    PutI32(b, ctx.LogRecordsWritten);
    WriteAt(ctx.Files, ctx.LogHandle, 0, b, 4);
    WriteState(ctx, ctx.LogHandle, ctx.LogState);
}

}  // namespace detail

int CreateActionLog(EngineContext& ctx, const std::string& path) {
    FileHandle h = ctx.Files.Create(path);
    if (h == kNoFile) return -1;
    uint8_t zero[kLogFirstRecord] = {};
    bool ok = ctx.Files.Write(h, zero, sizeof zero) == static_cast<int32_t>(sizeof zero);
    ctx.Files.Close(h);
    return ok ? 1 : -1;
}

int OpenActionLog(EngineContext& ctx) {
    CloseActionLog(ctx);
    FileHandle h = ctx.Files.Open(ctx.Settings.ActionLogPath, kOpenWriteExclusive);
    if (h == kNoFile) return -1;
    LogCounts c;
    ActionRecord last;
    // A group number that cannot be followed is damage, never wrapped around.
    if (!ReadCounts(ctx, h, c) || !DropUnwrittenRecords(ctx, h, c, true) ||
        !ReadRecord(ctx, h, c.Current() - 1, last) || last.Group < 0 || last.Group == INT32_MAX) {
        ctx.Files.Close(h);
        return -1;
    }
    ctx.LogHandle = h;
    ctx.LogState = c.State;
    ctx.LogRecordsWritten = c.Written;
    ctx.CurrentGroup = last.Group + 1;
    return 1;
}

void SetActionSlot(EngineContext& ctx, int slot) { ctx.ActionSlot = static_cast<uint8_t>(slot); }

int AppendActionRecord(EngineContext& ctx, uint8_t action, int32_t node, int32_t translation) {
    if (ctx.LogHandle == kNoFile) return -1;
    ActionRecord rec{action, ctx.ActionSlot, ctx.CurrentGroup, node, translation};
    uint8_t b[ActionRecord::kSize];
    rec.Encode(b);
    if (!WriteAt(ctx.Files, ctx.LogHandle, RecordOffset(ctx.LogState.Node), b, sizeof b)) return -1;
    ActionRecord state = ctx.LogState;
    state.Node += 1;
    uint8_t w[4];
    PutI32(w, state.Node);
    if (!WriteAt(ctx.Files, ctx.LogHandle, 0, w, 4) || !WriteState(ctx, ctx.LogHandle, state))
        return -1;
    ctx.LogState = state;
    ctx.LogRecordsWritten = state.Node;
    return 1;
}

void CloseActionLog(EngineContext& ctx) {
    if (ctx.LogHandle != kNoFile) ctx.Files.Close(ctx.LogHandle);
    ctx.LogHandle = kNoFile;
}

namespace {

// Whether the log holds a step to take: a record before the current position
// (undo) or one at it (redo).
bool HasStep(const LogCounts& c, bool undo) {
    return undo ? c.Current() > 0 : c.Current() < c.Written;
}

// The record the next step applies.
int32_t NextStep(const LogCounts& c, bool undo) { return undo ? c.Current() - 1 : c.Current(); }

int CanStep(EngineContext& ctx, bool undo) {
    FileHandle h = ctx.Files.Open(ctx.Settings.ActionLogPath, kOpenReadShared);
    if (h == kNoFile) return 0;
    LogCounts c;
    bool ok = ReadCounts(ctx, h, c) && DropUnwrittenRecords(ctx, h, c, false);
    ctx.Files.Close(h);
    if (!ok) return -1;
    return HasStep(c, undo) ? 1 : 0;
}

// Takes back (undo) or applies again (redo) the group of records next to the
// current position, moving the position over it record by record.
int StepGroup(EngineContext& ctx, bool undo) {
    FileSystem& fs = ctx.Files;
    FileHandle h = fs.Open(ctx.Settings.ActionLogPath, kOpenWriteExclusive);
    if (h == kNoFile) return -1;
    auto fail = [&] {
        fs.Close(h);
        return -1;
    };
    LogCounts c;
    ActionRecord rec;
    if (!ReadCounts(ctx, h, c) || !DropUnwrittenRecords(ctx, h, c, true) || !HasStep(c, undo) ||
        !ReadRecord(ctx, h, NextStep(c, undo), rec))
        return fail();
    // The records whose translation this step deletes: undo takes back an
    // addition, redo repeats a deletion; the others get theirs back.
    const uint8_t deleting = undo ? kActionAdded : kActionDeleted;
    const int32_t group = rec.Group;
    while (rec.Group == group) {
        if (rec.Slot >= kSlotCount) return fail();
        if (IsTranslationAction(rec.Action) && ApplyRecord(ctx, rec, rec.Action == deleting) != 1)
            return fail();
        c.State.Node += undo ? -1 : 1;
        if (!WriteState(ctx, h, c.State)) return fail();
        if (!HasStep(c, undo)) break;
        if (!ReadRecord(ctx, h, NextStep(c, undo), rec)) return fail();
    }
    fs.Close(h);
    return 1;
}

}  // namespace

int CanUndo(EngineContext& ctx) { return CanStep(ctx, true); }
int CanRedo(EngineContext& ctx) { return CanStep(ctx, false); }
int UndoLastAction(EngineContext& ctx) { return StepGroup(ctx, true); }
int RedoAction(EngineContext& ctx) { return StepGroup(ctx, false); }

int RunSlotCommand(EngineContext& ctx, int slot, const std::function<int()>& edit) {
    if (OpenActionLog(ctx) != 1) return kCommandNoAccess;
    SetActionSlot(ctx, slot);
    int result = kCommandNoAccess;
    if (OpenSlotFiles(ctx, slot, kOpenWriteDenyWrite) == 1) {
        result = edit();
        CloseSlotFiles(ctx);
    }
    CloseActionLog(ctx);
    return result;
}

int RunSlotCommand(EngineContext& ctx, const SlotEdit& first, const SlotEdit& second) {
    if (OpenActionLog(ctx) != 1) return kCommandNoAccess;
    int result = 1;
    for (const SlotEdit* side : {&first, &second}) {
        if (!side->Edit) continue;
        if (!IsValidSlot(side->Slot) || OpenSlotFiles(ctx, side->Slot, kOpenWriteDenyWrite) != 1) {
            result = kCommandNoAccess;
            break;
        }
        SetActionSlot(ctx, side->Slot);
        const int edited = side->Edit();
        CloseSlotFiles(ctx);
        if (edited == -1) {
            result = -1;
            break;
        }
    }
    CloseActionLog(ctx);
    return result;
}

}  // namespace lex
