// The cursor over a slot's user nodes in node-file order: deleted nodes and
// deleted translations included, shipped nodes passed over, bounded by the
// files, resumed across steps.
#include "engine_fixture.h"

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::PatchFile;
using lextest::ReadFileBytes;
using lextest::WriteFileBytes;

class NodeFileCursorTest : public lextest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        AddFruit();  // file order: apple, banana, cherry, date (deleted), fig
        ASSERT_EQ(1, Add("banana", "pryc"));
        ASSERT_EQ(1, DeleteTranslation("banana", "pryc"));
    }
    // Offset of node record `n` (0 and 1 are the sentinels).
    static size_t NodeOffset(int n) { return lex::kLowSentinelNode + n * lex::WordNode::kSize; }
    lex::WordNode NodeRecord(int n) {
        const Bytes b = ReadFileBytes(settings.NodePaths[0]);
        return lex::WordNode::Decode(reinterpret_cast<const uint8_t*>(b.data()) + NodeOffset(n));
    }
    // Runs a cursor over slot 0 to its end, `perStep` records a step: each entry
    // as "word|pron|node flags|text:flags|...", or "<begin r>" / "<error>".
    std::vector<std::string> ReadAll(int perStep) {
        std::vector<std::string> out;
        lex::NodeFileCursor cursor;
        const int begun = lex::BeginNodeFileCursor(ctx, 0, cursor);
        if (begun != 1) return {"<begin " + std::to_string(begun) + ">"};
        for (int steps = 0; steps < 1000; ++steps) {
            std::vector<lex::StoredEntry> entries;
            const int r = lex::StepNodeFileCursor(ctx, cursor, perStep, entries);
            // The entries read before an error are delivered.
            for (const lex::StoredEntry& e : entries) {
                std::string line = e.Word + "|" + e.Pronunciation + "|" + std::to_string(e.Node.Flags);
                for (const lex::EntryTranslation& t : e.Translations)
                    line += "|" + t.Text + ":" + std::to_string(t.Head.Flags);
                out.push_back(line);
            }
            if (r < 0) {
                out.push_back("<error>");
                break;
            }
            EXPECT_GE(perStep, r);
            EXPECT_LE(cursor.Next, cursor.Count);
            if (r == 0) break;
        }
        return out;
    }
};

TEST_F(NodeFileCursorTest, DeliversUserNodesInFileOrderWithWholeChains) {
    const std::vector<std::string> all = {
        "apple|\xe6pl|1|jablko:1|\x1fn. noun:1|jablon:1",
        "banana||1|ban\xe1n:1|pryc:129",
        "cherry||1|t\xf8" "e\x9a" "e\xf2:1",
        "date||129|datle:129",
        "fig|   |1|fik:1",
    };
    std::vector<std::string> noBanana = all;
    noBanana.erase(noBanana.begin() + 1);
    struct Case {
        const char* name;
        std::function<void()> damage;
        std::vector<std::string> expected;
    } cases[] = {
        {"sound slot", [] {}, all},
        {"a shipped node is passed over",
         [&] { PatchFile(settings.NodePaths[0], NodeOffset(3) + 16, Bytes(1, char(lex::kFlagCd))); }, noBanana},
        {"a node moved half way to the disk is passed over",
         [&] { PatchFile(settings.NodePaths[0], NodeOffset(3) + 16, Bytes(1, char(lex::kFlagCd | lex::kFlagDisk))); },
         noBanana},
        {"a node file cut inside its last record ends before it",
         [&] {
             const Bytes b = ReadFileBytes(settings.NodePaths[0]);
             WriteFileBytes(settings.NodePaths[0], b.substr(0, b.size() - 5));
         },
         std::vector<std::string>(all.begin(), all.end() - 1)},
        {"a node file cut inside the sentinels is damage",
         [&] {
             WriteFileBytes(settings.NodePaths[0], ReadFileBytes(settings.NodePaths[0]).substr(0, 50));
         },
         {"<begin 2>"}},
        {"a chain that links back (a cycle)",
         [&] {
             const int32_t first = NodeRecord(2).FirstTranslation;
             const int32_t second = NodeRecord(2).FirstTranslation + 6 + 6;  // after "jablko"
             PatchFile(settings.UserTranslationsPaths[0], second, I32(first));
         },
         {"<error>"}},
        {"a chain that leaves the file",
         [&] { PatchFile(settings.UserTranslationsPaths[0], NodeRecord(4).FirstTranslation, I32(0x7FFFFFF0)); },
         {"apple|\xe6pl|1|jablko:1|\x1fn. noun:1|jablon:1", "banana||1|ban\xe1n:1|pryc:129", "<error>"}},
        {"a text beyond the words file",
         [&] { PatchFile(settings.NodePaths[0], NodeOffset(2) + 12, I32(1 << 20)); }, {"<error>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Bytes> sound = {ReadFileBytes(settings.NodePaths[0]),
                                          ReadFileBytes(settings.UserTranslationsPaths[0])};
        c.damage();
        for (int perStep : {1, 2, 100}) {
            SCOPED_TRACE(perStep);
            EXPECT_EQ(c.expected, ReadAll(perStep));
            EXPECT_EQ(0, files.OpenCount());  // no file stays open between steps
        }
        WriteFileBytes(settings.NodePaths[0], sound[0]);
        WriteFileBytes(settings.UserTranslationsPaths[0], sound[1]);
    }
}

TEST_F(NodeFileCursorTest, OnTheOpenSlotReadsWhatWasWrittenBetweenSteps) {
    // The jobs keep the slot open for reading for the whole run; another
    // program may add to it between two steps.
    lextest::TrackingFileSystem otherFiles;
    lex::RecordingDisplay otherDisplay;
    lex::RecordingHooks otherHooks;
    lex::EngineContext other(settings, otherFiles, otherDisplay, otherHooks);
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    const int opens = files.Opens;
    lex::NodeFileCursor cursor;
    ASSERT_EQ(1, lex::BeginNodeFileCursor(ctx, 0, cursor));
    EXPECT_EQ(7, cursor.Count);
    std::vector<lex::StoredEntry> entries;
    ASSERT_EQ(3, lex::StepNodeFileCursor(ctx, cursor, 3, entries));  // apple, banana, cherry
    std::string tr = "figovnik";
    ASSERT_EQ(1, lex::RunSlotCommand(other, 0, [&] { return lex::AddEntry(other, "fig", "", tr, 1); }));
    ASSERT_EQ(2, lex::StepNodeFileCursor(ctx, cursor, 100, entries));
    EXPECT_EQ(0, lex::StepNodeFileCursor(ctx, cursor, 100, entries));
    ASSERT_EQ(5u, entries.size());
    EXPECT_EQ("date", entries[3].Word);
    EXPECT_TRUE(entries[3].Node.Deleted());
    ASSERT_EQ(2u, entries[4].Translations.size());
    EXPECT_EQ("figovnik", entries[4].Translations[1].Text);
    EXPECT_EQ(static_cast<int32_t>(NodeOffset(6)), entries[4].Offset);
    // The open slot served: nothing opened, nothing closed.
    EXPECT_EQ(opens, files.Opens);
    EXPECT_EQ(0, ctx.OpenSlot);
    EXPECT_FALSE(ctx.Cache.Active());
    lex::CloseSlotFiles(ctx);
}

}  // namespace
