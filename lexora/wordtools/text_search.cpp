#include "text_search.h"

#include <cinttypes>
#include <cstdio>
#include <utility>

#include "core/engine/collation.h"
#include "core/engine/slots.h"

namespace lexora {

namespace {

bool StartsWithNote(const std::string& s) {
    return !s.empty() && static_cast<uint8_t>(s[0]) == lex::kGrammarNoteByte;
}

}  // namespace

CollationMatcher::CollationMatcher(const std::string& needle, int slot, const lex::DictionarySettings& settings)
    : needle_(needle), slot_(slot), settings_(settings) {
    sortType_ = lex::IsValidSlot(slot) ? settings.SortType[slot] : 0;
    // A needle that starts with a note byte or is the high sentinel's word
    // never equals a part by the weights alone: the slot's comparison decides.
    plain_ = !needle_.empty() && !StartsWithNote(needle_) && !lex::IsHighSentinelWord(needle_);
    if (plain_) {
        std::string mapped = needle_;
        if (sortType_ == lex::kSortPersian) lex::ReverseText(mapped);
        weights_.resize(lex::kMaxWeights);
        weights_.resize(lex::WordSortBytes(mapped, weights_.data(), sortType_));
        partWeights_.resize(lex::kMaxWeights);
    }
}

bool CollationMatcher::Equal(const std::string& part) const {
    if (!plain_) return lex::CompareSlotWords(part, needle_, slot_, settings_) == 0;
    // Both are non-empty and the needle is neither a note nor the sentinel:
    // equal when the part is no note either and the weights are the same.
    if (StartsWithNote(part) || lex::IsHighSentinelWord(part)) return false;
    const std::string* mapped = &part;
    std::string reversed;
    if (sortType_ == lex::kSortPersian) {
        reversed = part;
        lex::ReverseText(reversed);
        mapped = &reversed;
    }
    const size_t n = lex::WordSortBytes(*mapped, partWeights_.data(), sortType_);
    return n == weights_.size() && std::equal(weights_.begin(), weights_.end(), partWeights_.begin());
}

size_t CollationMatcher::Find(const std::string& text, size_t from) const {
    const size_t length = needle_.size();
    if (text.size() < length) return kNone;
    for (size_t i = from; i + length <= text.size(); ++i) {
        part_.assign(text, i, length);
        if (Equal(part_)) return i;
    }
    return kNone;
}

std::string SearchProgressLine(int64_t processed, int64_t total, const std::string& readyText) {
    const int64_t percent = total > 0 ? processed * 100 / total : 0;
    char line[64];
    std::snprintf(line, sizeof line, "%" PRId64 " %% ", percent);
    return line + readyText;
}

TextSearchJob::TextSearchJob(lex::EngineContext& ctx, TextSearchState& state, SearchHitHandler& hits,
                             std::string readyText)
    : ctx_(ctx), state_(state), hits_(hits), readyText_(std::move(readyText)) {}

TextSearchJob::~TextSearchJob() { lex::CloseSlotFiles(ctx_); }

lex::JobProgress TextSearchJob::Progress() const {
    lex::JobProgress p;
    p.done = static_cast<uint64_t>(state_.ProcessedRecords > 0 ? state_.ProcessedRecords : 0);
    p.total = static_cast<uint64_t>(state_.TotalRecords > 0 ? state_.TotalRecords : 0);
    p.text = Running() || State() == lex::JobState::Done ? SearchProgressLine(state_.ProcessedRecords,
                                                                              state_.TotalRecords, readyText_)
                                                         : std::string();
    return p;
}

bool TextSearchJob::OnStart() {
    lex::CloseSlotFiles(ctx_);
    const int slot = state_.Slot;
    if (!lex::IsValidSlot(slot) || lex::OpenSlotFiles(ctx_, slot, lex::kOpenReadShared) != 1)
        return Stop(kSearchCannotOpen, true);
    // The number of node records (the sentinels included), from the engine.
    lex::NodeFileCursor records;
    const int64_t nodes = lex::BeginNodeFileCursor(ctx_, slot, records) == 1 ? records.Count : 0;
    // The first key record names the low sentinel, where the nodes begin.
    int32_t first = 0;
    if (nodes < 1 || lex::KeyRecordNode(ctx_, slot, 0, first) != 1 || first < lex::kLowSentinelNode)
        return Stop(kSearchCorrupt, true);
    end_ = static_cast<int64_t>(lex::kFileHeaderSize) + nodes * static_cast<int64_t>(lex::WordNode::kSize);
    if (continue_) {
        next_ = state_.ResumeOffset < first ? first : state_.ResumeOffset;
    } else {
        next_ = first;
        state_.ResumeOffset = first;
        state_.TotalRecords = nodes;
        state_.ProcessedRecords = 0;
        state_.Continuable = true;
    }
    headwords_.reset();
    translations_.reset();
    if (state_.InHeadwords) headwords_.emplace(state_.Text, slot, ctx_.Settings);
    if (state_.InTranslations) translations_.emplace(state_.TranslationText, lex::CounterpartSlot(slot), ctx_.Settings);
    return true;
}

bool TextSearchJob::Stop(int code, bool failure) {
    lex::CloseSlotFiles(ctx_);
    if (failure)
        Fail(code);
    else
        SetResult(code);
    return false;
}

bool TextSearchJob::DoUnit() {
    if (next_ + static_cast<int64_t>(lex::WordNode::kSize) > end_) {
        state_.Continuable = false;
        return Stop(kSearchFinished, false);
    }
    lex::NodeWalk walk = lex::WalkFromNode(state_.Slot, next_);
    walk.WithTranslations = state_.InTranslations;
    entries_.clear();
    if (lex::StepNodeWalk(ctx_, walk, 1, 0, entries_) < 0) return Stop(kSearchCorrupt, true);
    next_ += static_cast<int32_t>(lex::WordNode::kSize);
    state_.ResumeOffset = next_;
    ++state_.ProcessedRecords;
    for (const lex::WalkEntry& entry : entries_) {
        if (MatchNode(entry)) continue;
        if (!Running()) return false;  // cancelled while a question was open
        return Stop(kSearchStopped, false);
    }
    return true;
}

bool TextSearchJob::MatchNode(const lex::WalkEntry& entry) {
    SearchHit hit;
    hit.Node = entry.Offset;
    hit.Headword = entry.Word;
    if (headwords_) {
        // Every place in the headword is one question.
        for (size_t i = headwords_->Find(entry.Word, 0); i != CollationMatcher::kNone;
             i = headwords_->Find(entry.Word, i + 1)) {
            hit.Text = entry.Word;
            hit.Start = i;
            if (!hits_.OnHit(hit) || !Running()) return false;
        }
    }
    if (translations_) {
        // One question per translation record.
        hit.InTranslation = true;
        for (const lex::EntryTranslation& t : entry.Translations) {
            std::string text = t.Text;
            if (StartsWithNote(text)) text[0] = ctx_.Settings.GrammarSeparator;
            const size_t i = translations_->Find(text, 0);
            if (i == CollationMatcher::kNone) continue;
            hit.Text = text;
            hit.Start = i;
            if (!hits_.OnHit(hit) || !Running()) return false;
        }
    }
    return true;
}

void TextSearchJob::OnCancel() { lex::CloseSlotFiles(ctx_); }

}  // namespace lexora
