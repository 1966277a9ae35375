#include "translator_dialogs.h"

#include <vector>

#include "core/files/whole_files.h"
#include "lexora_ids.h"
#include "messages.h"
#include "lexora/wordtools/text_translator.h"
#include "tools_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/program_starter.h"
#include "winlib/text.h"

namespace lexora {

namespace {

constexpr UINT_PTR kKeyboardTimer = 0;
constexpr UINT kKeyboardPeriod = 100;
// Paths are kept as UTF-8 inside the dialog, so that no character is lost
// between the file dialogs, the fields and the file functions.
constexpr UINT kPathCodePage = CP_UTF8;
// The longest output path (in characters) the translator takes.
constexpr size_t kMaxOutputPath = 254;

// The output file, written through the file layer into a temporary file that
// replaces the target only when the whole translation is written.
class FileSink : public ByteSink {
public:
    explicit FileSink(lex::FileSystem& files) : writer_(files) {}
    bool Create(const std::string& path) { return writer_.Create(path); }
    bool Write(const char* data, size_t size) override { return writer_.Append(data, size); }
    // Writes what is left and puts the file in place.
    bool Commit() { return writer_.Commit() == lex::WriteOutcome::Done; }

private:
    lex::ReplacingWriter writer_;
};

// The folder part of a path (up to its last backslash), or empty.
std::string FolderOf(const std::string& path) {
    const size_t cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

std::wstring EditorCommandLine(const std::wstring& path, int outputMode) {
    return std::wstring(outputMode == 1 ? L"write" : L"notepad") + L" \"" + path + L"\"";
}

// --- Slot choice -------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TSelectDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

TSelectDialog::TSelectDialog(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_SELECT_SLOTS, program.Instance), program_(program) {}

void TSelectDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(program_.UiCodePage());
    lex::TextLoader& texts = program_.Texts;
    SetText(texts.LoadText(lex::kTextOtherLanguagesCaption));
    SetItemText(IDOK, texts.LoadText(lex::kTextOk));
    SetItemText(IDCANCEL, texts.LoadText(lex::kTextCancel));
    for (int slot = 0; slot < lex::kSlotCount; ++slot) {
        SetItemText(IDC_SELECT_FIRST_SLOT + slot, program_.Config.DictionaryTitles[slot]);
        ::CheckDlgButton(Handle(), IDC_SELECT_FIRST_SLOT + slot,
                         slot == program_.CurrentSlot() ? BST_CHECKED : BST_UNCHECKED);
    }
}

void TSelectDialog::CmOk() {
    bool any = false;
    std::array<bool, lex::kSlotCount> chosen{};
    for (int slot = 0; slot < lex::kSlotCount; ++slot) {
        const bool checked = ::IsDlgButtonChecked(Handle(), IDC_SELECT_FIRST_SLOT + slot) == BST_CHECKED;
        chosen[slot] = checked;
        any = any || checked;
    }
    program_.ChooseSlots(chosen);
    CloseWindow(any ? IDOK : IDCANCEL);
}

// --- Translator ----------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TTrnDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_TRN_SOURCE_BROWSE, CmBrowseSource)
    WL_COMMAND(IDC_TRN_OUTPUT_BROWSE, CmBrowseOutput)
    WL_CONTROL(IDC_TRN_TEXT, EvText)
    WL_MESSAGE(WM_TIMER, EvTimer)
WL_END_MESSAGE_TABLE()

TTrnDialog::TTrnDialog(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_TRANSLATOR, program.Instance),
      program_(program),
      text_(this, IDC_TRN_TEXT),
      output_(this, IDC_TRN_OUTPUT),
      unicode_(this, IDC_TRN_UNICODE) {}

TTrnDialog::~TTrnDialog() {
    if (Handle()) KillTimer(kKeyboardTimer);
}

void TTrnDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(program_.UiCodePage());
    lex::TextLoader& texts = program_.Texts;
    SetText(texts.LoadText(lex::kTextTranslatorCaption));
    SetItemText(IDC_TRN_INPUT_LABEL, texts.LoadText(lex::kTextTranslatorInput));
    SetItemText(IDC_TRN_OUTPUT_LABEL, texts.LoadText(lex::kTextTranslatorOutput));
    SetItemText(IDC_TRN_SOURCE_BROWSE, texts.LoadText(lex::kTextBrowse));
    SetItemText(IDC_TRN_OUTPUT_BROWSE, texts.LoadText(lex::kTextBrowse));
    SetItemText(IDC_TRN_UNICODE, "UNICODE");
    SetItemText(IDOK, texts.LoadText(lex::kTextOk));
    SetItemText(IDCANCEL, texts.LoadText(lex::kTextCancel));
    output_.SetCodePage(kPathCodePage);
    unicode_.SetCheck(program_.TranslatorOutputMode() == 1);
    // The text is in the current slot's source language, with its font.
    const int slot = program_.CurrentSlot();
    text_.SetCodePage(program_.SlotCodePage(slot, 0));
    text_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[0][slot]), FALSE);
    text_.Send(EM_SETLIMITTEXT, kTranslatorTextLimit, 0);
    SetTimer(kKeyboardTimer, kKeyboardPeriod);
}

