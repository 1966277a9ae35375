// The road of one lookup without the window: looking up, selecting lines,
// sliding and scrolling at both ends of the key index, switching the slot,
// words of equal collation, failures, and the entry the word dialogs read.
#include <filesystem>

#include "core/lookup/lookup_session.h"
#include "core/engine/tests/engine_fixture.h"

namespace {

using lex::ListChange;
using lex::LookupFailure;
using lex::LookupView;
using lex::ScrollMove;

const std::string kLine = lex::kSeparatorLine;

class LookupSessionTest : public lextest::EngineTest {
protected:
    // Slot 0 with three visible rows: ant .. jay, each word its own key, emu
    // deleted. Key records: 0 the low sentinel, 1 ant .. 11 jay, 12 the high
    // sentinel, so the scroll bar runs from 1 to 11.
    void SetUp() override {
        EngineTest::SetUp();
        settings.VisibleRows = 3;
        ASSERT_EQ(1, Add("ant", "mravenec", "\xe6nt"));
        ASSERT_EQ(1, Add("ant", ".n. insect", "\xe6nt"));
        ASSERT_EQ(1, Add("bee", "v\xe8\x65la"));
        for (const char* w : {"cat", "dog", "eel", "emu", "fox", "gnu", "hen", "ibis", "jay"})
            ASSERT_EQ(1, Add(w, std::string("tr-") + w, w[0] == 'h' ? "  " : ""));
        ASSERT_EQ(1, DeleteWord("emu"));
        hooks.History.clear();
    }

    std::string Words() const {
        std::string out;
        for (const lex::ResultRow& r : session.Rows()) out += (out.empty() ? "" : " ") + r.Word;
        return out;
    }
    static std::string Text(const LookupView& v) {
        std::string out;
        for (const std::string& line : v.Translation.Lines) out += line + "|";
        return out;
    }
    std::vector<std::string> History() const {
        std::vector<std::string> out;
        for (const auto& h : hooks.History) out.push_back(h.first + "@" + std::to_string(h.second));
        return out;
    }

