// The search's matcher against the slot comparison, and whole searches over
// real slot files: order, questions, resume, failures, files closed.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/tests/engine_fixture.h"
#include "lexora/wordtools/text_search.h"

using namespace lexora;

namespace {

// Every start where the slot's comparison says equal, the slow way.
std::vector<size_t> SlowStarts(const std::string& needle, const std::string& text, int slot,
                               const lex::DictionarySettings& s) {
    std::vector<size_t> out;
    for (size_t i = 0; i + needle.size() <= text.size(); ++i)
        if (lex::CompareSlotWords(text.substr(i, needle.size()), needle, slot, s) == 0) out.push_back(i);
    return out;
}

std::vector<size_t> Starts(const std::string& needle, const std::string& text, int slot,
                           const lex::DictionarySettings& s) {
    std::vector<size_t> out;
    CollationMatcher m(needle, slot, s);
    for (size_t i = m.Find(text, 0); i != CollationMatcher::kNone; i = m.Find(text, i + 1)) out.push_back(i);
    return out;
}

TEST(CollationMatcher, SameAsTheSlotComparison) {
    lex::DictionarySettings s;
    for (int slot = 0; slot < lex::kSlotCount; ++slot) s.SortType[slot] = static_cast<int16_t>(lex::DefaultSortType(slot));
    s.SortType[12] = lex::kSortPersian;
    s.SortType[14] = lex::kSortPolish;
    struct Case {
        int slot;
        std::string needle, text;
    };
    const Case cases[] = {
        {0, "an", "banana"},
        {0, "AN", "Banana"},                           // case does not count
        {0, "a", "\xE1\xE4" "a"},                      // accents of the same weight
        {1, "ch", "chata, chalupa"},                   // the Czech ch inside the part
        {1, "c", "chata"},
        {2, "ss", "Stra\xDF" "e Strasse"},
        {3, "s", "\xDF"},
        {0, "o-g", "dog do g"},                        // dropped characters
        {0, "\x1F" "a", "\x1F" "ab"},                  // a grammar note never equals
        {0, "a", "\x1F" "aa"},
        {12, "\xE0\xE2", "\xE0\xE2\xE3\xE0"},          // Persian, compared reversed
        {12, "\xF2\x91", "\x91\xF2\xF2\x91"},
        {14, "z", "zZ\x9F"},                           // Polish z, Z, z with acute
        {0, "dog", "do"},
        {0, std::string(100, '\x9E'), std::string(100, '\x9E')},  // the high sentinel's word
        {0, "", "ab"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Starts(c.needle, c.text, c.slot, s), SlowStarts(c.needle, c.text, c.slot, s))
            << c.slot << " " << c.needle << " in " << c.text;
    }
    EXPECT_EQ(Starts("an", "banana", 0, s), (std::vector<size_t>{1, 3}));
}

// Answers the questions from a list (true: go on) and records the hits.
struct Answers : SearchHitHandler {
    std::vector<bool> replies;  // used in order; yes once they run out
    std::vector<std::string> hits;
    bool OnHit(const SearchHit& hit) override {
        hits.push_back(hit.Headword + (hit.InTranslation ? " t:" : " h:") + hit.Text + "@" + std::to_string(hit.Start));
        const size_t i = hits.size() - 1;
        return i < replies.size() ? replies[i] : true;
    }
};

class Search : public lextest::EngineTest {
protected:
    TextSearchState state;
    Answers answers;

    void Fill() {
        // File order differs from the list order: zebra comes first.
        ASSERT_EQ(1, Add("zebra", "zebra"));
        ASSERT_EQ(1, Add("banana", "ban\xE1n"));
        ASSERT_EQ(1, Add("apple", "jablko"));
        ASSERT_EQ(1, Add("apple", ".pl. apples"));  // a grammar note
        ASSERT_EQ(1, Add("cabana", "chatka"));
        ASSERT_EQ(1, DeleteWord("cabana"));
        ASSERT_EQ(1, Add("ant", "mravenec"));
    }

