#include "bulk_job.h"

#include <cstdio>

#include "core/texts/text_ids.h"

namespace lexbulk {

BulkJob::~BulkJob() = default;

lex::JobProgress BulkJob::Progress() const {
    lex::JobProgress p;
    p.done = done_;
    p.total = total_;
    p.text = lastWord_;
    return p;
}

void BulkJob::RestartCounters() {
    count_ = 0;
    done_ = 0;
    total_ = 0;
    lastWord_.clear();
    lastTranslation_.clear();
}

bool BulkJob::OpenSlotReader(int slot, bool& slotOpen, lex::NodeFileCursor& cursor) {
    if (lex::OpenSlotFiles(ctx_, slot, lex::kOpenReadShared) != 1)
        return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
    slotOpen = true;
    // A node file without its two sentinels is a corrupt slot, not an empty one.
    if (lex::BeginNodeFileCursor(ctx_, slot, cursor) != 1)
        return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
    return true;
}

bool BulkJob::FailWith(int caption, int text) {
    caption_ = caption;
    Fail(text);
    Release();
    return false;
}

bool BulkJob::FinishWith(int caption, int text) {
    caption_ = caption;
    SetResult(text);
    Release();
    if (total_ != 0) done_ = total_;
    return false;
}

// --- ChunkReader -------------------------------------------------------------

bool ChunkReader::Open(const std::string& path) {
    Close();
    handle_ = files_.Open(path, lex::kOpenReadShared);
    if (handle_ == lex::kNoFile) return false;
    size_ = files_.Size(handle_);
    position_ = 0;
    if (size_ < 0 || files_.Seek(handle_, 0) != 0) {
        Close();
        return false;
    }
    return true;
}

void ChunkReader::Close() {
    if (handle_ != lex::kNoFile) files_.Close(handle_);
    handle_ = lex::kNoFile;
}

int32_t ChunkReader::Next(char* buffer) {
    if (handle_ == lex::kNoFile) return 0;
    int32_t n = files_.Read(handle_, buffer, kChunk);
    if (n > 0) position_ += n;
    return n;
}

// --- CheckedWriter -----------------------------------------------------------

bool CheckedWriter::Create(const std::string& path, bool viaTemporary) {
    Abandon();
    target_ = path;
    written_ = viaTemporary ? TemporaryPathOf(path) : path;
    failed_ = false;
    pending_.clear();
    handle_ = files_.Create(written_);
    if (handle_ == lex::kNoFile) {
        written_.clear();
        return false;
    }
    return true;
}

bool CheckedWriter::Append(const std::string& bytes) {
    if (failed_ || handle_ == lex::kNoFile) return false;
    pending_ += bytes;
    if (pending_.size() >= 64 * 1024) return Flush();
    return true;
}

bool CheckedWriter::Flush() {
    if (failed_ || handle_ == lex::kNoFile) return false;
    if (!pending_.empty()) {
        const int32_t n = files_.Write(handle_, pending_.data(), static_cast<uint32_t>(pending_.size()));
        if (n != static_cast<int32_t>(pending_.size())) failed_ = true;
        pending_.clear();
    }
    return !failed_;
}

bool CheckedWriter::Commit() {
    if (handle_ == lex::kNoFile) return false;
    const bool ok = Flush();
    files_.Close(handle_);
    handle_ = lex::kNoFile;
    if (!ok) {
        if (written_ != target_) std::remove(written_.c_str());
        return false;
    }
    // The old file stays whole until the new one takes its place in one step.
    if (written_ != target_ && !lex::PlatformReplaceFile(written_, target_)) {
        std::remove(written_.c_str());
        return false;
    }
    return true;
}

void CheckedWriter::Abandon() {
    if (handle_ == lex::kNoFile) return;
    if (written_ == target_) Flush();
    files_.Close(handle_);
    handle_ = lex::kNoFile;
    if (written_ != target_) std::remove(written_.c_str());
}

}  // namespace lexbulk
