// The text translator's two dialogs: the choice of the slots to translate
// into (TSelectDialog) and the translator itself (TTrnDialog), which writes
// the word list of a text with the translations of the chosen slots and opens
// it in the editor.
#pragma once

#include <string>

#include "lexora_program.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lexora {

// The longest text the translator's text field takes.
constexpr int kTranslatorTextLimit = 1000000;

class TSelectDialog : public wl::Dialog {
public:
    TSelectDialog(wl::Window* parent, Program& program);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    Program& program_;
};

// The translator starts the editor on its output through the process's
// starter (wl::ProgramStarter::StartWide).
class TTrnDialog : public wl::Dialog {
public:
    TTrnDialog(wl::Window* parent, Program& program);
    ~TTrnDialog() override;
    void SetupWindow() override;
    // The last slot a run looked words up in (-1: none), where the lookup
    // goes after the dialog.
    int LastSlot() const { return lastSlot_; }
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void CmBrowseSource();
    void CmBrowseOutput();
    void EvText(UINT code);
    LRESULT EvTimer(WPARAM, LPARAM);
    void Warn(int captionId, int textId);
    // The file's text in the text field; false (with a message) when it
    // cannot be read.
    bool LoadSource(const std::string& path);

    Program& program_;
    wl::Edit text_;
    wl::Edit output_;
    wl::Button unicode_;
    int lastSlot_ = -1;
};

// The editor command line of an output file: "notepad" for 8-bit text,
// "write" for UTF-16, with the path in quotes.
std::wstring EditorCommandLine(const std::wstring& path, int outputMode);

}  // namespace lexora
