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
}

void BlockCache::Forget(FileHandle h) {
    for (Block& b : blocks_)
        if (b.File == h) b = Block{};
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

bool BlockCache::Read(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    if (!active_ || offset < 0) return fs.ReadAt(h, offset, buffer, count);
    if (count == 0) return true;
    FileState& file = StateOf(h);
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int64_t pos = offset;
    uint32_t left = count;
    while (left > 0) {
        int slot = -1;
        for (int i = 0; i < kBlocks && slot < 0; ++i) {
            const Block& b = blocks_[i];
            if (b.File == h && b.Start <= pos && pos < b.Start + b.Length) slot = i;
        }
        if (slot < 0) {
            const bool near = file.LastMiss >= 0 && pos >= file.LastMiss - kNear && pos < file.LastMiss + kNear;
            file.LastMiss = pos;
            // Far from the last miss: only what was asked for.
            if (!near) return fs.ReadAt(h, pos, out, left);
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
