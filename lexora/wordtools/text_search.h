// The full-text search without its window: the matcher that finds a string
// inside headwords and translations by a slot's collation, the search state
// kept between runs (so that a stopped search can be continued), and the
// search itself as a stepper that reads the slot's nodes in file order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/jobs/stepper.h"
#include "core/engine/engine.h"

namespace lexora {

// Finds every place where a string of the needle's byte length equals the
// needle by a slot's collation (the comparison of the slot's words).
class CollationMatcher {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);
    CollationMatcher(const std::string& needle, int slot, const lex::DictionarySettings& settings);
    // The first start at or after `from` that matches; kNone when there is none.
    size_t Find(const std::string& text, size_t from) const;

private:
    bool Equal(const std::string& part) const;
    std::string needle_;
    int slot_;
    int sortType_;
    const lex::DictionarySettings& settings_;
    std::vector<uint8_t> weights_;  // of the needle
    bool plain_ = true;             // the weights decide (no sentinel or note rule applies)
    mutable std::string part_;
    mutable std::vector<uint8_t> partWeights_;
};

// What a search looks for and how far it has come; outlives the dialog, so
// that "Locate Next" continues where the last search stopped.
struct TextSearchState {
    // The string searched for, at most 254 bytes, once in the code page of
    // the searched slot's headwords and once in that of its translations
    // (the counterpart's language): each side is compared in its own bytes.
    std::string Text;
    std::string TranslationText;
    int Slot = -1;                  // the searched slot
    bool InHeadwords = true;
    bool InTranslations = false;
    int32_t ResumeOffset = 0;       // node file offset where a continued search starts
    int64_t TotalRecords = 0;       // nodes in the node file when the search started
    int64_t ProcessedRecords = 0;   // nodes examined so far
    bool Continuable = false;       // from the start of a search until it ends normally
};

// A match: the entry's headword, and where the string was found.
struct SearchHit {
    int32_t Node = 0;
    std::string Headword;
    bool InTranslation = false;
    std::string Text;   // the headword or the translation text
    size_t Start = 0;   // where in Text
};

// Asked at every match; true goes on with the search, false stops it there
// (it can then be continued with the next node). The job may be cancelled
// from inside (it then asks nothing more).
class SearchHitHandler {
public:
    virtual bool OnHit(const SearchHit& hit) = 0;

protected:
    ~SearchHitHandler() = default;
};

// Reads the nodes of `state.Slot` in file order, one node per unit, on its own
// engine context (whose files stay open, read-only and shared, while the search
// runs and are closed when it ends, stops or is cancelled).
// Result codes: kSearchFinished (end of the node file), kSearchStopped (the
// handler said no); failures kSearchCannotOpen, kSearchCorrupt.
class TextSearchJob : public lex::Stepper {
public:
    enum Code { kSearchFinished = 1, kSearchStopped = 2, kSearchCannotOpen = -1, kSearchCorrupt = -2 };

    // `readyText` follows the percentage on the progress line ("37 % Ready").
    TextSearchJob(lex::EngineContext& ctx, TextSearchState& state, SearchHitHandler& hits,
                  std::string readyText);
    ~TextSearchJob() override;

    // The next Start begins a new search (from the first node) or continues
    // the last one at state.ResumeOffset.
    void SetContinue(bool resume) { continue_ = resume; }

    lex::JobProgress Progress() const override;

protected:
    bool OnStart() override;
    bool DoUnit() override;
    void OnCancel() override;

private:
    bool Stop(int code, bool failure);
    bool MatchNode(const lex::WalkEntry& entry);

    lex::EngineContext& ctx_;
    TextSearchState& state_;
    SearchHitHandler& hits_;
    std::string readyText_;
    bool continue_ = false;
    int32_t next_ = 0;   // offset of the next node to read
    int64_t end_ = 0;    // end of the last whole node in the file
    std::vector<lex::WalkEntry> entries_;
    std::optional<CollationMatcher> headwords_;     // with the searched slot's collation
    std::optional<CollationMatcher> translations_;  // with its counterpart's
};

// The progress line: "%ld %% %s" with processed x 100 / total (0 without a total).
std::string SearchProgressLine(int64_t processed, int64_t total, const std::string& readyText);

}  // namespace lexora
