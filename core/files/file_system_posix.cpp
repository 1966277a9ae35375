// POSIX file access for the native build. The share modes of the OF_* flags
// are kept with open file description locks (F_OFD_SETLK), which belong to the
// handle as a Windows share mode does: two handles conflict whether they lie in
// one process or in two, and a conflicting open fails at once (the callers
// retry as they do under Windows).
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

// The share mode of a handle as locks on two bytes far beyond any file's
// data, one for reading and one for writing. A handle that reads (writes)
// takes a shared lock on the read (write) byte; a handle that denies others
// reading (writing) takes an exclusive lock on it. An access then conflicts
// with a denial of it, as between Windows handles. (Two handles that both deny
// an access neither has would conflict here and not under Windows; no mode
// the programs use is such a pair.)
constexpr off_t kReadLockByte = off_t(1) << 62;
constexpr off_t kWriteLockByte = kReadLockByte + 1;

struct ShareLocks {
    short read = F_UNLCK;
    short write = F_UNLCK;
};

ShareLocks LocksOf(int mode) {
    const bool reads = (mode & 3) != 1, writes = (mode & 3) != 0;
    bool denyRead = false, denyWrite = false;
    switch (mode & 0x70) {
    case 0x10: denyRead = denyWrite = true; break;  // OF_SHARE_EXCLUSIVE
    case 0x20: denyWrite = true; break;             // OF_SHARE_DENY_WRITE
    case 0x30: denyRead = true; break;              // OF_SHARE_DENY_READ
    default: break;                                 // OF_SHARE_DENY_NONE, compatibility
    }
    ShareLocks locks;
    locks.read = denyRead ? F_WRLCK : reads ? F_RDLCK : F_UNLCK;
    locks.write = denyWrite ? F_WRLCK : writes ? F_RDLCK : F_UNLCK;
    return locks;
}

// The locks of a created file: read and write, others may do both.
constexpr int kCreateMode = 2 | 0x40;     // OF_READWRITE | OF_SHARE_DENY_NONE
constexpr int kCreateNewMode = 2 | 0x10;  // OF_READWRITE | OF_SHARE_EXCLUSIVE

bool LockByte(int fd, off_t at, short type) {
    if (type == F_UNLCK) return true;
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = at;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Takes the locks of `mode`; false (errno set) when another handle's share
// mode stands against them.
bool TakeShareLocks(int fd, int mode) {
    const ShareLocks locks = LocksOf(mode);
    return LockByte(fd, kReadLockByte, locks.read) && LockByte(fd, kWriteLockByte, locks.write);
}

// The open file `fd` (-1: none) locked as `mode`; kNoFile when either failed.
FileHandle Locked(int fd, int mode) {
    if (fd < 0) return kNoFile;
    if (!TakeShareLocks(fd, mode)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return kNoFile;
    }
    return fd;
}

// Whether any handle holds the file at `path` open (it has share locks).
bool HeldOpen(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kReadLockByte;
    probe.l_len = 2;
    const bool held = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

class PosixFileSystem : public FileSystem {
public:
    FileHandle Open(const std::string& path, int mode) override {
        // A handle that keeps others out needs write rights for its lock.
        const bool readOnly = (mode & 3) == 0 && LocksOf(mode).read != F_WRLCK && LocksOf(mode).write != F_WRLCK;
        const int fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
        // A folder is no file, as under Windows.
        struct stat st;
        if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
            ::close(fd);
            return kNoFile;
        }
        return Locked(fd, mode);
    }
    FileHandle Create(const std::string& path) override {
        // Emptied only once no other handle's share mode forbids it.
        const FileHandle h = Locked(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644), kCreateMode);
        if (h != kNoFile && ::ftruncate(static_cast<int>(h), 0) != 0) {
            ::close(static_cast<int>(h));
            return kNoFile;
        }
        return h;
    }
    FileHandle CreateNew(const std::string& path) override {
        return Locked(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644), kCreateNewMode);
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
    // A file some handle holds open is not removed, as under Windows.
    bool Remove(const std::string& path) override {
        if (HeldOpen(path)) return false;
        return ::unlink(path.c_str()) == 0 || errno == ENOENT;
    }
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
