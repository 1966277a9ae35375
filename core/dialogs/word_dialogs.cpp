// The word maintenance dialogs.
#include "core/dialogs/word_dialogs.h"

#include "core/engine/slots.h"
#include "core/lookup/lookup_session.h"
#include "core/lookup/word_edits.h"
#include "core/texts/text_ids.h"
#include "core/ui/ui_texts.h"

namespace lex {

namespace {

constexpr UINT_PTR kFocusTimer = 0;
constexpr UINT kFocusPeriod = 100;

std::string Cut(std::string text, size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

// The pronunciation line without its brackets ("[haus]" gives "haus").
std::string WithoutBrackets(const std::string& line) {
    const std::string text = Cut(line, kMaxTextLength);
    return text.size() >= 3 ? text.substr(1, text.size() - 2) : std::string();
}

bool IsSeparatorLine(const std::string& line) { return line == kSeparatorLine; }

}  // namespace

// --- Shared parts ------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(WordDialogBase, wl::Dialog)
WL_END_MESSAGE_TABLE()

WordDialogBase::WordDialogBase(wl::Window* parent, int templateId, WordDialogServices services,
                               WordDialogView view)
    : wl::Dialog(parent, templateId), services_(std::move(services)), view_(std::move(view)),
      counterpart_(CounterpartSlot(IsValidSlot(view_.Slot) ? view_.Slot : 0)) {
    if (!IsValidSlot(view_.Slot)) view_.Slot = 0;
}

void WordDialogBase::SetupField(wl::Window& field, int slot, int kind) {
    if (services_.CodePage) {
        const UINT cp = services_.CodePage(slot, kind);
        if (cp) field.SetCodePage(cp);
    }
    if (services_.Font) {
        HFONT font = services_.Font(slot, kind);
        if (font) field.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void WordDialogBase::SetLabel(int id, int slot, int kind) {
    SetItemText(id, services_.SlotName ? services_.SlotName(slot, kind) : std::string());
}

void WordDialogBase::SetupDeleteFields(int captionId, wl::Edit& word, wl::Edit& translations, wl::Edit& reverseWords,
                                       wl::Edit& reverseTranslation) {
    SetCodePage(services_.Texts.CodePage());
    SetText(services_.Texts.LoadText(captionId));
    SetItemTexts(UiTextLookup(services_.Texts),
                 {{IDOK, kTextOk}, {IDCANCEL, kTextCancel}, {IDC_WD_CLEAN_UP, kTextCleanUp}});
    const int slot = view_.Slot, other = counterpart_;
    SetupField(word, slot, 0);
    SetupField(translations, slot, 1);
    SetupField(reverseWords, other, 0);
    SetupField(reverseTranslation, other, 1);
    SetLabel(IDC_WD_WORD_LABEL, slot, 0);
    SetLabel(IDC_WD_TRANSLATIONS_LABEL, slot, 1);
    SetLabel(IDC_WD_REVERSE_WORDS_LABEL, other, 0);
    SetLabel(IDC_WD_REVERSE_TRANSLATION_LABEL, other, 1);
}

std::vector<std::string> WordDialogBase::Lines(const wl::Edit& field) {
    std::vector<std::string> lines;
    const int count = field.GetLineCount();
    for (int i = 0; i < count; ++i) lines.push_back(Cut(field.GetLine(i), kMaxTextLength));
    return lines;
}

std::string WordDialogBase::FieldText(const wl::Edit& field, size_t limit) { return Cut(field.GetText(), limit); }

void WordDialogBase::AppendLines(wl::Edit& field, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const int end = static_cast<int>(field.Send(WM_GETTEXTLENGTH));
    field.SetSelection(end, end);
    field.Insert(text);
    field.Send(EM_LINESCROLL, 0, -static_cast<LPARAM>(field.GetLineCount()));
    field.SetSelection(0, 0);
}

bool WordDialogBase::CommandDone(int result) {
    if (result == 1) return true;
    // A full disk is no damaged dictionary: a write the system refused says so.
    int text = kTextDataFilesCorrupted;
    if (result == kCommandNoAccess)
        text = kTextEntryLocked;
    else if (FailureOf(services_.Engine) == EngineFailure::WriteRefused)
        text = kTextWriteFailed;
    if (services_.ShowMessage) services_.ShowMessage(this, kTextVocabularyErrorCaption, text);
    return false;
}

bool WordDialogBase::ReadEntryTranslations(std::vector<std::string>& out) {
    return ReadShownEntry(services_.Engine, view_.Slot, view_.EntryOffset, view_.Word, out);
}

// --- Add word ------------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TAddWordDialog, WordDialogBase)
    WL_COMMAND(IDC_WE_TAKE_OVER, CmTakeOver)
    WL_COMMAND(IDC_WE_CLEAN_UP, CmClear)
    WL_COMMAND(IDOK, CmOk)
    WL_COMMAND(IDC_WE_NEXT_WORD, CmOkNext)
    WL_NOTIFY(IDC_WE_WORD, EN_CHANGE, EvWordChange)
    WL_NOTIFY(IDC_WE_REVERSE_TRANSLATION, EN_CHANGE, EvReverseTranslationChange)
    WL_MESSAGE(WM_TIMER, EvTimer)
WL_END_MESSAGE_TABLE()

TAddWordDialog::TAddWordDialog(wl::Window* parent, WordDialogServices services, WordDialogView view)
    : WordDialogBase(parent, IDD_WORD_ENTRY, std::move(services), std::move(view)),
      word_(this, IDC_WE_WORD),
      pronunciation_(this, IDC_WE_PRONUNCIATION),
      translations_(this, IDC_WE_TRANSLATIONS),
      reverseWords_(this, IDC_WE_REVERSE_WORDS),
      reversePronunciations_(this, IDC_WE_REVERSE_PRONUNCIATIONS),
      reverseTranslation_(this, IDC_WE_REVERSE_TRANSLATION) {}

TAddWordDialog::~TAddWordDialog() {
    if (Handle()) KillTimer(kFocusTimer);
}

void TAddWordDialog::SetupWindow() {
    WordDialogBase::SetupWindow();
    SetCodePage(services_.Texts.CodePage());
    const int slot = view_.Slot, other = counterpart_;
    SetLabel(IDC_WE_WORD_LABEL, slot, 0);
    SetLabel(IDC_WE_TRANSLATIONS_LABEL, slot, 1);
    SetLabel(IDC_WE_REVERSE_WORDS_LABEL, other, 0);
    SetLabel(IDC_WE_REVERSE_TRANSLATION_LABEL, other, 1);
    SetItemTexts(UiTextLookup(services_.Texts), {{IDC_WE_PRONUNCIATION_LABEL, kTextPronunciation},
                                                 {IDC_WE_REVERSE_PRONUNCIATIONS_LABEL, kTextPronunciation}});
    SetupField(word_, slot, 0);
    SetupField(pronunciation_, slot, 2);
    SetupField(translations_, slot, 1);
    SetupField(reverseWords_, other, 0);
    SetupField(reversePronunciations_, other, 2);
    SetupField(reverseTranslation_, other, 1);
    for (wl::Edit* line : {&word_, &pronunciation_, &reverseTranslation_})
        line->LimitText(static_cast<int>(kMaxTextLength));
    word_.SetText(Cut(view_.Word, kMaxTextLength));
    pronunciation_.SetText(WithoutBrackets(view_.Pronunciation));
    SetText(services_.Texts.LoadText(kTextNewEntryCaption));
    SetItemTexts(UiTextLookup(services_.Texts), {{IDOK, kTextOk},
                                                 {IDCANCEL, kTextCancel},
                                                 {IDC_WE_CLEAN_UP, kTextCleanUp},
                                                 {IDC_WE_NEXT_WORD, kTextNextWord}});
    SetTimer(kFocusTimer, kFocusPeriod);
}

LRESULT TAddWordDialog::EvTimer(WPARAM, LPARAM) {
    const HWND focus = ::GetFocus();
    struct Field { wl::Edit* edit; bool counterpart; int field; bool pronunciation; };
    const Field fields[] = {
        {&word_, false, kOriginalField, false},          {&translations_, false, kTranslationField, false},
        {&reverseTranslation_, true, kTranslationField, false}, {&reverseWords_, true, kOriginalField, false},
        {&pronunciation_, false, kOriginalField, true},   {&reversePronunciations_, true, kOriginalField, true},
    };
    for (const Field& f : fields) {
        if (focus && focus == f.edit->Handle()) {
            services_.Coupling.SelectSlotKeyboard(f.counterpart ? counterpart_ : view_.Slot, f.field, f.pronunciation);
            break;
        }
    }
    return 0;
}

void TAddWordDialog::ReverseCaret(wl::Edit& field) {
    if (!services_.Engine.ReversedEntry) return;
    int start = 0, end = 0;
    field.GetSelection(start, end);
    field.SetSelection(start - 1, end - 1);
}

void TAddWordDialog::EvWordChange() { ReverseCaret(word_); }
void TAddWordDialog::EvReverseTranslationChange() { ReverseCaret(reverseTranslation_); }

void TAddWordDialog::CmTakeOver() {
    const std::string word = FieldText(word_);
    reverseTranslation_.Clear();
    reverseWords_.Clear();
    reverseTranslation_.SetText(word);
    AppendLines(reverseWords_, Lines(translations_));
}

void TAddWordDialog::CmClear() {
    reverseTranslation_.Clear();
    reverseWords_.Clear();
    reversePronunciations_.Clear();
}

bool TAddWordDialog::WordAccepted(const std::string& word) {
    if (!IsGrammarNoteWord(word, services_.Engine.Settings.GrammarSeparator)) return true;
    if (services_.ShowMessage) services_.ShowMessage(this, kTextVocabularyErrorCaption, kTextWordIsGrammarNote);
    return false;
}

bool TAddWordDialog::EntryAccepted(const std::string& word, const std::string& reverse) {
    if (!WordAccepted(word)) return false;
    auto refuse = [this](int text) {
        if (services_.ShowMessage) services_.ShowMessage(this, kTextVocabularyErrorCaption, text);
        return false;
    };
    // A character that the slot's code page lacks would be stored as '?'.
    std::vector<const wl::Edit*> written;
    if (!word.empty()) written.insert(written.end(), {&word_, &pronunciation_, &translations_});
    if (!reverse.empty()) written.insert(written.end(), {&reverseTranslation_, &reverseWords_, &reversePronunciations_});
    for (const wl::Edit* field : written)
        if (!field->TextFits()) return refuse(kTextCannotStoreText);
    if (reverse.empty()) return true;
    if (!ReverseWordsAccepted(Lines(translations_), Lines(reverseWords_), services_.Engine.Settings.GrammarSeparator))
        return refuse(kTextWordIsGrammarNote);
    return true;
}

WordEntry TAddWordDialog::Entry() const {
    WordEntry e;
    e.Word = FieldText(word_);
    e.Pronunciation = FieldText(pronunciation_);
    e.Translations = Lines(translations_);
    e.ReverseWords = Lines(reverseWords_);
    e.ReversePronunciations = Lines(reversePronunciations_);
    e.ReverseTranslation = FieldText(reverseTranslation_);
    return e;
}

bool TAddWordDialog::Accepted(const WordEntry& entry) {
    return EntryAccepted(TrimmedField(entry.Word), TrimmedField(entry.ReverseTranslation));
}

void TAddWordDialog::CmOk() {
    const bool next = nextWord_;
    nextWord_ = false;  // a later plain OK is a plain OK
    const WordEntry entry = Entry();
    if (!Accepted(entry)) return;
    if (!CommandDone(AddWordCommand(services_.Engine, view_.Slot, entry))) return;

    if (next) {
        newWord_.clear();
        CloseWindow(kNextWordResult);
    } else {
        newWord_ = Cut(word_.GetText(), kNewWordLength);
        CloseWindow(IDOK);
    }
}

void TAddWordDialog::CmOkNext() {
    nextWord_ = true;
    CmOk();
}

// --- Change word ---------------------------------------------------------------------

TChangeWordDialog::TChangeWordDialog(wl::Window* parent, WordDialogServices services, WordDialogView view)
    : TAddWordDialog(parent, std::move(services), std::move(view)) {}

void TChangeWordDialog::SetupWindow() {
    TAddWordDialog::SetupWindow();
    SetText(services_.Texts.LoadText(kTextCorrectWordCaption));
    // The translations come from the entry's chain in the files: the
    // translation box may show only the first part of a long entry.
    if (!ReadEntryTranslations(oldTranslations_)) {
        oldTranslations_.clear();
        for (const std::string& line : view_.TranslationLines)
            if (!IsSeparatorLine(line)) oldTranslations_.push_back(Cut(line, kMaxTextLength));
    }
    AppendLines(translations_, oldTranslations_);
    if (HWND next = GetItem(IDC_WE_NEXT_WORD)) ::DestroyWindow(next);
}

void TChangeWordDialog::CmOk() {
    const WordEntry entry = Entry();
    if (!Accepted(entry)) return;
    if (!CommandDone(ChangeWordCommand(services_.Engine, view_.Slot, entry, view_.Word, oldTranslations_))) return;
    newWord_ = Cut(word_.GetText(), kNewWordLength);
    CloseWindow(IDOK);
}

// --- Delete word -------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TDeleteWordDialog, WordDialogBase)
    WL_COMMAND(IDC_WD_TAKE_OVER, CmTakeOver)
    WL_COMMAND(IDC_WD_CLEAN_UP, CmClear)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

TDeleteWordDialog::TDeleteWordDialog(wl::Window* parent, WordDialogServices services, WordDialogView view)
    : WordDialogBase(parent, IDD_DELETE_WORD, std::move(services), std::move(view)),
      word_(this, IDC_WD_WORD),
      translations_(this, IDC_WD_TRANSLATIONS),
      reverseWords_(this, IDC_WD_REVERSE_WORDS),
      reverseTranslation_(this, IDC_WD_REVERSE_TRANSLATION) {}

void TDeleteWordDialog::SetupWindow() {
    WordDialogBase::SetupWindow();
    SetupDeleteFields(kTextDeleteEntryCaption, word_, translations_, reverseWords_, reverseTranslation_);
    word_.SetText(Cut(view_.Word, kMaxTextLength));
    std::vector<std::string> lines;
    for (const std::string& line : view_.TranslationLines)
        if (!IsSeparatorLine(line)) lines.push_back(Cut(line, kMaxTextLength));
    AppendLines(translations_, lines);
    services_.Coupling.SelectSlotKeyboard(counterpart_, kOriginalField, false);
}

void TDeleteWordDialog::CmTakeOver() {
    CmClear();
    reverseTranslation_.SetText(FieldText(word_));
    AppendLines(reverseWords_, Lines(translations_));
}

void TDeleteWordDialog::CmClear() {
    reverseTranslation_.Clear();
    reverseWords_.Clear();
}

void TDeleteWordDialog::CmOk() {
    const int result = DeleteWordCommand(services_.Engine, view_.Slot, FieldText(word_, kMaxTextLength + 1),
                                         Lines(reverseWords_), FieldText(reverseTranslation_, kMaxTextLength + 1));
    if (CommandDone(result)) CloseWindow(IDOK);
}

// --- Delete translation ------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TDeleteTranslationDialog, WordDialogBase)
    WL_COMMAND(IDC_WD_TAKE_OVER, CmTakeOver)
    WL_COMMAND(IDC_WD_CLEAN_UP, CmClear)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

TDeleteTranslationDialog::TDeleteTranslationDialog(wl::Window* parent, WordDialogServices services,
                                                   WordDialogView view)
    : WordDialogBase(parent, IDD_DELETE_TRANSLATION, std::move(services), std::move(view)),
      word_(this, IDC_WD_WORD),
      translation_(this, IDC_WD_TRANSLATIONS),
      reverseWord_(this, IDC_WD_REVERSE_WORDS),
      reverseTranslation_(this, IDC_WD_REVERSE_TRANSLATION) {}

void TDeleteTranslationDialog::SetupWindow() {
    WordDialogBase::SetupWindow();
    SetupDeleteFields(kTextDeleteTranslationCaption, word_, translation_, reverseWord_, reverseTranslation_);
    word_.SetText(Cut(view_.Word, kMaxTextLength));
    translation_.SetText(Cut(view_.CaretLine, kMaxTextLength));
}

void TDeleteTranslationDialog::CmTakeOver() {
    CmClear();
    reverseTranslation_.SetText(FieldText(word_));
    reverseWord_.SetText(FieldText(translation_));
}

void TDeleteTranslationDialog::CmClear() {
    reverseTranslation_.Clear();
    reverseWord_.Clear();
}

void TDeleteTranslationDialog::CmOk() {
    const size_t limit = kMaxTextLength + 1;
    const int result = DeleteTranslationCommand(services_.Engine, view_.Slot, FieldText(word_, limit),
                                                FieldText(translation_, limit), FieldText(reverseWord_, limit),
                                                FieldText(reverseTranslation_, limit));
    if (CommandDone(result)) CloseWindow(IDOK);
}

}  // namespace lex
