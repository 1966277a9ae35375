#include "core/lookup/lookup_session.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "core/engine/trim_word.h"

namespace lex {

namespace {

// The pronunciation line of an entry: "[...]", or empty when it trims to nothing.
std::string PronunciationLine(std::string pronunciation) {
    TrimWord(pronunciation);
    return pronunciation.empty() ? std::string() : "[" + pronunciation + "]";
}

}  // namespace

LookupSession::LookupSession(EngineContext& engine, DictionarySettings& settings, KeyWaiting keyWaiting)
    : engine_(engine), settings_(settings), keyWaiting_(std::move(keyWaiting)) {}

int LookupSession::VisibleRows() const { return std::max(0, settings_.VisibleRows); }

void LookupSession::NewScrollBar() { scroll_ = ScrollBarState(); }

// --- The scroll bar ---------------------------------------------------------------

void LookupSession::SetScrollPosition(int position) {
    scroll_.Position = std::clamp(position, scroll_.Min, std::max(scroll_.Min, scroll_.Max));
}

void LookupSession::PlaceScrollBar(const KeyPosition& place, LookupView& view) {
    scroll_.Min = 1;
    scroll_.Max = std::max(1, place.Records - 2);
    SetScrollPosition(place.Position >= 0 ? place.Position : scroll_.Position);
    view.ScrollBarChanged = true;
}

bool LookupSession::PlaceScrollBar(const std::string& word, LookupView& view) {
    KeyPosition place;
    if (WordKeyPosition(engine_, Slot(), word, place) != 1) return false;
    PlaceScrollBar(place, view);
    return true;
}

// --- Looking a word up ---------------------------------------------------------------

void LookupSession::TakeRows(int count, std::vector<ResultRow>& rows, LookupView& view) {
    view.List = ListChange::Refilled;
    listDirty_ = true;
    if (count < 0) {
        rows_.clear();
        view.Failures.push_back(LookupFailure::FilesInaccessible);
        return;
    }
    rows_ = std::move(rows);
    const size_t kept = std::min(static_cast<size_t>(count), static_cast<size_t>(VisibleRows()));
    if (rows_.size() > kept) rows_.resize(kept);
}

LookupView LookupSession::Look(const std::string& word, bool moveScrollBar) {
    LookupView view;
    const std::string current = word.substr(0, std::min(word.size(), kCurrentWordLength));
    settings_.CurrentWord = current;
    // The word's place in the key index is read while the slot is open for
    // the lookup; when the slot cannot be opened, the key index is tried on
    // its own, so that the failure is the one of the file that fails.
    WordLookup found;
    const int count = LookupWordQuietly(engine_, current, Slot(), moveScrollBar, keyWaiting_, found);
    if (!found.Opened && moveScrollBar && !PlaceScrollBar(current, view)) {
        view.ClearTranslation = true;
        view.Failures.push_back(LookupFailure::FilesInaccessible);
        return view;
    }
    if (found.Opened && moveScrollBar) PlaceScrollBar(found.Key, view);
    view.LookedUp = true;
    view.ClearTranslation = true;
    view.Pronunciation = found.Pronunciation;
    view.Translation = std::move(found.Text);
    TakeRows(count, found.Rows, view);
    return view;
}

LookupView LookupSession::LookUp(const std::string& word) { return Shown(Look(word, true)); }

LookupView LookupSession::LookUpKeepingScrollBar(const std::string& word) { return Shown(Look(word, false)); }

LookupView LookupSession::GoTo(int slot, const std::string& word) {
    const std::string going = word;  // `word` may be the current word itself
    settings_.CurrentSlot = IsValidSlot(slot) ? slot : 0;
    rows_.clear();
    LookupView view = Look(going, true);
    view.List = ListChange::Refilled;
    view.Word = settings_.CurrentWord;
    return Shown(std::move(view));
}

// --- The entry shown -----------------------------------------------------------------

LookupView LookupSession::Shown(LookupView view) {
    if (view.ClearTranslation) translation_.clear();
    translation_.insert(translation_.end(), view.Translation.Lines.begin(), view.Translation.Lines.end());
    if (view.Pronunciation) pronunciation_ = *view.Pronunciation;
    return view;
}

LookupShown LookupSession::ShownEntry() const {
    LookupShown shown;
    shown.Slot = Slot();
    shown.Word = settings_.CurrentWord;
    shown.Pronunciation = pronunciation_;
    shown.TranslationLines = translation_;
    return shown;
}

// --- Selecting a line --------------------------------------------------------------

LookupView LookupSession::Select(int line) { return Shown(SelectLine(line)); }

LookupView LookupSession::SelectLine(int line) {
    LookupView view;
    EngineContext& ctx = engine_;
    const int slot = Slot();
    if (line >= static_cast<int>(rows_.size())) line = -1;  // a line the rows do not back
    if (line >= 0) {
        settings_.CurrentWord = rows_[line].Word;
        view.Word = rows_[line].Word;
    }
    view.ClearTranslation = true;
    if (line < 0) return view;

    const ResultRow row = rows_[line];
    if (OpenSlotFiles(ctx, slot, kOpenReadShared) != 1) {
        view.Failures.push_back(LookupFailure::FilesCorrupted);
        return view;
    }
    if (ReadNodeAt(ctx, row.Offset) != 1) {
        CloseSlotFiles(ctx);
        return view;
    }
    view.Pronunciation = PronunciationLine(ctx.Node.Pronunciation);
    CloseSlotFiles(ctx);
    if (ReadEntryText(ctx, row.Node.FirstTranslation, row.Node.Flags, keyWaiting_, view.Translation) != 1) {
        view.Failures.push_back(LookupFailure::FilesCorrupted);
        return view;
    }
    ctx.Hooks.AddToHistory(settings_.CurrentWord, slot);
    if (!PlaceScrollBar(settings_.CurrentWord, view)) view.Failures.push_back(LookupFailure::FilesInaccessible);

    listDirty_ = true;
    if (OpenSlotFiles(ctx, slot, kOpenReadShared) != 1) {
        view.Failures.push_back(LookupFailure::FilesCorrupted);
        return view;
    }
    const int last = VisibleRows() - 1;
    if (line == 0) {
        if (SlideUp(view)) view.SelectLine = 1;
    } else if (line == last) {
        if (SlideDown(view)) view.SelectLine = last - 1;
    }
    CloseSlotFiles(ctx);
    return view;
}

// --- Sliding by one entry ----------------------------------------------------------

bool LookupSession::NextLiveRow(int32_t from, int direction, ResultRow& row) {
    NodeWalk walk = WalkFromNode(Slot(), from, direction);
    std::vector<WalkEntry> found;
    if (StepNodeWalk(engine_, walk, INT_MAX, 1, found) < 0 || found.empty()) return false;
    row = std::move(found.front());
    return true;
}

bool LookupSession::SlideUp(LookupView& view) {
    if (rows_.empty()) return false;
    ResultRow before;
    if (!NextLiveRow(rows_[0].Node.Previous, -1, before)) return false;
    const size_t visible = static_cast<size_t>(VisibleRows());
    if (rows_.size() >= visible) rows_.resize(visible > 0 ? visible - 1 : 0);
    rows_.insert(rows_.begin(), std::move(before));
    view.List = ListChange::EntryAtTop;
    return true;
}

bool LookupSession::SlideDown(LookupView& view) {
    const size_t visible = static_cast<size_t>(VisibleRows());
    // A list shorter than the window is at the end of the slot already.
    if (visible == 0 || rows_.size() < visible) return false;
    ResultRow after;
    if (!NextLiveRow(rows_[visible - 1].Node.Next, 1, after)) return false;
    rows_.erase(rows_.begin());
    rows_.push_back(std::move(after));
    view.List = ListChange::EntryAtBottom;
    return true;
}

// --- Scrolling ---------------------------------------------------------------------

LookupView LookupSession::Scroll(ScrollMove move, int thumb) { return Shown(ScrollBy(move, thumb)); }

LookupView LookupSession::ScrollBy(ScrollMove move, int thumb) {
    LookupView view;
    EngineContext& ctx = engine_;
    const int slot = Slot();
    int position = scroll_.Position;
    switch (move) {
    case ScrollMove::LineUp: position -= 1; break;
    case ScrollMove::LineDown: position += 1; break;
    case ScrollMove::PageUp: position -= VisibleRows(); break;
    case ScrollMove::PageDown: position += VisibleRows(); break;
    case ScrollMove::ThumbPosition:
    case ScrollMove::ThumbTrack: position = thumb; break;
    case ScrollMove::Top: position = scroll_.Min; break;
    case ScrollMove::Bottom: position = scroll_.Max; break;
    case ScrollMove::End:
    case ScrollMove::Other: break;
    }
    const ScrollBarState before = scroll_;
    SetScrollPosition(position);
    view.ScrollBarChanged = !(scroll_ == before);

    if (OpenSlotFiles(ctx, slot, kOpenReadShared) != 1) {
        view.ClearTranslation = true;
        view.Failures.push_back(LookupFailure::FilesInaccessible);
        return view;
    }
    if (move == ScrollMove::LineUp) {
        listDirty_ = SlideUp(view) || listDirty_;
    } else if (move == ScrollMove::LineDown) {
        listDirty_ = SlideDown(view) || listDirty_;
    }
    CloseSlotFiles(ctx);
    const bool afterLine = lastMove_ == ScrollMove::LineUp || lastMove_ == ScrollMove::LineDown;
    lastMove_ = move;
    if (afterLine || move != ScrollMove::End) return view;

    // A page, thumb, top or bottom move has ended: the list from the key
    // record before the scroll bar's position.
    int32_t node = 0;
    const int found = KeyRecordNode(ctx, slot, scroll_.Position - 1, node);
    if (found != 1) {
        view.Failures.push_back(found == -1 ? LookupFailure::FilesInaccessible : LookupFailure::FilesCorrupted);
        return view;
    }
    std::vector<ResultRow> rows;
    const int count = FillRowsFromNode(ctx, node, rows);
    view.ClearTranslation = true;
    TakeRows(count, rows, view);
    return view;
}

// --- The entry of a dialog -------------------------------------------------------------

bool ReadShownEntry(EngineContext& engine, int slot, int32_t offset, const std::string& word,
                    std::vector<std::string>& translations) {
    if (offset <= 0) return false;
    EngineContext& ctx = engine;
    if (OpenSlotFiles(ctx, slot, kOpenReadShared) != 1) return false;
    std::vector<std::string> all;
    // The node must still be the shown word's (the list line was taken with it).
    const bool ok = ReadNodeAt(ctx, offset) == 1 && !ctx.Node.Node.Deleted() && ctx.Node.Word == word &&
                    ReadLiveTranslations(ctx, ctx.Node.Node.FirstTranslation, ctx.Node.Node.Flags, all) == 1;
    CloseSlotFiles(ctx);
    if (!ok) return false;
    const char note = ctx.Settings.GrammarSeparator;
    translations.clear();
    for (const std::string& t : all)
        if (t.empty() || t[0] != note) translations.push_back(t);
    for (const std::string& t : all)
        if (!t.empty() && t[0] == note) translations.push_back(t);
    return true;
}

}  // namespace lex
