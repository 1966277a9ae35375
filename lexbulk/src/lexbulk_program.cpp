#include "lexbulk_program.h"

#include "winlib/text.h"

namespace lexbulk {

Program::Program(HINSTANCE instance, const std::string& settingsFile)
    : DictionaryProgramState(instance, settingsFile),
      Engine(std::make_unique<lex::EngineContext>(Config.Dictionary, *Files, Display, *this)) {}

Program::~Program() {
    Engine.reset();
    DeleteFonts();
}

void Program::ShowOk(wl::Window* parent, int captionId, int textId) {
    lex::ShowMessage(parent, Messages, Texts, captionId, textId);
}

bool Program::AskYesNo(wl::Window* parent, int captionId, int textId) {
    return lex::AskYesNo(parent, Messages, Texts, captionId, textId);
}

void Program::ShowOkText(wl::Window* parent, int captionId, const std::string& text) {
    Messages.SetCaption(Texts.LoadText(captionId));
    Messages.SetText(text.c_str());
    lex::TMOK box(parent, Messages, Texts);
    box.Execute();
}

void Program::ReportEngineError(const std::string& text, const std::string& caption) {
    ::MessageBoxW(nullptr, wl::ToWide(text, UiCodePage()).c_str(), wl::ToWide(caption, UiCodePage()).c_str(), MB_OK);
}

std::string StartCommandLine(const std::string& programFolder) {
    return "\"" + programFolder + "LEXBULK.exe\" start";
}

bool IsStartCommand(int argc, const wchar_t* const* argv) {
    return argc == 2 && argv[1] != nullptr && std::wstring(argv[1]) == L"start";
}

}  // namespace lexbulk
