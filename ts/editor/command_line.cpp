#include "ts/editor/command_line.h"

namespace ts {

int ValidUiLanguage(int language) {
    return language >= 0 && language < kUiLanguageCount ? language : kDefaultUiLanguage;
}

namespace {

// Leading decimal digits; none gives 0. Digits beyond what an int holds are
// ignored, so a long number cannot overflow (it becomes an invalid language).
int LeadingNumber(const std::string& text) {
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > 1000000) return -1;
    }
    return static_cast<int>(value);
}

}  // namespace

void CommandLine::ParseParam(std::string argument) {
    if (!argument.empty() && (argument[0] == '-' || argument[0] == '/')) argument.erase(0, 1);
    switch (ParameterCount) {
        case 0:
            if (argument == "X") ParameterCount = 1;
            break;
        case 1:
            Language = ValidUiLanguage(LeadingNumber(argument));
            ParameterCount = 2;
            break;
        case 2:
            // A path too long to be kept whole counts as no path at all; an
            // empty one is a path (that no file has).
            if (argument.size() > kMaxEditorPathLength) break;
            EditorFilePath = argument;
            ProgramDirectory = DirectoryOf(argument);
            ParameterCount = 3;
            break;
        default:
            break;
    }
}

StartMode CommandLine::Mode() const {
    if (ParameterCount >= 3) return StartMode::EditorOnly;
    return ParameterCount == 0 ? StartMode::Normal : StartMode::EndAtOnce;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& a : arguments) line.ParseParam(a);
    return line;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TrimProgramDirectory(std::string value) {
    if (value.size() > kMaxProgramDirectoryLength) value.resize(kMaxProgramDirectoryLength);
    while (value.size() >= 2 && value.back() != '\\') value.pop_back();
    return value;
}

}  // namespace ts
