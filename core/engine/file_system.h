// The file access of the engine: open by path with an open mode, create, read,
// write, seek, size and close. One implementation per platform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lex {

using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

// Open modes (the Windows OF_* flags they stand for).
constexpr int kOpenReadShared = 64;      // OF_READ | OF_SHARE_DENY_NONE
constexpr int kOpenWriteDenyWrite = 34;  // OF_READWRITE | OF_SHARE_DENY_WRITE
constexpr int kOpenWriteExclusive = 18;  // OF_READWRITE | OF_SHARE_EXCLUSIVE

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file; kNoFile on failure.
    virtual FileHandle Open(const std::string& path, int mode) = 0;
    // Creates (or empties) a file for writing; kNoFile on failure.
    virtual FileHandle Create(const std::string& path) = 0;
    // Bytes read or written, -1 on failure. A write of 0 bytes does nothing.
    virtual int32_t Read(FileHandle h, void* buffer, uint32_t count) = 0;
    virtual int32_t Write(FileHandle h, const void* buffer, uint32_t count) = 0;
    // Moves to an absolute offset; the new offset, -1 on failure.
    virtual int64_t Seek(FileHandle h, int64_t offset) = 0;
    // Size of the file; the position is left at the end. -1 on failure.
    virtual int64_t Size(FileHandle h) = 0;
    virtual void Close(FileHandle h) = 0;
    // Exactly `count` bytes at `offset`; the file position afterwards is unspecified.
    virtual bool ReadAt(FileHandle h, int64_t offset, void* buffer, uint32_t count);
    // Up to `count` bytes at `offset` (fewer at the end of the file): the bytes
    // read, -1 on failure. The file position afterwards is unspecified.
    virtual int32_t ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count);
    // Whether a file is there, asked without opening it (much cheaper than an
    // open and a close). Something there that cannot be looked at counts as there.
    virtual bool Exists(const std::string& path);
    // A short wait between attempts to open files another program holds.
    virtual void Pause(int milliseconds) = 0;
};

// The file system of the platform the program is built for.
std::unique_ptr<FileSystem> MakePlatformFileSystem();

// Whether a file (not a folder) is at `path` on this platform, asked without
// opening it (file attributes). Something there that cannot be looked at
// (access, sharing) counts as there, so that it is never replaced.
bool PlatformFileExists(const std::string& path);

// Puts the file `from` in the place of `to` in one step: `to` is either the old
// file or the whole new one, never missing. False (nothing changed) on failure.
bool PlatformReplaceFile(const std::string& from, const std::string& to);

// Reads exactly `count` bytes at `offset`: true when all were read.
bool ReadAt(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count);
// Writes exactly `count` bytes at `offset` (nothing for 0 bytes): true when all were written.
bool WriteAt(FileSystem& fs, FileHandle h, int64_t offset, const void* buffer, uint32_t count);

}  // namespace lex
