#include "read_cache.h"

#include <algorithm>
#include <cstring>

namespace lex {

void BlockCache::Start() {
    Drop();
    if (!enabled_) return;
    if (data_.empty()) data_.resize(static_cast<size_t>(kLargeBlock) * kBlocks);
    active_ = true;
}

void BlockCache::Drop() {
    active_ = false;
    for (Block& b : blocks_) b = Block{};
    files_.clear();
    clock_ = 0;
    wholeFile_ = kNoFile;
    ForgetRecords();
}

void BlockCache::ForgetRecords() {
    records_.clear();
    recordCount_ = 0;
    if (++generation_ == 0) {  // wrapped: no slot may look current
        for (Record& r : recordSlots_) r.Generation = 0;
        generation_ = 1;
    }
}

namespace {

uint32_t SlotOf(FileHandle h, int64_t offset, uint32_t slots) {
    uint64_t k = static_cast<uint64_t>(offset) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(h) * 0xC2B2AE3D27D4EB4Full;
    return static_cast<uint32_t>(k >> 32) & (slots - 1);
}

}  // namespace

BlockCache::Record* BlockCache::FindRecord(FileHandle h, int64_t offset) {
    if (recordCount_ == 0) return nullptr;
    for (uint32_t i = SlotOf(h, offset, kRecordSlots);; i = (i + 1) & (kRecordSlots - 1)) {
        Record& r = recordSlots_[i];
        if (r.Generation != generation_) return nullptr;
        if (r.File == h && r.Offset == offset) return &r;
    }
}

void BlockCache::KeepRecord(FileHandle h, int64_t offset, const uint8_t* bytes, uint32_t count) {
    if (count > kLargestRecord || recordCount_ >= kRecordsKept) return;
    if (recordSlots_.empty()) recordSlots_.resize(kRecordSlots);
    for (uint32_t i = SlotOf(h, offset, kRecordSlots);; i = (i + 1) & (kRecordSlots - 1)) {
        Record& r = recordSlots_[i];
        if (r.Generation == generation_ && !(r.File == h && r.Offset == offset)) continue;
        if (r.Generation == generation_ && r.Length >= count) return;
        if (r.Generation != generation_) ++recordCount_;
        r.File = h;
        r.Offset = offset;
        r.Length = count;
        r.At = static_cast<uint32_t>(records_.size());
        r.Generation = generation_;
        records_.insert(records_.end(), bytes, bytes + count);
        return;
    }
}

void BlockCache::Forget(FileHandle h) {
    // The handle's number may come back for another file.
    ForgetRecords();
    for (Block& b : blocks_)
        if (b.File == h) b = Block{};
    if (wholeFile_ == h) wholeFile_ = kNoFile;
    files_.erase(std::remove_if(files_.begin(), files_.end(),
                                [h](const FileState& f) { return f.File == h; }),
                 files_.end());
}

BlockCache::FileState& BlockCache::StateOf(FileHandle h) {
    for (FileState& f : files_)
        if (f.File == h) return f;
    files_.push_back({h, -1, -1});
    return files_.back();
}

int64_t BlockCache::Size(FileSystem& fs, FileHandle h) {
    if (!active_) return fs.Size(h);
    FileState& f = StateOf(h);
    if (f.Size < 0) f.Size = fs.Size(h);
    return f.Size;
}

bool BlockCache::HoldWhole(FileSystem& fs, FileHandle h) {
    if (!active_) return false;
    if (wholeFile_ == h) return true;
    const int64_t size = Size(fs, h);
    if (size <= 0 || size > kWholeFile) return false;
    whole_.resize(static_cast<size_t>(size));
    wholeFile_ = kNoFile;
    if (fs.ReadSome(h, 0, whole_.data(), static_cast<uint32_t>(size)) != size) return false;
    wholeFile_ = h;
    return true;
}

bool BlockCache::Read(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    if (!active_ || offset < 0) return fs.ReadAt(h, offset, buffer, count);
    if (count == 0) return true;
    if (h == wholeFile_ && offset + count <= static_cast<int64_t>(whole_.size())) {
        std::memcpy(buffer, whole_.data() + offset, count);
        return true;
    }
    if (const Record* r = FindRecord(h, offset); r && r->Length >= count) {
        std::memcpy(buffer, records_.data() + r->At, count);
        return true;
    }
    FileState& file = StateOf(h);
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int64_t pos = offset;
    uint32_t left = count;
    while (left > 0) {
        // Reads in a row mostly fall in the block of the one before.
        auto holds = [&](const Block& b) { return b.File == h && b.Start <= pos && pos < b.Start + b.Length; };
        int slot = holds(blocks_[lastBlock_]) ? lastBlock_ : -1;
        for (int i = 0; i < kBlocks && slot < 0; ++i)
            if (holds(blocks_[i])) slot = i;
        if (slot < 0) {
            const bool near = file.LastMiss < 0 || (pos >= file.LastMiss - kNear && pos < file.LastMiss + kNear);
            file.LastMiss = pos;
            // Far from the last miss: only what was asked for, kept when a
            // whole record.
            if (!near) {
                if (!fs.ReadAt(h, pos, out, left)) return false;
                if (pos == offset) KeepRecord(h, pos, out, left);
                return true;
            }
            slot = 0;
            for (int i = 1; i < kBlocks; ++i)
                if (blocks_[i].Used < blocks_[slot].Used) slot = i;
            Block& b = blocks_[slot];
            b = Block{};
            const int64_t start = pos / kLargeBlock * kLargeBlock;
            uint8_t* at = data_.data() + static_cast<size_t>(slot) * kLargeBlock;
            const int32_t got = fs.ReadSome(h, start, at, kLargeBlock);
            // A block that ends before `pos` (the end of the file): read directly.
            if (got <= pos - start) return fs.ReadAt(h, offset, buffer, count);
            b.File = h;
            b.Start = start;
            b.Length = static_cast<uint32_t>(got);
        }
        Block& b = blocks_[slot];
        b.Used = ++clock_;
        lastBlock_ = slot;
        const uint32_t within = static_cast<uint32_t>(pos - b.Start);
        const uint32_t n = std::min(left, b.Length - within);
        std::memcpy(out, data_.data() + static_cast<size_t>(slot) * kLargeBlock + within, n);
        out += n;
        pos += n;
        left -= n;
    }
    return true;
}

}  // namespace lex
