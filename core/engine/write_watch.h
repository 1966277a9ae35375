// The engine's view of the caller's file system: every call goes through
// unchanged, and the writes the system refused are counted, so that the
// engine can tell its callers why a command failed (a full disk is no
// damaged dictionary). Every operation of FileSystem is passed on here; one
// added to FileSystem must be passed on too.
#pragma once

#include "core/files/file_system.h"

namespace lex {

class WriteWatch : public FileSystem {
public:
    explicit WriteWatch(FileSystem& files) : files_(files) {}

    // Writes refused since the last Restart: a write that wrote nothing, a
    // file that could not be created, replaced or removed, a close that could
    // not keep what was written.
    int Refused() const { return refused_; }
    void Restart() { refused_ = 0; }

    FileHandle Open(const std::string& path, int mode) override { return files_.Open(path, mode); }
    FileHandle Create(const std::string& path) override { return Made(files_.Create(path)); }
    FileHandle CreateNew(const std::string& path) override { return files_.CreateNew(path); }
    int32_t Read(FileHandle h, void* buffer, uint32_t count) override { return files_.Read(h, buffer, count); }
    int32_t Write(FileHandle h, const void* buffer, uint32_t count) override {
        const int32_t n = files_.Write(h, buffer, count);
        if (count > 0 && n <= 0) ++refused_;
        return n;
    }
    int64_t Seek(FileHandle h, int64_t offset) override { return files_.Seek(h, offset); }
    int64_t Size(FileHandle h) override { return files_.Size(h); }
    bool Close(FileHandle h) override { return Kept(files_.Close(h)); }
    bool ReadAt(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        return files_.ReadAt(h, offset, buffer, count);
    }
    int32_t ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        return files_.ReadSome(h, offset, buffer, count);
    }
    bool Exists(const std::string& path) override { return files_.Exists(path); }
    int64_t FileSize(const std::string& path) override { return files_.FileSize(path); }
    bool Replace(const std::string& from, const std::string& to) override { return Kept(files_.Replace(from, to)); }
    bool Remove(const std::string& path) override { return Kept(files_.Remove(path)); }
    bool Truncate(FileHandle h, int64_t size) override { return Kept(files_.Truncate(h, size)); }
    void Pause(int milliseconds) override { files_.Pause(milliseconds); }

private:
    FileHandle Made(FileHandle h) {
        if (h == kNoFile) ++refused_;
        return h;
    }
    bool Kept(bool done) {
        if (!done) ++refused_;
        return done;
    }
    FileSystem& files_;
    int refused_ = 0;
};

}  // namespace lex
