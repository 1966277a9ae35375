// TTastrixAll: keyboard assignment.
#include "core/dialogs/keyboard_dialog.h"

#include "core/keyboard/keyboard_file.h"
#include "core/texts/text_ids.h"
#include "core/ui/ui_texts.h"
#include "winlib/common_dialogs.h"
#include "winlib/program_starter.h"

namespace lex {

namespace {
constexpr size_t kSlotPathLength = 249;
constexpr size_t kStandardPathLength = 254;
constexpr int kOriginal = 0, kTranslation = 1, kPronunciation = 2;

std::string Cut(std::string text, size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

// Upper-case comparison of a name's last four characters with ".TSB".
bool HasKeyboardExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    return tail == ".TSB";
}
}  // namespace

bool IsNoKeyboard(const std::string& path) { return path == "X"; }

std::string KeyboardEditorCommandLine(const std::string& programFolder, int uiLanguage, const std::string& path) {
    const int language = uiLanguage > 7 || uiLanguage < 0 ? 0 : uiLanguage;
    return "\"" + programFolder + "ts.exe\" X " + std::to_string(language) + " \"" + path + "\"";
}

WL_BEGIN_MESSAGE_TABLE(TTastrixAll, wl::Dialog)
    WL_NOTIFY(IDC_KA_SLOTS, LBN_SELCHANGE, EvSlotSelChange)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND_RANGE(IDC_KA_BROWSE_ORIGINAL, IDC_KA_BROWSE_PRONUNCIATION, CmBrowse)
    WL_COMMAND_RANGE(IDC_KA_EDIT_ORIGINAL, IDC_KA_BROWSE_TRANSLATION, CmEditOrBrowse)
    WL_COMMAND_RANGE(IDC_KA_EDIT_TRANSLATION, IDC_KA_EDIT_PRONUNCIATION, CmEdit)
    WL_COMMAND(IDC_KA_BROWSE_STANDARD, CmBrowseStandard)
    WL_COMMAND(IDC_KA_EDIT_STANDARD, CmEditStandard)
    WL_COMMAND(IDC_KA_NEW_KEYBOARD, CmNewKeyboard)
WL_END_MESSAGE_TABLE()

TTastrixAll::TTastrixAll(wl::Window* parent, KeyboardDialogServices services, int currentSlot, int& couplingSetting)
    : wl::Dialog(parent, IDD_KEYBOARD_ASSIGNMENT), services_(std::move(services)),
      currentSlot_(IsValidSlot(currentSlot) ? currentSlot : 0), couplingSetting_(couplingSetting),
      list_(this, IDC_KA_SLOTS), originalRtl_(this, IDC_KA_ORIGINAL_RTL),
      translationRtl_(this, IDC_KA_TRANSLATION_RTL), coupling_(this, IDC_KA_COUPLING) {}

void TTastrixAll::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = services_.Texts;
    SetCodePage(t.CodePage());
    coupling_.SetCheck(couplingSetting_ == 1);
    SetText(t.LoadText(kTextKeyboardCaption));
    SetItemTexts(UiTextLookup(t), {
        {IDC_KA_BROWSE_ORIGINAL, kTextBrowse},      {IDC_KA_BROWSE_TRANSLATION, kTextBrowse},
        {IDC_KA_BROWSE_PRONUNCIATION, kTextBrowse}, {IDC_KA_BROWSE_STANDARD, kTextBrowse},
        {IDC_KA_EDIT_ORIGINAL, kTextConfiguration}, {IDC_KA_EDIT_TRANSLATION, kTextConfiguration},
        {IDC_KA_EDIT_PRONUNCIATION, kTextConfiguration}, {IDC_KA_EDIT_STANDARD, kTextConfiguration},
        {IDC_KA_ORIGINAL_RTL, kTextRightToLeft},    {IDC_KA_TRANSLATION_RTL, kTextRightToLeft},
        {IDC_KA_COUPLING, kTextActivate},           {IDC_KA_NEW_KEYBOARD, kTextNewKeyboard},
        {IDOK, kTextOk},                            {IDC_KA_ORIGINAL_LABEL, kTextOriginalKeyboard},
        {IDC_KA_TRANSLATION_LABEL, kTextTranslationKeyboard},
        {IDC_KA_PRONUNCIATION_LABEL, kTextPronunciationKeyboard},
        {IDC_KA_STANDARD_LABEL, kTextStandardKeyboard}, {IDC_KA_LANGUAGES_LABEL, kTextParticularLanguages},
    });
    for (int slot = 0; slot < kSlotCount; ++slot) list_.AddString(services_.Titles[slot]);

