#include "bulk_dialogs.h"

#include <chrono>
#include <cstdio>

#include "core/engine/trim_word.h"
#include "core/texts/text_ids.h"
#include "data_file_init.h"
#include "lexbulk_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/text.h"

namespace lexbulk {

namespace {

// Every tick works through this budget of the timer period.
constexpr UINT_PTR kJobTimer = 1;
constexpr UINT kJobPeriodMs = 10;
constexpr std::chrono::milliseconds kJobBudget(8);

struct ItemText {
    int id;
    int text;
};

void SetTexts(wl::Window& w, Program& p, std::initializer_list<ItemText> items) {
    for (const ItemText& i : items) w.SetItemText(i.id, p.Texts.LoadText(i.text));
}

// The 20 dictionary titles (or those of slots first..), in slot order.
void FillTitles(HWND control, Program& p, bool combo, int first = 0) {
    for (int s = first; s < lex::kSlotCount; ++s) {
        const std::wstring title = wl::ToWide(p.Config.DictionaryTitles[s], p.UiCodePage());
        ::SendMessageW(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    }
    if (combo) ::SendMessageW(control, CB_SETCURSEL, 0, 0);
}

void SelectAll(HWND list, bool on) {
    for (int i = 0; i < lex::kSlotCount; ++i) ::SendMessageW(list, LB_SETSEL, on ? TRUE : FALSE, i);
}

const int kCodeButtons[] = {IDC_TEXT_CODE_1250, IDC_TEXT_CODE_852, IDC_TEXT_CODE_KAMENICKY};

void SetCodeTexts(wl::Window& w, Program& p) {
    SetTexts(w, p, {{IDC_TEXT_CODE_1250, lex::kTextCodeWindows1250},
                    {IDC_TEXT_CODE_852, lex::kTextCodeLatin2},
                    {IDC_TEXT_CODE_KAMENICKY, lex::kTextCodeKamenicky}});
    for (int id : kCodeButtons) ::CheckDlgButton(w.Handle(), id, id == IDC_TEXT_CODE_1250 ? BST_CHECKED : BST_UNCHECKED);
}

// The code of the checked radio button; false when none is checked.
bool CheckedCode(wl::Window& w, TextCode& code) {
    for (int i = 0; i < 3; ++i)
        if (::IsDlgButtonChecked(w.Handle(), kCodeButtons[i]) == BST_CHECKED) return TextCodeFromIndex(i, code);
    return false;
}

std::string TrimmedPath(wl::Window& w, int id) {
    std::string path = w.GetItemText(id);
    lex::TrimWord(path);
    return path;
}

// The system's open dialog for the path edit `editId`.
void BrowseInto(wl::Window& w, Program& p, int editId, int filterText, bool mustExist) {
    wl::FileDialogOptions o;
    o.filter = p.Texts.LoadText(filterText);
    o.title = p.Texts.LoadText(lex::kTextDataFolderCaption);
    std::string dir = TrimmedPath(w, editId);
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    o.initialDir = dir;
    o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (mustExist ? OFN_FILEMUSTEXIST : 0);
    if (wl::OpenFileDialog(&w, o)) w.SetItemText(editId, o.fileName);
}

}  // namespace

// --- Data-file initialisation ------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TInicializaceWindow, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_BULK_SELECT_ALL, CmSelectAll)
    WL_COMMAND(IDC_BULK_DESELECT_ALL, CmCancelAll)
WL_END_MESSAGE_TABLE()

TInicializaceWindow::TInicializaceWindow(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_BULK_INITIALISATION, program.Instance), program_(program) {}

void TInicializaceWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetText(program_.Texts.LoadText(lex::kTextInitCaption));
    SetTexts(*this, program_,
             {{IDOK, lex::kTextOk},
              {IDCANCEL, lex::kTextCancel},
              {IDC_BULK_SELECT_ALL, lex::kTextSelectAll},
              {IDC_BULK_DESELECT_ALL, lex::kTextCancelAll},
              {IDC_INIT_CREATES, lex::kTextInitCreatesEmpty},
              {IDC_INIT_OVERWRITES, lex::kTextInitOverwrites},
              {IDC_INIT_ENTER_PATH, lex::kTextInitEnterPath},
              {IDC_INIT_FOLLOW_MANUAL, lex::kTextInitFollowManual},
              {IDC_INIT_WARNING, lex::kTextWarningCaption}});
    FillTitles(GetItem(IDC_BULK_SLOT_LIST), program_, false, kFirstUserSlot);
    SelectAll(GetItem(IDC_BULK_SLOT_LIST), true);
}

void TInicializaceWindow::CmSelectAll() { SelectAll(GetItem(IDC_BULK_SLOT_LIST), true); }
void TInicializaceWindow::CmCancelAll() { SelectAll(GetItem(IDC_BULK_SLOT_LIST), false); }

void TInicializaceWindow::CmOk() {
    if (!program_.AskYesNo(this, lex::kTextBulkWarningCaption, lex::kTextEraseQuestion)) return;
    std::vector<int> slots;
    for (int k = 0; k < lex::kSlotCount - kFirstUserSlot; ++k)
        if (::SendMessageW(GetItem(IDC_BULK_SLOT_LIST), LB_GETSEL, k, 0) > 0) slots.push_back(kFirstUserSlot + k);
    if (slots.empty()) return;
    std::vector<std::string> logs;
    for (const std::string& key : program_.Settings.RegisteredActionLogKeys())
        logs.push_back(program_.Config.ProgramFolder + key);
    const InitResult r = InitialiseDataFiles(*program_.Engine, slots, logs);
    if (!r.FailedLog.empty()) {
        program_.ShowOk(this, lex::kTextVocabularyErrorCaption, lex::kTextEntryLocked);
        return;
    }
    if (!r.FailedSlots.empty()) {
        std::string text = program_.Texts.LoadText(lex::kTextInitFailed);
        for (int s : r.FailedSlots) text += "\n" + program_.Config.DictionaryTitles[s];
        program_.ShowOkText(this, lex::kTextVocabularyErrorCaption, text);
    }
    CloseWindow(IDCANCEL);
}

// --- Job dialogs ---------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(BulkJobDialog, wl::JobDialog)
    WL_COMMAND(IDC_BULK_BROWSE, CmBrowse)
    WL_COMMAND(IDC_BULK_SELECT_ALL, CmSelectAll)
    WL_COMMAND(IDC_BULK_DESELECT_ALL, CmCancelAll)
WL_END_MESSAGE_TABLE()

BulkJobDialog::BulkJobDialog(wl::Window* parent, Program& program, int templateId)
    : wl::JobDialog(parent, templateId, program.Instance), program_(program) {
    SetTiming(kJobTimer, kJobPeriodMs, kJobBudget);
}

void BulkJobDialog::CmBrowse() { BrowseInto(*this, program_, IDC_BULK_PATH, browseFilter_, browseMustExist_); }
void BulkJobDialog::CmSelectAll() { SelectAll(GetItem(IDC_BULK_SLOT_LIST), true); }
void BulkJobDialog::CmCancelAll() { SelectAll(GetItem(IDC_BULK_SLOT_LIST), false); }

bool BulkJobDialog::RunJob(BulkJob& job) {
    shown_ = &job;
    return StartJob(job);
}

void BulkJobDialog::ShowProgress(const lex::JobProgress& progress) {
    if (!Handle() || !shown_) return;
    char count[32];
    std::snprintf(count, sizeof count, "%ld", shown_->Count());
    SetItemText(IDC_BULK_COUNT, count);
    const int slot = ShownSlot();
    wl::SetItemText(Handle(), IDC_BULK_LAST_WORD, shown_->LastWord(), program_.SlotCodePage(slot, 0));
    wl::SetItemText(Handle(), IDC_BULK_LAST_TRANSLATION, shown_->LastTranslation(), program_.SlotCodePage(slot, 1));
    if (progressLine_) {
        char line[300];
        if (progressLine_ == IDC_BULK_SAVE_PROGRESS) {
            std::snprintf(line, sizeof line, "%s %d %%", program_.Texts.LoadText(progressText_), progress.Percent());
        } else {
            std::snprintf(line, sizeof line, "%d %% %s", progress.Percent(), program_.Texts.LoadText(progressText_));
        }
        SetItemText(progressLine_, line);
    }
}

void BulkJobDialog::JobEnded(lex::Stepper& job) {
    if (job.State() == lex::JobState::Cancelled || !shown_) return;
    program_.ShowOk(this, shown_->MessageCaption(), shown_->MessageText());
}

// --- Archive -----------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(ArchiveDialog, BulkJobDialog)
    WL_COMMAND(IDOK, CmStart)
WL_END_MESSAGE_TABLE()

ArchiveDialog::ArchiveDialog(wl::Window* parent, Program& program, Mode mode)
    : BulkJobDialog(parent, program, IDD_BULK_ARCHIVE), mode_(mode), save_(*program.Engine),
      load_(*program.Engine) {
    browseFilter_ = lex::kTextArchiveFileFilter;
    browseMustExist_ = mode == kLoad;
    if (mode == kSave) {
        progressLine_ = IDC_BULK_SAVE_PROGRESS;
        progressText_ = lex::kTextStatusReady;  // "Done:" in lexbulk's table
    }
}

void ArchiveDialog::SetupWindow() {
    BulkJobDialog::SetupWindow();
    const bool save = mode_ == kSave;
    SetText(program_.Texts.LoadText(save ? lex::kTextArchiveCaption : lex::kTextArchiveLoadCaption));
    SetTexts(*this, program_,
             {{IDC_BULK_LIST_LABEL, save ? lex::kTextArchivePart : lex::kTextArchiveLoadPart},
              {IDC_BULK_PATH_LABEL, save ? lex::kTextArchiveTarget : lex::kTextArchiveFileLabel},
              {IDC_BULK_COUNT_LABEL, save ? lex::kTextArchivedCount : lex::kTextImportedCount},
              {IDOK, lex::kTextOk},
              {IDCANCEL, lex::kTextCancel},
              {IDC_BULK_SELECT_ALL, lex::kTextSelectAll},
              {IDC_BULK_DESELECT_ALL, lex::kTextCancelAll},
              {IDC_BULK_BROWSE, lex::kTextBrowse},
              {IDC_BULK_WORD_LABEL, lex::kTextReadOriginal},
              {IDC_BULK_TRANSLATION_LABEL, lex::kTextReadTranslation}});
    SetItemText(IDC_BULK_COUNT, "0");
    ::SendMessageW(GetItem(IDC_BULK_PATH), EM_LIMITTEXT, 254, 0);
    FillTitles(GetItem(IDC_BULK_SLOT_LIST), program_, false);
    SelectAll(GetItem(IDC_BULK_SLOT_LIST), true);
}

void ArchiveDialog::CmStart() {
    if (JobRunning()) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, lex::kTextArchiveRunning);
        return;
    }
    const std::string path = TrimmedPath(*this, IDC_BULK_PATH);
    SlotSelection slots{};
    for (int s = 0; s < lex::kSlotCount; ++s)
        slots[s] = ::SendMessageW(GetItem(IDC_BULK_SLOT_LIST), LB_GETSEL, s, 0) > 0;
    if (mode_ == kSave) {
        if (lex::FileExists(path) &&
            !program_.AskYesNo(this, lex::kTextFileExistsCaption, lex::kTextOverwriteQuestion))
            return;
        save_.SetRequest(path, slots);
        RunJob(save_);
    } else {
        load_.SetRequest(path, slots);
        RunJob(load_);
    }
}

