#include "lexora/rules/clipboard_rule.h"

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

// The link is switched on: an own copy that no tick has read is taken then
// when the clipboard still holds it, and forgotten when another copy came.
TEST(TakeOwnCopyAtLinkOn, OwnCopyStillOnTheClipboardBecomesTheLastText) {
    const struct {
        bool ownCopy;
        unsigned long change;  // the clipboard's change count at switch-on; the copy left it at 7
        const char* lastSeen;  // after the switch
        const char* next;      // the text the next tick reads
        bool lookUp;
    } cases[] = {
        {true, 7, "kramle", "kramle", false},  // our copy is not looked up
        {true, 7, "kramle", "dog", true},
        {true, 8, "dog", "kramle", true},      // another copy replaced ours: it is looked up
        {true, 8, "dog", "dog", false},
        {false, 7, "dog", "kramle", true},     // no copy of ours: nothing is read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ownCopy << " " << c.change << " " << c.next);
        ClipboardMemory memory;
        memory.LastSeen = "dog";
        memory.OwnCopy = c.ownCopy;
        memory.OwnCopyChange = 7;
        int reads = 0;
        TakeOwnCopyAtLinkOn(memory, c.change, [&] {
            ++reads;
            return std::string(" kramle ");
        });
        EXPECT_EQ(reads, c.ownCopy && c.change == 7 ? 1 : 0);
        EXPECT_EQ(memory.LastSeen, c.lastSeen);
        EXPECT_FALSE(memory.OwnCopy);
        EXPECT_EQ(TakeClipboardText(memory, c.next), c.lookUp);
    }
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
