#include "program_starter.h"

#include <vector>

namespace lexora {

bool StartProgram(const std::wstring& commandLine) {
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

UINT SystemStarter::Start(const std::string& commandLine) { return ::WinExec(commandLine.c_str(), SW_SHOW); }

bool SystemStarter::StartWide(const std::wstring& commandLine) { return StartProgram(commandLine); }

}  // namespace lexora
