#include "import_job.h"

#include "core/texts/text_ids.h"

namespace lexbulk {

bool ImportJob::OnStart() {
    Release();
    RestartCounters();
    duplicates_ = 0;
    askAgain_ = true;
    searching_ = endSearch_ = false;
    if (!lex::IsValidSlot(request_.Slot)) return FailWith(lex::kTextBulkWarningCaption, lex::kTextChooseOneCode);
    format_ = std::make_unique<WordFormatTemplate>(request_.TemplateText, request_.Code);
    const TemplateCheck check = format_->CheckForImport();
    if (check != TemplateCheck::kValid)
        return FailWith(lex::kTextFormatErrorCaption, TemplateCheckTextId(check));
    source_ = std::make_unique<ChunkReader>(ctx_.Files);
    if (!source_->Open(request_.Path)) return FailWith(lex::kTextBulkWarningCaption, lex::kTextCannotOpenGivenFile);
    total_ = static_cast<uint64_t>(source_->Size());
    if (lex::OpenSlotFiles(ctx_, request_.Slot, lex::kOpenWriteDenyWrite) != 1)
        return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextEntryLocked);
    slotOpen_ = true;
    if (lex::OpenActionLog(ctx_) != 1) return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextEntryLocked);
    logOpen_ = true;
    lex::SetActionSlot(ctx_, request_.Slot);
    extractor_ = std::make_unique<EntryExtractor>(*format_);
    return true;
}

void ImportJob::Release() {
    if (slotOpen_) lex::CloseSlotFiles(ctx_);
    if (logOpen_) lex::CloseActionLog(ctx_);
    slotOpen_ = logOpen_ = false;
    if (source_) source_->Close();
}

bool ImportJob::EndSearch() {
    if (!Searching()) return false;
    endSearch_ = true;
    return true;
}

bool ImportJob::EndOfSource() {
    searching_ = endSearch_ = false;
    lastWord_.clear();
    lastTranslation_.clear();
    return FinishWith(lex::kTextImportStatus, lex::kTextImportDone);
}

bool ImportJob::DoUnit() {
    if (endSearch_) return EndOfSource();
    TextEntry entry;
    switch (extractor_->Next(entry)) {
    case ExtractResult::kNeedInput: {
        const int32_t n = source_->Next(chunk_);
        if (n < 0) return FailWith(lex::kTextImportStatus, lex::kTextImportError);
        if (n == 0) {
            extractor_->EndInput();
        } else {
            extractor_->Feed(chunk_, static_cast<size_t>(n));
        }
        searching_ = true;
        done_ = static_cast<uint64_t>(source_->Position());
        return true;
    }
    case ExtractResult::kEnd:
        return EndOfSource();
    case ExtractResult::kFieldTooLong:
    case ExtractResult::kInvalidTemplate:
        return FailWith(lex::kTextImportStatus, lex::kTextImportError);
    case ExtractResult::kEntry:
        searching_ = false;
        break;
    }
    // A word that begins with the grammar separator is no entry.
    if (!entry.word.empty() && entry.word[0] == ctx_.Settings.GrammarSeparator) return true;
    if (askAgain_ && preview_) {
        answer_ = preview_->Show(entry, request_.Slot);
        if (!Running()) return false;  // cancelled while the preview was open
        if (answer_ == ImportPreview::kNo) return FailWith(lex::kTextImportStatus, lex::kTextImportError);
        if (answer_ == ImportPreview::kYesNoMore) askAgain_ = false;
    }
    if (entry.word.empty() || entry.translation.empty()) return true;
    std::string translation = entry.translation;
    const int added = lex::AddEntry(ctx_, entry.word, entry.pronunciation, translation, 1);
    if (added == -1) return FailWith(lex::kTextVocabularyErrorCaption, EngineFailureText());
    lastWord_ = entry.word;
    lastTranslation_ = entry.translation;
    if (added == 1) {
        ++count_;
    } else {
        ++duplicates_;
    }
    return true;
}

}  // namespace lexbulk
