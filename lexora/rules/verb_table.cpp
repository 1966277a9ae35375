#include "verb_table.h"

namespace lexora {

VerbTableReader::VerbTableReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

VerbTableReader::~VerbTableReader() {
    if (file_) std::fclose(file_);
}

int VerbTableReader::NextByte() {
    if (!file_ || atEnd_) return -1;
    int c = std::fgetc(file_);
    if (c == EOF) {
        atEnd_ = true;
        return -1;
    }
    if (c == '\n') return -1;
    if (c == '\r') {
        int next = std::fgetc(file_);
        if (next == '\n') return -1;
        if (next == EOF) {
            atEnd_ = true;
            return -1;
        }
        std::ungetc(next, file_);
    }
    return c;
}

bool VerbTableReader::NextLine(std::vector<std::string>& fields, size_t count) {
    fields.assign(count, std::string());
    if (!file_ || atEnd_ || count == 0) return false;
    // Tell an empty last line (the file ends with a line break) from the end.
    int first = std::fgetc(file_);
    if (first == EOF) {
        atEnd_ = true;
        return false;
    }
    std::ungetc(first, file_);
    size_t field = 0;
    for (int c = NextByte(); c >= 0; c = NextByte()) {
        if (c == ';' && field + 1 < count) {
            ++field;
            continue;
        }
        if (c == 0) continue;
        if (fields[field].size() < kVerbFieldLength) fields[field].push_back(static_cast<char>(c));
    }
    return true;
}

bool VerbTableReader::SkipLine() {
    std::vector<std::string> ignored;
    return NextLine(ignored, 1);
}

bool ReadVerbList(const std::string& path, size_t fieldCount, std::vector<std::string>& verbs) {
    verbs.clear();
    VerbTableReader reader(path);
    if (!reader.IsOpen()) return false;
    std::vector<std::string> fields;
    while (reader.NextLine(fields, fieldCount)) {
        bool any = false;
        for (const std::string& f : fields) any = any || !f.empty();
        if (any) verbs.push_back(fields[0]);
    }
    return true;
}

VerbSearch ReadVerbFields(const std::string& path, const std::string& verb, size_t fieldCount,
                          std::vector<std::string>& fields) {
    VerbTableReader reader(path);
    if (!reader.IsOpen()) return VerbSearch::NoFile;
    VerbSearch result = VerbSearch::NotFound;
    std::vector<std::string> line;
    while (reader.NextLine(line, fieldCount)) {
        if (line[0] != verb) continue;
        fields = line;
        result = VerbSearch::Found;
        reader.SkipLine();
    }
    return result;
}

std::string VerbLookupWord(const std::string& chosen, bool german) {
    std::string word = chosen.substr(0, kChosenVerbLength);
    if (german) {
        const size_t blank = word.find(' ');
        if (blank != std::string::npos) word.resize(blank);
    }
    return word;
}

}  // namespace lexora
