#include "word_tokenizer.h"

namespace lexbulk {

namespace {
constexpr unsigned char kFirstWordByte = 65;
}

void WordTokenizer::Feed(const char* data, size_t size) {
    if (ended_) return;
    consumed_ += next_;
    buffer_.erase(0, next_);
    next_ = 0;
    const size_t old = buffer_.size();
    buffer_.append(data, size);
    for (size_t i = old; i < buffer_.size(); ++i)
        buffer_[i] = static_cast<char>(ToWindows1250(code_, static_cast<unsigned char>(buffer_[i])));
}

TokenResult WordTokenizer::Next(std::string& word) {
    while (next_ < buffer_.size()) {
        const char c = buffer_[next_++];
        if (static_cast<unsigned char>(c) >= kFirstWordByte) {
            if (word_.size() < kMaxLoadedWordBytes) word_ += c;
            continue;
        }
        if (!word_.empty()) {
            word = std::move(word_);
            word_.clear();
            return TokenResult::kWord;
        }
    }
    if (!ended_) return TokenResult::kNeedInput;
    if (!word_.empty()) {
        word = std::move(word_);
        word_.clear();
        return TokenResult::kWord;
    }
    return TokenResult::kEnd;
}

}  // namespace lexbulk
