// ts's command line and program folder: the dictionary programs start ts as
//   ts X <UI language> "<keyboard file>"
// to edit one keyboard file (editor-only mode); without "X" ts starts in
// normal mode; "X" with fewer than two further arguments ends it at once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ts {

enum class StartMode { Normal, EditorOnly, EndAtOnce };

// Longest keyboard file path and program folder taken (256-byte buffers).
constexpr size_t kMaxEditorPathLength = 255;
constexpr size_t kMaxProgramDirectoryLength = 254;

// UI languages of ts: 0 English, 1 Czech, 2 Czech without diacritics, 3 German,
// 4 Russian, 5 French, 6 Spanish, 7 Italian, 8 Slovak.
constexpr int kUiLanguageCount = 9;
constexpr int kDefaultUiLanguage = 1;
// A language outside 0..8 becomes the default.
int ValidUiLanguage(int language);

struct CommandLine {
    int ParameterCount = 0;  // editor arguments taken: "X", the language, the path
    int Language = kDefaultUiLanguage;
    std::string EditorFilePath;
    std::string ProgramDirectory;  // the keyboard file's folder, ending in '\'

    // One argument after the program name, as the system split it (quotes
    // removed). A leading '-' or '/' is dropped first, as for a switch.
    void ParseParam(std::string argument);
    StartMode Mode() const;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The folder of a path: everything up to and including its last backslash;
// "" for a path without one.
std::string DirectoryOf(const std::string& path);

// A program folder read from ts2000.ini: while it is at least two characters
// long and does not end in a backslash, its last character goes ("C:\Prog\ts.exe"
// gives "C:\Prog\", "abc" gives "a"; "" and "x" stay).
std::string TrimProgramDirectory(std::string value);

}  // namespace ts