void TTrnDialog::Warn(int captionId, int textId) { ShowOk(program_, this, captionId, textId); }

LRESULT TTrnDialog::EvTimer(WPARAM id, LPARAM) {
    if (id != kKeyboardTimer) return DefaultProcessing();
    // Inside the text the source language's keyboard types, elsewhere the standard one.
    if (::GetFocus() == text_.Handle())
        program_.Keyboards->SelectSlotKeyboard(program_.CurrentSlot(), 0, false);
    else
        program_.Keyboards->SelectStandardKeyboard();
    return 0;
}

void TTrnDialog::EvText(UINT code) {
    if (code == EN_MAXTEXT) Warn(lex::kTextWarningCaption, lex::kTextSourceTextTooLong);
}

void TTrnDialog::CmBrowseSource() {
    wl::FileDialogOptions o;
    o.codePage = kPathCodePage;
    o.filter = wl::FromWide(wl::ToWide(program_.Texts.LoadText(lex::kTextTextFileFilter), program_.UiCodePage()),
                            kPathCodePage);
    o.initialDir = FolderOf(wl::GetItemText(Handle(), IDC_TRN_SOURCE_PATH, kPathCodePage));
    o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!wl::OpenFileDialog(this, o)) return;
    wl::SetItemText(Handle(), IDC_TRN_SOURCE_PATH, o.fileName, kPathCodePage);
    LoadSource(o.fileName);
}

bool TTrnDialog::LoadSource(const std::string& path) {
    std::string bytes;
    if (lex::ReadWholeFile(*program_.Utf8PathFiles, path, bytes) != lex::ReadOutcome::Whole) {
        Warn(lex::kTextBulkWarningCaption, lex::kTextCannotOpenLoadFile);
        return false;
    }
    std::string text = SourceTextFromFile(bytes);
    bool cut = false;
    if (text.size() > static_cast<size_t>(kTranslatorTextLimit)) {
        // Whole lines only, as far as the field takes them.
        size_t end = text.rfind("\r\n", kTranslatorTextLimit - 2);
        text.resize(end == std::string::npos ? kTranslatorTextLimit : end + 2);
        cut = true;
    }
    text_.SetText(text);
    if (cut) Warn(lex::kTextWarningCaption, lex::kTextSourceTextTooLong);
    return true;
}

void TTrnDialog::CmBrowseOutput() {
    wl::FileDialogOptions o;
    o.codePage = kPathCodePage;
    o.filter = wl::FromWide(wl::ToWide(program_.Texts.LoadText(lex::kTextTextFileFilter), program_.UiCodePage()),
                            kPathCodePage);
    o.initialDir = FolderOf(output_.GetText());
    o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (wl::OpenFileDialog(this, o)) output_.SetText(o.fileName);
}

void TTrnDialog::CmOk() {
    const int mode = unicode_.IsChecked() ? 1 : 0;
    program_.SetTranslatorOutputMode(mode);
    std::vector<int> slots;
    for (int slot = 0; slot < lex::kSlotCount; ++slot)
        if (program_.ChosenSlots()[slot]) slots.push_back(slot);
    // A slot without data: said before anything is written; the text stays.
    for (int slot : slots) {
        if (!SlotHasEntries(*program_.Engine, slot)) {
            Warn(lex::kTextWarningCaption, lex::kTextNotInstalled);
            return;
        }
    }
    // A longer path is refused, not cut: its first part may name another file.
    const std::string utf8Path = output_.GetText();
    const std::wstring path = wl::ToWide(utf8Path, kPathCodePage);
    FileSink sink(*program_.Utf8PathFiles);
    if (path.empty() || path.size() > kMaxOutputPath || !sink.Create(utf8Path)) {
        Warn(lex::kTextBulkWarningCaption, lex::kTextCannotOpenEntryFile);
        return;
    }
    TranslationWriter out(sink, mode == 1 ? OutputMode::kUtf16 : OutputMode::kEightBit,
                          [this](int slot) { return program_.SlotCodePage(slot, 0); });
    out.Begin();
    const TranslationRun run = TranslateText(*program_.Engine, text_.GetText(), slots, out);
    const bool written = run.status != TranslationRun::kWriteFailed && sink.Commit();
    if (run.slot >= 0) lastSlot_ = run.slot;
    if (run.status == TranslationRun::kNoCandidates) {
        Warn(lex::kTextWarningCaption, lex::kTextNotInstalled);
        return;
    }
    if (!written) {
        Warn(lex::kTextBulkWarningCaption, lex::kTextWriteFailed);
        return;
    }
    if (!wl::Starter().StartWide(EditorCommandLine(path, mode)))
        ::MessageBoxA(Handle(), "Nelze spustit editor NOTEPAD.EXE/WRITE.EXE", "Pozor", MB_OK | MB_ICONSTOP);
    CloseWindow(IDOK);
}

}  // namespace lexora
