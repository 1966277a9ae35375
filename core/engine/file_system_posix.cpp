// POSIX file access for the native build. Share modes are not enforced here.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "file_system.h"

#include <cstdio>

namespace lex {
namespace {

class PosixFileSystem : public FileSystem {
public:
    FileHandle Open(const std::string& path, int mode) override {
        int flags = (mode & 3) == 0 ? O_RDONLY : ((mode & 3) == 1 ? O_WRONLY : O_RDWR);
        int fd = ::open(path.c_str(), flags | O_CLOEXEC);
        return fd < 0 ? kNoFile : fd;
    }
    FileHandle Create(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        return fd < 0 ? kNoFile : fd;
    }
    int32_t Read(FileHandle h, void* buffer, uint32_t count) override {
        ssize_t n = ::read(static_cast<int>(h), buffer, count);
        return n < 0 ? -1 : static_cast<int32_t>(n);
    }
    int32_t Write(FileHandle h, const void* buffer, uint32_t count) override {
        if (count == 0) return 0;
        ssize_t n = ::write(static_cast<int>(h), buffer, count);
        return n < 0 ? -1 : static_cast<int32_t>(n);
    }
    int64_t Seek(FileHandle h, int64_t offset) override {
        if (offset < 0) return -1;
        return ::lseek(static_cast<int>(h), offset, SEEK_SET);
    }
    int64_t Size(FileHandle h) override { return ::lseek(static_cast<int>(h), 0, SEEK_END); }
    bool ReadAt(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        if (offset < 0) return false;
        if (count == 0) return true;
        return ::pread(static_cast<int>(h), buffer, count, offset) == static_cast<ssize_t>(count);
    }
    bool Exists(const std::string& path) override { return PlatformFileExists(path); }
    int32_t ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        if (offset < 0) return -1;
        const ssize_t n = ::pread(static_cast<int>(h), buffer, count, offset);
        return n < 0 ? -1 : static_cast<int32_t>(n);
    }
    void Close(FileHandle h) override {
        if (h != kNoFile) ::close(static_cast<int>(h));
    }
    void Pause(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<PosixFileSystem>(); }

bool PlatformFileExists(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return !S_ISDIR(st.st_mode);
    return errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG;
}

bool PlatformReplaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace lex
