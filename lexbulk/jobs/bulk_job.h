// The common part of the bulk jobs: each runs as a lex::Stepper, keeps the
// last word and translation it handled and a counter for the dialog, and ends
// with a message (caption and text ids) that the dialog shows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/engine.h"
#include "core/files/whole_files.h"
#include "core/jobs/stepper.h"

namespace lexbulk {

class BulkJob : public lex::Stepper {
public:
    explicit BulkJob(lex::EngineContext& ctx) : ctx_(ctx) {}
    ~BulkJob() override;

    // The closing message: Result().code is its text id, this its caption id.
    int MessageCaption() const { return caption_; }
    int MessageText() const { return Result().code; }

    long Count() const { return count_; }
    const std::string& LastWord() const { return lastWord_; }
    const std::string& LastTranslation() const { return lastTranslation_; }

    lex::JobProgress Progress() const override;

protected:
    // Ends the run with a failure message (OnStart/DoUnit then return false).
    bool FailWith(int caption, int text);
    // Ends the run well with a message (DoUnit then returns false).
    bool FinishWith(int caption, int text);
    // A new run: the counters, the progress and the last word and
    // translation start again.
    void RestartCounters();
    // Opens `slot` for reading (slotOpen then true) with a node reader at its
    // first word; false, with the failure message, when the files cannot be
    // opened or the node file lacks its two sentinels (a corrupt slot, not an
    // empty one).
    bool OpenSlotReader(int slot, bool& slotOpen, lex::NodeFileCursor& cursor);
    // The message text of an engine change that gave -1, by why it failed:
    // writing failed (a full disk), a file another program holds, or damaged
    // files.
    int EngineFailureText() const;
    // Closes what the run holds; called at every end and on cancel.
    virtual void Release() {}
    void OnCancel() override { Release(); }

    lex::EngineContext& ctx_;
    long count_ = 0;
    std::string lastWord_;
    std::string lastTranslation_;
    uint64_t done_ = 0;
    uint64_t total_ = 0;

private:
    int caption_ = 0;
};

// The message text of an engine change that gave -1 (see BulkJob::EngineFailureText).
int EngineFailureText(const lex::EngineContext& ctx);
// The message text of one failure reason.
int EngineFailureText(lex::EngineFailure failure);

// Reads a file sequentially in chunks through the file layer.
class ChunkReader {
public:
    static constexpr uint32_t kChunk = 16 * 1024;
    explicit ChunkReader(lex::FileSystem& files) : files_(files) {}
    ~ChunkReader() { Close(); }
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle_ != lex::kNoFile; }
    // Bytes read into `buffer` (0 at the end), -1 on a read error.
    int32_t Next(char* buffer);
    int64_t Size() const { return size_; }
    int64_t Position() const { return position_; }

private:
    lex::FileSystem& files_;
    lex::FileHandle handle_ = lex::kNoFile;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

// Node records that the jobs reading a slot in node-file order (archive save,
// quick export) read per unit, through lex::StepNodeFileCursor.
constexpr int kNodesPerUnit = 100;

}  // namespace lexbulk
