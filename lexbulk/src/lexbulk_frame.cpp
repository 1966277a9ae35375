#include "lexbulk_frame.h"

#include "bulk_dialogs.h"
#include "core/dialogs/settings_dialogs.h"
#include "core/texts/text_ids.h"
#include "lexbulk_ids.h"
#include "lexbulk/menu_names.h"
#include "winlib/program_starter.h"
#include "winlib/text.h"

namespace lexbulk {

const wchar_t* MenuName(int uiLanguage) {
    if (uiLanguage < 0 || uiLanguage > 8) return nullptr;
    return kMenuNames[uiLanguage];
}

WL_BEGIN_MESSAGE_TABLE(TFOkno, wl::FrameWindow)
    WL_COMMAND(IDCANCEL, CmNothing)
    WL_COMMAND(CM_BULK_END, CmExit)
    WL_COMMAND(CM_BULK_EXPORT, CmExport)
    WL_ENABLER(CM_BULK_EXPORT, CeExport)
    WL_COMMAND(CM_BULK_IMPORT, CmImport)
    WL_ENABLER(CM_BULK_IMPORT, CeImport)
    WL_COMMAND(CM_BULK_LOAD_WORDS, CmLoadWords)
    WL_ENABLER(CM_BULK_LOAD_WORDS, CeLoadWords)
    WL_COMMAND(CM_BULK_ARCHIVE_LOAD, CmArchiveLoad)
    WL_ENABLER(CM_BULK_ARCHIVE_LOAD, CeArchiveLoad)
    WL_COMMAND(CM_BULK_ARCHIVE_SAVE, CmArchiveSave)
    WL_ENABLER(CM_BULK_ARCHIVE_SAVE, CeArchiveSave)
    WL_COMMAND(CM_BULK_INITIALISATION, CmInitialisation)
    WL_COMMAND(CM_BULK_HELP, CmHelp)
    WL_ENABLER(CM_BULK_HELP, CeHelp)
    // The settings dialogs shared with lexora.
    WL_COMMAND(CM_BULK_CONFIGURATION, CmConfiguration)
    WL_COMMAND(CM_BULK_FONT_SETUP, CmFontSetup)
    WL_COMMAND(CM_BULK_SORT_SETUP, CmSortSetup)
    WL_ENABLER(CM_BULK_SORT_SETUP, CeSortSetup)
    WL_COMMAND(CM_BULK_ABOUT, CmAbout)
WL_END_MESSAGE_TABLE()

TFOkno::TFOkno(Program& program)
    : wl::FrameWindow(program.Texts.LoadText(lex::kTextUtilitiesCaption), nullptr), program_(program),
      toolbar_(this), status_(this) {}

TFOkno::~TFOkno() {
    if (barFont_) ::DeleteObject(barFont_);
}

bool TFOkno::CreateFrame() {
    HDC dc = ::GetDC(nullptr);
    const int height = -MulDiv(10, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, dc);
    barFont_ = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    toolbar_.SetFont(barFont_);
    struct Button { int bitmap; UINT command; };
    static const Button buttons[] = {
        {0, 0}, {0, 0}, {0, 0},
        {IDB_BULK_EXPORT, CM_BULK_EXPORT}, {IDB_BULK_IMPORT, CM_BULK_IMPORT}, {0, 0},
        {IDB_BULK_LOAD_WORDS, CM_BULK_LOAD_WORDS}, {0, 0},
        {IDB_BULK_ARCHIVE_LOAD, CM_BULK_ARCHIVE_LOAD}, {IDB_BULK_ARCHIVE_SAVE, CM_BULK_ARCHIVE_SAVE}, {0, 0},
        {IDB_BULK_HELP, CM_BULK_HELP}, {IDB_BULK_ABOUT, CM_BULK_ABOUT},
    };
    for (const Button& b : buttons) {
        if (b.command == 0) {
            toolbar_.AddSeparator();
        } else {
            toolbar_.AddButton(b.bitmap, b.command, program_.Instance);
        }
    }
    if (program_.Config.UiLanguage == 1) Insert(status_, Bottom);
    Insert(toolbar_, Top);
    if (const wchar_t* menu = MenuName(program_.Config.UiLanguage)) AssignMenu(menu, program_.Instance);
    return Create(CW_USEDEFAULT, CW_USEDEFAULT, 390, 190, WS_OVERLAPPEDWINDOW);
}

void TFOkno::SetupWindow() {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(::LoadIconW(program_.Instance, MAKEINTRESOURCEW(IDI_LEXBULK))));
    lex::ProgramSettings& config = program_.Config;
    lex::LoadAtStart(
        program_.Settings, *program_.Files, [this](int id) { return std::string(program_.Texts.LoadText(id)); }, config);
    program_.History.ResetHistory();
    if (program_.History.AllocHistory(config.Dictionary.HistorySize) != 1) {
        ::MessageBoxA(Handle(), "ERROR", "History alloc", MB_OK);
    }
    wl::FrameWindow::SetupWindow();
    ::SetWindowPos(Handle(), nullptr, 0, 0, 390, 190, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void TFOkno::Restart() {
    if (!wl::StartSucceeded(wl::Starter().Start(StartCommandLine(program_.Config.ProgramFolder), SW_SHOW))) {
        ::MessageBoxA(nullptr, "Nelze", "e", MB_OK);
    }
    Post(WM_CLOSE);
}

void TFOkno::CmExit() { Post(WM_CLOSE); }

void TFOkno::CmExport() {
    TextJobDialog dialog(this, program_, TextJobDialog::kExport);
    dialog.Execute();
}

void TFOkno::CmImport() {
    TextJobDialog dialog(this, program_, TextJobDialog::kImport);
    dialog.Execute();
}

void TFOkno::CmLoadWords() {
    TLoadWordDialog dialog(this, program_);
    dialog.Execute();
}

void TFOkno::CmArchiveLoad() {
    ArchiveDialog dialog(this, program_, ArchiveDialog::kLoad);
    dialog.Execute();
}

void TFOkno::CmArchiveSave() {
    ArchiveDialog dialog(this, program_, ArchiveDialog::kSave);
    dialog.Execute();
}

void TFOkno::CmInitialisation() {
    TInicializaceWindow dialog(this, program_);
    dialog.Execute();
}

void TFOkno::CmHelp() {
    const std::string file = program_.Config.ProgramFolder + program_.Texts.LoadText(lex::kTextBulkHelpFile);
    ::WinHelpA(Handle(), file.c_str(), HELP_CONTENTS, 0);
}

// The settings dialogs shared with lexora. The utility has no keyboard
// coupling and no views that draw with the slot fonts.
void TFOkno::CmConfiguration() {
    lex::SettingsDialogHost host = lex::ProgramDialogHost(program_, IDI_LEXBULK);
    if (lex::RunConfiguration(this, host, nullptr)) Restart();
}

void TFOkno::CmFontSetup() {
    lex::SettingsDialogHost host = lex::ProgramDialogHost(program_, IDI_LEXBULK);
    lex::RunSettingsDialog<lex::TConfigFontWindow>(this, host);
}

void TFOkno::CmSortSetup() {
    lex::SettingsDialogHost host = lex::ProgramDialogHost(program_, IDI_LEXBULK);
    lex::RunSettingsDialog<lex::TSortWindow>(this, host);
}

void TFOkno::CmAbout() {
    lex::SettingsDialogHost host = lex::ProgramDialogHost(program_, IDI_LEXBULK);
    lex::RunSettingsDialog<lex::TAbout>(this, host);
}

void TFOkno::CeExport(wl::CommandEnabler& ce) { ce.SetText(program_.Texts.LoadText(lex::kTextMenuExport)); }
void TFOkno::CeImport(wl::CommandEnabler& ce) { ce.SetText(program_.Texts.LoadText(lex::kTextMenuImport)); }
void TFOkno::CeLoadWords(wl::CommandEnabler& ce) {
    ce.SetText(program_.Texts.LoadText(lex::kTextMenuLoadWords));
    ce.Enable(true);
}
void TFOkno::CeArchiveLoad(wl::CommandEnabler& ce) {
    ce.SetText(program_.Texts.LoadText(lex::kTextMenuReadBackup));
    ce.Enable(true);
}
void TFOkno::CeArchiveSave(wl::CommandEnabler& ce) {
    ce.SetText(program_.Texts.LoadText(lex::kTextMenuArchive));
    ce.Enable(true);
}
void TFOkno::CeSortSetup(wl::CommandEnabler& ce) {
    ce.SetText(program_.Texts.LoadText(lex::kTextMenuSortingSetup));
}
void TFOkno::CeHelp(wl::CommandEnabler& ce) { ce.SetText(program_.Texts.LoadText(lex::kTextBulkHelp)); }

// --- Application -------------------------------------------------------------

TDrawApp::~TDrawApp() { frame_.reset(); }

void TDrawApp::InitMainWindow() {
    // The value as stored: a language without a menu leaves the frame without
    // one (its texts are those of language 1).
    program_.Config.UiLanguage = program_.Settings.ReadInt(lex::Setting::UiLanguage);
    program_.Texts.SetUiLanguage(program_.Settings.ReadUiLanguage());
    wl::Window::SetDefaultCodePage(program_.UiCodePage());
    program_.CreateFonts();
    frame_ = std::make_unique<TFOkno>(program_);
    frame_->CreateFrame();
    SetMainWindow(frame_.get());
}

int OwlMain(HINSTANCE instance, Program& program) {
    program.Config.ProgramFolder = wl::ProgramFolderOf(wl::ModulePath(instance));
    TDrawApp app(instance, program);
    return app.Run();
}

}  // namespace lexbulk
