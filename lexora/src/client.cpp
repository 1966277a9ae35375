#include "client.h"

#include <algorithm>

#include "core/engine/collation.h"
#include "lexora_ids.h"
#include "messages.h"
#include "winlib/text.h"

namespace lexora {

namespace {

constexpr int kLabelHeight = 20;

}  // namespace

WL_BEGIN_MESSAGE_TABLE(TDrawWindow, wl::Dialog)
    WL_CONTROL(IDC_WORD_BOX, EvWordBox)
    WL_CONTROL(IDC_TRANSLATION_BOX, EvTranslationBox)
    WL_COMMAND(IDCANCEL, CmNothing)
    WL_MESSAGE(WM_VSCROLL, EvVScroll)
    WL_MESSAGE(WM_SIZE, EvSize)
    WL_MESSAGE(WM_CLOSE, EvClose)
    WL_MESSAGE(WM_COMMAND, EvCommandMessage)
WL_END_MESSAGE_TABLE()

TDrawWindow::TDrawWindow(wl::Window* parent, Program& program)
    : wl::Dialog(parent, IDD_CLIENT, program.Instance),
      program_(program),
      copyEdit_(this, IDC_COPY_EDIT) {}

TDrawWindow::~TDrawWindow() { DestroyChildren(); }

void TDrawWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    copyEdit_.LimitText(300);
    noneYet_ = true;
    if (HWND frame = ::GetParent(Handle())) {
        HICON icon = ::LoadIconW(program_.Instance, MAKEINTRESOURCEW(IDI_LEXORA));
        ::SendMessageW(frame, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ::SendMessageW(frame, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    wordBoxFocused_ = true;
    translationFocused_ = false;
    // Other programs ask for lookups through DDE from now on.
    program_.Dde.Register();
}

lex::LookupSession& TDrawWindow::Session() {
    if (!session_) {
        session_ = std::make_unique<lex::LookupSession>(*program_.Engine, program_.Config.Dictionary,
                                                        [this] { return QualifyingKeyWaiting(); });
    }
    return *session_;
}

UINT TDrawWindow::OriginalCodePage() const { return program_.SlotCodePage(program_.CurrentSlot(), 0); }
UINT TDrawWindow::TranslationCodePage() const { return program_.SlotCodePage(program_.CurrentSlot(), 1); }

void TDrawWindow::ShowMessage(int captionId, int textId) {
    ShowOk(program_, this, captionId, textId);
}

// --- Layout ------------------------------------------------------------------

LRESULT TDrawWindow::EvSize(WPARAM wp, LPARAM) {
    if (wp != SIZE_MINIMIZED) Layout();
    return 0;
}

LRESULT TDrawWindow::EvClose(WPARAM, LPARAM) { return 0; }  // the client does not close by itself

void TDrawWindow::DestroyChildren() {
    // The word box takes its scroll bar with it.
    auto drop = [](auto*& child) {
        if (child) {
            child->Destroy();
            delete child;
            child = nullptr;
        }
    };
    drop(label1_);
    drop(label2_);
    drop(wordBox_);
    scroll_ = nullptr;
    drop(pronunciation_);
    drop(translation_);
}

void TDrawWindow::Layout() {
    if (firstLayout_) {
        firstLayout_ = false;
        return;
    }
    RECT rc;
    ::GetClientRect(Handle(), &rc);
    const int L = rc.left, T = rc.top;
    const int W = std::max<int>(rc.right - rc.left, 100);
    const int H = std::max<int>(rc.bottom - rc.top, 100);
    const int E = kLabelHeight;
    const int half = (H - 2 * E) / 2;

    if (noneYet_) {
        noneYet_ = false;
    } else {
        DestroyChildren();
    }
    const DWORD child = WS_CHILD | WS_VISIBLE;
    label1_ = new wl::Static(this, -1, L + 5, T + 2, 300, E, child | SS_LEFT);
    label2_ = new wl::Static(this, -1, L + 5, T + E + half + 2 + 15, 300, E, child | SS_LEFT);
    wordBox_ = new WordBox(this, IDC_WORD_BOX, program_.Config.Dictionary, program_.Look(), L + 5, T + E + 2,
                           W - 30, half - 25,
                           child | WS_TABSTOP | CBS_SIMPLE | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS |
                               CBS_NOINTEGRALHEIGHT | CBS_AUTOHSCROLL);
    // The scroll bar lives and dies with the word box.
    auto scroll = std::make_unique<wl::ScrollBar>(this, IDC_SCROLL, L + W - 25, T + E + 2, 20, half - 25,
                                                  child | SBS_VERT);
    scroll_ = scroll.get();
    wordBox_->AdoptCompanion(std::move(scroll));
    Session().NewScrollBar();
    pronunciation_ = new wl::Static(this, IDC_PRONUNCIATION, L + 6, T + E + half + 2 - 20, W - 12, 30,
                                    child | SS_LEFT | SS_NOPREFIX);
    translation_ = new TranslationBox(this, IDC_TRANSLATION_BOX, L + 6, T + 2 * E + half + 2 + 15, W - 12, half,
                                      child | WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                          ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN);
    for (wl::Window* w : std::initializer_list<wl::Window*>{label1_, label2_, wordBox_, scroll_, pronunciation_,
                                                             translation_}) {
        static_cast<wl::Control*>(w)->Realize();
    }
    wordBox_->Send(CB_LIMITTEXT, kWordBoxTextLimit, 0);
    RefreshView();
}

// --- Refresh and lookup --------------------------------------------------------

void TDrawWindow::GoTo(int slot, const std::string& word) {
    lex::LookupSession& session = Session();
    if (!wordBox_) {  // before the first layout, which shows it
        session.GoTo(slot, word);
        return;
    }
    const lex::LookupView view = session.GoTo(slot, word);
    const int current = session.Slot();
    program_.Keyboards->SelectSlotKeyboard(current, lex::kOriginalField, false);
    // Every text below is drawn in the code page of its side of the new slot.
    wordBox_->SetCodePage(OriginalCodePage());
    translation_->SetCodePage(TranslationCodePage());
    pronunciation_->SetCodePage(program_.SlotCodePage(current, 2));
    label1_->SetCodePage(program_.UiCodePage());
    label2_->SetCodePage(program_.UiCodePage());

    ClearRows();
    ClearTranslation();
    if (host_) host_->SetCaption("Lexora - " + program_.Config.DictionaryTitles[current]);
    label1_->SetText(program_.Config.OriginalNames[current]);
    label2_->SetText(program_.Config.TranslationNames[current]);
    Show(view);
    if (view.LookedUp && program_.Engine->ReversedEntry) {
        DWORD selection = static_cast<DWORD>(wordBox_->Send(CB_GETEDITSEL, 0, 0));
        const int start = LOWORD(selection), end = HIWORD(selection);
        if (start > 0) wordBox_->Send(CB_SETEDITSEL, 0, MAKELPARAM(start - 1, end - 1));
    }
    RestoreFocus();
    translation_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[1][current]), FALSE);
    wordBox_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[0][current]), FALSE);
    pronunciation_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[2][current]), FALSE);
    wordBox_->UpdateItemHeight();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TDrawWindow::RefreshView() {
    lex::LookupSession& session = Session();
    GoTo(session.Slot(), session.Word());
}

