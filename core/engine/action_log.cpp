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
    return WriteWhole(ctx.Files, h, kLogStateOffset, b, sizeof b);
}

// Records written and the state in one write, so that the two always agree.
bool WriteCounts(EngineContext& ctx, FileHandle h, int32_t written, const ActionRecord& state) {
    uint8_t b[kLogFirstRecord];
    PutI32(b, written);
    state.Encode(b + kLogStateOffset);
    return WriteWhole(ctx.Files, h, 0, b, sizeof b);
}

bool IsTranslationAction(uint8_t action) { return action == kActionDeleted || action == kActionAdded; }

// What the files of a slot hold of the change one record names.
struct RecordData {
    bool TranslationWhole = false;  // the record's head and text lie inside the file
    TranslationHead Head;
    bool NodeWhole = false;
    WordNode Node;
    bool NodeIsLast = false;  // no whole node follows it in the file (it may be new)
    // The neighbours the node's links name.
    bool PrevRead = false, NextRead = false;
    WordNode Prev, Next;
    bool ChainRead = false;  // the node's chain in the user translations file
    bool Reachable = false;  // the record's translation is in that chain
    bool OtherLive = false;  // a live translation besides the record's is in it
};

// 1 found, 0 outside the file, -1 a read error.
int ReadNodeInside(EngineContext& ctx, FileHandle nodes, int64_t nodeSize, int32_t at, WordNode& node) {
    if (at < kLowSentinelNode || static_cast<int64_t>(at) + static_cast<int64_t>(WordNode::kSize) > nodeSize)
        return 0;
    uint8_t b[WordNode::kSize];
    if (!ReadAt(ctx.Files, nodes, at, b, sizeof b)) return -1;
    node = WordNode::Decode(b);
    return 1;
}

// 1, -1 on a read error. The neighbours are read with `neighbours`, and for
// a node appended last (it may be a new one, not yet linked both ways).
int ReadRecordData(EngineContext& ctx, FileHandle nodes, FileHandle userTr, const ActionRecord& rec,
                   RecordData& d, bool neighbours = true) {
    d = RecordData();
    FileSystem& fs = ctx.Files;
    const int64_t nodeSize = fs.Size(nodes), trSize = fs.Size(userTr);
    if (nodeSize < 0 || trSize < 0) return -1;
    const int64_t head = TranslationHead::kSize;
    if (rec.Translation >= kFirstUserTranslation && rec.Translation + head <= trSize) {
        uint8_t b[TranslationHead::kSize];
        if (!ReadAt(fs, userTr, rec.Translation, b, sizeof b)) return -1;
        d.Head = TranslationHead::Decode(b);
        d.TranslationWhole = rec.Translation + head + d.Head.Length <= trSize;
    }
    const int found = ReadNodeInside(ctx, nodes, nodeSize, rec.Node, d.Node);
    if (found <= 0) return found < 0 ? -1 : 1;
    d.NodeWhole = true;
    d.NodeIsLast = static_cast<int64_t>(rec.Node) + 2 * static_cast<int64_t>(WordNode::kSize) > nodeSize;
    if (neighbours || d.NodeIsLast) {
        int r = ReadNodeInside(ctx, nodes, nodeSize, d.Node.Previous, d.Prev);
        if (r < 0) return -1;
        d.PrevRead = r == 1;
        r = ReadNodeInside(ctx, nodes, nodeSize, d.Node.Next, d.Next);
        if (r < 0) return -1;
        d.NextRead = r == 1;
    }
    if (d.Node.Flags & kFlagCd) return 1;
    if (d.TranslationWhole && d.Node.FirstTranslation == rec.Translation && d.Head.Next == 0) {
        // A chain of the record's translation alone (a new word's).
        d.ChainRead = d.Reachable = true;
        return 1;
    }
    std::vector<ChainRecord> chain;
    if (ReadChain(ctx, userTr, d.Node.FirstTranslation, kFirstUserTranslation, false, chain) == 1) {
        d.ChainRead = true;
        for (const ChainRecord& c : chain) {
            if (c.Offset == rec.Translation)
                d.Reachable = true;
            else if (!c.Head.Deleted())
                d.OtherLive = true;
        }
    }
    return 1;
}

// How the list holds a record's node. A new node is appended last and its
// neighbours linked to it one after the other (first the one before it):
// a node that is not linked, or linked from the one before it only, is a new
// node whose add stopped half-way. Other link states are damage.
enum class NodeLinks { kLinked, kNotLinked, kFromPrevious, kDamaged };

