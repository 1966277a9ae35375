#include "lexora_frame.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "core/engine/collation.h"
#include "lexora_ids.h"
#include "lexora/menu_names.h"
#include "lexora/toolbar_bitmaps.h"
#include "clipboard.h"
#include "history.h"
#include "messages.h"
#include "word_commands.h"
#include "core/dialogs/keyboard_dialog.h"
#include "search_dialog.h"
#include "translator_dialogs.h"
#include "verb_dialogs.h"
#include "lexora/rules/verb_table.h"
#include "winlib/exception_barrier.h"
#include "winlib/program_starter.h"
#include "winlib/text.h"

namespace lexora {

namespace {

constexpr UINT_PTR kWatchTimer = 0;
constexpr UINT kWatchPeriod = 1400;

// "folder\program" with quotes, so that folders with spaces work.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& areas = *reinterpret_cast<std::vector<RECT>*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        areas.insert(areas.begin(), info.rcWork);
    } else {
        areas.push_back(info.rcWork);
    }
    return TRUE;
}

}  // namespace

std::vector<RECT> MonitorWorkAreas() {
    std::vector<RECT> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

lex::WindowRect VisibleFrameRect(const lex::WindowRect& saved, const std::vector<RECT>& workAreas) {
    // Enough of the title bar to take hold of the frame with the mouse.
    constexpr int kTitleHeight = 30, kGripWidth = 60, kGripHeight = 10;
    constexpr int kDefaultLeft = 10, kDefaultTop = 10, kLeastWidth = 300, kLeastHeight = 350;
    if (workAreas.empty()) return saved;
    auto clampedSum = [](long long a, long long b) {
        return static_cast<long>(std::clamp<long long>(a + b, INT_MIN, INT_MAX));
    };
    RECT title{saved.Left, saved.Top, clampedSum(saved.Left, saved.Width),
               clampedSum(saved.Top, std::min(saved.Height, kTitleHeight))};
    for (const RECT& area : workAreas) {
        RECT shown;
        if (::IntersectRect(&shown, &title, &area) && shown.right - shown.left >= kGripWidth &&
            shown.bottom - shown.top >= kGripHeight) {
            return saved;
        }
    }
    const RECT& area = workAreas.front();
    auto fit = [](int size, long room, int least) {
        return static_cast<int>(std::max<long>(least, std::min<long>(size, room)));
    };
    lex::WindowRect placed;
    placed.Left = area.left + kDefaultLeft;
    placed.Top = area.top + kDefaultTop;
    placed.Width = fit(saved.Width, area.right - area.left - 2 * kDefaultLeft, kLeastWidth);
    placed.Height = fit(saved.Height, area.bottom - area.top - 2 * kDefaultTop, kLeastHeight);
    return placed;
}

const wchar_t* MenuName(int uiLanguage) {
    if (uiLanguage < 0 || uiLanguage > 8) uiLanguage = 1;
    return kMenuNames[uiLanguage];
}

std::vector<ToolbarItem> ToolbarItems(const std::string& letters,
                                      const std::array<char, lex::kPairCount>& languageLetters) {
    struct Fixed { char letter; int bitmap; unsigned command; };
    static const Fixed table[] = {
        {'A', kBitmapHistory, CM_HISTORY},
        {'B', kBitmapIrregularVerbs, CM_IRREGULAR_VERBS},
        {'C', kBitmapCopy, CM_COPY},
        {'D', kBitmapPaste, CM_PASTE},
        {'E', kBitmapLocate, CM_LOCATE},
        {'F', kBitmapLocateNext, CM_LOCATE_NEXT},
        {'H', kBitmapOtherLanguages, CM_OTHER_LANGUAGES},
        {'I', kBitmapDirection, CM_DIRECTION},
        {'J', kBitmapTranslateBack, CM_TRANSLATE_BACK},
        {'K', kBitmapCorrectWord, CM_CORRECT_WORD},
        {'L', kBitmapNewEntry, CM_NEW_ENTRY},
        {'M', kBitmapDeleteEntry, CM_DELETE_ENTRY},
        {'N', kBitmapDeleteTranslation, CM_DELETE_TRANSLATION},
        {'O', kBitmapHelp, CM_HELP},
        {'P', kBitmapAbout, CM_ABOUT},
        {'Q', kBitmapClipboardLinkOn, CM_CLIPBOARD_LINK_ON},
        {'R', kBitmapClipboardLinkOff, CM_CLIPBOARD_LINK_OFF},
    };
    std::vector<ToolbarItem> items;
    const size_t n = std::min<size_t>(letters.size(), 99);
    for (size_t i = 0; i < n; ++i) {
        const char c = letters[i];
        if (c == 'X') {
            items.push_back({0, 0});
        } else if (c == 'G') {
            for (int pair = 0; pair < lex::kPairCount; ++pair) {
                const char l = languageLetters[pair];
                if (l < 'A' || l > 'Z') continue;
                unsigned command = pair == 0 ? CM_ENGLISH : pair == 1 ? CM_GERMAN : CM_LANGUAGE_3 - 2 + pair;
                items.push_back({LanguageBitmap(l), command});
            }
        } else {
            for (const Fixed& f : table) {
                if (f.letter == c) items.push_back({f.bitmap, f.command});
            }
        }
    }
    return items;
}

WL_BEGIN_MESSAGE_TABLE(TFOkno, wl::FrameWindow)
    WL_MESSAGE(WM_TIMER, EvTimer)
    WL_MESSAGE(WM_ACTIVATE, EvActivate)
    WL_COMMAND(IDCANCEL, CmNothing)
    WL_COMMAND(CM_HISTORY, CmHistory)
    WL_ENABLER(CM_HISTORY, CeHistory)
    WL_COMMAND(CM_IRREGULAR_VERBS, CmIrregularVerbs)
    WL_ENABLER(CM_IRREGULAR_VERBS, CeVerbs)
    WL_COMMAND(CM_TRANSLATOR, CmTranslator)
    WL_COMMAND(CM_UTILITY, CmUtility)
    WL_COMMAND(CM_END, CmEnd)
    WL_COMMAND(CM_UNDO, CmUndo)
    WL_ENABLER(CM_UNDO, CeUndo)
    WL_COMMAND(CM_REDO, CmRedo)
    WL_ENABLER(CM_REDO, CeRedo)
    WL_COMMAND(CM_COPY, CmCopy)
    WL_ENABLER(CM_COPY, CeCopy)
    WL_COMMAND(CM_PASTE, CmPaste)
    WL_ENABLER(CM_PASTE, CePaste)
    WL_COMMAND(CM_CLIPBOARD_LINK, CmClipboardLink)
    WL_COMMAND(CM_CLIPBOARD_LINK_ON, CmClipboardLinkOn)
    WL_ENABLER(CM_CLIPBOARD_LINK_ON, CeClipboardLinkOn)
    WL_COMMAND(CM_CLIPBOARD_LINK_OFF, CmClipboardLinkOff)
    WL_ENABLER(CM_CLIPBOARD_LINK_OFF, CeClipboardLinkOff)
    WL_COMMAND(CM_SAVE_POSITION, CmSavePosition)
    WL_COMMAND(CM_LOCATE, CmLocate)
    WL_COMMAND(CM_LOCATE_NEXT, CmLocateNext)
    WL_ENABLER(CM_LOCATE_NEXT, CeLocateNext)
    WL_COMMAND(CM_KEYBOARD_CONFIG, CmKeyboardConfig)
    WL_COMMAND(CM_SORTING_SETUP, CmSortingSetup)
    WL_ENABLER(CM_SORTING_SETUP, CeSortingSetup)
    WL_COMMAND_RANGE(CM_ENGLISH, CM_GERMAN, CmLanguage)
    WL_ENABLER_RANGE(CM_ENGLISH, CM_GERMAN, CeLanguage)
    WL_COMMAND_RANGE(CM_LANGUAGE_3, CM_LANGUAGE_10, CmLanguage)
    WL_ENABLER_RANGE(CM_LANGUAGE_3, CM_LANGUAGE_10, CeLanguage)
    WL_COMMAND(CM_OTHER_LANGUAGES, CmOtherLanguages)
    WL_ENABLER(CM_OTHER_LANGUAGES, CeOtherLanguages)
    WL_COMMAND(CM_DIRECTION, CmDirection)
    WL_ENABLER(CM_DIRECTION, CeDirection)
    WL_COMMAND(CM_TRANSLATE_BACK, CmTranslateBack)
    WL_ENABLER(CM_TRANSLATE_BACK, CeTranslateBack)
    WL_COMMAND(CM_CORRECT_WORD, CmCorrectWord)
    WL_ENABLER(CM_CORRECT_WORD, CeCorrectWord)
    WL_COMMAND(CM_NEW_ENTRY, CmNewEntry)
    WL_ENABLER(CM_NEW_ENTRY, CeNewEntry)
    WL_COMMAND(CM_DELETE_ENTRY, CmDeleteEntry)
    WL_ENABLER(CM_DELETE_ENTRY, CeDeleteEntry)
    WL_COMMAND(CM_DELETE_TRANSLATION, CmDeleteTranslation)
    WL_ENABLER(CM_DELETE_TRANSLATION, CeDeleteTranslation)
    WL_COMMAND(CM_DICTIONARY_CONFIG, CmDictionaryConfig)
    WL_COMMAND(CM_FONT_SETUP, CmFontSetup)
    WL_COMMAND(CM_HELP, CmHelp)
    WL_ENABLER(CM_HELP, CeHelp)
    WL_COMMAND(CM_ABOUT, CmAbout)
    WL_MESSAGE(WM_SIZE, EvSizeFrame)
    WL_MESSAGE(WM_ACTIVATEAPP, EvActivateApp)
WL_END_MESSAGE_TABLE()

TFOkno::TFOkno(Program& program, TDrawWindow& client)
    : wl::FrameWindow(" ", &client), program_(program), client_(client), toolbar_(this), status_(this) {
    client_.SetHost(this);
    program_.Dde.SetHost(this);
    program_.SetAfterDialog([this] {
        wl::CallGuarded(Handle(), WM_TIMER, [this] {
            ClipboardTick();
            return LRESULT(0);
        });
    });
    // After a command's dialog the keys go on where they went before it: the
    // frame's activation as the dialog closes puts them in the word box.
    program_.SetDialogFocus([this] { focusBeforeDialog_ = client_.FocusNow(); },
                            [this] { client_.FocusBox(focusBeforeDialog_); });
}

TFOkno::~TFOkno() {
    program_.Dde.Release();
    program_.Dde.SetHost(nullptr);
    program_.SetAfterDialog(nullptr);
    program_.SetDialogFocus(nullptr, nullptr);
    if (Handle()) KillTimer(kWatchTimer);
    if (barFont_) ::DeleteObject(barFont_);
}

bool TFOkno::CreateFrame() {
    // The control bar (10-point font) always, the status bar for UI language 1 only.
    HDC dc = ::GetDC(nullptr);
    int height = -MulDiv(10, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, dc);
    barFont_ = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    toolbar_.SetFont(barFont_);
    std::string letters = program_.Settings.ReadText(lex::Setting::ToolbarIcons);
    std::array<char, lex::kPairCount> languageLetters{};
    for (int pair = 0; pair < lex::kPairCount; ++pair) {
        languageLetters[pair] = program_.Settings.ReadLanguageLetter(pair);
    }
    for (const ToolbarItem& item : ToolbarItems(letters, languageLetters)) {
        if (item.Command == 0) {
            toolbar_.AddSeparator();
        } else {
            toolbar_.AddButton(item.Bitmap, item.Command, program_.Instance);
        }
    }
    if (program_.Config.UiLanguage == 1) Insert(status_, Bottom);
    Insert(toolbar_, Top);
    AssignMenu(MenuName(program_.Config.UiLanguage), program_.Instance);

    lex::WindowRect r = VisibleFrameRect(program_.Settings.ReadWindowRect(), MonitorWorkAreas());
    return Create(r.Left, r.Top, r.Width, r.Height, WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX);
}

void TFOkno::SetupWindow() {
    // The settings, in start-up order (folders, action log, languages, slots,
    // switches, history), then the client.
    lex::ProgramSettings& config = program_.Config;
    lex::LoadAtStart(
        program_.Settings, *program_.Files, [this](int id) { return std::string(program_.Texts.LoadText(id)); }, config);
    program_.SetClipboardLink(config.ConfigFlags.ClipboardWatchAtStart);
    program_.History.ResetHistory();
    if (program_.History.AllocHistory(config.Dictionary.HistorySize) != 1) {
        ::MessageBoxA(Handle(), "ERROR", "History alloc", MB_OK);
    }
    for (size_t j = 0; j < config.History.size(); ++j) {
        program_.History.SetEntry(static_cast<int>(j), config.History[j].Text, config.History[j].Slot);
    }
    wl::FrameWindow::SetupWindow();
    program_.StartKeyboardCoupling();
    SetTimer(kWatchTimer, kWatchPeriod);
}

void TFOkno::SetCaption(const std::string& text) { wl::SetText(Handle(), text, program_.UiCodePage()); }

void TFOkno::RunCommand(unsigned id) { ::SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// --- Closing and restart -------------------------------------------------------

void TFOkno::WriteClosingState() {
    std::vector<lex::HistoryEntry> entries;
    for (int j = 0; j < program_.History.Size(); ++j) {
        entries.push_back({program_.History.Text(j), program_.History.Slot(j)});
    }
    program_.Settings.WriteHistory(entries, program_.History.Size());
    program_.Settings.WriteInt(lex::Setting::CurrentSlot, program_.CurrentSlot());
    program_.StopKeyboardCoupling();
    // The DDE service goes with the frame (and before a new copy starts).
    program_.Dde.Release();
}

bool TFOkno::CanClose() {
    program_.Settings.WriteInt(lex::Setting::KeyboardCoupling, program_.Config.KeyboardCouplingSetting);
    if (restartPending_) return true;  // the closing writes are done already
    if (program_.Config.ConfigFlags.ConfirmExit) {
        DialogOpenScope scope(program_, false);
        if (!AskYesNo(program_, this, lex::kTextQuitCaption, lex::kTextQuitQuestion)) return false;
    }
    WriteClosingState();
    return true;
}

bool TFOkno::Restart() {
    program_.Settings.WriteInt(lex::Setting::KeyboardCoupling, program_.Config.KeyboardCouplingSetting);
    WriteClosingState();
    const UINT result = wl::Starter().Start(Quoted(program_.Config.ProgramFolder + "lexora.exe"), SW_SHOW);
    if (!wl::StartSucceeded(result)) {
        ::MessageBoxA(Handle(), "Nelze", "e", MB_OK);
        program_.Dde.Register();          // this copy goes on serving
        program_.StartKeyboardCoupling();  // and coupling the keyboards
        return false;
    }
    restartPending_ = true;
    Post(WM_CLOSE);
    return true;
}

// --- Frame messages ---------------------------------------------------------------

LRESULT TFOkno::EvTimer(WPARAM wp, LPARAM) {
    if (wp == kWatchTimer) ClipboardTick();
    return 0;
}

bool TFOkno::DialogShowing() const { return program_.DialogOpen() || !::IsWindowEnabled(Handle()); }

void TFOkno::BringForward() {
    HWND frame = Handle();
    ::ShowWindow(frame, SW_SHOWNORMAL);
    ::SetForegroundWindow(frame);
    ::SetActiveWindow(frame);
    for (HWND after : {HWND_TOP, HWND_TOPMOST, HWND_NOTOPMOST, HWND_TOP}) {
        ::SetWindowPos(frame, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    }
    ::SetForegroundWindow(frame);
    ::SetActiveWindow(frame);
}

void TFOkno::ClipboardTick() {
    if (DialogShowing()) return;
    program_.Keyboards->SelectSlotKeyboard(program_.CurrentSlot(), lex::kOriginalField, false);
    if (!program_.ClipboardLink() || !clipboardReady_ || !client_.WordBoxControl()) return;
    clipboardReady_ = false;
    // Another program may hold the clipboard open: try again next tick.
    if (::OpenClipboard(Handle())) {
        ::CloseClipboard();
        if (program_.TakeClipboardText(ReadClipboardText())) {
            BringForward();
            CmPaste();
        }
    }
    clipboardReady_ = true;
}

// --- DDE ------------------------------------------------------------------------------

// Also before the lookup window has its controls.
bool TFOkno::PokesRefused() { return DialogShowing() || !client_.WordBoxControl(); }

void TFOkno::TranslateClipboardWord(int slot) {
    BringForward();
    client_.GoTo(slot, " ");
    CmPaste();
}

LRESULT TFOkno::EvActivate(WPARAM wp, LPARAM) {
    // The system's handling gives the focus to the frame itself: the word box
    // takes it after that, and only when the frame comes to the front.
    LRESULT result = DefaultProcessing();
    if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) client_.FocusWordBoxOnActivation();
    return result;
}

LRESULT TFOkno::EvSizeFrame(WPARAM wp, LPARAM lp) {
    LRESULT result = wl::FrameWindow::EvSize(wp, lp);
    if (wp == SIZE_MINIMIZED || ::IsIconic(Handle())) return result;
    if (client_.Handle()) client_.EnsureLayout();
    RECT r;
    ::GetWindowRect(Handle(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width < 300 || height < 350) {
        ::SetWindowPos(Handle(), nullptr, 0, 0, width < 300 ? 310 : width, height < 350 ? 360 : height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}

// --- Commands -----------------------------------------------------------------------

void TFOkno::SetEnablerText(wl::CommandEnabler& ce, int textId) {
    ce.SetText(program_.Texts.LoadText(textId));
}

void TFOkno::CmHistory() {
    {
        DialogOpenScope scope(program_);
        int slot = 0;
        std::string word;
        if (RunHistoryDialog(program_, this, slot, word)) client_.GoTo(slot, word);
    }
    client_.RestoreFocus();
}

void TFOkno::CeHistory(wl::CommandEnabler& ce) { SetEnablerText(ce, lex::kTextMenuHistory); }

void TFOkno::CeVerbs(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuIrregularVerbs);
    ce.Enable(program_.CurrentSlot() >= 0 && program_.CurrentSlot() <= 3);
}

void TFOkno::CmIrregularVerbs() {
    const int slot = program_.CurrentSlot();
    const bool german = slot == 2 || slot == 3;
    if (!german && slot != 0 && slot != 1) return;
    {
        DialogOpenScope scope(program_);
        std::unique_ptr<VerbTableDialog> dialog;
        if (german) {
            dialog = std::make_unique<TSlovesaNemcina>(this, program_);
        } else {
            dialog = std::make_unique<TSlovesa>(this, program_);
        }
        if (dialog->Execute() == IDOK) client_.GoTo(german ? 2 : 0, VerbLookupWord(dialog->ChosenVerb(), german));
    }
}


void TFOkno::CmUtility() {
    const UINT result = wl::Starter().Start(Quoted(program_.Config.ProgramFolder + "LEXBULK.exe") + " start", SW_SHOW);
    if (!wl::StartSucceeded(result)) {
        DialogOpenScope scope(program_);
        ShowOk(program_, this, lex::kTextErrorCaption, lex::kTextCannotRunLexbulk);
    }
}

void TFOkno::CmEnd() { Post(WM_CLOSE); }

void TFOkno::CmUndo() {
    if (lex::UndoLastAction(*program_.Engine) == 1) client_.RefreshView();
}

void TFOkno::CmRedo() {
    if (lex::RedoAction(*program_.Engine) == 1) client_.RefreshView();
}

void TFOkno::CeUndo(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuUndo);
    ce.Enable(lex::CanUndo(*program_.Engine) == 1);
}

void TFOkno::CeRedo(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuRedo);
    ce.Enable(lex::CanRedo(*program_.Engine) == 1);
}

void TFOkno::NoteFocus() {
    HWND focus = ::GetFocus();
    WordBox* word = client_.WordBoxControl();
    TranslationBox* translation = client_.TranslationControl();
    wordSelection_ = translationSelection_ = false;
    client_.NoteFocus(focus);
    if (word) {
        DWORD sel = static_cast<DWORD>(word->Send(CB_GETEDITSEL, 0, 0));
        wordSelection_ = LOWORD(sel) != HIWORD(sel);
    }
    if (translation) {
        DWORD start = 0, end = 0;
        translation->Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        translationSelection_ = start != end;
    }
}

void TFOkno::CmCopy() {
    DialogOpenScope scope(program_, false);
    NoteFocus();
    std::wstring text;
    int side = -1;
    if (client_.TranslationFocused() && translationSelection_) {
        text = SelectedWide(client_.TranslationControl()->Handle(), false);
        side = 1;
    } else if (client_.WordBoxFocused() && wordSelection_) {
        text = SelectedWide(client_.WordBoxControl()->Handle(), true);
        side = 0;
    }
    if (side < 0 || text.empty()) return;
    // A copy that did not reach the clipboard must not hold back the next text.
    const bool copied = PutClipboardText(Handle(), text, program_.SlotCodePage(program_.CurrentSlot(), side));
    program_.NoteOwnCopy(copied, ::GetClipboardSequenceNumber());
}

void TFOkno::CeCopy(wl::CommandEnabler& ce) {
    NoteFocus();
    ce.Enable((client_.WordBoxFocused() && wordSelection_) || (client_.TranslationFocused() && translationSelection_));
}

std::string TFOkno::ReadClipboardText() {
    return ClipboardText(Handle(), program_.SlotCodePage(program_.CurrentSlot(), 0), kClipboardTextLength);
}

void TFOkno::CmPaste() {
    if (!::IsClipboardFormatAvailable(CF_TEXT) && !::IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
    client_.PasteWord(ReadClipboardText());
}

void TFOkno::CePaste(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuPaste);
    ce.Enable(::IsClipboardFormatAvailable(CF_TEXT) || ::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

void TFOkno::CmClipboardLink() {
    if (program_.ClipboardLink()) CmClipboardLinkOff();
    else CmClipboardLinkOn();
}
void TFOkno::CmClipboardLinkOn() {
    program_.SetClipboardLink(true, ::GetClipboardSequenceNumber(), [this] { return ReadClipboardText(); });
}
void TFOkno::CmClipboardLinkOff() { program_.SetClipboardLink(false); }
void TFOkno::CeClipboardLinkOn(wl::CommandEnabler& ce) { ce.Enable(!program_.ClipboardLink()); }
void TFOkno::CeClipboardLinkOff(wl::CommandEnabler& ce) { ce.Enable(program_.ClipboardLink()); }

void TFOkno::CmSavePosition() {
    RECT r;
    ::GetWindowRect(Handle(), &r);
    lex::WindowRect rect;
    rect.Left = r.left;
    rect.Top = r.top;
    rect.Width = r.right - r.left;
    rect.Height = r.bottom - r.top;
    program_.Settings.WriteWindowRect(rect);
}

void TFOkno::CeLocateNext(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuLocateNext);
    ce.Enable(program_.Search.Continuable);
}

void TFOkno::CmTranslator() {
    int slot = program_.CurrentSlot();
    {
        DialogOpenScope scope(program_);
        TSelectDialog select(this, program_);
        if (select.Execute() == IDOK) {
            TTrnDialog translator(this, program_);
            translator.Execute();
            if (translator.LastSlot() >= 0) slot = translator.LastSlot();
        }
    }
    client_.GoTo(slot, program_.CurrentWord());
}

void TFOkno::Locate(bool resume) {
    DialogOpenScope scope(program_);
    TNajdiWindow search(this, program_, client_, resume);
    search.Execute();
}

void TFOkno::CmLocate() { Locate(false); }
void TFOkno::CmLocateNext() { Locate(true); }

void TFOkno::CeSortingSetup(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuSortingSetup);
}

void TFOkno::Language(int pair) { client_.GoTo(2 * pair + program_.CurrentSlot() % 2, program_.CurrentWord()); }

// Pairs 0 and 1 have commands of their own, pairs 2..9 are CM_LANGUAGE_3 .. CM_LANGUAGE_10.
int TFOkno::LanguagePair(UINT command) {
    return command == CM_ENGLISH ? 0 : command == CM_GERMAN ? 1 : static_cast<int>(command) - (CM_LANGUAGE_3 - 2);
}

void TFOkno::CmLanguage(UINT id) { Language(LanguagePair(id)); }

void TFOkno::CeLanguage(wl::CommandEnabler& ce) {
    static const int texts[] = {lex::kTextLanguageEnglish, lex::kTextLanguageGerman,  lex::kTextLanguageRussian,
                                lex::kTextLanguageFrench,  lex::kTextLanguageSpanish, lex::kTextLanguageItalian};
    const int pair = LanguagePair(ce.Id());
    if (pair < 6) SetEnablerText(ce, texts[pair]);
    ce.Enable(program_.CurrentSlot() / 2 != pair);
}

void TFOkno::CeOtherLanguages(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuOtherLanguages);
}

void TFOkno::CmDirection() { client_.GoTo(lex::CounterpartSlot(program_.CurrentSlot()), program_.CurrentWord()); }

void TFOkno::CeDirection(wl::CommandEnabler& ce) { SetEnablerText(ce, lex::kTextMenuDirection); }

namespace {

// The line of the translation box that holds the caret (at most kCaretLineLength characters).
std::string CaretLine(TranslationBox& box) {
    int line = static_cast<int>(box.Send(EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
    std::string text = box.GetLine(line);
    if (text.size() > kCaretLineLength) text.resize(kCaretLineLength);
    return text;
}

}  // namespace

void TFOkno::CmTranslateBack() {
    // The key or the button can come before any update of the commands has
    // seen a selection made just before it: what the item would show now
    // decides (a selection ends the way back, the separator line does nothing).
    wl::CommandEnabler ce(CM_TRANSLATE_BACK, CodePage());
    CeTranslateBack(ce);
    if (!ce.Enabled()) return;
    if (translateBackSet_) {
        translateBackSet_ = false;
        client_.GoTo(translateBackSlot_, translateBackWord_);
        return;
    }
    TranslationBox* box = client_.TranslationControl();
    if (!box) return;
    std::string selected = box->GetSelectedText();
    if (selected.empty() || selected == lex::kSeparatorLine) return;
    translateBackSlot_ = program_.CurrentSlot();
    translateBackWord_ = program_.CurrentWord();
    if (translateBackWord_.size() > kTranslateBackWordLength) translateBackWord_.resize(kTranslateBackWordLength);
    translateBackSet_ = true;
    if (selected.size() > lex::kCurrentWordLength) selected.resize(lex::kCurrentWordLength);
    client_.GoTo(lex::CounterpartSlot(program_.CurrentSlot()), selected);
    ::SetFocus(client_.WordBoxControl()->Handle());
}

void TFOkno::CeTranslateBack(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuTranslateBack);
    TranslationBox* box = client_.TranslationControl();
    int start = 0, end = 0;
    if (box) box->GetSelection(start, end);
    if (box && start != end) {
        translateBackSet_ = false;
        ce.Enable(CaretLine(*box) != lex::kSeparatorLine);
    } else {
        ce.Enable(translateBackSet_);
    }
}

void TFOkno::CeCorrectWord(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuCorrectWord);
    ce.Enable(SelectedListLine(client_) >= 0);
}

void TFOkno::CeNewEntry(wl::CommandEnabler& ce) { SetEnablerText(ce, lex::kTextMenuNewEntry); }

void TFOkno::CeDeleteEntry(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuDeleteEntry);
    ce.Enable(SelectedListLine(client_) >= 0);
}