void TDrawWindow::ClearRows() {
    if (!wordBox_) return;
    // The list never holds more than the visible rows.
    for (int i = 0; i < kVisibleRows && wordBox_->GetCount() > 0; ++i) wordBox_->DeleteString(0);
}

void TDrawWindow::ClearTranslation() {
    if (translation_) translation_->SetText("");
}

void TDrawWindow::ShowWord(const std::string& word) {
    wordBox_->SetCodePage(OriginalCodePage());
    wordBox_->SetText(word);
}

void TDrawWindow::Show(const lex::LookupView& view) {
    if (view.Word) ShowWord(*view.Word);
    const std::vector<lex::ResultRow>& rows = Session().Rows();
    switch (view.List) {
    case lex::ListChange::None:
        break;
    case lex::ListChange::Refilled:
        ClearRows();
        for (const lex::ResultRow& row : rows) wordBox_->AddString(row.Word);
        break;
    case lex::ListChange::EntryAtTop:
        // A full list gives up its last line.
        if (wordBox_->GetCount() >= static_cast<int>(rows.size())) wordBox_->DeleteString(wordBox_->GetCount() - 1);
        wordBox_->InsertString(rows.front().Word, 0);
        break;
    case lex::ListChange::EntryAtBottom:
        wordBox_->DeleteString(0);
        wordBox_->InsertString(rows.back().Word, static_cast<int>(rows.size()) - 1);
        break;
    }
    if (view.SelectLine >= 0) wordBox_->SetSelIndex(view.SelectLine);
    if (view.ClearTranslation) ClearTranslation();
    if (!view.Translation.Lines.empty()) {
        std::string text;
        for (const std::string& line : view.Translation.Lines) text += line + "\r\n";
        const int length = static_cast<int>(translation_->Send(WM_GETTEXTLENGTH));
        translation_->Send(EM_SETSEL, length, length);
        const std::wstring wide = wl::ToWide(text, TranslationCodePage());
        translation_->Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    if (view.Translation.ScrollToTop) {
        const int lines = static_cast<int>(translation_->Send(EM_GETLINECOUNT));
        translation_->Send(EM_LINESCROLL, 0, -lines);
    }
    if (view.Pronunciation) pronunciation_->SetText(*view.Pronunciation);
    if (view.ScrollBarChanged) {
        const lex::ScrollBarState& bar = Session().ScrollBar();
        scroll_->SetRange(bar.Min, bar.Max);
        scroll_->SetPosition(bar.Position);
    }
    for (lex::LookupFailure failure : view.Failures) {
        ShowMessage(lex::kTextVocabularyErrorCaption, failure == lex::LookupFailure::FilesInaccessible
                                                          ? lex::kTextDataFilesInaccessible
                                                          : lex::kTextDataFilesCorrupted);
    }
}

void TDrawWindow::LookUpText(const std::string& word) {
    if (!wordBox_) return;
    DWORD selection = static_cast<DWORD>(wordBox_->Send(CB_GETEDITSEL, 0, 0));
    int start = LOWORD(selection), end = HIWORD(selection);
    const lex::LookupView view = Session().LookUp(word);
    Show(view);
    // A failure before the lookup leaves the word box as it was.
    if (!view.LookedUp) return;
    wordBox_->Send(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    if (program_.Engine->ReversedEntry && start > 0) {
        wordBox_->Send(CB_SETEDITSEL, 0, MAKELPARAM(start - 1, end - 1));
    }
}

void TDrawWindow::EvWordEditChange() {
    if (wordBox_) LookUpText(wordBox_->GetText());
}

void TDrawWindow::LookUpWord(const std::string& word) {
    if (!wordBox_) return;
    ShowWord(word);
    LookUpText(word);
}

void TDrawWindow::PasteWord(const std::string& text) {
    wordBox_->SetText("");
    ClearRows();
    std::string word = text;
    lex::TrimWord(word);
    ShowWord(word);
    Show(Session().LookUpKeepingScrollBar(word));
}

// --- Selecting a line ----------------------------------------------------------

void TDrawWindow::EvWordBox(UINT code) {
    switch (code) {
    case CBN_EDITCHANGE:
        EvWordEditChange();
        break;
    case CBN_SELCHANGE:
        EvWordSelChange();
        break;
    case CBN_SETFOCUS:
        if (skipNextFocus_) {
            skipNextFocus_ = false;
        } else {
            wordBoxFocused_ = true;
            translationFocused_ = false;
        }
        break;
    case CBN_KILLFOCUS:
        wordBoxFocused_ = false;
        break;
    }
}

void TDrawWindow::EvTranslationBox(UINT code) {
    switch (code) {
    case EN_SETFOCUS:
        if (skipNextFocus_) {
            skipNextFocus_ = false;
        } else {
            translationFocused_ = true;
            wordBoxFocused_ = false;
        }
        break;
    case EN_KILLFOCUS:
        translationFocused_ = false;
        break;
    }
}

// --- Focus memory ----------------------------------------------------------------

void TDrawWindow::FocusWordBoxOnActivation() {
    if (Laid() && wordBox_) {
        skipNextFocus_ = true;
        ::SetFocus(wordBox_->Handle());
    }
    wordBoxFocused_ = true;
    translationFocused_ = false;
}

void TDrawWindow::NoteFocus(HWND focus) {
    if (wordBox_ && (focus == wordBox_->Handle() || ::GetParent(focus) == wordBox_->Handle())) {
        wordBoxFocused_ = true;
        translationFocused_ = false;
    } else if (translation_ && focus == translation_->Handle()) {
        translationFocused_ = true;
        wordBoxFocused_ = false;
    }
}

void TDrawWindow::RestoreFocus() {
    if (wordBoxFocused_ && wordBox_) {
        ::SetFocus(wordBox_->Handle());
    } else if (translationFocused_ && translation_) {
        ::SetFocus(translation_->Handle());
    }
}

TDrawWindow::FocusedBox TDrawWindow::FocusNow() const {
    HWND focus = ::GetFocus();
    if (!focus) return FocusedBox::None;
    if (wordBox_ && (focus == wordBox_->Handle() || ::GetParent(focus) == wordBox_->Handle())) return FocusedBox::Word;
    if (translation_ && focus == translation_->Handle()) return FocusedBox::Translation;
    return FocusedBox::None;
}

void TDrawWindow::FocusBox(FocusedBox box) {
    // Focusing the word box again would select its whole text.
    if (box == FocusedBox::None || box == FocusNow()) return;
    if (box == FocusedBox::Word && wordBox_) ::SetFocus(wordBox_->Handle());
    if (box == FocusedBox::Translation && translation_) ::SetFocus(translation_->Handle());
}

void TDrawWindow::EvWordSelChange() {
    Show(Session().Select(static_cast<int>(wordBox_->Send(CB_GETCURSEL))));
}

// --- Scrolling -------------------------------------------------------------------

LRESULT TDrawWindow::EvVScroll(WPARAM wp, LPARAM lp) {
    if (!scroll_ || reinterpret_cast<HWND>(lp) != scroll_->Handle()) return 0;
    lex::ScrollMove move = lex::ScrollMove::Other;
    switch (LOWORD(wp)) {
    case SB_LINEUP: move = lex::ScrollMove::LineUp; break;
    case SB_LINEDOWN: move = lex::ScrollMove::LineDown; break;
    case SB_PAGEUP: move = lex::ScrollMove::PageUp; break;
    case SB_PAGEDOWN: move = lex::ScrollMove::PageDown; break;
    case SB_THUMBPOSITION: move = lex::ScrollMove::ThumbPosition; break;
    case SB_THUMBTRACK: move = lex::ScrollMove::ThumbTrack; break;
    case SB_TOP: move = lex::ScrollMove::Top; break;
    case SB_BOTTOM: move = lex::ScrollMove::Bottom; break;
    case SB_ENDSCROLL: move = lex::ScrollMove::End; break;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    ::GetScrollInfo(scroll_->Handle(), SB_CTL, &info);
    Show(Session().Scroll(move, info.nTrackPos));
    return 0;
}

// --- Accelerator forwarding ---------------------------------------------------------

LRESULT TDrawWindow::EvCommandMessage(WPARAM wp, LPARAM lp) {
    const UINT id = LOWORD(wp);
    if (lp == 0 && HIWORD(wp) == 1 && host_) {
        switch (id) {
        case CM_CORRECT_WORD: case CM_TRANSLATE_BACK: case CM_IRREGULAR_VERBS: case CM_HISTORY:
        case CM_COPY: case CM_PASTE: case CM_DIRECTION: case CM_NEW_ENTRY: case CM_HELP:
        case CM_CLIPBOARD_LINK:
            host_->RunCommand(id);
            return 0;
        }
    }
    return DefaultProcessing();
}

// --- Key presses during a display ----------------------------------------------------

bool TDrawWindow::QualifyingKeyWaiting() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) return false;
    const bool extended = (static_cast<DWORD>(msg.lParam) & (1u << 24)) != 0;
    return lex::IsQualifyingKey(static_cast<unsigned>(msg.wParam), extended);
}

}  // namespace lexora
