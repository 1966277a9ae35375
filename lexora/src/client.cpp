#include "client.h"

#include <algorithm>
#include <climits>

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
    pronunciation_ = new wl::Static(this, IDC_PRONUNCIATION, L + 6, T + E + half + 2 - 20, W - 12, 30,
                                    child | SS_LEFT | SS_NOPREFIX);
    translation_ = new TranslationBox(this, IDC_TRANSLATION_BOX, L + 6, T + 2 * E + half + 2 + 15, W - 12, half,
                                      child | WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                          ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN);
    for (wl::Window* w : std::initializer_list<wl::Window*>{label1_, label2_, wordBox_, scroll_, pronunciation_,
                                                             translation_}) {
        static_cast<wl::Control*>(w)->Realize();
    }
    wordBox_->Send(CB_LIMITTEXT, 250, 0);
    RefreshView();
}

// --- Refresh and lookup --------------------------------------------------------

void TDrawWindow::RefreshView() {
    if (!wordBox_) return;
    const int slot = program_.CurrentSlot();
    program_.Keyboards->SelectSlotKeyboard(slot, lex::kOriginalField, false);
    translation_->SetCodePage(TranslationCodePage());
    pronunciation_->SetCodePage(program_.SlotCodePage(slot, 2));
    label1_->SetCodePage(program_.UiCodePage());
    label2_->SetCodePage(program_.UiCodePage());

    ClearRows();
    ClearTranslation();
    if (host_) host_->SetCaption("Lexora - " + program_.Config.DictionaryTitles[slot]);
    label1_->SetText(program_.Config.OriginalNames[slot]);
    label2_->SetText(program_.Config.TranslationNames[slot]);
    wordBox_->SetText(program_.CurrentWord());
    EvWordEditChange();
    RestoreFocus();
    translation_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[1][slot]), FALSE);
    wordBox_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[0][slot]), FALSE);
    pronunciation_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(program_.Fonts[2][slot]), FALSE);
    wordBox_->UpdateItemHeight();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TDrawWindow::ClearRows() {
    if (!wordBox_) return;
    // The list never holds more than the visible rows.
    for (int i = 0; i < kVisibleRows && wordBox_->GetCount() > 0; ++i) wordBox_->DeleteString(0);
}

void TDrawWindow::ShowRows(int count) {
    if (count < 0) {
        rows_.clear();
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
        return;
    }
    if (rows_.size() > static_cast<size_t>(count)) rows_.resize(count);
    for (size_t i = 0; i < rows_.size() && i < static_cast<size_t>(kVisibleRows); ++i) {
        wordBox_->AddString(rows_[i].Word);
    }
}

bool TDrawWindow::ScrollToWord(const std::string& word) {
    lex::KeyPosition place;
    if (lex::WordKeyPosition(*program_.Engine, program_.CurrentSlot(), word, place) != 1) return false;
    scrollMaximum_ = place.Records - 2;
    scroll_->SetRange(1, std::max(1, place.Records - 2));
    if (place.Position >= 0) scroll_->SetPosition(place.Position);
    return true;
}

void TDrawWindow::EvWordEditChange() {
    if (!wordBox_) return;
    std::string word = wordBox_->GetText();
    if (word.size() > 254) word.resize(254);
    program_.CurrentWord() = word;

    const int slot = program_.CurrentSlot();
    lex::EngineContext& ctx = *program_.Engine;
    if (!ScrollToWord(word)) {
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
        ClearTranslation();
        return;
    }

    DWORD selection = static_cast<DWORD>(wordBox_->Send(CB_GETEDITSEL, 0, 0));
    int start = LOWORD(selection), end = HIWORD(selection);
    ClearRows();
    listDirty_ = true;
    ShowRows(lex::LookupWord(ctx, word, rows_, slot));
    wordBox_->Send(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    if (ctx.ReversedEntry && start > 0) {
        wordBox_->Send(CB_SETEDITSEL, 0, MAKELPARAM(start - 1, end - 1));
    }
}

void TDrawWindow::PasteWord(const std::string& text) {
    wordBox_->SetText("");
    ClearRows();
    std::string word = text;
    lex::TrimWord(word);
    wordBox_->SetText(word);
    program_.CurrentWord() = wordBox_->GetText();
    if (program_.CurrentWord().size() > 254) program_.CurrentWord().resize(254);
    listDirty_ = true;
    ShowRows(lex::LookupWord(*program_.Engine, program_.CurrentWord(), rows_, program_.CurrentSlot()));
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

void TDrawWindow::EvWordSelChange() {
    lex::EngineContext& ctx = *program_.Engine;
    const int slot = program_.CurrentSlot();
    int line = static_cast<int>(wordBox_->Send(CB_GETCURSEL));
    const int rows = static_cast<int>(rows_.size());
    if (line >= rows) line = -1;  // a line the rows do not back
    if (line >= 0) {
        program_.CurrentWord() = rows_[line].Word;
        wordBox_->SetText(program_.CurrentWord());
    }
    ClearTranslation();
    if (line < 0) return;

    const lex::ResultRow row = rows_[line];
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared) != 1) {
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
        return;
    }
    if (lex::ReadNodeAt(ctx, row.Offset) != 1) {
        lex::CloseSlotFiles(ctx);
        return;
    }
    std::string pron = ctx.Node.Pronunciation;
    lex::TrimWord(pron);
    SetPronunciation(pron.empty() ? std::string() : "[" + pron + "]");
    lex::CloseSlotFiles(ctx);
    if (lex::ShowTranslations(ctx, row.Node.FirstTranslation, row.Node.Flags) == -1) {
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
        return;
    }
    program_.AddToHistory(program_.CurrentWord(), slot);
    if (!ScrollToWord(program_.CurrentWord()))
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);

    listDirty_ = true;
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared) != 1) {
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
        return;
    }
    if (line == 0) {
        if (SlideUp()) wordBox_->SetSelIndex(1);
    } else if (line == kVisibleRows - 1) {
        if (SlideDown()) wordBox_->SetSelIndex(kVisibleRows - 2);
    }
    lex::CloseSlotFiles(ctx);
}

