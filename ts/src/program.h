// The program-wide state of ts: the command line and mode, the UI texts, the
// layout being edited with its editing state, and the fonts. One object, made
// by WinMain and handed to every dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/settings/slot_fonts.h"
#include "ts/editor/command_line.h"
#include "ts/editor/layout_editor.h"
#include "ts/editor/ui_texts.h"
#include "ts/keyboard/keyboard_file.h"
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

LOGFONTA ToLogFont(const ts::FontSettings& font);
ts::FontSettings FromLogFont(const LOGFONTA& font);

// A profile file read and written through the system's profile functions
// (ts2000.ini's [FONT], which the keyboard file module's font form reads).
class SystemProfileFile : public ts::ProfileFile {
public:
    explicit SystemProfileFile(std::string fileName) : fileName_(std::move(fileName)) {}
    std::string GetString(const std::string& section, const std::string& key, const std::string& fallback,
                          int size) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;

private:
    std::string fileName_;
};

class Program : public ts::KeyboardFileMessages {
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
    // The UI texts as winlib's windows look texts up (wl::Window::SetItemTexts).
    wl::TextLookup UiTextLookup() {
        return [this](int baseId) { return Text(baseId); };
    }
    UINT UiCodePage() const { return CodePageOfLanguage(texts_.Language()); }

    std::unique_ptr<ts::FileLayer> Files;
    ts::KeyboardLayoutStore Store;
    ts::TextProfileFile WorkIni() { return Store.WorkIni(); }

    // Editing state of the on-screen keyboard.
    bool EditMode = false;
    // A change that takes effect only after a restart (UI language, button font).
    bool RestartNeeded = false;
    bool CancelPending = false;
    ts::ShownState Shown;
    ts::KeyRef Current;  // the key and state the editing dialogs work on
    int PickedChar = -1;  // the character map's pick (-1 none)

    // Fonts: the key captions (from the layout's [FONT]), the same face large
    // for the character map, and the buttons of the dialogs (ts2000.ini [FONT]).
    LOGFONTA KeyFont{};
    HFONT KeyCaptionFont = nullptr;
    HFONT LargeKeyFont = nullptr;
    HFONT ButtonFont = nullptr;
    LOGFONTA ButtonLogFont{};
    void MakeKeyFonts(const LOGFONTA& font);
    void MakeButtonFont(const LOGFONTA& font);
    UINT KeyCodePage() const { return CharSetCodePage(KeyFont.lfCharSet); }

    // The window that owns message boxes (the main dialog once it exists).
    HWND MainWindow = nullptr;
    int MessageBox8(HWND owner, const std::string& text, const std::string& caption, UINT type);

    // A file message of the layout store: a box with the program's name as caption.
    void ShowFileMessage(const std::string& text) override;

private:
    std::string programDirectory_;
    ResourceStrings strings_;
    std::unique_ptr<ts::TextProfileFile> textFile_;
    ts::UiTexts texts_;
};

}  // namespace tsapp
