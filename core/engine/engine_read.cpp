// The read side: locating words, reading nodes and texts, filling the lookup
// list and showing an entry's translations.
#include <algorithm>
#include <climits>
#include <utility>

#include "engine_internal.h"
#include "lookup_reads.h"

namespace lex {

using namespace detail;

namespace {

// An impossible file state, for the caller's report (held while a read may
// run again).
void ReportImpossible(EngineContext& ctx, const std::string& text, const std::string& caption) {
    if (ctx.HeldReports)
        ctx.HeldReports->emplace_back(text, caption);
    else
        ctx.Hooks.ReportEngineError(text, caption);
}

// Reads the texts of `node` from the words file its flags name.
int ReadTextsOf(EngineContext& ctx, const WordNode& node, std::string& word,
                std::string& pronunciation) {
    word.clear();
    pronunciation.clear();
    FileHandle h;
    if (node.Flags & kFlagCd)
        h = SlotFile(ctx, kCdWordsHandle);
    else if (node.Flags & kFlagDisk)
        h = H(ctx, kUserWordsHandle);
    else {
        ReportImpossible(ctx, "", "");
        return -1;
    }
    if (node.TextOffset < static_cast<int32_t>(kFileHeaderSize) ||
        node.WordLength > kMaxTextLength || node.PronunciationLength > kMaxTextLength)
        return -1;
    const uint32_t total = node.WordLength + node.PronunciationLength;
    char buf[2 * kMaxTextLength];
    if (!ReadBytes(ctx, h, node.TextOffset, buf, total)) return -1;
    word.assign(buf, node.WordLength);
    pronunciation.assign(buf + node.WordLength, node.PronunciationLength);
    return 1;
}

// Binary search of the key index `h` for `key`; leaves the last record read in
// ctx.LastKey and its record number in `mid`.
int SearchKeyIndex(EngineContext& ctx, FileHandle h, int32_t key, int64_t& mid) {
    int64_t size = FileSize(ctx, h);
    if (size < static_cast<int64_t>(KeyRecord::kSize)) return -1;
    ctx.Cache.HoldWhole(ctx.Files, h);
    int64_t lo = 0, hi = size / static_cast<int64_t>(KeyRecord::kSize) - 1;
    KeyRecord rec;
    do {
        mid = (lo + hi) / 2;
        uint8_t b[KeyRecord::kSize];
        if (!ReadBytes(ctx, h, mid * KeyRecord::kSize, b, sizeof b)) return -1;
        rec = KeyRecord::Decode(b);
        if (key < rec.SortKey)
            hi = mid - 1;
        else
            lo = mid + 1;
    } while (rec.SortKey != key && lo <= hi);
    ctx.LastKey = rec;
    return 1;
}

// The record number where `key` is or would go in the key index `h`; -1 on
// an empty or unreadable key index.
int PositionOfKey(EngineContext& ctx, FileHandle h, int32_t key) {
    int64_t mid = 0;
    if (SearchKeyIndex(ctx, h, key, mid) != 1) return -1;
    if (ctx.LastKey.SortKey < key) return static_cast<int>(mid + 1);
    return static_cast<int>(mid);
}

// Walks the node list of the open slot from the node in ctx.Node (at
// ctx.FoundOffset), comparing with the open slot's collation.
class NodeWalker {
public:
    NodeWalker(EngineContext& ctx, const std::string& word)
        : ctx_(ctx), word_(word, ctx.OpenSlot, ctx.Settings),
          bound_(ctx, H(ctx, kNodeHandle), kLowSentinelNode, WordNode::kSize) {}

