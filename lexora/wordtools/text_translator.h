// The text translator without its windows: the word reader, the loading of
// a source text file into the text field, the choice of the best headword,
// the writer of the output file (8-bit or UTF-16) and the run that turns a
// text into a word list with the translations of the chosen slots.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/engine.h"

namespace lexora {

// A word is at most this long; the rest of a longer run is the next word.
constexpr size_t kMaxTranslatedWord = 198;

// Letters A-Z and a-z, the apostrophe and every byte from 127 up make words;
// every other byte (digits, blanks, punctuation, line ends) separates them.
bool IsWordByte(unsigned char byte);

// Reads the words of a text one after another.
class WordReader {
public:
    explicit WordReader(std::string_view text) : text_(text) {}
    // The next word; false when the text is exhausted.
    bool Next(std::string& word);
    void Reset() { position_ = 0; }

private:
    std::string_view text_;
    size_t position_ = 0;
};

// A source file's bytes as the text field shows them: lines end in CR LF,
// a line longer than kSourceLineCut is cut into lines of that length (no byte
// is lost), a zero byte becomes a blank. An empty line is kept only when it is
// followed by another line break (a lone LF after an empty line does not count).
constexpr size_t kSourceLineCut = 4090;
std::string SourceTextFromFile(std::string_view bytes);

// The candidate (index into `rows`, the first `count`) that matches `word`
// best in `slot`: the smallest |2m - length(candidate) - length(word)| with m
// the signed match length (lex::SlotMatchLength: negative for a candidate that
// is a proper prefix or smaller at the first difference) by the slot's
// collation, then by the upper-cased and then by the plain bytes; the earlier
// candidate on a full tie. -1 when there is no candidate.
int BestCandidate(const std::vector<lex::ResultRow>& rows, int count, const std::string& word, int slot,
                  const lex::DictionarySettings& settings);

// UTF-16LE code units of 8-bit `text` in Windows code page `codePage` (1250,
// 1251 or 1252; any other page is taken as 1252).
std::u16string ToUtf16(std::string_view text, unsigned codePage);

// Where the output bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const char* data, size_t size) = 0;
};

class StringSink : public ByteSink {
public:
    std::string Bytes;
    bool Write(const char* data, size_t size) override {
        Bytes.append(data, size);
        return true;
    }
};

enum class OutputMode : int { kEightBit = 0, kUtf16 = 1 };

// The translator's output: 8-bit text with CR LF line ends, or UTF-16LE after
// the byte order mark FF FE, each piece converted with the code page of the
// slot whose language it is in; a UTF-16 piece ends at its first LF, which
// becomes CR LF. It is also the engine's chain writer output.
class TranslationWriter : public lex::TranslationOutput {
public:
    using CodePageOfSlot = std::function<unsigned(int slot)>;
    TranslationWriter(ByteSink& sink, OutputMode mode, CodePageOfSlot codePage);
    // Writes the byte order mark in UTF-16 mode.
    bool Begin();
    bool Write(const std::string& text, int slot) override;
    bool Ok() const { return ok_; }

private:
    ByteSink& sink_;
    OutputMode mode_;
    CodePageOfSlot codePage_;
    bool ok_ = true;
};

struct TranslationRun {
    enum Status {
        kDone,
        kNoCandidates,  // `slot` gave no candidate (not installed or empty)
        kWriteFailed,   // the output could not be written
    };
    Status status = kDone;
    int slot = -1;  // the last slot translated into (-1: none), or the one without candidates
    size_t words = 0;
};

// True when `slot` can be opened and holds at least one entry.
bool SlotHasEntries(lex::EngineContext& ctx, int slot);

// For every word of `text`: a line of five full stops, then for each slot of
// `slots` (ascending) the line "word = best headword = { translations }".
TranslationRun TranslateText(lex::EngineContext& ctx, std::string_view text, const std::vector<int>& slots,
                             TranslationWriter& out);

}  // namespace lexora
