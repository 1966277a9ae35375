// TFOkno: the main frame of lexora. It reads the settings at start, owns the
// menu commands with their enablers, and runs the closing sequence.
#pragma once

#include <string>
#include <vector>

#include "client.h"
#include "core/dialogs/settings_dialog_host.h"
#include "lexora_program.h"
#include "winlib/frame.h"

namespace lexora {

// Longest line of the translation box read for Translate Back.
constexpr size_t kCaretLineLength = 255;
// Longest word box text Translate Back remembers to go back to.
constexpr size_t kTranslateBackWordLength = 253;

// One toolbar button made from a letter of [TLAC] "RYCHLOIKONY"; command 0 is
// a separator.
struct ToolbarItem {
    int Bitmap;
    unsigned Command;
    bool operator==(const ToolbarItem& o) const { return Bitmap == o.Bitmap && Command == o.Command; }
};
// The buttons of a letter string (at most 99 letters are read), with the
// language letters of the ten pairs for letter G (0 = no button).
std::vector<ToolbarItem> ToolbarItems(const std::string& letters, const std::array<char, lex::kPairCount>& languageLetters);

// Menu resource name of a UI language.
const wchar_t* MenuName(int uiLanguage);

// The frame's rectangle at start: the saved one, unless no work area of
// `workAreas` (the primary monitor's first) shows enough of its title bar to
// grab it; then the default place on the first work area, the size cut to it.
lex::WindowRect VisibleFrameRect(const lex::WindowRect& saved, const std::vector<RECT>& workAreas);
// The work areas of the monitors, the primary monitor's first.
std::vector<RECT> MonitorWorkAreas();

class TFOkno : public wl::FrameWindow, public LookupHost, public DdeHost {
public:
    TFOkno(Program& program, TDrawWindow& client);
    ~TFOkno() override;

    // Frame rectangle from [POZICE] and the frame's creation.
    bool CreateFrame();
    void SetupWindow() override;
    bool CanClose() override;
    // LookupHost
    void SetCaption(const std::string& text) override;
    void RunCommand(unsigned id) override;
    // DdeHost
    bool PokesRefused() override;
    void TranslateClipboardWord(int slot) override;
    HWND HostWindow() override { return Handle(); }

    // One tick of the clipboard watch (the frame's timer, and after every
    // dialog command): a short new text that another program put on the
    // clipboard is looked up, with the frame brought to the front.
    void ClipboardTick();

    // Restart after a configuration change: closing writes, then the new copy.
    // False (with a message) when the new copy cannot be started.
    bool Restart();
    // A restart has started the new copy: this one closes without asking.
    bool RestartPending() const { return restartPending_; }

    WL_DECLARE_MESSAGE_TABLE();

private:
    // Closing writes: history, current slot, keyboard coupling switch off.
    void WriteClosingState();

    LRESULT EvTimer(WPARAM, LPARAM);
    LRESULT EvActivate(WPARAM, LPARAM);
    LRESULT EvSizeFrame(WPARAM, LPARAM);
    LRESULT EvActivateApp(WPARAM, LPARAM);

    void CmNothing() {}
    void CmHistory();
    void CmIrregularVerbs();
    void CmUtility();
    void CmEnd();
    void CmUndo();
    void CmRedo();
    void CmCopy();
    void CmPaste();
    void CmClipboardLink();
    void CmClipboardLinkOn();
    void CmClipboardLinkOff();
    void CmSavePosition();
    void CmLanguage(UINT id);
    void CmDirection();
    void CmTranslateBack();
    void CmHelp();
    void CmTranslator();
    void CmLocate();
    void CmLocateNext();
    void Locate(bool resume);
    // Word dialogs.
    void CmNewEntry();
    void CmCorrectWord();
    void CmDeleteEntry();
    void CmDeleteTranslation();
    bool CanDeleteTranslation();
    void CmKeyboardConfig();
    // After an add or change dialog: the new word into the word box, and a
    // new lookup after OK.
    void WordDialogEnded(INT_PTR result, const std::string& newWord);
    // The shared settings dialogs (settings_commands.cpp).
    lex::SettingsDialogHost DialogHost();
    template <typename DialogClass>
    bool RunSettingsDialog();  // true: OK
    void CmDictionaryConfig();
    void CmSortingSetup();
    void CmFontSetup();
    void CmOtherLanguages();
    void CmAbout();

    void CeHistory(wl::CommandEnabler& ce);
    void CeVerbs(wl::CommandEnabler& ce);
    void CeUndo(wl::CommandEnabler& ce);
    void CeRedo(wl::CommandEnabler& ce);
    void CeCopy(wl::CommandEnabler& ce);
    void CePaste(wl::CommandEnabler& ce);
    void CeClipboardLinkOn(wl::CommandEnabler& ce);
    void CeClipboardLinkOff(wl::CommandEnabler& ce);
    void CeLocateNext(wl::CommandEnabler& ce);
    void CeSortingSetup(wl::CommandEnabler& ce);
    void CeLanguage(wl::CommandEnabler& ce);
    void CeOtherLanguages(wl::CommandEnabler& ce);
    void CeDirection(wl::CommandEnabler& ce);
    void CeTranslateBack(wl::CommandEnabler& ce);
    void CeCorrectWord(wl::CommandEnabler& ce);
    void CeNewEntry(wl::CommandEnabler& ce);
    void CeDeleteEntry(wl::CommandEnabler& ce);
    void CeDeleteTranslation(wl::CommandEnabler& ce);
    void CeHelp(wl::CommandEnabler& ce);

    void Language(int pair);
    static int LanguagePair(UINT command);
    void SetEnablerText(wl::CommandEnabler& ce, int textId);
    // Notes which box has the focus and whether its selection is empty.
    void NoteFocus();
    std::string ReadClipboardText();
    // A dialog of the program is open (a command's, or a message box).
    bool DialogShowing() const;
    // Shows the frame and puts it in front of every other window.
    void BringForward();

    Program& program_;
    TDrawWindow& client_;
    wl::ControlBar toolbar_;
    wl::StatusBar status_;
    HFONT barFont_ = nullptr;
    bool wordSelection_ = false;
    bool translationSelection_ = false;
    TDrawWindow::FocusedBox focusBeforeDialog_ = TDrawWindow::FocusedBox::None;
    bool clipboardReady_ = true;  // no tick is running
    bool restartPending_ = false;
    // Translate-back memory: the slot and the word box text from before the
    // last Translate Back.
    bool translateBackSet_ = false;
    int translateBackSlot_ = 0;
    std::string translateBackWord_;
};

}  // namespace lexora
