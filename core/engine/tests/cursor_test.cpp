// The cursor over a slot: a word's place in the key index, the node of a key
// record and the node walk resumed step by step; and lookups among words of
// equal collation.
#include "engine_fixture.h"

namespace {

using lextest::I32;
using lextest::PatchFile;

class CursorTest : public lextest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        AddFruit();
        for (const char* w : {"apple", "banana", "cherry", "date", "fig"}) {
            ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
            ASSERT_EQ(1, lex::LocateWord(ctx, w));
            node[w] = ctx.FoundOffset;
            lex::CloseSlotFiles(ctx);
        }
    }
    // Steps `walk` to its end, `perStep` nodes at a time; the words delivered.
    std::vector<std::string> WalkAll(lex::NodeWalk& walk, int perStep, int* steps = nullptr) {
        std::vector<std::string> words;
        int n = 0;
        for (; !walk.End && n < 1000; ++n) {
            std::vector<lex::WalkEntry> entries;
            const int read = lex::StepNodeWalk(ctx, walk, perStep, 0, entries);
            EXPECT_LE(0, read);
            EXPECT_GE(perStep, read);
            if (read < 0) break;
            for (auto& e : entries) words.push_back(e.Word);
            EXPECT_EQ(0, files.OpenCount());  // the walk holds no file between steps
        }
        if (steps) *steps = n;
        return words;
    }
    std::map<std::string, int32_t> node;
};

