// Lookups read through the block cache of one operation and open the shipped
// files of a slot only when they read an entry that lives there.
#include "engine_fixture.h"
#include "tools/slotgen/generated_slot.h"

namespace {

using lextest::Bytes;

// Everything a lookup gives back, in one text.
struct LookupResult {
    std::string Text;
    int Reads = 0;
};

class ReadCacheTest : public lextest::EngineTest {
protected:
    // The slot as installed: shipped entries, then the user's own on top (new
    // words, further translations of shipped ones, a shipped word deleted).
    void MakeInstalledSlot(int senses) {
        entries = lex::GenerateEntries(senses, 3);
        ASSERT_EQ(1, lex::WriteShippedSlot(ctx, 0, entries));
        for (size_t i = 0; i < entries.size(); i += entries.size() / 7 + 1)
            ASSERT_EQ(1, Add(entries[i].Word, "navic"));
        ASSERT_EQ(1, Add("zzmine", "moje"));
        ASSERT_EQ(1, Add("aamine", "moje", "aa"));
        ASSERT_EQ(1, DeleteWord(entries[entries.size() / 2].Word));
    }

    std::string Rows(int n, const std::vector<lex::ResultRow>& rows) {
        std::string out = std::to_string(n) + "\n";
        for (const lex::ResultRow& r : rows) {
            uint8_t node[lex::WordNode::kSize];
            r.Node.Encode(node);
            out += std::to_string(r.Offset) + " " + Bytes(reinterpret_cast<char*>(node), sizeof node) + " " +
                   r.Word + "\t" + r.Pronunciation + "\n";
        }
        return out;
    }

    // Runs every read operation for `word`.
    LookupResult Lookups(const std::string& word) {
        struct Collect : lex::TranslationOutput {
            std::string Text;
            bool Write(const std::string& text, int slot) override {
                Text += text + "@" + std::to_string(slot);
                return true;
            }
        } written;
        const int before = files.Reads;
        hooks.History.clear();
        display.Translation.clear();
        std::vector<lex::ResultRow> rows;
        std::string out = Rows(lex::LookupWord(ctx, word, rows, 0), rows);
        out += "[" + display.Pronunciation + "]" + display.Translation + "\n";
        for (const auto& h : hooks.History) out += "history " + h.first + "\n";
        const int32_t second = rows.size() > 1 ? rows[1].Offset : lex::kLowSentinelNode;
        out += Rows(lex::FindCandidates(ctx, word, rows, 0), rows);
        out += std::to_string(lex::LookupTranslations(ctx, word, written, 0)) + written.Text + "\n";
        out += Rows(lex::FillRowsFromNode(ctx, second, rows), rows);
        lex::NodeWalk walk = lex::WalkFromNode(0, second);
        walk.WithTranslations = true;
        std::vector<lex::WalkEntry> walked;
        out += std::to_string(lex::StepNodeWalk(ctx, walk, 40, 0, walked));
        for (const lex::WalkEntry& e : walked)
            for (const lex::EntryTranslation& t : e.Translations) out += " " + e.Word + "=" + t.Text;
        EXPECT_EQ(0, files.OpenCount());
        EXPECT_FALSE(ctx.Cache.Active());
        return {out, files.Reads - before};
    }