    lex::JobState RunSearch(const std::string& text, bool headwords, bool translations, bool resume = false) {
        if (!resume) {
            state.Text = text;
            state.TranslationText = text;
            state.Slot = 0;
            state.InHeadwords = headwords;
            state.InTranslations = translations;
        }
        TextSearchJob job(ctx, state, answers, "Ready");
        job.SetContinue(resume);
        lex::JobState end = lex::RunToEnd(job);
        code = job.Result().code;
        progress = job.Progress().text;
        EXPECT_EQ(files.OpenCount(), 0) << "the slot's files are closed at every end";
        return end;
    }
    int code = 0;
    std::string progress;
};

TEST_F(Search, HitsInFileOrderOneQuestionEach) {
    Fill();
    EXPECT_EQ(RunSearch("an", true, false), lex::JobState::Done);
    EXPECT_EQ(code, TextSearchJob::kSearchFinished);
    // zebra has none; banana twice; the deleted cabana never; ant once.
    EXPECT_EQ(answers.hits, (std::vector<std::string>{"banana h:banana@1", "banana h:banana@3", "ant h:ant@0"}));
    EXPECT_FALSE(state.Continuable);
    EXPECT_EQ(state.ProcessedRecords, state.TotalRecords);
    EXPECT_EQ(progress, "100 % Ready");
}

TEST_F(Search, TranslationsShowTheHeadwordAndUseTheOtherDirection) {
    Fill();
    EXPECT_EQ(RunSearch("ap", false, true), lex::JobState::Done);
    // The grammar note is searched with its separator in front.
    EXPECT_EQ(answers.hits, (std::vector<std::string>{"apple t:.pl. apples@5"}));

    // Translations are compared by the counterpart's collation: under a
    // collation without Latin letters every Latin part is equal.
    answers.hits.clear();
    settings.SortType[1] = lex::kSortRussian;
    EXPECT_EQ(RunSearch("xyz", false, true), lex::JobState::Done);
    EXPECT_EQ(answers.hits.size(), 5u);  // one per live translation record, the note too
    EXPECT_EQ(answers.hits[0], "zebra t:zebra@0");

    // Both parts: a node can answer twice.
    answers.hits.clear();
    settings.SortType[1] = lex::kSortCzech;
    EXPECT_EQ(RunSearch("zebra", true, true), lex::JobState::Done);
    EXPECT_EQ(answers.hits, (std::vector<std::string>{"zebra h:zebra@0", "zebra t:zebra@0"}));
}

// The string reaches each side in that side's own bytes: the headwords are
// compared with Text, the translations with TranslationText. Here the string
// "KOČKA" of an English-Czech search, whose headword form lost its č.
TEST_F(Search, EachSideIsComparedInItsOwnForm) {
    ASSERT_EQ(1, Add("RC", "\xF8\xEDmsko-katolick\xFD"));  // "sko-ka" equals "KO?KA" by the weights
    ASSERT_EQ(1, Add("cat", "ko\xE8ka"));
    ASSERT_EQ(1, Add("ko?ka", "?"));
    state.Text = "KO?KA";
    state.TranslationText = "KO\xC8KA";
    state.Slot = 0;
    struct Case {
        bool headwords, translations;
        std::vector<std::string> hits;
    };
    const Case cases[] = {
        {false, true, {"cat t:ko\xE8ka@0"}},
        {true, false, {"ko?ka h:ko?ka@0"}},
        {true, true, {"cat t:ko\xE8ka@0", "ko?ka h:ko?ka@0"}},
    };
    for (const Case& c : cases) {
        answers.hits.clear();
        state.InHeadwords = c.headwords;
        state.InTranslations = c.translations;
        TextSearchJob job(ctx, state, answers, "Ready");
        EXPECT_EQ(lex::RunToEnd(job), lex::JobState::Done);
        EXPECT_EQ(answers.hits, c.hits) << c.headwords << c.translations;
    }
}

TEST_F(Search, StoppedSearchContinuesWithTheNextNode) {
    Fill();
    answers.replies = {false};
    EXPECT_EQ(RunSearch("an", true, false), lex::JobState::Done);
    EXPECT_EQ(code, TextSearchJob::kSearchStopped);
    EXPECT_TRUE(state.Continuable);
    EXPECT_EQ(answers.hits.size(), 1u);
    const int64_t processed = state.ProcessedRecords;

    // The second place in banana is passed over: the search goes on after the node.
    EXPECT_EQ(RunSearch("", false, false, true), lex::JobState::Done);
    EXPECT_EQ(code, TextSearchJob::kSearchFinished);
    EXPECT_EQ(answers.hits, (std::vector<std::string>{"banana h:banana@1", "ant h:ant@0"}));
    EXPECT_GT(state.ProcessedRecords, processed);
    EXPECT_FALSE(state.Continuable);
}

TEST_F(Search, FailuresAreReportedNeverFinished) {
    Fill();
    // A words file that ends inside a headword: a read error.
    const std::string words = settings.UserWordsPaths[0];
    lextest::Bytes bytes = lextest::ReadFileBytes(words);
    lextest::WriteFileBytes(words, bytes.substr(0, bytes.size() - 4));
    EXPECT_EQ(RunSearch("an", true, false), lex::JobState::Failed);
    EXPECT_EQ(code, TextSearchJob::kSearchCorrupt);
    lextest::WriteFileBytes(words, bytes);

    // A node file shorter than one node is a corrupt slot.
    lextest::WriteFileBytes(settings.NodePaths[0], lextest::ReadFileBytes(settings.NodePaths[0]).substr(0, 50));
    EXPECT_EQ(RunSearch("an", true, false), lex::JobState::Failed);
    EXPECT_EQ(code, TextSearchJob::kSearchCorrupt);

    // A slot that is not there.
    state.Slot = 9;
    TextSearchJob job(ctx, state, answers, "Ready");
    EXPECT_EQ(lex::RunToEnd(job), lex::JobState::Failed);
    EXPECT_EQ(job.Result().code, TextSearchJob::kSearchCannotOpen);
    EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(Search, CancelClosesTheFiles) {
    Fill();
    state.Text = "an";
    state.Slot = 0;
    TextSearchJob job(ctx, state, answers, "Ready");
    ASSERT_TRUE(job.Start());
    EXPECT_GT(files.OpenCount(), 0);  // the search's own while it runs
    job.Cancel();
    EXPECT_EQ(files.OpenCount(), 0);
    EXPECT_EQ(job.State(), lex::JobState::Cancelled);

    // Cancelled while a question is open (banana has a second place): no
    // further question, nothing more read.
    struct CancelAtHit : SearchHitHandler {
        lex::Stepper* job = nullptr;
        int asked = 0;
        bool OnHit(const SearchHit&) override {
            ++asked;
            job->Cancel();
            return true;
        }
    } cancelling;
    TextSearchJob second(ctx, state, cancelling, "Ready");
    cancelling.job = &second;
    EXPECT_EQ(lex::RunToEnd(second), lex::JobState::Cancelled);
    EXPECT_EQ(cancelling.asked, 1);
    EXPECT_EQ(files.OpenCount(), 0);
    EXPECT_TRUE(state.Continuable);
}

}  // namespace
