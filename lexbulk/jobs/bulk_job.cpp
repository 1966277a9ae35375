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

bool BulkJob::OpenSlotReader(int slot, bool& slotOpen, std::unique_ptr<NodeFileReader>& reader) {
    if (lex::OpenSlotFiles(ctx_, slot, lex::kOpenReadShared) != 1)
        return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
    slotOpen = true;
    reader = std::make_unique<NodeFileReader>(ctx_);
    if (!reader->Begin()) return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
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
    if (written_ != target_) {
        std::remove(target_.c_str());
        if (std::rename(written_.c_str(), target_.c_str()) != 0) {
            std::remove(written_.c_str());
            return false;
        }
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

// --- NodeFileReader ----------------------------------------------------------

bool NodeFileReader::Begin() {
    lex::FileSystem& fs = ctx_.Files;
    const int64_t size = fs.Size(ctx_.Handles[lex::kNodeHandle]);
    const int64_t minimum = lex::kHighSentinelNode + static_cast<int64_t>(lex::WordNode::kSize);
    if (size < minimum) return false;
    nodes_ = (size - lex::kLowSentinelNode) / static_cast<int64_t>(lex::WordNode::kSize);
    next_ = 2;
    translationsSize_ = fs.Size(ctx_.Handles[lex::kUserTranslationsHandle]);
    wordsSize_ = fs.Size(ctx_.Handles[lex::kUserWordsHandle]);
    return translationsSize_ >= 0 && wordsSize_ >= 0;
}

int NodeFileReader::Next(StoredEntry& entry) {
    if (next_ >= nodes_) return 0;
    lex::FileSystem& fs = ctx_.Files;
    entry = StoredEntry();
    entry.Offset = static_cast<int32_t>(lex::kLowSentinelNode + next_ * static_cast<int64_t>(lex::WordNode::kSize));
    ++next_;
    uint8_t b[lex::WordNode::kSize];
    if (!lex::ReadAt(fs, ctx_.Handles[lex::kNodeHandle], entry.Offset, b, sizeof b)) return -1;
    entry.Node = lex::WordNode::Decode(b);
    if (!(entry.Node.Flags & lex::kFlagDisk) || (entry.Node.Flags & lex::kFlagCd)) return 1;

    const uint32_t textLength = entry.Node.WordLength + entry.Node.PronunciationLength;
    std::string texts(textLength, '\0');
    if (entry.Node.TextOffset < static_cast<int32_t>(lex::kFileHeaderSize) ||
        entry.Node.TextOffset + static_cast<int64_t>(textLength) > wordsSize_)
        return -1;
    if (textLength && !lex::ReadAt(fs, ctx_.Handles[lex::kUserWordsHandle], entry.Node.TextOffset, &texts[0], textLength))
        return -1;
    entry.Word = texts.substr(0, entry.Node.WordLength);
    entry.Pronunciation = texts.substr(entry.Node.WordLength);

    // The chain: each record lies inside the file and no chain is longer than
    // the file holds records.
    int32_t offset = entry.Node.FirstTranslation;
    const int64_t maxRecords = translationsSize_ / static_cast<int64_t>(lex::TranslationHead::kSize) + 1;
    for (int64_t n = 0; offset != 0; ++n) {
        if (n > maxRecords || offset < lex::kFirstUserTranslation ||
            offset + static_cast<int64_t>(lex::TranslationHead::kSize) > translationsSize_)
            return -1;
        uint8_t h[lex::TranslationHead::kSize];
        if (!lex::ReadAt(fs, ctx_.Handles[lex::kUserTranslationsHandle], offset, h, sizeof h)) return -1;
        lex::EntryTranslation t;
        t.Offset = offset;
        t.Head = lex::TranslationHead::Decode(h);
        t.Text.assign(t.Head.Length, '\0');
        if (t.Head.Length &&
            !lex::ReadAt(fs, ctx_.Handles[lex::kUserTranslationsHandle], offset + lex::TranslationHead::kSize,
                         &t.Text[0], t.Head.Length))
            return -1;
        offset = t.Head.Next;
        entry.Translations.push_back(std::move(t));
    }
    return 1;
}

}  // namespace lexbulk