void TFOkno::CeDeleteTranslation(wl::CommandEnabler& ce) {
    SetEnablerText(ce, lex::kTextMenuDeleteTranslation);
    ce.Enable(CanDeleteTranslation());
}

// --- Word dialogs ---------------------------------------------------------------------

bool TFOkno::CanDeleteTranslation() {
    TranslationBox* box = client_.TranslationControl();
    if (!box) return false;
    int start = 0, end = 0;
    box->GetSelection(start, end);
    return start != end && CaretLine(*box) != lex::kSeparatorLine;
}

void TFOkno::WordDialogEnded(INT_PTR result, const std::string& newWord) {
    // The next word's dialog opens on the emptied word box.
    if (result == IDOK || result == lex::kNextWordResult) client_.LookUpWord(newWord);
}

void TFOkno::CmNewEntry() {
    INT_PTR result = lex::kNextWordResult;
    {
        DialogOpenScope scope(program_);
        while (result == lex::kNextWordResult) {
            lex::TAddWordDialog dialog(this, WordDialogServicesOf(program_), CaptureView(program_, client_));
            result = dialog.Execute();
            WordDialogEnded(result, dialog.NewWord());
        }
    }
    client_.RestoreFocus();
}

void TFOkno::CmCorrectWord() {
    if (SelectedListLine(client_) < 0) return;
    {
        DialogOpenScope scope(program_);
        lex::TChangeWordDialog dialog(this, WordDialogServicesOf(program_), CaptureView(program_, client_));
        WordDialogEnded(dialog.Execute(), dialog.NewWord());
    }
    client_.RestoreFocus();
}

