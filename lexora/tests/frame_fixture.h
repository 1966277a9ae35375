// lexora's application and frame in this process, for the in-process tests.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app.h"
#include "test_data.h"
#include "winlib/text.h"

namespace lexora_test {

// Writes the start settings of `folders` (UI language, CD and disk folder, the
// disk folder's action log) to `ini`, then builds the program and its frame
// on that file and shows the frame as the application's run does. `prepare`,
// when given, changes the program before its frame is made (a test's stand-ins).
// False when the frame was not made.
inline bool OpenLexora(const TestFolders& folders, const std::string& ini, int uiLanguage,
                       std::unique_ptr<lexora::Program>& program, std::unique_ptr<lexora::TDrawApp>& app,
                       const std::function<void(lexora::Program&)>& prepare = nullptr) {
    WriteStartSettings(folders, ini, uiLanguage);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    program = std::make_unique<lexora::Program>(instance, ini);
    program->Config.ProgramFolder = folders.Program;
    if (prepare) prepare(*program);
    app = std::make_unique<lexora::TDrawApp>(instance, *program);
    app->InitMainWindow();
    if (!app->Frame() || !app->Frame()->Handle()) return false;
    ::ShowWindow(app->Frame()->Handle(), SW_SHOWNORMAL);
    return true;
}

// Stands in for the programs lexora starts: records the command lines
// (UTF-16 ones also in `Started`, as 8-bit text) and answers `Result` (33 is
// WinExec's "started") and `WideResult`.
struct StartRecorder : lexora::ProgramStarter {
    std::vector<std::string> Started;
    std::vector<std::wstring> WideLines;
    UINT Result = 33;
    bool WideResult = true;

    UINT Start(const std::string& commandLine) override {
        Started.push_back(commandLine);
        return Result;
    }
    bool StartWide(const std::wstring& commandLine) override {
        WideLines.push_back(commandLine);
        Started.push_back(wl::FromWide(commandLine, CP_ACP));
        return WideResult;
    }
};

}  // namespace lexora_test
