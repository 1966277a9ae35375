// The word rules of the dictionary: what the add, change, delete-word and
// delete-translation commands write to a language pair (a slot and its
// counterpart), and which words they refuse as grammar notes. The word
// dialogs collect the fields and show the result; lexbulk's add dialog adds
// both sides by its own rule (AddBothSidesInTurn), beside the dictionary's.
#pragma once

#include <string>
#include <vector>

#include "core/engine/engine.h"

namespace lex {

// The fields of an add: the word with its pronunciation and translation lines
// (the slot's side), and the words of the opposite direction with their
// pronunciations and one translation (the counterpart's side). Each text is
// cut to kMaxTextLength and trimmed by the rules; pronunciations are cut only.
struct WordEntry {
    std::string Word;
    std::string Pronunciation;
    std::vector<std::string> Translations;
    std::vector<std::string> ReverseWords;
    std::vector<std::string> ReversePronunciations;
    std::string ReverseTranslation;
};

// A field as the rules read it: cut to kMaxTextLength, then trimmed.
std::string TrimmedField(std::string text);

// --- Grammar notes -----------------------------------------------------------
// Whether the word, trimmed, begins with the grammar-note separator: such a
// word is refused (it would be stored as a grammar note).
bool IsGrammarNoteWord(const std::string& word, char separator);
// Whether the reverse words may be written: a reverse word that begins with the
// separator is refused as the word is, unless it is one of the grammar notes of
// the translations (which "->" copies along); lines compared trimmed.
bool ReverseWordsAccepted(const std::vector<std::string>& translations,
                          const std::vector<std::string>& reverseWords, char separator);

// --- The dictionary's commands ------------------------------------------------
// Each is one command through RunSlotCommand (one action group over the slot
// and its counterpart) and gives its result: 1 done, kCommandNoAccess when
// the log or a slot's files cannot be opened for writing, -1 when an edit
// failed (FailureOf says why). A side whose word (or reverse translation) is
// empty after trimming is left alone.

// Add: every translation line to the word; every reverse word, with the
// pronunciation of its line, translated by the reverse translation.
int AddWordCommand(EngineContext& ctx, int slot, const WordEntry& entry);
// Change: the old word goes and the entry is added again; on the reverse side
// the old word goes from the reverse entry of each old translation first.
int ChangeWordCommand(EngineContext& ctx, int slot, const WordEntry& entry, const std::string& oldWord,
                      const std::vector<std::string>& oldTranslations);
// Delete word: the word with all its translations; on the reverse side the
// reverse translation from each reverse word.
int DeleteWordCommand(EngineContext& ctx, int slot, const std::string& word,
                      const std::vector<std::string>& reverseWords, const std::string& reverseTranslation);
// Delete translation: one translation of the word, and one of the reverse word;
// a side with an empty word or translation is left alone.
int DeleteTranslationCommand(EngineContext& ctx, int slot, const std::string& word, const std::string& translation,
                             const std::string& reverseWord, const std::string& reverseTranslation);

// --- lexbulk's add -----------------------------------------------------------
// The same additions as AddWordCommand (the same cutting, trimming, lines
// and pronunciation column), by lexbulk's own rule. It differs in:
// - no refusal before writing: lexbulk's dialog neither refuses a word that
//   begins with the grammar-note separator nor checks that the slot's code
//   page can store the fields;
// - it opens the log and each side's files itself, in turn, without the slot
//   check of RunSlotCommand;
// - the reason of an AddEntry failure is taken at the failure, before the
//   files are closed (`failure`), not after the command.
// Gives 1, kCommandNoAccess or -1 as the dictionary's commands do; the log and
// the slot files are closed on every path; what was added before a failure
// stays.
int AddBothSidesInTurn(EngineContext& ctx, int slot, const WordEntry& entry, EngineFailure& failure);

}  // namespace lex
