// Loading the words of a text file that a slot lacks, and adding a word with
// its translations to both directions of a language pair in one undo group.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bulk_job.h"
#include "core/lookup/word_edits.h"
#include "lexbulk/text/word_tokenizer.h"

namespace lexbulk {

// Walks the words of a text file and stops at each one the slot lacks (a word
// that begins with the grammar separator is passed over: it cannot be added).
class MissingWords {
public:
    MissingWords(lex::EngineContext& ctx, int slot, TextCode code);
    bool Open(const std::string& path);
    // 1: `word` is missing from the slot; 0: the text has ended; -1: the slot
    // or the text cannot be read (`errorText` names the message: data files
    // inaccessible or corrupted, or the given file cannot be read).
    int Next(std::string& word, int& errorText);

private:
    lex::EngineContext& ctx_;
    int slot_;
    WordTokenizer tokenizer_;
    ChunkReader source_;
    char chunk_[ChunkReader::kChunk];
};

// What the add dialog gives: the word with its pronunciation and translation
// lines (forward side), and the words of the opposite direction with their
// pronunciations and one translation (reverse side).
using BothSidesEntry = lex::WordEntry;

// Splits the text of a multi-line edit into its lines (CR LF, LF or CR).
std::vector<std::string> SplitLines(const std::string& text);

// Adds both sides in one action group (lex::AddBothSidesInTurn, beside the
// dictionary's add); the log and the slot files are closed on every path.
// 1 done; otherwise the message text id (a word that begins with the grammar
// separator, refused with nothing written; entry locked or data files
// corrupted, or writing failed); what was added before a failure stays.
int AddBothSides(lex::EngineContext& ctx, int slot, const BothSidesEntry& entry);

}  // namespace lexbulk
