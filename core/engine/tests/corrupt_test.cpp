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

namespace {

// Logs whose last records do not describe the slot files. Opening the log
// (the settle) writes nothing for a record whose translation is not in its
// node's chain: such a record is damage, left as it is, and an Undo of it
// writes nothing either. CanUndo and CanRedo write nothing and answer as the
// log stands once the writing settle has run.
class DamagedLogTest : public lextest::EngineTest {
protected:
    struct Entry {
        int32_t node = 0, first = 0;
    };
    Entry Find(const std::string& word) {
        EXPECT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
        EXPECT_EQ(1, lex::LocateWord(ctx, word));
        Entry e{ctx.FoundOffset, ctx.Node.Node.FirstTranslation};
        lex::CloseSlotFiles(ctx);
        return e;
    }
    // Records appended as one command, with no note (as a damaged log holds them).
    void Append(std::initializer_list<lex::ActionRecord> records) {
        ASSERT_EQ(1, lex::OpenActionLog(ctx));
        for (const lex::ActionRecord& r : records) {
            lex::SetActionSlot(ctx, r.Slot);
            ASSERT_EQ(1, lex::AppendActionRecord(ctx, r.Action, r.Node, r.Translation));
        }
        lex::CloseActionLog(ctx);
    }
    std::vector<Bytes> SlotFiles() {
        std::vector<Bytes> all = Snapshot();
        all.pop_back();  // the log
        return all;
    }
};

TEST_F(DamagedLogTest, RecordsThatDoNotDescribeTheFiles) {
    ASSERT_EQ(1, Add("apple", "jablko"));
    ASSERT_EQ(1, Add("banana", "ban\xe1n"));
    ASSERT_EQ(1, Add("melon", "meloun"));  // its translation ends the user translations file
    const Entry banana = Find("banana"), melon = Find("melon");
    const std::vector<std::string> slot = Dump();
    const int32_t count = WordCount();
    ASSERT_EQ(static_cast<size_t>(melon.first) + 6 + 6, lextest::ReadFileBytes(settings.UserTranslationsPaths[0]).size());
    const std::vector<Bytes> pristine = Snapshot();
    const std::string nodes = settings.NodePaths[0];
    auto restore = [&] {
        const auto& s = settings;
        const std::string* paths[] = {&s.CdWordsPaths[0],   &s.CdTranslationsPaths[0], &s.KeyIndexPaths[0],
                                      &s.NodePaths[0],      &s.UserWordsPaths[0],      &s.UserTranslationsPaths[0],
                                      &s.ActionLogPath};
        for (size_t i = 0; i < pristine.size(); ++i) lextest::WriteFileBytes(*paths[i], pristine[i]);
    };
    using R = lex::ActionRecord;
    struct Case {
        const char* name;
        std::function<void()> damage;
        bool damaged;  // nothing may be written to the slot files for it
    };
    const Case cases[] = {
        {"an addition whose translation lies inside another entry's record",
         [&] { Append({R{3, 0, 0, banana.node, melon.first - 2}}); }, true},
        {"an addition of the translation that ends the file, which another word holds",
         [&] { Append({R{3, 0, 0, banana.node, melon.first}}); }, true},
        {"a deletion of a translation the node's chain does not hold",
         [&] { Append({R{2, 0, 0, banana.node, melon.first}}); }, true},
        {"an addition naming a node outside the node file and a translation inside a record",
         [&] { Append({R{3, 0, 0, 1000000, melon.first - 2}}); }, false},
        {"one translation against two nodes, the second a new node not linked",
         [&] {
             // A fresh log of one command: melon's addition, and the same
             // translation named again for a node after it that no node links to.
             ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
             const int32_t fake = static_cast<int32_t>(lextest::ReadFileBytes(nodes).size());
             lex::WordNode m;
             {
                 const Bytes b = lextest::ReadFileBytes(nodes).substr(static_cast<size_t>(melon.node), 19);
                 m = lex::WordNode::Decode(reinterpret_cast<const uint8_t*>(b.data()));
             }
             lex::WordNode n = m;
             n.Previous = melon.node;
             uint8_t b[19];
             n.Encode(b);
             lextest::PatchFile(nodes, static_cast<size_t>(fake), Bytes(reinterpret_cast<char*>(b), 19));
             Append({R{3, 0, 0, melon.node, melon.first}, R{3, 0, 0, fake, melon.first}});
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restore();
        c.damage();
        const std::vector<Bytes> damaged = Snapshot();
        // The dry settle writes nothing...
        const int canUndo = lex::CanUndo(ctx), canRedo = lex::CanRedo(ctx);
        EXPECT_EQ(damaged, Snapshot());
        // ...and answers as the log stands after the writing one.
        ASSERT_EQ(1, lex::OpenActionLog(ctx));
        const int32_t current = ctx.LogState.Node, written = ctx.LogRecordsWritten;
        lex::CloseActionLog(ctx);
        EXPECT_EQ(current > 0 ? 1 : 0, canUndo);
        EXPECT_EQ(current < written ? 1 : 0, canRedo);
        EXPECT_EQ(canUndo, lex::CanUndo(ctx));
        if (c.damaged) {
            EXPECT_EQ(damaged[0], Snapshot()[0]);
            EXPECT_EQ(SlotFiles(), std::vector<Bytes>(damaged.begin(), damaged.end() - 1));
            EXPECT_EQ(slot, Dump());
            EXPECT_EQ(count, WordCount());
            // An Undo of the damaged record refuses it, writing nothing to the slot.
            const std::vector<Bytes> settled = SlotFiles();
            EXPECT_EQ(-1, lex::UndoLastAction(ctx));
            EXPECT_EQ(settled, SlotFiles());
            restore();
            c.damage();
        }
        // The slot reads, and the next command works and leaves the chains whole.
        for (const std::string& line : Dump()) EXPECT_NE("<error>", line);
        ASSERT_EQ(1, Add("kiwi", "kiwi"));
        std::vector<std::string> chains;
        ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
        for (const char* w : {"apple", "banana", "melon"}) {
            ASSERT_EQ(1, lex::LocateWord(ctx, w));
            std::vector<std::string> trs;
            EXPECT_EQ(1, lex::ReadLiveTranslations(ctx, ctx.Node.Node.FirstTranslation, ctx.Node.Node.Flags, trs)) << w;
        }
        lex::CloseSlotFiles(ctx);
        EXPECT_EQ(0, files.OpenCount());
    }
}

}  // namespace
