// The line template of the import and export dialogs: the text of a
// multi-line edit in which "$O", "$P" and "$V" (either case) stand for the
// word, its translation and its pronunciation and every other character is
// literal text; "$$" is one literal "$". The export writes one expansion of
// the template per translation; the import finds the fields of one entry
// after another in a text file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "code_pages.h"
#include "core/texts/text_ids.h"
#include "core/engine/collation.h"

namespace lexbulk {

constexpr size_t kMaxTemplateLength = 1000;      // the joined lines, without the last line end
constexpr size_t kMaxTemplateTokens = 10;        // literals and field tokens together
constexpr size_t kMaxTemplateTokenLength = 299;  // a line end counts as two characters
constexpr size_t kMaxFieldBytes = 1000;          // a longer field in the input fails the import
constexpr size_t kMaxEntryTextBytes = lex::kMaxTextLength;  // longest text the engine takes


// The template edit's text as it comes from the dialog: three lines, each
// ended by CR LF.
extern const char kDefaultTemplateText[];

enum class EntryField : uint8_t { kOriginal, kTranslation, kPronunciation };

enum class TemplateCheck {
    kValid,
    kTooLong,           // joined lines longer than kMaxTemplateLength
    kTooManyTokens,     // more than kMaxTemplateTokens
    kTokenTooLong,      // a literal longer than kMaxTemplateTokenLength
    kWrongFieldCount,   // not exactly one original and one translation token
    kAdjacentFields,    // two field tokens with no literal between them
};

// The text id (with caption lex::kTextFormatErrorCaption) that reports `check`;
// 0 for kValid.
int TemplateCheckTextId(TemplateCheck check);

// One element of a parsed template: a literal or a field token. In a literal
// '\n' stands for a line end (the template's own lines never hold CR or LF
// bytes); its other bytes are already in the text file's code page.
struct TemplateToken {
    bool isField = false;
    EntryField field = EntryField::kOriginal;
    std::string literal;
};

class WordFormatTemplate {
public:
    // `editText`: the lines of the template edit in Windows 1250, ended by
    // CR LF, LF or CR; a final empty line (the edit's text ending in a line
    // end) is ignored. `code`: the code page of the text file, into which the
    // literals are converted.
    WordFormatTemplate(std::string_view editText, TextCode code);

    TextCode code() const { return code_; }
    // Literal, field, literal, ..., literal: always begins and ends with a
    // literal, either of which may be empty.
    const std::vector<TemplateToken>& tokens() const { return tokens_; }

    // Whether the import can find entries with this template.
    TemplateCheck CheckForImport() const;

    // Appends one expansion to `out`: every line of the template with its
    // tokens replaced, each line followed by CR LF. The word and the
    // translation (Windows 1250) are converted into the file's code page, the
    // pronunciation is written as stored. Returns the number of original
    // tokens written.
    int Expand(std::string_view word, std::string_view pronunciation,
               std::string_view translation, std::string& out) const;

private:
    TextCode code_;
    size_t joinedLength_ = 0;
    std::vector<TemplateToken> tokens_;
};

// One entry read from a text file, in Windows 1250 (the pronunciation as
// read), each text trimmed and at most kMaxEntryTextBytes long.
struct TextEntry {
    std::string word;
    std::string pronunciation;
    std::string translation;
};

enum class ExtractResult {
    kEntry,            // `entry` holds the next entry
    kNeedInput,        // feed more bytes with Feed, or call EndInput at the end of the file
    kEnd,              // the input holds no further entry (a literal was not found)
    kFieldTooLong,     // a field runs over kMaxFieldBytes: the import fails
    kInvalidTemplate,  // the template fails CheckForImport
};

// Finds the entries of a text file by a template. The caller owns the file
// and feeds it in chunks of any size; Next works only on what it was given,
// so a stepper can stop between calls (after its time budget, or for Esc) and
// go on at its next tick. A line end of the template matches CR LF, LF or CR;
// the end of the input also ends the template's last line, so that a last
// entry without a line end is read.
//
//   for (;;) {
//       switch (extractor.Next(entry)) {
//       case ExtractResult::kNeedInput:
//           if (size_t n = fread(chunk, 1, sizeof chunk, file)) extractor.Feed(chunk, n);
//           else extractor.EndInput();
//           break;
//       case ExtractResult::kEntry: ... add the entry ...; break;
//       default: ... end or failure ...
//       }
//   }
class EntryExtractor {
public:
    explicit EntryExtractor(const WordFormatTemplate& format);

    void Feed(const char* data, size_t size);
    void EndInput();

    ExtractResult Next(TextEntry& entry);

    // Bytes of the input searched so far (for a progress display).
    uint64_t position() const { return searchFrom_; }
    // Bytes of the input held: at most a field and a part-literal.
    size_t buffered() const { return buffer_.size(); }

private:
    enum class Match { kFound, kNone, kNeedInput };
    Match MatchAt(uint64_t at, const std::string& literal, bool endMayEnd, uint64_t& matchEnd) const;
    Match Find(const std::string& literal, bool endMayEnd, uint64_t& matchStart, uint64_t& matchEnd);
    void Compact();
    void TakeField(uint64_t end);

    std::vector<TemplateToken> tokens_;
    TextCode code_;
    bool valid_;

    std::string buffer_;       // input from absolute offset base_
    uint64_t base_ = 0;
    bool ended_ = false;
    bool finished_ = false;    // kEnd or a failure was returned: it is returned again
    ExtractResult final_ = ExtractResult::kEnd;

    size_t token_ = 0;         // next token of the current entry
    bool pending_ = false;     // a field waits for the literal that ends it
    EntryField pendingField_ = EntryField::kOriginal;
    bool pendingTooLong_ = false;
    uint64_t fieldStart_ = 0;
    uint64_t pos_ = 0;         // just after the last literal found
    uint64_t searchFrom_ = 0;  // no match of the current literal starts before this
    TextEntry current_;
};

}  // namespace lexbulk
