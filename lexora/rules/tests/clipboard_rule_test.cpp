#include "clipboard_rule.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(SeparatorRuns, CountsRunsOfBlanksPointsCommasAndBrackets) {
    const struct {
        const char* text;
        int runs;
    } cases[] = {
        {"", 0},
        {"dog", 0},
        {"a b", 1},
        {"a, b", 1},
        {"a , , ,b", 1},  // comma, blank, comma ... is one run
        {", ,a", 1},      // a run at the start counts
        {"a.", 1},
        {"(a) b", 2},
        {"a b c d e", 4},
        {"a b c d e f", 5},
        {"a b,c.d(e)f", 5},
        {"don't-stop\tnow", 0},  // other characters separate nothing
    };
    for (const auto& c : cases) EXPECT_EQ(SeparatorRuns(c.text), c.runs) << '"' << c.text << '"';
}

// One tick after another, each with the text it found on the clipboard.
TEST(TakeClipboardText, LooksUpShortNewTextsOnce) {
    ClipboardMemory memory;
    const struct {
        const char* text;
        bool lookUp;
    } ticks[] = {
        {"dog", true},
        {"dog", false},           // the same text again
        {"  dog\r\n", false},     // trimmed, it is the same text
        {"", false},              // nothing to look up
        {" \t ", false},
        {"a b c d e f", false},   // five separator runs: a sentence
        {"a b c d e", true},      // four runs still pass
        {"a, b", true},
        {"dog", true},            // not the last text any more
        {"\x01\x02", false},
    };
    for (const auto& t : ticks) EXPECT_EQ(TakeClipboardText(memory, t.text), t.lookUp) << '"' << t.text << '"';
}

TEST(TakeClipboardText, IgnoredSentenceDoesNotBecomeTheLastText) {
    ClipboardMemory memory;
    EXPECT_TRUE(TakeClipboardText(memory, "dog"));
    EXPECT_FALSE(TakeClipboardText(memory, "a b c d e f"));
    EXPECT_EQ(memory.LastSeen, "dog");
    EXPECT_FALSE(TakeClipboardText(memory, "dog"));
}

TEST(TakeClipboardText, OwnCopyIsRememberedButNotLookedUp) {
    ClipboardMemory memory;
    memory.OwnCopy = true;
    EXPECT_FALSE(TakeClipboardText(memory, "pes"));
    EXPECT_EQ(memory.LastSeen, "pes");
    EXPECT_FALSE(memory.OwnCopy);
    EXPECT_FALSE(TakeClipboardText(memory, "pes"));
    EXPECT_TRUE(TakeClipboardText(memory, "cat"));
}

// Our own copy of the text seen last: the flag is spent all the same, and
// the next copy made elsewhere is looked up.
TEST(TakeClipboardText, OwnCopyOfTheLastTextDoesNotHoldBackTheNextOne) {
    ClipboardMemory memory;
    EXPECT_TRUE(TakeClipboardText(memory, "dog"));
    memory.OwnCopy = true;
    EXPECT_FALSE(TakeClipboardText(memory, "dog"));
    EXPECT_FALSE(memory.OwnCopy);
    EXPECT_TRUE(TakeClipboardText(memory, "door"));

    // An own copy that is no word at all spends the flag too.
    memory.OwnCopy = true;
    EXPECT_FALSE(TakeClipboardText(memory, "   "));
    EXPECT_TRUE(TakeClipboardText(memory, "cat"));
}

TEST(TakeClipboardText, LongTextIsComparedByWhatIsKept) {
    ClipboardMemory memory;
    const std::string longWord(300, 'x');
    EXPECT_TRUE(TakeClipboardText(memory, longWord));
    EXPECT_EQ(memory.LastSeen.size(), kLastSeenLength);
    EXPECT_FALSE(TakeClipboardText(memory, longWord + "y"));
}

}  // namespace
}  // namespace lexora