bool ArchiveDialog::ConfirmCancel() {
    return program_.AskYesNo(this, lex::kTextArchiveInterrupted, lex::kTextArchiveLoadQuitQuestion);
}

// --- Import preview ------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TImpD, wl::Dialog)
    WL_COMMAND(IDOK, CmYes)
    WL_COMMAND(IDCANCEL, CmNo)
WL_END_MESSAGE_TABLE()

TImpD::TImpD(wl::Window* parent, Program& program, const TextEntry& entry, int slot)
    : wl::Dialog(parent, IDD_BULK_PREVIEW, program.Instance), program_(program), entry_(entry), slot_(slot) {}

void TImpD::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetText(program_.Texts.LoadText(lex::kTextLoadedWordsCaption));
    SetTexts(*this, program_,
             {{IDC_PREVIEW_WORD_LABEL, lex::kTextOriginal},
              {IDC_PREVIEW_TRANSLATION_LABEL, lex::kTextTranslation},
              {IDC_PREVIEW_PRONUNCIATION_LABEL, lex::kTextPronunciation},
              {IDC_PREVIEW_QUESTION, lex::kTextContinueQuestion},
              {IDC_PREVIEW_NO_MORE, lex::kTextDoNotShowAgain},
              {IDOK, lex::kTextYes},
              {IDCANCEL, lex::kTextNo}});
    const struct { int id; int side; const std::string& text; } fields[] = {
        {IDC_PREVIEW_WORD, 0, entry_.word},
        {IDC_PREVIEW_TRANSLATION, 1, entry_.translation},
        {IDC_PREVIEW_PRONUNCIATION, 2, entry_.pronunciation},
    };
    for (const auto& f : fields) {
        ::SendMessageW(GetItem(f.id), WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[f.side][slot_]), TRUE);
        wl::SetItemText(Handle(), f.id, " " + f.text, program_.SlotCodePage(slot_, f.side));
    }
}

