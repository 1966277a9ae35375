// TJazykyDialog: the current slot by its title; TAbout and TProdejci: the
// about box and the licence agreement.
#include <cstdio>

#include "core/dialogs/dialog_texts.h"
#include "core/dialogs/settings_dialogs.h"
#include "core/files/whole_files.h"
#include "core/engine/records.h"
#include "core/ui/dialog_placement.h"

namespace lex {

// --- TJazykyDialog --------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TJazykyDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_CONTROL(IDC_LANGUAGES_LIST, EvListNotify)
WL_END_MESSAGE_TABLE()

TJazykyDialog::TJazykyDialog(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host), list_(this, IDC_LANGUAGES_LIST),
      chosen_(host.Config.Dictionary.CurrentSlot) {}

void TJazykyDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetDialogTexts(*this, host_.Texts, kTextOtherLanguagesCaption, {{IDOK, kTextOk}});
    PlaceAtMainWindowTopRight(*this);
    for (const std::string& title : host_.Config.DictionaryTitles) list_.AddString(title);
    list_.SetSelIndex(host_.Config.Dictionary.CurrentSlot);
}

void TJazykyDialog::CmOk() {
    const int slot = list_.GetSelIndex();
    if (IsValidSlot(slot)) chosen_ = slot;
    CloseWindow(IDOK);
}

void TJazykyDialog::EvListNotify(UINT code) {
    if (code != LBN_DBLCLK || !IsValidSlot(list_.GetSelIndex())) return;
    CmOk();
}

// --- TAbout -------------------------------------------------------------------------------

int32_t ReadSlotWordCount(FileSystem& files, const std::string& userTranslationsPath) {
    const FileHandle h = files.Open(userTranslationsPath, kOpenReadShared);
    if (h == kNoFile) return 0;
    uint8_t bytes[4] = {};
    const bool whole = files.Size(h) >= kWordCountOffset + 4 && ReadAt(files, h, kWordCountOffset, bytes, 4);
    files.Close(h);
    return whole ? GetI32(bytes) : 0;
}

std::string CountLine(int32_t count) {
    char line[64];
    std::snprintf(line, sizeof line, "                           ................ %ld", static_cast<long>(count));
    return line;
}

WL_BEGIN_MESSAGE_TABLE(TAbout, wl::Dialog)
    WL_COMMAND(IDC_ABOUT_LICENCE, CmLicence)
WL_END_MESSAGE_TABLE()

TAbout::TAbout(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host), contents_(this, IDC_ABOUT_CONTENTS) {}

void TAbout::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    SetDialogTexts(*this, t, kTextAboutCaption,
                   {{IDC_ABOUT_VERSION, kTextAboutVersion},
                    {IDC_ABOUT_CONTENTS_LABEL, kTextDictionariesContents},
                    {IDC_ABOUT_LICENCE, kTextMenuLicence},
                    {IDOK, kTextOk}});
    if (host_.Icon) ::SendMessageW(GetItem(IDC_ABOUT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(host_.Icon), 0);
    const DictionarySettings& d = host_.Config.Dictionary;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        contents_.AddString(host_.Config.DictionaryTitles[slot]);
        contents_.AddString(CountLine(ReadSlotWordCount(host_.Files, d.UserTranslationsPaths[slot])));
    }
}

void TAbout::CmLicence() {
    TProdejci licence(this, host_);
    licence.Execute();
}

// --- TProdejci -------------------------------------------------------------------------------

std::string LicenceViewText(const std::string& fileContent) {
    std::string out;
    out.reserve(fileContent.size() + fileContent.size() / 16);
    size_t start = 0;
    while (start < fileContent.size()) {
        size_t end = fileContent.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = fileContent.size();
        size_t cut = end;
        if (cut > start && fileContent[cut - 1] == '\r') --cut;
        out.append(fileContent, start, cut - start);
        out += "\r\n";
        start = end + 1;
    }
    return out;
}

TProdejci::TProdejci(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host) {}

void TProdejci::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    SetDialogTexts(*this, t, 0, {{IDOK, kTextOk}});
    std::string caption = t.LoadText(kTextMenuLicence);
    const size_t mnemonic = caption.find('&');
    if (mnemonic != std::string::npos) caption.erase(mnemonic, 1);
    SetText(caption);
    HWND edit = GetItem(IDC_LICENCE_TEXT);
    ::SendMessageW(edit, EM_LIMITTEXT, 0, 0);  // the whole text, however long
    SetItemText(IDC_LICENCE_TEXT, "error opening file");
    std::string content;
    if (ReadWholeFile(host_.Files, host_.Config.ProgramFolder + kLicenceFileName, content) != ReadOutcome::Whole) return;
    SetItemText(IDC_LICENCE_TEXT, LicenceViewText(content));
}

}  // namespace lex