    std::vector<lex::GeneratedEntry> entries;
};

// Every read operation gives exactly what it gives reading each record from
// the file, with far fewer reads.
TEST_F(ReadCacheTest, SameResultsAsReadingEachRecord) {
    MakeInstalledSlot(3000);
    std::vector<std::string> words = lex::LookupWords(entries);
    for (const char* w : {"", " ", "a", "zzmine", "aamine", "zzzz", "\x9e\x9e"}) words.push_back(w);
    long cachedReads = 0, directReads = 0;
    for (size_t i = 0; i < words.size(); i += 3) {
        SCOPED_TRACE(words[i]);
        ctx.Cache.SetEnabled(false);
        const LookupResult direct = Lookups(words[i]);
        ctx.Cache.SetEnabled(true);
        const LookupResult cached = Lookups(words[i]);
        ASSERT_EQ(direct.Text, cached.Text);
        EXPECT_LE(cached.Reads, direct.Reads);
        cachedReads += cached.Reads;
        directReads += direct.Reads;
    }
    EXPECT_LT(cachedReads * 4, directReads);
}

// A lookup of a large installed slot reads a few blocks.
TEST_F(ReadCacheTest, ALookupOfALargeSlotReadsAtMostFifteenTimes) {
    entries = lex::GenerateEntries(150000, 7);
    ASSERT_EQ(1, lex::WriteShippedSlot(ctx, 0, entries));
    for (size_t i = 0; i < entries.size(); i += 997) {
        SCOPED_TRACE(entries[i].Word);
        std::vector<lex::ResultRow> rows;
        const int before = files.Reads;
        ASSERT_EQ(25, lex::LookupWord(ctx, entries[i].Word, rows, 0));
        EXPECT_LE(files.Reads - before, 15);
    }
}

// The bisection of a key index no longer than the cache holds whole reads
// it once, wherever the word lies.
TEST_F(ReadCacheTest, AKeyIndexThatFitsIsReadOnceALookup) {
    entries = lex::GenerateEntries(150000, 7);
    ASSERT_EQ(1, lex::WriteShippedSlot(ctx, 0, entries));
    const std::string keys = settings.KeyIndexPaths[0];
    ASSERT_LE(files.FileSize(keys), int64_t{lex::BlockCache::kWholeFile});
    int keyReads = 0;
    files.BeforeRead = [&](const std::string& path) { keyReads += path == keys; };
    for (size_t i = 0; i < entries.size(); i += 4999) {
        SCOPED_TRACE(entries[i].Word);
        std::vector<lex::ResultRow> rows;
        keyReads = 0;
        ASSERT_EQ(25, lex::LookupWord(ctx, entries[i].Word, rows, 0));
        EXPECT_EQ(1, keyReads);
    }
}

// What a lookup read is gone when its files close: a change made in between
// (here by another program's context) is seen by the next lookup, and the
// edits never read through blocks.
TEST_F(ReadCacheTest, NothingReadSurvivesAClose) {
    AddFruit();
    lextest::TrackingFileSystem otherFiles;
    lex::RecordingDisplay otherDisplay;
    lex::RecordingHooks otherHooks;
    lex::EngineContext other(settings, otherFiles, otherDisplay, otherHooks);
    std::vector<lex::ResultRow> rows;
    ASSERT_EQ(4, lex::LookupWord(ctx, "apple", rows, 0));
    std::string tr = "jablicko";
    ASSERT_EQ(1, lex::RunSlotCommand(other, 0, [&] {
        EXPECT_FALSE(other.Cache.Active());
        return lex::AddEntry(other, "apple", "\xe6pl", tr, 1);
    }));
    ASSERT_EQ(4, lex::LookupWord(ctx, "apple", rows, 0));
    EXPECT_EQ("jablko\r\njablon\r\njablicko\r\n" + std::string(lex::kSeparatorLine) + "\r\n.n. noun\r\n",
              display.Translation);
    tr = "x";
    ASSERT_EQ(1, Command(0, [&] {
        EXPECT_FALSE(ctx.Cache.Active());
        return lex::AddEntry(ctx, "apricot", "", tr, 1);
    }));
    ASSERT_EQ(5, lex::LookupWord(ctx, "a", rows, 0));
    EXPECT_EQ("apricot", rows[1].Word);
}

// The shipped files are opened only for an entry that lives in them; a
// missing one still fails the lookup, found without opening it.
TEST_F(ReadCacheTest, ShippedFilesOpenedOnlyWhenAnEntryLivesThere) {
    AddFruit();
    struct Case {
        const char* word;
        int opens;  // the four Disk files, and the CD words file for the low sentinel
    };
    const Case cases[] = {{"banana", 4}, {"cherry", 4}, {"a", 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        files.Opens = 0;
        files.ExistsChecks = 0;
        std::vector<lex::ResultRow> rows;
        EXPECT_LT(0, lex::LookupWord(ctx, c.word, rows, 0));
        EXPECT_EQ(c.opens, files.Opens);
        EXPECT_EQ(2, files.ExistsChecks);
    }
    files.Opens = 0;
    std::vector<lex::ResultRow> rows;
    EXPECT_EQ(4, lex::FillRowsFromNode(ctx, 78, rows));  // from apple, the first entry added
    EXPECT_EQ(2, files.Opens);

    // A shipped entry opens both shipped files.
    ASSERT_EQ(1, lex::WriteShippedSlot(ctx, 0, lex::GenerateEntries(20, 5)));
    files.Opens = 0;
    EXPECT_LT(0, lex::LookupWord(ctx, lex::GenerateEntries(20, 5)[0].Word, rows, 0));
    EXPECT_EQ(6, files.Opens);

    for (const std::string* path : {&settings.CdWordsPaths[0], &settings.CdTranslationsPaths[0]}) {
        const Bytes saved = lextest::ReadFileBytes(*path);
        std::filesystem::remove(*path);
        files.Pauses = 0;
        EXPECT_EQ(-1, lex::LookupWord(ctx, "a", rows, 0));
        EXPECT_EQ(9, files.Pauses);
        if (path == &settings.CdWordsPaths[0]) {  // the rows need the words only
            EXPECT_EQ(-1, lex::FillRowsFromNode(ctx, lex::kLowSentinelNode, rows));
        }
        EXPECT_EQ(0, files.OpenCount());
        lextest::WriteFileBytes(*path, saved);
    }
}

// Records read one by one, far from the blocks, are kept for the operation:
// reading one again costs no read of the file, until the operation ends.
TEST_F(ReadCacheTest, RecordsReadOneByOneAreKeptForTheOperation) {
    const std::string path = dir.Sub("records.bin");
    lextest::Bytes bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    lextest::WriteFileBytes(path, bytes);
    const lex::FileHandle h = files.Open(path, lex::kOpenReadShared);
    ASSERT_NE(lex::kNoFile, h);
    struct Read {
        int64_t offset;
        uint32_t count;
        int fileReads;  // reads of the file so far in the operation
    };
    const Read reads[] = {
        {0, 19, 1},                        // the file's first read: a block
        {100000, 19, 2},  {20000, 19, 3},  // far apart: each record alone, kept
        {100000, 19, 3},  {100000, 10, 3},
        {100000, 30, 4},  {100000, 30, 4},  // a longer read is kept instead
        {20005, 5, 5},                      // inside a kept record, not at its start
        {180000, 600, 6}, {60000, 600, 7},  {180000, 600, 8},  // too long to keep
        {2000, 100, 8},                     // in the first block
    };
    for (int operation = 0; operation < 2; ++operation) {
        ctx.Cache.Start();
        const int before = files.Reads;
        for (const Read& r : reads) {
            SCOPED_TRACE(std::to_string(operation) + ": " + std::to_string(r.offset) + "+" + std::to_string(r.count));
            std::string got(r.count, '?');
            ASSERT_TRUE(ctx.Cache.Read(files, h, r.offset, &got[0], r.count));
            EXPECT_EQ(bytes.substr(static_cast<size_t>(r.offset), r.count), got);
            EXPECT_EQ(r.fileReads, files.Reads - before);
        }
        ctx.Cache.Drop();  // the next operation reads everything again
    }
    // A handle forgotten (its file closed) takes the records with it: the
    // number may come back for another file.
    ctx.Cache.Start();
    char b[19];
    ASSERT_TRUE(ctx.Cache.Read(files, h, 100000, b, sizeof b));
    ctx.Cache.Forget(h);
    const int before = files.Reads;
    ASSERT_TRUE(ctx.Cache.Read(files, h, 100000, b, sizeof b));
    EXPECT_EQ(1, files.Reads - before);
    ctx.Cache.Drop();
    files.Close(h);
}

}  // namespace
