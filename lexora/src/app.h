// TDrawApp: the application object of lexora. Its main-window set-up reads
// the UI language, builds the client and the frame with its menu, control bar
// and status bar.
#pragma once

#include <memory>

#include "client.h"
#include "lexora_frame.h"
#include "lexora_program.h"
#include "winlib/application.h"

namespace lexora {

class TDrawApp : public wl::Application {
public:
    TDrawApp(HINSTANCE instance, Program& program);
    ~TDrawApp() override;
    void InitMainWindow() override;

    TFOkno* Frame() const { return frame_.get(); }
    TDrawWindow* Client() const { return client_.get(); }

private:
    Program& program_;
    std::unique_ptr<TDrawWindow> client_;
    std::unique_ptr<TFOkno> frame_;
};

// The program directory: the folder of the running program file (from its
// module path), ending in a backslash.
using wl::ProgramFolderOf;

// Program entry after WinMain: writes the program path to the settings, keeps
// the program directory, runs the application.
int OwlMain(HINSTANCE instance, Program& program);

}  // namespace lexora