void TImpD::CmYes() {
    CloseWindow(::IsDlgButtonChecked(Handle(), IDC_PREVIEW_NO_MORE) == BST_CHECKED ? ImportPreview::kYesNoMore
                                                                                     : ImportPreview::kYes);
}

void TImpD::CmNo() { CloseWindow(ImportPreview::kNo); }

// --- Import and export ----------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TextJobDialog, BulkJobDialog)
    WL_COMMAND(IDOK, CmStart)
WL_END_MESSAGE_TABLE()

TextJobDialog::TextJobDialog(wl::Window* parent, Program& program, Mode mode)
    : BulkJobDialog(parent, program, IDD_BULK_TEXT_JOB), mode_(mode), import_(*program.Engine, this),
      export_(*program.Engine) {
    browseFilter_ = lex::kTextTextFileFilter;
    browseMustExist_ = mode == kImport;
    if (mode == kExport) {
        progressLine_ = IDC_BULK_PROGRESS;
        progressText_ = lex::kTextBulkReady;
    }
}

void TextJobDialog::SetupWindow() {
    BulkJobDialog::SetupWindow();
    const bool import = mode_ == kImport;
    SetText(program_.Texts.LoadText(import ? lex::kTextImportCaption : lex::kTextExportCaption));
    SetTexts(*this, program_,
             {{IDC_BULK_LIST_LABEL, import ? lex::kTextImportSection : lex::kTextExportPart},
              {IDC_BULK_PATH_LABEL, import ? lex::kTextImportFileLabel : lex::kTextExportTarget},
              {IDC_TEXT_TEMPLATE_LABEL, import ? lex::kTextImportFormatLabel : lex::kTextExportFormatLabel},
              {IDC_BULK_COUNT_LABEL, import ? lex::kTextImportedCount : lex::kTextExportedCount},
              {IDC_BULK_WORD_LABEL, lex::kTextReadOriginal},
              {IDC_BULK_TRANSLATION_LABEL, lex::kTextReadTranslation},
              {IDC_TEXT_CODE_GROUP, import ? lex::kTextLoadCodeGroup : lex::kTextExportCodeGroup},
              {IDC_BULK_BROWSE, lex::kTextBrowse},
              {IDOK, lex::kTextOk},
              {IDCANCEL, lex::kTextCancel}});
    SetItemText(IDC_BULK_COUNT, "0");
    SetCodeTexts(*this, program_);
    SetItemText(IDC_TEXT_TEMPLATE, kDefaultTemplateText);
    ::SendMessageW(GetItem(IDC_BULK_PATH), EM_LIMITTEXT, 254, 0);
    FillTitles(GetItem(IDC_TEXT_SLOT), program_, true);
}

