// The parts of lexora that another process cannot read: the toolbar letters,
// the menus of the UI languages and the command enablers, in-process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "lexora/src/app.h"
#include "lexora/src/lexora_frame.h"
#include "frame_fixture.h"
#include "lexora/src/lexora_ids.h"
#include "lexora/toolbar_bitmaps.h"
#include "test_data.h"

using namespace lexora;
using namespace lexora_test;

namespace {

TEST(ToolbarItems, LettersGiveButtonsInOrder) {
    const std::array<char, lex::kPairCount> defaults{'A', 'N', 'R', 'F', 'S', 'I', 0, 0, 0, 0};
    std::array<char, lex::kPairCount> custom = defaults;
    custom[2] = 0;    // "1x": a digit gives no letter
    custom[3] = 'F';  // "f"
    custom[7] = 'Z';
    struct Case {
        std::string letters;
        std::array<char, lex::kPairCount> languages;
        std::vector<ToolbarItem> expected;
    };
    const Case cases[] = {
        {"", defaults, {}},
        {"XX", defaults, {{0, 0}, {0, 0}}},
        {"STUVWaqz", defaults, {}},  // no buttons for S..W, lower case and unknown letters
        {"ACD", defaults, {{kBitmapHistory, CM_HISTORY}, {kBitmapCopy, CM_COPY}, {kBitmapPaste, CM_PASTE}}},
        {"QRBEFHMNOP", defaults,
         {{kBitmapClipboardLinkOn, CM_CLIPBOARD_LINK_ON}, {kBitmapClipboardLinkOff, CM_CLIPBOARD_LINK_OFF},
          {kBitmapIrregularVerbs, CM_IRREGULAR_VERBS}, {kBitmapLocate, CM_LOCATE},
          {kBitmapLocateNext, CM_LOCATE_NEXT}, {kBitmapOtherLanguages, CM_OTHER_LANGUAGES},
          {kBitmapDeleteEntry, CM_DELETE_ENTRY}, {kBitmapDeleteTranslation, CM_DELETE_TRANSLATION},
          {kBitmapHelp, CM_HELP}, {kBitmapAbout, CM_ABOUT}}},
        {"IJKL", defaults,
         {{kBitmapDirection, CM_DIRECTION}, {kBitmapTranslateBack, CM_TRANSLATE_BACK},
          {kBitmapCorrectWord, CM_CORRECT_WORD}, {kBitmapNewEntry, CM_NEW_ENTRY}}},
        // Pair 0 is English, pair 1 German, pair p > 1 language button p + 1.
        {"G", custom,
         {{LanguageBitmap('A'), CM_ENGLISH}, {LanguageBitmap('N'), CM_GERMAN}, {LanguageBitmap('F'), CM_LANGUAGE_4},
          {LanguageBitmap('S'), CM_LANGUAGE_5}, {LanguageBitmap('I'), CM_LANGUAGE_6},
          {LanguageBitmap('Z'), CM_LANGUAGE_8}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ToolbarItems(c.letters, c.languages), c.expected) << c.letters;
    // At most 99 letters are read.
    EXPECT_EQ(ToolbarItems(std::string(99, 'X') + "A", defaults).size(), 99u);
}

TEST(ProgramFolder, FolderOfTheProgramPath) {
    EXPECT_EQ(ProgramFolderOf("C:\\Program Files\\Lexora\\lexora.exe"), "C:\\Program Files\\Lexora\\");
    EXPECT_EQ(ProgramFolderOf("lexora.exe"), "lexora.exe");
}

// A frame of lexora in this process, on a settings file of its own.
class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = MakeFolders("lexora app test");
        ASSERT_TRUE(MakeDictionary(folders_, StandardSlots(), StandardEntries()));
        ini_ = folders_.Base + "lx2000.ini";
    }
    void TearDown() override {
        if (app_ && app_->Frame() && app_->Frame()->Handle()) ::DestroyWindow(app_->Frame()->Handle());
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        app_.reset();
        program_.reset();
        RemoveFolder(folders_.Base);
    }

    void Open(int uiLanguage) { ASSERT_TRUE(OpenLexora(folders_, ini_, uiLanguage, program_, app_)); }

    HWND FrameHandle() const { return app_->Frame()->Handle(); }

    std::wstring MenuText(int position) const {
        wchar_t text[128] = {};
        ::GetMenuStringW(::GetMenu(FrameHandle()), position, text, 128, MF_BYPOSITION);
        return text;
    }

    struct State {
        std::string text;
        bool enabled;
    };
    State Enabler(unsigned id) {
        wl::CommandEnabler ce(id, program_->UiCodePage());
        app_->Frame()->EnableCommand(ce);
        return {ce.Text(), ce.Enabled()};
    }

    TestFolders folders_;
    std::string ini_;
    // The programs the frame starts, once a test puts it in place.
    StartRecorder starts_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<TDrawApp> app_;
};

TEST_F(Frame, EnglishMenuWithoutStatusBar) {
    Open(0);
    EXPECT_EQ(MenuText(0), L"&Dictionary");
    EXPECT_EQ(MenuText(3), L"&Languages");
    EXPECT_EQ(::FindWindowExW(FrameHandle(), nullptr, STATUSCLASSNAMEW, nullptr), nullptr);
    EXPECT_NE(::FindWindowExW(FrameHandle(), nullptr, TOOLBARCLASSNAMEW, nullptr), nullptr);
}

TEST_F(Frame, CzechMenuWithStatusBar) {
    Open(1);
    EXPECT_EQ(MenuText(0), L"&Slovn\u00EDk");
    EXPECT_EQ(MenuText(3), L"&Jazyky");
    EXPECT_NE(::FindWindowExW(FrameHandle(), nullptr, STATUSCLASSNAMEW, nullptr), nullptr);
}

TEST_F(Frame, EnablersSetTextsAndStates) {
    Open(1);
    struct Case {
        unsigned id;
        int textId;  // 0: the enabler sets no text
        bool enabled;
    };
    const Case cases[] = {
        {CM_HISTORY, lex::kTextMenuHistory, true},
        {CM_DIRECTION, lex::kTextMenuDirection, true},
        {CM_ENGLISH, lex::kTextLanguageEnglish, false},
        {CM_GERMAN, lex::kTextLanguageGerman, true},
        {CM_LANGUAGE_4, lex::kTextLanguageFrench, true},
        {CM_LANGUAGE_7, 0, true},
        {CM_UNDO, lex::kTextMenuUndo, true},
        {CM_REDO, lex::kTextMenuRedo, false},
        {CM_HELP, lex::kTextMenuHelp, true},
        {CM_TRANSLATE_BACK, lex::kTextMenuTranslateBack, false},
        {CM_NEW_ENTRY, lex::kTextMenuNewEntry, true},  // always
        {CM_CORRECT_WORD, lex::kTextMenuCorrectWord, false},
        {CM_DELETE_ENTRY, lex::kTextMenuDeleteEntry, false},  // no list line selected
        {CM_DELETE_TRANSLATION, lex::kTextMenuDeleteTranslation, false},
        {CM_KEYBOARD_CONFIG, 0, true},
        {CM_IRREGULAR_VERBS, lex::kTextMenuIrregularVerbs, true},  // slot 0 has the English verbs
        {CM_SORTING_SETUP, lex::kTextMenuSortingSetup, true},
        {CM_CLIPBOARD_LINK_ON, 0, true},  {CM_CLIPBOARD_LINK_OFF, 0, false},
        {CM_DICTIONARY_CONFIG, 0, true}, {CM_ABOUT, 0, true}, {CM_FONT_SETUP, 0, true},
        {CM_OTHER_LANGUAGES, lex::kTextMenuOtherLanguages, true},
    };
    for (const Case& c : cases) {
        State s = Enabler(c.id);
        EXPECT_EQ(s.text, c.textId ? program_->Texts.LoadText(c.textId) : "") << c.id;
        EXPECT_EQ(s.enabled, c.enabled) << c.id;
    }

    // F8 turns the clipboard link on: the items swap.
    ::SendMessageW(FrameHandle(), WM_COMMAND, CM_CLIPBOARD_LINK, 0);
    EXPECT_FALSE(Enabler(CM_CLIPBOARD_LINK_ON).enabled);
    EXPECT_TRUE(Enabler(CM_CLIPBOARD_LINK_OFF).enabled);

    // Translate back: a selected translation, but never the separator line.
    HWND client = ::FindWindowExW(FrameHandle(), nullptr, L"#32770", nullptr);
    HWND edit = ::FindWindowExW(::GetDlgItem(client, IDC_WORD_BOX), nullptr, L"Edit", nullptr);
    HWND translation = ::GetDlgItem(client, IDC_TRANSLATION_BOX);
    for (wchar_t c : std::wstring(L"dog")) ::SendMessageW(edit, WM_CHAR, c, 1);
    wchar_t shown[64] = {};
    ::GetWindowTextW(translation, shown, 64);
    ASSERT_EQ(std::wstring(shown).substr(0, 5), L"pes\r\n");
    ::SendMessageW(translation, EM_SETSEL, 0, 3);
    EXPECT_TRUE(Enabler(CM_TRANSLATE_BACK).enabled);
    ::SendMessageW(translation, EM_SETSEL, 5, 57);
    EXPECT_FALSE(Enabler(CM_TRANSLATE_BACK).enabled);

    // Language commands: the current pair's is off.
    ::SendMessageW(FrameHandle(), WM_COMMAND, CM_DIRECTION, 0);
    EXPECT_EQ(program_->CurrentSlot(), 1);
    EXPECT_FALSE(Enabler(CM_ENGLISH).enabled);
    ::SendMessageW(FrameHandle(), WM_COMMAND, CM_GERMAN, 0);
    EXPECT_EQ(program_->CurrentSlot(), 3);
    EXPECT_TRUE(Enabler(CM_ENGLISH).enabled);
    EXPECT_FALSE(Enabler(CM_GERMAN).enabled);
}

// Translate back with a translation selected goes to that translation even
// when no update of the commands ran between the selection and the command
// (a key right after the selection); with nothing selected it goes back.
TEST_F(Frame, TranslateBackTakesTheSelectionOverTheWayBack) {
    Open(1);
    HWND client = ::FindWindowExW(FrameHandle(), nullptr, L"#32770", nullptr);
    HWND edit = ::FindWindowExW(::GetDlgItem(client, IDC_WORD_BOX), nullptr, L"Edit", nullptr);
    HWND translation = ::GetDlgItem(client, IDC_TRANSLATION_BOX);
    auto type = [&](const std::wstring& word) {
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        for (wchar_t c : word) ::SendMessageW(edit, WM_CHAR, c, 1);
    };
    auto translateBack = [&](int selected) {
        ::SendMessageW(translation, EM_SETSEL, 0, selected);
        ::SendMessageW(FrameHandle(), WM_COMMAND, MAKEWPARAM(CM_TRANSLATE_BACK, 1), 0);
    };
    type(L"dog");
    translateBack(3);  // "pes"
    EXPECT_EQ(program_->CurrentSlot(), 1);
    EXPECT_EQ(program_->CurrentWord(), "pes");
    type(L"\u010Daj");
    translateBack(3);  // "tea": the way back to "dog" is not taken
    EXPECT_EQ(program_->CurrentSlot(), 0);
    EXPECT_EQ(program_->CurrentWord(), "tea");
    translateBack(0);  // nothing selected: back to "\u010Daj"
    EXPECT_EQ(program_->CurrentSlot(), 1);
    EXPECT_EQ(program_->CurrentWord(), "\xE8" "aj");
}

// Typing into the word box looks the word up; the caret and selection of its
// edit part stay where typing put them (for right-to-left entry the caret
// stays before the typed letter).
TEST_F(Frame, WordBoxSelectionKeptAcrossLookup) {
    Open(0);
    HWND client = ::FindWindowExW(FrameHandle(), nullptr, L"#32770", nullptr);
    HWND box = ::GetDlgItem(client, IDC_WORD_BOX);
    HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    struct Case {
        const wchar_t* text;
        int start, end;  // the selection before typing
        wchar_t typed;
        bool reversed;
        const wchar_t* result;
        int caret;  // start and end of the selection after the lookup
        const wchar_t* firstRow;
    };
    const Case cases[] = {
        {L"dg", 1, 1, L'o', false, L"dog", 2, L"dog"},
        {L"doxxr", 2, 4, L'o', false, L"door", 3, L"door"},
        {L"og", 0, 0, L'd', false, L"dog", 1, L"dog"},
        {L"do", 2, 2, L'g', false, L"dog", 3, L"dog"},
        {L"dor", 1, 1, L'o', true, L"door", 1, L"door"},
        {L"og", 0, 0, L'd', true, L"dog", 0, L"dog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " + " << static_cast<char>(c.typed));
        program_->Engine->ReversedEntry = c.reversed;
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        ::SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(c.start, c.end));
        DWORD before = static_cast<DWORD>(::SendMessageW(box, CB_GETEDITSEL, 0, 0));
        ASSERT_EQ(LOWORD(before), c.start);
        ASSERT_EQ(HIWORD(before), c.end);
        ::SendMessageW(edit, WM_CHAR, c.typed, 1);
        wchar_t text[64] = {};
        ::GetWindowTextW(edit, text, 64);
        EXPECT_EQ(std::wstring(text), c.result);
        DWORD after = static_cast<DWORD>(::SendMessageW(box, CB_GETEDITSEL, 0, 0));
        EXPECT_EQ(LOWORD(after), c.caret);
        EXPECT_EQ(HIWORD(after), c.caret);
        // The lookup ran: the list starts at the typed word.
        wchar_t row[64] = {};
        ASSERT_NE(::SendMessageW(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(row)), CB_ERR);
        EXPECT_EQ(std::wstring(row), c.firstRow);
    }
    program_->Engine->ReversedEntry = false;
}

// Answers the plain message box with caption `caption` of this process (OK).
class BoxCloser {
public:
    explicit BoxCloser(const wchar_t* caption)
        : thread_([this, caption] {
              while (!stop_) {
                  if (HWND box = ::FindWindowW(L"#32770", caption)) {
                      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                      ++closed_;
                  }
                  ::Sleep(10);
              }
          }) {}
    ~BoxCloser() {
        stop_ = true;
        thread_.join();
    }
    int Closed() const { return closed_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> closed_{0};
    std::thread thread_;
};

TEST_F(Frame, RestartWritesFirstThenStartsTheQuotedProgramAndCloses) {
    ::WritePrivateProfileStringA("POZICE", "Konec", "1", ini_.c_str());
    Open(1);
    starts_.Install();
    HWND frame = FrameHandle();
    ::SendMessageW(frame, WM_COMMAND, CM_DIRECTION, 0);

    // The new copy cannot start: a message, and the program stays.
    starts_.Result = 2;
    {
        BoxCloser closer(L"e");
        EXPECT_FALSE(app_->Frame()->Restart());
        EXPECT_GE(closer.Closed(), 1);
    }
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_FALSE(app_->Frame()->RestartPending());
    EXPECT_FALSE(program_->DialogOpen());

    // With the keyboard coupling on, a copy that goes on keeps its coupling.
    program_->Config.KeyboardCouplingSetting = 1;
    program_->StartKeyboardCoupling();
    ASSERT_TRUE(program_->HookInstalled());
    {
        BoxCloser closer(L"e");
        EXPECT_FALSE(app_->Frame()->Restart());
    }
    EXPECT_TRUE(program_->HookInstalled());
    EXPECT_TRUE(program_->Coupling.CouplingOn());

    // It starts: the closing writes are done before, and the frame closes
    // without asking.
    ::WritePrivateProfileStringA("SMER", "Smer prekladu", nullptr, ini_.c_str());
    starts_.Result = 33;
    EXPECT_TRUE(app_->Frame()->Restart());
    ASSERT_EQ(starts_.Started.size(), 3u);
    EXPECT_EQ(starts_.Started[2], "\"" + folders_.Program + "lexora.exe\"");
    EXPECT_FALSE(program_->HookInstalled());
    char slot[16] = {};
    ::GetPrivateProfileStringA("SMER", "Smer prekladu", "", slot, sizeof slot, ini_.c_str());
    EXPECT_STREQ(slot, "1");
    MSG msg;
    for (int i = 0; i < 100 && ::IsWindow(frame) && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    EXPECT_FALSE(::IsWindow(frame));
}

TEST_F(Frame, UtilityStartsTheBulkProgramQuoted) {
    Open(1);
    starts_.Install();
    ::SendMessageW(FrameHandle(), WM_COMMAND, CM_UTILITY, 0);
    ASSERT_EQ(starts_.Started.size(), 1u);
    EXPECT_EQ(starts_.Started[0], "\"" + folders_.Program + "LEXBULK.exe\" start");
    EXPECT_EQ(starts_.Shows, std::vector<int>{SW_SHOW});
    EXPECT_FALSE(program_->DialogOpen());
}

}  // namespace