    bool MoveTo(int32_t offset) {
        // Each walk may pass a node twice (forward, then back).
        if (bound_.Exceeded((++steps_) / 2)) return false;  // a cycle in the list
        if (ReadNodeAt(ctx_, offset) != 1) return false;
        ctx_.FoundOffset = offset;
        return true;
    }
    int Collation() const {
        return word_.CompareWith(ctx_.Node.Word);
    }
    // Forward while the node sorts before the word, then back while after it.
    bool WalkToCollation(int& cmp) {
        cmp = Collation();
        while (cmp < 0) {
            if (!MoveTo(ctx_.Node.Node.Next)) return false;
            cmp = Collation();
        }
        while (cmp > 0) {
            if (!MoveTo(ctx_.Node.Node.Previous)) return false;
            cmp = Collation();
        }
        return true;
    }

private:
    EngineContext& ctx_;
    const SlotWordCollation word_;
    WalkBound bound_;
    int64_t steps_ = 0;
};

// A reader beside a writer. The dictionary program and the bulk utility may
// have one slot open at once, one of them writing: a read can then meet a
// node that is being linked or unlinked, or a chain that grows, half
// written. A read that finds the files inconsistent runs again after a short
// wait; the files are damaged only when it keeps finding them so and no
// other program is writing the slot (or after the longest wait).

// Whether another program holds the slot's files for writing: a read open
// that denies writers is refused then.
bool WriterAtWork(EngineContext& ctx, int slot) {
    const FileHandle h = ctx.Files.Open(ctx.Settings.NodePaths[slot], kOpenReadDenyWrite);
    if (h == kNoFile) return true;
    ctx.Files.Close(h);
    return false;
}

// Runs `read` (0 or more: done; -1: inconsistent files) until it succeeds or
// the files are damaged (see above). `read` must begin from the same place
// each time. Blocks a running operation keeps are forgotten between attempts.
template <class Read>
int ReadAgainWhileWritten(EngineContext& ctx, int slot, Read read) {
    std::vector<std::pair<std::string, std::string>> held;
    std::vector<std::pair<std::string, std::string>>* const outer = ctx.HeldReports;
    ctx.HeldReports = &held;
    int r = read();
    // This program holds the slot for writing: no other can be writing it.
    const bool ownWriter = ctx.OpenSlot == slot && (ctx.OpenMode & 3) != 0;
    for (int attempt = 1; r < 0 && !ownWriter && attempt < kReadAttemptsBesideWriter; ++attempt) {
        if (attempt >= kReadAttempts && !WriterAtWork(ctx, slot)) break;
        ctx.Files.Pause(kReadAgainPauseMs);
        if (ctx.Cache.Active()) ctx.Cache.Start();
        held.clear();
        r = read();
    }
    ctx.HeldReports = outer;
    if (r >= 0) return r;
    for (const auto& report : held) ReportImpossible(ctx, report.first, report.second);
    ctx.Failure = EngineFailure::Damaged;
    return r;
}

// ReadAgainWhileWritten for a step of a walk: `state` and the entries the
// step appended to `out` are put back before the step runs again.
template <class State, class Entry, class Step>
int StepAgainWhileWritten(EngineContext& ctx, int slot, State& state, std::vector<Entry>& out, Step step) {
    const State before = state;
    const size_t had = out.size();
    return ReadAgainWhileWritten(ctx, slot, [&] {
        state = before;
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(had), out.end());
        return step();
    });
}

}  // namespace

int ReadNodeAt(EngineContext& ctx, int32_t offset) {
    WordNode node;
    if (!ReadNodeRecord(ctx, H(ctx, kNodeHandle), offset, node)) return -1;
    ctx.Node.Node = node;
    return ReadTextsOf(ctx, node, ctx.Node.Word, ctx.Node.Pronunciation);
}

int ReadNodeTexts(EngineContext& ctx) {
    return ReadTextsOf(ctx, ctx.Node.Node, ctx.Node.Word, ctx.Node.Pronunciation);
}

int KeyIndexPosition(EngineContext& ctx, const std::string& word) {
    return PositionOfKey(ctx, H(ctx, kKeyIndexHandle), WordSortKey(word, ctx.OpenSlot, ctx.Settings));
}

