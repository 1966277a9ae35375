#include "lexora_program.h"

namespace lexora {

Program::Program(HINSTANCE instance, const std::string& settingsFile)
    : DictionaryProgramState(instance, settingsFile),
      Engine(std::make_unique<lex::EngineContext>(Config.Dictionary, *Files, Display, *this)),
      Coupling(
          Settings, [this](int slot, int kind) { return SlotCodePage(slot, kind); }, [this] { return UiCodePage(); },
          [this](bool reversed) {
              if (Engine) Engine->ReversedEntry = reversed;
          }) {}

Program::~Program() {
    Engine.reset();
    DeleteFonts();
}

lex::SlotLook Program::Look() {
    lex::SlotLook look;
    look.sourceFont = [this](int slot) { return Fonts[0][slot]; };
    look.sourceCodePage = [this](int slot) { return SlotCodePage(slot, 0); };
    return look;
}

bool Program::EnterDialog() {
    const bool outer = !dialogOpen_;
    if (outer && noteFocus_) noteFocus_();
    dialogOpen_ = true;
    return outer;
}

void Program::LeaveDialog(bool tickAfter) {
    dialogOpen_ = false;
    if (tickAfter && afterDialog_) afterDialog_();
    if (giveBackFocus_) giveBackFocus_();
}

void Program::StartKeyboardCoupling() {
    if (Config.KeyboardCouplingSetting != 1) return;
    Coupling.SetCouplingOn(true);
    hook_.Install();
}

void Program::ApplyKeyboardCouplingSetting() {
    const bool on = Config.KeyboardCouplingSetting == 1;
    if (on && !hook_.Installed()) {
        Coupling.SetCouplingOn(hook_.Install());
    } else if (!on && hook_.Installed()) {
        StopKeyboardCoupling();
    }
    hook_.LoadLayoutFile();
}

void Program::StopKeyboardCoupling() {
    Coupling.SetCouplingOn(false);
    hook_.Remove();
}

void Program::SetClipboardLink(bool on, unsigned long change, const std::function<std::string()>& readText) {
    clipboardLink_ = on;
    if (on) TakeOwnCopyAtLinkOn(clipboard_, change, readText);
}

bool Program::TakeClipboardText(std::string text) { return lexora::TakeClipboardText(clipboard_, std::move(text)); }

void Program::ReportEngineError(const std::string&, const std::string&) {
    // Inconsistencies inside the files are not shown by the dictionary program.
}

void Program::AddToHistory(const std::string& word, int slot) { History.AddToHistory(word, slot); }

}  // namespace lexora
