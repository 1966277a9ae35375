// The block cache of one read operation: a lookup reads its key records,
// nodes, texts and translations through a few blocks of the files, so that
// neighbouring records cost one read, and keeps the small records it read
// one by one, so that a walk that comes back over a node (the entry found, a
// walk back over nodes passed forward) does not read it again. Blocks and
// records live only while the operation runs and are dropped when its files
// close; the edits never read through them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/files/file_system.h"

namespace lex {

class BlockCache {
public:
    // A read that misses loads a block when it is the file's first (a lookup
    // reads on from there) or lies near the file's previous miss (a list read
    // in order, a search closing in); far from it, only the bytes asked for
    // are read, so scattered records cost no more than before.
    static constexpr uint32_t kLargeBlock = 4096;
    static constexpr int64_t kNear = 4 * kLargeBlock;
    static constexpr int kBlocks = 16;
    // Records read one by one that are kept: at most this long, this many.
    static constexpr uint32_t kLargestRecord = 512;
    static constexpr uint32_t kRecordSlots = 4096;  // a power of two
    static constexpr uint32_t kRecordsKept = kRecordSlots / 2;
    // A file searched by halving (the key index) is read whole in one read
    // when it is at most this long: a bisection would otherwise load a block
    // at each of its first few probes.
    static constexpr uint32_t kWholeFile = 64 * 1024;

    bool Active() const { return active_; }
    // Off: every read goes to the file (to compare results and read counts).
    void SetEnabled(bool on) { enabled_ = on; }
    // Starts serving reads (an operation begins).
    void Start();
    // Forgets every block and size and stops serving reads.
    void Drop();
    // Forgets what is held of one file (about to be closed).
    void Forget(FileHandle h);
    // Exactly `count` bytes at `offset`, as FileSystem::ReadAt. While the cache
    // is not active, or for bytes past the end of the blocks read, the file is
    // read directly.
    bool Read(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count);
    // The size of the file, asked once per operation while active.
    int64_t Size(FileSystem& fs, FileHandle h);
    // While active, reads the whole file `h` at once when it is at most
    // kWholeFile long, and serves its later reads from that copy (one such
    // file at a time). False when it was not read so (too long, a read error,
    // not active); the reads then go on as before.
    bool HoldWhole(FileSystem& fs, FileHandle h);

private:
    struct Block {
        FileHandle File = kNoFile;
        int64_t Start = 0;
        uint32_t Length = 0;
        uint64_t Used = 0;
    };
    struct FileState {
        FileHandle File;
        int64_t Size;      // -1 until asked (a costly call on some systems)
        int64_t LastMiss;  // offset of the last read that missed, -1 none
    };
    struct Record {
        FileHandle File = kNoFile;
        int64_t Offset = 0;
        uint32_t Length = 0;
        uint32_t At = 0;          // in records_
        uint32_t Generation = 0;  // kept while it equals generation_
    };
    FileState& StateOf(FileHandle h);
    Record* FindRecord(FileHandle h, int64_t offset);
    void KeepRecord(FileHandle h, int64_t offset, const uint8_t* bytes, uint32_t count);
    void ForgetRecords();
    bool enabled_ = true;
    bool active_ = false;
    std::vector<uint8_t> data_;
    FileHandle wholeFile_ = kNoFile;
    std::vector<uint8_t> whole_;
    Block blocks_[kBlocks];
    int lastBlock_ = 0;  // the block that served the last read
    std::vector<FileState> files_;
    uint64_t clock_ = 0;
    std::vector<Record> recordSlots_;
    std::vector<uint8_t> records_;
    uint32_t recordCount_ = 0;
    uint32_t generation_ = 1;
};

}  // namespace lex
