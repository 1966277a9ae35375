#include "search_dialog.h"

#include "client.h"
#include "messages.h"
#include "tools_ids.h"
#include "core/ui/quiet_display.h"
#include "winlib/text.h"

namespace lexora {

namespace {
constexpr UINT_PTR kSearchTimer = 1;
constexpr UINT kSearchPeriod = 10;
constexpr int kSearchTextLimit = 254;
}  // namespace

WL_BEGIN_MESSAGE_TABLE(TNajdiWindow, lex::JobDialog)
    WL_COMMAND(IDOK, CmStartSearch)
    WL_COMMAND(IDC_SEARCH_KEYBOARD, CmKeyboardToggle)
    WL_CONTROL(IDC_SEARCH_SLOT, EvSlotChange)
    WL_CONTROL(IDC_SEARCH_TEXT, EvSearchText)
WL_END_MESSAGE_TABLE()

TNajdiWindow::TNajdiWindow(wl::Window* parent, Program& program, TDrawWindow& client, bool resume)
    : lex::JobDialog(parent, IDD_SEARCH, program.Instance),
      program_(program),
      client_(client),
      resume_(resume),
      display_(std::make_unique<lex::QuietDisplay>()),
      engine_(program.Config.Dictionary, *program.Files, *display_, program),
      job_(engine_, program.Search, *this, program.Texts.LoadText(lex::kTextStatusReady)),
      text_(this, IDC_SEARCH_TEXT),
      slots_(this, IDC_SEARCH_SLOT) {
    SetProgressControls(IDC_SEARCH_STATUS);
    SetTiming(kSearchTimer, kSearchPeriod, std::chrono::milliseconds(kTickBudgetMs));
}

TNajdiWindow::~TNajdiWindow() { CancelJob(); }  // the job is a member: it stops before it goes

void TNajdiWindow::Warn(int captionId, int textId) { ShowOk(program_, this, captionId, textId); }

void TNajdiWindow::SetupWindow() {
    lex::JobDialog::SetupWindow();
    SetCodePage(program_.UiCodePage());
    lex::TextLoader& texts = program_.Texts;
    TextSearchState& state = program_.Search;
    SetText(texts.LoadText(resume_ ? lex::kTextContinueSearch : lex::kTextSearchCaption));
    SetItemText(IDC_SEARCH_TEXT_LABEL, texts.LoadText(lex::kTextSearchStringLabel));
    SetItemText(IDC_SEARCH_KEYBOARD, texts.LoadText(lex::kTextOriginalKeyboard));
    SetItemText(IDC_SEARCH_PART_LABEL, texts.LoadText(lex::kTextSearchPartGroup));
    SetItemText(IDC_SEARCH_HEADWORDS, texts.LoadText(lex::kTextSearchInOriginal));
    SetItemText(IDC_SEARCH_TRANSLATIONS, texts.LoadText(lex::kTextSearchInTranslations));
    SetItemText(IDC_SEARCH_STATUS, "");
    SetItemText(IDOK, texts.LoadText(lex::kTextOk));
    SetItemText(IDCANCEL, texts.LoadText(lex::kTextCancel));
    text_.LimitText(kSearchTextLimit);
    for (int slot = 0; slot < lex::kSlotCount; ++slot) slots_.AddString(program_.Config.DictionaryTitles[slot]);

    // At the top right corner of the main window, size unchanged.
    if (HWND frame = Parent() ? Parent()->Handle() : nullptr) {
        RECT f, d;
        ::GetWindowRect(frame, &f);
        ::GetWindowRect(Handle(), &d);
        ::SetWindowPos(Handle(), nullptr, f.right - (d.right - d.left), f.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const int slot = resume_ && lex::IsValidSlot(state.Slot) ? state.Slot : program_.CurrentSlot();
    slots_.SetSelIndex(slot);
    ShowSlotFont(slot);
    if (!resume_) {
        ::CheckDlgButton(Handle(), IDC_SEARCH_HEADWORDS, BST_CHECKED);
        program_.Keyboards->SelectSlotKeyboard(program_.CurrentSlot(), 0, false);
        return;
    }
    ::CheckDlgButton(Handle(), IDC_SEARCH_HEADWORDS, state.InHeadwords ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_SEARCH_TRANSLATIONS, state.InTranslations ? BST_CHECKED : BST_UNCHECKED);
    // The string as the side it was searched in holds it.
    if (state.InHeadwords)
        wl::SetText(text_.Handle(), state.Text, program_.SlotCodePage(slot, 0));
    else
        wl::SetText(text_.Handle(), state.TranslationText, program_.SlotCodePage(slot, 1));
    program_.Keyboards->SelectSlotKeyboard(program_.CurrentSlot(), 0, false);
    job_.SetContinue(true);
    StartJob(job_);
}

void TNajdiWindow::ShowSlotFont(int slot) {
    if (!lex::IsValidSlot(slot)) return;
    // The typed text stays; only how it is shown changes.
    text_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[0][slot]), TRUE);
}

void TNajdiWindow::CmStartSearch() {
    if (JobRunning()) {
        // The search stops at once (its files closed, also when a question
        // is open) and stays stopped.
        job_.Cancel();
        CancelJob();
        Warn(lex::kTextWarningCaption, lex::kTextSearchRunning);
        return;
    }
    SetItemText(IDC_SEARCH_STATUS, "");
    const int slot = slots_.GetSelIndex();
    const bool headwords = ::IsDlgButtonChecked(Handle(), IDC_SEARCH_HEADWORDS) == BST_CHECKED;
    const bool translations = ::IsDlgButtonChecked(Handle(), IDC_SEARCH_TRANSLATIONS) == BST_CHECKED;
    if (!lex::IsValidSlot(slot) || (!headwords && !translations)) {
        Warn(lex::kTextWarningCaption, lex::kTextChooseSearchDirection);
        return;
    }
    // The typed string goes to each side in that side's code page: the
    // headwords in the slot's own, the translations in that of their
    // language (the counterpart slot's).
    auto form = [&](int side) {
        std::string text = wl::GetText(text_.Handle(), program_.SlotCodePage(slot, side));
        if (text.size() > static_cast<size_t>(kSearchTextLimit)) text.resize(kSearchTextLimit);
        return text;
    };
    std::string text = form(0);
    if (text.empty()) {
        Warn(lex::kTextWarningCaption, lex::kTextEmptySearchString);
        return;
    }
    TextSearchState& state = program_.Search;
    state.Text = text;
    state.TranslationText = form(1);
    state.Slot = slot;
    state.InHeadwords = headwords;
    state.InTranslations = translations;
    job_.SetContinue(false);
    StartJob(job_);
}

bool TNajdiWindow::OnHit(const SearchHit& hit) {
    // The entry is shown in the main window, then the question.
    client_.GoTo(program_.Search.Slot, hit.Headword);
    return AskYesNo(program_, this, lex::kTextMatchFound, lex::kTextLocateMoreQuestion);
}

void TNajdiWindow::JobEnded(lex::Stepper& job) {
    const int code = job.Result().code;
    switch (job.State()) {
    case lex::JobState::Done:
        if (code == TextSearchJob::kSearchFinished) {
            Warn(lex::kTextSearchStatusCaption, lex::kTextSearchFinished);
        } else {
            SetItemText(IDC_SEARCH_STATUS, "");
        }
        CloseWindow(IDCANCEL);
        break;
    case lex::JobState::Failed:
        Warn(lex::kTextVocabularyErrorCaption, code == TextSearchJob::kSearchCannotOpen
                                                   ? lex::kTextDataFilesInaccessible
                                                   : lex::kTextDataFilesCorrupted);
        break;
    default:
        break;
    }
}

void TNajdiWindow::CmKeyboardToggle() {
    keyboardSide_ = 1 - keyboardSide_;
    SetItemText(IDC_SEARCH_KEYBOARD, program_.Texts.LoadText(keyboardSide_ == 1 ? lex::kTextTranslationKeyboard
                                                                                : lex::kTextOriginalKeyboard));
    SelectSideKeyboard();
}

void TNajdiWindow::SelectSideKeyboard() {
    // The keyboard of the side the string is typed for, in the slot it is
    // searched in.
    const int slot = slots_.GetSelIndex();
    program_.Keyboards->SelectSlotKeyboard(lex::IsValidSlot(slot) ? slot : program_.CurrentSlot(), keyboardSide_,
                                           false);
}

void TNajdiWindow::EvSlotChange(UINT code) {
    if (code != CBN_SELCHANGE) return;
    ShowSlotFont(slots_.GetSelIndex());
    SelectSideKeyboard();
}

void TNajdiWindow::EvSearchText(UINT code) {
    if (code != EN_CHANGE || !program_.Engine || !program_.Engine->ReversedEntry) return;
    // Right-to-left typing: the caret stays before the typed character.
    int start = 0, end = 0;
    text_.GetSelection(start, end);
    if (start > 0) text_.SetSelection(start - 1, end - 1);
}

}  // namespace lexora