    int keyChecks = 0;
    int keyWaitingFrom = -1;  // the key check says yes from this check on
    lex::LookupSession session{ctx, settings, [this] {
                                   const int check = keyChecks++;
                                   return keyWaitingFrom >= 0 && check >= keyWaitingFrom;
                               }};
};

TEST_F(LookupSessionTest, LookingUpFillsTheListShowsTheEntryAndPlacesTheScrollBar) {
    struct Case {
        const char* word;
        const char* rows;
        const char* pronunciation;
        std::string text;
        int position;
        std::vector<std::string> history;
    };
    const Case cases[] = {
        {"ant", "ant bee cat", "[\xe6nt]", "mravenec|" + kLine + "|.n. insect|", 1, {"ant@0"}},
        // The scroll bar takes the place of the word as typed.
        {"  bee ", "bee cat dog", "", "v\xe8\x65la|" + kLine + "|", 1, {"bee@0"}},
        // Not there: the list from the entry before its place, nothing shown.
        {"cow", "cat dog eel", "", "", 4, {}},
        {"", "ant bee cat", "", "", 1, {}},
        // Deleted: nothing shown; its key keeps its place.
        {"emu", "fox gnu hen", "", "", 6, {}},
        // A pronunciation that trims to nothing gives an empty line.
        {"hen", "hen ibis jay", "", "tr-hen|" + kLine + "|", 9, {"hen@0"}},
        {"jay", "jay", "", "tr-jay|" + kLine + "|", 11, {"jay@0"}},
        {"zebra", "jay", "", "", 11, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        hooks.History.clear();
        const LookupView v = session.LookUp(c.word);
        EXPECT_EQ(ListChange::Refilled, v.List);
        EXPECT_EQ(c.rows, Words());
        EXPECT_TRUE(v.ClearTranslation);
        EXPECT_EQ(c.text, Text(v));
        EXPECT_EQ(!c.text.empty(), v.Translation.ScrollToTop);
        EXPECT_EQ(c.pronunciation, v.Pronunciation.value_or("unchanged"));
        EXPECT_TRUE(v.ScrollBarChanged);
        EXPECT_EQ((lex::ScrollBarState{1, 11, c.position}), session.ScrollBar());
        EXPECT_EQ(c.word, settings.CurrentWord);
        EXPECT_EQ(c.history, History());
        EXPECT_TRUE(v.Failures.empty());
        EXPECT_EQ(0, files.OpenCount());
    }

    // A pasted word leaves the scroll bar; a key press that waits gives the
    // display up after the record being shown.
    keyChecks = 0;
    keyWaitingFrom = 1;
    const LookupView pasted = session.LookUpKeepingScrollBar("ant");
    EXPECT_EQ("ant bee cat", Words());
    EXPECT_EQ("mravenec|", Text(pasted));
    EXPECT_FALSE(pasted.Translation.ScrollToTop);
    EXPECT_FALSE(pasted.ScrollBarChanged);
    EXPECT_EQ(11, session.ScrollBar().Position);
    EXPECT_TRUE(session.ListDirty());
}

// Selecting a line shows its entry; a selected first or last line brings the
// entry before or after the list in, except at the ends of the slot.
TEST_F(LookupSessionTest, SelectingALineAtBothEndsOfTheSlot) {
    struct Case {
        const char* lookup;
        int line;
        const char* word;  // "" when the line is not backed by a row
        const char* rows;  // after the selection
        ListChange change;
        int selectLine;
        std::string text;
        int position;
    };
    const Case cases[] = {
        {"ant", 0, "ant", "ant bee cat", ListChange::None, -1, "mravenec|" + kLine + "|.n. insect|", 1},
        {"ant", 1, "bee", "ant bee cat", ListChange::None, -1, "v\xe8\x65la|" + kLine + "|", 2},
        {"dog", 0, "dog", "cat dog eel", ListChange::EntryAtTop, 1, "tr-dog|" + kLine + "|", 4},
        {"dog", 2, "fox", "eel fox gnu", ListChange::EntryAtBottom, 1, "tr-fox|" + kLine + "|", 7},
        // The deleted emu is passed over both ways.
        {"cat", 2, "eel", "dog eel fox", ListChange::EntryAtBottom, 1, "tr-eel|" + kLine + "|", 5},
        {"fox", 0, "fox", "eel fox gnu", ListChange::EntryAtTop, 1, "tr-fox|" + kLine + "|", 7},
        {"hen", 2, "jay", "hen ibis jay", ListChange::None, -1, "tr-jay|" + kLine + "|", 11},
        // The last line of a shorter list is not the window's last line.
        {"ibis", 1, "jay", "ibis jay", ListChange::None, -1, "tr-jay|" + kLine + "|", 11},
        {"ibis", 2, "", "ibis jay", ListChange::None, -1, "", 10},
        {"ibis", -1, "", "ibis jay", ListChange::None, -1, "", 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lookup) + " line " + std::to_string(c.line));
        session.LookUp(c.lookup);
        hooks.History.clear();
        const LookupView v = session.Select(c.line);
        EXPECT_EQ(c.rows, Words());
        EXPECT_EQ(c.change, v.List);
        EXPECT_EQ(c.selectLine, v.SelectLine);
        EXPECT_TRUE(v.ClearTranslation);
        EXPECT_EQ(c.text, Text(v));
        EXPECT_EQ(c.position, session.ScrollBar().Position);
        EXPECT_TRUE(v.Failures.empty());
        if (*c.word) {
            EXPECT_EQ(c.word, v.Word.value_or("none"));
            EXPECT_EQ(c.word, settings.CurrentWord);
            EXPECT_EQ(std::vector<std::string>{std::string(c.word) + "@0"}, History());
        } else {
            EXPECT_FALSE(v.Word.has_value());
            EXPECT_FALSE(v.Pronunciation.has_value());
            EXPECT_TRUE(History().empty());
        }
        EXPECT_EQ(0, files.OpenCount());
    }
}

// Moves of the scroll bar in a row: lines slide the list by one entry (not
// past the ends), pages, the ends and the thumb move the scroll bar only, and
// the end of such a move fills the list from the key record before it.
TEST_F(LookupSessionTest, ScrollingByLinePageAndKeyAtBothEndsOfTheIndex) {
    struct Step {
        ScrollMove move;
        int thumb;
        const char* rows;
        int position;
        ListChange change;
    };
    const Step steps[] = {
        {ScrollMove::LineUp, 0, "ant bee cat", 1, ListChange::None},
        {ScrollMove::LineDown, 0, "bee cat dog", 2, ListChange::EntryAtBottom},
        {ScrollMove::End, 0, "bee cat dog", 2, ListChange::None},  // after a line: no refill
        {ScrollMove::LineDown, 0, "cat dog eel", 3, ListChange::EntryAtBottom},
        {ScrollMove::LineDown, 0, "dog eel fox", 4, ListChange::EntryAtBottom},  // past the deleted emu
        {ScrollMove::LineUp, 0, "cat dog eel", 3, ListChange::EntryAtTop},
        {ScrollMove::PageUp, 0, "cat dog eel", 1, ListChange::None},
        {ScrollMove::End, 0, "ant bee cat", 1, ListChange::Refilled},  // from the low sentinel
        {ScrollMove::PageUp, 0, "ant bee cat", 1, ListChange::None},
        {ScrollMove::End, 0, "ant bee cat", 1, ListChange::Refilled},
        {ScrollMove::PageDown, 0, "ant bee cat", 4, ListChange::None},
        {ScrollMove::End, 0, "cat dog eel", 4, ListChange::Refilled},
        {ScrollMove::PageDown, 0, "cat dog eel", 7, ListChange::None},
        {ScrollMove::End, 0, "fox gnu hen", 7, ListChange::Refilled},  // the key of the deleted emu
        {ScrollMove::ThumbTrack, 9, "fox gnu hen", 9, ListChange::None},
        {ScrollMove::ThumbPosition, 9, "fox gnu hen", 9, ListChange::None},
        {ScrollMove::End, 0, "gnu hen ibis", 9, ListChange::Refilled},
        // A whole page both ways, far from both ends.
        {ScrollMove::PageUp, 0, "gnu hen ibis", 6, ListChange::None},
        {ScrollMove::End, 0, "eel fox gnu", 6, ListChange::Refilled},
        {ScrollMove::PageDown, 0, "eel fox gnu", 9, ListChange::None},
        {ScrollMove::End, 0, "gnu hen ibis", 9, ListChange::Refilled},
        {ScrollMove::PageDown, 0, "gnu hen ibis", 11, ListChange::None},
        {ScrollMove::End, 0, "ibis jay", 11, ListChange::Refilled},
        // A list shorter than the window does not slide on.
        {ScrollMove::LineDown, 0, "ibis jay", 11, ListChange::None},
        {ScrollMove::Top, 0, "ibis jay", 1, ListChange::None},
        {ScrollMove::Bottom, 0, "ibis jay", 11, ListChange::None},
        {ScrollMove::End, 0, "ibis jay", 11, ListChange::Refilled},
        {ScrollMove::ThumbTrack, 99, "ibis jay", 11, ListChange::None},
        {ScrollMove::ThumbTrack, -5, "ibis jay", 1, ListChange::None},
        {ScrollMove::End, 0, "ant bee cat", 1, ListChange::Refilled},
    };
    session.LookUp("ant");
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(i++));
        const lex::ScrollBarState before = session.ScrollBar();
        const LookupView v = session.Scroll(s.move, s.thumb);
        EXPECT_EQ(s.rows, Words());
        EXPECT_EQ(s.position, session.ScrollBar().Position);
        EXPECT_EQ(s.change, v.List);
        EXPECT_EQ(before.Position != s.position, v.ScrollBarChanged);
        EXPECT_EQ(s.change == ListChange::Refilled, v.ClearTranslation);
        EXPECT_TRUE(v.Failures.empty());
        EXPECT_EQ(0, files.OpenCount());
    }
    // The end of a line move at the end of the index refills nothing either.
    session.Scroll(ScrollMove::LineDown);
    EXPECT_EQ(ListChange::None, session.Scroll(ScrollMove::End).List);
}

