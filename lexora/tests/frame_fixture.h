// lexora's application and frame in this process, for the in-process tests.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lexora/src/app.h"
#include "test_data.h"
#include "winlib/testing/start_recorder.h"
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

// Stands in for the programs lexora starts (put in place with Install()).
using wl::testing::StartRecorder;

}  // namespace lexora_test