    const SettingsFile& ini = services_.Settings;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotKeyboards& k = slots_[slot];
        k.Paths[kOriginal] = Cut(ini.ReadKeyboardPath(slot, kOriginal), kSlotPathLength);
        k.Reversed[kOriginal] = ini.ReadReversedFlag(slot, kOriginal);
        k.Paths[kTranslation] = Cut(ini.ReadKeyboardPath(slot, kTranslation), kSlotPathLength);
        k.Reversed[kTranslation] = ini.ReadReversedFlag(slot, kTranslation);
        k.Paths[kPronunciation] = Cut(ini.ReadKeyboardPath(slot, kPronunciation), kSlotPathLength);
    }
    SetItemText(IDC_KA_STANDARD_PATH, ini.ReadText(Setting::StandardKeyboard));
    shown_ = -1;
    list_.SetSelIndex(currentSlot_);
    EvSlotSelChange();
    services_.Coupling.SelectStandardKeyboard();
}

void TTastrixAll::SaveSlotFields() {
    if (IsValidSlot(shown_)) {
        SlotKeyboards& k = slots_[shown_];
        k.Paths[kOriginal] = Cut(GetItemText(IDC_KA_ORIGINAL_PATH), kSlotPathLength);
        k.Paths[kTranslation] = Cut(GetItemText(IDC_KA_TRANSLATION_PATH), kSlotPathLength);
        k.Paths[kPronunciation] = Cut(GetItemText(IDC_KA_PRONUNCIATION_PATH), kSlotPathLength);
        k.Reversed[kOriginal] = originalRtl_.IsChecked() ? 1 : 0;
        k.Reversed[kTranslation] = translationRtl_.IsChecked() ? 1 : 0;
    }
    shown_ = list_.GetSelIndex();
}

void TTastrixAll::ShowSlot(int slot) {
    if (!IsValidSlot(slot)) return;
    const SlotKeyboards& k = slots_[slot];
    SetItemText(IDC_KA_ORIGINAL_PATH, k.Paths[kOriginal]);
    SetItemText(IDC_KA_TRANSLATION_PATH, k.Paths[kTranslation]);
    SetItemText(IDC_KA_PRONUNCIATION_PATH, k.Paths[kPronunciation]);
    originalRtl_.SetCheck(k.Reversed[kOriginal] != 0);
    translationRtl_.SetCheck(k.Reversed[kTranslation] != 0);
}

void TTastrixAll::EvSlotSelChange() {
    SaveSlotFields();
    ShowSlot(shown_);
}

void TTastrixAll::CmOk() {
    couplingSetting_ = coupling_.IsChecked() ? 1 : 0;
    SaveSlotFields();
    const SettingsFile& ini = services_.Settings;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SlotKeyboards& k = slots_[slot];
        ini.WriteKeyboardPath(slot, kOriginal, k.Paths[kOriginal]);
        ini.WriteReversedFlag(slot, kOriginal, k.Reversed[kOriginal]);
        ini.WriteKeyboardPath(slot, kTranslation, k.Paths[kTranslation]);
        ini.WriteReversedFlag(slot, kTranslation, k.Reversed[kTranslation]);
        ini.WriteKeyboardPath(slot, kPronunciation, k.Paths[kPronunciation]);
    }
    ini.WriteText(Setting::StandardKeyboard, Cut(GetItemText(IDC_KA_STANDARD_PATH), kStandardPathLength));
    CloseWindow(IDOK);
}