TEST_F(LookupSessionTest, SwitchingTheSlot) {
    for (const auto& [word, tr] : {std::pair<const char*, const char*>{"kocka", "cat"}, {"pes", "dog"}})
        ASSERT_EQ(1, Add(word, tr, "", 1));
    session.LookUp("dog");
    struct Case {
        int slot;
        const char* word;
        int current;
        const char* rows;
        std::string text;
        lex::ScrollBarState scroll;
    };
    // A slot out of range is slot 0, also from another slot.
    const Case cases[] = {
        {1, "pes", 1, "pes", "dog|" + kLine + "|", {1, 2, 2}},
        {1, "a", 1, "kocka pes", "", {1, 2, 1}},
        {25, "ant", 0, "ant bee cat", "mravenec|" + kLine + "|.n. insect|", {1, 11, 1}},
        {0, "cat", 0, "cat dog eel", "tr-cat|" + kLine + "|", {1, 11, 3}},
        {1, "pes", 1, "pes", "dog|" + kLine + "|", {1, 2, 2}},
        {-1, "cat", 0, "cat dog eel", "tr-cat|" + kLine + "|", {1, 11, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.slot) + " " + c.word);
        const LookupView v = session.GoTo(c.slot, c.word);
        EXPECT_EQ(c.current, settings.CurrentSlot);
        EXPECT_EQ(c.current, session.Slot());
        EXPECT_EQ(c.word, v.Word.value_or("none"));  // the word box always gets the word
        EXPECT_EQ(ListChange::Refilled, v.List);
        EXPECT_EQ(c.rows, Words());
        EXPECT_EQ(c.text, Text(v));
        EXPECT_EQ(c.scroll, session.ScrollBar());
    }
    // The steps after a switch work in the new slot.
    session.GoTo(1, "kocka");
    EXPECT_EQ("dog|" + kLine + "|", Text(session.Select(1)));
    EXPECT_EQ("pes@1", History().back());
    session.Scroll(ScrollMove::Top);
    session.Scroll(ScrollMove::End);
    EXPECT_EQ("kocka pes", Words());
}

