// What the clipboard watch makes of a text that another program put on the
// clipboard: a short text (a word or a few) is looked up once; a sentence, a
// text seen last time and the program's own copy are not.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace lexora {

// The longest text the watch remembers (its buffer holds one byte more).
constexpr size_t kLastSeenLength = 253;
// A text with this many runs of separators or more is no word to look up.
constexpr int kMaxSeparatorRuns = 5;

// Runs of separators (blank, '.', ',', '(' and ')') in `text`, a run at the
// start included: "a b" has one, ", ,a" one, "a, b. c" two.
int SeparatorRuns(const std::string& text);

// What the watch keeps between its ticks.
struct ClipboardMemory {
    std::string LastSeen;  // the last text that passed the separator rule
    bool OwnCopy = false;  // set by the program's own copy command just before it copies
    // The clipboard's change count right after that copy: while the count
    // stays, the clipboard still holds our own text.
    unsigned long OwnCopyChange = 0;
};

// One clipboard text read by a tick: true when it is to be looked up. The
// own-copy flag is spent by every text read, so that a copy of our own that
// equals the last text seen cannot hold back the next copy made elsewhere.
bool TakeClipboardText(ClipboardMemory& memory, std::string text);

// The link is switched on, the clipboard's change count being `change`. An
// own copy made while the link was off, which no tick has read, is taken now
// as a tick takes it (it becomes the last text and is not looked up) when it
// is still on the clipboard (`readText` gives the text as a tick reads it);
// when another copy has replaced it, it holds back nothing and that copy is
// looked up at the next tick.
void TakeOwnCopyAtLinkOn(ClipboardMemory& memory, unsigned long change, const std::function<std::string()>& readText);

}  // namespace lexora
