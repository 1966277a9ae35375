// The UI texts of ts. A text has a base id (a multiple of ten); the text of UI
// language L has id base + L. It is looked up first in the optional text file
// "zdroj.rc" of the program folder ([ZDROJ] <id>=<text>, "\n" a line break),
// then in the program's string table, without any message when the file lacks
// it.
#pragma once

#include <string>

#include "core/keyboard/profile_file.h"

namespace ts {

constexpr char kUiTextFileName[] = "zdroj.rc";
constexpr char kUiTextSection[] = "ZDROJ";
// Capacity of a text, terminator included.
constexpr int kUiTextSize = 253;

// The string table (a resource of the program; a table in memory in tests).
class StringTable {
public:
    virtual ~StringTable() = default;
    // The text of `id`, at most size - 1 bytes; "" when there is none.
    virtual std::string LoadString(int id, int size) = 0;
};

// Each two-character sequence backslash + 'n' becomes a line break; every
// other character, a lone backslash included, stays ("C:\new" gives "C:" +
// line break + "ew").
std::string ExpandLineBreaks(const std::string& text);

// The text of `id` in the text file, line breaks expanded, at most size - 1
// bytes; -1 when the file has no non-empty value for it.
int ReadUiTextFile(lex::keyboard::ProfileFile& file, int id, std::string& out, int size = kUiTextSize);

// A text for a control, which takes "&" as the mark of the next letter: an
// "&" before a blank or at the end marks nothing and is shown as itself
// ("path & program" becomes "path && program"); mnemonics and "&&" stay.
std::string ControlText(const std::string& text);

class UiTexts {
public:
    // `textFile` may be null (no "zdroj.rc" is looked at).
    UiTexts(lex::keyboard::ProfileFile* textFile, StringTable& table) : textFile_(textFile), table_(table) {}

    void SetTextFile(lex::keyboard::ProfileFile* textFile) { textFile_ = textFile; }
    // Languages outside 0..8 become the default.
    void SetLanguage(int language);
    int Language() const { return language_; }

    // The text of base id + UI language. Every call fills the next of two
    // buffers in turn, whatever the source, so the results of the last two
    // calls stay valid (a message and its caption); the third call overwrites
    // the first.
    const char* Get(int baseId);
    std::string Text(int baseId) { return Get(baseId); }

private:
    lex::keyboard::ProfileFile* textFile_;
    StringTable& table_;
    int language_ = 0;
    char buffers_[2][kUiTextSize] = {};
    int next_ = 0;
};

}  // namespace ts
