#include "archive_record.h"

#include <algorithm>

#include "entry_template.h"

namespace lexbulk {

namespace {

bool SoundText(const std::string& text, bool mayBeEmpty) {
    return (mayBeEmpty || !text.empty()) && text.size() <= kMaxEntryTextBytes;
}

}  // namespace

bool EncodeArchiveRecord(const ArchiveRecord& record, std::string& out) {
    if (!SoundText(record.word, false) || !SoundText(record.pronunciation, true) ||
        !SoundText(record.translation, false))
        return false;
    out += static_cast<char>(record.slot);
    out += static_cast<char>(record.nodeFlags);
    out += static_cast<char>(record.word.size());
    out += static_cast<char>(record.pronunciation.size());
    out += record.word;
    out += record.pronunciation;
    out += static_cast<char>(record.translationFlags);
    out += static_cast<char>(record.translation.size());
    out += record.translation;
    return true;
}

void ArchiveReader::Feed(const char* data, size_t size) {
    if (ended_) return;
    consumed_ += next_;
    buffer_.erase(0, next_);
    next_ = 0;
    buffer_.append(data, size);
}

ArchiveResult ArchiveReader::Next(ArchiveRecord& record) {
    if (!variantKnown_) {
        // Older variant: longer than 100 bytes, and those 100 bytes all zero.
        if (buffer_.size() <= kOlderArchiveHeaderBytes && !ended_) return ArchiveResult::kNeedInput;
        older_ = buffer_.size() > kOlderArchiveHeaderBytes &&
                 std::all_of(buffer_.begin(), buffer_.begin() + kOlderArchiveHeaderBytes,
                             [](char c) { return c == 0; });
        variantKnown_ = true;
        if (older_) next_ = kOlderArchiveHeaderBytes;
    }
    const size_t available = buffer_.size() - next_;
    if (available == 0) return ended_ ? ArchiveResult::kEnd : ArchiveResult::kNeedInput;
    auto byteAt = [&](size_t offset) { return static_cast<uint8_t>(buffer_[next_ + offset]); };
    auto missing = [&] { return ended_ ? ArchiveResult::kTruncated : ArchiveResult::kNeedInput; };

    if (available < 4) return missing();
    const size_t lw = byteAt(2), lp = byteAt(3);
    const size_t flagsAt = 4 + lw + lp;
    const size_t lengthAt = flagsAt + (older_ ? 2 : 1);
    if (available < lengthAt + 1) return missing();
    const size_t lt = byteAt(lengthAt);
    const size_t total = lengthAt + 1 + lt;
    if (available < total) return missing();

    ArchiveRecord read;
    read.slot = byteAt(0);
    read.nodeFlags = byteAt(1);
    read.word.assign(buffer_, next_ + 4, lw);
    read.pronunciation.assign(buffer_, next_ + 4 + lw, lp);
    read.translationFlags = byteAt(flagsAt);
    read.translation.assign(buffer_, next_ + lengthAt + 1, lt);
    next_ += total;
    if (!SoundText(read.word, false) || !SoundText(read.pronunciation, true) ||
        !SoundText(read.translation, false))
        return ArchiveResult::kDamaged;
    record = std::move(read);
    return ArchiveResult::kRecord;
}

}  // namespace lexbulk
