// The start-up of ts, in the order it runs: the UI language, the
// single-instance check, the window menu, the fonts, the tray, the
// quick-switch buttons, activation, the poll timer and [PREPINAC]. The main
// dialog runs it from its SetupWindow and does the window work it asks for;
// the steps, their order and what each mode leaves out are kept here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/settings/ts2000_ini.h"

namespace tsapp {

class Program;

// What the start-up reads from ts2000.ini, and the one key it writes.
class StartupSettings {
public:
    virtual ~StartupSettings() = default;
    virtual int UiLanguage() = 0;                      // [Konfigurace] "Komunikacni jazyk"
    virtual LOGFONTA ButtonFont() = 0;                 // [FONT]
    virtual int LastQuickButton() = 0;                 // [Konfigurace] "Posledni", 0..9
    virtual std::string QuickButtonShortName(int index) = 0;
    virtual bool ActivateAtStart() = 0;                // [Konfigurace] "Aktivovat" is 1
    virtual std::string ProgramFolder() = 0;           // [CESTY] as stored
    virtual void WriteSwitchFile(const std::string& path) = 0;  // [PREPINAC]
};

// The settings of the Windows directory's ts2000.ini.
class Ts2000StartupSettings : public StartupSettings {
public:
    explicit Ts2000StartupSettings(Program& program) : program_(program) {}
    int UiLanguage() override;
    LOGFONTA ButtonFont() override;
    int LastQuickButton() override;
    std::string QuickButtonShortName(int index) override;
    bool ActivateAtStart() override;
    std::string ProgramFolder() override;
    void WriteSwitchFile(const std::string& path) override;

private:
    Program& program_;
    const lex::Ts2000IniFile ts2000_;
};

// The window work of the start-up, done by the main dialog.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    // The UI code page and the controls' texts in the UI language.
    virtual void ShowUiTexts(bool editorOnly) = 0;
    // Whether the resident program or another ts has a window.
    virtual bool OtherProductWindowRuns() = 0;
    // Tells the user that this ts cannot start; it ends at the first tick.
    virtual void RefuseStart() = 0;
    // Editor-only mode: activation and the settings are not offered.
    virtual void HideProductButtons() = 0;
    virtual void AddWindowMenu(bool editorOnly) = 0;
    virtual void SetIcons() = 0;
    // The button font of the program on the dialog's controls.
    virtual void ApplyButtonFont() = 0;
    virtual void AddTrayIcon() = 0;
    // The modifier and prefix toggles off.
    virtual void ResetToggles() = 0;
    virtual void ShowQuickButtons(int current, const std::vector<std::string>& shortNames) = 0;
    virtual void HideQuickButtons() = 0;
    virtual void SetUpKeyTips() = 0;
    // Shows quick-switch button `index` and loads its layout.
    virtual void SelectQuickButton(int index) = 0;
    virtual void Activate() = 0;
    virtual void StartPollTimer() = 0;
};

class Startup {
public:
    Startup(Program& program, StartupWindow& window, StartupSettings& settings)
        : program_(program), window_(window), settings_(settings) {}

    void Run();
    // Another ts or the resident program was running: this one changes nothing
    // and ends at its first tick.
    bool Refused() const { return refused_; }

private:
    void SetUiLanguage();
    void CheckSingleInstance();
    void SetButtonFont();
    void SetUpQuickButtons(int current);
    void WriteSwitchFile();

    Program& program_;
    StartupWindow& window_;
    StartupSettings& settings_;
    bool refused_ = false;
};

}  // namespace tsapp