NodeLinks LinksOf(const ActionRecord& rec, const RecordData& d) {
    if (!d.NodeWhole || !d.PrevRead || !d.NextRead) return NodeLinks::kDamaged;
    const bool prevLinks = d.Prev.Next == rec.Node, nextLinks = d.Next.Previous == rec.Node;
    if (prevLinks && nextLinks) return NodeLinks::kLinked;
    if (!d.NodeIsLast || d.Next.Previous != d.Node.Previous) return NodeLinks::kDamaged;
    if (prevLinks) return NodeLinks::kFromPrevious;
    return d.Prev.Next == d.Node.Next ? NodeLinks::kNotLinked : NodeLinks::kDamaged;
}

// The translation carries the flag the record gave it.
bool FlagAgrees(const ActionRecord& rec, const RecordData& d) {
    return d.TranslationWhole && d.Head.Deleted() == (rec.Action == kActionDeleted);
}

// The record's change is in the files in full: for an addition, the
// translation is live in the chain of a live node that the list links to
// (an add makes a new node live once both neighbours link to it; a node
// appended after it was added completely).
bool InEffect(const ActionRecord& rec, const RecordData& d) {
    if (!FlagAgrees(rec, d)) return false;
    if (rec.Action != kActionAdded) return true;
    if (!d.NodeWhole || d.Node.Deleted() || !d.Reachable) return false;
    return !d.NodeIsLast || LinksOf(rec, d) == NodeLinks::kLinked;
}

// Whether the files show how the record's change was written, so that
// TakeBack can take it back; if not, they are damaged and left alone.
bool CanTakeBack(const ActionRecord& rec, const RecordData& d) {
    const bool added = rec.Action == kActionAdded;
    // A translation not written in full, or an addition without its node,
    // was never part of a chain.
    if (!d.TranslationWhole || (added && !d.NodeWhole) || !added) return true;
    const NodeLinks links = LinksOf(rec, d);
    return links != NodeLinks::kDamaged && (links != NodeLinks::kLinked || d.ChainRead);
}

// Takes back what the files hold of the record's change, as an Undo would
// (the word count aside): the translation's flag goes back; a new node that
// is linked from one side only is unlinked again, and a node that is not in
// the list, or kept alive by this translation alone, is marked deleted with
// its translation (archive save, export and search read the nodes in file
// order). 1 done; 0 when the files are damaged (nothing written); -1 on a
// write failure.
int TakeBack(EngineContext& ctx, FileHandle nodes, FileHandle userTr, const ActionRecord& rec,
             const RecordData& d) {
    if (!CanTakeBack(rec, d)) return 0;
    const bool added = rec.Action == kActionAdded;
    if (!d.TranslationWhole || (added && !d.NodeWhole)) return 1;
    const NodeLinks links = added ? LinksOf(rec, d) : NodeLinks::kLinked;
    if (d.Head.Deleted() != added) {
        TranslationHead head = d.Head;
        if (added)
            head.Flags |= kFlagDeleted;
        else
            head.Flags &= static_cast<uint8_t>(~kFlagDeleted);
        if (!WriteHead(ctx, userTr, rec.Translation, head)) return -1;
    }
    if (!added) return 1;
    if (links == NodeLinks::kFromPrevious) {
        WordNode p = d.Prev;
        p.Next = d.Node.Next;
        if (!WriteNodeRecord(ctx, nodes, d.Node.Previous, p)) return -1;
    }
    const bool alone = links != NodeLinks::kLinked || (d.Reachable && !d.OtherLive);
    if (alone && !d.Node.Deleted()) {
        WordNode node = d.Node;
        node.Flags |= kFlagDeleted;
        if (!WriteNodeRecord(ctx, nodes, rec.Node, node)) return -1;
    }
    return 1;
}

// The flags the record's node should have after its chain: deleted when no
// live translation is left; with `revive`, live again when one is. The node's
// own flags when that cannot be told.
uint8_t FlagsAfterChain(const ActionRecord& rec, const RecordData& d, bool revive) {
    if (!d.ChainRead || (d.Node.Flags & kFlagCd) || LinksOf(rec, d) != NodeLinks::kLinked)
        return d.Node.Flags;
    const bool live = d.OtherLive || (d.Reachable && d.TranslationWhole && !d.Head.Deleted());
    if (!live) return static_cast<uint8_t>(d.Node.Flags | kFlagDeleted);
    if (revive) return static_cast<uint8_t>(d.Node.Flags & ~kFlagDeleted);
    return d.Node.Flags;
}

