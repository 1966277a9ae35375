#include "product_settings.h"

#include <cctype>

namespace ts {

std::string ProductTitle(const std::string& text) { return std::string(kTitlePrefix) + "- " + text; }

bool IsProductTitle(const std::string& title) { return title.compare(0, 8, kTitlePrefix) == 0; }

std::string CutText(const std::string& text, int size) {
    if (size <= 0) return std::string();
    return text.size() > static_cast<size_t>(size - 1) ? text.substr(0, static_cast<size_t>(size - 1)) : text;
}

std::string ResidentCommand(const std::string& programDirectory) {
    return "\"" + programDirectory + kResidentProgramName + "\"";
}

std::string KeyboardFileOf(const std::string& chosen) {
    std::string tail = chosen.size() >= 4 ? chosen.substr(chosen.size() - 4) : std::string();
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == ".TSB" ? chosen : chosen + ".tsb";
}

std::string QuickButtonDataOf(const std::string& keyboardFile) {
    if (keyboardFile.size() < 4) return std::string();
    std::string data = keyboardFile.substr(0, keyboardFile.size() - 4);
    const size_t slash = data.find_last_of("\\/:");
    if (data.empty() || slash == data.size() - 1) return std::string();
    return data;
}

bool CopyLayoutPair(FileLayer& files, const std::string& source, const std::string& target,
                    const std::string& targetData) {
    std::string layout;
    if (ReadWholeFile(files, source, layout) != ReadOutcome::Done) return false;
    // A companion that is there but cannot be read fails the copy: the new layout
    // must not lose its commands and font.
    std::string ini;
    bool haveIni = false;
    if (source.size() >= 4) {
        const std::string sourceIni = source.substr(0, source.size() - 4) + ".ini";
        const ReadOutcome read = ReadWholeFile(files, sourceIni, ini);
        if (read == ReadOutcome::Failed || (read == ReadOutcome::NotOpened && files.Exists(sourceIni)))
            return false;
        haveIni = read == ReadOutcome::Done;
    }
    const std::string targetIni = targetData + ".ini";
    if (WriteTemporary(files, target, layout) != WriteOutcome::Done) return false;
    if (haveIni && WriteTemporary(files, targetIni, ini) != WriteOutcome::Done) {
        files.Remove(TemporaryName(target));
        return false;
    }
    if (!files.Replace(TemporaryName(target), target)) {
        files.Remove(TemporaryName(target));
        if (haveIni) files.Remove(TemporaryName(targetIni));
        return false;
    }
    if (haveIni && !files.Replace(TemporaryName(targetIni), targetIni)) {
        files.Remove(TemporaryName(targetIni));
        files.Remove(target);
        return false;
    }
    return true;
}

std::string LicenceViewText(const std::string& fileBytes) {
    std::string out, line;
    for (size_t i = 0; i < fileBytes.size(); ++i) {
        const char c = fileBytes[i];
        if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;  // text mode
        if (c == '\n') {
            out += line + "\r\n";
            line.clear();
        } else {
            line += c;
        }
    }
    return out + line;
}

}  // namespace ts
