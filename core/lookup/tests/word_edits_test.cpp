// The word rules on real slot files: what the add, change and delete commands
// write to both sides of a language pair, in one undo group; which words are
// refused as grammar notes; lexbulk's add beside the dictionary's.
#include "core/lookup/word_edits.h"
#include "core/engine/tests/engine_fixture.h"

namespace {

using lex::WordEntry;
using Dumps = std::vector<std::string>;

class WordEditsTest : public lextest::EngineTest {
protected:
    // Both slots of the pair.
    std::pair<Dumps, Dumps> Pair() { return {Dump(0), Dump(1)}; }
    // One Undo takes the whole command back.
    void ExpectOneUndoRestores(const std::pair<Dumps, Dumps>& before) {
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_EQ(before, Pair());
    }
};

TEST_F(WordEditsTest, AddWritesBothSidesInOneUndoGroup) {
    struct Case {
        const char* name;
        WordEntry entry;
        Dumps left, right;
    };
    const Case cases[] = {
        {"both sides; empty lines and a short pronunciation column",
         {" house ", " haus", {"dum", "  ", " staveni "}, {"dum", "", "staveni"}, {"dum"}, " house "},
         {"house| haus|dum|staveni"},
         {"dum|dum|house", "staveni||house"}},
        {"an empty word writes only the reverse side",
         {"  ", "x", {"dum"}, {"dum"}, {}, "house"}, {}, {"dum||house"}},
        {"an empty reverse translation writes only the word",
         {"cat", "", {"kocka"}, {"kocka"}, {}, " "}, {"cat||kocka"}, {}},
        {"a word without translations adds nothing on its side",
         {"cat", "", {}, {"kocka"}, {}, "cat"}, {}, {"kocka||cat"}},
        {"a translation line becomes a grammar note inside the engine",
         {"cat", "", {"kocka", ".n. noun"}, {}, {}, ""}, {"cat||kocka|.n. noun"}, {}},
        {"texts are cut to the longest text",
         {std::string(300, 'a'), "", {std::string(300, 'b')}, {}, {}, ""},
         {std::string(lex::kMaxTextLength, 'a') + "||" + std::string(lex::kMaxTextLength, 'b')}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = Pair();
        ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, c.entry));
        EXPECT_EQ(c.left, Dump(0));
        EXPECT_EQ(c.right, Dump(1));
        // An entry already there is no failure, and changes nothing.
        const auto added = Pair();
        ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, c.entry));
        EXPECT_EQ(added, Pair());
        ExpectOneUndoRestores(before);
        EXPECT_EQ(0, files.OpenCount());
    }
}

TEST_F(WordEditsTest, LexbulksAddWritesWhatTheDictionarysAddWrites) {
    const WordEntry entries[] = {
        {" house ", " haus", {"dum", "", "staveni"}, {"dum", " ", "staveni"}, {"dum", "x", "y", "z"}, "house"},
        {"", "", {"dum"}, {"dum"}, {}, "house"},
        {"cat", "", {"kocka"}, {}, {}, ""},
        {std::string(300, 'a'), std::string(300, 'p'), {"kocka"}, {}, {}, ""},
    };
    for (const WordEntry& e : entries) {
        SCOPED_TRACE(e.Word);
        ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, e));
        const auto dictionary = Pair();
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        lex::EngineFailure failure = lex::EngineFailure::Damaged;
        ASSERT_EQ(1, lex::AddBothSidesInTurn(ctx, 0, e, failure));
        EXPECT_EQ(lex::EngineFailure::None, failure);
        EXPECT_EQ(dictionary, Pair());
        ExpectOneUndoRestores({{}, {}});
    }
}

TEST_F(WordEditsTest, AFailureOnTheReverseSideKeepsTheWordAndNamesItsReason) {
    const WordEntry e{"cat", "", {"kocka"}, {"kocka"}, {}, "cat"};
    files.FailWritesTo = settings.NodePaths[1];
    EXPECT_EQ(-1, lex::AddWordCommand(ctx, 0, e));
    EXPECT_EQ(lex::EngineFailure::WriteRefused, lex::FailureOf(ctx));
    lex::EngineFailure failure = lex::EngineFailure::None;
    EXPECT_EQ(-1, lex::AddBothSidesInTurn(ctx, 0, e, failure));
    EXPECT_EQ(lex::EngineFailure::WriteRefused, failure);
    files.FailWritesTo.clear();
    EXPECT_EQ(lex::kNoFile, ctx.LogHandle);
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(Dumps{"cat||kocka"}, Dump(0));
    // A slot whose files cannot be opened (slot 2 has none): no access, and
    // nothing written on the other side either.
    const WordEntry other{"kocka", "", {"cat"}, {}, {}, ""};
    EXPECT_EQ(lex::kCommandNoAccess, lex::AddWordCommand(ctx, 2, other));
    EXPECT_EQ(lex::kCommandNoAccess, lex::AddBothSidesInTurn(ctx, 2, other, failure));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(lex::kNoFile, ctx.LogHandle);
}

