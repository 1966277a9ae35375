// The program-wide state of lexbulk: one object, owned by WinMain and handed
// to the frame and to every dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/engine/engine.h"
#include "core/history/history_list.h"
#include "core/settings/settings.h"
#include "core/ui/dictionary_program.h"
#include "core/texts/text_loader.h"
#include "core/ui/message_boxes.h"
#include "core/ui/quiet_display.h"
#include "winlib/application.h"
#include "winlib/window.h"

namespace lexbulk {

// Settings, texts, message buffers, history, files and the fonts per slot come
// from lex::DictionaryProgramState.
class Program : public lex::EngineHooks, public lex::DictionaryProgramState {
public:
    explicit Program(HINSTANCE instance, const std::string& settingsFile = lex::kSettingsFileName);
    ~Program() override;

    lex::QuietDisplay Display;  // the utility shows no lookup
    std::unique_ptr<lex::EngineContext> Engine;

    // The message boxes of the dictionary programs, by text id.
    void ShowOk(wl::Window* parent, int captionId, int textId);
    bool AskYesNo(wl::Window* parent, int captionId, int textId);
    // An OK box with a caption id and a text of its own.
    void ShowOkText(wl::Window* parent, int captionId, const std::string& text);

    // lex::EngineHooks: the utility shows the engine's reports in a plain box.
    void ReportEngineError(const std::string& text, const std::string& caption) override;
    void AddToHistory(const std::string&, int) override {}
};

using wl::ProgramFolderOf;

// The command line that starts the utility from `programFolder`: the quoted
// program path and the one argument "start".
std::string StartCommandLine(const std::string& programFolder);

// Whether the arguments (without the program) are exactly the one word
// "start" (case-sensitive).
bool IsStartCommand(int argc, const wchar_t* const* argv);

}  // namespace lexbulk
