#include "bulk_job.h"

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

int EngineFailureText(const lex::EngineContext& ctx) { return EngineFailureText(lex::FailureOf(ctx)); }

int EngineFailureText(lex::EngineFailure failure) {
    switch (failure) {
    case lex::EngineFailure::WriteRefused:
        return lex::kTextWriteFailed;
    case lex::EngineFailure::NotOpened:
        return lex::kTextEntryLocked;
    default:
        return lex::kTextDataFilesCorrupted;
    }
}

int BulkJob::EngineFailureText() const { return lexbulk::EngineFailureText(ctx_); }

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

}  // namespace lexbulk