// What a word dialog takes: the slot, the word as it was looked up (its
// bytes, cut to the word box's length) and the entry as the window shows it,
// after every kind of step.
TEST_F(LookupSessionTest, TheEntryShownFollowsEveryStep) {
    ASSERT_EQ(1, Add("\xe8\x61j", "tea", "\xe8\x61j", 1));
    struct Step {
        const char* what;
        std::function<void()> step;
        int slot;
        std::string word;
        const char* pronunciation;
        std::string text;
    };
    const std::string longWord(300, 'x');
    const Step steps[] = {
        {"lookup", [&] { session.LookUp("ant"); }, 0, "ant", "[\xe6nt]", "mravenec|" + kLine + "|.n. insect|"},
        {"selected line", [&] { session.Select(1); }, 0, "bee", "", "v\xe8\x65la|" + kLine + "|"},
        {"no line", [&] { session.Select(-1); }, 0, "bee", "", ""},
        {"not there", [&] { session.LookUp("cow"); }, 0, "cow", "", ""},
        {"another slot", [&] { session.GoTo(1, "\xe8\x61j"); }, 1, "\xe8\x61j", "[\xe8\x61j]", "tea|" + kLine + "|"},
        {"line move", [&] { session.Scroll(ScrollMove::LineDown); }, 1, "\xe8\x61j", "[\xe8\x61j]",
         "tea|" + kLine + "|"},
        {"refill", [&] { session.Scroll(ScrollMove::Top); session.Scroll(ScrollMove::End); }, 1, "\xe8\x61j",
         "[\xe8\x61j]", ""},
        {"back", [&] { session.GoTo(0, "jay"); }, 0, "jay", "", "tr-jay|" + kLine + "|"},
        {"long word", [&] { session.GoTo(0, longWord); }, 0, longWord.substr(0, lex::kCurrentWordLength), "", ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.step();
        const lex::LookupShown shown = session.ShownEntry();
        EXPECT_EQ(s.slot, shown.Slot);
        EXPECT_EQ(s.word, shown.Word);
        EXPECT_EQ(s.pronunciation, shown.Pronunciation);
        std::string text;
        for (const std::string& line : shown.TranslationLines) text += line + "|";
        EXPECT_EQ(s.text, text);
    }
    // A display given up for a waiting key: the lines shown so far.
    keyChecks = 0;
    keyWaitingFrom = 1;
    session.LookUp("ant");
    EXPECT_EQ(std::vector<std::string>{"mravenec"}, session.ShownEntry().TranslationLines);
}

// Entries of equal collation are told apart by their bytes: each is found,
// listed and shown as itself, and all share their key's place.
TEST_F(LookupSessionTest, WordsOfEqualCollation) {
    for (const auto& [word, tr] : {std::pair<const char*, const char*>{"polish", "lestit"},
                                   {"Polish", "polsky"},
                                   {"POLISH", "POLSKY"},
                                   {"police", "policie"}})
        ASSERT_EQ(1, Add(word, tr));
    settings.VisibleRows = 4;
    struct Case {
        const char* word;
        const char* rows;
        std::string text;
    };
    const Case cases[] = {
        {"Polish", "Polish polish", "polsky|" + kLine + "|"},
        {"polish", "polish", "lestit|" + kLine + "|"},
        {"POLISH", "POLISH Polish polish", "POLSKY|" + kLine + "|"},
        {"pOlish", "Polish polish", ""},
        {"polis", "police POLISH Polish polish", ""},
    };
    int position = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const LookupView v = session.LookUp(c.word);
        EXPECT_EQ(c.rows, Words());
        EXPECT_EQ(c.text, Text(v));
        if (std::string(c.word) != "polis") {
            if (position < 0) position = session.ScrollBar().Position;
            EXPECT_EQ(position, session.ScrollBar().Position);
        }
    }
    // The selected line shows its own entry, the slide keeps the same word.
    session.LookUp("POLISH");
    EXPECT_EQ("polsky|" + kLine + "|", Text(session.Select(1)));
    EXPECT_EQ("Polish", settings.CurrentWord);
    LookupView v = session.Select(0);
    EXPECT_EQ("POLSKY|" + kLine + "|", Text(v));
    EXPECT_EQ(ListChange::EntryAtTop, v.List);
    EXPECT_EQ("police POLISH Polish polish", Words());
    EXPECT_EQ(1, v.SelectLine);
}

