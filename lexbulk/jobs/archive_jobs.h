// Archive save and load: the user's additions and deletions of chosen slots
// written to an "*.ars" file and replayed from it (see archive_record.h).
#pragma once

#include <array>
#include <memory>

#include "lexbulk/text/archive_record.h"
#include "bulk_job.h"

namespace lexbulk {

using SlotSelection = std::array<bool, lex::kSlotCount>;

// Writes the archive to a temporary file beside the target, which replaces
// the target only when the whole archive is written.
class ArchiveSaveJob : public BulkJob {
public:
    explicit ArchiveSaveJob(lex::EngineContext& ctx) : BulkJob(ctx) {}
    ~ArchiveSaveJob() override { Release(); }
    void SetRequest(const std::string& path, const SlotSelection& slots) {
        path_ = path;
        slots_ = slots;
    }

protected:
    bool OnStart() override;
    bool DoUnit() override;
    void Release() override;

private:
    bool OpenSlot(int slot);
    int NextSelected(int after) const;

    std::string path_;
    SlotSelection slots_{};
    int slot_ = -1;
    bool slotOpen_ = false;
    std::unique_ptr<lex::ReplacingWriter> output_;
    lex::NodeFileCursor cursor_;
};

// Replays an archive into the chosen slots. The action log stays open for the
// whole run: one undo group. Damaged records are passed over and the run then
// ends with the damaged-archive message.
class ArchiveLoadJob : public BulkJob {
public:
    explicit ArchiveLoadJob(lex::EngineContext& ctx) : BulkJob(ctx) {}
    ~ArchiveLoadJob() override { Release(); }
    void SetRequest(const std::string& path, const SlotSelection& slots) {
        path_ = path;
        slots_ = slots;
    }
    bool Damaged() const { return damaged_; }

protected:
    bool OnStart() override;
    bool DoUnit() override;
    void Release() override;

private:
    bool Apply(const ArchiveRecord& record);

    std::string path_;
    SlotSelection slots_{};
    std::unique_ptr<ChunkReader> source_;
    std::unique_ptr<ArchiveReader> reader_;
    int openSlot_ = -1;
    bool logOpen_ = false;
    bool damaged_ = false;
    char chunk_[ChunkReader::kChunk];
};

}  // namespace lexbulk
