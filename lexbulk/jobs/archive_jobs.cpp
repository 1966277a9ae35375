#include "archive_jobs.h"

#include "core/texts/text_ids.h"

namespace lexbulk {

// --- Save ----------------------------------------------------------------------

int ArchiveSaveJob::NextSelected(int after) const {
    for (int s = after + 1; s < lex::kSlotCount; ++s)
        if (slots_[s]) return s;
    return -1;
}

bool ArchiveSaveJob::OpenSlot(int slot) {
    slot_ = slot;
    return OpenSlotReader(slot, slotOpen_, cursor_);
}

bool ArchiveSaveJob::OnStart() {
    Release();
    RestartCounters();
    // The selection first: no file is touched without a slot to save.
    const int first = NextSelected(-1);
    if (first < 0) return FailWith(lex::kTextBulkWarningCaption, lex::kTextChooseEnterDirection);
    for (bool s : slots_) total_ += s ? 1 : 0;
    total_ *= 100;
    output_ = std::make_unique<lex::ReplacingWriter>(ctx_.Files);
    if (!output_->Create(path_)) return FailWith(lex::kTextFileOpenErrorCaption, lex::kTextCannotOpenEntryFile);
    return OpenSlot(first);
}

void ArchiveSaveJob::Release() {
    if (slotOpen_) lex::CloseSlotFiles(ctx_);
    slotOpen_ = false;
    if (output_) output_->Abandon();
}

bool ArchiveSaveJob::DoUnit() {
    std::vector<lex::StoredEntry> entries;
    const int r = lex::StepNodeFileCursor(ctx_, cursor_, kNodesPerUnit, entries);
    if (r < 0) return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
    if (r == 0) {
        lex::CloseSlotFiles(ctx_);
        slotOpen_ = false;
        const int next = NextSelected(slot_);
        done_ = (done_ / 100 + 1) * 100;
        if (next >= 0) return OpenSlot(next);
        if (output_->Commit() != lex::WriteOutcome::Done)
            return FailWith(lex::kTextBulkWarningCaption, lex::kTextWriteFailed);
        return FinishWith(lex::kTextArchiveStatus, lex::kTextArchiveDone);
    }
    if (cursor_.Count > 0) done_ = done_ / 100 * 100 + static_cast<uint64_t>(cursor_.Next * 99 / cursor_.Count);
    // The cursor delivers only the user's nodes (texts in the user files).
    std::string out;
    for (const lex::StoredEntry& entry : entries) {
        for (const lex::EntryTranslation& t : entry.Translations) {
            // Shipped translations and those replayed from an older archive are not archived.
            if (t.Head.Flags == lex::kFlagCd || (t.Head.Flags & lex::kFlagArchive)) continue;
            ArchiveRecord record;
            record.slot = static_cast<uint8_t>(slot_);
            record.nodeFlags = entry.Node.Flags;
            record.word = entry.Word;
            record.pronunciation = entry.Pronunciation;
            record.translationFlags = t.Head.Flags;
            record.translation = t.Text;
            if (!EncodeArchiveRecord(record, out)) continue;
            ++count_;
            lastWord_ = entry.Word;
            lastTranslation_ = t.Text;
        }
    }
    if (!output_->Append(out)) return FailWith(lex::kTextBulkWarningCaption, lex::kTextWriteFailed);
    return true;
}

// --- Load ----------------------------------------------------------------------

bool ArchiveLoadJob::OnStart() {
    Release();
    RestartCounters();
    damaged_ = false;
    source_ = std::make_unique<ChunkReader>(ctx_.Files);
    if (!source_->Open(path_)) return FailWith(lex::kTextArchiveOpenError, lex::kTextCannotOpenLoadFile);
    total_ = static_cast<uint64_t>(source_->Size());
    if (lex::OpenActionLog(ctx_) != 1) return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextEntryLocked);
    logOpen_ = true;
    reader_ = std::make_unique<ArchiveReader>();
    return true;
}

void ArchiveLoadJob::Release() {
    if (openSlot_ >= 0) lex::CloseSlotFiles(ctx_);
    openSlot_ = -1;
    if (logOpen_) lex::CloseActionLog(ctx_);
    logOpen_ = false;
    ctx_.ArchiveMode = 0;
    if (source_) source_->Close();
}

bool ArchiveLoadJob::Apply(const ArchiveRecord& record) {
    if (record.slot >= lex::kSlotCount || !slots_[record.slot]) return true;
    // A word that begins with the grammar separator is no entry: adding it
    // stores nothing, so the record is passed over and not counted.
    if (!record.TranslationDeleted() && !record.word.empty() && record.word[0] == ctx_.Settings.GrammarSeparator)
        return true;
    if (openSlot_ != record.slot) {
        if (openSlot_ >= 0) lex::CloseSlotFiles(ctx_);
        openSlot_ = -1;
        if (lex::OpenSlotFiles(ctx_, record.slot, lex::kOpenWriteDenyWrite) != 1)
            return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
        openSlot_ = record.slot;
    }
    lex::SetActionSlot(ctx_, record.slot);
    ctx_.ArchiveMode = 0;
    if (reader_->olderVariant()) lex::SetArchiveMode(ctx_);
    std::string translation = record.translation;
    const int r = record.TranslationDeleted() ? lex::DeleteTranslation(ctx_, record.word, translation)
                                              : lex::AddEntry(ctx_, record.word, record.pronunciation, translation, 1);
    if (r == -1) return FailWith(lex::kTextVocabularyErrorCaption, EngineFailureText());
    ++count_;
    lastWord_ = record.word;
    lastTranslation_ = record.translation;
    return true;
}

bool ArchiveLoadJob::DoUnit() {
    ArchiveRecord record;
    switch (reader_->Next(record)) {
    case ArchiveResult::kNeedInput: {
        const int32_t n = source_->Next(chunk_);
        if (n < 0) return FailWith(lex::kTextArchiveOpenError, lex::kTextCannotOpenLoadFile);
        if (n == 0) {
            reader_->EndInput();
        } else {
            reader_->Feed(chunk_, static_cast<size_t>(n));
        }
        return true;
    }
    case ArchiveResult::kDamaged:
        damaged_ = true;
        return true;
    case ArchiveResult::kTruncated:
        damaged_ = true;
        [[fallthrough]];
    case ArchiveResult::kEnd:
        done_ = total_;
        if (damaged_) return FinishWith(lex::kTextArchiveLoadStatus, lex::kTextArchiveDamaged);
        return FinishWith(lex::kTextArchiveLoadStatus, lex::kTextArchiveLoadDone);
    case ArchiveResult::kRecord:
        break;
    }
    done_ = reader_->position();
    return Apply(record);
}

}  // namespace lexbulk