TEST_F(CursorTest, KeyPositionsAndTheirNodes) {
    // Key records: the low sentinel, apple, banana, cherry, date, fig, the high sentinel.
    struct Case {
        const char* word;
        int32_t position;
    } cases[] = {
        {"", 1},       // before the first word's key (after the low sentinel's)
        {"a", 1},      {"apple", 1}, {"applesauce", 1},  // one key for the first four letters
        {"b", 2},      {"banana", 2}, {"cz", 4}, {"date", 4}, {"e", 5},
        {"fig", 5},    {"zzz", 6},   // after the last word's key: the high sentinel's place
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        lex::KeyPosition place;
        ASSERT_EQ(1, lex::WordKeyPosition(ctx, 0, c.word, place));
        EXPECT_EQ(c.position, place.Position);
        EXPECT_EQ(7, place.Records);
        EXPECT_EQ(0, files.OpenCount());
    }

    // The node of a key record; positions outside read the first or last record.
    struct NodeCase {
        int32_t position;
        int32_t node;
    } nodes[] = {
        {-5, lex::kLowSentinelNode}, {0, lex::kLowSentinelNode}, {1, node["apple"]},
        {2, node["banana"]},         {4, node["date"]},          {5, node["fig"]},
        {6, lex::kHighSentinelNode}, {1000, lex::kHighSentinelNode},
    };
    for (const NodeCase& c : nodes) {
        int32_t found = -1;
        EXPECT_EQ(1, lex::KeyRecordNode(ctx, 0, c.position, found)) << c.position;
        EXPECT_EQ(c.node, found) << c.position;
    }

    // The slot named is the slot read, whatever slot is open: slot 1 is empty.
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    lex::KeyPosition other;
    ASSERT_EQ(1, lex::WordKeyPosition(ctx, 1, "fig", other));
    EXPECT_EQ(2, other.Records);
    EXPECT_EQ(1, other.Position);
    lex::KeyPosition open;
    ASSERT_EQ(1, lex::WordKeyPosition(ctx, 0, "fig", open));  // the open files serve
    EXPECT_EQ(5, open.Position);
    EXPECT_EQ(6, files.OpenCount());
    lex::CloseSlotFiles(ctx);

    // No key index, an empty one, a bad slot.
    lextest::WriteFileBytes(settings.KeyIndexPaths[1], "");
    int32_t found = 0;
    lex::KeyPosition place;
    EXPECT_EQ(2, lex::KeyRecordNode(ctx, 1, 0, found));
    EXPECT_EQ(1, lex::WordKeyPosition(ctx, 1, "fig", place));
    EXPECT_EQ(-1, place.Position);
    EXPECT_EQ(0, place.Records);
    std::filesystem::remove(settings.KeyIndexPaths[1]);
    EXPECT_EQ(-1, lex::KeyRecordNode(ctx, 1, 0, found));
    EXPECT_EQ(-1, lex::WordKeyPosition(ctx, 1, "fig", place));
    EXPECT_EQ(-1, lex::WordKeyPosition(ctx, 20, "fig", place));
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(CursorTest, WalkResumedAcrossSteps) {
    const std::vector<std::string> all = {"apple", "banana", "cherry", "fig"};
    // Seven nodes: the two sentinels, five entries (date deleted).
    struct Case {
        int perStep;
        int steps;  // steps until the end is known
    } cases[] = {{1, 7}, {2, 4}, {3, 3}, {7, 1}, {100, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.perStep);
        lex::NodeWalk walk = lex::WalkFromNode(0, lex::kLowSentinelNode);
        int steps = 0;
        EXPECT_EQ(all, WalkAll(walk, c.perStep, &steps));
        EXPECT_EQ(c.steps, steps);
        EXPECT_EQ(7, walk.Visited);
        std::vector<lex::WalkEntry> none;
        EXPECT_EQ(0, lex::StepNodeWalk(ctx, walk, 5, 0, none));  // ended: nothing more
        EXPECT_TRUE(none.empty());
    }

    // Backwards from the high sentinel; from a key position; entries bounded.
    lex::NodeWalk back = lex::WalkFromNode(0, lex::kHighSentinelNode, -1);
    EXPECT_EQ((std::vector<std::string>{"fig", "cherry", "banana", "apple"}), WalkAll(back, 2));
    lex::NodeWalk fromKey;
    ASSERT_EQ(1, lex::WalkFromKey(ctx, 0, 2, fromKey));
    EXPECT_EQ((std::vector<std::string>{"banana", "cherry", "fig"}), WalkAll(fromKey, 3));
    lex::NodeWalk bounded = lex::WalkFromNode(0, lex::kLowSentinelNode);
    std::vector<lex::WalkEntry> first;
    EXPECT_EQ(3, lex::StepNodeWalk(ctx, bounded, 100, 2, first));  // sentinel, apple, banana
    ASSERT_EQ(2u, first.size());
    EXPECT_EQ("banana", first[1].Word);
    EXPECT_EQ(node["banana"], first[1].Offset);
    EXPECT_FALSE(bounded.End);
    EXPECT_EQ(node["cherry"], bounded.Next);

    // Translations come with the entries when asked for, live ones in chain order.
    lex::NodeWalk withTr = lex::WalkFromNode(0, node["apple"]);
    withTr.WithTranslations = true;
    std::vector<lex::WalkEntry> apple;
    ASSERT_EQ(1, lex::StepNodeWalk(ctx, withTr, 1, 0, apple));
    ASSERT_EQ(1u, apple.size());
    EXPECT_EQ("\xe6pl", apple[0].Pronunciation);
    std::vector<std::string> texts;
    for (auto& t : apple[0].Translations) texts.push_back(t.Text);
    EXPECT_EQ((std::vector<std::string>{"jablko", "\x1fn. noun", "jablon"}), texts);
    EXPECT_EQ(0, files.OpenCount());

    // A step on the open slot reads its files and leaves them open.
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    lex::NodeWalk open = lex::WalkFromNode(0, lex::kLowSentinelNode);
    std::vector<lex::WalkEntry> entries;
    EXPECT_EQ(7, lex::StepNodeWalk(ctx, open, 100, 0, entries));
    EXPECT_EQ(4u, entries.size());
    EXPECT_EQ(0, ctx.OpenSlot);
    EXPECT_EQ(6, files.OpenCount());
    lex::CloseSlotFiles(ctx);
}

TEST_F(CursorTest, DamagedListEndsTheWalkWithMinusOne) {
    const std::string nodes = settings.NodePaths[0];
    const auto pristine = lextest::ReadFileBytes(nodes);
    struct Case {
        const char* name;
        int32_t at;      // node whose link is changed
        int linkOffset;  // 0 previous, 4 next
        int32_t to;
        int direction;
    } cases[] = {
        {"cycle forward", node["cherry"], 4, node["apple"], 1},
        {"node linked to itself", node["banana"], 4, node["banana"], 1},
        {"cycle backward", node["banana"], 0, node["fig"], -1},
        {"link beyond the file", node["banana"], 4, 1000000, 1},
        {"link into the header", node["banana"], 4, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatchFile(nodes, static_cast<size_t>(c.at + c.linkOffset), I32(c.to));
        lex::NodeWalk walk = lex::WalkFromNode(
            0, c.direction > 0 ? lex::kLowSentinelNode : lex::kHighSentinelNode, c.direction);
        int result = 0, steps = 0;
        for (; steps < 10000 && result >= 0 && !walk.End; ++steps) {
            std::vector<lex::WalkEntry> entries;
            result = lex::StepNodeWalk(ctx, walk, 3, 0, entries);
        }
        EXPECT_EQ(-1, result);
        EXPECT_FALSE(walk.End);
        EXPECT_GT(200, walk.Visited);  // bounded by the size of the node file
        EXPECT_EQ(0, files.OpenCount());
        lextest::WriteFileBytes(nodes, pristine);
    }
}

// Words that collate alike (English ignores case) stand in byte order among
// themselves; each is found as itself and the walk lists all of them.
using CollationTieTest = lextest::EngineTest;

TEST_F(CollationTieTest, WordsOfEqualCollation) {
    ASSERT_EQ(0, lex::CompareWords("apple", "APPLE", lex::kSortEnglish));
    ASSERT_EQ(0, lex::CompareWords("aPPle", "Apple", lex::kSortEnglish));
    for (const char* w : {"ant", "apricot"}) ASSERT_EQ(1, Add(w, std::string(w) + "-tr"));
    // Added in an order that makes the search walk both ways among them.
    for (const char* w : {"aPPle", "APPLE", "apple", "Apple", "APPle"})
        ASSERT_EQ(1, Add(w, std::string(w) + "-tr"));
    const std::vector<std::string> order = {"ant", "APPLE", "APPle", "Apple", "aPPle", "apple", "apricot"};

    std::vector<std::string> dumped;
    for (const std::string& line : Dump()) dumped.push_back(line.substr(0, line.find('|')));
    EXPECT_EQ(order, dumped);
    lex::NodeWalk walk = lex::WalkFromNode(0, lex::kLowSentinelNode);
    std::vector<lex::WalkEntry> entries;
    ASSERT_LT(0, lex::StepNodeWalk(ctx, walk, 1000, 0, entries));
    std::vector<std::string> walked;
    for (auto& e : entries) walked.push_back(e.Word);
    EXPECT_EQ(order, walked);

    for (size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(order[i]);
        std::vector<lex::ResultRow> rows;
        display.Translation.clear();
        const int n = lex::LookupWord(ctx, order[i], rows, 0);
        EXPECT_EQ(static_cast<int>(order.size() - i), n);
        std::vector<std::string> listed;
        for (auto& r : rows) listed.push_back(r.Word);
        EXPECT_EQ(std::vector<std::string>(order.begin() + static_cast<long>(i), order.end()), listed);
        EXPECT_EQ(order[i] + "-tr\r\n" + lex::kSeparatorLine + "\r\n", display.Translation);
    }
    // One not there that collates alike: no entry shown, the list starts
    // at the entry before its place.
    std::vector<lex::ResultRow> rows;
    display.Translation.clear();
    ASSERT_EQ(5, lex::LookupWord(ctx, "ApPle", rows, 0));
    EXPECT_EQ("APPle", rows[0].Word);
    EXPECT_EQ("", display.Translation);

    // Deleting one of them deletes that one only.
    ASSERT_EQ(1, DeleteWord("Apple"));
    ASSERT_EQ(2, DeleteWord("ApPle"));
    dumped.clear();
    for (const std::string& line : Dump()) dumped.push_back(line.substr(0, line.find('|')));
    EXPECT_EQ((std::vector<std::string>{"ant", "APPLE", "APPle", "aPPle", "apple", "apricot"}), dumped);
}

}  // namespace