void TextJobDialog::CmStart() {
    const bool import = mode_ == kImport;
    if (JobRunning()) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, import ? lex::kTextImportRunning : lex::kTextExportRunning);
        return;
    }
    if (progressLine_) SetItemText(progressLine_, "");
    const std::string path = TrimmedPath(*this, IDC_BULK_PATH);
    TextCode code;
    const int slot = static_cast<int>(::SendMessageW(GetItem(IDC_TEXT_SLOT), CB_GETCURSEL, 0, 0));
    if (!CheckedCode(*this, code) || !lex::IsValidSlot(slot)) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, lex::kTextChooseOneCode);
        return;
    }
    slot_ = slot;
    const std::string templateText = GetItemText(IDC_TEXT_TEMPLATE);
    if (import) {
        ImportRequest r;
        r.Path = path;
        r.Code = code;
        r.Slot = slot;
        r.TemplateText = templateText;
        import_.SetRequest(r);
        RunJob(import_);
        return;
    }
    if (lex::FileExists(path) && !program_.AskYesNo(this, lex::kTextFileExistsCaption, lex::kTextOverwriteQuestion))
        return;
    ExportRequest r;
    r.Path = path;
    r.Code = code;
    r.Slot = slot;
    r.TemplateText = templateText;
    r.Sorted = !program_.AskYesNo(this, lex::kTextExportSpeedCaption, lex::kTextExportSpeedQuestion);
    export_.SetRequest(r);
    RunJob(export_);
}

