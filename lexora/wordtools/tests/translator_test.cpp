// The translator's word reader, source loading, scoring, UTF-16 writer and
// whole runs over real slot files.
#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

#include "core/engine/tests/engine_fixture.h"
#include "lexora/wordtools/text_translator.h"

using namespace lexora;

namespace {

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> out;
    WordReader reader(text);
    std::string w;
    while (reader.Next(w)) out.push_back(w);
    return out;
}

TEST(WordReader, WordsAndSeparators) {
    struct Case {
        std::string text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"don't", {"don't"}},
        {"abc123def", {"abc", "def"}},
        {"Stra\xDF" "e ist", {"Stra\xDF" "e", "ist"}},  // bytes from 127 up are letters
        {"  dog,cat.\r\nbird\tfish", {"dog", "cat", "bird", "fish"}},
        {"a[b\\c]d^e_f`g{h|i}j~k@l", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"}},
        {"\x7F\x80", {"\x7F\x80"}},
        {"123 456 -- !?", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Words(c.text), c.words) << c.text;

    // A run of 450 letters: 198 + 198 + 54.
    const std::vector<std::string> run = Words(" " + std::string(450, 'x') + " y");
    ASSERT_EQ(run.size(), 4u);
    EXPECT_EQ(run[0].size(), 198u);
    EXPECT_EQ(run[1].size(), 198u);
    EXPECT_EQ(run[2].size(), 54u);
    EXPECT_EQ(run[3], "y");
}

TEST(SourceText, LinesOfTheLoadedFile) {
    struct Case {
        std::string file, shown;
    };
    const Case cases[] = {
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\r\n\r\nb\r\n", "a\r\n\r\nb\r\n"},      // an empty line between CR LF lines stays
        {"a\n\nb\n", "a\r\nb\r\n"},                // LF only: the empty line goes
        {"a\n\n\nb", "a\r\n\r\nb\r\n"},            // unless a second break follows
        {"a\rb\r", "a\r\nb\r\n"},
        {"x\0y"s, "x y\r\n"},                      // a zero byte would cut the field's text
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(SourceTextFromFile(c.file), c.shown);

    // A long line is cut into lines of 4090 bytes, and no byte is lost at a cut.
    std::string line;
    for (size_t i = 0; i < 2 * kSourceLineCut + 7; ++i) line += static_cast<char>('a' + i % 26);
    const std::string shown = SourceTextFromFile(line + "\r\nend");
    EXPECT_EQ(shown, line.substr(0, kSourceLineCut) + "\r\n" + line.substr(kSourceLineCut, kSourceLineCut) +
                         "\r\n" + line.substr(2 * kSourceLineCut) + "\r\nend\r\n");
    // Exactly 4090 bytes before a line break: no empty line appears.
    EXPECT_EQ(SourceTextFromFile(std::string(kSourceLineCut, 'q') + "\r\nz"),
              std::string(kSourceLineCut, 'q') + "\r\nz\r\n");
}

std::string Units(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

unsigned PageOfSlot(int slot) { return slot == 4 ? 1251 : (slot % 2 == 1 || slot >= 12) ? 1250 : 1252; }

TEST(TranslationWriter, EightBitAndUtf16Pieces) {
    {
        StringSink sink;
        TranslationWriter out(sink, OutputMode::kEightBit, PageOfSlot);
        ASSERT_TRUE(out.Begin());
        ASSERT_TRUE(out.Write(".....\n", 0));
        ASSERT_TRUE(out.Write("\xE8" "aj", 5));
        EXPECT_EQ(sink.Bytes, ".....\r\n\xE8" "aj");
    }
    StringSink sink;
    TranslationWriter out(sink, OutputMode::kUtf16, PageOfSlot);
    ASSERT_TRUE(out.Begin());
    ASSERT_TRUE(out.Write("\xE8" "aj", 5));   // Czech (1250): U+010D
    ASSERT_TRUE(out.Write("\xE8", 0));        // English slot (1252): U+00E8, not a Czech letter
    ASSERT_TRUE(out.Write("\xE4", 4));        // Russian (1251): U+0434
    ASSERT_TRUE(out.Write(" }\nlost", 0));    // a piece ends at its first LF
    EXPECT_EQ(sink.Bytes, Units({0xFF, 0xFE, 0x0D, 0x01, 0x61, 0, 0x6A, 0, 0xE8, 0, 0x34, 0x04, 0x20, 0, 0x7D, 0,
                                 0x0D, 0, 0x0A, 0}));
}

TEST(ToUtf16, CodePagesOfTheLanguages) {
    EXPECT_EQ(ToUtf16("\x8A\x9E\xF8", 1250), u"\u0160\u017E\u0159");
    EXPECT_EQ(ToUtf16("\xC0\xFF\xA8", 1251), u"\u0410\u044F\u0401");
    EXPECT_EQ(ToUtf16("\x80\xE9\x9C", 1252), u"\u20AC\u00E9\u0153");
    EXPECT_EQ(ToUtf16("ab", 1251), u"ab");
}

class Translator : public lextest::EngineTest {
protected:
    std::string Run(const std::string& text, std::vector<int> slots, OutputMode mode,
                    TranslationRun* result = nullptr) {
        StringSink sink;
        TranslationWriter out(sink, mode, PageOfSlot);
        EXPECT_TRUE(out.Begin());
        TranslationRun run = TranslateText(ctx, text, slots, out);
        if (result) *result = run;
        EXPECT_EQ(files.OpenCount(), 0);
        return sink.Bytes;
    }
};

TEST_F(Translator, WordsIntoChosenSlots) {
    ASSERT_EQ(1, Add("do", "d\xECla\xBB"));
    ASSERT_EQ(1, Add("dog", "pes"));
    ASSERT_EQ(1, Add("dog", "ps\xEDk"));
    ASSERT_EQ(1, Add("door", "dve\xF8" "e"));
    ASSERT_EQ(1, Add("pes", "dog", "", 1));

    EXPECT_EQ(Run("dog", {0}, OutputMode::kEightBit), ".....\r\ndog = dog = { pes, ps\xEDk }\r\n");
    // Two slots: one line each, in slot order.
    TranslationRun run;
    EXPECT_EQ(Run("dog 42 door", {0, 1}, OutputMode::kEightBit, &run),
              ".....\r\ndog = dog = { pes, ps\xEDk }\r\ndog = pes = { dog }\r\n"
              ".....\r\ndoor = door = { dve\xF8" "e }\r\ndoor = pes = { dog }\r\n");
    EXPECT_EQ(run.status, TranslationRun::kDone);
    EXPECT_EQ(run.slot, 1);
    EXPECT_EQ(run.words, 2u);
    // A word that is not there takes the best scored headword: "dog" is a
    // proper prefix of "dogs" (-3 scores 13), "door" is larger after "do" (2 scores 4).
    EXPECT_EQ(Run("dogs", {0}, OutputMode::kEightBit), ".....\r\ndogs = door = { dve\xF8" "e }\r\n");
    // No word at all: nothing is written.
    EXPECT_EQ(Run("12, 13.", {0}, OutputMode::kEightBit), "");
    EXPECT_EQ(Run("12", {0}, OutputMode::kUtf16), "\xFF\xFE");
}

TEST_F(Translator, Utf16OutputOfACzechWord) {
    ASSERT_EQ(1, Add("\xE8" "aj", "tea", "", 1));
    const std::string bytes = Run("\xE8" "aj", {1}, OutputMode::kUtf16);
    std::u16string expected = u"\uFEFF.....\r\n\u010Daj = \u010Daj = { tea }\r\n";
    std::string raw;
    for (char16_t u : expected) {
        raw += static_cast<char>(u & 0xFF);
        raw += static_cast<char>(u >> 8);
    }
    EXPECT_EQ(bytes, raw);
}

TEST_F(Translator, SlotWithoutEntriesStopsTheRun) {
    ASSERT_EQ(1, Add("dog", "pes"));
    EXPECT_TRUE(SlotHasEntries(ctx, 0));
    EXPECT_FALSE(SlotHasEntries(ctx, 1));  // made, but empty
    EXPECT_FALSE(SlotHasEntries(ctx, 7));  // not there
    TranslationRun run;
    EXPECT_EQ(Run("dog cat", {0, 1}, OutputMode::kEightBit, &run), ".....\r\ndog = dog = { pes }\r\ndog = ");
    EXPECT_EQ(run.status, TranslationRun::kNoCandidates);
    EXPECT_EQ(run.slot, 1);
}

// Scores of the best headword: the collation first, then the upper-cased and
// the plain bytes; the earlier candidate on a full tie.
TEST_F(Translator, BestCandidateByMatchLength) {
    auto rows = [](std::vector<std::string> words) {
        std::vector<lex::ResultRow> r;
        for (auto& w : words) {
            lex::ResultRow row;
            row.Word = w;
            r.push_back(row);
        }
        return r;
    };
    struct Case {
        std::vector<std::string> candidates;
        std::string word;
        int best;
    };
    const Case cases[] = {
        {{"do", "dog", "door"}, "dog", 1},
        {{"do", "dog", "door"}, "dogs", 2},      // "dog" is a prefix: -3 scores 13, "door" 2 scores 4
        {{"dig", "dog", "dug"}, "dag", 0},       // a full tie keeps the earlier
        {{"d\xF3g", "dog"}, "dog", 1},          // equal collation: the upper-cased bytes decide
        {{"Dog", "DOG"}, "dog", 0},              // a tie in all three: the earlier
        {{"DOG", "dOG", "dog"}, "dog", 2},       // the plain bytes decide last
        {{}, "dog", -1},
    };
    for (const Case& c : cases) {
        auto r = rows(c.candidates);
        EXPECT_EQ(BestCandidate(r, static_cast<int>(r.size()), c.word, 0, settings), c.best) << c.word;
    }
}

// The match length keeps its sign in the score: a candidate that is a proper
// prefix of the word, or smaller at the first difference, scores worse than
// its common length alone would say. Each best headword here is another one
// when the sign is dropped.
TEST_F(Translator, BestCandidateKeepsTheSignOfTheMatchLength) {
    struct Case {
        std::vector<std::string> candidates;
        std::string word;
        int slot;
        int best;
    };
    const Case cases[] = {
        {{"A", "a"}, "a", 0, 1},               // plain bytes: "A" is smaller, -1 scores 4
        {{"bourn", "bout"}, "Bourne", 0, 1},   // "bourn" is a prefix: -5 scores 21, "bout" 3 scores 4
        {{"IEEA", "if"}, "IEEE", 0, 1},        // "IEEA" is smaller: -3 scores 14, "if" 1 scores 4
        {{"\xE8" "a", "\xE8" "as"}, "\xE8" "aj", 1, 1},  // Czech "ča" a prefix of "čaj": -2 scores 9, "čas" 2 scores 2
    };
    for (const Case& c : cases) {
        std::vector<lex::ResultRow> r;
        for (const std::string& w : c.candidates) {
            lex::ResultRow row;
            row.Word = w;
            r.push_back(row);
        }
        EXPECT_EQ(BestCandidate(r, static_cast<int>(r.size()), c.word, c.slot, settings), c.best) << c.word;
    }
}

}  // namespace
