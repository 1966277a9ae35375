// Opening, closing and creating a slot's files; the word count; record helpers.
#include <cstring>

#include "engine_internal.h"

namespace lex {

using namespace detail;

EngineContext::~EngineContext() {
    CloseSlotFiles(*this);
    CloseActionLog(*this);
}

namespace detail {

bool WriteWhole(FileSystem& fs, FileHandle h, int64_t offset, const void* buffer, uint32_t count) {
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    while (count > 0) {
        if (fs.Seek(h, offset) != offset) return false;
        const int32_t n = fs.Write(h, p, count);
        if (n <= 0 || static_cast<uint32_t>(n) > count) return false;
        p += n;
        offset += n;
        count -= static_cast<uint32_t>(n);
    }
    return true;
}

bool ReadNodeRecord(EngineContext& ctx, FileHandle h, int32_t offset, WordNode& node) {
    if (offset < kLowSentinelNode) return false;
    uint8_t b[WordNode::kSize];
    if (!ReadBytes(ctx, h, offset, b, sizeof b)) return false;
    node = WordNode::Decode(b);
    return true;
}

bool WriteNodeRecord(EngineContext& ctx, FileHandle h, int32_t offset, const WordNode& node) {
    if (offset < kLowSentinelNode) return false;
    uint8_t b[WordNode::kSize];
    node.Encode(b);
    return WriteWhole(ctx.Files, h, offset, b, sizeof b);
}

bool WriteHead(EngineContext& ctx, FileHandle h, int32_t offset, const TranslationHead& head) {
    if (offset < static_cast<int32_t>(kFileHeaderSize)) return false;
    uint8_t b[TranslationHead::kSize];
    head.Encode(b);
    return WriteWhole(ctx.Files, h, offset, b, sizeof b);
}

int ReadChain(EngineContext& ctx, FileHandle h, int32_t first, int32_t minOffset, bool texts,
              std::vector<ChainRecord>& out) {
    out.clear();
    if (first == 0) return 1;
    // Every record takes at least 6 bytes, so a longer walk is a cycle.
    WalkBound bound(ctx, h, minOffset, TranslationHead::kSize);
    for (int32_t off = first; off != 0;) {
        if (off < minOffset || bound.Exceeded(static_cast<int64_t>(out.size()))) return -1;
        uint8_t b[TranslationHead::kSize];
        if (!ReadBytes(ctx, h, off, b, sizeof b)) return -1;
        ChainRecord r;
        r.Offset = off;
        r.Head = TranslationHead::Decode(b);
        if (r.Head.Length > kMaxTextLength) return -1;
        if (texts && r.Head.Length > 0) {
            r.Text.resize(r.Head.Length);
            if (!ReadBytes(ctx, h, static_cast<int64_t>(off) + TranslationHead::kSize, &r.Text[0],
                           r.Head.Length))
                return -1;
        }
        // The engine appends every record after the one linking to it, so in
        // the user translations file a link back is damage (and a cycle).
        if (minOffset == kFirstUserTranslation && r.Head.Next != 0 && r.Head.Next <= off) return -1;
        off = r.Head.Next;
        out.push_back(std::move(r));
    }
    return 1;
}

}  // namespace detail

namespace {

// One to ten attempts to open the slot's files (see OpenSlotFiles); with
// `cdOnDemand` the CD files are only checked for.
int OpenSlot(EngineContext& ctx, int slot, int mode, bool cdOnDemand) {
    CloseSlotFiles(ctx);
    RestartFailures(ctx);
    if (!IsValidSlot(slot)) return -1;
    const DictionarySettings& s = ctx.Settings;
    struct Step {
        int handle;
        const std::string* path;
        int mode;
    };
    const Step steps[6] = {
        {kKeyIndexHandle, &s.KeyIndexPaths[slot], mode},
        {kCdWordsHandle, &s.CdWordsPaths[slot], kOpenReadShared},
        {kUserWordsHandle, &s.UserWordsPaths[slot], mode},
        {kNodeHandle, &s.NodePaths[slot], mode},
        {kCdTranslationsHandle, &s.CdTranslationsPaths[slot], kOpenReadShared},
        {kUserTranslationsHandle, &s.UserTranslationsPaths[slot], mode},
    };
    auto isCd = [](int handle) { return handle == kCdWordsHandle || handle == kCdTranslationsHandle; };
    constexpr int kAttempts = 10;
    constexpr int kPauseMs = 20;  // lets a write of the other program finish
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0) ctx.Files.Pause(kPauseMs);
        int opened = 0;
        for (; opened < 6; ++opened) {
            const Step& step = steps[opened];
            if (cdOnDemand && isCd(step.handle)) {
                if (!ctx.Files.Exists(*step.path)) break;
                continue;
            }
            FileHandle h = ctx.Files.Open(*step.path, step.mode);
            if (h == kNoFile) break;
            ctx.Handles[step.handle] = h;
        }
        if (opened == 6) {
            ctx.OpenSlot = slot;
            ctx.OpenMode = mode;
            ctx.ArchiveMode = 0;
            if (cdOnDemand) ctx.CdOnDemandSlot = slot;
            return 1;
        }
        for (int i = opened - 1; i >= 0; --i) {
            if (ctx.Handles[steps[i].handle] != kNoFile) ctx.Files.Close(ctx.Handles[steps[i].handle]);
            ctx.Handles[steps[i].handle] = kNoFile;
        }
    }
    ctx.ArchiveMode = 0;
    ctx.Failure = EngineFailure::NotOpened;
    return -1;
}

}  // namespace

