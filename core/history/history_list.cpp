#include "core/history/history_list.h"

#include <algorithm>
#include <new>

#include "core/engine/trim_word.h"

namespace lex {

namespace {
const std::string kEmpty;

std::string Trimmed(const std::string& word) {
    std::string out = word;
    TrimWord(out);
    return out;
}

std::string Cut(const std::string& text) {
    size_t zero = text.find('\0');
    std::string out = zero == std::string::npos ? text : text.substr(0, zero);
    if (out.size() > static_cast<size_t>(HistoryList::kTextSize - 1)) out.resize(HistoryList::kTextSize - 1);
    return out;
}
}  // namespace

void HistoryList::ResetHistory() {
    allocated_ = false;
    texts_.clear();
    slots_.clear();
}

int HistoryList::AllocHistory(int32_t& historySize) {
    if (historySize < kMinHistorySize) historySize = kMinHistorySize;
    if (historySize > kMaxHistorySize) historySize = kMaxHistorySize;
    FreeHistory();
    try {
        texts_.assign(static_cast<size_t>(historySize), std::string());
        slots_.assign(static_cast<size_t>(historySize), kNoSlot);
    } catch (const std::bad_alloc&) {
        FreeHistory();
        return -1;
    }
    allocated_ = true;
    return 1;
}

int HistoryList::ResizeHistory(int32_t& historySize) {
    int32_t size = historySize;
    if (size < kMinHistorySize) size = kMinHistorySize;
    if (size > kMaxHistorySize) size = kMaxHistorySize;
    try {
        std::vector<std::string> texts(texts_.begin(), texts_.begin() + std::min<size_t>(texts_.size(), size));
        std::vector<int32_t> slots(slots_.begin(), slots_.begin() + std::min<size_t>(slots_.size(), size));
        texts.resize(static_cast<size_t>(size));
        slots.resize(static_cast<size_t>(size), kNoSlot);
        texts_.swap(texts);
        slots_.swap(slots);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    historySize = size;
    allocated_ = true;
    return 1;
}

void HistoryList::FreeHistory() {
    std::vector<std::string>().swap(texts_);
    std::vector<int32_t>().swap(slots_);
    allocated_ = false;
}

void HistoryList::AddToHistory(const std::string& word, int32_t currentSlot) {
    if (!allocated_ || texts_.empty()) return;
    std::string text = Cut(Trimmed(word));
    if (text.empty()) return;  // an empty entry means a free place
    size_t from = texts_.size() - 1;  // not found: the last entry drops out
    for (size_t i = 0; i < texts_.size(); ++i) {
        if (texts_[i] == text) {
            from = i;
            break;
        }
    }
    for (size_t i = from; i > 0; --i) {
        texts_[i] = std::move(texts_[i - 1]);
        slots_[i] = slots_[i - 1];
    }
    texts_[0] = std::move(text);
    slots_[0] = IsValidSlot(currentSlot) ? currentSlot : kNoSlot;
}

const std::string& HistoryList::Text(int i) const {
    return i >= 0 && i < Size() ? texts_[static_cast<size_t>(i)] : kEmpty;
}

int32_t HistoryList::Slot(int i) const {
    return i >= 0 && i < Size() ? slots_[static_cast<size_t>(i)] : kNoSlot;
}

bool HistoryList::SetEntry(int i, const std::string& text, int32_t slot) {
    if (i < 0 || i >= Size()) return false;
    texts_[static_cast<size_t>(i)] = Cut(text);
    slots_[static_cast<size_t>(i)] = IsValidSlot(slot) ? slot : kNoSlot;
    return true;
}

}  // namespace lex
