#include "text_translator.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/engine/collation.h"

namespace lexora {

namespace {
#include "unicode_pages.inc"
}  // namespace

bool IsWordByte(unsigned char byte) {
    if (byte >= 127) return true;
    if (byte == '\'') return true;
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool WordReader::Next(std::string& word) {
    word.clear();
    const size_t n = text_.size();
    while (position_ < n && !IsWordByte(static_cast<unsigned char>(text_[position_]))) ++position_;
    if (position_ >= n) return false;
    const size_t start = position_;
    while (position_ < n && position_ - start < kMaxTranslatedWord &&
           IsWordByte(static_cast<unsigned char>(text_[position_])))
        ++position_;
    word.assign(text_.substr(start, position_ - start));
    return true;
}

std::string SourceTextFromFile(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    const size_t n = bytes.size();
    size_t i = 0;
    auto isBreak = [&](size_t at) { return bytes[at] == '\r' || bytes[at] == '\n'; };
    while (i < n) {
        const size_t start = out.size();
        size_t length = 0;
        while (i < n && !isBreak(i) && length < kSourceLineCut) {
            out += bytes[i] == '\0' ? ' ' : bytes[i];
            ++i;
            ++length;
        }
        const bool broken = i < n && isBreak(i);
        if (broken) ++i;  // the line break itself
        if (length > 0) {
            out += "\r\n";
        } else if (broken && i < n && isBreak(i)) {
            // An empty line counts when another line break follows it.
            ++i;
            out.resize(start);
            out += "\r\n";
        }
    }
    return out;
}

int BestCandidate(const std::vector<lex::ResultRow>& rows, int count, const std::string& word, int slot,
                  const lex::DictionarySettings& settings) {
    const int n = std::min<int>(count, static_cast<int>(rows.size()));
    int best = -1;
    int best1 = 1000, best2 = 1000, best3 = 1000;
    const int lw = static_cast<int>(word.size());
    for (int i = 0; i < n; ++i) {
        const std::string& c = rows[i].Word;
        const int lc = static_cast<int>(c.size());
        // The match lengths are signed: negative when the candidate is a proper
        // prefix of the word or is smaller at the first difference. The sign
        // stays in the score, so such a candidate scores worse than one of the
        // same common length that is larger there.
        const int s1 = std::abs(2 * lex::SlotMatchLength(c, word, slot, settings) - lc - lw);
        const int s2 = std::abs(2 * lex::SlotMatchLengthPlain(c, word, slot, 1) - lc - lw);
        const int s3 = std::abs(2 * lex::SlotMatchLengthPlain(c, word, slot, 0) - lc - lw);
        const bool better = s1 < best1 || (s1 == best1 && (s2 < best2 || (s2 == best2 && s3 < best3)));
        if (best < 0 || better) {
            best = i;
            best1 = s1;
            best2 = s2;
            best3 = s3;
        }
    }
    return best;
}

std::u16string ToUtf16(std::string_view text, unsigned codePage) {
    const char16_t* upper = codePage == 1250 ? kUpperHalf1250 : codePage == 1251 ? kUpperHalf1251 : kUpperHalf1252;
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        out += b < 0x80 ? static_cast<char16_t>(b) : upper[b - 0x80];
    }
    return out;
}

TranslationWriter::TranslationWriter(ByteSink& sink, OutputMode mode, CodePageOfSlot codePage)
    : sink_(sink), mode_(mode), codePage_(std::move(codePage)) {}

bool TranslationWriter::Begin() {
    if (mode_ != OutputMode::kUtf16) return true;
    static const char kMark[2] = {'\xFF', '\xFE'};
    ok_ = ok_ && sink_.Write(kMark, 2);
    return ok_;
}

bool TranslationWriter::Write(const std::string& text, int slot) {
    if (!ok_) return false;
    std::string bytes;
    if (mode_ == OutputMode::kEightBit) {
        bytes.reserve(text.size() + 2);
        for (char c : text) {
            if (c == '\n') bytes += '\r';
            bytes += c;
        }
    } else {
        const size_t lf = text.find('\n');
        std::u16string units = ToUtf16(std::string_view(text).substr(0, lf), codePage_ ? codePage_(slot) : 1252);
        if (lf != std::string::npos) units += u"\r\n";
        bytes.reserve(units.size() * 2);
        for (char16_t u : units) {
            bytes += static_cast<char>(u & 0xFF);
            bytes += static_cast<char>(u >> 8);
        }
    }
    if (!bytes.empty()) ok_ = sink_.Write(bytes.data(), bytes.size());
    return ok_;
}

bool SlotHasEntries(lex::EngineContext& ctx, int slot) {
    std::vector<lex::ResultRow> rows;
    return lex::FindCandidates(ctx, " ", rows, slot) >= 1;
}

TranslationRun TranslateText(lex::EngineContext& ctx, std::string_view text, const std::vector<int>& slots,
                             TranslationWriter& out) {
    TranslationRun run;
    WordReader reader(text);
    std::string word;
    std::vector<lex::ResultRow> rows;
    while (reader.Next(word)) {
        ++run.words;
        if (!out.Write(".....\n", 0)) {
            run.status = TranslationRun::kWriteFailed;
            return run;
        }
        for (int slot : slots) {
            run.slot = slot;
            out.Write(word, slot);
            out.Write(" = ", 0);
            const int count = lex::FindCandidates(ctx, word, rows, slot);
            if (count < 1) {
                run.status = TranslationRun::kNoCandidates;
                return run;
            }
            const int best = BestCandidate(rows, count, word, slot, ctx.Settings);
            const std::string headword = rows[best].Word;
            out.Write(headword, slot);
            out.Write(" = { ", slot);
            lex::LookupTranslations(ctx, headword, out, slot);  // what it could write stays
            out.Write(" }\n", 0);
            if (!out.Ok()) {
                run.status = TranslationRun::kWriteFailed;
                return run;
            }
        }
    }
    return run;
}

}  // namespace lexora