ImportPreview::Answer TextJobDialog::Show(const TextEntry& entry, int slot) {
    TImpD preview(this, program_, entry, slot);
    const INT_PTR r = preview.Execute();
    if (r == ImportPreview::kYesNoMore) return ImportPreview::kYesNoMore;
    return r == ImportPreview::kYes ? ImportPreview::kYes : ImportPreview::kNo;
}

bool TextJobDialog::ConfirmCancel() {
    // Esc (not the Cancel button) while the import searches the file for a
    // separator ends the run as the end of the file does.
    if (mode_ == kImport && (::GetKeyState(VK_ESCAPE) & 0x8000) && import_.EndSearch()) return false;
    if (mode_ == kImport) return program_.AskYesNo(this, lex::kTextImportInterrupted, lex::kTextImportQuitQuestion);
    return program_.AskYesNo(this, lex::kTextExportInterrupted, lex::kTextExportQuitQuestion);
}

void TextJobDialog::JobEnded(lex::Stepper& job) {
    BulkJobDialog::JobEnded(job);
    if (mode_ == kImport && job.State() == lex::JobState::Done) {
        SetItemText(IDC_BULK_LAST_WORD, "");
        SetItemText(IDC_BULK_LAST_TRANSLATION, "");
    }
    // A failed import run closes the dialog; what was added stays.
    if (mode_ == kImport && job.State() == lex::JobState::Failed && Handle() &&
        (import_.MessageText() == lex::kTextImportError || import_.MessageText() == lex::kTextDataFilesCorrupted))
        CloseWindow(IDOK);
}

