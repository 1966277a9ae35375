// Readers beside a writer: a walk, a node-file cursor or a translator's
// lookup that meets a node or a translation another program is linking reads
// the files again, and still reports the files damaged when they stay so.
#include <cstdio>
#include <functional>

#include "engine_fixture.h"

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::ReadFileBytes;

class BesideWriterTest : public lextest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        AddFruit();
    }

    // The node offset of `word` in slot 0.
    int32_t NodeOf(const std::string& word) {
        EXPECT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
        EXPECT_EQ(1, lex::LocateWord(ctx, word));
        EXPECT_EQ(1, ctx.ExactMatch);
        const int32_t at = ctx.FoundOffset;
        lex::CloseSlotFiles(ctx);
        return at;
    }
    lex::WordNode Node(int32_t at) {
        const Bytes b = ReadFileBytes(settings.NodePaths[0]);
        return lex::WordNode::Decode(reinterpret_cast<const uint8_t*>(b.data()) + at);
    }
    // The offset of the last record of the chain of `word`.
    int32_t LastRecordOf(const std::string& word) {
        const Bytes b = ReadFileBytes(settings.UserTranslationsPaths[0]);
        int32_t at = Node(NodeOf(word)).FirstTranslation;
        while (lex::GetI32(reinterpret_cast<const uint8_t*>(b.data()) + at) != 0)
            at = lex::GetI32(reinterpret_cast<const uint8_t*>(b.data()) + at);
        return at;
    }
};

// What a reader delivers of slot 0: one line per entry, or "<failed>".
using Reader = std::function<std::string(lex::EngineContext&)>;

std::string ByWalk(lex::EngineContext& ctx) {
    lex::NodeWalk walk = lex::WalkFromNode(0, lex::kLowSentinelNode);
    walk.WithTranslations = true;
    std::vector<lex::WalkEntry> entries;
    if (lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared) != 1) return "<not opened>";
    const int r = lex::StepNodeWalk(ctx, walk, 1000, 0, entries);
    lex::CloseSlotFiles(ctx);
    if (r < 0) return "<failed>";
    std::string out;
    for (const lex::WalkEntry& e : entries) out += e.Word + "/" + std::to_string(e.Translations.size()) + " ";
    return out;
}

std::string ByCursor(lex::EngineContext& ctx) {
    lex::NodeFileCursor cursor;
    if (lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared) != 1) return "<not opened>";
    if (lex::BeginNodeFileCursor(ctx, 0, cursor) != 1) return "<no cursor>";
    std::vector<lex::StoredEntry> entries;
    const int r = lex::StepNodeFileCursor(ctx, cursor, 1000, entries);
    lex::CloseSlotFiles(ctx);
    if (r < 0) return "<failed>";
    std::string out;
    for (const lex::StoredEntry& e : entries) out += e.Word + "/" + std::to_string(e.Translations.size()) + " ";
    return out;
}

class Collected : public lex::TranslationOutput {
public:
    std::string Text;
    bool Write(const std::string& text, int) override {
        Text += text;
        return true;
    }
};

std::string ByTranslator(lex::EngineContext& ctx) {
    Collected out;
    if (lex::LookupTranslations(ctx, "apple", out, 0) != 0) return "<failed>";
    return out.Text;
}

struct HalfWritten {
    const char* name;
    bool chainLink;  // a translation being linked (else a node)
    Reader read;
    const char* whole;  // what the reader gives of the sound slot
};

const HalfWritten kCases[] = {
    {"walk meets a node being linked", false, ByWalk, "apple/3 banana/1 cherry/1 fig/1 "},
    {"walk meets a translation being linked", true, ByWalk, "apple/3 banana/1 cherry/1 fig/1 "},
    {"node-file cursor meets a translation being linked", true, ByCursor,
     "apple/3 banana/1 cherry/1 date/1 fig/1 "},
    {"translator meets a translation being linked", true, ByTranslator, "jablko, jablon"},
};

// The writer's half-done state, as a reader can meet it: a link to a node or
// a translation record that is not in the file yet. Returns the bytes that
// put the sound state back and where they go.
std::pair<std::string, Bytes> HalfWrite(const lex::DictionarySettings& s, bool chainLink, int32_t appleNode,
                                        int32_t appleLast) {
    const std::string path = chainLink ? s.UserTranslationsPaths[0] : s.NodePaths[0];
    const Bytes sound = ReadFileBytes(path);
    const int32_t at = chainLink ? appleLast : appleNode + 4;  // the next link
    lextest::PatchFile(path, static_cast<size_t>(at), I32(static_cast<int32_t>(sound.size())));
    return {path, sound};
}

