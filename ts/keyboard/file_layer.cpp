#include "ts/keyboard/file_layer.h"

#include <cstdio>

#include "ts/keyboard/file_layer_platform.h"

namespace ts {

ReadOutcome ReadWholeFile(FileLayer& files, const std::string& path, std::string& bytes) {
    FileHandle h = files.OpenRead(path);
    if (h == kNoFile) return ReadOutcome::NotOpened;
    std::string all;
    char block[4096];
    bool failed = false;
    for (;;) {
        size_t n = files.Read(h, block, sizeof block);
        all.append(block, n);
        if (n < sizeof block) break;
        if (all.size() > (64u << 20)) {  // no ini or keyboard file is this large
            failed = true;
            break;
        }
    }
    // Close reports a read error of the stream as well.
    if (!files.Close(h) || failed) return ReadOutcome::Failed;
    bytes.swap(all);
    return ReadOutcome::Done;
}

std::string TemporaryName(const std::string& path) { return path + ".tmp"; }

WriteOutcome WriteTemporary(FileLayer& files, const std::string& path, const std::string& bytes) {
    const std::string temp = TemporaryName(path);
    FileHandle h = files.Create(temp);
    if (h == kNoFile) return WriteOutcome::NotCreated;
    bool ok = bytes.empty() || files.Write(h, bytes.data(), bytes.size()) == bytes.size();
    ok = files.Close(h) && ok;
    if (ok) return WriteOutcome::Done;
    files.Remove(temp);
    return WriteOutcome::Failed;
}

bool WriteReplacing(FileLayer& files, const std::string& path, const std::string& bytes) {
    if (WriteTemporary(files, path, bytes) != WriteOutcome::Done) return false;
    const std::string temp = TemporaryName(path);
    if (files.Replace(temp, path)) return true;
    files.Remove(temp);
    return false;
}

namespace {

class StdioFileLayer : public FileLayer {
public:
    FileHandle OpenRead(const std::string& path) override {
        return reinterpret_cast<FileHandle>(std::fopen(path.c_str(), "rb"));
    }
    FileHandle Create(const std::string& path) override {
        return reinterpret_cast<FileHandle>(std::fopen(path.c_str(), "wb"));
    }
    size_t Read(FileHandle h, void* buffer, size_t count) override {
        return std::fread(buffer, 1, count, Stream(h));
    }
    size_t Write(FileHandle h, const void* buffer, size_t count) override {
        return std::fwrite(buffer, 1, count, Stream(h));
    }
    bool Close(FileHandle h) override {
        if (h == kNoFile) return true;
        std::FILE* f = Stream(h);
        bool ok = std::fflush(f) == 0 && !std::ferror(f);
        return std::fclose(f) == 0 && ok;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return PlatformReplace(from, to);
    }
    bool Remove(const std::string& path) override {
        return std::remove(path.c_str()) == 0 || !Exists(path);
    }
    bool Exists(const std::string& path) override { return PlatformExists(path); }

private:
    static std::FILE* Stream(FileHandle h) { return reinterpret_cast<std::FILE*>(h); }
};

}  // namespace

std::unique_ptr<FileLayer> MakePlatformFileLayer() { return std::make_unique<StdioFileLayer>(); }

}  // namespace ts
