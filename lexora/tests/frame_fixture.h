// lexora's application and frame in this process, for the in-process tests.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app.h"
#include "test_data.h"

namespace lexora_test {

// Writes the start settings of `folders` (UI language, CD and disk folder, the
// disk folder's action log) to `ini`, then builds the program and its frame
// on that file and shows the frame as the application's run does. False when
// the frame was not made.
inline bool OpenLexora(const TestFolders& folders, const std::string& ini, int uiLanguage,
                       std::unique_ptr<lexora::Program>& program, std::unique_ptr<lexora::TDrawApp>& app) {
    auto write = [&](const char* section, const char* key, const std::string& value) {
        ::WritePrivateProfileStringA(section, key, value.c_str(), ini.c_str());
    };
    write("KOMM", "JAZ", std::to_string(uiLanguage));
    write("CESTY", "Umisteni slovni zasoby CD", folders.Cd);
    write("CESTY", "Umisteni slovni zasoby DISK", folders.Disk);
    write("INDEX", "akce0.idx", folders.Disk);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    program = std::make_unique<lexora::Program>(instance, ini);
    program->Config.ProgramFolder = folders.Program;
    app = std::make_unique<lexora::TDrawApp>(instance, *program);
    app->InitMainWindow();
    if (!app->Frame() || !app->Frame()->Handle()) return false;
    ::ShowWindow(app->Frame()->Handle(), SW_SHOWNORMAL);
    return true;
}

}  // namespace lexora_test
