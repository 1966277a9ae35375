// Helpers shared by the engine's source files.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine.h"

namespace lex {
namespace detail {

inline FileHandle H(EngineContext& ctx, int n) { return ctx.Handles[n]; }

// A handle of the open slot; a CD file of a slot opened for reading is opened
// here, the first time one of its records is read. kNoFile when it cannot be.
FileHandle SlotFile(EngineContext& ctx, int n);

// Opens the slot's files for one read operation: the four Disk files
// read-only, the two CD files only checked for (SlotFile opens them when
// needed), and starts the block cache that CloseSlotFiles drops. As
// OpenSlotFiles otherwise: 1, or -1 after ten failed attempts.
int OpenSlotForReading(EngineContext& ctx, int slot);

// Reads of the engine: through the running operation's block cache, if any.
inline bool ReadBytes(EngineContext& ctx, FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    return ctx.Cache.Read(ctx.Files, h, offset, buffer, count);
}
inline int64_t FileSize(EngineContext& ctx, FileHandle h) { return ctx.Cache.Size(ctx.Files, h); }
// Closes a file the operation opened for itself.
inline void CloseOwnFile(EngineContext& ctx, FileHandle h) {
    if (h == kNoFile) return;
    ctx.Cache.Forget(h);
    ctx.Files.Close(h);
}


// Writes all `count` bytes at `offset`. A write that stores only part of
// them (a file system may do so when it runs out of room) is carried on with
// the rest; false when the file takes no more.
bool WriteWhole(FileSystem& fs, FileHandle h, int64_t offset, const void* buffer, uint32_t count);

// Node records lie at offset 40 or later.
bool ReadNodeRecord(EngineContext& ctx, FileHandle h, int32_t offset, WordNode& node);
bool WriteNodeRecord(EngineContext& ctx, FileHandle h, int32_t offset, const WordNode& node);
bool WriteHead(EngineContext& ctx, FileHandle h, int32_t offset, const TranslationHead& head);

// The bound of a walk, asked of the file only when the walk gets long (the
// size of a file is a costly call on some systems).
class WalkBound {
public:
    WalkBound(EngineContext& ctx, FileHandle h, int64_t base, int64_t recordSize, int64_t slack = 0)
        : ctx_(ctx), h_(h), base_(base), recordSize_(recordSize), slack_(slack) {}
    // True when `steps` is more than the file can hold (a cycle). Another
    // program may add records while the walk runs, so a walk that passes the
    // bound asks the file again before it calls the list a cycle.
    bool Exceeded(int64_t steps) {
        if (steps < kFreeSteps) return false;
        if (limit_ < 0) limit_ = LimitOf(FileSize(ctx_, h_));
        if (steps > limit_) limit_ = std::max(limit_, LimitOf(ctx_.Files.Size(h_)));
        return steps > limit_;
    }

private:
    static constexpr int64_t kFreeSteps = 64;
    EngineContext& ctx_;
    FileHandle h_;
    int64_t LimitOf(int64_t size) const { return size < base_ ? 0 : (size - base_) / recordSize_ + 1 + slack_; }
    int64_t base_, recordSize_, slack_;
    int64_t limit_ = -1;
};

struct ChainRecord {
    int32_t Offset = 0;
    TranslationHead Head;
    std::string Text;
};
// Reads a whole translation chain (heads, and texts when `texts`), checking every
// offset (at least `minOffset`) and length and bounding the walk by the file size.
// 1, or -1 on a short read or a corrupt chain.
int ReadChain(EngineContext& ctx, FileHandle h, int32_t first, int32_t minOffset, bool texts,
              std::vector<ChainRecord>& out);

// A change that failed after its action record was appended: takes back
// what it wrote of its data (as an Undo would, without the word count), sets
// the word count to the one the record's note holds from before the change
// (without a note: moves it back by `countWritten`, the change it had made)
// and takes the record back. What cannot be written now stays for the next
// opening of the log, which finishes it (see OpenActionLog). True when the
// record was taken back (else it stays, and its note with it).
bool AbandonLastRecord(EngineContext& ctx, int32_t countWritten);

// AppendActionRecord, with the place `keyPosition` (a byte offset, 0: none)
// where a new word puts its new key record noted for the settle.
int AppendStep(EngineContext& ctx, uint8_t action, int32_t node, int32_t translation, int32_t keyPosition);

// Takes a stopped move of the key index for a new key record at `position`
// back (the one pair of equal records at or after it), and cuts off a part
// of a record at its end. 1 done, 0 damage (left alone), -1 on a failure.
int TakeBackKeyShift(EngineContext& ctx, FileHandle keys, int64_t position);

inline uint8_t NewRecordFlags(const EngineContext& ctx) {
    return static_cast<uint8_t>(kFlagDisk | (ctx.ArchiveMode ? kFlagArchive : 0));
}

}  // namespace detail
}  // namespace lex