EngineFailure FailureOf(const EngineContext& ctx) {
    if (ctx.Watch.Refused() > 0) return EngineFailure::WriteRefused;
    if (ctx.Failure != EngineFailure::None) return ctx.Failure;
    return EngineFailure::Damaged;
}

void RestartFailures(EngineContext& ctx) {
    ctx.Watch.Restart();
    ctx.Failure = EngineFailure::None;
}

namespace detail {

int OpenSlotForReading(EngineContext& ctx, int slot) {
    if (OpenSlot(ctx, slot, kOpenReadShared, true) != 1) return -1;
    ctx.Cache.Start();
    return 1;
}

FileHandle SlotFile(EngineContext& ctx, int n) {
    if (ctx.Handles[n] != kNoFile) return ctx.Handles[n];
    const int slot = ctx.CdOnDemandSlot;
    if (!IsValidSlot(slot) || (n != kCdWordsHandle && n != kCdTranslationsHandle)) return kNoFile;
    const std::string& path =
        n == kCdWordsHandle ? ctx.Settings.CdWordsPaths[slot] : ctx.Settings.CdTranslationsPaths[slot];
    ctx.Handles[n] = ctx.Files.Open(path, kOpenReadShared);
    return ctx.Handles[n];
}

}  // namespace detail

int OpenSlotFiles(EngineContext& ctx, int slot, int mode) { return OpenSlot(ctx, slot, mode, false); }

int CloseSlotFiles(EngineContext& ctx) {
    static const int kOrder[6] = {kUserTranslationsHandle, kCdTranslationsHandle, kNodeHandle,
                                  kUserWordsHandle, kCdWordsHandle, kKeyIndexHandle};
    for (int n : kOrder) {
        if (ctx.Handles[n] != kNoFile) ctx.Files.Close(ctx.Handles[n]);
        ctx.Handles[n] = kNoFile;
    }
    ctx.OpenSlot = -1;
    ctx.OpenMode = 0;
    ctx.ArchiveMode = 0;
    ctx.CdOnDemandSlot = -1;
    ctx.Cache.Drop();  // nothing read survives a close
    return 1;
}

