// Stands in for the programs a program under test starts: Install() puts it
// in place of the process's starter (wl::Starter) until it is destroyed. It
// records the command lines (UTF-16 ones also in `Started`, as 8-bit text in
// the system code page) with the show mode of each 8-bit start, and answers
// `Result` (33 is WinExec's "started") and `WideResult`.
#pragma once

#include <string>
#include <vector>

#include "winlib/program_starter.h"
#include "winlib/text.h"

namespace wl::testing {

class StartRecorder : public wl::ProgramStarter {
public:
    StartRecorder() = default;
    ~StartRecorder() override {
        if (installed_) wl::UseStarter(replaced_);
    }
    StartRecorder(const StartRecorder&) = delete;
    StartRecorder& operator=(const StartRecorder&) = delete;

    void Install() {
        if (installed_) return;
        replaced_ = wl::UseStarter(this);
        installed_ = true;
    }

    std::vector<std::string> Started;
    std::vector<int> Shows;  // of the 8-bit starts, in order
    std::vector<std::wstring> WideLines;
    UINT Result = 33;
    bool WideResult = true;

    UINT Start(const std::string& commandLine, int show) override {
        Started.push_back(commandLine);
        Shows.push_back(show);
        return Result;
    }
    bool StartWide(const std::wstring& commandLine) override {
        WideLines.push_back(commandLine);
        Started.push_back(wl::FromWide(commandLine, CP_ACP));
        return WideResult;
    }

private:
    bool installed_ = false;
    wl::ProgramStarter* replaced_ = nullptr;
};

}  // namespace wl::testing
