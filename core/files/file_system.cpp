#include "core/files/file_system.h"

namespace lex {

bool FileSystem::ReadAt(FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    if (Seek(h, offset) != offset) return false;
    if (count == 0) return true;
    return Read(h, buffer, count) == static_cast<int32_t>(count);
}

int32_t FileSystem::ReadSome(FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    if (Seek(h, offset) != offset) return -1;
    return count == 0 ? 0 : Read(h, buffer, count);
}

bool FileSystem::Truncate(FileHandle, int64_t) { return false; }

bool ReadAt(FileSystem& fs, FileHandle h, int64_t offset, void* buffer, uint32_t count) {
    return fs.ReadAt(h, offset, buffer, count);
}

bool WriteAt(FileSystem& fs, FileHandle h, int64_t offset, const void* buffer, uint32_t count) {
    if (fs.Seek(h, offset) != offset) return false;
    if (count == 0) return true;
    return fs.Write(h, buffer, count) == static_cast<int32_t>(count);
}

}  // namespace lex
