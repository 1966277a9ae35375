#include "core/files/whole_files.h"

#include <algorithm>

namespace lex {
namespace {

constexpr uint32_t kTransferBlock = 1u << 20;

// Reads `want` bytes (the file's size when negative) from the start of a file.
ReadOutcome ReadStart(FileSystem& fs, const std::string& path, int64_t want, std::string& bytes) {
    const FileHandle h = fs.Open(path, kOpenReadShared);
    if (h == kNoFile) return fs.Exists(path) ? ReadOutcome::NotOpened : ReadOutcome::Missing;
    ReadOutcome outcome = ReadOutcome::Whole;
    std::string all;
    if (want < 0) {
        want = fs.Size(h);
        if (want < 0 || want > kMaxWholeFileSize || fs.Seek(h, 0) != 0) outcome = ReadOutcome::ReadError;
    }
    if (outcome == ReadOutcome::Whole) {
        all.resize(static_cast<size_t>(want));
        size_t got = 0;
        while (got < all.size()) {
            const uint32_t ask = static_cast<uint32_t>(std::min<size_t>(all.size() - got, kTransferBlock));
            const int32_t n = fs.Read(h, &all[got], ask);
            if (n < 0) {
                outcome = ReadOutcome::ReadError;
                break;
            }
            if (n == 0) {
                outcome = ReadOutcome::Short;
                break;
            }
            got += static_cast<size_t>(n);
        }
    }
    fs.Close(h);
    if (outcome == ReadOutcome::Whole) bytes.swap(all);
    return outcome;
}

// Creates `path` anew with `bytes`; on failure the file is removed again.
WriteOutcome WriteNew(FileSystem& fs, const std::string& path, const std::string& bytes) {
    const FileHandle h = fs.Create(path);
    if (h == kNoFile) return WriteOutcome::NotCreated;
    bool ok = true;
    for (size_t at = 0; ok && at < bytes.size();) {
        const uint32_t count = static_cast<uint32_t>(std::min<size_t>(bytes.size() - at, kTransferBlock));
        ok = fs.Write(h, bytes.data() + at, count) == static_cast<int32_t>(count);
        at += count;
    }
    ok = fs.Close(h) && ok;
    if (ok) return WriteOutcome::Done;
    fs.Remove(path);
    return WriteOutcome::WriteFailed;
}

}  // namespace

ReadOutcome ReadWholeFile(FileSystem& fs, const std::string& path, std::string& bytes) {
    return ReadStart(fs, path, -1, bytes);
}

ReadOutcome ReadFileStart(FileSystem& fs, const std::string& path, size_t count, std::string& bytes) {
    if (count > static_cast<size_t>(kMaxWholeFileSize)) return ReadOutcome::ReadError;
    return ReadStart(fs, path, static_cast<int64_t>(count), bytes);
}

std::string TemporaryName(const std::string& path) { return path + ".tmp"; }
std::string BackupName(const std::string& path) { return path + ".bak"; }

WriteOutcome WriteTemporary(FileSystem& fs, const std::string& path, const std::string& bytes) {
    return WriteNew(fs, TemporaryName(path), bytes);
}

WriteOutcome WriteFileReplacing(FileSystem& fs, const std::string& path, const std::string& bytes) {
    const WriteOutcome written = WriteTemporary(fs, path, bytes);
    if (written != WriteOutcome::Done) return written;
    if (fs.Replace(TemporaryName(path), path)) return WriteOutcome::Done;
    fs.Remove(TemporaryName(path));
    return WriteOutcome::NotReplaced;
}

std::string PairJournalName(const std::string& first) { return first + ".pair"; }

namespace {

// What the journal of a pair save says about the first file before the save.
constexpr char kFirstWasThere[] = "1";
constexpr char kFirstWasMissing[] = "0";

// Removes a file when one is there (nothing is changed for none).
bool RemoveIfThere(FileSystem& fs, const std::string& path) { return !fs.Exists(path) || fs.Remove(path); }

}  // namespace

bool FinishInterruptedPairSave(FileSystem& fs, const std::string& first, const std::string& second) {
    const std::string journal = PairJournalName(first), backup = BackupName(first);
    const std::string firstTemp = TemporaryName(first), secondTemp = TemporaryName(second);
    std::string note;
    const ReadOutcome read = fs.Exists(journal) ? ReadWholeFile(fs, journal, note) : ReadOutcome::Missing;
    // A journal that is there but cannot be read: the state of the pair is unknown.
    if (read == ReadOutcome::NotOpened || read == ReadOutcome::ReadError) return false;
    // Without a whole journal nothing was replaced yet (or all was): what is
    // left beside the pair is only temporary files and the copy of the first.
    const bool replacing = read == ReadOutcome::Whole && (note == kFirstWasThere || note == kFirstWasMissing);
    if (replacing && fs.Exists(secondTemp)) {
        // The second is still old: the first goes back to what it was. Its
        // temporary file still there means it was never replaced; its backup
        // gone means it was put back already.
        bool back;
        if (fs.Exists(firstTemp))
            back = fs.Remove(firstTemp);
        else if (note == kFirstWasThere)
            back = !fs.Exists(backup) || fs.Replace(backup, first);
        else
            back = fs.Remove(first);
        // Only with the first old again may the second's new file go.
        if (!back || !fs.Remove(secondTemp)) return false;
    }
    // Both old or both new: the rest goes, the journal last.
    bool clean = RemoveIfThere(fs, firstTemp);
    clean = RemoveIfThere(fs, secondTemp) && clean;
    clean = RemoveIfThere(fs, backup) && clean;
    if (clean) RemoveIfThere(fs, journal);
    return true;
}

WriteOutcome SaveFilePair(FileSystem& fs, const FileContents& first, const FileContents& second) {
    // An earlier save of the pair that stopped half way is finished first.
    if (!FinishInterruptedPairSave(fs, first.Path, second.Path)) return WriteOutcome::NotReplaced;
    WriteOutcome outcome = WriteTemporary(fs, first.Path, first.Bytes);
    if (outcome != WriteOutcome::Done) return outcome;
    outcome = WriteTemporary(fs, second.Path, second.Bytes);
    if (outcome != WriteOutcome::Done) {
        fs.Remove(TemporaryName(first.Path));
        return outcome;
    }
    const std::string backup = BackupName(first.Path), journal = PairJournalName(first.Path);
    auto dropTemporaries = [&] {
        fs.Remove(TemporaryName(first.Path));
        fs.Remove(TemporaryName(second.Path));
    };
    // The old first file is kept until the second new one is in place too. A
    // first file that is there but cannot be read cannot be kept: no save.
    std::string old;
    const ReadOutcome read = ReadWholeFile(fs, first.Path, old);
    const bool hadFirst = read != ReadOutcome::Missing;
    if (hadFirst) {
        outcome = read == ReadOutcome::Whole ? WriteNew(fs, backup, old) : WriteOutcome::NotReplaced;
        if (outcome != WriteOutcome::Done) {
            dropTemporaries();
            return outcome;
        }
    }
    // From the journal on, a save that stops is finished by the next one (or
    // by FinishInterruptedPairSave): both new files are whole beside their targets.
    outcome = WriteNew(fs, journal, hadFirst ? kFirstWasThere : kFirstWasMissing);
    if (outcome != WriteOutcome::Done) {
        dropTemporaries();
        if (hadFirst) fs.Remove(backup);
        return outcome;
    }
    if (!fs.Replace(TemporaryName(first.Path), first.Path) || !fs.Replace(TemporaryName(second.Path), second.Path))
        return FinishInterruptedPairSave(fs, first.Path, second.Path) ? WriteOutcome::NotReplaced
                                                                      : WriteOutcome::HalfReplaced;
    // Both are in place: the save is done, whatever the clean-up manages
    // (what it leaves, the next save or load removes).
    if (hadFirst) fs.Remove(backup);
    fs.Remove(journal);
    return WriteOutcome::Done;
}

// --- ReplacingWriter ------------------------------------------------------------

bool ReplacingWriter::Create(const std::string& path) {
    Abandon();
    target_ = path;
    failed_ = false;
    pending_.clear();
    handle_ = fs_.Create(TemporaryName(path));
    return handle_ != kNoFile;
}

bool ReplacingWriter::Append(const char* data, size_t size) {
    if (failed_ || handle_ == kNoFile) return false;
    pending_.append(data, size);
    return pending_.size() < kBlock || Flush();
}

bool ReplacingWriter::Flush() {
    if (failed_ || handle_ == kNoFile) return false;
    for (size_t at = 0; !failed_ && at < pending_.size();) {
        const uint32_t count = static_cast<uint32_t>(std::min<size_t>(pending_.size() - at, kTransferBlock));
        failed_ = fs_.Write(handle_, pending_.data() + at, count) != static_cast<int32_t>(count);
        at += count;
    }
    pending_.clear();
    return !failed_;
}

WriteOutcome ReplacingWriter::Commit() {
    if (handle_ == kNoFile) return WriteOutcome::NotCreated;
    const bool written = Flush();
    const bool closed = fs_.Close(handle_);
    handle_ = kNoFile;
    const std::string temp = TemporaryName(target_);
    if (!written || !closed) {
        fs_.Remove(temp);
        return WriteOutcome::WriteFailed;
    }
    // The old file stays whole until the new one takes its place in one step.
    if (fs_.Replace(temp, target_)) return WriteOutcome::Done;
    fs_.Remove(temp);
    return WriteOutcome::NotReplaced;
}

void ReplacingWriter::Abandon() {
    if (handle_ == kNoFile) return;
    fs_.Close(handle_);
    handle_ = kNoFile;
    pending_.clear();
    fs_.Remove(TemporaryName(target_));
}

}  // namespace lex
