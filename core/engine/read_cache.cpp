#include "read_cache.h"

#include <algorithm>
#include <cstring>

namespace lex {

void BlockCache::Start() {
    Drop();
    if (data_.empty()) data_.resize(static_cast<size_t>(kBlockSize) * kBlocks);
    active_ = true;
}

void BlockCache::Drop() {
    active_ = false;
    for (Block& b : blocks_) b = Block{};
    sizes_.clear();
    clock_ = 0;
}

void BlockCache::Forget(FileHandle h) {
    for (Block& b : blocks_)
        if (b.File == h) b = Block{};
    sizes_.erase(std::remove_if(sizes_.begin(), sizes_.end(),
                                [h](const KnownSize& k) { return k.File == h; }),
                 sizes_.end());
}

int64_t BlockCache::Size(FileSystem& fs, FileHandle h) {
    if (!active_) return fs.Size(h);
    for (const KnownSize& k : sizes_)
        if (k.File == h) return k.Size;
    const int64_t size = fs.Size(h);
    if (size >= 0) sizes_.push_back({h, size});
    return size;
}

bool BlockCache::Read(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    if (!active_ || offset < 0) return fs.ReadAt(h, offset, buffer, count);
    if (count == 0) return true;
    const int64_t size = Size(fs, h);
    if (size < 0 || offset + static_cast<int64_t>(count) > size)
        return fs.ReadAt(h, offset, buffer, count);
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int64_t pos = offset;
    uint32_t left = count;
    while (left > 0) {
        const int64_t start = pos / kBlockSize * kBlockSize;
        int slot = -1;
        for (int i = 0; i < kBlocks && slot < 0; ++i)
            if (blocks_[i].File == h && blocks_[i].Start == start) slot = i;
        if (slot < 0) {
            slot = 0;
            for (int i = 1; i < kBlocks; ++i)
                if (blocks_[i].Used < blocks_[slot].Used) slot = i;
            Block& b = blocks_[slot];
            b = Block{};
            const uint32_t length = static_cast<uint32_t>(std::min<int64_t>(kBlockSize, size - start));
            uint8_t* at = data_.data() + static_cast<size_t>(slot) * kBlockSize;
            if (!fs.ReadAt(h, start, at, length)) return fs.ReadAt(h, offset, buffer, count);
            b.File = h;
            b.Start = start;
            b.Length = length;
        }
        Block& b = blocks_[slot];
        b.Used = ++clock_;
        const uint32_t within = static_cast<uint32_t>(pos - b.Start);
        if (within >= b.Length) return fs.ReadAt(h, offset, buffer, count);
        const uint32_t n = std::min(left, b.Length - within);
        std::memcpy(out, data_.data() + static_cast<size_t>(slot) * kBlockSize + within, n);
        out += n;
        pos += n;
        left -= n;
    }
    return true;
}

}  // namespace lex
