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
#include "core/files/testing/test_files.h"
#include "core/keyboard/keyboard_file.h"

namespace keyboardtest {

using Bytes = std::string;

using lex::testing::FileExists;
using lex::testing::ReadFileBytes;
using lex::testing::WriteFileBytes;

class KeyboardTempDir : public lex::testing::TempFolder {
public:
    KeyboardTempDir() : TempFolder("tskeyboard-test-") {}
};

// The counting and failing file system of the tests, with the writes to
// FailWritesTo files written short (half their bytes), as on a full disk.
class TrackingFileLayer : public lex::testing::FaultyFileSystem {
public:
    TrackingFileLayer() { ShortWrites = true; }
};

class RecordingMessages : public lex::keyboard::KeyboardFileMessages {
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

}  // namespace keyboardtest
