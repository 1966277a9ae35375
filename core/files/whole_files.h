// Whole files through the file layer: reading a file whole with an outcome
// that tells a missing file from a short or failed read; writing a file
// through a temporary file beside it that takes the old file's place only when
// complete; the pair save of two files that belong together (a keyboard layout
// and its companion ini), replaced both or neither; and ReplacingWriter, a
// file written piece by piece that replaces its target at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/files/file_system.h"

namespace lex {

enum class ReadOutcome {
    Whole,      // every byte read
    Missing,    // no file there
    NotOpened,  // a file is there, but it cannot be opened (another program holds it)
    Short,      // the file ended before its size (or the count asked for) was read
    ReadError,  // a read failed, or the file is larger than any file the system reads whole
};

// The largest file read whole.
constexpr int64_t kMaxWholeFileSize = 64 << 20;

// Reads a whole file into `bytes`, which changes only when the outcome is Whole.
ReadOutcome ReadWholeFile(FileSystem& fs, const std::string& path, std::string& bytes);
// Reads the first `count` bytes of a file (a longer file gives those): Short
// when it holds fewer. `bytes` changes only when the outcome is Whole.
ReadOutcome ReadFileStart(FileSystem& fs, const std::string& path, size_t count, std::string& bytes);

// The file beside `path` that a replacing write goes through, and the copy of
// the old file that a pair save keeps until both new files are in place.
std::string TemporaryName(const std::string& path);
std::string BackupName(const std::string& path);

enum class WriteOutcome {
    Done,
    NotCreated,   // the temporary file cannot be made (no such folder, no right, a folder in its place)
    WriteFailed,  // not written whole (a full disk); the old file stays
    NotReplaced,  // written whole, but it cannot take the old file's place; the old file stays
    HalfReplaced, // pair save: the first file is new, the second old, and the first could not
                  // be put back; its old contents are in BackupName(first), and the next
                  // pair save or FinishInterruptedPairSave puts it back
};

// Writes `bytes` to the temporary file beside `path`. On failure no temporary
// file is left.
WriteOutcome WriteTemporary(FileSystem& fs, const std::string& path, const std::string& bytes);

// Writes `bytes` as the new contents of `path` through the temporary file: the
// old file stays as it was unless the new one is complete.
WriteOutcome WriteFileReplacing(FileSystem& fs, const std::string& path, const std::string& bytes);

struct FileContents {
    std::string Path;
    std::string Bytes;
};

// Replaces two files that belong together, both or neither. Both new files
// are written whole beside their targets first; the old first file is kept as
// its backup; a journal beside the first (PairJournalName) then says that the
// files are being put in place; then the first and the second take their
// places, in this order. When the second cannot, the first is put back. A
// process killed after the journal leaves the pair for the next save (or
// FinishInterruptedPairSave) to finish: never the second new beside the first
// old; the caller gives first the file whose new contents do no harm beside
// the other's old ones until then.
WriteOutcome SaveFilePair(FileSystem& fs, const FileContents& first, const FileContents& second);

// The journal of a pair save whose first file is `first`.
std::string PairJournalName(const std::string& first);

// Finishes a pair save of `first` and `second` that was stopped (a killed
// process, a failure while putting the first back): with the second still
// old, the first is put back from its backup; with the second new, both are
// new. Then the temporary files, the backup and the journal go. Nothing is
// changed when nothing is left of such a save. False when the pair may still
// be mixed (a file could not be put back or the journal cannot be read).
bool FinishInterruptedPairSave(FileSystem& fs, const std::string& first, const std::string& second);

// A file written piece by piece into the temporary file beside its target,
// which takes the target's place only when Commit succeeds: a failed,
// cancelled or interrupted writer leaves the target as it was.
class ReplacingWriter {
public:
    explicit ReplacingWriter(FileSystem& fs) : fs_(fs) {}
    ~ReplacingWriter() { Abandon(); }
    ReplacingWriter(const ReplacingWriter&) = delete;
    ReplacingWriter& operator=(const ReplacingWriter&) = delete;

    // Creates the temporary file; false when it cannot be made.
    bool Create(const std::string& path);
    bool IsOpen() const { return handle_ != kNoFile; }
    // Buffered; false once a write has failed.
    bool Append(const char* data, size_t size);
    bool Append(const std::string& bytes) { return Append(bytes.data(), bytes.size()); }
    bool Flush();
    // Writes what is left, closes, and puts the file in the target's place.
    WriteOutcome Commit();
    // Closes and removes the temporary file; the target stays as it was.
    void Abandon();

private:
    static constexpr size_t kBlock = 64 * 1024;
    FileSystem& fs_;
    FileHandle handle_ = kNoFile;
    std::string target_;
    std::string pending_;
    bool failed_ = false;
};

}  // namespace lex