int LocateWord(EngineContext& ctx, const std::string& word) {
    const int32_t key = WordSortKey(word, ctx.OpenSlot, ctx.Settings);
    int64_t mid = 0;
    if (SearchKeyIndex(ctx, H(ctx, kKeyIndexHandle), key, mid) != 1) return -1;
    int32_t start;
    if (ctx.LastKey.SortKey == key) {
        ctx.InsertPosition = -1;
        start = ctx.LastKey.Node;
    } else if (ctx.LastKey.SortKey < key) {
        ctx.InsertPosition = static_cast<int32_t>((mid + 1) * KeyRecord::kSize);
        start = ctx.LastKey.Node;
    } else {
        if (mid == 0) return -1;  // the first record holds the lowest key
        ctx.InsertPosition = static_cast<int32_t>(mid * KeyRecord::kSize);
        uint8_t b[KeyRecord::kSize];
        if (!ReadBytes(ctx, H(ctx, kKeyIndexHandle), (mid - 1) * KeyRecord::kSize, b, sizeof b))
            return -1;
        ctx.LastKey = KeyRecord::Decode(b);
        start = ctx.LastKey.Node;
    }

    NodeWalker walk(ctx, word);
    if (!walk.MoveTo(start)) return -1;
    int cmp;
    if (!walk.WalkToCollation(cmp)) return -1;
    if (cmp != 0) {
        ctx.ExactMatch = -1;
        return 1;
    }
    // Among entries of equal collation the forward byte order decides, whatever
    // the typing direction, so that every program orders and finds them alike.
    while (cmp == 0 && CompareText(ctx.Node.Word, word) < 0) {
        NodeBuffer before = ctx.Node;
        int32_t beforeOffset = ctx.FoundOffset;
        if (!walk.MoveTo(ctx.Node.Node.Next)) return -1;
        if (walk.Collation() != 0) {
            ctx.Node = std::move(before);
            ctx.FoundOffset = beforeOffset;
            break;
        }
    }
    while (cmp == 0 && CompareText(ctx.Node.Word, word) > 0) {
        if (!walk.MoveTo(ctx.Node.Node.Previous)) return -1;
        cmp = walk.Collation();
    }
    ctx.ExactMatch = (cmp == 0 && CompareText(ctx.Node.Word, word) == 0) ? 1 : -1;
    return 1;
}

int FindWord(EngineContext& ctx, const std::string& word) {
    const int32_t key = WordSortKey(word, ctx.OpenSlot, ctx.Settings);
    int64_t mid = 0;
    if (SearchKeyIndex(ctx, H(ctx, kKeyIndexHandle), key, mid) != 1) return -1;
    if (ctx.LastKey.SortKey != key) {
        ctx.ExactMatch = -1;
        return 1;
    }
    // Only the leading run of letters of the entries counts here.
    auto cut = [&ctx] {
        std::string& w = ctx.Node.Word;
        for (size_t i = 1; i < w.size(); ++i)
            if (static_cast<uint8_t>(w[i]) < 0x41) {
                w.resize(i);
                break;
            }
    };
    NodeWalker walk(ctx, word);
    if (!walk.MoveTo(ctx.LastKey.Node)) return -1;
    cut();
    int cmp = walk.Collation();
    while (cmp < 0) {
        if (!walk.MoveTo(ctx.Node.Node.Next)) return -1;
        cut();
        cmp = walk.Collation();
    }
    while (cmp > 0) {
        if (!walk.MoveTo(ctx.Node.Node.Previous)) return -1;
        cut();
        cmp = walk.Collation();
    }
    ctx.ExactMatch = cmp == 0 ? 1 : -1;
    return 1;
}

int StepToLiveNode(EngineContext& ctx, int32_t offset, ResultRow* row, int direction,
                   int readTexts) {
    if (offset == 0) return 2;
    FileHandle h = H(ctx, kNodeHandle);
    WalkBound bound(ctx, h, kLowSentinelNode, WordNode::kSize);
    for (int64_t steps = 0; !bound.Exceeded(steps); ++steps) {
        WordNode node;
        if (!ReadNodeRecord(ctx, h, offset, node)) return -1;
        ctx.Node.Node = node;
        if (!node.Deleted()) {
            if (readTexts != 1) return 1;
            if (ReadNodeTexts(ctx) != 1) return -1;
            if (row) {
                row->Offset = offset;
                row->Node = node;
                row->Word = ctx.Node.Word;
                row->Pronunciation = ctx.Node.Pronunciation;
            }
            return 1;
        }
        offset = direction == 1 ? node.Next : node.Previous;
        if (offset == 0) return 0;
    }
    return -1;
}

