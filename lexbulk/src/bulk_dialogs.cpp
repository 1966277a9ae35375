#include "bulk_dialogs.h"

#include <chrono>
#include <cstdio>

#include "core/engine/trim_word.h"
#include "core/texts/text_ids.h"
#include "core/ui/ui_texts.h"
#include "lexbulk/jobs/data_file_init.h"
#include "lexbulk_ids.h"
#include "winlib/common_dialogs.h"

namespace lexbulk {

namespace {

// Every tick works through this budget of the timer period.
constexpr UINT_PTR kJobTimer = 1;
constexpr UINT kJobPeriodMs = 10;
constexpr std::chrono::milliseconds kJobBudget(8);

// The 20 dictionary titles (or those of slots first..), in slot order, in
// the UI code page.
void FillTitles(wl::ItemList& list, Program& p, int first = 0) {
    list.SetCodePage(p.UiCodePage());
    for (int s = first; s < lex::kSlotCount; ++s) list.AddString(p.Config.DictionaryTitles[s]);
}

// Selects or deselects every item of a slot list (indices 0..19).
void SelectAll(wl::ListBox& list, bool on) {
    for (int i = 0; i < lex::kSlotCount; ++i) list.SetSel(i, on);
}

std::string TrimmedPath(const wl::Edit& path) {
    std::string text = path.GetText();
    lex::TrimWord(text);
    return text;
}

// The system's open dialog of `dialog` for its path edit `path`.
void BrowseInto(wl::Window& dialog, wl::Edit& path, Program& p, int filterText, bool mustExist) {
    wl::FileDialogOptions o;
    o.filter = p.Texts.LoadText(filterText);
    o.title = p.Texts.LoadText(lex::kTextDataFolderCaption);
    std::string dir = TrimmedPath(path);
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    o.initialDir = dir;
    o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (mustExist ? OFN_FILEMUSTEXIST : 0);
    if (wl::OpenFileDialog(&dialog, o)) path.SetText(o.fileName);
}

}  // namespace

// --- Code-page buttons ---------------------------------------------------------

TextCodeButtons::TextCodeButtons(wl::Window* dialog)
    : dialog_(*dialog), windows1250_(dialog, IDC_TEXT_CODE_1250), latin2_(dialog, IDC_TEXT_CODE_852),
      kamenicky_(dialog, IDC_TEXT_CODE_KAMENICKY) {}

void TextCodeButtons::Setup(Program& program) {
    dialog_.SetItemTexts(lex::UiTextLookup(program.Texts), {{IDC_TEXT_CODE_1250, lex::kTextCodeWindows1250},
                                                            {IDC_TEXT_CODE_852, lex::kTextCodeLatin2},
                                                            {IDC_TEXT_CODE_KAMENICKY, lex::kTextCodeKamenicky}});
    windows1250_.SetCheck(true);
    latin2_.SetCheck(false);
    kamenicky_.SetCheck(false);
}

bool TextCodeButtons::Checked(TextCode& code) const {
    const wl::Button* buttons[] = {&windows1250_, &latin2_, &kamenicky_};
    for (int i = 0; i < 3; ++i)
        if (buttons[i]->IsChecked()) return TextCodeFromIndex(i, code);
    return false;
}

// --- Data-file initialisation ------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TInicializaceWindow, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_BULK_SELECT_ALL, CmSelectAll)
    WL_COMMAND(IDC_BULK_DESELECT_ALL, CmCancelAll)
WL_END_MESSAGE_TABLE()

TInicializaceWindow::TInicializaceWindow(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_BULK_INITIALISATION, program.Instance), program_(program),
      slots_(this, IDC_BULK_SLOT_LIST) {}

void TInicializaceWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetText(program_.Texts.LoadText(lex::kTextInitCaption));
    SetItemTexts(lex::UiTextLookup(program_.Texts),
                 {{IDOK, lex::kTextOk},
                  {IDCANCEL, lex::kTextCancel},
                  {IDC_BULK_SELECT_ALL, lex::kTextSelectAll},
                  {IDC_BULK_DESELECT_ALL, lex::kTextCancelAll},
                  {IDC_INIT_CREATES, lex::kTextInitCreatesEmpty},
                  {IDC_INIT_OVERWRITES, lex::kTextInitOverwrites},
                  {IDC_INIT_ENTER_PATH, lex::kTextInitEnterPath},
                  {IDC_INIT_FOLLOW_MANUAL, lex::kTextInitFollowManual},
                  {IDC_INIT_WARNING, lex::kTextWarningCaption}});
    FillTitles(slots_, program_, kFirstUserSlot);
    SelectAll(slots_, true);
}