int CreateDictionaryFiles(EngineContext& ctx, const std::string& keyIndexPath,
                          const std::string& nodePath, const std::string& userWordsPath,
                          const std::string& cdWordsPath, const std::string& userTranslationsPath,
                          const std::string& cdTranslationsPath) {
    FileSystem& fs = ctx.Files;
    FileHandle nodes = kNoFile, userWords = kNoFile, userTr = kNoFile, keys = kNoFile;
    auto closeAll = [&] {
        for (FileHandle* h : {&nodes, &userWords, &userTr, &keys}) {
            if (*h != kNoFile) fs.Close(*h);
            *h = kNoFile;
        }
    };
    auto put = [&](FileHandle h, const void* data, uint32_t n) {
        return fs.Write(h, data, n) == static_cast<int32_t>(n);
    };
    uint8_t zero4[4] = {0, 0, 0, 0};
    uint8_t rec[KeyRecord::kSize];
    uint8_t node[WordNode::kSize];

    if ((nodes = fs.Create(nodePath)) == kNoFile || !put(nodes, kFileHeaderText, kFileHeaderSize) ||
        (userWords = fs.Create(userWordsPath)) == kNoFile ||
        !put(userWords, kFileHeaderText, kFileHeaderSize) ||
        (userTr = fs.Create(userTranslationsPath)) == kNoFile ||
        !put(userTr, kFileHeaderText, kFileHeaderSize) || !put(userTr, zero4, 4) ||
        (keys = fs.Create(keyIndexPath)) == kNoFile) {
        closeAll();
        return -1;
    }
    KeyRecord{0, kLowSentinelKey, kLowSentinelNode}.Encode(rec);
    bool ok = put(keys, rec, sizeof rec);
    WordNode{0, kHighSentinelNode, 0, 40, kFlagCd | kFlagDeleted, 200, 0}.Encode(node);
    ok = ok && put(nodes, node, sizeof node);
    KeyRecord{0, kHighSentinelKey, kHighSentinelNode}.Encode(rec);
    ok = ok && put(keys, rec, sizeof rec);
    WordNode{kLowSentinelNode, 0, 0, 240, kFlagCd | kFlagDeleted, 200, 0}.Encode(node);
    ok = ok && put(nodes, node, sizeof node);
    closeAll();
    if (!ok) return -1;

    FileHandle cdWords = fs.Create(cdWordsPath);
    if (cdWords == kNoFile) return -1;
    uint8_t words[400];
    std::memset(words, 0x1F, 200);
    std::memset(words + 200, 0x9E, 200);
    ok = put(cdWords, kFileHeaderText, kFileHeaderSize) && put(cdWords, words, sizeof words);
    fs.Close(cdWords);
    if (!ok) return -1;
    FileHandle cdTr = fs.Create(cdTranslationsPath);
    if (cdTr == kNoFile) return -1;
    ok = put(cdTr, kFileHeaderText, kFileHeaderSize);
    fs.Close(cdTr);
    return ok ? 1 : -1;
}

int CreateSlotFiles(EngineContext& ctx, int slot) {
    if (!IsValidSlot(slot)) return -1;
    const DictionarySettings& s = ctx.Settings;
    return CreateDictionaryFiles(ctx, s.KeyIndexPaths[slot], s.NodePaths[slot],
                                 s.UserWordsPaths[slot], s.CdWordsPaths[slot],
                                 s.UserTranslationsPaths[slot], s.CdTranslationsPaths[slot]);
}

int32_t ReadWordCount(EngineContext& ctx) {
    uint8_t b[4];
    if (!ReadAt(ctx.Files, H(ctx, kUserTranslationsHandle), kWordCountOffset, b, 4)) return -1;
    return GetI32(b);
}

int AdjustWordCount(EngineContext& ctx, int32_t delta) {
    FileHandle h = H(ctx, kUserTranslationsHandle);
    uint8_t b[4];
    if (!ReadAt(ctx.Files, h, kWordCountOffset, b, 4)) return -1;
    PutI32(b, static_cast<int32_t>(static_cast<uint32_t>(GetI32(b)) + static_cast<uint32_t>(delta)));
    return WriteWhole(ctx.Files, h, kWordCountOffset, b, 4) ? 1 : -1;
}

}  // namespace lex
