#include "load_words.h"

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
        // A word that begins with the grammar separator can never be added.
        if (lex::IsGrammarNoteWord(word, ctx_.Settings.GrammarSeparator)) continue;
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

int AddBothSides(lex::EngineContext& ctx, int slot, const BothSidesEntry& entry) {
    // Refused before anything is written, as the dictionary's add refuses it:
    // the engine would store nothing for such a word and report it added.
    const char separator = ctx.Settings.GrammarSeparator;
    if (lex::IsGrammarNoteWord(entry.Word, separator) ||
        (!lex::TrimmedField(entry.ReverseTranslation).empty() &&
         !lex::ReverseWordsAccepted(entry.Translations, entry.ReverseWords, separator)))
        return lex::kTextWordIsGrammarNote;
    lex::EngineFailure failure = lex::EngineFailure::None;
    const int result = lex::AddBothSidesInTurn(ctx, slot, entry, failure);
    if (result == lex::kCommandNoAccess) return lex::kTextEntryLocked;
    return result == -1 ? EngineFailureText(failure) : result;
}

}  // namespace lexbulk
