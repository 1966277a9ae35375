#include "winlib/program_starter.h"

#include <vector>

namespace wl {

namespace {
SystemStarter systemStarter;
ProgramStarter* current = &systemStarter;
}  // namespace

UINT SystemStarter::Start(const std::string& commandLine, int show) {
    return ::WinExec(commandLine.c_str(), static_cast<UINT>(show));
}

bool SystemStarter::StartWide(const std::wstring& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

ProgramStarter& Starter() { return *current; }

ProgramStarter* UseStarter(ProgramStarter* starter) {
    ProgramStarter* replaced = current;
    current = starter ? starter : &systemStarter;
    return replaced;
}

}  // namespace wl
