// The program-wide state of ts: the command line and mode, the UI texts, the
// layout being edited, and the fonts (the editing state is the main dialog's
// keyboard session). One object, made
// by WinMain and handed to every dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/ui/slot_fonts.h"
#include "ts/editor/command_line.h"
#include "ts/editor/layout_editor.h"
#include "ts/editor/ts_ui_texts.h"
#include "core/keyboard/keyboard_file.h"
#include "winlib/window.h"

namespace tsapp {

// Code page of the texts of a UI language (1251 Russian, 1252 French and
// Spanish, 1250 the others).
UINT CodePageOfLanguage(int language);
// Code page of the characters drawn in a font of `charSet`: the dictionary
// programs' rule.
using lex::CharSetCodePage;

// The string table of the program's resources, each text converted from
// UTF-16 in the code page of its language (id % 10).
class ResourceStrings : public ts::StringTable {
public:
    std::string LoadString(int id, int size) override;
};

LOGFONTA ToLogFont(const lex::keyboard::FontSettings& font);
lex::keyboard::FontSettings FromLogFont(const LOGFONTA& font);

class Program : public lex::keyboard::KeyboardFileMessages {
public:
    explicit Program(const ts::CommandLine& line);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const ts::CommandLine Line;
    bool EditorOnly() const { return Line.Mode() == ts::StartMode::EditorOnly; }

    // The folder of "zdroj.rc" and the help file, ending in '\' (or empty).
    const std::string& ProgramDirectory() const { return programDirectory_; }
    void SetProgramDirectory(const std::string& folder);

    // UI texts in the UI language; their code page.
    ts::UiTexts& Texts() { return texts_; }
    std::string Text(int baseId) { return texts_.Get(baseId); }
    // The UI texts as winlib's windows look texts up for their controls
    // (wl::Window::SetItemTexts), an "&" that marks no letter shown as itself.
    wl::TextLookup UiTextLookup() {
        return [this](int baseId) { return ts::ControlText(Text(baseId)); };
    }
    UINT UiCodePage() const { return CodePageOfLanguage(texts_.Language()); }

    std::unique_ptr<lex::FileSystem> Files;
    lex::keyboard::KeyboardLayoutStore Store;
    // Loads a layout (LoadKeyboardFile of the store); the working copy of its
    // companion ini is then read once, at its first use, for the whole load.
    lex::keyboard::KeyboardFileResult LoadKeyboardFile(const std::string& path);
    // The working copy of the loaded layout's companion ini, kept in memory
    // from its first read until the next load; every [RUN] and [FONT] read
    // and edit goes through it.
    lex::keyboard::ProfileFile& WorkIni();

    // Fonts: the key captions (from the layout's [FONT]), the same face large
    // for the character map, and the buttons of the dialogs (ts2000.ini [FONT]).
    LOGFONTA KeyFont{};
    HFONT KeyCaptionFont = nullptr;
    HFONT LargeKeyFont = nullptr;
    HFONT ButtonFont = nullptr;
    LOGFONTA ButtonLogFont{};
    // The fonts are made so that their texts can be read (another face when
    // the stored one lacks the character set); the LOGFONTs stay as stored.
    void MakeKeyFonts(const LOGFONTA& font);
    // The button font draws every letter of UiLetters(). Every window still
    // on the old button font gets the new one first.
    void MakeButtonFont(const LOGFONTA& font);
    // Every character that the texts of the UI language show in the button
    // font: the program's texts (as "zdroj.rc" may give them), the about
    // box's and the items of the language list.
    std::wstring UiLetters();
    UINT KeyCodePage() const { return CharSetCodePage(KeyFont.lfCharSet); }

    // The window that owns message boxes (the main dialog once it exists).
    HWND MainWindow = nullptr;
    int MessageBox8(HWND owner, const std::string& text, const std::string& caption, UINT type);

    // A file message of the layout store: a box with the program's name as caption.
    void ShowFileMessage(const std::string& text) override;
    // The store's question before a save replaces a file that could not be loaded.
    bool ConfirmReplaceUnloaded(const std::string& path) override;

private:
    std::string programDirectory_;
    ResourceStrings strings_;
    std::unique_ptr<lex::keyboard::TextProfileFile> textFile_;
    std::unique_ptr<lex::keyboard::TextProfileFile> workIni_;
    ts::UiTexts texts_;
};

}  // namespace tsapp
