#include "load_words.h"

#include "core/engine/trim_word.h"
#include "core/texts/text_ids.h"

namespace lexbulk {

MissingWords::MissingWords(lex::EngineContext& ctx, int slot, TextCode code)
    : ctx_(ctx), slot_(slot), tokenizer_(code), source_(ctx.Files) {}

bool MissingWords::Open(const std::string& path) { return source_.Open(path); }

int MissingWords::Next(std::string& word, int& errorText) {
    for (;;) {
        switch (tokenizer_.Next(word)) {
        case TokenResult::kNeedInput: {
            const int32_t n = source_.Next(chunk_);
            if (n < 0) {
                // A read error is no end of the text: the words after it would be skipped.
                errorText = lex::kTextCannotOpenGivenFile;
                source_.Close();
                return -1;
            }
            if (n == 0) {
                tokenizer_.EndInput();
            } else {
                tokenizer_.Feed(chunk_, static_cast<size_t>(n));
            }
            continue;
        }
        case TokenResult::kEnd:
            source_.Close();
            return 0;
        case TokenResult::kWord:
            break;
        }
        if (lex::OpenSlotFiles(ctx_, slot_, lex::kOpenReadShared) != 1) {
            errorText = lex::kTextDataFilesInaccessible;
            source_.Close();
            return -1;
        }
        const int found = lex::FindWord(ctx_, word);
        const bool there = found == 1 && ctx_.ExactMatch == 1;
        lex::CloseSlotFiles(ctx_);
        if (found == -1) {
            errorText = lex::kTextDataFilesCorrupted;
            source_.Close();
            return -1;
        }
        if (!there) return 1;
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

namespace {

std::string Trimmed(std::string text) {
    if (text.size() > lex::kMaxTextLength) text.resize(lex::kMaxTextLength);
    lex::TrimWord(text);
    return text;
}

// Adds the lines to one slot; the log is open. 1 or a message text id.
int AddSide(lex::EngineContext& ctx, int slot, const std::vector<std::pair<std::string, std::string>>& words,
            const std::vector<std::string>& translations) {
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenWriteDenyWrite) != 1) return lex::kTextEntryLocked;
    lex::SetActionSlot(ctx, slot);
    for (const auto& w : words) {
        for (const std::string& line : translations) {
            std::string tr = Trimmed(line);
            if (w.first.empty() || tr.empty()) continue;
            if (lex::AddEntry(ctx, w.first, w.second, tr, 1) == -1) {
                const int text = EngineFailureText(ctx);
                lex::CloseSlotFiles(ctx);
                return text;
            }
        }
    }
    lex::CloseSlotFiles(ctx);
    return 1;
}

}  // namespace

int AddBothSides(lex::EngineContext& ctx, int slot, const BothSidesEntry& entry) {
    if (lex::OpenActionLog(ctx) != 1) return lex::kTextEntryLocked;
    int result = 1;
    const std::string word = Trimmed(entry.Word);
    if (!word.empty()) {
        std::string pron = entry.Pronunciation;
        if (pron.size() > lex::kMaxTextLength) pron.resize(lex::kMaxTextLength);
        result = AddSide(ctx, slot, {{word, pron}}, entry.Translations);
    }
    const std::string reverse = Trimmed(entry.ReverseTranslation);
    if (result == 1 && !reverse.empty()) {
        std::vector<std::pair<std::string, std::string>> words;
        for (size_t i = 0; i < entry.ReverseWords.size(); ++i) {
            std::string pron = i < entry.ReversePronunciations.size() ? entry.ReversePronunciations[i] : std::string();
            if (pron.size() > lex::kMaxTextLength) pron.resize(lex::kMaxTextLength);
            words.emplace_back(Trimmed(entry.ReverseWords[i]), pron);
        }
        result = AddSide(ctx, lex::CounterpartSlot(slot), words, {reverse});
    }
    lex::CloseActionLog(ctx);
    return result;
}

}  // namespace lexbulk
