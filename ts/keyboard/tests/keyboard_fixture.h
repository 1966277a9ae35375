// Shared set-up of the keyboard file tests: a temporary folder, whole-file
// helpers, a file layer that counts handles and fails chosen writes and
// replacements, and recorded messages.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ts/keyboard/keyboard_file.h"

namespace tstest {

using Bytes = std::string;

inline Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("tskeyboard-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Sub(const std::string& name) const { return (path_ / name).string(); }
    // The names of the files in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

// Wraps the platform file layer: counts open handles, fails writes to files
// whose path contains FailWritesTo (after FailAfterWrites good ones), fails
// closes of such files when FailClose is set, fails replacements whose
// target contains FailReplaceOf and opens for reading of FailOpenOf.
class TrackingFileLayer : public ts::FileLayer {
public:
    std::unique_ptr<ts::FileLayer> Inner = ts::MakePlatformFileLayer();
    std::map<ts::FileHandle, std::string> Open_;
    std::string FailWritesTo;
    int FailAfterWrites = 0;
    bool FailClose = false;
    std::string FailReplaceOf;
    std::string FailOpenOf;  // opens for reading of such paths fail

    int OpenCount() const { return static_cast<int>(Open_.size()); }

    ts::FileHandle OpenRead(const std::string& path) override {
        if (!FailOpenOf.empty() && path.find(FailOpenOf) != std::string::npos) return ts::kNoFile;
        return Track(Inner->OpenRead(path), path);
    }
    ts::FileHandle Create(const std::string& path) override { return Track(Inner->Create(path), path); }
    size_t Read(ts::FileHandle h, void* b, size_t n) override { return Inner->Read(h, b, n); }
    size_t Write(ts::FileHandle h, const void* b, size_t n) override {
        if (Chosen(h) && !FailClose) {
            if (FailAfterWrites <= 0) return n / 2;  // a short write, as on a full disk
            --FailAfterWrites;
        }
        return Inner->Write(h, b, n);
    }
    bool Close(ts::FileHandle h) override {
        const bool fail = Chosen(h) && FailClose;
        Open_.erase(h);
        return Inner->Close(h) && !fail;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        if (!FailReplaceOf.empty() && to.find(FailReplaceOf) != std::string::npos) return false;
        return Inner->Replace(from, to);
    }
    bool Remove(const std::string& path) override { return Inner->Remove(path); }
    bool Exists(const std::string& path) override { return Inner->Exists(path); }

private:
    ts::FileHandle Track(ts::FileHandle h, const std::string& path) {
        if (h != ts::kNoFile) Open_[h] = path;
        return h;
    }
    bool Chosen(ts::FileHandle h) {
        return !FailWritesTo.empty() && Open_[h].find(FailWritesTo) != std::string::npos;
    }
};

class RecordingMessages : public ts::KeyboardFileMessages {
public:
    std::vector<std::string> Shown;
    void ShowFileMessage(const std::string& text) override { Shown.push_back(text); }
};

}  // namespace tstest
