#include "keyboard_hook.h"

#include <memory>

#include "lexora/hook/key_decision.h"
#include "winlib/exception_barrier.h"
#include "winlib/program_starter.h"

namespace lexora {

namespace {

void ShowNotFound(const std::string& path) {
    ::MessageBoxA(nullptr, "Tato kl\xe1vesnice nebyla nalezena\nZkontrolujte konfiguraci.", path.c_str(), MB_OK);
}

// The hook procedure is told nothing of its owner: the thread's hook and the
// object it types for.
HHOOK hook = nullptr;
KeyboardHook* installed = nullptr;

// The modifier keys as the thread's key state has them at this event: the
// keys before it in the queue count, keys pressed after it do not (typed
// ahead, a key keeps its own Shift).
bool Down(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

// Carries a decision out.
void Carry(const KeyDecision& d, LPARAM lParam, UINT codePage) {
    if (d.Action == KeyAction::Run) {
        wl::Starter().Start(d.Command, SW_SHOWNORMAL);  // a failure is not reported
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

}  // namespace

KeyboardHook::KeyboardHook(LexoraKeyboardCoupling& coupling, lex::FileSystem& files)
    : coupling_(coupling), notFound_(ShowNotFound), files_(files) {}

KeyboardHook::~KeyboardHook() { Remove(); }

void KeyboardHook::SetNotFoundReport(std::function<void(const std::string& path)> report) {
    notFound_ = std::move(report);
}

bool KeyboardHook::Install() {
    if (!keys_) {
        keys_ = std::make_unique<KeyboardHookState>(files_, [this](const std::string& path) { notFound_(path); });
    }
    LoadLayoutFile();
    if (!hook) hook = ::SetWindowsHookExW(WH_KEYBOARD, SpyGetMsgProc, nullptr, ::GetCurrentThreadId());
    installed = hook ? this : nullptr;
    return hook != nullptr;
}

void KeyboardHook::Remove() {
    if (installed != this) return;
    if (hook) ::UnhookWindowsHookEx(hook);
    hook = nullptr;
    installed = nullptr;
}

bool KeyboardHook::Installed() const { return installed == this; }

void KeyboardHook::LoadLayoutFile() {
    if (keys_) keys_->Load(coupling_.RequestedPath());
}

LRESULT KeyboardHook::Handle(int code, WPARAM wParam, LPARAM lParam) {
    KeyboardHook* h = installed;
    if (!h || !h->keys_) return ::CallNextHookEx(hook, code, wParam, lParam);
    KeyInput in;
    in.Code = code;
    in.VirtualKey = static_cast<unsigned>(wParam);
    in.KeyData = static_cast<uint32_t>(static_cast<uint64_t>(lParam) & 0xFFFFFFFFu);
    in.Shift = Down(VK_SHIFT);
    in.Alt = Down(VK_MENU);
    in.Ctrl = Down(VK_CONTROL);
    in.CapsLock = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    const KeyDecision d = h->keys_->OnKey(in, h->coupling_.CouplingOn(), h->coupling_.RequestedPath());
    if (d.Action == KeyAction::Pass) return ::CallNextHookEx(hook, code, wParam, lParam);
    Carry(d, lParam, h->coupling_.RequestedCodePage());
    return 1;
}

}  // namespace lexora

LRESULT CALLBACK SpyGetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = wl::CallGuarded(nullptr, WM_KEYDOWN, [&]() -> LRESULT {
        const LRESULT r = lexora::KeyboardHook::Handle(code, wParam, lParam);
        handled = true;
        return r;
    });
    return handled ? result : ::CallNextHookEx(nullptr, code, wParam, lParam);
}
