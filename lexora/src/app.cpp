#include "app.h"

#include "lexora_ids.h"
#include "winlib/text.h"

namespace lexora {

TDrawApp::TDrawApp(HINSTANCE instance, Program& program) : wl::Application(instance), program_(program) {}

TDrawApp::~TDrawApp() {
    frame_.reset();
    client_.reset();
}

void TDrawApp::InitMainWindow() {
    lex::LoadUiLanguage(program_.Settings, program_.Config);
    program_.Texts.SetUiLanguage(program_.Config.UiLanguage);
    wl::Window::SetDefaultCodePage(program_.UiCodePage());
    program_.CreateFonts();

    client_ = std::make_unique<TDrawWindow>(nullptr, program_);
    frame_ = std::make_unique<TFOkno>(program_, *client_);
    frame_->CreateFrame();
    SetMainWindow(frame_.get());
    SetAccelerators(::LoadAcceleratorsW(program_.Instance, MAKEINTRESOURCEW(IDA_LEXORA)));
}

int OwlMain(HINSTANCE instance, Program& program) {
    const std::string programPath = wl::ModulePath(instance);
    program.Settings.WriteText(lex::Setting::ProgramPath, programPath);
    program.Config.ProgramFolder = ProgramFolderOf(programPath);
    TDrawApp app(instance, program);
    return app.Run();
}

}  // namespace lexora
