#include "startup.h"

#include "product.h"
#include "ts_program.h"
#include "ts/editor/command_line.h"
#include "core/keyboard/switch_file.h"

namespace tsapp {

int Ts2000StartupSettings::UiLanguage() { return ts2000_.ReadInt(lex::Ts2000Key::UiLanguage); }

LOGFONTA Ts2000StartupSettings::ButtonFont() { return lex::ReadButtonFont(ts2000_); }

int Ts2000StartupSettings::LastQuickButton() {
    // A button index outside 0..9 gives button 0.
    return ts2000_.ReadIntInRange(lex::Ts2000Key::LastQuickButton, 0, 9);
}

std::string Ts2000StartupSettings::QuickButtonShortName(int index) {
    return LoadQuickButton(program_, index).ShortName;
}

bool Ts2000StartupSettings::ActivateAtStart() { return ts2000_.ReadInt(lex::Ts2000Key::ActivateAtStart) == 1; }

std::string Ts2000StartupSettings::ProgramFolder() { return ts2000_.ReadText(lex::Ts2000Key::ProgramFolder); }

void Ts2000StartupSettings::WriteSwitchFile(const std::string& path) {
    ts2000_.WriteText(lex::Ts2000Key::SwitchFile, path);
}

void Startup::Run() {
    const bool editorOnly = program_.EditorOnly();
    SetUiLanguage();
    window_.ShowUiTexts(editorOnly);
    if (!editorOnly) CheckSingleInstance();
    if (editorOnly) window_.HideProductButtons();
    window_.AddWindowMenu(editorOnly);
    window_.SetIcons();
    SetButtonFont();
    // Without the icon ts goes on; it is then never hidden, as nothing could
    // show it again.
    if (!editorOnly && !refused_) window_.AddTrayIcon();
    window_.ResetToggles();
    const int current = editorOnly ? 0 : settings_.LastQuickButton();
    SetUpQuickButtons(current);
    window_.SetUpKeyTips();
    // In both modes: the layout, and the toggles with the Off texts of the UI
    // language. A start that ends at once reads and writes no layout file: a
    // load would copy the companion over the running program's working copy.
    if (!refused_) window_.SelectQuickButton(current);
    if (editorOnly) return;
    if (!refused_ && settings_.ActivateAtStart()) window_.Activate();
    window_.StartPollTimer();
    if (!refused_) WriteSwitchFile();
}

void Startup::SetUiLanguage() {
    program_.Texts().SetLanguage(program_.EditorOnly() ? program_.Line.Language : settings_.UiLanguage());
}

void Startup::CheckSingleInstance() {
    // The resident program or another ts runs: this one ends at the first
    // tick, having changed nothing.
    if (!window_.OtherProductWindowRuns()) return;
    refused_ = true;
    window_.RefuseStart();
}

void Startup::SetButtonFont() {
    program_.MakeButtonFont(settings_.ButtonFont());
    window_.ApplyButtonFont();
}

void Startup::SetUpQuickButtons(int current) {
    if (program_.EditorOnly()) {
        window_.HideQuickButtons();
        return;
    }
    std::vector<std::string> shortNames;
    for (int i = 0; i < ts::kQuickButtonCount; ++i) shortNames.push_back(settings_.QuickButtonShortName(i));
    window_.ShowQuickButtons(current, shortNames);
}

void Startup::WriteSwitchFile() {
    const std::string folder = ts::TrimProgramDirectory(settings_.ProgramFolder());
    program_.SetProgramDirectory(folder);
    settings_.WriteSwitchFile(folder + lex::keyboard::kSwitchFileName);
}

}  // namespace tsapp
