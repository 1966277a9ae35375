#include "export_job.h"

#include "core/texts/text_ids.h"

namespace lexbulk {

namespace {
constexpr int kSortedNodesPerUnit = 16;

bool Exported(uint8_t flags) {
    return !(flags & lex::kFlagDeleted) && (flags & lex::kFlagDisk) && !(flags & lex::kFlagArchive);
}
}  // namespace

bool ExportJob::OnStart() {
    Release();
    RestartCounters();
    if (!lex::IsValidSlot(request_.Slot)) return FailWith(lex::kTextBulkWarningCaption, lex::kTextChooseOneCode);
    format_ = std::make_unique<WordFormatTemplate>(request_.TemplateText, request_.Code);
    if (!OpenSlotReader(request_.Slot, slotOpen_, cursor_)) return false;
    total_ = static_cast<uint64_t>(cursor_.Count);
    output_ = std::make_unique<lex::ReplacingWriter>(ctx_.Files);
    if (!output_->Create(request_.Path))
        return FailWith(lex::kTextExportFileOpenErrorCaption, lex::kTextCannotOpenExportFile);
    walk_ = lex::WalkFromNode(request_.Slot, lex::kLowSentinelNode, 1);
    walk_.WithTranslations = true;
    return true;
}

void ExportJob::Release() {
    if (slotOpen_) lex::CloseSlotFiles(ctx_);
    slotOpen_ = false;
    if (output_) output_->Abandon();
}

bool ExportJob::Write(const std::string& word, const std::string& pronunciation, uint8_t nodeFlags,
                      const std::vector<lex::EntryTranslation>& translations) {
    if (!Exported(nodeFlags)) return true;
    std::string out;
    for (const lex::EntryTranslation& t : translations) {
        if (!Exported(t.Head.Flags)) continue;
        std::string text = t.Text;
        if (!text.empty() && static_cast<uint8_t>(text[0]) == lex::kGrammarNoteByte)
            text[0] = ctx_.Settings.GrammarSeparator;
        count_ += format_->Expand(word, pronunciation, text, out);
        lastWord_ = word;
        lastTranslation_ = text;
    }
    return output_->Append(out);
}

bool ExportJob::End() {
    lex::CloseSlotFiles(ctx_);
    slotOpen_ = false;
    if (output_->Commit() != lex::WriteOutcome::Done)
        return FailWith(lex::kTextBulkWarningCaption, lex::kTextWriteFailed);
    return FinishWith(lex::kTextExportStatus, lex::kTextExportDone);
}

bool ExportJob::DoUnit() {
    if (!request_.Sorted) {
        std::vector<lex::StoredEntry> entries;
        const int r = lex::StepNodeFileCursor(ctx_, cursor_, kNodesPerUnit, entries);
        if (r < 0) return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
        if (r == 0) return End();
        done_ = static_cast<uint64_t>(cursor_.Next);
        for (const lex::StoredEntry& e : entries) {
            if (!Write(e.Word, e.Pronunciation, e.Node.Flags, e.Translations))
                return FailWith(lex::kTextBulkWarningCaption, lex::kTextWriteFailed);
        }
        return true;
    }
    walked_.clear();
    const int r = lex::StepNodeWalk(ctx_, walk_, kSortedNodesPerUnit, 0, walked_);
    if (r < 0) return FailWith(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
    for (const lex::WalkEntry& e : walked_) {
        if (!Write(e.Word, e.Pronunciation, e.Node.Flags, e.Translations))
            return FailWith(lex::kTextBulkWarningCaption, lex::kTextWriteFailed);
    }
    done_ = static_cast<uint64_t>(walk_.Visited);
    if (r == 0 || walk_.End) return End();
    return true;
}

}  // namespace lexbulk
