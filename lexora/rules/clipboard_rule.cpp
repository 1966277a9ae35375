#include "clipboard_rule.h"

#include "core/engine/trim_word.h"

namespace lexora {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '.' || c == ',' || c == '(' || c == ')'; }

}  // namespace

int SeparatorRuns(const std::string& text) {
    int runs = 0;
    bool inSeparators = false;
    for (char c : text) {
        if (IsSeparator(c)) {
            if (!inSeparators) ++runs;
            inSeparators = true;
        } else {
            inSeparators = false;
        }
    }
    return runs;
}

bool TakeClipboardText(ClipboardMemory& memory, std::string text) {
    const bool ownCopy = memory.OwnCopy;
    memory.OwnCopy = false;
    lex::TrimWord(text);
    if (text.empty()) return false;
    if (SeparatorRuns(text) >= kMaxSeparatorRuns) return false;
    if (text.size() > kLastSeenLength) text.resize(kLastSeenLength);
    if (text == memory.LastSeen) return false;
    memory.LastSeen = text;
    return !ownCopy;
}

void TakeOwnCopyAtLinkOn(ClipboardMemory& memory, unsigned long change, const std::function<std::string()>& readText) {
    if (!memory.OwnCopy) return;
    if (change == memory.OwnCopyChange && readText) {
        TakeClipboardText(memory, readText());
    }
    memory.OwnCopy = false;
}

}  // namespace lexora
