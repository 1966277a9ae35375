// What the settings dialogs shared by the dictionary programs need from the
// program that opens them: its settings file and settings in memory, its UI
// texts and message buffers, its file layer, its word history and the fonts
// of its views.
// Each program fills one host (usually a member of its frame) and hands it to
// every dialog:
//
//   lex::SettingsDialogHost host = lex::ProgramDialogHost(program, IDI_PROGRAM);
//   host.FontsChanged = [&] { client.RefreshView(); };
//   host.SelectStandardKeyboard = [&] { ... };   // lexora only
//   lex::RunSettingsDialog<lex::TSortWindow>(frame, host);
#pragma once

#include <windows.h>

#include <functional>

#include "core/engine/dictionary_settings.h"
#include "core/files/file_system.h"
#include "core/history/history_list.h"
#include "core/settings/settings.h"
#include "core/texts/text_loader.h"
#include "core/ui/message_boxes.h"

namespace lex {

class SettingsDialogHost {
public:
    SettingsDialogHost(SettingsFile& settings, ProgramSettings& config, TextLoader& texts, MessageBuffers& messages,
                       FileSystem& files)
        : Settings(settings), Config(config), Texts(texts), Messages(messages), Files(files) {}

    SettingsFile& Settings;    // lx2000.ini
    ProgramSettings& Config;   // the settings in memory (restart flag in Config.ConfigFlags)
    TextLoader& Texts;         // UI texts in the UI language
    MessageBuffers& Messages;  // caption and text of the next message dialog
    FileSystem& Files;         // the program's file layer

    HistoryList* History = nullptr;  // resized by the configuration dialog (null: none kept)
    // Font handles and their character sets: [0] original, [1] translation,
    // [2] pronunciation, index = slot (null: the font dialog only writes the file).
    HFONT (*Fonts)[kSlotCount] = nullptr;
    BYTE (*FontCharSets)[kSlotCount] = nullptr;
    HICON Icon = nullptr;  // shown by the about box
    // Called after a font handle was replaced, before the old one is deleted:
    // every view must take the new handles now.
    std::function<void()> FontsChanged;
    // The keyboard coupling's standard keyboard while a settings dialog is open
    // (the bulk utility has none: leave it empty).
    std::function<void()> SelectStandardKeyboard;

    void OfferStandardKeyboard() const {
        if (SelectStandardKeyboard) SelectStandardKeyboard();
    }
    // The message dialog with caption and text ids, parent `parent`.
    void ShowMessage(wl::Window* parent, int captionId, int textId) {
        lex::ShowMessage(parent, Messages, Texts, captionId, textId);
    }
};

// The host of a program object that holds the pieces under their usual names
// (Settings, Config, Texts, Messages, Files, History, Fonts, FontCharSets, Instance),
// with the program's icon resource `iconId` for the about box.
template <typename ProgramState>
SettingsDialogHost ProgramDialogHost(ProgramState& program, int iconId) {
    SettingsDialogHost host(program.Settings, program.Config, program.Texts, program.Messages, *program.Files);
    host.History = &program.History;
    host.Fonts = program.Fonts;
    host.FontCharSets = program.FontCharSets;
    host.Icon = ::LoadIconW(program.Instance, MAKEINTRESOURCEW(iconId));
    return host;
}

}  // namespace lex