namespace {

// Reads the live translation records of `node` from the open slot.
int ReadEntryTranslations(EngineContext& ctx, const WordNode& node, std::vector<EntryTranslation>& out) {
    out.clear();
    if (node.FirstTranslation == 0) return 1;
    const bool user = (node.Flags & kFlagDisk) != 0;
    if (!user && !(node.Flags & kFlagCd)) return -1;
    FileHandle h = SlotFile(ctx, user ? kUserTranslationsHandle : kCdTranslationsHandle);
    const int32_t minOffset = user ? kFirstUserTranslation : static_cast<int32_t>(kFileHeaderSize);
    std::vector<ChainRecord> chain;
    if (ReadChain(ctx, h, node.FirstTranslation, minOffset, true, chain) != 1) return -1;
    for (ChainRecord& rec : chain)
        if (!rec.Head.Deleted()) out.push_back({rec.Offset, rec.Head, std::move(rec.Text)});
    return 1;
}

// One step of `walk` on the open files of its slot (see StepNodeWalk).
int StepOpenWalk(EngineContext& ctx, NodeWalk& walk, int maxNodes, int maxEntries,
                 std::vector<WalkEntry>& out) {
    const FileHandle h = H(ctx, kNodeHandle);
    WalkBound bound(ctx, h, kLowSentinelNode, WordNode::kSize);
    int read = 0, delivered = 0;
    while (!walk.End && read < maxNodes && (maxEntries <= 0 || delivered < maxEntries)) {
        if (walk.Next == 0) {
            walk.End = true;
            break;
        }
        if (bound.Exceeded(walk.Visited)) return -1;  // a cycle in the list
        WordNode node;
        if (!ReadNodeRecord(ctx, h, walk.Next, node)) return -1;
        ++walk.Visited;
        ++read;
        if (!node.Deleted()) {
            WalkEntry entry;
            entry.Offset = walk.Next;
            entry.Node = node;
            if (ReadTextsOf(ctx, node, entry.Word, entry.Pronunciation) != 1) return -1;
            if (walk.WithTranslations && ReadEntryTranslations(ctx, node, entry.Translations) != 1)
                return -1;
            out.push_back(std::move(entry));
            ++delivered;
        }
        walk.Next = walk.Direction < 0 ? node.Previous : node.Next;
    }
    if (walk.Next == 0) walk.End = true;
    return read;
}

// Rows from `offset` on along the next links: the live nodes, up to VisibleRows.
int FillRows(EngineContext& ctx, int32_t offset, std::vector<ResultRow>& rows) {
    rows.clear();
    const int wanted = ctx.Settings.VisibleRows > 0 ? ctx.Settings.VisibleRows : 0;
    if (wanted == 0) return 0;
    NodeWalk walk = WalkFromNode(ctx.OpenSlot, offset);
    std::vector<WalkEntry> entries;
    entries.reserve(static_cast<size_t>(wanted));
    const int r = StepOpenWalk(ctx, walk, INT_MAX, wanted, entries);
    rows.reserve(entries.size());
    for (WalkEntry& e : entries) rows.push_back(std::move(static_cast<ResultRow&>(e)));
    return r < 0 ? -1 : static_cast<int>(rows.size());
}

// A file of `slot`: its handle while the slot is open, else the file opened
// read-only for the time of the object.
class SlotFileUse {
public:
    SlotFileUse(EngineContext& ctx, int slot, int handle, const std::string& path) : ctx_(ctx) {
        if (ctx.OpenSlot == slot && ctx.Handles[handle] != kNoFile) {
            h_ = ctx.Handles[handle];
        } else {
            h_ = ctx.Files.Open(path, kOpenReadShared);
            owned_ = true;
        }
    }
    ~SlotFileUse() {
        if (owned_) CloseOwnFile(ctx_, h_);
    }
    SlotFileUse(const SlotFileUse&) = delete;
    SlotFileUse& operator=(const SlotFileUse&) = delete;
    FileHandle Get() const { return h_; }

private:
    EngineContext& ctx_;
    FileHandle h_ = kNoFile;
    bool owned_ = false;
};

std::string PreparedWord(const std::string& word) {
    std::string w = word;
    if (TrimWord(w) == 0) w = " ";
    return w;
}

// The slot whose translations are read: the open one, else the current one.
int TranslationSlot(const EngineContext& ctx) {
    return IsValidSlot(ctx.OpenSlot) ? ctx.OpenSlot : ctx.Settings.CurrentSlot;
}

// The translations file that the node flags name, opened read-only: while a
// lookup holds a slot open its handle serves (`owned` false), else the file of
// the current slot is opened for the call.
FileHandle OpenTranslations(EngineContext& ctx, uint8_t nodeFlags, int32_t& minOffset, bool& owned) {
    const int slot = TranslationSlot(ctx);
    owned = false;
    if (!IsValidSlot(slot)) return kNoFile;
    const bool user = (nodeFlags & kFlagDisk) != 0;
    minOffset = user ? kFirstUserTranslation : static_cast<int32_t>(kFileHeaderSize);
    const int handle = user ? kUserTranslationsHandle : kCdTranslationsHandle;
    if (ctx.OpenSlot == slot && SlotFile(ctx, handle) != kNoFile) return ctx.Handles[handle];
    owned = true;
    return ctx.Files.Open(user ? ctx.Settings.UserTranslationsPaths[slot]
                               : ctx.Settings.CdTranslationsPaths[slot],
                          kOpenReadShared);
}

bool NamesAFile(uint8_t flags) { return (flags & kFlagDisk) || (flags & kFlagCd); }

// The translation chain from `firstTranslation` in the file the node flags name.
int ReadTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                     std::vector<ChainRecord>& chain) {
    if (!NamesAFile(nodeFlags)) {
        ReportImpossible(ctx, "E", "E");
        return -1;
    }
    int32_t minOffset = 0;
    bool owned = false;
    FileHandle h = OpenTranslations(ctx, nodeFlags, minOffset, owned);
    if (h == kNoFile) return -1;
    int r = ReadChain(ctx, h, firstTranslation, minOffset, true, chain);
    if (owned) CloseOwnFile(ctx, h);
    return r;
}

