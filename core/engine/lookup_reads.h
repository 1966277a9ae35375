// The lookup window's reads without a display: what LookupWord and
// ShowTranslations write into the lookup window is given back instead, for a
// caller that draws it itself (the lookup session, core/lookup). LookupWord
// and ShowTranslations are these reads followed by the display's drawing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine.h"

namespace lex {

// Asked before each translation record is shown: true when a key press waits
// that gives the display up (see EngineDisplay::QualifyingKeyWaiting). Empty:
// never.
using KeyWaiting = std::function<bool()>;

// What the translation field shows for an entry.
struct EntryText {
    // The translations, the separator line, then the grammar notes with the
    // grammar separator in front; each line is shown followed by CR LF.
    std::vector<std::string> Lines;
    // The entry was shown to its end: the field then goes back to its first
    // line. False for an entry without translations and for a display given
    // up for a waiting key (the lines so far stay).
    bool ScrollToTop = false;
};

// The translation field's lines for the chain at `firstTranslation` (the
// translations file its node flags name) of the open slot, else of the
// current slot (opened for the call). 1 (also when given up); -1 on a file
// error, with no lines.
int ReadEntryText(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags, const KeyWaiting& keyWaiting,
                  EntryText& out);

// What one lookup of the lookup window finds.
struct WordLookup {
    bool Opened = false;  // the slot's files were opened
    // With the key position asked for: the word's place in the key index,
    // read while the slot was open (Records 0 when not read).
    KeyPosition Key;
    // An exact live entry was found: the pronunciation label and the text
    // are its, and its stored word went to the history.
    bool Shown = false;
    std::string Pronunciation;  // the label: "[...]", or empty
    EntryText Text;
    // The rows from the word's place on (see LookupWord); on a read error
    // those read before it.
    std::vector<ResultRow> Rows;
};

// LookupWord without the display: opens `slot` (failure: -1 with Opened
// false), with `keyPosition` finds the place of `word` as given (untrimmed)
// in the key index, locates the trimmed word, reads the text of an exact
// live entry and the rows, closes the slot. The number of rows, or -1.
int LookupWordQuietly(EngineContext& ctx, const std::string& word, int slot, bool keyPosition,
                      const KeyWaiting& keyWaiting, WordLookup& out);

}  // namespace lex
