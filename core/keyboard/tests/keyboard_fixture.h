// Shared set-up of the keyboard file tests: a temporary folder, whole-file
// helpers, the counting and failing file system, and recorded messages.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/files/testing/faulty_file_system.h"
#include "core/keyboard/keyboard_file.h"

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

// The counting and failing file system of the tests, with the writes to
// FailWritesTo files written short (half their bytes), as on a full disk.
class TrackingFileLayer : public lex::testing::FaultyFileSystem {
public:
    TrackingFileLayer() { ShortWrites = true; }
};

class RecordingMessages : public ts::KeyboardFileMessages {
public:
    std::vector<std::string> Shown;
    std::vector<std::string> Asked;  // the paths of the replace questions
    bool ReplaceUnloaded = false;    // the answer to them
    void ShowFileMessage(const std::string& text) override { Shown.push_back(text); }
    bool ConfirmReplaceUnloaded(const std::string& path) override {
        Asked.push_back(path);
        return ReplaceUnloaded;
    }
};

}  // namespace tstest
