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

WriteOutcome SaveFilePair(FileSystem& fs, const FileContents& first, const FileContents& second) {
    WriteOutcome outcome = WriteTemporary(fs, first.Path, first.Bytes);
    if (outcome != WriteOutcome::Done) return outcome;
    outcome = WriteTemporary(fs, second.Path, second.Bytes);
    if (outcome != WriteOutcome::Done) {
        fs.Remove(TemporaryName(first.Path));
        return outcome;
    }
    auto dropTemporaries = [&] {
        fs.Remove(TemporaryName(first.Path));
        fs.Remove(TemporaryName(second.Path));
    };
    // The old first file is kept until the second new one is in place too.
    const std::string backup = BackupName(first.Path);
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
    if (!fs.Replace(TemporaryName(first.Path), first.Path)) {
        dropTemporaries();
        if (hadFirst) fs.Remove(backup);
        return WriteOutcome::NotReplaced;
    }
    if (!fs.Replace(TemporaryName(second.Path), second.Path)) {
        fs.Remove(TemporaryName(second.Path));
        const bool restored = hadFirst ? fs.Replace(backup, first.Path) : fs.Remove(first.Path);
        return restored ? WriteOutcome::NotReplaced : WriteOutcome::HalfReplaced;
    }
    if (hadFirst) fs.Remove(backup);
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
