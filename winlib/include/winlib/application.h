// Application object and message loop.
//
//   class TDrawApp : public wl::Application {
//       void InitMainWindow() override { ...create frame...; SetMainWindow(frame); }
//   };
//   int WINAPI WinMain(...) { TDrawApp app; return app.Run(); }
//
// Run(): InitMainWindow, show the main window, then the message loop:
// accelerators of the main window first, then modeless dialogs, then the
// ordinary translate and dispatch. When the queue runs empty the main window
// (a FrameWindow) updates its toolbar buttons. The loop ends with WM_QUIT;
// Run returns its exit code.
#pragma once

#include <string>

#include "winlib/window.h"

namespace wl {

// The full path of a module's file (of the running program for null), in the
// ANSI code page.
std::string ModulePath(HINSTANCE module);
// The program folder: the folder of a program file's path, ending in a
// backslash (a path without a folder is returned as it is).
std::string ProgramFolderOf(const std::string& programPath);

class Application {
public:
    explicit Application(HINSTANCE instance = nullptr);
    virtual ~Application();

    int Run();
    // Creates the main window and hands it to SetMainWindow.
    virtual void InitMainWindow() = 0;
    // Called when the message queue is empty.
    virtual void IdleAction();

    void SetMainWindow(Window* window) { mainWindow_ = window; }
    Window* MainWindow() const { return mainWindow_; }
    void SetAccelerators(HACCEL table) { accelerators_ = table; }
    bool LoadAcceleratorTable(int resourceId);
    HINSTANCE Instance() const { return instance_; }
    void SetShowCommand(int cmdShow) { cmdShow_ = cmdShow; }

    static Application* Current();

    // The message loop alone (Run calls it).
    int MessageLoop();

private:
    HINSTANCE instance_;
    Window* mainWindow_ = nullptr;
    HACCEL accelerators_ = nullptr;
    int cmdShow_ = SW_SHOWNORMAL;
};

}  // namespace wl