void TTastrixAll::CmEditOrBrowse(UINT id) {
    if (id == IDC_KA_BROWSE_TRANSLATION) CmBrowse(id);
    else CmEdit(id);
}
void TTastrixAll::CmBrowseStandard() { CmBrowse(IDC_KA_BROWSE_STANDARD); }
void TTastrixAll::CmEditStandard() { CmEdit(IDC_KA_EDIT_STANDARD); }

int TTastrixAll::PathEditOf(UINT button) {
    switch (button) {
    case IDC_KA_BROWSE_ORIGINAL: case IDC_KA_EDIT_ORIGINAL: return IDC_KA_ORIGINAL_PATH;
    case IDC_KA_BROWSE_TRANSLATION: case IDC_KA_EDIT_TRANSLATION: return IDC_KA_TRANSLATION_PATH;
    case IDC_KA_BROWSE_PRONUNCIATION: case IDC_KA_EDIT_PRONUNCIATION: return IDC_KA_PRONUNCIATION_PATH;
    default: return IDC_KA_STANDARD_PATH;
    }
}

void TTastrixAll::CmBrowse(UINT id) {
    wl::FileDialogOptions o;
    o.filter = services_.Texts.LoadText(kTextKeyboardFileFilter);
    o.title = services_.Texts.LoadText(kTextKeyboardOpenCaption);
    o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (wl::OpenFileDialog(this, o)) SetItemText(PathEditOf(id), o.fileName);
}

void TTastrixAll::CmEdit(UINT id) {
    const std::string path = GetItemText(PathEditOf(id));
    if (IsNoKeyboard(path) || path.empty()) {
        ::MessageBeep(MB_OK);
        return;
    }
    const std::string command = KeyboardEditorCommandLine(services_.ProgramFolder, services_.UiLanguage, path);
    const UINT result = wl::Starter().Start(command, SW_SHOWNORMAL);
    if (!wl::StartSucceeded(result) && services_.Show) services_.Show(this, services_.ProgramFolder + "ts.exe", "Error");
}

void TTastrixAll::ShowError(int textId) {
    if (!services_.Show) return;
    const std::string caption = services_.Texts.LoadText(kTextErrorCaption);
    services_.Show(this, services_.Texts.LoadText(textId), caption);
}

void TTastrixAll::CmNewKeyboard() {
    TextLoader& t = services_.Texts;
    wl::FileDialogOptions target;
    target.filter = t.LoadText(kTextKeyboardFileFilter);
    target.title = t.LoadText(kTextKeyboardCreateCaption);
    target.initialDir = services_.ProgramFolder;
    target.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!wl::OpenFileDialog(this, target)) return;
    std::string name = target.fileName;
    if (!HasKeyboardExtension(name)) name += ".tsb";

    // An existing keyboard file or companion is never written over.
    FileSystem& files = services_.Files;
    switch (lex::keyboard::CheckNewLayoutName(files, name)) {
    case lex::keyboard::NewLayoutName::Free: break;
    case lex::keyboard::NewLayoutName::Refused: ShowError(kTextWrongFileName); return;
    default: ShowError(kTextKeyboardFileExists); return;
    }

    wl::FileDialogOptions source;
    source.filter = t.LoadText(kTextKeyboardFileFilter);
    source.title = t.LoadText(kTextKeyboardCreateBase);
    source.initialDir = services_.ProgramFolder;
    source.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!wl::OpenFileDialog(this, source)) return;
    if (!lex::keyboard::CopyLayoutPair(files, source.fileName, name)) ShowError(kTextKeyboardCopyFailed);
}

}  // namespace lex
