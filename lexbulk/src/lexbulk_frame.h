// TFOkno: the main frame of lexbulk. Every menu command runs one modal dialog
// that does one bulk job; the frame reads the settings at start and restarts
// the utility after a configuration change that needs it.
#pragma once

#include "lexbulk_program.h"
#include "winlib/application.h"
#include "winlib/frame.h"

namespace lexbulk {

// Menu resource name of a UI language; null for a language without a menu.
const wchar_t* MenuName(int uiLanguage);

class TFOkno : public wl::FrameWindow {
public:
    explicit TFOkno(Program& program);
    ~TFOkno() override;

    // The bars, the menu of the UI language and the window.
    bool CreateFrame();
    void SetupWindow() override;

    // Starts a new copy with "start" and closes this one; the "Nelze" box
    // when it cannot be started (the frame closes all the same).
    void Restart();

    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmNothing() {}
    void CmExit();
    void CmExport();
    void CmImport();
    void CmLoadWords();
    void CmArchiveLoad();
    void CmArchiveSave();
    void CmInitialisation();
    void CmHelp();
    void CmConfiguration();
    void CmFontSetup();
    void CmSortSetup();
    void CmAbout();

    void CeExport(wl::CommandEnabler& ce);
    void CeImport(wl::CommandEnabler& ce);
    void CeLoadWords(wl::CommandEnabler& ce);
    void CeArchiveLoad(wl::CommandEnabler& ce);
    void CeArchiveSave(wl::CommandEnabler& ce);
    void CeSortSetup(wl::CommandEnabler& ce);
    void CeHelp(wl::CommandEnabler& ce);

    Program& program_;
    wl::ControlBar toolbar_;
    wl::StatusBar status_;
    HFONT barFont_ = nullptr;
};

// TDrawApp: reads the UI language and builds the frame.
class TDrawApp : public wl::Application {
public:
    TDrawApp(HINSTANCE instance, Program& program) : wl::Application(instance), program_(program) {}
    ~TDrawApp() override;
    void InitMainWindow() override;
    TFOkno* Frame() const { return frame_.get(); }

private:
    Program& program_;
    std::unique_ptr<TFOkno> frame_;
};

// Program entry after the start gate: the program folder from the module
// path, then the application.
int OwlMain(HINSTANCE instance, Program& program);

}  // namespace lexbulk
