// The one file layer of the system: every program opens, reads, writes,
// replaces and removes files through a FileSystem. One implementation per
// platform (file_system_posix.cpp, file_system_win32.cpp) holds the system
// calls; core/files/testing holds the counting and failing fake of the tests.
// Whole-file reads, writes through a temporary file and the pair save are in
// whole_files.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lex {

using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

// Open modes (the Windows OF_* flags they stand for).
constexpr int kOpenReadShared = 64;      // OF_READ | OF_SHARE_DENY_NONE
constexpr int kOpenReadDenyWrite = 32;   // OF_READ | OF_SHARE_DENY_WRITE
constexpr int kOpenWriteDenyWrite = 34;  // OF_READWRITE | OF_SHARE_DENY_WRITE
constexpr int kOpenWriteExclusive = 18;  // OF_READWRITE | OF_SHARE_EXCLUSIVE

// FileSize of a path: no file there, or something there whose size cannot be asked.
constexpr int64_t kNoFileSize = -1;
constexpr int64_t kUnknownFileSize = -2;

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file; kNoFile on failure.
    virtual FileHandle Open(const std::string& path, int mode) = 0;
    // Creates (or empties) a file for reading and writing; kNoFile on failure.
    virtual FileHandle Create(const std::string& path) = 0;
    // Creates a file only when none is there (a file that appears meanwhile is
    // never emptied); kNoFile on failure or when one is there.
    virtual FileHandle CreateNew(const std::string& path) = 0;
    // Bytes read or written, -1 on failure. A write of 0 bytes does nothing.
    virtual int32_t Read(FileHandle h, void* buffer, uint32_t count) = 0;
    virtual int32_t Write(FileHandle h, const void* buffer, uint32_t count) = 0;
    // Moves to an absolute offset; the new offset, -1 on failure.
    virtual int64_t Seek(FileHandle h, int64_t offset) = 0;
    // Size of the file; the position is left at the end. -1 on failure.
    virtual int64_t Size(FileHandle h) = 0;
    // Closes the handle (nothing for kNoFile); false when the system reports
    // that what was written could not be kept.
    virtual bool Close(FileHandle h) = 0;
    // Exactly `count` bytes at `offset`; the file position afterwards is unspecified.
    virtual bool ReadAt(FileHandle h, int64_t offset, void* buffer, uint32_t count);
    // Up to `count` bytes at `offset` (fewer at the end of the file): the bytes
    // read, -1 on failure. The file position afterwards is unspecified.
    virtual int32_t ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count);
    // Whether a file (not a folder) is there, asked without opening it (much
    // cheaper than an open and a close). Something there that cannot be looked
    // at (access, sharing) counts as there, so that it is never replaced.
    virtual bool Exists(const std::string& path) = 0;
    // The size of the file at `path`, asked without opening it: kNoFileSize
    // when none is there, kUnknownFileSize when something is there that
    // cannot be looked at.
    virtual int64_t FileSize(const std::string& path) = 0;
    // Puts the file `from` in the place of `to` in one step: `to` is either
    // its old file or the whole new one, never missing. False (nothing
    // changed) on failure.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // Removes a file; true also when none was there.
    virtual bool Remove(const std::string& path) = 0;
    // Cuts an open file to its first `size` bytes (a writer taking back what
    // it appended); false when the file stays as it was or `size` is larger
    // than the file. The position afterwards is unspecified.
    virtual bool Truncate(FileHandle h, int64_t size) = 0;
    // A short wait between attempts to open files another program holds.
    virtual void Pause(int milliseconds) = 0;
};

// How the paths given to a file system are written: in the system's 8-bit
// code page, as the Windows "A" functions and the ini files have them, or in
// UTF-8 (the translator keeps its paths so, that no letter outside the code
// page is lost). The native build takes paths as bytes either way.
enum class PathEncoding { System, Utf8 };

// The file system of the platform the program is built for.
std::unique_ptr<FileSystem> MakePlatformFileSystem(PathEncoding encoding = PathEncoding::System);

// FileSystem::Exists of the platform (paths in the system code page), for
// code that holds no file system.
bool PlatformFileExists(const std::string& path);

// Reads exactly `count` bytes at `offset`: true when all were read.
bool ReadAt(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count);
// Writes exactly `count` bytes at `offset` (nothing for 0 bytes): true when all were written.
bool WriteAt(FileSystem& fs, FileHandle h, int64_t offset, const void* buffer, uint32_t count);

}  // namespace lex
