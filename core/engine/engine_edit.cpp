// The write side: adding entries and translations, deleting words and
// translations, copying shipped entries to the Disk files.
#include <climits>
#include <cstring>

#include "engine_internal.h"

namespace lex {

using namespace detail;

namespace {

bool LogIsOpen(const EngineContext& ctx) { return ctx.LogHandle != kNoFile; }

void MarkNote(EngineContext& ctx, std::string& translation) {
    if (!translation.empty() && translation[0] == ctx.Settings.GrammarSeparator)
        translation[0] = static_cast<char>(kGrammarNoteByte);
}

bool AppendBytes(EngineContext& ctx, FileHandle h, int64_t offset, const std::string& a,
                 const std::string& b = std::string()) {
    std::string all = a + b;
    return WriteWhole(ctx.Files, h, offset, all.data(), static_cast<uint32_t>(all.size()));
}

bool WriteTranslationRecord(EngineContext& ctx, int64_t offset, const TranslationHead& head,
                            const std::string& text) {
    uint8_t b[TranslationHead::kSize + kMaxTextLength];
    head.Encode(b);
    std::memcpy(b + TranslationHead::kSize, text.data(), text.size());
    return WriteWhole(ctx.Files, H(ctx, kUserTranslationsHandle), offset, b,
                      static_cast<uint32_t>(TranslationHead::kSize + text.size()));
}

constexpr int64_t kKeySize = static_cast<int64_t>(KeyRecord::kSize);

// The key index ends with room for one more record: a copy of its last record
// after it. The room is made right after the add's record, before anything
// else of the add is written, so that a full disk stops the add while the
// index is whole, and a settle finds the record that says whose room it is;
// room left by an add that did not finish is used again. Bytes past the last
// whole record (a part of a record a full disk cut short) are written over;
// every reader counts whole records only.
bool MakeKeyRoom(EngineContext& ctx) {
    FileSystem& fs = ctx.Files;
    const FileHandle h = H(ctx, kKeyIndexHandle);
    const int64_t size = fs.Size(h);
    if (size < 2 * kKeySize) return false;
    const int64_t whole = size - size % kKeySize;
    uint8_t last[2 * KeyRecord::kSize];
    if (!ReadAt(fs, h, whole - 2 * kKeySize, last, sizeof last)) return false;
    if (size == whole && std::memcmp(last, last + KeyRecord::kSize, KeyRecord::kSize) == 0) return true;
    return WriteWhole(fs, h, whole, last + KeyRecord::kSize, KeyRecord::kSize);
}

// Puts a key record at `position` (a multiple of 9 inside the index) into the
// room MakeKeyRoom made: the records from there on move up 9 bytes, from the
// end backwards in 4500-byte blocks. Nothing here makes the file longer.
bool InsertKeyRecord(EngineContext& ctx, int64_t position, const KeyRecord& rec) {
    FileSystem& fs = ctx.Files;
    FileHandle h = H(ctx, kKeyIndexHandle);
    const int64_t size = fs.Size(h);
    // The records end where the room begins.
    const int64_t end = size - size % kKeySize - kKeySize;
    if (size < 0 || position < kKeySize || position > end) return false;
    constexpr int64_t kBlock = 4500;
    uint8_t buffer[kBlock];
    int64_t pos = end - kBlock, block = kBlock;
    do {
        if (pos < position) {
            block -= position - pos;
            pos = position;
            if (block <= 0) break;
        }
        if (!ReadAt(fs, h, pos, buffer, static_cast<uint32_t>(block))) return false;
        if (!WriteWhole(fs, h, pos + kKeySize, buffer, static_cast<uint32_t>(block))) return false;
        pos -= block;
    } while (block == kBlock);
    uint8_t b[KeyRecord::kSize];
    rec.Encode(b);
    return WriteWhole(fs, h, position, b, sizeof b);
}

// Chain of the entry in ctx.Node from the user translations file.
int ReadUserChain(EngineContext& ctx, bool texts, std::vector<ChainRecord>& chain) {
    return ReadChain(ctx, H(ctx, kUserTranslationsHandle), ctx.Node.Node.FirstTranslation,
                     kFirstUserTranslation, texts, chain);
}

bool TooLong(const std::string& s) { return s.size() > kMaxTextLength; }

// Cuts off what a failed change appended to a file (nothing refers to it).
bool CutTo(FileSystem& fs, FileHandle h, int64_t size) {
    const int64_t now = fs.Size(h);
    return now >= 0 && size >= 0 && (now <= size || fs.Truncate(h, size));
}

}  // namespace

void SetArchiveMode(EngineContext& ctx) { ctx.ArchiveMode = 1; }

int MoveNodeToDisk(EngineContext& ctx) {
    FileSystem& fs = ctx.Files;
    WordNode node = ctx.Node.Node;
    // Read everything first: a corrupt entry is refused before anything is written.
    std::vector<ChainRecord> chain;
    if (ReadChain(ctx, H(ctx, kCdTranslationsHandle), node.FirstTranslation,
                  static_cast<int32_t>(kFileHeaderSize), true, chain) != 1)
        return -1;
    if (node.TextOffset < static_cast<int32_t>(kFileHeaderSize) ||
        node.WordLength > kMaxTextLength || node.PronunciationLength > kMaxTextLength)
        return -1;
    std::string texts(node.WordLength + node.PronunciationLength, '\0');
    if (!ReadAt(fs, H(ctx, kCdWordsHandle), node.TextOffset, &texts[0],
                static_cast<uint32_t>(texts.size())))
        return -1;

    const int64_t trEnd = fs.Size(H(ctx, kUserTranslationsHandle));
    const int64_t wordsEnd = fs.Size(H(ctx, kUserWordsHandle));
    if (trEnd < kFirstUserTranslation || wordsEnd < static_cast<int64_t>(kFileHeaderSize))
        return -1;
    std::string copy;
    for (size_t i = 0; i < chain.size(); ++i) {
        TranslationHead head = chain[i].Head;
        const int64_t own = trEnd + static_cast<int64_t>(copy.size());
        head.Next = (i + 1 < chain.size())
                        ? static_cast<int32_t>(own + TranslationHead::kSize + head.Length)
                        : 0;
        uint8_t b[TranslationHead::kSize];
        head.Encode(b);
        copy.append(reinterpret_cast<const char*>(b), sizeof b);
        copy += chain[i].Text;
    }
    node.Flags = static_cast<uint8_t>((node.Flags | kFlagDisk) & ~kFlagCd);
    // An entry without translations keeps an empty chain.
    node.FirstTranslation = chain.empty() ? 0 : static_cast<int32_t>(trEnd);
    node.TextOffset = static_cast<int32_t>(wordsEnd);
    if (!WriteWhole(fs, H(ctx, kUserTranslationsHandle), trEnd, copy.data(),
                    static_cast<uint32_t>(copy.size())) ||
        !WriteWhole(fs, H(ctx, kUserWordsHandle), wordsEnd, texts.data(),
                    static_cast<uint32_t>(texts.size())) ||
        !WriteNodeRecord(ctx, H(ctx, kNodeHandle), ctx.FoundOffset, node)) {
        // Nothing refers to the copies yet: the files keep their old sizes.
        CutTo(fs, H(ctx, kUserTranslationsHandle), trEnd);
        CutTo(fs, H(ctx, kUserWordsHandle), wordsEnd);
        return -1;
    }
    ctx.Node.Node = node;
    return 1;
}

int AddEntry(EngineContext& ctx, const std::string& word, const std::string& pronunciation,
             std::string& translation, int origin) {
    if (!word.empty() && word[0] == ctx.Settings.GrammarSeparator) return 1;
    if (TooLong(word) || TooLong(pronunciation) || TooLong(translation)) return -1;
    // No change goes unlogged.
    if (!LogIsOpen(ctx)) return -1;
    if (LocateWord(ctx, word) != 1) return -1;
    MarkNote(ctx, translation);
    const uint8_t newFlags =
        static_cast<uint8_t>((origin & (kFlagDisk | kFlagCd)) | (ctx.ArchiveMode ? kFlagArchive : 0));
    FileSystem& fs = ctx.Files;
    const FileHandle nodes = H(ctx, kNodeHandle), userWords = H(ctx, kUserWordsHandle),
                     userTr = H(ctx, kUserTranslationsHandle);
    const TranslationHead newHead{0, newFlags, static_cast<uint8_t>(translation.size())};

    const FileHandle logFile = ctx.LogHandle;
    const int64_t logSize = fs.Size(logFile);
    if (logSize < 0) return -1;
    if (ctx.ExactMatch == 1) {
        const int32_t at = ctx.FoundOffset;
        // A failed add leaves every file as it was: the sizes before it, and
        // a node copied to the Disk files for it pointing at the shipped ones again.
        const WordNode shipped = ctx.Node.Node;
        const int64_t trBefore = fs.Size(userTr), wordsBefore = fs.Size(userWords);
        const bool moved = (ctx.Node.Node.Flags & kFlagCd) != 0;
        if (trBefore < 0 || wordsBefore < 0 || (moved && MoveNodeToDisk(ctx) != 1)) return -1;
        auto unmove = [&] {
            return !moved || (WriteNodeRecord(ctx, nodes, at, shipped) && CutTo(fs, userTr, trBefore) &&
                              CutTo(fs, userWords, wordsBefore));
        };
        std::vector<ChainRecord> chain;
        if (ReadUserChain(ctx, true, chain) != 1) {
            unmove();
            return -1;
        }
        bool exists = false;
        for (const ChainRecord& rec : chain)
            if (!rec.Head.Deleted() && CompareText(rec.Text, translation) == 0) exists = true;

        WordNode node = ctx.Node.Node;
        node.Flags |= kFlagDisk;
        const bool newPronunciation = pronunciation != ctx.Node.Pronunciation;
        // A deleted word comes back with its new translation.
        node.Flags &= static_cast<uint8_t>(~kFlagDeleted);
        const int64_t wordsEnd = fs.Size(userWords);
        auto writeNewPronunciation = [&] {
            if (wordsEnd < static_cast<int64_t>(kFileHeaderSize) ||
                !AppendBytes(ctx, userWords, wordsEnd, ctx.Node.Word, pronunciation))
                return false;
            node.TextOffset = static_cast<int32_t>(wordsEnd);
            node.PronunciationLength = static_cast<uint8_t>(pronunciation.size());
            return true;
        };
        if (exists) {
            // The translation is there: only the node changes.
            if ((newPronunciation && !writeNewPronunciation()) || !WriteNodeRecord(ctx, nodes, at, node)) {
                if (CutTo(fs, userWords, wordsEnd)) unmove();
                return -1;
            }
            ctx.Node.Node = node;
            ctx.Node.Pronunciation = pronunciation;
            return 2;
        }

        const int64_t t = fs.Size(userTr);
        if (t < kFirstUserTranslation || AppendActionRecord(ctx, kActionAdded, at, static_cast<int32_t>(t)) != 1) {
            unmove();
            return -1;
        }
        // The new translation joins the chain with one write (the link to it),
        // and the node is written last (its first translation, a new
        // pronunciation, a deleted word coming back): what stops before the
        // link is taken back with the record, and what stops after it leaves
        // the node as it was, for one Undo to take the translation back.
        bool ok = WriteTranslationRecord(ctx, t, newHead, translation) &&
                  (!newPronunciation || writeNewPronunciation());
        if (ok && chain.empty()) node.FirstTranslation = static_cast<int32_t>(t);
        bool linked = false;
        if (ok && !chain.empty()) {
            TranslationHead last = chain.back().Head;
            last.Next = static_cast<int32_t>(t);
            linked = true;  // tried
            ok = WriteHead(ctx, userTr, chain.back().Offset, last);
        }
        const bool counted = ok && AdjustWordCount(ctx, 1) == 1;
        if (!counted || !WriteNodeRecord(ctx, nodes, at, node)) {
            // The link taken back first, so that the translation is in no
            // chain when the record goes.
            ctx.KeepLogNote = true;
            if ((!linked || WriteHead(ctx, userTr, chain.back().Offset, chain.back().Head)) &&
                AbandonLastRecord(ctx, counted ? 1 : 0) && unmove() && CutTo(fs, userTr, t) &&
                CutTo(fs, userWords, wordsEnd))
                CutTo(fs, logFile, logSize);
            return -1;
        }
        ctx.Node.Node = node;
        ctx.Node.Pronunciation = pronunciation;
        return 1;
    }

    // A new entry N after P, the node the search stopped at, and before Q.
    const int32_t p = ctx.FoundOffset;
    WordNode pNode = ctx.Node.Node;
    WordNode qNode;
    const int32_t q = pNode.Next;
    if (!ReadNodeRecord(ctx, nodes, q, qNode)) return -1;
    const int64_t nodesSize = fs.Size(nodes), t = fs.Size(userTr), w = fs.Size(userWords);
    if (nodesSize < kHighSentinelNode + static_cast<int64_t>(WordNode::kSize) || t < kFirstUserTranslation ||
        w < static_cast<int64_t>(kFileHeaderSize))
        return -1;
    // Nodes are read in file order too (archive save, export, search): a part
    // of a node that a full disk cut short is written over.
    const int64_t n = nodesSize - (nodesSize - kLowSentinelNode) % static_cast<int64_t>(WordNode::kSize);
    if (n > INT32_MAX - static_cast<int64_t>(WordNode::kSize)) return -1;
    const bool newKey = ctx.InsertPosition != -1;
    const WordNode node{p, q, static_cast<int32_t>(t), static_cast<int32_t>(w), newFlags,
                        static_cast<uint8_t>(word.size()), static_cast<uint8_t>(pronunciation.size())};
    // The note of the record names where the new key record goes, so that a
    // settle can take a stopped move of the key index back.
    if (AppendStep(ctx, kActionAdded, static_cast<int32_t>(n), static_cast<int32_t>(t),
                   newKey ? ctx.InsertPosition : 0) != 1)
        return -1;
    // The translation and the texts come before the node, so that a node in
    // the file always has them. The node is written deleted, linked from P
    // and Q, and made live with the last write: a reader (the list, or the
    // jobs that read nodes in file order) never sees it before.
    WordNode hidden = node;
    hidden.Flags |= kFlagDeleted;
    const WordNode pBefore = pNode, qBefore = qNode;
    pNode.Next = static_cast<int32_t>(n);
    qNode.Previous = static_cast<int32_t>(n);
    bool roomTried = false, pLinked = false, qLinked = false, counted = false;  // writes tried
    // A failed add leaves every file as it was: the links to the new node
    // taken back (the one after it first), the key index put back together,
    // the record taken back, and the files cut to their old sizes. What
    // cannot be written now is left for the next opening of the log.
    auto fail = [&] {
        ctx.KeepLogNote = true;
        if ((!qLinked || WriteNodeRecord(ctx, nodes, q, qBefore)) &&
            (!pLinked || WriteNodeRecord(ctx, nodes, p, pBefore)) &&
            (!roomTried || TakeBackKeyShift(ctx, H(ctx, kKeyIndexHandle), ctx.InsertPosition) == 1) &&
            AbandonLastRecord(ctx, counted ? 1 : 0) && CutTo(fs, nodes, n) && CutTo(fs, userWords, w) &&
            CutTo(fs, userTr, t))
            CutTo(fs, logFile, logSize);
        return -1;
    };
    if (newKey && !(roomTried = true, MakeKeyRoom(ctx))) return fail();
    bool ok = WriteTranslationRecord(ctx, t, newHead, translation) &&
              AppendBytes(ctx, userWords, w, word, pronunciation) &&
              WriteNodeRecord(ctx, nodes, static_cast<int32_t>(n), hidden) &&
              (pLinked = true, WriteNodeRecord(ctx, nodes, p, pNode)) &&
              (qLinked = true, WriteNodeRecord(ctx, nodes, q, qNode));
    if (!ok || !(counted = AdjustWordCount(ctx, 1) == 1)) return fail();
    if (!WriteNodeRecord(ctx, nodes, static_cast<int32_t>(n), node)) return fail();
    if (newKey) {
        KeyRecord rec{ctx.LastKey.Reserved, WordSortKey(word, ctx.OpenSlot, ctx.Settings),
                      static_cast<int32_t>(n)};
        if (!InsertKeyRecord(ctx, ctx.InsertPosition, rec)) return fail();
    }
    ctx.FoundOffset = static_cast<int32_t>(n);
    ctx.Node.Node = node;
    ctx.Node.Word = word;
    ctx.Node.Pronunciation = pronunciation;
    return 1;
}

int DeleteWord(EngineContext& ctx, const std::string& word) {
    if (!LogIsOpen(ctx)) return -1;
    if (LocateWord(ctx, word) != 1) return -1;
    if (ctx.ExactMatch != 1) return 2;
    const int32_t at = ctx.FoundOffset;
    if ((ctx.Node.Node.Flags & kFlagCd) && MoveNodeToDisk(ctx) != 1) return -1;
    std::vector<ChainRecord> chain;
    if (ReadUserChain(ctx, false, chain) != 1) return -1;
    const FileHandle userTr = H(ctx, kUserTranslationsHandle);
    for (ChainRecord& rec : chain) {
        if (rec.Head.Deleted()) continue;
        if (AppendActionRecord(ctx, kActionDeleted, at, rec.Offset) != 1) return -1;
        rec.Head.Flags |= kFlagDeleted;
        if (!WriteHead(ctx, userTr, rec.Offset, rec.Head) || AdjustWordCount(ctx, -1) != 1) {
            AbandonLastRecord(ctx, 0);
            return -1;
        }
    }
    WordNode node = ctx.Node.Node;
    node.Flags |= kFlagDeleted;
    if (!WriteNodeRecord(ctx, H(ctx, kNodeHandle), at, node)) return -1;
    ctx.Node.Node = node;
    return 1;
}

int DeleteTranslation(EngineContext& ctx, const std::string& word, std::string& translation) {
    if (!LogIsOpen(ctx)) return -1;
    if (LocateWord(ctx, word) != 1) return -1;
    MarkNote(ctx, translation);
    if (ctx.ExactMatch != 1) return 2;
    const int32_t at = ctx.FoundOffset;
    if ((ctx.Node.Node.Flags & kFlagCd) && MoveNodeToDisk(ctx) != 1) return -1;
    std::vector<ChainRecord> chain;
    if (ReadUserChain(ctx, true, chain) != 1) return -1;
    ChainRecord* target = nullptr;
    for (ChainRecord& rec : chain)
        if (!rec.Head.Deleted() && CompareText(rec.Text, translation) == 0) {
            target = &rec;
            break;
        }
    if (!target) return 2;
    if (AppendActionRecord(ctx, kActionDeleted, at, target->Offset) != 1) return -1;
    target->Head.Flags |= kFlagDeleted;
    if (!WriteHead(ctx, H(ctx, kUserTranslationsHandle), target->Offset, target->Head) ||
        AdjustWordCount(ctx, -1) != 1) {
        AbandonLastRecord(ctx, 0);
        return -1;
    }
    for (const ChainRecord& rec : chain)
        if (!rec.Head.Deleted()) return 1;
    WordNode node = ctx.Node.Node;
    node.Flags |= kFlagDeleted;
    if (!WriteNodeRecord(ctx, H(ctx, kNodeHandle), at, node)) return -1;
    ctx.Node.Node = node;
    return 1;
}

}  // namespace lex
