// The frame's commands that open the shared settings dialogs: dictionary
// configuration (with the restart it may ask for), sort order, fonts, other
// languages and about.
#include "core/dialogs/settings_dialogs.h"
#include "lexora_frame.h"
#include "lexora_ids.h"
#include "messages.h"

namespace lexora {

lex::SettingsDialogHost TFOkno::DialogHost() {
    lex::SettingsDialogHost host = lex::ProgramDialogHost(program_, IDI_LEXORA);
    host.FontsChanged = [this] { client_.RefreshView(); };
    return host;
}

template <typename DialogClass>
bool TFOkno::RunSettingsDialog() {
    DialogOpenScope scope(program_);
    lex::SettingsDialogHost host = DialogHost();
    return lex::RunSettingsDialog<DialogClass>(this, host);
}

void TFOkno::CmDictionaryConfig() {
    bool restart = false;
    {
        DialogOpenScope scope(program_);
        lex::SettingsDialogHost host = DialogHost();
        restart = lex::RunConfiguration(this, host, [this] { client_.RefreshView(); });
    }
    if (restart) Restart();
}

void TFOkno::CmSortingSetup() { RunSettingsDialog<lex::TSortWindow>(); }

void TFOkno::CmFontSetup() {
    if (RunSettingsDialog<lex::TConfigFontWindow>()) client_.RefreshView();
}

void TFOkno::CmOtherLanguages() {
    int slot = -1;
    {
        DialogOpenScope scope(program_);
        lex::SettingsDialogHost host = DialogHost();
        lex::TJazykyDialog dialog(this, host);
        if (dialog.Execute() == IDOK) slot = dialog.ChosenSlot();
    }
    if (slot >= 0) client_.GoTo(slot, program_.CurrentWord());
}

void TFOkno::CmAbout() { RunSettingsDialog<lex::TAbout>(); }

}  // namespace lexora
