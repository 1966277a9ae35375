// How lexora starts other programs: the bulk utility, a new copy of itself,
// the keyboard program and the editor on the translator's output. The
// program's own starter runs them; tests put a recorder in its place.
#pragma once

#include <windows.h>

#include <string>

namespace lexora {

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // A command line of this program's 8-bit texts, run as WinExec runs it
    // (shown); the WinExec result: 32 or more is success.
    virtual UINT Start(const std::string& commandLine) = 0;
    // A command line in UTF-16, so that a path in it keeps every letter;
    // false when the program cannot be started.
    virtual bool StartWide(const std::wstring& commandLine) = 0;
};

// Starts a program by a command line in UTF-16 (shown); false when the
// program cannot be started.
bool StartProgram(const std::wstring& commandLine);

// The starter of the running program: WinExec and StartProgram.
class SystemStarter : public ProgramStarter {
public:
    UINT Start(const std::string& commandLine) override;
    bool StartWide(const std::wstring& commandLine) override;
};

}  // namespace lexora