// --- Load words -------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TLoadWordDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_LOAD_BROWSE, CmBrowse)
WL_END_MESSAGE_TABLE()

TLoadWordDialog::TLoadWordDialog(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_BULK_LOAD_WORDS, program.Instance), program_(program) {}

void TLoadWordDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetText(program_.Texts.LoadText(lex::kTextLoadWordsCaption));
    SetTexts(*this, program_,
             {{IDC_LOAD_FILE_LABEL, lex::kTextLoadWordsFileLabel},
              {IDC_LOAD_BROWSE, lex::kTextBrowse},
              {IDC_LOAD_CODE_GROUP, lex::kTextLoadWordsCode},
              {IDC_LOAD_TARGET_LABEL, lex::kTextLoadWordsTarget},
              {IDC_LOAD_COUNTERPART_LABEL, lex::kTextLoadWordsCounterpart},
              {IDOK, lex::kTextOk},
              {IDCANCEL, lex::kTextCancel}});
    SetCodeTexts(*this, program_);
    ::SendMessageW(GetItem(IDC_LOAD_PATH), EM_LIMITTEXT, 254, 0);
    FillTitles(GetItem(IDC_LOAD_SLOT), program_, true);
}

void TLoadWordDialog::CmBrowse() {
    BrowseInto(*this, program_, IDC_LOAD_PATH, lex::kTextTextFileFilter, true);
}

void TLoadWordDialog::CmOk() {
    const std::string path = TrimmedPath(*this, IDC_LOAD_PATH);
    TextCode code;
    const int slot = static_cast<int>(::SendMessageW(GetItem(IDC_LOAD_SLOT), CB_GETCURSEL, 0, 0));
    if (!CheckedCode(*this, code) || !lex::IsValidSlot(slot)) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, lex::kTextChooseEnterDirection);
        return;
    }
    program_.Config.Dictionary.CurrentSlot = slot;
    MissingWords words(*program_.Engine, slot, code);
    if (!words.Open(path)) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, lex::kTextCannotOpenGivenFile);
        return;
    }
    std::string word;
    int errorText = 0;
    for (;;) {
        const int r = words.Next(word, errorText);
        if (r < 0) {
            const int caption = errorText == lex::kTextCannotOpenGivenFile ? lex::kTextBulkWarningCaption
                                                                            : lex::kTextVocabularyErrorCaption;
            program_.ShowOk(this, caption, errorText);
            return;
        }
        if (r == 0) break;
        program_.Config.Dictionary.CurrentWord = word;
        TAddWordDialog add(this, program_, slot, word);
        if (add.Execute() == IDCANCEL) break;
    }
    program_.ShowOk(this, lex::kTextLoadWordsStatus, lex::kTextLoadWordsDone);
}

// --- Add word ---------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TAddWordDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_ADD_TAKE_OVER, CmTakeOver)
    WL_COMMAND(IDC_ADD_CLEAN_UP, CmCleanUp)
    WL_COMMAND(IDC_ADD_SKIP, CmSkip)
WL_END_MESSAGE_TABLE()

TAddWordDialog::TAddWordDialog(wl::Window* parent, Program& program, int slot, const std::string& word)
    : wl::Dialog(parent, IDD_BULK_ADD_WORD, program.Instance), program_(program), slot_(slot), word_(word) {}

std::string TAddWordDialog::Text(int id, int slot, int side) const {
    return wl::GetItemText(Handle(), id, program_.SlotCodePage(slot, side));
}

void TAddWordDialog::SetFont(int id, int slot, int side) {
    ::SendMessageW(GetItem(id), WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[side][slot]), TRUE);
}

void TAddWordDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    const int c = lex::CounterpartSlot(slot_);
    SetText(program_.Texts.LoadText(lex::kTextNewEntryCaption));
    SetTexts(*this, program_,
             {{IDC_ADD_PRONUNCIATION_LABEL, lex::kTextPronunciation},
              {IDC_ADD_REVERSE_PRONUNCIATION_LABEL, lex::kTextPronunciation},
              {IDC_ADD_CLEAN_UP, lex::kTextCleanUp},
              {IDOK, lex::kTextOk},
              {IDC_ADD_SKIP, lex::kTextSkipWord},
              {IDCANCEL, lex::kTextCancel}});
    SetItemText(IDC_ADD_ORIGINAL_NAME, program_.Config.OriginalNames[slot_]);
    SetItemText(IDC_ADD_TRANSLATION_NAME, program_.Config.TranslationNames[slot_]);
    SetItemText(IDC_ADD_REVERSE_ORIGINAL_NAME, program_.Config.OriginalNames[c]);
    SetItemText(IDC_ADD_REVERSE_TRANSLATION_NAME, program_.Config.TranslationNames[c]);
    SetFont(IDC_ADD_WORD, slot_, 0);
    SetFont(IDC_ADD_PRONUNCIATION, slot_, 2);
    SetFont(IDC_ADD_TRANSLATIONS, slot_, 1);
    SetFont(IDC_ADD_REVERSE_WORDS, c, 0);
    SetFont(IDC_ADD_REVERSE_PRONUNCIATIONS, c, 2);
    SetFont(IDC_ADD_REVERSE_TRANSLATION, c, 1);
    for (int id : {IDC_ADD_WORD, IDC_ADD_PRONUNCIATION, IDC_ADD_REVERSE_TRANSLATION})
        ::SendMessageW(GetItem(id), EM_LIMITTEXT, 254, 0);
    wl::SetItemText(Handle(), IDC_ADD_WORD, word_, program_.SlotCodePage(slot_, 0));
}

void TAddWordDialog::CmTakeOver() {
    const int c = lex::CounterpartSlot(slot_);
    wl::SetItemText(Handle(), IDC_ADD_REVERSE_TRANSLATION, Text(IDC_ADD_WORD, slot_, 0), program_.SlotCodePage(c, 1));
    std::string lines;
    for (const std::string& line : SplitLines(Text(IDC_ADD_TRANSLATIONS, slot_, 1))) lines += line + "\r\n";
    wl::SetItemText(Handle(), IDC_ADD_REVERSE_WORDS, lines, program_.SlotCodePage(c, 0));
    ::SendMessageW(GetItem(IDC_ADD_REVERSE_WORDS), EM_LINESCROLL, 0, -0x7FFF);
}

void TAddWordDialog::CmCleanUp() {
    for (int id : {IDC_ADD_REVERSE_TRANSLATION, IDC_ADD_REVERSE_WORDS, IDC_ADD_REVERSE_PRONUNCIATIONS})
        SetItemText(id, "");
}

void TAddWordDialog::CmSkip() { CloseWindow(IDOK); }

void TAddWordDialog::CmOk() {
    const int c = lex::CounterpartSlot(slot_);
    BothSidesEntry e;
    e.Word = Text(IDC_ADD_WORD, slot_, 0);
    e.Pronunciation = Text(IDC_ADD_PRONUNCIATION, slot_, 2);
    e.Translations = SplitLines(Text(IDC_ADD_TRANSLATIONS, slot_, 1));
    e.ReverseWords = SplitLines(Text(IDC_ADD_REVERSE_WORDS, c, 0));
    e.ReversePronunciations = SplitLines(Text(IDC_ADD_REVERSE_PRONUNCIATIONS, c, 2));
    e.ReverseTranslation = Text(IDC_ADD_REVERSE_TRANSLATION, c, 1);
    const int r = AddBothSides(*program_.Engine, slot_, e);
    if (r != 1) {
        program_.ShowOk(this, lex::kTextVocabularyErrorCaption, r);
        return;
    }
    CloseWindow(IDOK);
}

}  // namespace lexbulk
