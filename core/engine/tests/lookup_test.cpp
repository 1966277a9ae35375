#include "engine_fixture.h"

namespace {

const std::string kLine = lex::kSeparatorLine;

class LookupTest : public lextest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        AddFruit();
        hooks.History.clear();
    }
    std::vector<std::string> RowWords(const std::vector<lex::ResultRow>& rows) {
        std::vector<std::string> w;
        for (auto& r : rows) w.push_back(r.Word + "/" + r.Pronunciation);
        return w;
    }
};

TEST_F(LookupTest, TranslationFieldLabelRowsAndHistory) {
    struct Case {
        const char* word;
        const char* label;
        std::string text;
        std::vector<std::string> rows;
        bool history;
    };
    const std::vector<std::string> all = {"apple/\xe6pl", "banana/b\xe6n", "cherry/", "fig/   "};
    const Case cases[] = {
        {"apple", "[\xe6pl]", "jablko\r\njablon\r\n" + kLine + "\r\n.n. noun\r\n", all, true},
        {"  banana\t", "[b\xe6n]", "ban\xe1n\r\n" + kLine + "\r\n", {all[1], all[2], all[3]}, true},
        // Not there: the list starts at the entry before its place.
        {"bz", "", "", {all[1], all[2], all[3]}, false},
        {"a", "", "", all, false},
        // Case counts for an exact match.
        {"Apple", "", "", all, false},
        // Deleted: nothing shown, the list starts at its place.
        {"date", "", "", {all[3]}, false},
        // A pronunciation that trims to nothing leaves the label empty.
        {"fig", "", "fik\r\n" + kLine + "\r\n", {all[3]}, true},
        // Empty and blank words are looked up as a space.
        {"", "", "", all, false},
        {"  ", "", "", all, false},
        {"zzz", "", "", {all[3]}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        display.Translation = "old";
        display.Pronunciation = "old";
        hooks.History.clear();
        std::vector<lex::ResultRow> rows;
        int n = lex::LookupWord(ctx, c.word, rows, 0);
        EXPECT_EQ(static_cast<int>(c.rows.size()), n);
        EXPECT_EQ(c.rows, RowWords(rows));
        EXPECT_EQ(c.label, display.Pronunciation);
        EXPECT_EQ(c.text, display.Translation);
        if (c.history) {
            ASSERT_EQ(1u, hooks.History.size());
            EXPECT_EQ(0, hooks.History[0].second);
        } else {
            EXPECT_TRUE(hooks.History.empty());
        }
        EXPECT_EQ(0, files.OpenCount());
    }
}

TEST_F(LookupTest, VisibleRowsAndScrolling) {
    settings.VisibleRows = 2;
    std::vector<lex::ResultRow> rows;
    ASSERT_EQ(2, lex::LookupWord(ctx, "apple", rows, 0));
    EXPECT_EQ("banana", rows[1].Word);
    // Scrolling on from the second row.
    std::vector<lex::ResultRow> more;
    EXPECT_EQ(2, lex::FillRowsFromNode(ctx, rows[1].Offset, more));
    EXPECT_EQ((std::vector<std::string>{"banana/b\xe6n", "cherry/"}), RowWords(more));
    EXPECT_EQ(0, files.OpenCount());

    // Stepping over the deleted entry in both directions.
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    ASSERT_EQ(1, lex::LocateWord(ctx, "date"));
    const lex::WordNode date = ctx.Node.Node;
    lex::ResultRow row;
    EXPECT_EQ(1, lex::StepToLiveNode(ctx, ctx.FoundOffset, &row, 1, 1));
    EXPECT_EQ("fig", row.Word);
    EXPECT_EQ(1, lex::StepToLiveNode(ctx, date.Previous, &row, 0, 1));
    EXPECT_EQ("cherry", row.Word);
    EXPECT_EQ(2, lex::StepToLiveNode(ctx, 0, &row, 1, 1));
    EXPECT_EQ(0, lex::StepToLiveNode(ctx, lex::kHighSentinelNode, &row, 1, 1));
    EXPECT_EQ(0, lex::StepToLiveNode(ctx, lex::kLowSentinelNode, &row, 0, 1));
    EXPECT_EQ(0, lex::KeyIndexPosition(ctx, "") - 1);  // before every word's key
    EXPECT_EQ(1, lex::KeyIndexPosition(ctx, "apple"));
    lex::CloseSlotFiles(ctx);
}

TEST_F(LookupTest, WaitingKeyStopsTheDisplay) {
    std::vector<lex::ResultRow> rows;
    display.KeyWaitingFromCheck = 1;  // a key arrives while the first record is shown
    EXPECT_EQ(4, lex::LookupWord(ctx, "apple", rows, 0));
    EXPECT_EQ("jablko\r\n", display.Translation);
    EXPECT_EQ(0, display.ScrollsToTop);
    EXPECT_EQ(0, files.OpenCount());

    struct KeyCase {
        unsigned vk;
        bool extended;
        bool stops;
    } keys[] = {
        {'A', false, true},  {0x20, false, true},  {0x08, false, true},  {0x26, true, true},
        {0x28, true, true},  {0x09, false, false}, {0x0D, false, false}, {0x10, false, false},
        {0x1B, false, false}, {0x25, true, false}, {0x27, true, false},  {0x2E, true, false},
        {0x21, true, false},
    };
    for (auto& k : keys) EXPECT_EQ(k.stops, lex::IsQualifyingKey(k.vk, k.extended)) << k.vk;
}

TEST_F(LookupTest, TranslatorLookups) {
    struct Collect : lex::TranslationOutput {
        std::string text;
        std::vector<int> slots;
        bool Write(const std::string& t, int slot) override {
            text += t;
            slots.push_back(slot);
            return true;
        }
    } out;
    EXPECT_EQ(0, lex::LookupTranslations(ctx, "apple", out, 0));
    EXPECT_EQ("jablko, jablon", out.text);
    EXPECT_EQ((std::vector<int>{1, 0, 1}), out.slots);
    Collect none;
    EXPECT_EQ(0, lex::LookupTranslations(ctx, "date", none, 0));
    EXPECT_EQ("", none.text);

    std::vector<lex::ResultRow> rows;
    EXPECT_EQ(4, lex::FindCandidates(ctx, "banana", rows, 0));
    EXPECT_EQ("apple", rows[0].Word);

    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    EXPECT_EQ(1, lex::FindWord(ctx, "cherry"));
    EXPECT_EQ(1, ctx.ExactMatch);
    EXPECT_EQ(1, lex::FindWord(ctx, "cherryx"));
    EXPECT_EQ(-1, ctx.ExactMatch);
    lex::CloseSlotFiles(ctx);
    EXPECT_EQ(0, files.OpenCount());
}

}  // namespace
