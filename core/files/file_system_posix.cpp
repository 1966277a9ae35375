// POSIX file access for the native build. Share modes are not enforced here.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "core/files/file_system.h"

namespace lex {
namespace {

bool Missing(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG; }

FileHandle Made(int fd) { return fd < 0 ? kNoFile : fd; }

class PosixFileSystem : public FileSystem {
public:
    FileHandle Open(const std::string& path, int mode) override {
        int flags = (mode & 3) == 0 ? O_RDONLY : ((mode & 3) == 1 ? O_WRONLY : O_RDWR);
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
        // A folder is no file, as under Windows.
        struct stat st;
        if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
            ::close(fd);
            return kNoFile;
        }
        return Made(fd);
    }
    FileHandle Create(const std::string& path) override {
        return Made(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    }
    FileHandle CreateNew(const std::string& path) override {
        return Made(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
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
    int32_t ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count) override {
        if (offset < 0) return -1;
        const ssize_t n = ::pread(static_cast<int>(h), buffer, count, offset);
        return n < 0 ? -1 : static_cast<int32_t>(n);
    }
    bool Close(FileHandle h) override { return h == kNoFile || ::close(static_cast<int>(h)) == 0; }
    bool Exists(const std::string& path) override { return PlatformFileExists(path); }
    int64_t FileSize(const std::string& path) override {
        struct stat st;
        if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? kNoFileSize : st.st_size;
        return Missing(errno) ? kNoFileSize : kUnknownFileSize;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }
    bool Truncate(FileHandle h, int64_t size) override {
        struct stat st;
        if (size < 0 || ::fstat(static_cast<int>(h), &st) != 0 || size > st.st_size) return false;
        return ::ftruncate(static_cast<int>(h), static_cast<off_t>(size)) == 0;
    }
    void Pause(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem(PathEncoding) { return std::make_unique<PosixFileSystem>(); }

bool PlatformFileExists(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return !S_ISDIR(st.st_mode);
    return !Missing(errno);
}

}  // namespace lex