TEST_F(BesideWriterTest, HalfLinkedRecordSeenOnceIsReadAgain) {
    const int32_t apple = NodeOf("apple"), appleLast = LastRecordOf("apple");
    for (const HalfWritten& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.whole, c.read(ctx));
        const auto [path, sound] = HalfWrite(settings, c.chainLink, apple, appleLast);
        // The writer finishes while the reader waits.
        files.Pauses = 0;
        files.AtPause = [&, path = path, sound = sound] { lextest::WriteFileBytes(path, sound); };
        EXPECT_EQ(c.whole, c.read(ctx));
        EXPECT_EQ(1, files.Pauses);
        files.AtPause = nullptr;
        EXPECT_EQ(0, files.OpenCount());
    }
}

TEST_F(BesideWriterTest, DamageIsReportedOnlyWithoutAWriterAtWork) {
    const int32_t apple = NodeOf("apple"), appleLast = LastRecordOf("apple");
    // Another program holds the slot's files for writing from the reader's
    // first read on: a read open that denies writers is refused.
    auto writerHolds = [this] { files.BeforeRead = [this](const std::string&) { files.FailOpenOf = "ac_adi.slo"; }; };
    auto writerGone = [this] {
        files.BeforeRead = nullptr;
        files.FailOpenOf.clear();
    };
    for (const HalfWritten& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto [path, sound] = HalfWrite(settings, c.chainLink, apple, appleLast);

        // No other program writes the slot: a few attempts, then damage.
        files.Pauses = 0;
        EXPECT_EQ("<failed>", c.read(ctx));
        EXPECT_EQ(lex::kReadAttempts - 1, files.Pauses);
        EXPECT_EQ(lex::EngineFailure::Damaged, lex::FailureOf(ctx));

        // A writer at work that takes longer than those attempts: the reader
        // waits for it.
        files.Pauses = 0;
        writerHolds();
        files.AtPause = [&, path = path, sound = sound] {
            if (files.Pauses == lex::kReadAttempts + 2) lextest::WriteFileBytes(path, sound);
        };
        EXPECT_EQ(c.whole, c.read(ctx));
        EXPECT_EQ(lex::kReadAttempts + 2, files.Pauses);
        writerGone();
        files.AtPause = nullptr;

        // Damage beside a writer is reported after the longest wait.
        HalfWrite(settings, c.chainLink, apple, appleLast);
        files.Pauses = 0;
        writerHolds();
        EXPECT_EQ("<failed>", c.read(ctx));
        EXPECT_EQ(lex::kReadAttemptsBesideWriter - 1, files.Pauses);
        writerGone();

        lextest::WriteFileBytes(path, sound);
        EXPECT_EQ(c.whole, c.read(ctx));
        EXPECT_EQ(0, files.OpenCount());
    }
}

// A walk that other programs' new nodes lengthen while it runs is no cycle.
TEST_F(BesideWriterTest, WalkLengthenedWhileItRunsIsNoCycle) {
    for (int i = 0; i < 80; ++i) {
        char word[8];
        std::snprintf(word, sizeof word, "w%03d", i);
        ASSERT_EQ(1, Add(word, "x"));
    }
    // The other program: its own files and context.
    lextest::TrackingFileSystem otherFiles;
    lex::RecordingDisplay otherDisplay;
    lex::RecordingHooks otherHooks;
    lex::EngineContext other(settings, otherFiles, otherDisplay, otherHooks);
    int nodeReads = 0;
    files.BeforeRead = [&](const std::string& path) {
        // Past the walk's first 64 nodes, three words that sort after every
        // other one come in ahead of it.
        if (path != settings.NodePaths[0] || ++nodeReads != 70) return;
        for (const char* w : {"zz1", "zz2", "zz3"}) {
            std::string tr = "y";
            ASSERT_EQ(1, lex::RunSlotCommand(other, 0, [&] { return lex::AddEntry(other, w, "", tr, 1); }));
        }
    };
    files.Pauses = 0;
    lex::NodeWalk walk = lex::WalkFromNode(0, lex::kLowSentinelNode);
    std::vector<lex::WalkEntry> entries;
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    EXPECT_LT(0, lex::StepNodeWalk(ctx, walk, 100000, 0, entries));
    lex::CloseSlotFiles(ctx);
    files.BeforeRead = nullptr;
    EXPECT_TRUE(walk.End);
    ASSERT_EQ(4u + 80u + 3u, entries.size());
    EXPECT_EQ("zz3", entries.back().Word);
    EXPECT_EQ(0, files.Pauses);  // read in one go, not again
}

}  // namespace
