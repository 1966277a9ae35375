// Export of a slot's user entries into a text file, one template expansion
// per live user translation: quick (node-file order) or sorted (along the
// node links, the slot's collation order). The text goes to a temporary file
// beside the target, which replaces the target only when the export is whole.
#pragma once

#include <memory>

#include "bulk_job.h"
#include "lexbulk/text/entry_template.h"

namespace lexbulk {

struct ExportRequest {
    std::string Path;
    TextCode Code = TextCode::kWindows1250;
    int Slot = 0;
    std::string TemplateText = kDefaultTemplateText;
    bool Sorted = false;
};

class ExportJob : public BulkJob {
public:
    explicit ExportJob(lex::EngineContext& ctx) : BulkJob(ctx) {}
    ~ExportJob() override { Release(); }
    void SetRequest(const ExportRequest& request) { request_ = request; }

protected:
    bool OnStart() override;
    bool DoUnit() override;
    void Release() override;

private:
    bool Write(const std::string& word, const std::string& pronunciation, uint8_t nodeFlags,
               const std::vector<lex::EntryTranslation>& translations);
    bool End();

    ExportRequest request_;
    std::unique_ptr<WordFormatTemplate> format_;
    std::unique_ptr<lex::ReplacingWriter> output_;
    lex::NodeFileCursor cursor_;
    lex::NodeWalk walk_;
    std::vector<lex::WalkEntry> walked_;
    bool slotOpen_ = false;
};

}  // namespace lexbulk
