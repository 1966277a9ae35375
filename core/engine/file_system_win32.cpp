// Windows file access through the _lopen family, with real share modes.
#include <windows.h>

#include "file_system.h"

namespace lex {
namespace {

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
    bool Exists(const std::string& path) override { return PlatformFileExists(path); }
    void Close(FileHandle h) override {
        if (h != kNoFile) _lclose(static_cast<HFILE>(h));
    }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() { return std::make_unique<Win32FileSystem>(); }

bool PlatformFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
        return false;
    default:
        return true;  // there, but not to be looked at (access, sharing)
    }
}

bool PlatformReplaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace lex
