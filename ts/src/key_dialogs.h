// The editing dialogs of the on-screen keyboard: key assignment, character
// map, and the three capture dialogs (new key, prefix, delete key). Each works
// on the key and state it is given and on the layout in memory.
#pragma once

#include <optional>

#include "key_button.h"
#include "ts_program.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace tsapp {

// Base of ts's dialogs: the UI code page, the texts of the UI language and the
// button font on every control.
class TsDialog : public wl::Dialog {
public:
    TsDialog(Program& program, int templateId);

protected:
    void SetButtonFont(std::initializer_list<int> ids);
    // Waits for a key at the IDC_CAPTURE button, telling the user in the
    // button, in IDC_CAPTURE_STATUS and (with `showHint`) in IDC_CAPTURE_HINT:
    // the key's scan code, or `kept` when the wait ended without a key.
    int CaptureAtButton(int kept, bool showHint);
    Program& program_;
};

// Waits for the next key going down in `target` (taken off the queue, not
// handled); its scan code, or -1 when the wait ended without a key.
int CaptureKey(HWND target);

class CharMapDialog : public TsDialog {
public:
    // `shown`: the character shown at the start (-1 none).
    CharMapDialog(Program& program, int shown);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

    // Runs the dialog: nothing when it was cancelled, else the character
    // picked last (the one shown at the start when none was picked; -1 none).
    std::optional<int> Pick();

private:
    LRESULT EvPaintGrid(WPARAM, LPARAM);
    LRESULT EvLButtonDown(WPARAM, LPARAM);
    LRESULT EvHScroll(WPARAM, LPARAM);
    void ShowPick(int code, bool moveBar);

    wl::ScrollBar scroll_{this, 1021};
    wl::Edit large_{this, 1026};
    int picked_ = -1;
};

class KeyAssignDialog : public TsDialog {
public:
    KeyAssignDialog(Program& program, const ts::KeyRef& key);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmCharMap();
    void CmBrowse();
    void CmOk();
    LRESULT EvHScroll(WPARAM, LPARAM);
    void ShowCode(int code);

    const ts::KeyRef key_;
    KeyButton preview_;
    wl::ScrollBar scroll_;
    std::string shownCommand_;  // the program command as the dialog showed it
};

class NewKeyDialog : public TsDialog {
public:
    NewKeyDialog(Program& program, const ts::KeyRef& key);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmCapture();
    void CmOk();
    const ts::KeyRef key_;
    int captured_ = -1;
};

class PrefixDialog : public TsDialog {
public:
    explicit PrefixDialog(Program& program);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    int SelectedPrefix() const;
    void CmCapture();
    void CmDeletePrefix();
    void CmOk();
    int captured_ = -1;
};

class DeleteKeyDialog : public TsDialog {
public:
    DeleteKeyDialog(Program& program, const ts::KeyRef& key);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmStateImage();
    void CmAllImages();
    void CmWholeKey();
    const ts::KeyRef key_;
};

}  // namespace tsapp
