// The frame's commands that open the shared settings dialogs: dictionary
// configuration (with the restart it may ask for), sort order, fonts, other
// languages and about.
#include "core/dialogs/settings_dialogs.h"
#include "frame.h"
#include "lexora_ids.h"
#include "messages.h"

namespace lexora {

lex::SettingsDialogHost TFOkno::DialogHost() {
    lex::SettingsDialogHost host(program_.Settings, program_.Config, program_.Texts, program_.Messages);
    host.History = &program_.History;
    host.Fonts = program_.Fonts;
    host.FontCharSets = program_.FontCharSets;
    host.Icon = ::LoadIconW(program_.Instance, MAKEINTRESOURCEW(IDI_LEXORA));
    host.FontsChanged = [this] { client_.RefreshView(); };
    return host;
}

template <typename DialogClass>
bool TFOkno::RunSettingsDialog() {
    DialogOpenScope scope(program_);
    lex::SettingsDialogHost host = DialogHost();
    DialogClass dialog(this, host);
    return dialog.Execute() == IDOK;
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
    if (RunSettingsDialog<lex::TJazykyDialog>()) client_.RefreshView();
}

void TFOkno::CmAbout() { RunSettingsDialog<lex::TAbout>(); }

}  // namespace lexora