bool IsGrammarNote(const std::string& text) {
    return !text.empty() && static_cast<uint8_t>(text[0]) == kGrammarNoteByte;
}

}  // namespace

int ReadEntryText(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags, const KeyWaiting& keyWaiting,
                  EntryText& out) {
    out = EntryText();
    if (firstTranslation == 0) return 1;
    std::vector<ChainRecord> chain;
    if (ReadTranslations(ctx, firstTranslation, nodeFlags, chain) != 1) return -1;
    auto given = [&keyWaiting] { return keyWaiting && keyWaiting(); };
    for (ChainRecord& rec : chain) {
        if (given()) return 1;
        if (rec.Head.Deleted()) continue;
        if (IsGrammarNote(rec.Text)) continue;
        out.Lines.push_back(std::move(rec.Text));
    }
    out.Lines.push_back(kSeparatorLine);
    for (ChainRecord& rec : chain) {
        if (given()) return 1;
        if (rec.Head.Deleted()) continue;
        if (!IsGrammarNote(rec.Text)) continue;
        rec.Text[0] = ctx.Settings.GrammarSeparator;
        out.Lines.push_back(std::move(rec.Text));
    }
    out.ScrollToTop = true;
    return 1;
}

namespace {

void Draw(EngineDisplay& d, const EntryText& text) {
    for (const std::string& line : text.Lines) {
        d.AppendTranslation(line);
        d.AppendTranslation("\r\n");
    }
    if (text.ScrollToTop) d.ScrollTranslationToTop();
}

KeyWaiting DisplayKeyCheck(EngineContext& ctx) {
    return [&ctx] { return ctx.Display.QualifyingKeyWaiting(); };
}

}  // namespace

int ShowTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags) {
    EntryText text;
    if (ReadEntryText(ctx, firstTranslation, nodeFlags, DisplayKeyCheck(ctx), text) != 1) return -1;
    Draw(ctx.Display, text);
    return 1;
}

int ReadLiveTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                         std::vector<std::string>& out) {
    out.clear();
    WordNode node;
    node.FirstTranslation = firstTranslation;
    node.Flags = nodeFlags;
    std::vector<EntryTranslation> live;
    if (ReadEntryTranslations(ctx, node, live) != 1) return -1;
    for (EntryTranslation& rec : live) {
        if (IsGrammarNote(rec.Text)) rec.Text[0] = ctx.Settings.GrammarSeparator;
        out.push_back(std::move(rec.Text));
    }
    return 1;
}

int LookupWordQuietly(EngineContext& ctx, const std::string& word, int slot, bool keyPosition,
                      const KeyWaiting& keyWaiting, WordLookup& out) {
    out = WordLookup();
    if (OpenSlotForReading(ctx, slot) != 1) return -1;
    out.Opened = true;
    if (keyPosition && WordKeyPosition(ctx, slot, word, out.Key) != 1) out.Key = KeyPosition();
    if (LocateWord(ctx, PreparedWord(word)) != 1) {
        CloseSlotFiles(ctx);
        return -1;
    }
    const int32_t found = ctx.FoundOffset;
    if (ctx.ExactMatch == 1 && !ctx.Node.Node.Deleted()) {
        const NodeBuffer entry = ctx.Node;
        out.Shown = true;
        std::string pron = entry.Pronunciation;
        TrimWord(pron);
        std::string label = "[" + pron + "]";
        if (label.size() > 2) out.Pronunciation = std::move(label);
        if (ReadEntryText(ctx, entry.Node.FirstTranslation, entry.Node.Flags, keyWaiting, out.Text) != 1) {
            CloseSlotFiles(ctx);
            return -1;
        }
        ctx.Hooks.AddToHistory(entry.Word, slot);
    }
    int n = FillRows(ctx, found, out.Rows);
    CloseSlotFiles(ctx);
    return n;
}

int LookupWord(EngineContext& ctx, const std::string& word, std::vector<ResultRow>& rows,
               int slot) {
    rows.clear();
    ctx.Display.ClearTranslation();
    ctx.Display.SetPronunciation("");
    WordLookup found;
    const int n = LookupWordQuietly(ctx, word, slot, false, DisplayKeyCheck(ctx), found);
    if (found.Shown) {
        ctx.Display.SetPronunciation(found.Pronunciation);
        Draw(ctx.Display, found.Text);
    }
    rows = std::move(found.Rows);
    return n;
}

int FillRowsFromNode(EngineContext& ctx, int32_t offset, std::vector<ResultRow>& rows) {
    rows.clear();
    ctx.Display.ClearTranslation();
    CloseSlotFiles(ctx);
    const int slot = ctx.Settings.CurrentSlot;
    if (!IsValidSlot(slot)) return -1;
    const DictionarySettings& s = ctx.Settings;
    // The CD words file is opened when a shipped entry's texts are read.
    ctx.Handles[kNodeHandle] = ctx.Files.Open(s.NodePaths[slot], kOpenReadShared);
    const bool cdWords = ctx.Handles[kNodeHandle] != kNoFile && ctx.Files.Exists(s.CdWordsPaths[slot]);
    if (cdWords) ctx.Handles[kUserWordsHandle] = ctx.Files.Open(s.UserWordsPaths[slot], kOpenReadShared);
    int n = -1;
    if (cdWords && ctx.Handles[kUserWordsHandle] != kNoFile) {
        ctx.CdOnDemandSlot = slot;
        ctx.Cache.Start();
        n = FillRows(ctx, offset, rows);
    }
    CloseSlotFiles(ctx);
    return n;
}

namespace {

// Opens `slot` for reading, runs `read` on its files (again while another
// program writes them, see ReadAgainWhileWritten) and closes them: the
// result of `read`, -1 when the files cannot be opened.
template <class Read>
int ReadOpenedSlot(EngineContext& ctx, int slot, Read read) {
    if (OpenSlotForReading(ctx, slot) != 1) return -1;
    const int r = ReadAgainWhileWritten(ctx, slot, read);
    CloseSlotFiles(ctx);
    return r;
}

// The translator's form of a chain: the live translations without the
// grammar notes, separated by ", ", the translations in `language`.
bool WriteChainTexts(const std::vector<ChainRecord>& chain, int language, TranslationOutput& out) {
    bool first = true;
    for (const ChainRecord& rec : chain) {
        if (rec.Head.Deleted()) continue;
        if (IsGrammarNote(rec.Text)) continue;
        if (!first && !out.Write(", ", 0)) return false;
        if (!out.Write(rec.Text, language)) return false;
        first = false;
    }
    return true;
}

}  // namespace

