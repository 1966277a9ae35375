// What the engine shows in the lookup window and tells its caller, as
// interfaces: the lookup window and the programs implement them; the
// recording implementations serve tools and tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lex {

// The lookup window's translation field and pronunciation label.
class EngineDisplay {
public:
    virtual ~EngineDisplay() = default;
    virtual void ClearTranslation() = 0;
    // Appends 8-bit text (in the slot's code pages) at the end of the field.
    virtual void AppendTranslation(const std::string& text) = 0;
    virtual void ScrollTranslationToTop() = 0;
    virtual void SetPronunciation(const std::string& text) = 0;
    // True when a key press that should interrupt a long display waits in the
    // queue (see IsQualifyingKey); the message stays queued.
    virtual bool QualifyingKeyWaiting() = 0;
};

// The rule of the key-press check: a non-extended key with virtual-key code 32
// or more, Backspace (8), or the extended Up (0x26) and Down (0x28) keys.
inline bool IsQualifyingKey(unsigned virtualKey, bool extended) {
    if (!extended) return virtualKey >= 32 || virtualKey == 8;
    return virtualKey == 0x26 || virtualKey == 0x28;
}

// The caller's side of the engine.
class EngineHooks {
public:
    virtual ~EngineHooks() = default;
    // Impossible file states (a node naming neither words file).
    virtual void ReportEngineError(const std::string& text, const std::string& caption) = 0;
    // A word shown by a lookup.
    virtual void AddToHistory(const std::string& word, int slot) = 0;
};

class RecordingDisplay : public EngineDisplay {
public:
    std::string Translation;
    std::string Pronunciation;
    int Clears = 0;
    int ScrollsToTop = 0;
    int KeyChecks = 0;
    // When >= 0: the key check reports a waiting key from this check on.
    int KeyWaitingFromCheck = -1;

    void ClearTranslation() override {
        Translation.clear();
        ++Clears;
    }
    void AppendTranslation(const std::string& text) override { Translation += text; }
    void ScrollTranslationToTop() override { ++ScrollsToTop; }
    void SetPronunciation(const std::string& text) override { Pronunciation = text; }
    bool QualifyingKeyWaiting() override {
        int check = KeyChecks++;
        return KeyWaitingFromCheck >= 0 && check >= KeyWaitingFromCheck;
    }
};

class RecordingHooks : public EngineHooks {
public:
    std::vector<std::pair<std::string, std::string>> Errors;
    std::vector<std::pair<std::string, int>> History;
    void ReportEngineError(const std::string& text, const std::string& caption) override {
        Errors.emplace_back(text, caption);
    }
    void AddToHistory(const std::string& word, int slot) override { History.emplace_back(word, slot); }
};

}  // namespace lex