void TInicializaceWindow::CmSelectAll() { SelectAll(slots_, true); }
void TInicializaceWindow::CmCancelAll() { SelectAll(slots_, false); }

void TInicializaceWindow::CmOk() {
    if (!program_.AskYesNo(this, lex::kTextBulkWarningCaption, lex::kTextEraseQuestion)) return;
    std::vector<int> slots;
    for (int k = 0; k < lex::kSlotCount - kFirstUserSlot; ++k)
        if (slots_.IsSelected(k)) slots.push_back(kFirstUserSlot + k);
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

WL_BEGIN_MESSAGE_TABLE(BulkJobDialog, lex::JobDialog)
    WL_COMMAND(IDC_BULK_BROWSE, CmBrowse)
WL_END_MESSAGE_TABLE()

BulkJobDialog::BulkJobDialog(wl::Window* parent, Program& program, int templateId)
    : lex::JobDialog(parent, templateId, program.Instance), program_(program), path_(this, IDC_BULK_PATH),
      count_(this, IDC_BULK_COUNT), lastWord_(this, IDC_BULK_LAST_WORD),
      lastTranslation_(this, IDC_BULK_LAST_TRANSLATION) {
    SetTiming(kJobTimer, kJobPeriodMs, kJobBudget);
}

void BulkJobDialog::CmBrowse() { BrowseInto(*this, path_, program_, browseFilter_, browseMustExist_); }

bool BulkJobDialog::RunJob(BulkJob& job) {
    shown_ = &job;
    return StartJob(job);
}

void BulkJobDialog::ShowProgress(const lex::JobProgress& progress) {
    if (!Handle() || !shown_) return;
    char count[32];
    std::snprintf(count, sizeof count, "%ld", shown_->Count());
    count_.SetText(count);
    const int slot = ShownSlot();
    lastWord_.SetCodePage(program_.SlotCodePage(slot, 0));
    lastWord_.SetText(shown_->LastWord());
    lastTranslation_.SetCodePage(program_.SlotCodePage(slot, 1));
    lastTranslation_.SetText(shown_->LastTranslation());
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
    WL_COMMAND(IDC_BULK_SELECT_ALL, CmSelectAll)
    WL_COMMAND(IDC_BULK_DESELECT_ALL, CmCancelAll)
WL_END_MESSAGE_TABLE()

ArchiveDialog::ArchiveDialog(wl::Window* parent, Program& program, Mode mode)
    : BulkJobDialog(parent, program, IDD_BULK_ARCHIVE), mode_(mode), save_(*program.Engine),
      load_(*program.Engine), slots_(this, IDC_BULK_SLOT_LIST) {
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
    SetItemTexts(lex::UiTextLookup(program_.Texts),
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
    count_.SetText("0");
    path_.LimitText(kPathFieldLimit);
    FillTitles(slots_, program_);
    SelectAll(slots_, true);
}

void ArchiveDialog::CmSelectAll() { SelectAll(slots_, true); }
void ArchiveDialog::CmCancelAll() { SelectAll(slots_, false); }

void ArchiveDialog::CmStart() {
    if (JobRunning()) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, lex::kTextArchiveRunning);
        return;
    }
    const std::string path = TrimmedPath(path_);
    SlotSelection slots{};
    for (int s = 0; s < lex::kSlotCount; ++s) slots[s] = slots_.IsSelected(s);
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
    : wl::Dialog(parent, IDD_BULK_PREVIEW, program.Instance), program_(program), entry_(entry), slot_(slot),
      word_(this, IDC_PREVIEW_WORD), translation_(this, IDC_PREVIEW_TRANSLATION),
      pronunciation_(this, IDC_PREVIEW_PRONUNCIATION), noMore_(this, IDC_PREVIEW_NO_MORE) {}

void TImpD::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetText(program_.Texts.LoadText(lex::kTextLoadedWordsCaption));
    SetItemTexts(lex::UiTextLookup(program_.Texts),
                 {{IDC_PREVIEW_WORD_LABEL, lex::kTextOriginal},
                  {IDC_PREVIEW_TRANSLATION_LABEL, lex::kTextTranslation},
                  {IDC_PREVIEW_PRONUNCIATION_LABEL, lex::kTextPronunciation},
                  {IDC_PREVIEW_QUESTION, lex::kTextContinueQuestion},
                  {IDC_PREVIEW_NO_MORE, lex::kTextDoNotShowAgain},
                  {IDOK, lex::kTextYes},
                  {IDCANCEL, lex::kTextNo}});
    const struct { wl::Static& field; int side; const std::string& text; } fields[] = {
        {word_, 0, entry_.word},
        {translation_, 1, entry_.translation},
        {pronunciation_, 2, entry_.pronunciation},
    };
    for (const auto& f : fields) {
        f.field.Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[f.side][slot_]), TRUE);
        f.field.SetCodePage(program_.SlotCodePage(slot_, f.side));
        f.field.SetText(" " + f.text);
    }
}

