// Import of user entries from a text file into one slot, by a line template.
// The slot's files and the action log stay open for the whole run, so the
// run is one undo group.
#pragma once

#include <memory>

#include "bulk_job.h"
#include "lexbulk/text/entry_template.h"

namespace lexbulk {

// The preview of each entry before it is added (the dialog's side).
class ImportPreview {
public:
    enum Answer { kYes = 1, kNo = 2, kYesNoMore = 3 };
    virtual ~ImportPreview() = default;
    virtual Answer Show(const TextEntry& entry, int slot) = 0;
};

struct ImportRequest {
    std::string Path;
    TextCode Code = TextCode::kWindows1250;
    int Slot = 0;
    std::string TemplateText = kDefaultTemplateText;
};

class ImportJob : public BulkJob {
public:
    ImportJob(lex::EngineContext& ctx, ImportPreview* preview) : BulkJob(ctx), preview_(preview) {}
    ~ImportJob() override { Release(); }
    void SetRequest(const ImportRequest& request) { request_ = request; }
    // Entries whose translation was already there (shown, not counted).
    long Duplicates() const { return duplicates_; }
    // Whether the run is searching the file for a separator and the search
    // has needed more of the file than it had.
    bool Searching() const { return Running() && searching_; }
    // Esc during such a search: the run ends at its next unit as at the end of
    // the file, with the entries so far kept. False, and nothing changes,
    // when no search is going on.
    bool EndSearch();

protected:
    bool OnStart() override;
    bool DoUnit() override;
    void Release() override;
    bool EndOfSource();

private:
    ImportRequest request_;
    ImportPreview* preview_;
    ImportPreview::Answer answer_ = ImportPreview::kYes;
    bool askAgain_ = true;
    std::unique_ptr<WordFormatTemplate> format_;
    std::unique_ptr<EntryExtractor> extractor_;
    std::unique_ptr<ChunkReader> source_;
    bool slotOpen_ = false;
    bool logOpen_ = false;
    bool searching_ = false;
    bool endSearch_ = false;
    long duplicates_ = 0;
    char chunk_[ChunkReader::kChunk];
};

}  // namespace lexbulk