// Gives the record's node those flags. 1, -1 on a write failure.
int MatchNodeToChain(EngineContext& ctx, FileHandle nodes, const ActionRecord& rec, const RecordData& d,
                     bool revive) {
    WordNode node = d.Node;
    node.Flags = FlagsAfterChain(rec, d, revive);
    if (node.Flags == d.Node.Flags) return 1;
    return WriteNodeRecord(ctx, nodes, rec.Node, node) ? 1 : -1;
}

// The node and user translations files of a record's slot for one step: the
// handles of the slot when the caller has it open already (its share mode
// would keep a second handle for writing out), else files opened for the step.
class RecordFiles {
public:
    explicit RecordFiles(EngineContext& ctx) : ctx_(ctx) {}
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;
    ~RecordFiles() { Close(); }
    bool Open(int slot, int mode) {
        Close();
        if (ctx_.OpenSlot == slot && H(ctx_, kNodeHandle) != kNoFile &&
            H(ctx_, kUserTranslationsHandle) != kNoFile) {
            Nodes = H(ctx_, kNodeHandle);
            UserTr = H(ctx_, kUserTranslationsHandle);
            borrowed_ = true;
            return true;
        }
        Nodes = ctx_.Files.Open(ctx_.Settings.NodePaths[slot], mode);
        if (Nodes != kNoFile) UserTr = ctx_.Files.Open(ctx_.Settings.UserTranslationsPaths[slot], mode);
        if (UserTr != kNoFile) return true;
        Close();
        return false;
    }
    void Close() {
        if (!borrowed_) {
            CloseOwnFile(ctx_, UserTr);
            CloseOwnFile(ctx_, Nodes);
        }
        UserTr = Nodes = kNoFile;
        borrowed_ = false;
    }
    FileHandle Nodes = kNoFile, UserTr = kNoFile;

private:
    EngineContext& ctx_;
    bool borrowed_ = false;
};

// One record's data read from its slot's files (see ReadRecordData): 1; 0
// when they cannot be opened (which proves nothing); -1 on a read error.
int LookAtRecord(EngineContext& ctx, const ActionRecord& rec, RecordData& d, bool neighbours) {
    RecordFiles files(ctx);
    if (!files.Open(rec.Slot, kOpenReadShared)) return 0;
    return ReadRecordData(ctx, files.Nodes, files.UserTr, rec, d, neighbours);
}

// Opens the record's files for writing and runs `mend` on what they hold now.
template <class Mend>
bool MendRecord(EngineContext& ctx, const ActionRecord& rec, Mend mend) {
    RecordFiles files(ctx);
    RecordData d;
    return files.Open(rec.Slot, kOpenWriteDenyWrite) &&
           ReadRecordData(ctx, files.Nodes, files.UserTr, rec, d) == 1 && mend(files, d) == 1;
}

bool Examinable(const ActionRecord& rec) { return IsTranslationAction(rec.Action) && IsValidSlot(rec.Slot); }

// Brings the log in line with the slot files after a writer that stopped
// half-way (killed, or a failure it could not take back at once):
// - a command stopped after appending a record whose change is not in the
//   files in full: what it wrote of it is taken back and the record dropped,
//   so that the next Undo reverts the command before it;
// - a deletion stopped before its last step, marking the word deleted when
//   no translation is left: that step is made;
// - an Undo or Redo stopped after changing a record but before moving the
//   position over it: its node is set as the step sets it and the position
//   moved.
// With `write` false only the counts `c` change (CanUndo, CanRedo). Records
// whose files cannot be opened are taken as they stand. False when the log
// or a slot file cannot be read, or with `write`, written.
bool SettleLog(EngineContext& ctx, FileHandle h, LogCounts& c, bool write) {
    const LogCounts before = c;
    ActionRecord rec;
    RecordData d;
    while (c.Written > 0 && c.Current() == c.Written) {
        if (!ReadRecord(ctx, h, c.Written - 1, rec)) return false;
        if (!Examinable(rec)) break;
        // Mostly the last command's record, with its change in full.
        int r = LookAtRecord(ctx, rec, d, false);
        if (r == 1 && rec.Action == kActionAdded && InEffect(rec, d)) break;
        if (r == 1) r = LookAtRecord(ctx, rec, d, true);
        if (r < 0) return false;
        if (r == 0) break;
        if (InEffect(rec, d)) {
            if (write && rec.Action == kActionDeleted && FlagsAfterChain(rec, d, false) != d.Node.Flags &&
                !MendRecord(ctx, rec, [&](RecordFiles& f, const RecordData& now) {
                    return MatchNodeToChain(ctx, f.Nodes, rec, now, false);
                }))
                return false;
            break;
        }
        // Files that do not show how the record's change was written are
        // damaged: left as they are.
        if (!CanTakeBack(rec, d)) break;
        if (write && !MendRecord(ctx, rec, [&](RecordFiles& f, const RecordData& now) {
                return TakeBack(ctx, f.Nodes, f.UserTr, rec, now);
            }))
            return false;
        c.Written -= 1;
        c.State.Node = c.Written;
    }
    // An Undo stopped after reverting a record; a Redo after applying one.
    for (bool undo : {true, false}) {
        while (undo ? (c.Current() > 0 && c.Current() < c.Written) : c.Current() < c.Written) {
            if (!ReadRecord(ctx, h, undo ? c.Current() - 1 : c.Current(), rec)) return false;
            if (!Examinable(rec)) break;
            int r = LookAtRecord(ctx, rec, d, false);
            if (r == 1 && FlagAgrees(rec, d) != undo) r = LookAtRecord(ctx, rec, d, true);
            if (r < 0) return false;
            if (r == 0 || FlagAgrees(rec, d) == undo) break;
            if (write && FlagsAfterChain(rec, d, true) != d.Node.Flags &&
                !MendRecord(ctx, rec, [&](RecordFiles& f, const RecordData& now) {
                    return MatchNodeToChain(ctx, f.Nodes, rec, now, true);
                }))
                return false;
            c.State.Node += undo ? -1 : 1;
        }
    }
    if (!write || (c.Written == before.Written && c.Current() == before.Current())) return true;
    return WriteCounts(ctx, h, c.Written, c.State);
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
        ok = ok && WriteWhole(fs, userTr, kWordCountOffset, c, sizeof c) &&
             WriteNodeRecord(ctx, nodes, rec.Node, node);
        result = ok ? 1 : -1;
    }
    fs.Close(userTr);
    fs.Close(nodes);
    return result;
}

}  // namespace