void TImpD::CmYes() { CloseWindow(noMore_.IsChecked() ? ImportPreview::kYesNoMore : ImportPreview::kYes); }

void TImpD::CmNo() { CloseWindow(ImportPreview::kNo); }

// --- Import and export ----------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TextJobDialog, BulkJobDialog)
    WL_COMMAND(IDOK, CmStart)
WL_END_MESSAGE_TABLE()

TextJobDialog::TextJobDialog(wl::Window* parent, Program& program, Mode mode)
    : BulkJobDialog(parent, program, IDD_BULK_TEXT_JOB), mode_(mode), import_(*program.Engine, this),
      export_(*program.Engine), slots_(this, IDC_TEXT_SLOT), template_(this, IDC_TEXT_TEMPLATE), codes_(this) {
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
    SetItemTexts(lex::UiTextLookup(program_.Texts),
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
    count_.SetText("0");
    codes_.Setup(program_);
    template_.SetText(kDefaultTemplateText);
    path_.LimitText(kPathFieldLimit);
    FillTitles(slots_, program_);
    slots_.SetSelIndex(0);
}

void TextJobDialog::CmStart() {
    const bool import = mode_ == kImport;
    if (JobRunning()) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, import ? lex::kTextImportRunning : lex::kTextExportRunning);
        return;
    }
    if (progressLine_) SetItemText(progressLine_, "");
    const std::string path = TrimmedPath(path_);
    TextCode code;
    const int slot = slots_.GetSelIndex();
    if (!codes_.Checked(code) || !lex::IsValidSlot(slot)) {
        program_.ShowOk(this, lex::kTextBulkWarningCaption, lex::kTextChooseOneCode);
        return;
    }
    slot_ = slot;
    const std::string templateText = template_.GetText();
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
        lastWord_.SetText("");
        lastTranslation_.SetText("");
    }
    // A failed import run closes the dialog; what was added stays.
    if (mode_ == kImport && job.State() == lex::JobState::Failed && Handle() &&
        (import_.MessageText() == lex::kTextImportError || import_.MessageText() == lex::kTextDataFilesCorrupted ||
         import_.MessageText() == lex::kTextWriteFailed))
        CloseWindow(IDOK);
}

// --- Load words -------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TLoadWordDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_LOAD_BROWSE, CmBrowse)
WL_END_MESSAGE_TABLE()

TLoadWordDialog::TLoadWordDialog(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_BULK_LOAD_WORDS, program.Instance), program_(program), path_(this, IDC_LOAD_PATH),
      slots_(this, IDC_LOAD_SLOT), codes_(this) {}

void TLoadWordDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetText(program_.Texts.LoadText(lex::kTextLoadWordsCaption));
    SetItemTexts(lex::UiTextLookup(program_.Texts),
                 {{IDC_LOAD_FILE_LABEL, lex::kTextLoadWordsFileLabel},
                  {IDC_LOAD_BROWSE, lex::kTextBrowse},
                  {IDC_LOAD_CODE_GROUP, lex::kTextLoadWordsCode},
                  {IDC_LOAD_TARGET_LABEL, lex::kTextLoadWordsTarget},
                  {IDC_LOAD_COUNTERPART_LABEL, lex::kTextLoadWordsCounterpart},
                  {IDOK, lex::kTextOk},
                  {IDCANCEL, lex::kTextCancel}});
    codes_.Setup(program_);
    path_.LimitText(kPathFieldLimit);
    FillTitles(slots_, program_);
    slots_.SetSelIndex(0);
}

void TLoadWordDialog::CmBrowse() { BrowseInto(*this, path_, program_, lex::kTextTextFileFilter, true); }

void TLoadWordDialog::CmOk() {
    const std::string path = TrimmedPath(path_);
    TextCode code;
    const int slot = slots_.GetSelIndex();
    if (!codes_.Checked(code) || !lex::IsValidSlot(slot)) {
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
    : wl::Dialog(parent, IDD_BULK_ADD_WORD, program.Instance), program_(program), slot_(slot), word_(word),
      wordField_(this, IDC_ADD_WORD), pronunciation_(this, IDC_ADD_PRONUNCIATION),
      translations_(this, IDC_ADD_TRANSLATIONS), reverseWords_(this, IDC_ADD_REVERSE_WORDS),
      reversePronunciations_(this, IDC_ADD_REVERSE_PRONUNCIATIONS),
      reverseTranslation_(this, IDC_ADD_REVERSE_TRANSLATION) {}

void TAddWordDialog::SetupField(wl::Edit& field, int slot, int side) {
    field.Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[side][slot]), TRUE);
    field.SetCodePage(program_.SlotCodePage(slot, side));
}

void TAddWordDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    const int c = lex::CounterpartSlot(slot_);
    SetText(program_.Texts.LoadText(lex::kTextNewEntryCaption));
    SetItemTexts(lex::UiTextLookup(program_.Texts),
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
    SetupField(wordField_, slot_, 0);
    SetupField(pronunciation_, slot_, 2);
    SetupField(translations_, slot_, 1);
    SetupField(reverseWords_, c, 0);
    SetupField(reversePronunciations_, c, 2);
    SetupField(reverseTranslation_, c, 1);
    for (wl::Edit* line : {&wordField_, &pronunciation_, &reverseTranslation_}) line->LimitText(kAddWordFieldLimit);
    wordField_.SetText(word_);
}

void TAddWordDialog::CmTakeOver() {
    reverseTranslation_.SetText(wordField_.GetText());
    std::string lines;
    for (const std::string& line : SplitLines(translations_.GetText())) lines += line + "\r\n";
    reverseWords_.SetText(lines);
    reverseWords_.Send(EM_LINESCROLL, 0, -0x7FFF);
}

void TAddWordDialog::CmCleanUp() {
    for (wl::Edit* field : {&reverseTranslation_, &reverseWords_, &reversePronunciations_}) field->Clear();
}

void TAddWordDialog::CmSkip() { CloseWindow(IDOK); }

void TAddWordDialog::CmOk() {
    BothSidesEntry e;
    e.Word = wordField_.GetText();
    e.Pronunciation = pronunciation_.GetText();
    e.Translations = SplitLines(translations_.GetText());
    e.ReverseWords = SplitLines(reverseWords_.GetText());
    e.ReversePronunciations = SplitLines(reversePronunciations_.GetText());
    e.ReverseTranslation = reverseTranslation_.GetText();
    const int r = AddBothSides(*program_.Engine, slot_, e);
    if (r != 1) {
        program_.ShowOk(this, lex::kTextVocabularyErrorCaption, r);
        return;
    }
    CloseWindow(IDOK);
}

}  // namespace lexbulk
