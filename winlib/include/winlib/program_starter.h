// How the programs start other programs: one starter per process, the
// system's, through which every start goes (a command line of 8-bit texts run
// as WinExec runs it, or one in UTF-16 for a path that must keep every
// letter). Tests put a recorder in its place (winlib/testing/start_recorder.h).
#pragma once

#include <windows.h>

#include <string>

namespace wl {

// WinExec's rule: a result of 32 or more says the program was started.
constexpr UINT kFirstStartedResult = 32;
inline bool StartSucceeded(UINT result) { return result >= kFirstStartedResult; }

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Runs an 8-bit command line as WinExec runs it, its window shown as
    // `show` (SW_SHOW, SW_SHOWNORMAL); the WinExec result (StartSucceeded).
    virtual UINT Start(const std::string& commandLine, int show) = 0;
    // Runs a command line in UTF-16 (shown); false when the program cannot
    // be started.
    virtual bool StartWide(const std::wstring& commandLine) = 0;
};

// The system's starter: WinExec, and CreateProcessW for UTF-16 command lines.
class SystemStarter : public ProgramStarter {
public:
    UINT Start(const std::string& commandLine, int show) override;
    bool StartWide(const std::wstring& commandLine) override;
};

// The starter of this process: the system's unless one was put in its place.
ProgramStarter& Starter();
// Puts `starter` in place (null: the system's again); returns the one it replaces.
ProgramStarter* UseStarter(ProgramStarter* starter);

}  // namespace wl
