// The action log: every translation added or deleted, in groups of one user
// command each, for undo and redo.
#include <algorithm>
#include <climits>
#include <cstring>
#include <map>

#include "core/files/whole_files.h"
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
    bool TranslationLast = false;   // ...and end the file (a translation appended last)
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
    bool CountRead = false;  // the slot's word count
    int32_t Count = 0;
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
    uint8_t count[4];
    if (trSize >= kFirstUserTranslation && ReadAt(fs, userTr, kWordCountOffset, count, sizeof count)) {
        d.CountRead = true;
        d.Count = GetI32(count);
    }
    const int64_t head = TranslationHead::kSize;
    if (rec.Translation >= kFirstUserTranslation && rec.Translation + head <= trSize) {
        uint8_t b[TranslationHead::kSize];
        if (!ReadAt(fs, userTr, rec.Translation, b, sizeof b)) return -1;
        d.Head = TranslationHead::Decode(b);
        d.TranslationWhole = rec.Translation + head + d.Head.Length <= trSize;
        d.TranslationLast = rec.Translation + head + d.Head.Length == trSize;
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

// The record describes the files: its translation is in its node's chain. Of
// a stopped add to an existing word (its record `noted`, see the notes), the
// new translation may still wait for its link: then it is the record that
// ends the user translations file.
bool Describes(const ActionRecord& rec, const RecordData& d, bool noted) {
    if (!d.TranslationWhole || !d.NodeWhole || (d.Node.Flags & kFlagCd) || !d.ChainRead) return false;
    return d.Reachable ||
           (noted && rec.Action == kActionAdded && d.TranslationLast && LinksOf(rec, d) == NodeLinks::kLinked);
}

// The record's change is in the files in full: for an addition, the
// translation is live in the chain of a live node that the list links to
// (an add makes a new node live once both neighbours link to it; a node
// appended after it was added completely).
bool InEffect(const ActionRecord& rec, const RecordData& d) {
    if (!FlagAgrees(rec, d) || !d.Reachable) return false;
    if (rec.Action != kActionAdded) return true;
    if (!d.NodeWhole || d.Node.Deleted()) return false;
    return !d.NodeIsLast || LinksOf(rec, d) == NodeLinks::kLinked;
}

// Whether the files show how the record's change was written, so that
// TakeBack can take it back; if not, they are damaged and left alone.
bool CanTakeBack(const ActionRecord& rec, const RecordData& d, bool noted) {
    const bool added = rec.Action == kActionAdded;
    // A translation not written in full, or an addition without its node,
    // was never part of a chain.
    if (!d.TranslationWhole || (added && !d.NodeWhole)) return true;
    // A deletion's flag goes back when the translation is in the node's chain.
    if (!added) return d.Reachable;
    // A new node's own translation, or one waiting at the end of the file for its link.
    return LinksOf(rec, d) != NodeLinks::kDamaged && Describes(rec, d, noted);
}

// Takes back what the files hold of the record's change, as an Undo would
// (the word count aside): the translation's flag goes back; a new node that
// is linked from one side only is unlinked again, and a node that is not in
// the list, or kept alive by this translation alone, is marked deleted with
// its translation (archive save, export and search read the nodes in file
// order). 1 done; 0 when the files are damaged (nothing written); -1 on a
// write failure.
int TakeBack(EngineContext& ctx, FileHandle nodes, FileHandle userTr, const ActionRecord& rec,
             const RecordData& d, bool noted) {
    if (!CanTakeBack(rec, d, noted)) return 0;
    const bool added = rec.Action == kActionAdded;
    if (!d.TranslationWhole || (added && !d.NodeWhole)) return 1;
    if (d.Head.Deleted() != added) {
        TranslationHead head = d.Head;
        if (added)
            head.Flags |= kFlagDeleted;
        else
            head.Flags &= static_cast<uint8_t>(~kFlagDeleted);
        if (!WriteHead(ctx, userTr, rec.Translation, head)) return -1;
    }
    if (!added) return 1;
    const NodeLinks links = LinksOf(rec, d);
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
    if (!d.ChainRead || !d.Reachable || (d.Node.Flags & kFlagCd) || LinksOf(rec, d) != NodeLinks::kLinked)
        return d.Node.Flags;
    const bool live = d.OtherLive || (d.TranslationWhole && !d.Head.Deleted());
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

// --- Notes of a step --------------------------------------------------------------
// A step of a command, an Undo or a Redo changes a translation and then, in
// a write of its own, the word count. Before it changes anything it leaves
// a note past the last record of the log: which step it is, the word count
// of its slot before it, and for a new word with a key of its own where its
// key record goes. A settle that finds a step stopped half-way sets the
// count from the note, and puts a key index that the step was moving back
// together. A note is an ActionRecord with an action of its own, right after
// the records (where no reader looks); it goes again when the command, Undo
// or Redo ends, so that a log at rest holds nothing past its records.
constexpr uint8_t kNoteOfAppend = 0x10, kNoteOfUndo = 0x11, kNoteOfRedo = 0x12;

// The note when it is about step `index` (a record) of `kind` in `rec`'s slot.
bool NoteFor(EngineContext& ctx, FileHandle h, const LogCounts& c, uint8_t kind, int32_t index,
             const ActionRecord& rec, ActionRecord& note) {
    return ReadRecord(ctx, h, c.Written, note) && note.Action == kind && note.Group == index &&
           note.Slot == rec.Slot;
}

// How a step moves the word count: an addition or an undone deletion adds one.
int32_t CountDelta(const ActionRecord& rec, bool undo) {
    return (rec.Action == kActionAdded) != undo ? 1 : -1;
}

// The count the slot should hold after a settled step (`kept`: its change
// stays), when the note tells; the count as it is otherwise. A count that is
// neither the one before the step nor the one after it was changed since by
// other means, and is left alone.
int32_t CountAfter(const ActionRecord& note, const RecordData& d, int32_t delta, bool kept) {
    const int32_t before = note.Node, after = static_cast<int32_t>(static_cast<uint32_t>(before) + delta);
    if (!d.CountRead || (d.Count != before && d.Count != after)) return d.Count;
    return kept ? after : before;
}

int SetCount(EngineContext& ctx, FileHandle userTr, const RecordData& d, int32_t count) {
    if (!d.CountRead || d.Count == count) return 1;
    uint8_t b[4];
    PutI32(b, count);
    return WriteWhole(ctx.Files, userTr, kWordCountOffset, b, sizeof b) ? 1 : -1;
}

constexpr int64_t kKeySize = static_cast<int64_t>(KeyRecord::kSize);

// Whether the key record at `position` is the one of `node`; false when
// there is none.
bool KeyRecordIs(EngineContext& ctx, FileHandle keys, int64_t position, int32_t node) {
    uint8_t b[KeyRecord::kSize];
    return position >= 0 && ReadAt(ctx.Files, keys, position, b, sizeof b) && KeyRecord::Decode(b).Node == node;
}

}  // namespace

namespace detail {

// A new key record for `node` was to be put at `position` and is not there:
// the room for it (a copy of the last record) is at the end, or the records
// were moving up into it, leaving one record twice. The one pair of equal
// records at or after `position` is taken out again, and a part of a record
// at the end cut off. 1 done (also when there is nothing to take out); 0
// when the index holds more than one such pair (damage, left alone); -1 on
// a read or write failure.
int TakeBackKeyShift(EngineContext& ctx, FileHandle keys, int64_t position) {
    FileSystem& fs = ctx.Files;
    const int64_t size = fs.Size(keys);
    if (size < 0 || position < kKeySize) return -1;
    const int64_t whole = size - size % kKeySize;
    // No index without its two sentinels; a key record lies on the 9-byte grid.
    if (whole < 2 * kKeySize || position % kKeySize != 0) return 0;
    constexpr int64_t kBlock = 4500;
    uint8_t buffer[kBlock + KeyRecord::kSize];
    int64_t pair = -1;
    // Reads overlap by one record, so that every neighbouring two are compared.
    for (int64_t at = position; at + kKeySize < whole; at += kBlock) {
        const int64_t n = std::min<int64_t>(kBlock + kKeySize, whole - at);
        if (!ReadAt(fs, keys, at, buffer, static_cast<uint32_t>(n))) return -1;
        for (int64_t i = 0; i + 2 * kKeySize <= n; i += kKeySize) {
            if (std::memcmp(buffer + i, buffer + i + kKeySize, KeyRecord::kSize) != 0) continue;
            if (pair >= 0) return 0;
            pair = at + i;
        }
    }
    if (pair >= 0) {
        // The records after the pair move down over its second one, from the front.
        for (int64_t from = pair + 2 * kKeySize; from < whole; from += kBlock) {
            const int64_t n = std::min<int64_t>(kBlock, whole - from);
            if (!ReadAt(fs, keys, from, buffer, static_cast<uint32_t>(n)) ||
                !WriteWhole(fs, keys, from - kKeySize, buffer, static_cast<uint32_t>(n)))
                return -1;
        }
        return fs.Truncate(keys, whole - kKeySize) ? 1 : -1;
    }
    if (whole != size && !fs.Truncate(keys, whole)) return -1;
    return 1;
}

}  // namespace detail

namespace {

// The node and user translations files of a record's slot for one step: the
// handles of the slot when the caller has it open already (its share mode
// would keep a second handle for writing out), else files opened for the step.
// The key index is opened when asked for.
class RecordFiles {
public:
    explicit RecordFiles(EngineContext& ctx) : ctx_(ctx) {}
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;
    ~RecordFiles() { Close(); }
    bool Open(int slot, int mode) {
        Close();
        slot_ = slot;
        mode_ = mode;
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
    FileHandle Keys() {
        if (keys_ != kNoFile || slot_ < 0) return keys_;
        if (borrowed_ && H(ctx_, kKeyIndexHandle) != kNoFile) return keys_ = H(ctx_, kKeyIndexHandle);
        ownKeys_ = true;
        return keys_ = ctx_.Files.Open(ctx_.Settings.KeyIndexPaths[slot_], mode_);
    }
    void Close() {
        if (!borrowed_) {
            CloseOwnFile(ctx_, UserTr);
            CloseOwnFile(ctx_, Nodes);
        }
        if (ownKeys_) CloseOwnFile(ctx_, keys_);
        UserTr = Nodes = keys_ = kNoFile;
        borrowed_ = ownKeys_ = false;
    }
    FileHandle Nodes = kNoFile, UserTr = kNoFile;

private:
    EngineContext& ctx_;
    bool borrowed_ = false, ownKeys_ = false;
    FileHandle keys_ = kNoFile;
    int slot_ = -1, mode_ = kOpenReadShared;
};

// One record's data read from its slot's files (see ReadRecordData): 1; 0
// when they cannot be opened (which proves nothing); -1 on a read error.
// With a note of a new key, whether its key record is in place.
int LookAtRecord(EngineContext& ctx, const ActionRecord& rec, RecordData& d, bool neighbours,
                 const ActionRecord* note = nullptr, bool* keyPlaced = nullptr) {
    RecordFiles files(ctx);
    if (!files.Open(rec.Slot, kOpenReadShared)) return 0;
    const int r = ReadRecordData(ctx, files.Nodes, files.UserTr, rec, d, neighbours);
    if (r == 1 && keyPlaced) {
        *keyPlaced = true;
        if (note && note->Translation > 0) {
            const FileHandle keys = files.Keys();
            if (keys == kNoFile) return 0;
            *keyPlaced = KeyRecordIs(ctx, keys, note->Translation, rec.Node);
        }
    }
    return r;
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
//   moved;
// - the word count of a stopped step is set as the step leaves it (see the
//   notes), and a key index that a stopped new word was moving gets its
//   records back as they were.
// A record that does not describe the files (its translation is not in its
// node's chain) is damage: nothing is written for it, and it stays. Records
// whose files cannot be opened are taken as they stand. False when the log
// or a slot file cannot be read or written. Writes go through ctx.Files
// only: CanUndo and CanRedo settle through files that keep what is written
// in memory, to reach the same state as the Undo and Redo that follow.
bool SettleLog(EngineContext& ctx, FileHandle h, LogCounts& c) {
    const LogCounts before = c;
    ActionRecord rec, note;
    RecordData d;
    // An Undo of the last record stopped before it moved the position is no
    // stopped command: its note tells them apart.
    bool undoOfLast = c.Written > 0 && c.Current() == c.Written && ReadRecord(ctx, h, c.Written - 1, rec) &&
                      NoteFor(ctx, h, c, kNoteOfUndo, c.Written - 1, rec, note);
    while (!undoOfLast && c.Written > 0 && c.Current() == c.Written) {
        const int32_t index = c.Written - 1;
        if (!ReadRecord(ctx, h, index, rec)) return false;
        if (!Examinable(rec)) break;
        const bool noted = NoteFor(ctx, h, c, kNoteOfAppend, index, rec, note);
        const int32_t delta = CountDelta(rec, false);
        bool keyPlaced = true;
        // Mostly the last command's record, with its change in full.
        int r = LookAtRecord(ctx, rec, d, false, noted ? &note : nullptr, &keyPlaced);
        const bool settled = !noted || CountAfter(note, d, delta, true) == d.Count;
        if (r == 1 && rec.Action == kActionAdded && InEffect(rec, d) && settled && keyPlaced) break;
        if (r == 1) r = LookAtRecord(ctx, rec, d, true);
        if (r < 0) return false;
        if (r == 0) break;
        const bool newKey = noted && note.Translation > 0 && !keyPlaced;
        if (InEffect(rec, d)) {
            const bool mend = (rec.Action == kActionDeleted && FlagsAfterChain(rec, d, false) != d.Node.Flags) ||
                              (noted && CountAfter(note, d, delta, true) != d.Count) || newKey;
            if (mend && !MendRecord(ctx, rec, [&](RecordFiles& f, const RecordData& now) {
                    if (rec.Action == kActionDeleted && MatchNodeToChain(ctx, f.Nodes, rec, now, false) != 1)
                        return -1;
                    if (noted && SetCount(ctx, f.UserTr, now, CountAfter(note, now, delta, true)) != 1) return -1;
                    if (newKey && (f.Keys() == kNoFile || TakeBackKeyShift(ctx, f.Keys(), note.Translation) < 0))
                        return -1;
                    return 1;
                }))
                return false;
            break;
        }
        // Files that do not show how the record's change was written are
        // damaged: left as they are.
        if (!CanTakeBack(rec, d, noted)) break;
        if (!MendRecord(ctx, rec, [&](RecordFiles& f, const RecordData& now) {
                const int taken = TakeBack(ctx, f.Nodes, f.UserTr, rec, now, noted);
                if (taken != 1) return taken;
                if (noted && SetCount(ctx, f.UserTr, now, CountAfter(note, now, delta, false)) != 1) return -1;
                if (newKey && (f.Keys() == kNoFile || TakeBackKeyShift(ctx, f.Keys(), note.Translation) < 0))
                    return -1;
                return 1;
            }))
            return false;
        c.Written -= 1;
        c.State.Node = c.Written;
    }
    // An Undo stopped after reverting a record; a Redo after applying one.
    for (bool undo : {true, false}) {
        for (; undo ? (c.Current() > 0 && (c.Current() < c.Written || undoOfLast)) : c.Current() < c.Written;
             undoOfLast = false) {
            const int32_t index = undo ? c.Current() - 1 : c.Current();
            if (!ReadRecord(ctx, h, index, rec)) return false;
            if (!Examinable(rec)) break;
            const bool noted = NoteFor(ctx, h, c, undo ? kNoteOfUndo : kNoteOfRedo, index, rec, note);
            int r = LookAtRecord(ctx, rec, d, false);
            if (r == 1 && FlagAgrees(rec, d) != undo) r = LookAtRecord(ctx, rec, d, true);
            if (r < 0) return false;
            if (r == 0 || FlagAgrees(rec, d) == undo || !d.Reachable) break;
            const int32_t delta = CountDelta(rec, undo);
            const bool mend = FlagsAfterChain(rec, d, true) != d.Node.Flags ||
                              (noted && CountAfter(note, d, delta, true) != d.Count);
            if (mend && !MendRecord(ctx, rec, [&](RecordFiles& f, const RecordData& now) {
                    if (MatchNodeToChain(ctx, f.Nodes, rec, now, true) != 1) return -1;
                    return noted ? SetCount(ctx, f.UserTr, now, CountAfter(note, now, delta, true)) : 1;
                }))
                return false;
            c.State.Node += undo ? -1 : 1;
        }
    }
    if (c.Written == before.Written && c.Current() == before.Current()) return true;
    return WriteCounts(ctx, h, c.Written, c.State);
}

// Sets (`deleted`) or clears the deleted flag of one logged translation and of
// its node as far as the chain asks for, and moves the word count with it:
// step `index` of the log `h` with `c`, noted there first. A record whose
// translation is not in its node's chain is damage: -1, nothing written.
int ApplyRecord(EngineContext& ctx, FileHandle h, const LogCounts& c, int32_t index, const ActionRecord& rec,
                bool deleted, bool undo) {
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
    uint8_t b[TranslationHead::kSize], c4[4];
    WordNode node;
    std::vector<ChainRecord> chain;
    if (rec.Translation >= kFirstUserTranslation &&
        ReadAt(fs, userTr, rec.Translation, b, sizeof b) &&
        ReadNodeRecord(ctx, nodes, rec.Node, node) && !(node.Flags & kFlagCd) &&
        ReadAt(fs, userTr, kWordCountOffset, c4, sizeof c4) &&
        ReadChain(ctx, userTr, node.FirstTranslation, kFirstUserTranslation, false, chain) == 1) {
        bool inChain = false, otherLive = false;
        for (const ChainRecord& r : chain) {
            if (r.Offset == rec.Translation)
                inChain = true;
            else
                otherLive = otherLive || !r.Head.Deleted();
        }
        TranslationHead head = TranslationHead::Decode(b);
        if (deleted) {
            head.Flags |= kFlagDeleted;
            // The word goes when its last live translation goes.
            if (!otherLive) node.Flags |= kFlagDeleted;
        } else {
            head.Flags &= static_cast<uint8_t>(~kFlagDeleted);
            node.Flags &= static_cast<uint8_t>(~kFlagDeleted);
        }
        const int32_t count = GetI32(c4);
        PutU32(c4, static_cast<uint32_t>(count) + (deleted ? 0xFFFFFFFFu : 1u));
        uint8_t n[ActionRecord::kSize];
        ActionRecord{undo ? kNoteOfUndo : kNoteOfRedo, rec.Slot, index, count, 0}.Encode(n);
        const bool ok = inChain && WriteWhole(fs, h, RecordOffset(c.Written), n, sizeof n) &&
                        WriteHead(ctx, userTr, rec.Translation, head) &&
                        WriteWhole(fs, userTr, kWordCountOffset, c4, sizeof c4) &&
                        WriteNodeRecord(ctx, nodes, rec.Node, node);
        result = ok ? 1 : -1;
    }
    fs.Close(userTr);
    fs.Close(nodes);
    return result;
}

// The files of the settle of CanUndo and CanRedo: what is written is kept in
// memory and read back from there, nothing reaches the files. Every file is
// opened for reading with sharing (the settle's own opens for writing would
// be refused beside a writer).
class DryRunFiles : public FileSystem {
public:
    explicit DryRunFiles(FileSystem& inner) : inner_(inner) {}
    FileHandle Open(const std::string& path, int) override {
        const FileHandle h = inner_.Open(path, kOpenReadShared);
        if (h != kNoFile) open_[h] = {path, 0};
        return h;
    }
    FileHandle Create(const std::string&) override { return kNoFile; }
    FileHandle CreateNew(const std::string&) override { return kNoFile; }
    int32_t Read(FileHandle h, void* buffer, uint32_t count) override {
        const int32_t n = ReadSome(h, Where(h), buffer, count);
        if (n > 0) open_[h].at += n;
        return n;
    }
    int32_t Write(FileHandle h, const void* buffer, uint32_t count) override {
        std::string* bytes = Copy(h);
        if (!bytes) return -1;
        const size_t at = static_cast<size_t>(Where(h));
        if (bytes->size() < at + count) bytes->resize(at + count, '\0');
        std::memcpy(&(*bytes)[at], buffer, count);
        open_[h].at += count;
        return static_cast<int32_t>(count);
    }
    int64_t Seek(FileHandle h, int64_t offset) override {
        if (offset < 0 || !open_.count(h)) return -1;
        return open_[h].at = offset;
    }
    int64_t Size(FileHandle h) override {
        if (!open_.count(h)) return -1;
        const auto copy = copies_.find(open_[h].path);
        const int64_t size = copy != copies_.end() ? static_cast<int64_t>(copy->second.size()) : inner_.Size(h);
        open_[h].at = size;
        return size;
    }
    bool Close(FileHandle h) override {
        open_.erase(h);
        return inner_.Close(h);
    }
    bool ReadAt(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        return ReadSome(h, offset, buffer, count) == static_cast<int32_t>(count);
    }
    int32_t ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        if (offset < 0 || !open_.count(h)) return -1;
        const auto copy = copies_.find(open_[h].path);
        if (copy == copies_.end()) return inner_.ReadSome(h, offset, buffer, count);
        const std::string& bytes = copy->second;
        if (static_cast<uint64_t>(offset) >= bytes.size()) return 0;
        const size_t n = std::min<size_t>(count, bytes.size() - static_cast<size_t>(offset));
        std::memcpy(buffer, bytes.data() + offset, n);
        return static_cast<int32_t>(n);
    }
    bool Exists(const std::string& path) override { return copies_.count(path) || inner_.Exists(path); }
    int64_t FileSize(const std::string& path) override {
        const auto copy = copies_.find(path);
        return copy != copies_.end() ? static_cast<int64_t>(copy->second.size()) : inner_.FileSize(path);
    }
    bool Replace(const std::string&, const std::string&) override { return false; }
    bool Remove(const std::string&) override { return false; }
    bool Truncate(FileHandle h, int64_t size) override {
        std::string* bytes = Copy(h);
        if (!bytes || size < 0 || static_cast<uint64_t>(size) > bytes->size()) return false;
        bytes->resize(static_cast<size_t>(size));
        return true;
    }
    void Pause(int milliseconds) override { inner_.Pause(milliseconds); }

private:
    struct OpenedFile {
        std::string path;
        int64_t at;
    };
    int64_t Where(FileHandle h) { return open_.count(h) ? open_[h].at : -1; }
    // The file of `h` in memory, read whole the first time it is written.
    std::string* Copy(FileHandle h) {
        if (!open_.count(h)) return nullptr;
        const std::string& path = open_[h].path;
        auto copy = copies_.find(path);
        if (copy != copies_.end()) return &copy->second;
        const int64_t size = inner_.Size(h);
        if (size < 0 || size > kMaxWholeFileSize) return nullptr;
        std::string bytes(static_cast<size_t>(size), '\0');
        if (size > 0 && !inner_.ReadAt(h, 0, &bytes[0], static_cast<uint32_t>(size))) return nullptr;
        return &copies_.emplace(path, std::move(bytes)).first->second;
    }
    FileSystem& inner_;
    std::map<FileHandle, OpenedFile> open_;
    std::map<std::string, std::string> copies_;
};

}  // namespace

namespace detail {

bool AbandonLastRecord(EngineContext& ctx, int32_t countWritten) {
    ctx.KeepLogNote = true;
    if (ctx.LogHandle == kNoFile || ctx.LogState.Node <= 0) return false;
    ActionRecord rec, note;
    RecordData d;
    LogCounts c;
    c.Written = ctx.LogRecordsWritten;
    c.State = ctx.LogState;
    const int32_t index = ctx.LogState.Node - 1;
    const FileHandle nodes = H(ctx, kNodeHandle), userTr = H(ctx, kUserTranslationsHandle);
    if (nodes == kNoFile || userTr == kNoFile || !ReadRecord(ctx, ctx.LogHandle, index, rec)) return false;
    const bool noted = NoteFor(ctx, ctx.LogHandle, c, kNoteOfAppend, index, rec, note);
    if (ReadRecordData(ctx, nodes, userTr, rec, d) != 1 || TakeBack(ctx, nodes, userTr, rec, d, noted) != 1)
        return false;
    if (noted) {
        if (SetCount(ctx, userTr, d, CountAfter(note, d, CountDelta(rec, false), false)) != 1) return false;
    } else if (countWritten != 0 && AdjustWordCount(ctx, -countWritten) != 1) {
        return false;
    }
    ActionRecord state = ctx.LogState;
    state.Node -= 1;
    if (!WriteCounts(ctx, ctx.LogHandle, state.Node, state)) return false;
    ctx.LogState = state;
    ctx.LogRecordsWritten = state.Node;
    ctx.KeepLogNote = false;
    return true;
}

}  // namespace detail

namespace {

// The first record of a command after an Undo goes where the records for
// Redo begin. They are read into memory and then, in one write, no longer
// counted, so that whatever stops the command later the log never offers a
// record that was written over. A command that leaves nothing in the log
// gets them back (PutBackRedoRecords).
bool KeepRedoRecords(EngineContext& ctx) {
    const int32_t index = ctx.LogState.Node, written = ctx.LogRecordsWritten;
    const int64_t from = RecordOffset(index), end = RecordOffset(written);
    if (end - from > kMaxWholeFileSize) return false;
    std::string records(static_cast<size_t>(end - from), '\0');
    if (!ReadAt(ctx.Files, ctx.LogHandle, from, &records[0], static_cast<uint32_t>(records.size())) ||
        !WriteCounts(ctx, ctx.LogHandle, index, ctx.LogState))
        return false;
    ctx.RedoRecords = std::move(records);
    ctx.RedoFrom = ctx.LogRecordsWritten = index;
    ctx.RedoWritten = written;
    return true;
}

// The records for Redo written back, then counted again, when the command
// that wrote over them left nothing in the log. When that fails they stay
// uncounted: Redo has nothing to offer.
void PutBackRedoRecords(EngineContext& ctx) {
    const int32_t from = ctx.RedoFrom;
    ctx.RedoFrom = -1;
    const std::string records = std::move(ctx.RedoRecords);
    ctx.RedoRecords.clear();
    if (from < 0 || ctx.KeepLogNote || ctx.LogRecordsWritten != from || ctx.LogState.Node != from) return;
    if (!WriteWhole(ctx.Files, ctx.LogHandle, RecordOffset(from), records.data(),
                    static_cast<uint32_t>(records.size())) ||
        !WriteCounts(ctx, ctx.LogHandle, ctx.RedoWritten, ctx.LogState))
        return;
    ctx.LogRecordsWritten = ctx.RedoWritten;
}

}  // namespace

namespace detail {

int AppendStep(EngineContext& ctx, uint8_t action, int32_t node, int32_t translation, int32_t keyPosition) {
    if (ctx.LogHandle == kNoFile) return -1;
    FileSystem& fs = ctx.Files;
    const int32_t index = ctx.LogState.Node;
    ActionRecord rec{action, ctx.ActionSlot, ctx.CurrentGroup, node, translation};
    // The note of the step after the record: the word count before it.
    ActionRecord note;
    const FileHandle userTr = H(ctx, kUserTranslationsHandle);
    if (ctx.OpenSlot == static_cast<int>(ctx.ActionSlot) && userTr != kNoFile) {
        uint8_t c[4];
        if (!ReadAt(fs, userTr, kWordCountOffset, c, sizeof c)) return -1;
        note = {kNoteOfAppend, ctx.ActionSlot, index, GetI32(c), keyPosition};
    }
    uint8_t b[2 * ActionRecord::kSize];
    rec.Encode(b);
    note.Encode(b + ActionRecord::kSize);
    if (index < ctx.LogRecordsWritten && !KeepRedoRecords(ctx)) return -1;
    const int64_t size = fs.Size(ctx.LogHandle);
    ActionRecord state = ctx.LogState;
    state.Node += 1;
    if (size < 0 || !WriteWhole(fs, ctx.LogHandle, RecordOffset(index), b, sizeof b) ||
        !WriteCounts(ctx, ctx.LogHandle, state.Node, state)) {
        // The log keeps its old size, as far as it can.
        if (size >= 0 && fs.Size(ctx.LogHandle) > size) fs.Truncate(ctx.LogHandle, size);
        return -1;
    }
    ctx.LogState = state;
    ctx.LogRecordsWritten = state.Node;
    return 1;
}

}  // namespace detail

int CreateActionLog(FileSystem& files, const std::string& path, LogCreation how) {
    const std::string empty(kLogFirstRecord, '\0');
    // A log that is emptied takes the new one's place only when it is whole.
    // A file there shorter than an empty log holds no record (a creation that
    // was killed): it is no log, and is replaced like a missing one.
    const int64_t there = files.FileSize(path);
    if (how == LogCreation::Empty || (there >= 0 && there < kLogFirstRecord))
        return WriteFileReplacing(files, path, empty) == WriteOutcome::Done ? 1 : -1;
    const FileHandle h = files.CreateNew(path);
    if (h == kNoFile) return -1;
    bool ok = files.Write(h, empty.data(), kLogFirstRecord) == kLogFirstRecord;
    ok = files.Close(h) && ok;
    if (ok) return 1;
    // A short log could never be opened, and would never be made again.
    files.Remove(path);
    return -1;
}

bool ActionLogThere(FileSystem& files, const std::string& path) {
    const int64_t size = files.FileSize(path);
    return size == kUnknownFileSize || size >= kLogFirstRecord;
}

int CreateActionLog(EngineContext& ctx, const std::string& path) {
    return CreateActionLog(ctx.Files, path, LogCreation::Empty);
}

int OpenActionLog(EngineContext& ctx) {
    CloseActionLog(ctx);
    FileHandle h = ctx.Files.Open(ctx.Settings.ActionLogPath, kOpenWriteExclusive);
    if (h == kNoFile) return -1;
    LogCounts c;
    ActionRecord last;
    // A group number that cannot be followed is damage, never wrapped around.
    if (!ReadCounts(ctx, h, c) || !SettleLog(ctx, h, c) ||
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
    return AppendStep(ctx, action, node, translation, 0);
}

namespace {

// The note of the last step goes once the steps are done: the log ends with
// its last record again.
void DropNote(FileSystem& fs, FileHandle h, int32_t written) {
    const int64_t end = RecordOffset(written);
    if (fs.Size(h) > end) fs.Truncate(h, end);
}

}  // namespace

void CloseActionLog(EngineContext& ctx) {
    if (ctx.LogHandle != kNoFile) {
        PutBackRedoRecords(ctx);
        if (!ctx.KeepLogNote) DropNote(ctx.Files, ctx.LogHandle, ctx.LogRecordsWritten);
        ctx.Files.Close(ctx.LogHandle);
    }
    ctx.LogHandle = kNoFile;
    ctx.KeepLogNote = false;
    ctx.RedoFrom = -1;
    ctx.RedoRecords.clear();
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
    // The settle as the next Undo or Redo makes it, written to memory only.
    DryRunFiles files(ctx.Files);
    EngineContext dry(ctx.Settings, files, ctx.Display, ctx.Hooks);
    FileHandle h = files.Open(ctx.Settings.ActionLogPath, kOpenReadShared);
    if (h == kNoFile) return 0;
    LogCounts c;
    bool ok = ReadCounts(dry, h, c) && SettleLog(dry, h, c);
    files.Close(h);
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
    if (!ReadCounts(ctx, h, c) || !SettleLog(ctx, h, c) || !HasStep(c, undo) ||
        !ReadRecord(ctx, h, NextStep(c, undo), rec))
        return fail();
    // The records whose translation this step deletes: undo takes back an
    // addition, redo repeats a deletion; the others get theirs back.
    const uint8_t deleting = undo ? kActionAdded : kActionDeleted;
    const int32_t group = rec.Group;
    while (rec.Group == group) {
        if (rec.Slot >= kSlotCount) return fail();
        if (IsTranslationAction(rec.Action) &&
            ApplyRecord(ctx, h, c, NextStep(c, undo), rec, rec.Action == deleting, undo) != 1)
            return fail();
        c.State.Node += undo ? -1 : 1;
        if (!WriteState(ctx, h, c.State)) return fail();
        if (!HasStep(c, undo)) break;
        if (!ReadRecord(ctx, h, NextStep(c, undo), rec)) return fail();
    }
    DropNote(fs, h, c.Written);
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
