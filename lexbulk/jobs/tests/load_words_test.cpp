// Loading the words a slot lacks, and adding both sides in one undo group.
#include "jobs_fixture.h"
#include "lexbulk/jobs/load_words.h"

namespace lextest {
namespace {

using lexbulk::BothSidesEntry;
using lexbulk::MissingWords;
using lexbulk::TextCode;

class LoadWordsTest : public BulkJobTest {
protected:
    std::vector<std::string> Missing(const std::string& text, TextCode code = TextCode::kWindows1250) {
        WriteFileBytes(Path("t.txt"), text);
        MissingWords words(ctx, 0, code);
        EXPECT_TRUE(words.Open(Path("t.txt")));
        std::vector<std::string> out;
        std::string w;
        int error = 0;
        while (words.Next(w, error) == 1) out.push_back(w);
        EXPECT_EQ(0, files.OpenCount());
        return out;
    }
};

TEST_F(LoadWordsTest, OffersOnlyWordsTheSlotLacks) {
    ASSERT_EQ(1, Add("Hello", "ahoj"));
    EXPECT_EQ((std::vector<std::string>{"world", "it", "s", "world"}),
              Missing("Hello, world! it's 42world"));
    // 852: A0 is a acute and belongs to the word.
    EXPECT_EQ((std::vector<std::string>{"m\xe1m"}), Missing("m\xa0m", TextCode::kLatin2));
}

TEST_F(LoadWordsTest, AReadErrorInTheTextIsNoEnd) {
    WriteFileBytes(Path("t.txt"), "alpha beta");
    files.FailReadsFrom = "t.txt";
    MissingWords words(ctx, 0, TextCode::kWindows1250);
    ASSERT_TRUE(words.Open(Path("t.txt")));
    std::string w;
    int error = 0;
    EXPECT_EQ(-1, words.Next(w, error));
    EXPECT_EQ(lex::kTextCannotOpenGivenFile, error);
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(LoadWordsTest, AddsBothSidesInOneUndoGroup) {
    BothSidesEntry e;
    e.Word = " house ";
    e.Pronunciation = "haus";
    e.Translations = lexbulk::SplitLines("dum\r\n\r\nstaveni");
    e.ReverseWords = lexbulk::SplitLines("dum\r\nstaveni\r\n");
    e.ReversePronunciations = {"dum"};
    e.ReverseTranslation = "house";
    ASSERT_EQ(1, lexbulk::AddBothSides(ctx, 0, e));
    EXPECT_EQ((std::vector<std::string>{"house|haus|dum|staveni"}), Dump(0));
    EXPECT_EQ((std::vector<std::string>{"dum|dum|house", "staveni||house"}), Dump(1));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_TRUE(Dump(1).empty());
    // Only the reverse side when the word is empty, only the forward one when
    // the reverse translation is.
    e.Word = "";
    ASSERT_EQ(1, lexbulk::AddBothSides(ctx, 0, e));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_EQ(2u, Dump(1).size());
}

TEST_F(LoadWordsTest, AFailureOnTheReverseSideLeavesTheLogClosed) {
    BothSidesEntry e;
    e.Word = "cat";
    e.Translations = {"kocka"};
    e.ReverseWords = {"kocka"};
    e.ReverseTranslation = "cat";
    // Writes to slot 1's node file fail.
    files.FailWritesTo = settings.NodePaths[1];
    EXPECT_EQ(lex::kTextWriteFailed, lexbulk::AddBothSides(ctx, 0, e));
    files.FailWritesTo.clear();
    EXPECT_EQ(lex::kNoFile, ctx.LogHandle);
    EXPECT_EQ(0, files.OpenCount());
    // A second add works.
    ASSERT_EQ(1, lexbulk::AddBothSides(ctx, 0, e));
    EXPECT_EQ((std::vector<std::string>{"kocka||cat"}), Dump(1));
}


// A word that begins with the grammar separator is never offered and never
// added: the add refuses it with nothing written, as the dictionary's does.
TEST_F(LoadWordsTest, GrammarNoteWordsAreNotOfferedAndRefusedUnwritten) {
    settings.GrammarSeparator = '_';
    EXPECT_EQ((std::vector<std::string>{"day", "b_c"}), Missing("_abc day _ b_c"));

    settings.GrammarSeparator = '.';
    ASSERT_EQ(1, Add("base", "zaklad"));
    const auto before0 = Snapshot(0), before1 = Snapshot(1);
    struct Case {
        const char* name;
        std::string word;
        std::vector<std::string> reverseWords;
        std::string reverseTranslation;
        int result;
    } cases[] = {
        {"word with the separator", " .n.abc", {}, "", lex::kTextWordIsGrammarNote},
        {"word with the separator, reverse side too", ".n.abc", {"pes"}, "dog", lex::kTextWordIsGrammarNote},
        {"reverse word with the separator", "dog", {".x"}, "dog", lex::kTextWordIsGrammarNote},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BothSidesEntry e;
        e.Word = c.word;
        e.Translations = {"pes", ".n. noun"};
        e.ReverseWords = c.reverseWords;
        e.ReverseTranslation = c.reverseTranslation;
        EXPECT_EQ(c.result, lexbulk::AddBothSides(ctx, 0, e));
        EXPECT_EQ(before0, Snapshot(0));
        EXPECT_EQ(before1, Snapshot(1));
        EXPECT_EQ(0, files.OpenCount());
    }
    // The grammar notes of the translations, taken over as reverse words, are
    // passed over; the note itself is stored with the word.
    BothSidesEntry e;
    e.Word = "dog";
    e.Translations = {"pes", ".n. noun"};
    e.ReverseWords = e.Translations;
    e.ReverseTranslation = "dog";
    ASSERT_EQ(1, lexbulk::AddBothSides(ctx, 0, e));
    EXPECT_EQ((std::vector<std::string>{"pes||dog"}), Dump(1));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_TRUE(Dump(1).empty());
    EXPECT_EQ((std::vector<std::string>{"base||zaklad"}), Dump(0));
}

}  // namespace
}  // namespace lextest