// A file that cannot be opened or read stops the step with the failure the
// window reports; what the list showed stays unless the step refilled it.
TEST_F(LookupSessionTest, Failures) {
    struct Case {
        std::string* missing;
        std::function<LookupView()> step;
        const char* rows;
        ListChange change;
        std::vector<LookupFailure> failures;
    };
    const Case cases[] = {
        {&settings.KeyIndexPaths[0], [&] { return session.LookUp("dog"); }, "ant bee cat", ListChange::None,
         {LookupFailure::FilesInaccessible}},
        {&settings.NodePaths[0], [&] { return session.LookUp("dog"); }, "", ListChange::Refilled,
         {LookupFailure::FilesInaccessible}},
        {&settings.UserTranslationsPaths[0], [&] { return session.Select(1); }, "ant bee cat", ListChange::None,
         {LookupFailure::FilesCorrupted}},
        {&settings.NodePaths[0], [&] { return session.Scroll(ScrollMove::LineDown); }, "ant bee cat",
         ListChange::None, {LookupFailure::FilesInaccessible}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.missing);
        session.LookUp("ant");
        const lextest::Bytes saved = lextest::ReadFileBytes(*c.missing);
        std::filesystem::remove(*c.missing);
        const LookupView v = c.step();
        lextest::WriteFileBytes(*c.missing, saved);
        EXPECT_EQ(c.rows, Words());
        EXPECT_EQ(c.change, v.List);
        EXPECT_EQ(c.failures, v.Failures);
        EXPECT_TRUE(v.ClearTranslation);
        EXPECT_TRUE(v.Translation.Lines.empty());
        EXPECT_EQ(0, files.OpenCount());
    }
}

// What another program writes between two steps is seen by the next one.
TEST_F(LookupSessionTest, AnotherProgramsWriteIsSeenByTheNextStep) {
    lextest::TrackingFileSystem otherFiles;
    lex::RecordingDisplay otherDisplay;
    lex::RecordingHooks otherHooks;
    lex::EngineContext other(settings, otherFiles, otherDisplay, otherHooks);
    session.LookUp("bee");
    EXPECT_EQ("bee cat dog", Words());
    std::string tr = "cvrcek";
    ASSERT_EQ(1, lex::RunSlotCommand(other, 0, [&] { return lex::AddEntry(other, "bug", "", tr, 1); }));
    session.Scroll(ScrollMove::Top);
    session.Scroll(ScrollMove::End);
    EXPECT_EQ("ant bee bug", Words());
    EXPECT_EQ("cvrcek|" + kLine + "|", Text(session.Select(2)));
    EXPECT_EQ("bee bug cat", Words());  // the last line slid the list on
}

TEST_F(LookupSessionTest, TheEntryTheDialogsRead) {
    session.LookUp("ant");
    const std::vector<lex::ResultRow> rows = session.Rows();
    struct Case {
        int32_t offset;
        const char* word;
        bool read;
        std::vector<std::string> translations;
    };
    const Case cases[] = {
        {rows[0].Offset, "ant", true, {"mravenec", ".n. insect"}},
        {rows[1].Offset, "bee", true, {"v\xe8\x65la"}},
        {rows[1].Offset, "ant", false, {}},  // the node holds another word now
        {0, "ant", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        std::vector<std::string> out = {"old"};
        EXPECT_EQ(c.read, lex::ReadShownEntry(ctx, 0, c.offset, c.word, out));
        if (c.read) {
            EXPECT_EQ(c.translations, out);
        }
        EXPECT_EQ(0, files.OpenCount());
    }
    ASSERT_EQ(1, DeleteWord("bee"));
    std::vector<std::string> out;
    EXPECT_FALSE(lex::ReadShownEntry(ctx, 0, rows[1].Offset, "bee", out));
}

}  // namespace