int FindCandidates(EngineContext& ctx, const std::string& word, std::vector<ResultRow>& rows,
                   int slot) {
    rows.clear();
    return ReadOpenedSlot(ctx, slot, [&] {
        rows.clear();
        if (LocateWord(ctx, PreparedWord(word)) != 1) return -1;
        int32_t start = ctx.FoundOffset;
        if (ctx.Node.Node.Previous >= kLowSentinelNode) start = ctx.Node.Node.Previous;
        return FillRows(ctx, start, rows);
    });
}

int LookupTranslations(EngineContext& ctx, const std::string& word, TranslationOutput& out,
                       int slot) {
    // Read whole first, so that a read that runs again writes nothing twice.
    std::vector<ChainRecord> chain;
    int language = 0;
    const int r = ReadOpenedSlot(ctx, slot, [&] {
        chain.clear();
        if (LocateWord(ctx, PreparedWord(word)) != 1) return -1;
        const WordNode node = ctx.Node.Node;
        if (ctx.ExactMatch != 1 || node.Deleted() || node.FirstTranslation == 0) return 0;
        language = CounterpartSlot(TranslationSlot(ctx));
        return ReadTranslations(ctx, node.FirstTranslation, node.Flags, chain) == 1 ? 0 : -1;
    });
    if (r < 0 || !WriteChainTexts(chain, language, out)) return -1;
    return 0;
}

int WriteTranslationChain(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                          TranslationOutput& out) {
    if (firstTranslation == 0) return 1;
    std::vector<ChainRecord> chain;
    if (ReadTranslations(ctx, firstTranslation, nodeFlags, chain) != 1) return -1;
    return WriteChainTexts(chain, CounterpartSlot(TranslationSlot(ctx)), out) ? 1 : -1;
}

// --- Cursor ----------------------------------------------------------------------

int WordKeyPosition(EngineContext& ctx, int slot, const std::string& word, KeyPosition& out) {
    out = KeyPosition{};
    if (!IsValidSlot(slot)) return -1;
    SlotFileUse keys(ctx, slot, kKeyIndexHandle, ctx.Settings.KeyIndexPaths[slot]);
    if (keys.Get() == kNoFile) return -1;
    out.Position = PositionOfKey(ctx, keys.Get(), WordSortKey(word, slot, ctx.Settings));
    const int64_t size = FileSize(ctx, keys.Get());
    out.Records = size > 0 ? static_cast<int32_t>(size / static_cast<int64_t>(KeyRecord::kSize)) : 0;
    return 1;
}

int KeyRecordNode(EngineContext& ctx, int slot, int32_t position, int32_t& node) {
    if (!IsValidSlot(slot)) return -1;
    SlotFileUse keys(ctx, slot, kKeyIndexHandle, ctx.Settings.KeyIndexPaths[slot]);
    if (keys.Get() == kNoFile) return -1;
    const int64_t size = ctx.Files.Size(keys.Get());
    const int64_t records = size > 0 ? size / static_cast<int64_t>(KeyRecord::kSize) : 0;
    if (records == 0) return 2;
    const int64_t record = std::clamp<int64_t>(position, 0, records - 1);
    uint8_t raw[KeyRecord::kSize];
    if (!ReadAt(ctx.Files, keys.Get(), record * static_cast<int64_t>(KeyRecord::kSize), raw, sizeof raw))
        return 2;
    node = KeyRecord::Decode(raw).Node;
    return 1;
}

NodeWalk WalkFromNode(int slot, int32_t node, int direction) {
    NodeWalk walk;
    walk.Slot = slot;
    walk.Next = node;
    walk.Direction = direction < 0 ? -1 : 1;
    return walk;
}

int WalkFromKey(EngineContext& ctx, int slot, int32_t position, NodeWalk& walk) {
    int32_t node = 0;
    const int r = KeyRecordNode(ctx, slot, position, node);
    if (r == 1) walk = WalkFromNode(slot, node);
    return r;
}

