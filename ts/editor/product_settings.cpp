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