TEST_F(WordEditsTest, ChangeReplacesTheWordAndItsReverseEntries) {
    ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, {"hous", "", {"dum", "stavba"}, {"dum", "stavba"}, {}, "hous"}));
    ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, {"", "", {}, {"dum"}, {}, "domov"}));
    struct Case {
        const char* name;
        WordEntry entry;
        Dumps left, right;
    };
    const Case cases[] = {
        {"the word and the reverse side",
         {"house", "haus", {"dum", "budova"}, {"dum", "budova"}, {}, "house"},
         {"house|haus|dum|budova"},
         {"budova||house", "dum||domov|house"}},
        {"only the word: the reverse side stays",
         {"house", "", {"dum"}, {}, {}, ""}, {"house||dum"}, {"dum||hous|domov", "stavba||hous"}},
        {"only the reverse side: the old word still goes from it",
         {"", "", {}, {"dum"}, {}, "house"}, {"hous||dum|stavba"}, {"dum||domov|house"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = Pair();
        ASSERT_EQ(1, lex::ChangeWordCommand(ctx, 0, c.entry, "hous", {"dum", "", " stavba "}));
        EXPECT_EQ(c.left, Dump(0));
        EXPECT_EQ(c.right, Dump(1));
        ExpectOneUndoRestores(before);
    }
}

TEST_F(WordEditsTest, DeletesTakeTheWordOrOneTranslationFromBothSides) {
    ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, {"cat", "", {"kocka", "kocour"}, {"kocka", "kocour"}, {}, "cat"}));
    ASSERT_EQ(1, lex::AddWordCommand(ctx, 0, {"", "", {}, {"kocka"}, {}, "puss"}));
    struct Case {
        const char* name;
        std::function<int()> command;
        Dumps left, right;
    };
    const Case cases[] = {
        {"delete word with its reverse translations",
         [&] { return lex::DeleteWordCommand(ctx, 0, " cat ", {" kocka", "", "kocour"}, " cat"); },
         {},
         {"kocka||puss"}},
        {"delete word on the slot's side only",
         [&] { return lex::DeleteWordCommand(ctx, 0, "cat", {"kocka"}, ""); },
         {},
         {"kocka||cat|puss", "kocour||cat"}},
        {"delete one translation on both sides",
         [&] { return lex::DeleteTranslationCommand(ctx, 0, "cat", " kocka ", "kocka", "cat"); },
         {"cat||kocour"},
         {"kocka||puss", "kocour||cat"}},
        {"a side without its translation is left alone",
         [&] { return lex::DeleteTranslationCommand(ctx, 0, "cat", "", "kocka", "cat"); },
         {"cat||kocka|kocour"},
         {"kocka||puss", "kocour||cat"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = Pair();
        ASSERT_EQ(1, c.command());
        EXPECT_EQ(c.left, Dump(0));
        EXPECT_EQ(c.right, Dump(1));
        ExpectOneUndoRestores(before);
    }
}

TEST_F(WordEditsTest, GrammarNotesAreRefusedAsWordsButPassedOverWhenCopiedAlong) {
    EXPECT_TRUE(lex::IsGrammarNoteWord("  .n.", '.'));
    EXPECT_FALSE(lex::IsGrammarNoteWord("n.", '.'));
    EXPECT_FALSE(lex::IsGrammarNoteWord("   ", '.'));
    EXPECT_FALSE(lex::IsGrammarNoteWord(".n.", ','));
    struct Case {
        std::vector<std::string> translations, reverseWords;
        bool accepted;
    };
    const Case cases[] = {
        {{"kocka"}, {"kocka", ""}, true},
        {{"kocka"}, {" .n. noun"}, false},
        // "->" copied the grammar note along with the translations.
        {{"kocka", " .n. noun"}, {"kocka", ".n. noun "}, true},
        {{"kocka", ".n. noun"}, {".n. verb"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.accepted, lex::ReverseWordsAccepted(c.translations, c.reverseWords, '.'))
            << ::testing::PrintToString(c.reverseWords);
}

}  // namespace
