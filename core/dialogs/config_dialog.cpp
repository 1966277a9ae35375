// TConfigWindow: the program configuration, and TTlacitko: the toolbar icons.
#include <cstdlib>
#include <cwctype>

#include "core/dialogs/dialog_texts.h"
#include "core/dialogs/settings_dialogs.h"
#include "core/engine/slots.h"
#include "core/engine/trim_word.h"
#include "winlib/common_dialogs.h"
#include "winlib/text.h"

namespace lex {

namespace {

constexpr int kFolderChars = 253;
constexpr int kNameChars = 49;
constexpr int kLetterRead = 29;  // characters of a letter edit that are stored

// The UI languages in the order of their numbers, each in its own script.
const wchar_t* const kUiLanguageNames[kUiLanguageCount] = {
    L"English", L"\u010Cesky", L"Cesky - bez diakritiky", L"Deutsch",
    L"Russian (\u0420\u0443\u0441\u0441\u043A\u0438\u0439)", L"Fran\u00E7ais", L"Espa\u00F1ol", L"Italiano", L"Polsko"};

}  // namespace

std::string CompletedFolder(std::string folder) {
    TrimWord(folder);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool IsValidGrammarSeparator(const std::string& typed, UINT codePage) {
    if (typed.empty()) return false;
    const unsigned char c = static_cast<unsigned char>(typed[0]);
    if (c <= ' ') return false;
    const std::wstring wide = wl::ToWide(typed.substr(0, 1), codePage);
    if (wide.size() != 1) return false;
    return !::IsCharAlphaNumericW(wide[0]) && !::iswspace(wide[0]);
}

std::string BrowseFolder(wl::Window* owner, TextLoader& texts, const std::string& folder) {
    wl::FileDialogOptions options;
    options.filter = texts.LoadText(kTextDictionaryFileFilter);
    options.title = texts.LoadText(kTextDataFolderCaption);
    options.initialDir = CompletedFolder(folder);
    options.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    options.codePage = texts.CodePage();
    if (!wl::OpenFileDialog(owner, options)) return folder;
    const size_t cut = options.fileName.find_last_of('\\');
    if (cut == std::string::npos) return folder;
    return options.fileName.substr(0, cut + 1);
}

bool RunConfiguration(wl::Window* frame, SettingsDialogHost& host, const std::function<void()>& afterOk) {
    ProgramSettings::ConfigFlagSet& flags = host.Config.ConfigFlags;
    flags.RestartNeeded = false;
    {
        TConfigWindow dialog(frame, host);
        if (dialog.Execute() == IDOK && afterOk) afterOk();
    }
    if (!flags.RestartNeeded) return false;
    if (AskYesNo(frame, host.Messages, host.Texts, kTextModificationCaption, kTextRestartQuestion)) return true;
    flags.RestartNeeded = false;
    return false;
}

// --- TConfigWindow ----------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TConfigWindow, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_CONFIG_BROWSE_CD, CmBrowseCd)
    WL_COMMAND(IDC_CONFIG_BROWSE_DISK, CmBrowseDisk)
    WL_COMMAND(IDC_CONFIG_TOOLBAR, CmToolbar)
WL_END_MESSAGE_TABLE()

TConfigWindow::TConfigWindow(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host), uiLanguage_(this, IDC_CONFIG_UI_LANGUAGE) {
    host_.Config.ConfigFlags.RestartNeeded = false;
}

void TConfigWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    ProgramSettings& c = host_.Config;
    // The caption stays the template's own.
    SetDialogTexts(*this, t, 0,
                   {{IDOK, kTextOk},
                    {IDCANCEL, kTextCancel},
                    {IDC_CONFIG_TOOLBAR, kTextMenuToolbar},
                    {IDC_CONFIG_LETTER_HEAD, kTextButtonLabel},
                    {IDC_CONFIG_CONFIRM_EXIT, kTextAcknowledgeQuit},
                    {IDC_CONFIG_CLIPBOARD_AT_START, kTextClipboardLinkAtStart},
                    {IDC_CONFIG_HISTORY_LABEL, kTextWordsHistory},
                    {IDC_CONFIG_SEPARATOR_LABEL, kTextCommentsSeparator},
                    {IDC_CONFIG_CD_LABEL, kTextMainFilesPath},
                    {IDC_CONFIG_DISK_LABEL, kTextUserFilesPath},
                    {IDC_CONFIG_UI_LANGUAGE_LABEL, kTextCommunicationLanguage},
                    {IDC_CONFIG_BROWSE_CD, kTextBrowse},
                    {IDC_CONFIG_BROWSE_DISK, kTextBrowse}});
    SetRowLabels(*this, t);
    const int heads[] = {kTextOriginalNameLabel, kTextTranslationNameLabel, kTextDictionaryNameLabel};
    for (int i = 0; i < 6; ++i) SetItemText(IDC_COLUMN_HEAD_FIRST + i, t.LoadText(heads[i % 3]));

    auto limit = [this](int id, int chars) { ::SendMessageW(GetItem(id), EM_LIMITTEXT, chars, 0); };
    limit(IDC_CONFIG_HISTORY, 3);
    limit(IDC_CONFIG_SEPARATOR, 1);
    limit(IDC_CONFIG_CD_FOLDER, kFolderChars);
    limit(IDC_CONFIG_DISK_FOLDER, kFolderChars);
    SetItemText(IDC_CONFIG_HISTORY, std::to_string(c.Dictionary.HistorySize));
    SetItemText(IDC_CONFIG_SEPARATOR, std::string(1, c.Dictionary.GrammarSeparator));
    SetItemText(IDC_CONFIG_CD_FOLDER, c.CdFolder);
    SetItemText(IDC_CONFIG_DISK_FOLDER, c.DiskFolder);
    for (int pair = 0; pair < kPairCount; ++pair) {
        const char letter = c.LanguageLetters[pair];
        SetItemText(IDC_CONFIG_LETTER_FIRST + pair, letter ? std::string(1, letter) : std::string());
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        limit(IDC_CONFIG_ORIGINAL_NAME_FIRST + slot, kNameChars);
        limit(IDC_CONFIG_TRANSLATION_NAME_FIRST + slot, kNameChars);
        limit(IDC_CONFIG_TITLE_FIRST + slot, kNameChars);
        SetItemText(IDC_CONFIG_ORIGINAL_NAME_FIRST + slot, c.OriginalNames[slot]);
        SetItemText(IDC_CONFIG_TRANSLATION_NAME_FIRST + slot, c.TranslationNames[slot]);
        SetItemText(IDC_CONFIG_TITLE_FIRST + slot, c.DictionaryTitles[slot]);
    }
    ::CheckDlgButton(Handle(), IDC_CONFIG_CONFIRM_EXIT, c.ConfigFlags.ConfirmExit ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_CONFIG_CLIPBOARD_AT_START,
                     c.ConfigFlags.ClipboardWatchAtStart ? BST_CHECKED : BST_UNCHECKED);
    for (const wchar_t* name : kUiLanguageNames)
        uiLanguage_.Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    uiLanguage_.SetSelIndex(c.UiLanguage);
    host_.OfferStandardKeyboard();
}

void TConfigWindow::CmOk() {
    SettingsFile& file = host_.Settings;
    ProgramSettings& c = host_.Config;
    DictionarySettings& d = c.Dictionary;

    // A separator that would hide the grammar notes or words is refused
    // before anything is written; the dialog stays open.
    const std::string separator = GetItemText(IDC_CONFIG_SEPARATOR);
    if (!IsValidGrammarSeparator(separator, CodePage())) {
        host_.ShowMessage(this, kTextErrorCaption, kTextSeparatorRefused);
        SetItemText(IDC_CONFIG_SEPARATOR, std::string(1, d.GrammarSeparator));
        ::SetFocus(GetItem(IDC_CONFIG_SEPARATOR));
        return;
    }

    // History size: the typed text is stored, the clamped value used.
    std::string historyText = GetItemText(IDC_CONFIG_HISTORY);
    if (historyText.size() > static_cast<size_t>(kFolderChars)) historyText.resize(kFolderChars);
    int32_t size = std::atoi(historyText.c_str());
    size = size < kMinHistorySize ? kMinHistorySize : size > kMaxHistorySize ? kMaxHistorySize : size;
    if (size != d.HistorySize) {
        if (!host_.History || host_.History->ResizeHistory(size) == 1) {
            d.HistorySize = size;
        } else {
            ::MessageBoxA(Handle(), "ERROR", "History alloc", MB_OK);
        }
    }
    file.WriteText(Setting::HistorySize, historyText);

    d.GrammarSeparator = separator[0];
    file.WriteText(Setting::GrammarSeparator, separator.substr(0, 1));

    c.CdFolder = CompletedFolder(GetItemText(IDC_CONFIG_CD_FOLDER));
    file.WriteText(Setting::CdFolder, c.CdFolder);
    c.DiskFolder = CompletedFolder(GetItemText(IDC_CONFIG_DISK_FOLDER));
    file.WriteText(Setting::DiskFolder, c.DiskFolder);
    c.ActionLog = file.RegisterActionLog(host_.Files, c.DiskFolder, c.ProgramFolder);
    d.ActionLogPath = c.ActionLog.Path;

    for (int pair = 0; pair < kPairCount; ++pair) {
        std::string typed = GetItemText(IDC_CONFIG_LETTER_FIRST + pair);
        if (typed.size() > static_cast<size_t>(kLetterRead)) typed.resize(kLetterRead);
        file.WriteText(Setting::LanguageLetter, typed, pair);
        const char letter = file.ReadLanguageLetter(pair);  // the one rule for the letter of a text
        if (letter != c.LanguageLetters[pair]) c.ConfigFlags.RestartNeeded = true;
        c.LanguageLetters[pair] = letter;
        for (int direction = 0; direction < 2; ++direction) {
            const int slot = 2 * pair + direction;
            c.OriginalNames[slot] = GetItemText(IDC_CONFIG_ORIGINAL_NAME_FIRST + slot);
            file.WriteText(Setting::OriginalName, c.OriginalNames[slot], pair, direction);
            c.TranslationNames[slot] = GetItemText(IDC_CONFIG_TRANSLATION_NAME_FIRST + slot);
            file.WriteText(Setting::TranslationName, c.TranslationNames[slot], pair, direction);
            c.DictionaryTitles[slot] = GetItemText(IDC_CONFIG_TITLE_FIRST + slot);
            file.WriteText(Setting::DictionaryTitle, c.DictionaryTitles[slot], pair, direction);
        }
    }
    FillSlotPaths(d, c.CdFolder, c.DiskFolder);

    c.ConfigFlags.ConfirmExit = ::IsDlgButtonChecked(Handle(), IDC_CONFIG_CONFIRM_EXIT) == BST_CHECKED;
    file.WriteInt(Setting::ConfirmExit, c.ConfigFlags.ConfirmExit ? 1 : 0);
    c.ConfigFlags.ClipboardWatchAtStart =
        ::IsDlgButtonChecked(Handle(), IDC_CONFIG_CLIPBOARD_AT_START) == BST_CHECKED;
    file.WriteInt(Setting::ClipboardAtStart, c.ConfigFlags.ClipboardWatchAtStart ? 1 : 0);

    // No selection (a stored language outside the list) means unchanged.
    const int language = uiLanguage_.GetSelIndex();
    if (language >= 0 && language != c.UiLanguage) {
        c.ConfigFlags.RestartNeeded = true;
        file.WriteInt(Setting::UiLanguage, language);
    }
    CloseWindow(IDOK);
}

void TConfigWindow::Browse(int editId) { SetItemText(editId, BrowseFolder(this, host_.Texts, GetItemText(editId))); }
void TConfigWindow::CmBrowseCd() { Browse(IDC_CONFIG_CD_FOLDER); }
void TConfigWindow::CmBrowseDisk() { Browse(IDC_CONFIG_DISK_FOLDER); }

void TConfigWindow::CmToolbar() {
    TTlacitko dialog(this, host_);
    dialog.Execute();
}

// --- TTlacitko --------------------------------------------------------------------------

namespace {
// The catalogue in table order; each text begins with its icon's letter.
const int kCatalogue[] = {
    kTextToolHistory,      kTextToolIrregularVerbs, kTextToolCopy,          kTextToolPaste,
    kTextToolLocate,       kTextToolLocateNext,     kTextToolLanguageBlock, kTextToolOtherLanguages,
    kTextToolDirection,    kTextToolTranslateBack,  kTextToolCorrectWord,   kTextToolNewEntry,
    kTextToolDeleteEntry,  kTextToolDeleteTranslation, kTextToolHelp,       kTextToolAbout,
    kTextToolLinkOn,       kTextToolLinkOff,        kTextToolSeparator,
};
}  // namespace

WL_BEGIN_MESSAGE_TABLE(TTlacitko, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_TOOLBAR_COPY, CmCopyIcon)
    WL_COMMAND(IDC_TOOLBAR_DELETE, CmDeleteIcon)
    WL_COMMAND(IDC_TOOLBAR_UP, CmMoveUp)
    WL_COMMAND(IDC_TOOLBAR_DOWN, CmMoveDown)
WL_END_MESSAGE_TABLE()

TTlacitko::TTlacitko(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host), catalogue_(this, IDC_TOOLBAR_CATALOGUE),
      icons_(this, IDC_TOOLBAR_ICONS) {}

void TTlacitko::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    SetDialogTexts(*this, t, kTextToolbarCaption,
                   {{IDOK, kTextOk},
                    {IDCANCEL, kTextCancel},
                    {IDC_TOOLBAR_COPY, kTextToolbarCopy},
                    {IDC_TOOLBAR_DELETE, kTextToolbarDelete},
                    {IDC_TOOLBAR_UP, kTextToolbarMoveUp},
                    {IDC_TOOLBAR_DOWN, kTextToolbarMoveDown},
                    {IDC_TOOLBAR_CATALOGUE_LABEL, kTextToolbarIconCount},
                    {IDC_TOOLBAR_ICONS_LABEL, kTextToolbarShownIcons}});
    std::vector<std::string> entries;
    for (int id : kCatalogue) {
        entries.push_back(t.LoadText(id));
        catalogue_.AddString(entries.back());
    }
    const std::string letters = host_.Settings.ReadText(Setting::ToolbarIcons);
    for (char letter : letters) {
        if (icons_.GetCount() >= kMaxIcons) break;
        for (const std::string& entry : entries) {
            if (!entry.empty() && entry[0] == letter) {
                icons_.AddString(entry);
                break;
            }
        }
    }
}

