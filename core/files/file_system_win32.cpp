// Windows file access with the share modes of the _lopen family: an open
// mode is the OF_* flags, read, write, seek and close work on the system's
// handle as _lread, _lwrite, _llseek and _lclose do. Paths are turned into
// UTF-16 from the file system's path encoding (the system code page, as the
// "A" functions take them, or UTF-8).
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

// The path in UTF-16; empty (no file can have that name) when it is not
// valid in its encoding.
std::wstring Wide(const std::string& path, UINT codePage) {
    if (path.empty()) return std::wstring();
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int n = MultiByteToWideChar(codePage, flags, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, path.data(), static_cast<int>(path.size()), &wide[0], n);
    return wide;
}

HANDLE H(FileHandle h) { return reinterpret_cast<HANDLE>(h); }
FileHandle Made(HANDLE h) { return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(h); }

DWORD AccessOf(int mode) {
    switch (mode & 3) {
    case 0: return GENERIC_READ;                  // OF_READ
    case 1: return GENERIC_WRITE;                 // OF_WRITE
    default: return GENERIC_READ | GENERIC_WRITE; // OF_READWRITE
    }
}

DWORD SharingOf(int mode) {
    switch (mode & 0x70) {
    case 0x10: return 0;                                   // OF_SHARE_EXCLUSIVE
    case 0x20: return FILE_SHARE_READ;                     // OF_SHARE_DENY_WRITE
    case 0x30: return FILE_SHARE_WRITE;                    // OF_SHARE_DENY_READ
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;    // OF_SHARE_DENY_NONE, compatibility
    }
}

bool FileExistsW(const std::wstring& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return !path.empty() && !Missing(GetLastError());  // there, but not to be looked at (access, sharing)
}

class Win32FileSystem : public FileSystem {
public:
    explicit Win32FileSystem(PathEncoding encoding) : codePage_(encoding == PathEncoding::Utf8 ? CP_UTF8 : CP_ACP) {}

    FileHandle Open(const std::string& path, int mode) override {
        return Made(CreateFileW(Wide(path, codePage_).c_str(), AccessOf(mode), SharingOf(mode), nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    FileHandle Create(const std::string& path) override {
        return Made(CreateFileW(Wide(path, codePage_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    }
    FileHandle CreateNew(const std::string& path) override {
        return Made(CreateFileW(Wide(path, codePage_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    int32_t Read(FileHandle h, void* buffer, uint32_t count) override {
        DWORD got = 0;
        return ReadFile(H(h), buffer, count, &got, nullptr) ? static_cast<int32_t>(got) : -1;
    }
    int32_t Write(FileHandle h, const void* buffer, uint32_t count) override {
        if (count == 0) return 0;
        DWORD written = 0;
        return WriteFile(H(h), buffer, count, &written, nullptr) ? static_cast<int32_t>(written) : -1;
    }
    int64_t Seek(FileHandle h, int64_t offset) override {
        if (offset < 0 || offset > 0x7FFFFFFF) return -1;
        const DWORD r = SetFilePointer(H(h), static_cast<LONG>(offset), nullptr, FILE_BEGIN);
        return r == INVALID_SET_FILE_POINTER ? -1 : static_cast<int64_t>(r);
    }
    int64_t Size(FileHandle h) override {
        const DWORD r = SetFilePointer(H(h), 0, nullptr, FILE_END);
        return r == INVALID_SET_FILE_POINTER || r > 0x7FFFFFFF ? -1 : static_cast<int64_t>(r);
    }
    bool Close(FileHandle h) override { return h == kNoFile || CloseHandle(H(h)) != 0; }
    bool Exists(const std::string& path) override { return FileExistsW(Wide(path, codePage_)); }
    int64_t FileSize(const std::string& path) override {
        const std::wstring wide = Wide(path, codePage_);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (wide.empty()) return kNoFileSize;
        if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
            return Missing(GetLastError()) ? kNoFileSize : kUnknownFileSize;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kNoFileSize;
        return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        const std::wstring wideFrom = Wide(from, codePage_), wideTo = Wide(to, codePage_);
        return !wideFrom.empty() && !wideTo.empty() &&
               MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    bool Remove(const std::string& path) override {
        const std::wstring wide = Wide(path, codePage_);
        return !wide.empty() && (DeleteFileW(wide.c_str()) != 0 || Missing(GetLastError()));
    }
    bool Truncate(FileHandle h, int64_t size) override {
        const int64_t end = Size(h);
        if (size < 0 || end < 0 || size > end || Seek(h, size) != size) return false;
        return SetEndOfFile(H(h)) != 0;
    }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }

private:
    UINT codePage_;
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem(PathEncoding encoding) {
    return std::make_unique<Win32FileSystem>(encoding);
}

bool PlatformFileExists(const std::string& path) { return FileExistsW(Wide(path, CP_ACP)); }

}  // namespace lex
