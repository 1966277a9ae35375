#include "entry_template.h"

#include <algorithm>
#include <cstring>

#include "core/engine/collation.h"

namespace lexbulk {

const char kDefaultTemplateText[] = "$O\r\n$V\r\n$P\r\n";

namespace {

constexpr char kLineEnd = '\n';

bool FieldOf(char c, EntryField& field) {
    switch (c) {
    case 'O': case 'o': field = EntryField::kOriginal; return true;
    case 'P': case 'p': field = EntryField::kTranslation; return true;
    case 'V': case 'v': field = EntryField::kPronunciation; return true;
    default: return false;
    }
}

// The template's lines; a final empty line is dropped.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Length of a literal as the characters of the joined template.
size_t LiteralLength(const std::string& literal) {
    return literal.size() + static_cast<size_t>(std::count(literal.begin(), literal.end(), kLineEnd));
}

std::string& FieldText(TextEntry& entry, EntryField field) {
    switch (field) {
    case EntryField::kOriginal: return entry.word;
    case EntryField::kTranslation: return entry.translation;
    default: return entry.pronunciation;
    }
}

}  // namespace

int TemplateCheckTextId(TemplateCheck check) {
    switch (check) {
    case TemplateCheck::kValid: return 0;
    case TemplateCheck::kAdjacentFields: return lex::kTextFormatFieldsTogether;
    default: return lex::kTextWrongFormat;
    }
}

WordFormatTemplate::WordFormatTemplate(std::string_view editText, TextCode code) : code_(code) {
    std::vector<std::string_view> lines = SplitLines(editText);
    tokens_.emplace_back();
    for (std::string_view line : lines) {
        joinedLength_ += line.size() + 2;
        for (size_t i = 0; i < line.size(); ++i) {
            EntryField field;
            if (line[i] == '$' && i + 1 < line.size() && FieldOf(line[i + 1], field)) {
                TemplateToken token;
                token.isField = true;
                token.field = field;
                tokens_.push_back(token);
                tokens_.emplace_back();
                ++i;
                continue;
            }
            if (line[i] == '$' && i + 1 < line.size() && line[i + 1] == '$') ++i;
            tokens_.back().literal +=
                static_cast<char>(FromWindows1250(code, static_cast<unsigned char>(line[i])));
        }
        tokens_.back().literal += kLineEnd;
    }
    if (joinedLength_ >= 2) joinedLength_ -= 2;  // the last line end does not count
}

TemplateCheck WordFormatTemplate::CheckForImport() const {
    if (joinedLength_ > kMaxTemplateLength) return TemplateCheck::kTooLong;
    if (tokens_.size() > kMaxTemplateTokens) return TemplateCheck::kTooManyTokens;
    int originals = 0, translations = 0;
    bool adjacent = false;
    for (size_t i = 0; i < tokens_.size(); ++i) {
        const TemplateToken& token = tokens_[i];
        if (!token.isField) {
            if (LiteralLength(token.literal) > kMaxTemplateTokenLength) return TemplateCheck::kTokenTooLong;
            if (token.literal.empty() && i > 0 && i + 1 < tokens_.size()) adjacent = true;
            continue;
        }
        if (token.field == EntryField::kOriginal) ++originals;
        if (token.field == EntryField::kTranslation) ++translations;
    }
    if (originals != 1 || translations != 1) return TemplateCheck::kWrongFieldCount;
    if (adjacent) return TemplateCheck::kAdjacentFields;
    return TemplateCheck::kValid;
}

int WordFormatTemplate::Expand(std::string_view word, std::string_view pronunciation,
                               std::string_view translation, std::string& out) const {
    int originals = 0;
    for (const TemplateToken& token : tokens_) {
        if (!token.isField) {
            for (char c : token.literal) {
                if (c == kLineEnd) out += "\r\n";
                else out += c;
            }
            continue;
        }
        switch (token.field) {
        case EntryField::kOriginal:
            out += ConvertedFromWindows1250(code_, word);
            ++originals;
            break;
        case EntryField::kTranslation: out += ConvertedFromWindows1250(code_, translation); break;
        case EntryField::kPronunciation: out.append(pronunciation); break;
        }
    }
    return originals;
}

EntryExtractor::EntryExtractor(const WordFormatTemplate& format)
    : tokens_(format.tokens()), code_(format.code()),
      valid_(format.CheckForImport() == TemplateCheck::kValid) {}

void EntryExtractor::Feed(const char* data, size_t size) {
    if (!ended_) buffer_.append(data, size);
}

void EntryExtractor::EndInput() { ended_ = true; }

// Matches `literal` at absolute offset `at`. A line end takes CR LF, LF or
// CR; with `endMayEnd` the end of the input also stands for the line ends at
// the literal's end.
EntryExtractor::Match EntryExtractor::MatchAt(uint64_t at, const std::string& literal, bool endMayEnd,
                                              uint64_t& matchEnd) const {
    const uint64_t end = base_ + buffer_.size();
    uint64_t i = at;
    for (size_t k = 0; k < literal.size(); ++k) {
        const char want = literal[k];
        if (i == end) {
            if (!ended_) return Match::kNeedInput;
            if (endMayEnd && literal.find_first_not_of(kLineEnd, k) == std::string::npos) {
                matchEnd = end;
                return Match::kFound;
            }
            return Match::kNone;
        }
        const char got = buffer_[i - base_];
        if (want != kLineEnd) {
            if (got != want) return Match::kNone;
            ++i;
            continue;
        }
        if (got == '\n') {
            ++i;
        } else if (got == '\r') {
            ++i;
            if (i == end && !ended_) return Match::kNeedInput;  // CR LF or a bare CR?
            if (i < end && buffer_[i - base_] == '\n') ++i;
        } else {
            return Match::kNone;
        }
    }
    matchEnd = i;
    return Match::kFound;
}

// The first match of `literal` at or after searchFrom_.
EntryExtractor::Match EntryExtractor::Find(const std::string& literal, bool endMayEnd,
                                           uint64_t& matchStart, uint64_t& matchEnd) {
    const uint64_t end = base_ + buffer_.size();
    const char first = literal[0];
    for (uint64_t at = searchFrom_;; ++at) {
        if (first != kLineEnd && at < end) {
            // Skip straight to the next byte that can begin a match.
            const void* hit = std::memchr(buffer_.data() + (at - base_), first, end - at);
            at = hit ? base_ + static_cast<uint64_t>(static_cast<const char*>(hit) - buffer_.data()) : end;
        }
        searchFrom_ = at;
        switch (MatchAt(at, literal, endMayEnd, matchEnd)) {
        case Match::kFound: matchStart = at; return Match::kFound;
        case Match::kNeedInput: return Match::kNeedInput;
        case Match::kNone:
            if (at >= end) return Match::kNone;
            break;
        }
    }
}

void EntryExtractor::Compact() {
    uint64_t keep = pending_ && !pendingTooLong_ ? fieldStart_ : searchFrom_;
    keep = std::max(keep, base_);
    buffer_.erase(0, static_cast<size_t>(keep - base_));
    base_ = keep;
}

void EntryExtractor::TakeField(uint64_t end) {
    std::string text = buffer_.substr(static_cast<size_t>(fieldStart_ - base_),
                                      static_cast<size_t>(end - fieldStart_));
    if (pendingField_ != EntryField::kPronunciation) ConvertToWindows1250(code_, text);
    // A zero byte in a text file is junk like any other control byte: it
    // becomes a blank instead of ending the field. The field is cut to its
    // first bytes, then trimmed (the cut may end in a blank).
    std::replace(text.begin(), text.end(), '\0', ' ');
    if (text.size() > kMaxEntryTextBytes) text.resize(kMaxEntryTextBytes);
    lex::TrimWord(text);
    FieldText(current_, pendingField_) = std::move(text);
}

ExtractResult EntryExtractor::Next(TextEntry& entry) {
    if (!valid_) return ExtractResult::kInvalidTemplate;
    if (finished_) return final_;
    while (token_ < tokens_.size()) {
        const TemplateToken& token = tokens_[token_];
        if (token.isField) {
            pending_ = true;
            pendingField_ = token.field;
            pendingTooLong_ = false;
            fieldStart_ = pos_;
            ++token_;
            continue;
        }
        if (token.literal.empty()) {
            ++token_;
            continue;
        }
        uint64_t matchStart = 0, matchEnd = 0;
        const bool last = token_ + 1 == tokens_.size();
        const Match found = Find(token.literal, last, matchStart, matchEnd);
        if (pending_ && searchFrom_ - fieldStart_ > kMaxFieldBytes) pendingTooLong_ = true;
        if (found == Match::kNeedInput) {
            Compact();
            return ExtractResult::kNeedInput;
        }
        if (found == Match::kNone) {
            finished_ = true;
            return ExtractResult::kEnd;
        }
        if (pending_) {
            if (pendingTooLong_ || matchStart - fieldStart_ > kMaxFieldBytes) {
                finished_ = true;
                final_ = ExtractResult::kFieldTooLong;
                return final_;
            }
            TakeField(matchStart);
            pending_ = false;
        }
        pos_ = searchFrom_ = matchEnd;
        ++token_;
    }
    entry = std::move(current_);
    current_ = TextEntry();
    token_ = 0;
    return ExtractResult::kEntry;
}

}  // namespace lexbulk
