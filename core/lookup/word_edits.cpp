// The word rules of the add, change and delete commands.
#include "core/lookup/word_edits.h"

#include <algorithm>
#include <utility>

#include "core/engine/slots.h"
#include "core/engine/trim_word.h"

namespace lex {

namespace {

std::string Cut(std::string text) {
    if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
    return text;
}

bool BeginsWith(const std::string& trimmed, char separator) {
    return !trimmed.empty() && trimmed[0] == separator;
}

// The words one side of an add writes, each with its pronunciation.
using SideWords = std::vector<std::pair<std::string, std::string>>;

// The slot's side of an entry: its word, or nothing when the word is empty.
SideWords ForwardWords(const WordEntry& e) {
    const std::string word = TrimmedField(e.Word);
    if (word.empty()) return {};
    return {{word, Cut(e.Pronunciation)}};
}

// The counterpart's side: every reverse word with the pronunciation of its
// line (empty where the pronunciations have fewer lines).
SideWords ReverseWords(const WordEntry& e) {
    SideWords words;
    for (size_t i = 0; i < e.ReverseWords.size(); ++i) {
        const std::string pron = i < e.ReversePronunciations.size() ? e.ReversePronunciations[i] : std::string();
        words.emplace_back(TrimmedField(e.ReverseWords[i]), Cut(pron));
    }
    return words;
}

// Adds every translation to every word of one side (the slot's files are
// open); empty words and translations are passed over. 1, or -1 at the first
// failure; an entry already there is no failure.
int AddSideEntries(EngineContext& ctx, const SideWords& words, const std::vector<std::string>& translations) {
    for (const auto& w : words) {
        if (w.first.empty()) continue;
        for (const std::string& line : translations) {
            std::string translation = TrimmedField(line);
            if (translation.empty()) continue;
            if (AddEntry(ctx, w.first, w.second, translation, 1) == -1) return -1;
        }
    }
    return 1;
}

}  // namespace

std::string TrimmedField(std::string text) {
    text = Cut(std::move(text));
    TrimWord(text);
    return text;
}

bool IsGrammarNoteWord(const std::string& word, char separator) {
    std::string trimmed = word;
    TrimWord(trimmed);
    return BeginsWith(trimmed, separator);
}

bool ReverseWordsAccepted(const std::vector<std::string>& translations,
                          const std::vector<std::string>& reverseWords, char separator) {
    std::vector<std::string> notes;
    for (std::string line : translations) {
        TrimWord(line);
        if (BeginsWith(line, separator)) notes.push_back(line);
    }
    for (std::string line : reverseWords) {
        TrimWord(line);
        if (BeginsWith(line, separator) && std::find(notes.begin(), notes.end(), line) == notes.end())
            return false;
    }
    return true;
}

// --- The dictionary's commands ------------------------------------------------

int AddWordCommand(EngineContext& ctx, int slot, const WordEntry& entry) {
    const SideWords forward = ForwardWords(entry);
    const std::string reverse = TrimmedField(entry.ReverseTranslation);
    SlotEdit left{slot, {}}, right{CounterpartSlot(slot), {}};
    if (!forward.empty()) left.Edit = [&] { return AddSideEntries(ctx, forward, entry.Translations); };
    if (!reverse.empty()) right.Edit = [&] { return AddSideEntries(ctx, ReverseWords(entry), {reverse}); };
    return RunSlotCommand(ctx, left, right);
}

int ChangeWordCommand(EngineContext& ctx, int slot, const WordEntry& entry, const std::string& oldWord,
                      const std::vector<std::string>& oldTranslations) {
    const SideWords forward = ForwardWords(entry);
    const std::string reverse = TrimmedField(entry.ReverseTranslation);
    const std::string old = Cut(oldWord);
    SlotEdit left{slot, {}}, right{CounterpartSlot(slot), {}};
    if (!forward.empty()) {
        left.Edit = [&] {
            if (DeleteWord(ctx, old) == -1) return -1;
            return AddSideEntries(ctx, forward, entry.Translations);
        };
    }
    if (!reverse.empty()) {
        right.Edit = [&] {
            // The old word goes from the reverse entry of each old translation.
            for (std::string line : oldTranslations) {
                TrimWord(line);
                if (line.empty()) continue;
                std::string translation = old;
                if (DeleteTranslation(ctx, line, translation) == -1) return -1;
            }
            return AddSideEntries(ctx, ReverseWords(entry), {reverse});
        };
    }
    return RunSlotCommand(ctx, left, right);
}

int DeleteWordCommand(EngineContext& ctx, int slot, const std::string& word,
                      const std::vector<std::string>& reverseWords, const std::string& reverseTranslation) {
    std::string w = word, reverse = reverseTranslation;
    TrimWord(w);
    TrimWord(reverse);
    SlotEdit left{slot, {}}, right{CounterpartSlot(slot), {}};
    if (!w.empty()) left.Edit = [&] { return DeleteWord(ctx, w) == -1 ? -1 : 1; };
    if (!reverse.empty()) {
        right.Edit = [&] {
            for (std::string other : reverseWords) {
                TrimWord(other);
                if (other.empty()) continue;
                std::string translation = reverse;
                if (DeleteTranslation(ctx, other, translation) == -1) return -1;
            }
            return 1;
        };
    }
    return RunSlotCommand(ctx, left, right);
}

int DeleteTranslationCommand(EngineContext& ctx, int slot, const std::string& word, const std::string& translation,
                             const std::string& reverseWord, const std::string& reverseTranslation) {
    auto side = [&ctx](std::string w, std::string t, int sideSlot) {
        TrimWord(w);
        TrimWord(t);
        SlotEdit edit{sideSlot, {}};
        if (!w.empty() && !t.empty())
            edit.Edit = [&ctx, w, t]() mutable { return DeleteTranslation(ctx, w, t) == -1 ? -1 : 1; };
        return edit;
    };
    const SlotEdit left = side(word, translation, slot);
    const SlotEdit right = side(reverseWord, reverseTranslation, CounterpartSlot(slot));
    return RunSlotCommand(ctx, left, right);
}

// --- lexbulk's add -----------------------------------------------------------

namespace {

// One side of lexbulk's add (the log is open): opens the slot's files, names
// the slot to the log, adds, closes.
int AddSideInTurn(EngineContext& ctx, int slot, const SideWords& words, const std::vector<std::string>& translations,
                  EngineFailure& failure) {
    if (OpenSlotFiles(ctx, slot, kOpenWriteDenyWrite) != 1) return kCommandNoAccess;
    SetActionSlot(ctx, slot);
    const int result = AddSideEntries(ctx, words, translations);
    if (result == -1) failure = FailureOf(ctx);
    CloseSlotFiles(ctx);
    return result;
}

}  // namespace

int AddBothSidesInTurn(EngineContext& ctx, int slot, const WordEntry& entry, EngineFailure& failure) {
    failure = EngineFailure::None;
    if (OpenActionLog(ctx) != 1) return kCommandNoAccess;
    int result = 1;
    const SideWords forward = ForwardWords(entry);
    if (!forward.empty()) result = AddSideInTurn(ctx, slot, forward, entry.Translations, failure);
    const std::string reverse = TrimmedField(entry.ReverseTranslation);
    if (result == 1 && !reverse.empty())
        result = AddSideInTurn(ctx, CounterpartSlot(slot), ReverseWords(entry), {reverse}, failure);
    CloseActionLog(ctx);
    return result;
}

}  // namespace lex
