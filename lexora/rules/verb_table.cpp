#include "verb_table.h"

#include "core/files/whole_files.h"

namespace lexora {

VerbTableReader::VerbTableReader(lex::FileSystem& files, const std::string& path) {
    open_ = lex::ReadWholeFile(files, path, bytes_) == lex::ReadOutcome::Whole;
}

int VerbTableReader::NextByte() {
    if (!open_ || atEnd_) return -1;
    if (at_ >= bytes_.size()) {
        atEnd_ = true;
        return -1;
    }
    const int c = static_cast<unsigned char>(bytes_[at_++]);
    if (c == '\n') return -1;
    if (c == '\r') {
        if (at_ >= bytes_.size()) {
            atEnd_ = true;
            return -1;
        }
        if (bytes_[at_] == '\n') {
            ++at_;
            return -1;
        }
    }
    return c;
}

bool VerbTableReader::NextLine(std::vector<std::string>& fields, size_t count) {
    fields.assign(count, std::string());
    if (!open_ || atEnd_ || count == 0) return false;
    // Tell an empty last line (the file ends with a line break) from the end.
    if (at_ >= bytes_.size()) {
        atEnd_ = true;
        return false;
    }
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

bool ReadVerbList(lex::FileSystem& files, const std::string& path, size_t fieldCount,
                  std::vector<std::string>& verbs) {
    verbs.clear();
    VerbTableReader reader(files, path);
    if (!reader.IsOpen()) return false;
    std::vector<std::string> fields;
    while (reader.NextLine(fields, fieldCount)) {
        bool any = false;
        for (const std::string& f : fields) any = any || !f.empty();
        if (any) verbs.push_back(fields[0]);
    }
    return true;
}

VerbSearch ReadVerbFields(lex::FileSystem& files, const std::string& path, const std::string& verb,
                          size_t fieldCount, std::vector<std::string>& fields) {
    VerbTableReader reader(files, path);
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
