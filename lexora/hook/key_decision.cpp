#include "lexora/hook/key_decision.h"

namespace lexora {

bool IsKeypadKey(unsigned vk) {
    return (vk >= kVkNumpad0 && vk <= kVkNumpad9) || vk == kVkMultiply || vk == kVkAdd || vk == kVkSubtract ||
           vk == kVkDecimal || vk == kVkDivide;
}

bool NamesNoKeyboard(const std::string& path) {
    return path.empty() || path == kNoKeyboard || path == kNoKeyboardFile;
}

int ModifierState(const KeyInput& in) {
    int state = (in.Shift ? lex::keyboard::kStateShift : 0) + (in.Alt ? lex::keyboard::kStateAlt : 0) + (in.Ctrl ? lex::keyboard::kStateCtrl : 0);
    if (in.CapsLock) state += in.Shift ? -1 : 1;
    return state;
}

namespace {

bool IsCharacter(int c) { return c != 0 && c != 31; }

struct Match {
    int Group = -1;
    int Key = -1;
    int Char = 0;
};

// The key of a scan code: by index, the function key, then the keypad key
// (only for a keypad event), then the main key (not for the keypad '/', which
// shares its scan code with the main '/'). A scan code of 0 is no key.
Match FindKey(const lex::keyboard::LayoutTables& t, int scan, unsigned virtualKey, int state) {
    Match m;
    if (scan == 0 || state < 0 || state >= lex::keyboard::kKeyStateCount) return m;
    const bool keypad = IsKeypadKey(virtualKey);
    const bool divide = virtualKey == kVkDivide;
    for (int i = 0; i < lex::keyboard::kMainKeyCount; ++i) {
        const lex::keyboard::LayoutKey* key = nullptr;
        if (i < lex::keyboard::kFunctionKeyCount && t.FunctionKeys[i].ScanCode == scan) {
            m.Group = lex::keyboard::kFunctionKeys;
            key = &t.FunctionKeys[i];
        } else if (i < lex::keyboard::kKeypadKeyCount && keypad && t.KeypadKeys[i].ScanCode == scan) {
            m.Group = lex::keyboard::kKeypadKeys;
            key = &t.KeypadKeys[i];
        } else if (!divide && t.MainKeys[i].ScanCode == scan) {
            m.Group = lex::keyboard::kMainKeys;
            key = &t.MainKeys[i];
        }
        if (key) {
            m.Key = i;
            m.Char = key->Chars[state] & 0xFF;
            return m;
        }
    }
    return m;
}

KeyDecision Swallow() {
    KeyDecision d;
    d.Action = KeyAction::Swallow;
    return d;
}

}  // namespace

KeyDecision DecideKey(const KeyInput& in, const lex::keyboard::LayoutTables& tables, const RunCommandSource& runCommand,
                      int& pendingPrefix) {
    KeyDecision pass;
    if (in.Code != kHookAction) return pass;
    if (in.VirtualKey == kVkShift || in.VirtualKey == kVkControl || in.VirtualKey == kVkMenu) return pass;
    const int scan = in.ScanCode();
    const int base = ModifierState(in);

    for (int i = 0; i < lex::keyboard::kPrefixCount; ++i) {
        const lex::keyboard::PrefixDef& p = tables.Prefixes[i];
        if (p.ScanCode != 0 && p.ScanCode == scan && p.Modifiers == base) {
            pendingPrefix = i;
            return Swallow();
        }
    }
    if (pendingPrefix < -1 || pendingPrefix >= lex::keyboard::kPrefixCount) pendingPrefix = -1;
    const int state = pendingPrefix >= 0 ? base + lex::keyboard::kStatesPerPrefix * (pendingPrefix + 1) : base;

    const Match m = FindKey(tables, scan, in.VirtualKey, state);
    bool mapped = false;
    std::string command;
    if (m.Group >= 0) {
        if (tables.GetRunFlag(m.Group, m.Key, state) != 0) {
            if (runCommand) command = runCommand(m.Group, m.Key, state);
            if (command.size() > static_cast<size_t>(kMaxRunCommandLength)) command.resize(kMaxRunCommandLength);
            mapped = true;
        }
        if (m.Char != 0) mapped = true;
    }

    if (in.KeyUp()) return mapped ? Swallow() : pass;

    if (mapped && command.size() > 1) {
        KeyDecision d;
        d.Action = KeyAction::Run;
        d.Command = command;
        return d;
    }
    if (mapped) {
        pendingPrefix = -1;
        if (!IsCharacter(m.Char)) return Swallow();
        KeyDecision d;
        d.Action = KeyAction::Type;
        d.Chars.push_back(static_cast<uint8_t>(m.Char));
        d.ReleaseAlt = true;
        return d;
    }
    if (pendingPrefix >= 0) {
        // The dead key's own character, then the key's, both in the base state.
        const int own = FindKey(tables, tables.Prefixes[pendingPrefix].ScanCode, in.VirtualKey, base).Char;
        const int next = FindKey(tables, scan, in.VirtualKey, base).Char;
        pendingPrefix = -1;
        KeyDecision d = Swallow();
        for (int c : {own, next})
            if (IsCharacter(c)) d.Chars.push_back(static_cast<uint8_t>(c));
        if (!d.Chars.empty()) d.Action = KeyAction::Type;
        return d;
    }
    return pass;
}

bool KeyboardHookState::Load(const std::string& path) {
    pendingPrefix_ = -1;
    tables_ = lex::keyboard::LayoutTables();
    loadedPath_ = path;
    loaded_ = false;
    if (NamesNoKeyboard(path)) return true;
    lex::keyboard::LayoutTables read;
    if (lex::keyboard::ReadKeyboardFile(files_, path, read) != lex::keyboard::KeyboardFileResult::Done) {
        if (notFound_) notFound_(path);
        return false;
    }
    auto mask = [](lex::keyboard::LayoutKey* keys, int count) {
        for (int k = 0; k < count; ++k) {
            keys[k].ScanCode = static_cast<int16_t>(keys[k].ScanCode & 0xFF);
            for (int16_t& c : keys[k].Chars) c = static_cast<int16_t>(c & 0xFF);
        }
    };
    mask(read.MainKeys, lex::keyboard::kMainKeyCount);
    mask(read.FunctionKeys, lex::keyboard::kFunctionKeyCount);
    mask(read.KeypadKeys, lex::keyboard::kKeypadKeyCount);
    tables_ = read;
    loaded_ = true;
    return true;
}

std::string KeyboardHookState::RunCommand(int group, int key, int state) {
    lex::keyboard::TextProfileFile ini(files_, lex::keyboard::MakeIniName(loadedPath_));
    return lex::keyboard::ReadRunCommand(ini, group, key, state, kMaxRunCommandLength + 1);
}

KeyDecision KeyboardHookState::OnKey(const KeyInput& in, bool couplingOn, const std::string& requestedPath) {
    if (!couplingOn || in.Code != kHookAction || NamesNoKeyboard(requestedPath)) return KeyDecision();
    // A request that failed to load is not tried again (nor reported again)
    // until another path is requested.
    if (requestedPath != loadedPath_) Load(requestedPath);
    if (!loaded_) return KeyDecision();
    return DecideKey(in, tables_, [this](int g, int k, int s) { return RunCommand(g, k, s); }, pendingPrefix_);
}

}  // namespace lexora