namespace {

// One step of `cursor` on the open files of its slot (see StepNodeFileCursor).
int StepOpenCursor(EngineContext& ctx, NodeFileCursor& cursor, int maxNodes, std::vector<StoredEntry>& out) {
    int read = 0;
    for (; read < maxNodes && cursor.Next < cursor.Count; ++read) {
        const int32_t offset =
            static_cast<int32_t>(kLowSentinelNode + cursor.Next * static_cast<int64_t>(WordNode::kSize));
        WordNode node;
        if (!ReadNodeRecord(ctx, H(ctx, kNodeHandle), offset, node)) return -1;
        ++cursor.Next;
        if (!(node.Flags & kFlagDisk) || (node.Flags & kFlagCd)) continue;
        StoredEntry entry;
        entry.Offset = offset;
        entry.Node = node;
        if (ReadTextsOf(ctx, node, entry.Word, entry.Pronunciation) != 1) return -1;
        std::vector<ChainRecord> chain;
        if (ReadChain(ctx, H(ctx, kUserTranslationsHandle), node.FirstTranslation, kFirstUserTranslation, true,
                      chain) != 1)
            return -1;
        for (ChainRecord& rec : chain) entry.Translations.push_back({rec.Offset, rec.Head, std::move(rec.Text)});
        out.push_back(std::move(entry));
    }
    return read;
}

// Runs `step` on the files of `slot`: its open files when it is open (their
// blocks kept for this call only, as another program may write between
// calls), else the files opened for reading for the call.
template <class Step>
int OnSlotFiles(EngineContext& ctx, int slot, Step step) {
    if (ctx.OpenSlot == slot && H(ctx, kNodeHandle) != kNoFile) {
        const bool ownCache = !ctx.Cache.Active();
        if (ownCache) ctx.Cache.Start();
        const int r = step();
        if (ownCache) ctx.Cache.Drop();
        return r;
    }
    if (OpenSlotForReading(ctx, slot) != 1) return -1;
    const int r = step();
    CloseSlotFiles(ctx);
    return r;
}

}  // namespace

int BeginNodeFileCursor(EngineContext& ctx, int slot, NodeFileCursor& cursor) {
    cursor = NodeFileCursor();
    cursor.Slot = slot;
    return OnSlotFiles(ctx, slot, [&] {
        const int64_t size = FileSize(ctx, H(ctx, kNodeHandle));
        if (size < kHighSentinelNode + static_cast<int64_t>(WordNode::kSize)) return 2;
        // Offsets of nodes are 32-bit: records beyond them cannot be linked.
        const int64_t usable = std::min<int64_t>(size, INT32_MAX);
        cursor.Count = (usable - kLowSentinelNode) / static_cast<int64_t>(WordNode::kSize);
        return 1;
    });
}

int StepNodeFileCursor(EngineContext& ctx, NodeFileCursor& cursor, int maxNodes,
                       std::vector<StoredEntry>& out) {
    if (cursor.Next >= cursor.Count || maxNodes <= 0) return 0;
    return OnSlotFiles(ctx, cursor.Slot, [&] {
        return StepAgainWhileWritten(ctx, cursor.Slot, cursor, out,
                                     [&] { return StepOpenCursor(ctx, cursor, maxNodes, out); });
    });
}

int StepNodeWalk(EngineContext& ctx, NodeWalk& walk, int maxNodes, int maxEntries,
                 std::vector<WalkEntry>& out) {
    if (walk.Next == 0) walk.End = true;
    if (walk.End || maxNodes <= 0) return 0;
    auto step = [&] {
        return StepAgainWhileWritten(ctx, walk.Slot, walk, out,
                                     [&] { return StepOpenWalk(ctx, walk, maxNodes, maxEntries, out); });
    };
    if (ctx.OpenSlot == walk.Slot && H(ctx, kNodeHandle) != kNoFile) return step();
    if (OpenSlotForReading(ctx, walk.Slot) != 1) return -1;
    const int r = step();
    CloseSlotFiles(ctx);
    return r;
}

}  // namespace lex