bool TDrawWindow::NextLiveRow(int32_t from, int direction, lex::ResultRow& row) {
    lex::NodeWalk walk = lex::WalkFromNode(program_.CurrentSlot(), from, direction);
    std::vector<lex::WalkEntry> found;
    if (lex::StepNodeWalk(*program_.Engine, walk, INT_MAX, 1, found) < 0 || found.empty()) return false;
    row = std::move(found.front());
    return true;
}

bool TDrawWindow::SlideUp() {
    std::vector<lex::ResultRow>& rows = rows_;
    if (rows.empty()) return false;
    lex::ResultRow before;
    if (!NextLiveRow(rows[0].Node.Previous, -1, before)) return false;
    if (rows.size() >= static_cast<size_t>(kVisibleRows)) {
        wordBox_->DeleteString(kVisibleRows - 1);
        rows.resize(kVisibleRows - 1);
    }
    rows.insert(rows.begin(), before);
    wordBox_->InsertString(before.Word, 0);
    return true;
}

bool TDrawWindow::SlideDown() {
    std::vector<lex::ResultRow>& rows = rows_;
    // A list shorter than the window is at the end of the slot already.
    if (rows.size() < static_cast<size_t>(kVisibleRows)) return false;
    lex::ResultRow after;
    if (!NextLiveRow(rows[kVisibleRows - 1].Node.Next, 1, after)) return false;
    wordBox_->DeleteString(0);
    rows.erase(rows.begin());
    rows.push_back(after);
    wordBox_->InsertString(after.Word, kVisibleRows - 1);
    return true;
}

// --- Scrolling -------------------------------------------------------------------

LRESULT TDrawWindow::EvVScroll(WPARAM wp, LPARAM lp) {
    if (!scroll_ || reinterpret_cast<HWND>(lp) != scroll_->Handle()) return 0;
    const int code = LOWORD(wp);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(scroll_->Handle(), SB_CTL, &info);
    int pos = info.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= kVisibleRows; break;
    case SB_PAGEDOWN: pos += kVisibleRows; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    }
    pos = std::clamp(pos, info.nMin, std::max(info.nMin, info.nMax));
    if (pos != info.nPos) scroll_->SetPosition(pos);
    Scroll(code);
    return 0;
}

void TDrawWindow::Scroll(int code) {
    lex::EngineContext& ctx = *program_.Engine;
    const int slot = program_.CurrentSlot();
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared) != 1) {
        ClearTranslation();
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
        return;
    }
    if (code == SB_LINEUP) {
        listDirty_ = SlideUp() || listDirty_;
    } else if (code == SB_LINEDOWN) {
        listDirty_ = SlideDown() || listDirty_;
    }
    lex::CloseSlotFiles(ctx);
    if (lastScrollCode_ == SB_LINEUP || lastScrollCode_ == SB_LINEDOWN || code != SB_ENDSCROLL) {
        lastScrollCode_ = code;
        return;
    }
    // A page, thumb, top or bottom move has ended: fill the list from the key
    // record at the scroll bar's position.
    lastScrollCode_ = code;
    int32_t node = 0;
    const int found = lex::KeyRecordNode(ctx, slot, scroll_->GetPosition() - 1, node);
    if (found == -1) {
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
        return;
    }
    if (found != 1) {
        ShowMessage(lex::kTextVocabularyErrorCaption, lex::kTextDataFilesCorrupted);
        return;
    }
    ClearRows();
    listDirty_ = true;
    ShowRows(lex::FillRowsFromNode(ctx, node, rows_));
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

// --- The engine's display ----------------------------------------------------------

void TDrawWindow::ClearTranslation() {
    if (translation_) translation_->SetText("");
}

void TDrawWindow::AppendTranslation(const std::string& text) {
    if (!translation_) return;
    int length = static_cast<int>(translation_->Send(WM_GETTEXTLENGTH));
    translation_->Send(EM_SETSEL, length, length);
    std::wstring wide = wl::ToWide(text, TranslationCodePage());
    translation_->Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

void TDrawWindow::ScrollTranslationToTop() {
    if (!translation_) return;
    int lines = static_cast<int>(translation_->Send(EM_GETLINECOUNT));
    translation_->Send(EM_LINESCROLL, 0, -lines);
}

void TDrawWindow::SetPronunciation(const std::string& text) {
    if (pronunciation_) pronunciation_->SetText(text);
}

bool TDrawWindow::QualifyingKeyWaiting() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) return false;
    const bool extended = (static_cast<DWORD>(msg.lParam) & (1u << 24)) != 0;
    return lex::IsQualifyingKey(static_cast<unsigned>(msg.wParam), extended);
}

}  // namespace lexora
