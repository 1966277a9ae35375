// The road of one lookup in the lookup window, without the window: looking a
// word up, selecting a line of the list, sliding the list by a line, moving
// the scroll bar over the key index by a page, to its ends or to a thumb
// position and filling the list from the key there, and showing another slot.
// Each step opens and closes the slot's files itself, so that another program
// can write between two steps and the next one sees it, and gives back what
// the window then shows (LookupView): the change of the list, the
// pronunciation line, the translation field, the scroll bar and the failures
// to report. The session is the one owner of where the lookup is: the
// current slot, the current word, the rows behind the list lines, the scroll
// bar's range and position, and the entry shown (ShownEntry); the window only
// draws, and commands that take the lookup elsewhere go through GoTo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/engine.h"
#include "core/engine/lookup_reads.h"

namespace lex {

// Longest current word, as taken from the word box (and kept in the history).
constexpr size_t kCurrentWordLength = 254;

// What a step does to the list lines (row i is line i).
enum class ListChange {
    None,
    Refilled,       // emptied, then one line per row
    EntryAtTop,     // row 0 came in at the top; a full list lost its last line
    EntryAtBottom,  // the last row came in at the bottom; the first line went
};

// Failures the window reports, in order, each in a message box.
enum class LookupFailure {
    FilesInaccessible,  // the slot's files cannot be opened for reading
    FilesCorrupted,     // a file of the slot cannot be read as it should
};

// The scroll bar: a record number of the key index. A new scroll bar has an
// empty range (0, 0) and position 0; the position always lies in the range.
struct ScrollBarState {
    int Min = 0;
    int Max = 0;
    int Position = 0;
    bool operator==(const ScrollBarState& o) const {
        return Min == o.Min && Max == o.Max && Position == o.Position;
    }
};

// The scroll bar's moves (its notification codes).
enum class ScrollMove { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, End, Other };

// What the window shows after a step, applied in this order.
struct LookupView {
    ListChange List = ListChange::None;
    int SelectLine = -1;                 // a line to select afterwards; -1: the selection stays
    std::optional<std::string> Word;     // the word box text (the current word), when it changes
    bool LookedUp = false;               // a lookup of the word ran (the word box keeps its caret)
    bool ClearTranslation = false;       // the translation field is emptied first
    EntryText Translation;               // then these lines are appended to it
    std::optional<std::string> Pronunciation;  // the pronunciation line, when it changes
    bool ScrollBarChanged = false;       // the scroll bar takes Session::ScrollBar()
    std::vector<LookupFailure> Failures;
};

// What the lookup window shows of where the lookup is: what a word dialog
// opened on it takes. Each text is in its side's code page, byte for byte as
// the session has it (never read back out of a control).
struct LookupShown {
    int Slot = 0;
    std::string Word;           // the current word (the word box text)
    std::string Pronunciation;  // the pronunciation line, "[...]" or empty
    std::vector<std::string> TranslationLines;  // the lines of the translation field
};

class LookupSession {
public:
    // `settings` is the engine's own settings record: the session looks up in
    // its current slot and keeps its current word. `keyWaiting` is asked
    // while an entry's translations are shown (see EntryText).
    LookupSession(EngineContext& engine, DictionarySettings& settings, KeyWaiting keyWaiting = {});
    LookupSession(const LookupSession&) = delete;
    LookupSession& operator=(const LookupSession&) = delete;

    // The word box text changed: `word` becomes the current word; the scroll
    // bar goes to its key's place in the key index and the list is filled
    // from the word's place on, with the entry shown when the word is there.
    LookupView LookUp(const std::string& word);
    // As LookUp, leaving the scroll bar where it is (a pasted word).
    LookupView LookUpKeepingScrollBar(const std::string& word);
    // Line `line` of the list was selected (-1: none): its word becomes the
    // current word and its entry is shown; a selected first or last line
    // brings the entry before or after the list in, keeping the same word
    // selected.
    LookupView Select(int line);
    // A move of the scroll bar: a line slides the list by one entry; a page,
    // the ends and the thumb move the scroll bar only, and the end of such a
    // move (ScrollMove::End) fills the list from the key record there.
    // `thumb` is the thumb's position for the thumb moves.
    LookupView Scroll(ScrollMove move, int thumb = 0);
    // The road in from every command that takes the lookup elsewhere: another
    // slot (or the same one afresh), the rows of the old one go, and `word` is
    // looked up in `slot` (0 for a slot out of range). The view always
    // carries the word for the word box.
    LookupView GoTo(int slot, const std::string& word);
    // The window made a new scroll bar (empty range, position 0).
    void NewScrollBar();

    int Slot() const { return settings_.CurrentSlot; }
    const std::string& Word() const { return settings_.CurrentWord; }
    // The road out: the slot, the word and the entry as the window shows them.
    LookupShown ShownEntry() const;
    const std::vector<ResultRow>& Rows() const { return rows_; }
    const ScrollBarState& ScrollBar() const { return scroll_; }
    // Whether the list was refilled or moved since the session began.
    bool ListDirty() const { return listDirty_; }

private:
    // Notes what `view` changes of the entry shown, then gives it back.
    LookupView Shown(LookupView view);
    LookupView Look(const std::string& word, bool moveScrollBar);
    LookupView SelectLine(int line);
    LookupView ScrollBy(ScrollMove move, int thumb);
    // The scroll bar to `place` of the key index (range 1 .. records - 2).
    void PlaceScrollBar(const KeyPosition& place, LookupView& view);
    bool PlaceScrollBar(const std::string& word, LookupView& view);
    void SetScrollPosition(int position);
    // The rows of a lookup into the list (Refilled); a failed lookup leaves no rows.
    void TakeRows(int count, std::vector<ResultRow>& rows, LookupView& view);
    // One entry into the list at the top or the bottom; the slot's files
    // open. True when the list moved.
    bool SlideUp(LookupView& view);
    bool SlideDown(LookupView& view);
    bool NextLiveRow(int32_t from, int direction, ResultRow& row);
    int VisibleRows() const;

    EngineContext& engine_;
    DictionarySettings& settings_;
    KeyWaiting keyWaiting_;
    std::vector<ResultRow> rows_;
    ScrollBarState scroll_;
    std::string pronunciation_;              // the pronunciation line shown
    std::vector<std::string> translation_;  // the lines of the translation field
    ScrollMove lastMove_ = ScrollMove::LineUp;
    bool listDirty_ = false;
};

// The live translations of the entry at node `offset` of `slot`, translations
// first, then the grammar notes (with the grammar separator in front), read
// from the files: the whole entry, even when the translation field showed
// only its start. False when the files cannot be read or the node no longer
// holds the live entry `word`.
bool ReadShownEntry(EngineContext& engine, int slot, int32_t offset, const std::string& word,
                    std::vector<std::string>& translations);

}  // namespace lex