void TTlacitko::CmCopyIcon() {
    const int from = catalogue_.GetSelIndex();
    if (from < 0 || icons_.GetCount() >= kMaxIcons) return;
    int at = icons_.GetSelIndex();
    if (at < 0) at = icons_.GetCount();
    const int inserted = icons_.InsertString(catalogue_.GetString(from), at);
    if (inserted >= 0) icons_.SetSelIndex(inserted);
}

void TTlacitko::CmDeleteIcon() {
    const int at = icons_.GetSelIndex();
    if (at < 0) return;
    icons_.DeleteString(at);
    const int count = icons_.GetCount();
    if (count > 0) icons_.SetSelIndex(at < count ? at : count - 1);
}

void TTlacitko::Swap(int a, int b) {
    const std::string moved = icons_.GetString(a);
    icons_.DeleteString(a);
    icons_.InsertString(moved, b);
    icons_.SetSelIndex(b);
}

void TTlacitko::CmMoveUp() {
    const int at = icons_.GetSelIndex();
    if (at > 0) Swap(at, at - 1);
}

void TTlacitko::CmMoveDown() {
    const int at = icons_.GetSelIndex();
    if (at >= 0 && at + 1 < icons_.GetCount()) Swap(at, at + 1);
}

void TTlacitko::CmOk() {
    std::string letters;
    for (int i = 0; i < icons_.GetCount(); ++i) {
        const std::string entry = icons_.GetString(i);
        if (!entry.empty()) letters += entry[0];
    }
    host_.Settings.WriteText(Setting::ToolbarIcons, letters);
    host_.Config.ConfigFlags.RestartNeeded = true;
    CloseWindow(IDOK);
}

}  // namespace lex
