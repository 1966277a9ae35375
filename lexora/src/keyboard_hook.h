// lexora's in-process keyboard hook: a WH_KEYBOARD hook on the GUI thread
// that types through the keyboard file the coupling requests. The decision
// is KeyboardHookState's (lexora/hook); this procedure gathers the event and
// the modifier keys and carries the decision out: characters are posted to
// the focused window as Unicode WM_CHAR (converted with the code page of the
// focused field), [RUN] commands are started.
#pragma once

#include <windows.h>

#include <string>

#include "keyboard_coupling.h"

namespace lexora {

// How a keyboard file that cannot be loaded is reported (once per requested
// path). Tests replace it.
using KeyboardNotFoundReport = void (*)(const std::string& path);
extern KeyboardNotFoundReport keyboardNotFound;
// How a [RUN] command is started (a WinExec result). Tests replace it.
using RunCommandStarter = UINT (*)(const std::string& commandLine);
extern RunCommandStarter runCommandStarter;

// Installs the hook on the calling thread, typing through `coupling`'s
// requested keyboard; the layout is loaded again first. False when the
// hook cannot be installed.
bool InstallKeyboardHook(KeyboardCoupling& coupling);
void RemoveKeyboardHook();
bool KeyboardHookInstalled();
// Loads the requested layout now (also done on the first key after the
// request changes).
void LoadLayoutFile();

}  // namespace lexora

// The hook procedure, exported under its own name.
extern "C" __declspec(dllexport) LRESULT CALLBACK SpyGetMsgProc(int code, WPARAM wParam, LPARAM lParam);
