// Damaged files give -1 at once: no hang, no crash, no write.
#include <functional>

#include "engine_fixture.h"

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::PatchFile;

class CorruptTest : public lextest::EngineTest {
protected:
    struct Entry {
        int32_t node = 0, first = 0;
    };
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(1, Add("apple", "jablko"));
        ASSERT_EQ(1, Add("apple", "jablon"));
        ASSERT_EQ(1, Add("banana", "ban\xe1n"));
        ASSERT_EQ(1, Add("cherry", "t\xf8" "e\x9a" "e\xf2"));
        for (const char* w : {"apple", "banana", "cherry"}) {
            ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
            ASSERT_EQ(1, lex::LocateWord(ctx, w));
            entries[w] = {ctx.FoundOffset, ctx.Node.Node.FirstTranslation};
            lex::CloseSlotFiles(ctx);
        }
    }
    std::map<std::string, Entry> entries;
};

TEST_F(CorruptTest, DamagedFilesGiveMinusOneWithoutWriting) {
    const std::string nodes = settings.NodePaths[0], tr = settings.UserTranslationsPaths[0],
                      keys = settings.KeyIndexPaths[0];
    struct Case {
        const char* name;
        const char* word;  // the word the operations work on
        std::function<void()> damage;
    };
    auto& e = entries;
    const Case cases[] = {
        {"cycle in the node list", "bz",
         [&] { PatchFile(nodes, e["banana"].node + 4, I32(e["apple"].node)); }},
        {"node linked to itself", "bz",
         [&] { PatchFile(nodes, e["banana"].node + 4, I32(e["banana"].node)); }},
        {"chain linked to itself", "apple",
         [&] { PatchFile(tr, e["apple"].first, I32(e["apple"].first)); }},
        {"chain linked back to its start", "apple",
         [&] { PatchFile(tr, e["apple"].first + 6 + 6, I32(e["apple"].first)); }},
        {"word length 255", "apple", [&] { PatchFile(nodes, e["apple"].node + 17, Bytes(1, '\xff')); }},
        {"translation length 255", "apple", [&] { PatchFile(tr, e["apple"].first + 5, Bytes(1, '\xff')); }},
        {"text offset beyond the file", "banana",
         [&] { PatchFile(nodes, e["banana"].node + 12, I32(1000000)); }},
        {"translation offset beyond the file", "banana",
         [&] { PatchFile(nodes, e["banana"].node + 8, I32(1000000)); }},
        {"translation offset in the header", "banana",
         [&] { PatchFile(nodes, e["banana"].node + 8, I32(2)); }},
        {"negative next link", "bz", [&] { PatchFile(nodes, e["banana"].node + 4, I32(-19)); }},
        {"key record beyond the node file", "cherry", [&] { PatchFile(keys, 9 * 3 + 5, I32(1000000)); }},
        {"key record in the node header", "cherry", [&] { PatchFile(keys, 9 * 3 + 5, I32(1)); }},
        {"node naming no words file", "banana",
         [&] { PatchFile(nodes, e["banana"].node + 16, Bytes(1, '\0')); }},
        {"truncated key index", "apple", [&] { lextest::WriteFileBytes(keys, Bytes(5, '\0')); }},
    };
    const auto pristine = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.damage();
        const auto damaged = Snapshot();
        std::vector<lex::ResultRow> rows;
        EXPECT_EQ(-1, lex::LookupWord(ctx, c.word, rows, 0));
        EXPECT_EQ(-1, Add(c.word, "x"));
        EXPECT_EQ(-1, DeleteWord(c.word));
        EXPECT_EQ(-1, DeleteTranslation(c.word, "jablko"));
        EXPECT_EQ(damaged, Snapshot());
        EXPECT_EQ(0, files.OpenCount());
        // Put the slot back for the next case.
        const auto& s = settings;
        lextest::WriteFileBytes(s.KeyIndexPaths[0], pristine[2]);
        lextest::WriteFileBytes(s.NodePaths[0], pristine[3]);
        lextest::WriteFileBytes(s.UserWordsPaths[0], pristine[4]);
        lextest::WriteFileBytes(s.UserTranslationsPaths[0], pristine[5]);
        lextest::WriteFileBytes(s.ActionLogPath, pristine[6]);
    }
    EXPECT_EQ(pristine, Snapshot());
    EXPECT_FALSE(hooks.Errors.empty());  // the node naming no file was reported
}

TEST_F(CorruptTest, DamagedActionLog) {
    struct Case {
        const char* name;
        size_t offset;
        Bytes bytes;
    } cases[] = {
        {"records written beyond the file", 0, I32(1000)},
        {"current count beyond records written", 10, I32(9)},
        {"negative current count", 10, I32(-3)},
    };
    const Bytes pristine = lextest::ReadFileBytes(settings.ActionLogPath);
    const auto slot = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatchFile(settings.ActionLogPath, c.offset, c.bytes);
        EXPECT_EQ(-1, lex::OpenActionLog(ctx));
        EXPECT_EQ(-1, lex::CanUndo(ctx));
        EXPECT_EQ(-1, lex::UndoLastAction(ctx));
        EXPECT_EQ(-1, lex::RedoAction(ctx));
        EXPECT_EQ(-100, Add("date", "datle"));
        EXPECT_EQ(0, files.OpenCount());
        lextest::WriteFileBytes(settings.ActionLogPath, pristine);
    }
    EXPECT_EQ(slot, Snapshot());
}

}  // namespace
