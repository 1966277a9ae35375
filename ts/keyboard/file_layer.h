// The file access of the keyboard files: whole files read and written through
// buffered C streams, a file put in place of another, a file removed. One small
// part per platform (replacing and asking whether a file exists); tests wrap it
// to fail chosen writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ts {

using FileHandle = intptr_t;
constexpr FileHandle kNoFile = 0;

class FileLayer {
public:
    virtual ~FileLayer() = default;
    // Opens an existing file for reading ("rb"); kNoFile on failure.
    virtual FileHandle OpenRead(const std::string& path) = 0;
    // Creates or empties a file for writing ("wb"); kNoFile on failure.
    virtual FileHandle Create(const std::string& path) = 0;
    // Bytes read or written; fewer than asked on failure or at the end.
    virtual size_t Read(FileHandle h, void* buffer, size_t count) = 0;
    virtual size_t Write(FileHandle h, const void* buffer, size_t count) = 0;
    // Flushes and closes: false when buffered data could not be written or a
    // read failed.
    virtual bool Close(FileHandle h) = 0;
    // Puts `from` in the place of `to` (which may exist) in one step.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // Removes a file; true also when there was none.
    virtual bool Remove(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

// The file layer of the platform the program is built for.
std::unique_ptr<FileLayer> MakePlatformFileLayer();

// Outcome of reading a whole file: NotOpened also when the file exists but
// cannot be opened; Failed for a read error.
enum class ReadOutcome { Done, NotOpened, Failed };

// Reads a whole file into `bytes` (left untouched unless Done).
ReadOutcome ReadWholeFile(FileLayer& files, const std::string& path, std::string& bytes);

// The temporary file beside `path` that a replacing write goes through.
std::string TemporaryName(const std::string& path);

// Writes `bytes` to the temporary file beside `path`; on failure no temporary
// file is left.
enum class WriteOutcome { Done, NotCreated, Failed };
WriteOutcome WriteTemporary(FileLayer& files, const std::string& path, const std::string& bytes);

// Writes `bytes` as the new contents of `path` through the temporary file: the
// old file stays as it was unless the new one is complete.
bool WriteReplacing(FileLayer& files, const std::string& path, const std::string& bytes);

}  // namespace ts
