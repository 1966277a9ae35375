// Shared set-up of the engine tests: a temporary folder with slots and a log,
// a file system that counts handles and can fail chosen writes, and helpers
// that run whole user commands.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/files/testing/faulty_file_system.h"
#include "core/files/testing/test_files.h"
#include "core/engine/engine.h"

namespace lextest {

using Bytes = std::string;

using lex::testing::ReadFileBytes;
using lex::testing::WriteFileBytes;

// Patches bytes of a file in place.
inline void PatchFile(const std::string& path, size_t offset, const Bytes& bytes) {
    Bytes all = ReadFileBytes(path);
    if (all.size() < offset + bytes.size()) all.resize(offset + bytes.size());
    all.replace(offset, bytes.size(), bytes);
    WriteFileBytes(path, all);
}

inline Bytes I32(int32_t v) {
    uint8_t b[4];
    lex::PutI32(b, v);
    return Bytes(reinterpret_cast<char*>(b), 4);
}

inline Bytes Two(uint8_t a, uint8_t b) { return Bytes{char(a), char(b)}; }

// A temporary folder with the CD and disk folders of the slots.
class TempDir : public lex::testing::TempFolder {
public:
    TempDir() : TempFolder("lexengine-test-", {"cd", "disk"}) {}
};

// The counting and failing file system of the tests (core/files/testing):
// open handles counted, writes to files whose path contains FailWritesTo and
// reads from files whose path contains FailReadsFrom failed, BeforeWrite
// called before every write (a test may end the process there), and the
// faults by number and the kill point of a fault run.
class TrackingFileSystem : public lex::testing::FaultyFileSystem {};

class EngineTest : public ::testing::Test {
protected:
    TempDir dir;
    lex::DictionarySettings settings;
    TrackingFileSystem files;
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx{settings, files, display, hooks};

    void SetUp() override {
        lex::FillSlotPaths(settings, dir.Sub("cd"), dir.Sub("disk"));
        for (int s = 0; s < lex::kSlotCount; ++s)
            settings.SortType[s] = static_cast<int16_t>(lex::DefaultSortType(s));
        settings.ActionLogPath = dir.Sub("akce1.idx");
        settings.CurrentSlot = 0;
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 1));
        ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
    }

    // One user command on one slot, as the word dialogs run it.
    template <class Edit>
    int Command(int slot, Edit edit) {
        return lex::RunSlotCommand(ctx, slot, edit);
    }
    int Add(const std::string& word, std::string translation, const std::string& pron = "",
            int slot = 0) {
        return Command(slot, [&] { return lex::AddEntry(ctx, word, pron, translation, 1); });
    }
    int DeleteWord(const std::string& word, int slot = 0) {
        return Command(slot, [&] { return lex::DeleteWord(ctx, word); });
    }
    int DeleteTranslation(const std::string& word, std::string tr, int slot = 0) {
        return Command(slot, [&] { return lex::DeleteTranslation(ctx, word, tr); });
    }

    // Slot 0 with apple (two translations and a grammar note), banana, cherry,
    // date (deleted) and fig.
    void AddFruit() {
        ASSERT_EQ(1, Add("apple", "jablko", "\xe6pl"));
        ASSERT_EQ(1, Add("apple", ".n. noun", "\xe6pl"));  // a grammar note
        ASSERT_EQ(1, Add("apple", "jablon", "\xe6pl"));
        ASSERT_EQ(1, Add("banana", "ban\xe1n", "b\xe6n"));
        ASSERT_EQ(1, Add("cherry", "t\xf8" "e\x9a" "e\xf2"));
        ASSERT_EQ(1, Add("date", "datle"));
        ASSERT_EQ(1, DeleteWord("date"));
        ASSERT_EQ(1, Add("fig", "fik", "   "));
    }

    // Every live entry in list order: "word|pron|tr1|tr2...".
    std::vector<std::string> Dump(int slot = 0) {
        std::vector<std::string> out;
        EXPECT_EQ(1, lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared));
        int32_t offset = lex::kLowSentinelNode;
        for (int guard = 0; offset != 0 && guard < 100000; ++guard) {
            if (lex::ReadNodeAt(ctx, offset) != 1) {
                out.push_back("<error>");
                break;
            }
            lex::NodeBuffer e = ctx.Node;
            if (!e.Node.Deleted()) {
                std::vector<std::string> trs;
                EXPECT_EQ(1, lex::ReadLiveTranslations(ctx, e.Node.FirstTranslation, e.Node.Flags, trs));
                std::string line = e.Word + "|" + e.Pronunciation;
                for (auto& t : trs) line += "|" + t;
                out.push_back(line);
            }
            offset = e.Node.Next;
        }
        lex::CloseSlotFiles(ctx);
        return out;
    }

    int32_t WordCount(int slot = 0) {
        Bytes b = ReadFileBytes(settings.UserTranslationsPaths[slot]);
        return b.size() >= 44 ? lex::GetI32(reinterpret_cast<const uint8_t*>(b.data()) + 40) : -999;
    }

    // The six files of a slot and the log, to show that nothing was written.
    std::vector<Bytes> Snapshot(int slot = 0) {
        const auto& s = settings;
        return {ReadFileBytes(s.CdWordsPaths[slot]),    ReadFileBytes(s.CdTranslationsPaths[slot]),
                ReadFileBytes(s.KeyIndexPaths[slot]),   ReadFileBytes(s.NodePaths[slot]),
                ReadFileBytes(s.UserWordsPaths[slot]),  ReadFileBytes(s.UserTranslationsPaths[slot]),
                ReadFileBytes(s.ActionLogPath)};
    }
};

}  // namespace lextest