void TFOkno::CmDeleteEntry() {
    if (SelectedListLine(client_) < 0) return;
    {
        DialogOpenScope scope(program_);
        lex::TDeleteWordDialog dialog(this, WordDialogServicesOf(program_), CaptureView(program_, client_));
        if (dialog.Execute() == IDOK) client_.EvWordEditChange();
    }
    client_.RestoreFocus();
}

void TFOkno::CmDeleteTranslation() {
    if (!CanDeleteTranslation()) return;
    {
        DialogOpenScope scope(program_);
        lex::TDeleteTranslationDialog dialog(this, WordDialogServicesOf(program_), CaptureView(program_, client_));
        if (dialog.Execute() == IDOK) client_.EvWordEditChange();
    }
    client_.RestoreFocus();
}

// --- Keyboard coupling ----------------------------------------------------------------

void TFOkno::CmKeyboardConfig() {
    lex::KeyboardDialogServices s{program_.Settings, program_.Texts, program_.Coupling, *program_.Files, {}, {}, 1, {}};
    s.Titles = program_.Config.DictionaryTitles;
    s.ProgramFolder = program_.Config.ProgramFolder;
    s.UiLanguage = program_.Config.UiLanguage;
    s.Show = [](wl::Window* parent, const std::string& text, const std::string& caption) {
        ::MessageBoxW(parent ? parent->Handle() : nullptr, wl::ToWide(text, wl::Window::DefaultCodePage()).c_str(),
                      wl::ToWide(caption, wl::Window::DefaultCodePage()).c_str(), MB_OK);
    };
    {
        DialogOpenScope scope(program_);
        lex::TTastrixAll dialog(this, s, program_.CurrentSlot(), program_.Config.KeyboardCouplingSetting);
        if (dialog.Execute() == IDOK) program_.ApplyKeyboardCouplingSetting();
    }
    client_.RestoreFocus();
}

LRESULT TFOkno::EvActivateApp(WPARAM active, LPARAM) {
    program_.Coupling.SetDictionaryActive(active != 0);
    return DefaultProcessing();
}

void TFOkno::CmHelp() {
    std::string file = program_.Config.ProgramFolder + program_.Texts.LoadText(lex::kTextHelpFile);
    ::WinHelpA(Handle(), file.c_str(), HELP_CONTENTS, 0);
}

void TFOkno::CeHelp(wl::CommandEnabler& ce) { SetEnablerText(ce, lex::kTextMenuHelp); }

}  // namespace lexora
