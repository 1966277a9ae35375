// Windows file access through the _lopen family, with real share modes.
#include <windows.h>

#include "core/files/file_system.h"

namespace lex {
namespace {

// The errors that say nothing is at a path (as opposed to something that
// cannot be looked at).
bool Missing(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
        return true;
    default:
        return false;
    }
}

class Win32FileSystem : public FileSystem {
public:
    FileHandle Open(const std::string& path, int mode) override {
        HFILE h = _lopen(path.c_str(), mode);
        return h == HFILE_ERROR ? kNoFile : static_cast<FileHandle>(h);
    }
    FileHandle Create(const std::string& path) override {
        HFILE h = _lcreat(path.c_str(), 0);
        return h == HFILE_ERROR ? kNoFile : static_cast<FileHandle>(h);
    }
    FileHandle CreateNew(const std::string& path) override {
        // The _lopen family has no exclusive create; its handles are the
        // system's, so the _l functions work on this one too.
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? kNoFile : static_cast<FileHandle>(HandleToLong(h));
    }
    int32_t Read(FileHandle h, void* buffer, uint32_t count) override {
        UINT n = _lread(static_cast<HFILE>(h), buffer, count);
        return n == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<int32_t>(n);
    }
    int32_t Write(FileHandle h, const void* buffer, uint32_t count) override {
        // A zero-length _lwrite truncates the file at the current position.
        if (count == 0) return 0;
        UINT n = _lwrite(static_cast<HFILE>(h), static_cast<LPCCH>(buffer), count);
        return n == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<int32_t>(n);
    }
    int64_t Seek(FileHandle h, int64_t offset) override {
        if (offset < 0 || offset > 0x7FFFFFFF) return -1;
        LONG r = _llseek(static_cast<HFILE>(h), static_cast<LONG>(offset), FILE_BEGIN);
        return r == HFILE_ERROR ? -1 : r;
    }
    int64_t Size(FileHandle h) override {
        LONG r = _llseek(static_cast<HFILE>(h), 0, FILE_END);
        return r == HFILE_ERROR ? -1 : r;
    }
    bool Close(FileHandle h) override { return h == kNoFile || _lclose(static_cast<HFILE>(h)) != HFILE_ERROR; }
    bool Exists(const std::string& path) override { return PlatformFileExists(path); }
    int64_t FileSize(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            return Missing(GetLastError()) ? kNoFileSize : kUnknownFileSize;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kNoFileSize;
        return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    bool Remove(const std::string& path) override {
        return DeleteFileA(path.c_str()) != 0 || Missing(GetLastError());
    }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<Win32FileSystem>(); }

bool PlatformFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return !Missing(GetLastError());  // there, but not to be looked at (access, sharing)
}

}  // namespace lex
