// The tables of irregular verbs (NEPR_A.SLO English, NEPR_N.SLO German): text
// files in the program folder, one verb a line, fields separated by ';', the
// last field running to the end of its line. Every field is read with a bound
// and never runs past its line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/files/file_system.h"

namespace lexora {

constexpr const char* kEnglishVerbFile = "NEPR_A.SLO";
constexpr const char* kGermanVerbFile = "NEPR_N.SLO";
// English: base form; past simple; past participle; Czech translation.
constexpr size_t kEnglishVerbFields = 4;
// German: infinitive with auxiliary; Czech meaning; Indikativ Praesens;
// Indikativ Praeteritum; Konjunktiv Praeteritum; Imperativ; Partizip Perfekt.
constexpr size_t kGermanVerbFields = 7;
// The longest field; a longer one is cut there.
constexpr size_t kVerbFieldLength = 255;
// The longest verb handed back to the frame.
constexpr size_t kChosenVerbLength = 254;

// Reads a table (whole, through the file layer) line by line.
class VerbTableReader {
public:
    VerbTableReader(lex::FileSystem& files, const std::string& path);

    // The whole file was read (a file that cannot be read whole is no table,
    // never an empty one).
    bool IsOpen() const { return open_; }
    // The next line as `count` fields (missing ones empty); false at the end
    // of the file.
    bool NextLine(std::vector<std::string>& fields, size_t count);
    // Passes over the next line; false at the end of the file.
    bool SkipLine();

private:
    // One byte of the line, -1 at its end (a line break, CR LF or the end of
    // the file); `atEnd_` tells the end of the file.
    int NextByte();

    std::string bytes_;
    size_t at_ = 0;
    bool open_ = false;
    bool atEnd_ = false;
};

// The verbs of a table (first fields, file order, duplicates kept; lines
// without any text are no verbs). False when the file cannot be opened or
// read whole.
bool ReadVerbList(lex::FileSystem& files, const std::string& path, size_t fieldCount,
                  std::vector<std::string>& verbs);

enum class VerbSearch { NoFile, NotFound, Found };
// The fields of the line whose first field is `verb` (exact, case-sensitive).
// The line after a matching one is passed over, so of several lines of the
// same verb a later one examined wins.
// NoFile also when the file cannot be read whole.
VerbSearch ReadVerbFields(lex::FileSystem& files, const std::string& path, const std::string& verb,
                          size_t fieldCount, std::vector<std::string>& fields);

// The word the frame looks up for a chosen verb: at most kChosenVerbLength
// bytes, a German verb only up to its first blank ("gehen (ist)" -> "gehen").
std::string VerbLookupWord(const std::string& chosen, bool german);

}  // namespace lexora
