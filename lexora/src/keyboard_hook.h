// lexora's in-process keyboard hook: a WH_KEYBOARD hook on the GUI thread
// that types through the keyboard file the coupling requests. The decision
// is KeyboardHookState's (lexora/hook); this procedure gathers the event and
// the modifier keys and carries the decision out: characters are posted to
// the focused window as Unicode WM_CHAR (converted with the code page of the
// focused field), [RUN] commands are started.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "lexora_keyboard_coupling.h"

// The hook procedure, exported under its own name.
extern "C" __declspec(dllexport) LRESULT CALLBACK SpyGetMsgProc(int code, WPARAM wParam, LPARAM lParam);

namespace lex {
class FileSystem;
}

namespace lexora {

class KeyboardHookState;

// The thread has one hook; it types for the KeyboardHook object that
// installed it last.
class KeyboardHook {
public:
    // Keyboard files are read through `files` (the program's file layer).
    KeyboardHook(LexoraKeyboardCoupling& coupling, lex::FileSystem& files);
    ~KeyboardHook();  // removes the hook when it is this object's
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Installs the hook on the calling thread, typing through the coupling's
    // requested keyboard; the layout is loaded again first. False when the
    // hook cannot be installed.
    bool Install();
    // Removes the hook when it is this object's.
    void Remove();
    // The hook is installed and types for this object.
    bool Installed() const;
    // Loads the requested layout now (also done on the first key after the
    // request changes); nothing before the first installation.
    void LoadLayoutFile();

    // How a keyboard file that cannot be loaded is reported (once per
    // requested path): a message box, unless replaced.
    void SetNotFoundReport(std::function<void(const std::string& path)> report);

private:
    friend LRESULT CALLBACK ::SpyGetMsgProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT Handle(int code, WPARAM wParam, LPARAM lParam);

    LexoraKeyboardCoupling& coupling_;
    std::function<void(const std::string&)> notFound_;
    lex::FileSystem& files_;
    std::unique_ptr<KeyboardHookState> keys_;  // made by the first installation
};

}  // namespace lexora
