// The product settings of ts: the settings dialog (ten quick-switch rows,
// options, language, button font, new layouts), the switch hot-key dialog,
// and the about box with its text viewer.
#pragma once

#include <optional>

#include "key_dialogs.h"
#include "product.h"
#include "ts_ids.h"
#include "core/keyboard/switch_file.h"

namespace tsapp {

// One entry of the switch file (0..9 the quick-switch buttons, 10 turning
// the keyboard off); OK writes the whole file with the other entries kept.
class HotKeyDialog : public TsDialog {
public:
    HotKeyDialog(Program& program, int entry);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmCapture();
    void CmStandard();
    void CmOk();
    int entry_;
    int captured_ = -1;
    std::string path_;
    lex::keyboard::HotKeys keys_;
};

// Text 20630 with the number of the standard F key put in its first "%d";
// any other '%' stays as it is.
std::string FormatStandardSwitch(const std::string& text, int number);

class SettingsDialog : public TsDialog {
public:
    // `trayMenu` (may be null): the notification-area menu whose first ten
    // items OK renames.
    SettingsDialog(Program& program, HMENU trayMenu);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

    struct Result {
        // A change that takes effect only after a restart (UI language, button font).
        bool RestartNeeded = false;
    };
    // Runs the dialog: nothing when it was cancelled.
    std::optional<Result> Run();
    // Whether a change made so far needs a restart.
    bool RestartNeeded() const { return restartNeeded_; }

private:
    static int RowId(int row, int offset) { return IDC_ROW_FIRST + IDC_ROW_STEP * row + offset; }
    void FillLayoutLists();
    void CmOtherFile(UINT id);
    void CmHotKey(UINT id);
    void CmInactivationSwitch() { CmHotKey(IDC_INACTIVATION_SWITCH); }
    void CmButtonFont();
    void CmOk();
    void ShowError();
    HMENU trayMenu_;
    bool restartNeeded_ = false;
};

class AboutDialog : public TsDialog {
public:
    explicit AboutDialog(Program& program);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmLicence();
    void CmSupport();
};

class TextViewDialog : public TsDialog {
public:
    enum class Mode { Licence = 1, Support = 2 };
    TextViewDialog(Program& program, Mode mode);
    void SetupWindow() override;

private:
    // The text opens at its first line with nothing selected.
    void ShowFromTheTop();
    Mode mode_;
};

// The language-dependent texts of the about box (UI language 0..8).
struct AboutTexts {
    const wchar_t* LicenceButton;
    const wchar_t* SupportButton;
    const wchar_t* Rights;
    const wchar_t* LicenceTitle;
    const wchar_t* SupportTitle;
};
const AboutTexts& AboutTextsOf(int language);

// The item of UI language `language` (0..8) in the settings dialog's list of
// languages, each in its own letters.
const wchar_t* LanguageItem(int language);

}  // namespace tsapp
