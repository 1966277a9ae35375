// The keyboard product around ts: the quick-switch buttons of ts2000.ini, the
// hook library that turns the keyboard on for the whole desktop, and the
// resident keyboard program (the single-instance search and its restart).
#pragma once

#include <windows.h>

#include <string>

#include "core/settings/ts2000_ini.h"
#include "ts/editor/keyboard_session.h"
#include "ts/editor/product_settings.h"

namespace tsapp {

class Program;

// One quick-switch button as ts2000.ini holds it.
struct QuickButton {
    std::string ShortName = "X";  // at most 4 bytes
    std::string Name = "X";       // at most 29 bytes; "XXXXX" stored: the default name text
    std::string Data = "X";       // keyboard file path without ".tsb"
    int WindowsLayout = -1;       // index among the installed Windows layouts, -1 none
};

// Button `index` (0..9); in editor-only mode only Data, the edited file
// without its extension. The default name comes from the UI texts, cut to
// the name's size.
QuickButton LoadQuickButton(Program& program, int index);
// Writes the four keys of button `index`, the texts cut to their sizes.
void SaveQuickButton(int index, const QuickButton& button);

// The hook library of the program folder and its keyboard hook.
class HookLibrary {
public:
    using Result = ts::ProductHook::Result;
    HookLibrary() = default;
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // Loads `path` and installs its hook procedure for all threads. On
    // failure nothing stays loaded.
    Result Install(const std::string& path);
    void Remove();
    bool Installed() const { return hook_ != nullptr; }

private:
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
};

// The hook library of the program folder, as the keyboard session turns it on and off.
class ProgramHookLibrary : public ts::ProductHook {
public:
    explicit ProgramHookLibrary(Program& program) : program_(program) {}
    Result Install() override;
    void Remove() override { library_.Remove(); }
    bool Installed() const override { return library_.Installed(); }

private:
    Program& program_;
    HookLibrary library_;
};

// The keyboard session's values of the Windows directory's ts2000.ini.
class Ts2000ProductValues : public ts::ProductValues {
public:
    explicit Ts2000ProductValues(Program& program) : program_(program) {}
    bool SaveLast() override;
    void WriteLastQuickButton(int index) override;
    bool AskToFinish() override;
    bool HideAtStart() override;
    std::string ActiveKeyboard() override;
    void WriteActiveKeyboard(const std::string& path) override;
    int ActiveQuickButton(int missing) override;
    void WriteActiveQuickButton(int index) override;
    void WriteInstallCount(int count) override;
    std::string QuickButtonData(int index) override;
    int QuickButtonWindowsLayout(int index) override;

private:
    Program& program_;
    const lex::Ts2000IniFile ts2000_;
};

// True when a top-level window's title begins with "Tastrix " (the resident
// program or another ts); `except` is not looked at.
bool ProductWindowPresent(HWND except);

// Starts the resident program of `programDirectory`; true when it started.
bool StartResidentProgram(const std::string& programDirectory);

// Installed Windows keyboard layouts (at most 100).
int InstalledLayouts(HKL* layouts, int room);

}  // namespace tsapp