namespace detail {

void AbandonLastRecord(EngineContext& ctx, int32_t countWritten) {
    if (ctx.LogHandle == kNoFile || ctx.LogState.Node <= 0) return;
    ActionRecord rec;
    RecordData d;
    const FileHandle nodes = H(ctx, kNodeHandle), userTr = H(ctx, kUserTranslationsHandle);
    if (nodes == kNoFile || userTr == kNoFile || !ReadRecord(ctx, ctx.LogHandle, ctx.LogState.Node - 1, rec) ||
        ReadRecordData(ctx, nodes, userTr, rec, d) != 1 || TakeBack(ctx, nodes, userTr, rec, d) != 1)
        return;
    if (countWritten != 0 && AdjustWordCount(ctx, -countWritten) != 1) return;
    ActionRecord state = ctx.LogState;
    state.Node -= 1;
    if (!WriteCounts(ctx, ctx.LogHandle, state.Node, state)) return;
    ctx.LogState = state;
    ctx.LogRecordsWritten = state.Node;
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
    if (!ReadCounts(ctx, h, c) || !SettleLog(ctx, h, c, true) ||
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
    if (!WriteWhole(ctx.Files, ctx.LogHandle, RecordOffset(ctx.LogState.Node), b, sizeof b)) return -1;
    ActionRecord state = ctx.LogState;
    state.Node += 1;
    if (!WriteCounts(ctx, ctx.LogHandle, state.Node, state)) return -1;
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
    bool ok = ReadCounts(ctx, h, c) && SettleLog(ctx, h, c, false);
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
    if (!ReadCounts(ctx, h, c) || !SettleLog(ctx, h, c, true) || !HasStep(c, undo) ||
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

namespace {

// A command that could not open the log or a slot's files.
int NoAccess(EngineContext& ctx) {
    ctx.Failure = EngineFailure::NotOpened;
    return kCommandNoAccess;
}

}  // namespace

int RunSlotCommand(EngineContext& ctx, int slot, const std::function<int()>& edit) {
    RestartFailures(ctx);
    if (OpenActionLog(ctx) != 1) return NoAccess(ctx);
    SetActionSlot(ctx, slot);
    int result = kCommandNoAccess;
    if (OpenSlotFiles(ctx, slot, kOpenWriteDenyWrite) == 1) {
        result = edit();
        CloseSlotFiles(ctx);
    }
    CloseActionLog(ctx);
    return result == kCommandNoAccess ? NoAccess(ctx) : result;
}

int RunSlotCommand(EngineContext& ctx, const SlotEdit& first, const SlotEdit& second) {
    RestartFailures(ctx);
    if (OpenActionLog(ctx) != 1) return NoAccess(ctx);
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
    return result == kCommandNoAccess ? NoAccess(ctx) : result;
}

}  // namespace lex
