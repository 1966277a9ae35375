#include "keyboard_hook.h"

#include <memory>

#include "lexora/hook/key_decision.h"
#include "winlib/exception_barrier.h"

namespace lexora {

namespace {

void ShowNotFound(const std::string& path) {
    ::MessageBoxA(nullptr, "Tato kl\xe1vesnice nebyla nalezena\nZkontrolujte konfiguraci.", path.c_str(), MB_OK);
}

UINT StartCommand(const std::string& commandLine) { return ::WinExec(commandLine.c_str(), SW_SHOWNORMAL); }

struct HookState {
    KeyboardCoupling* Coupling = nullptr;
    std::unique_ptr<lex::FileSystem> Files = lex::MakePlatformFileSystem();
    std::unique_ptr<KeyboardHookState> Keys;
    HHOOK Hook = nullptr;
};

HookState& State() {
    static HookState state;
    return state;
}

// The modifier keys as the thread's key state has them at this event: the
// keys before it in the queue count, keys pressed after it do not (typed
// ahead, a key keeps its own Shift).
bool Down(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

// Carries a decision out.
void Carry(const KeyDecision& d, LPARAM lParam, UINT codePage) {
    if (d.Action == KeyAction::Run) {
        runCommandStarter(d.Command);
        return;
    }
    if (d.Action != KeyAction::Type) return;
    if (d.ReleaseAlt) {
        BYTE keys[256] = {};
        if (::GetKeyboardState(keys)) {
            keys[VK_MENU] &= 0x7F;
            ::SetKeyboardState(keys);
        }
    }
    HWND focus = ::GetFocus();
    for (uint8_t c : d.Chars) {
        const char narrow = static_cast<char>(c);
        wchar_t wide = 0;
        if (::MultiByteToWideChar(codePage, 0, &narrow, 1, &wide, 1) != 1) wide = c;
        ::PostMessageW(focus, WM_CHAR, wide, lParam);
    }
}

LRESULT Handle(int code, WPARAM wParam, LPARAM lParam) {
    HookState& s = State();
    if (!s.Coupling || !s.Keys) return ::CallNextHookEx(s.Hook, code, wParam, lParam);
    KeyInput in;
    in.Code = code;
    in.VirtualKey = static_cast<unsigned>(wParam);
    in.KeyData = static_cast<uint32_t>(static_cast<uint64_t>(lParam) & 0xFFFFFFFFu);
    in.Shift = Down(VK_SHIFT);
    in.Alt = Down(VK_MENU);
    in.Ctrl = Down(VK_CONTROL);
    in.CapsLock = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    const KeyDecision d = s.Keys->OnKey(in, s.Coupling->CouplingOn(), s.Coupling->RequestedPath());
    if (d.Action == KeyAction::Pass) return ::CallNextHookEx(s.Hook, code, wParam, lParam);
    Carry(d, lParam, s.Coupling->RequestedCodePage());
    return 1;
}

}  // namespace

KeyboardNotFoundReport keyboardNotFound = ShowNotFound;
RunCommandStarter runCommandStarter = StartCommand;

bool InstallKeyboardHook(KeyboardCoupling& coupling) {
    HookState& s = State();
    s.Coupling = &coupling;
    if (!s.Keys) {
        s.Keys = std::make_unique<KeyboardHookState>(*s.Files, [](const std::string& path) { keyboardNotFound(path); });
    }
    LoadLayoutFile();
    if (s.Hook) return true;
    s.Hook = ::SetWindowsHookExW(WH_KEYBOARD, SpyGetMsgProc, nullptr, ::GetCurrentThreadId());
    return s.Hook != nullptr;
}

void RemoveKeyboardHook() {
    HookState& s = State();
    if (s.Hook) ::UnhookWindowsHookEx(s.Hook);
    s.Hook = nullptr;
}

bool KeyboardHookInstalled() { return State().Hook != nullptr; }

void LoadLayoutFile() {
    HookState& s = State();
    if (s.Keys && s.Coupling) s.Keys->Load(s.Coupling->RequestedPath());
}

}  // namespace lexora

LRESULT CALLBACK SpyGetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = wl::CallGuarded(nullptr, WM_KEYDOWN, [&]() -> LRESULT {
        const LRESULT r = lexora::Handle(code, wParam, lParam);
        handled = true;
        return r;
    });
    return handled ? result : ::CallNextHookEx(nullptr, code, wParam, lParam);
}
