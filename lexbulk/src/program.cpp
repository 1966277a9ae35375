#include "program.h"

#include "winlib/text.h"

namespace lexbulk {

namespace {
UINT StartWithWinExec(const std::string& commandLine) { return ::WinExec(commandLine.c_str(), SW_SHOW); }

UINT CharSetCodePage(BYTE charSet) {
    switch (charSet) {
    case EASTEUROPE_CHARSET: return 1250;
    case RUSSIAN_CHARSET: return 1251;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case BALTIC_CHARSET: return 1257;
    default: return 1252;
    }
}
}  // namespace

ProgramStarter Program::starter = StartWithWinExec;

Program::Program(HINSTANCE instance, const std::string& settingsFile)
    : Instance(instance), Settings(settingsFile), Texts(instance), Files(lex::MakePlatformFileSystem()),
      Engine(std::make_unique<lex::EngineContext>(Config.Dictionary, *Files, Display, *this)) {}

Program::~Program() {
    Engine.reset();
    DeleteFonts();
}

void Program::CreateFonts() {
    DeleteFonts();
    for (int type = 0; type < 3; ++type) {
        for (int slot = 0; slot < lex::kSlotCount; ++slot) {
            LOGFONTA font = Settings.ReadFontSetting(type, slot);
            FontCharSets[type][slot] = font.lfCharSet;
            Fonts[type][slot] = ::CreateFontIndirectA(&font);
        }
    }
}

void Program::DeleteFonts() {
    for (auto& kind : Fonts) {
        for (HFONT& font : kind) {
            if (font) ::DeleteObject(font);
            font = nullptr;
        }
    }
}

UINT Program::SlotCodePage(int slot, int side) const {
    if (!lex::IsValidSlot(slot) || side < 0 || side > 2) return 1252;
    return CharSetCodePage(FontCharSets[side][slot]);
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

std::string ProgramFolderOf(const std::string& programPath) {
    size_t slash = programPath.find_last_of('\\');
    if (slash == std::string::npos) return programPath;
    return programPath.substr(0, slash + 1);
}

std::string StartCommandLine(const std::string& programFolder) {
    return "\"" + programFolder + "LEXBULK.exe\" start";
}

bool IsStartCommand(int argc, const wchar_t* const* argv) {
    return argc == 2 && argv[1] != nullptr && std::wstring(argv[1]) == L"start";
}

}  // namespace lexbulk
