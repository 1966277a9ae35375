#include "ts/editor/ts_ui_texts.h"

#include <cstring>

#include "ts/editor/command_line.h"

namespace ts {

std::string ExpandLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ControlText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            out += text[++i];  // already shown as itself
        } else if (i + 1 == text.size() || text[i + 1] == ' ' || text[i + 1] == '\t') {
            out += '&';
        }
    }
    return out;
}

int ReadUiTextFile(lex::keyboard::ProfileFile& file, int id, std::string& out, int size) {
    if (size <= 0) return -1;
    const std::string value = file.GetString(kUiTextSection, std::to_string(id), "", 256);
    if (value.empty()) return -1;
    out = ExpandLineBreaks(value);
    if (out.size() > static_cast<size_t>(size - 1)) out.resize(size - 1);
    return static_cast<int>(out.size());
}

void UiTexts::SetLanguage(int language) { language_ = ValidUiLanguage(language); }

const char* UiTexts::Get(int baseId) {
    char* buffer = buffers_[next_];
    next_ = 1 - next_;
    const int id = baseId + language_;
    std::string text;
    if (!textFile_ || ReadUiTextFile(*textFile_, id, text) < 0) text = table_.LoadString(id, kUiTextSize);
    if (text.size() > static_cast<size_t>(kUiTextSize - 1)) text.resize(kUiTextSize - 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return buffer;
}

}  // namespace ts
