// The clipboard watch and the verb tables of lexora in this process: a frame
// on a settings file and data of its own, its clipboard ticks run one by one,
// its verb dialogs driven with real messages from inside their message loops.
// The frame's place on the monitors is a rule of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

#include "lexora/src/app.h"
#include "lexora/src/lexora_frame.h"
#include "frame_fixture.h"
#include "core/dialogs/word_dialog_ids.h"
#include "core/ui/lexcoreui_ids.h"
#include "core/texts/slot_texts.h"
#include "core/texts/text_ids.h"
#include "lexora/src/lexora_ids.h"
#include "test_data.h"
#include "lexora/src/verb_ids.h"
#include "winlib/testing.h"
#include "winlib/testing/process_driver.h"
#include "winlib/testing/scoped_replace.h"
#include "winlib/text.h"

using namespace lexora;
using namespace lexora_test;

namespace {

// ---- The frame's place --------------------------------------------------------

TEST(VisibleFrameRect, FrameThatNoMonitorShowsIsPlacedOnThePrimaryOne) {
    const std::vector<RECT> areas = {{0, 0, 1024, 738}, {1024, 0, 2304, 1024}};
    struct Case {
        lex::WindowRect saved;
        lex::WindowRect expected;
    };
    const Case cases[] = {
        {{30, 40, 310, 360}, {30, 40, 310, 360}},            // on the primary monitor
        {{1500, 100, 600, 400}, {1500, 100, 600, 400}},      // on the second one
        {{-8, -8, 1040, 754}, {-8, -8, 1040, 754}},          // a window as large as the screen
        {{-500, 10, 600, 400}, {-500, 10, 600, 400}},        // enough of the title bar shows
        {{100000, 40, 600, 400}, {10, 10, 600, 400}},        // far to the right
        {{-5000, -5000, 600, 400}, {10, 10, 600, 400}},      // far above and to the left
        {{10, 5000, 600, 400}, {10, 10, 600, 400}},          // below every monitor
        {{-560, 10, 600, 400}, {10, 10, 600, 400}},          // only 40 pixels of it show
        {{10, 730, 600, 400}, {10, 10, 600, 400}},           // the title bar under the work area
        {{2147483000, 2147483000, 600, 400}, {10, 10, 600, 400}},
        {{9000, 9000, 5000, 3000}, {10, 10, 1004, 718}},     // cut to the work area
        {{9000, 9000, 310, 360}, {10, 10, 310, 360}},
    };
    for (const Case& c : cases) {
        const lex::WindowRect r = VisibleFrameRect(c.saved, areas);
        EXPECT_EQ(r.Left, c.expected.Left) << c.saved.Left << "," << c.saved.Top;
        EXPECT_EQ(r.Top, c.expected.Top) << c.saved.Left << "," << c.saved.Top;
        EXPECT_EQ(r.Width, c.expected.Width) << c.saved.Left << "," << c.saved.Top;
        EXPECT_EQ(r.Height, c.expected.Height) << c.saved.Left << "," << c.saved.Top;
    }
    // The primary work area need not start at 0, 0.
    const lex::WindowRect r = VisibleFrameRect({-3000, 0, 600, 400}, {{100, 50, 1100, 850}});
    EXPECT_EQ(r.Left, 110);
    EXPECT_EQ(r.Top, 60);
    // Without monitors nothing is known: the saved place stays.
    EXPECT_EQ(VisibleFrameRect({-3000, 0, 600, 400}, {}).Left, -3000);
    // This machine has at least one monitor, the primary one first.
    const std::vector<RECT> here = MonitorWorkAreas();
    ASSERT_FALSE(here.empty());
    POINT origin{here[0].left, here[0].top};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint(origin, MONITOR_DEFAULTTONULL), &info));
    EXPECT_TRUE(info.dwFlags & MONITORINFOF_PRIMARY);
}

// ---- A frame in this process --------------------------------------------------

// Records the keyboard coupling calls of the program.
struct CouplingRecord : lex::KeyboardCoupling {
    struct Call {
        int slot, field;
        bool pronunciation;
    };
    std::vector<Call>* calls;
    explicit CouplingRecord(std::vector<Call>* c) : calls(c) {}
    void SelectSlotKeyboard(int slot, int field, bool pronunciation) override {
        calls->push_back({slot, field, pronunciation});
    }
    void SelectStandardKeyboard() override {}
};

class Links : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = MakeFolders("lexora links test");
        std::vector<Entry> entries = StandardEntries();
        entries.push_back({2, "gehen", "j\xEDt", ""});
        ASSERT_TRUE(MakeDictionary(folders_, StandardSlots(), entries, {}, {LastEntry()}));
        ini_ = folders_.Base + "lx2000.ini";
    }
    void TearDown() override {
        if (app_ && app_->Frame() && app_->Frame()->Handle()) ::DestroyWindow(app_->Frame()->Handle());
        wl::Dialog::SetTestHook(nullptr);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        app_.reset();
        program_.reset();
        RemoveFolder(folders_.Base);
    }

    void Open() {
        ASSERT_TRUE(OpenLexora(folders_, ini_, 0, program_, app_,
                               [this](Program& program) { program.Keyboards = &recorder_; }));
        client_ = ::FindWindowExW(FrameHandle(), nullptr, L"#32770", nullptr);
        wordBox_ = ::GetDlgItem(client_, IDC_WORD_BOX);
        wordEdit_ = ::FindWindowExW(wordBox_, nullptr, L"Edit", nullptr);
        translation_ = ::GetDlgItem(client_, IDC_TRANSLATION_BOX);
        ASSERT_TRUE(wordEdit_ && translation_);
    }

    HWND FrameHandle() const { return app_->Frame()->Handle(); }
    void Command(unsigned id) { ::SendMessageW(FrameHandle(), WM_COMMAND, id, 0); }
    void Tick() { app_->Frame()->ClipboardTick(); }
    std::wstring Word() const { return wl::testing::WideText(wordEdit_); }
    std::wstring Translation() const { return wl::testing::WideText(translation_); }
    void Type(const std::wstring& text) {
        ::SendMessageW(wordEdit_, EM_SETSEL, 0, -1);
        for (wchar_t c : text) ::SendMessageW(wordEdit_, WM_CHAR, c, 1);
    }
    // Puts `text` on the clipboard as another program does, then ticks.
    void CopyElsewhereAndTick(const std::wstring& text) {
        ASSERT_TRUE(wl::testing::PutClipboardUnicode(text));
        Tick();
    }

    // Runs `act` inside the next dialog that a command opens; `act` closes
    // it. A dialog still open long after (a failed test) ends with Cancel.
    static void OnNextDialog(std::function<void(wl::Dialog&)> act) {
        wl::Dialog::SetTestHook([act = std::move(act)](wl::Dialog& d) {
            ::SetTimer(d.Handle(), 0x7E58, wl::testing::kWatchdogMs,
                       [](HWND h, UINT, UINT_PTR, DWORD) { ::EndDialog(h, IDCANCEL); });
            act(d);
        });
    }

    TestFolders folders_;
    std::string ini_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<TDrawApp> app_;
    std::vector<CouplingRecord::Call> coupling_;
    CouplingRecord recorder_{&coupling_};
    HWND client_ = nullptr, wordBox_ = nullptr, wordEdit_ = nullptr, translation_ = nullptr;
};

std::wstring Translated(const std::wstring& text) { return text + L"\r\n" + std::wstring(52, L'-') + L"\r\n"; }

// ---- Clipboard watch ------------------------------------------------------------

TEST_F(Links, ShortNewTextsFromElsewhereAreLookedUpOnce) {
    Open();
    Command(CM_CLIPBOARD_LINK_ON);
    CopyElsewhereAndTick(L"dog");
    EXPECT_EQ(Word(), L"dog");
    EXPECT_EQ(Translation(), Translated(L"pes"));

    Type(L"door");
    struct Step {
        const wchar_t* copied;
        const wchar_t* word;  // the word box after the tick
    } steps[] = {
        {L"dog", L"door"},           // the same text again
        {L"  dog \r\n", L"door"},    // the same, once trimmed
        {L"a b c d e f", L"door"},   // five runs of separators: no word
        {L"", L"door"},
        {L"a, b", L"a, b"},          // one run
        {L"  do ", L"do"},           // trimmed before the lookup
    };
    for (const Step& s : steps) {
        CopyElsewhereAndTick(s.copied);
        EXPECT_EQ(Word(), s.word) << s.copied;
    }
    EXPECT_EQ(Translation(), Translated(L"d\u011Blat\r\n\u010Dinit"));

    // Link off: nothing happens; on again, the text is new to the watch.
    Command(CM_CLIPBOARD_LINK_OFF);
    CopyElsewhereAndTick(L"zebra");
    EXPECT_EQ(Word(), L"do");
    Command(CM_CLIPBOARD_LINK);  // F8 toggles
    Tick();
    EXPECT_EQ(Word(), L"zebra");
    // A Russian word in the Russian slot: its own code page.
    Command(CM_LANGUAGE_3);
    CopyElsewhereAndTick(L"\u0434\u043E\u043C");
    EXPECT_EQ(Word(), L"\u0434\u043E\u043C");
    EXPECT_EQ(Translation(), Translated(L"d\u016Fm"));
}

TEST_F(Links, OwnCopyIsNotLookedUpAndNeverHoldsBackTheNextCopy) {
    Open();
    Command(CM_CLIPBOARD_LINK_ON);
    CopyElsewhereAndTick(L"dog");
    ASSERT_EQ(Word(), L"dog");

    // Copy a translation with the program's own command: not looked up.
    Type(L"do");
    ::SetFocus(translation_);
    ::SendMessageW(translation_, EM_SETSEL, 0, 5);
    Command(CM_COPY);
    ASSERT_EQ(wl::testing::ClipboardTexts().second, L"d\u011Blat");
    Tick();
    EXPECT_EQ(Word(), L"do");

    // Our own copy of the very text the watch saw last, then a copy made
    // elsewhere: that one is looked up.
    CopyElsewhereAndTick(L"dog");
    ASSERT_EQ(Word(), L"dog");
    ::SetFocus(wordEdit_);
    ::SendMessageW(wordBox_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Command(CM_COPY);
    ASSERT_EQ(wl::testing::ClipboardTexts().second, L"dog");
    Tick();
    Type(L"zebra");
    CopyElsewhereAndTick(L"door");
    EXPECT_EQ(Word(), L"door");
    EXPECT_EQ(Translation(), Translated(L"dve\u0159e"));

    // A copy of our own that cannot reach the clipboard (another thread holds
    // it open) holds back nothing either.
    Type(L"zebra");
    ::SetFocus(wordEdit_);
    ::SendMessageW(wordBox_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    std::atomic<int> held{0};  // 1 open, 2 could not open
    std::atomic<bool> release{false};
    std::thread holder([&] {
        held = ::OpenClipboard(nullptr) ? 1 : 2;
        while (!release) ::Sleep(5);
        if (held == 1) ::CloseClipboard();
    });
    while (held == 0) ::Sleep(5);
    Command(CM_COPY);
    release = true;
    holder.join();
    ASSERT_EQ(held, 1);
    CopyElsewhereAndTick(L"dog");
    EXPECT_EQ(Word(), L"dog");

    // An own copy made while the link is off holds back nothing once the link
    // is on again, by either command; nor is it looked up then, unless a copy
    // made elsewhere has replaced it meanwhile (that one is looked up, even
    // when it is the same text).
    struct Case {
        unsigned on;
        const wchar_t* elsewhereWhileOff;  // null: our copy stays on the clipboard
        const wchar_t* afterOn;            // the word box after the first tick
        const wchar_t* elsewhere;
    } cases[] = {
        {CM_CLIPBOARD_LINK_ON, nullptr, L"do", L"cat"},
        {CM_CLIPBOARD_LINK, nullptr, L"do", L"door"},
        {CM_CLIPBOARD_LINK_ON, L"dog", L"dog", L"cat"},
        {CM_CLIPBOARD_LINK, L"zebra", L"zebra", L"door"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.on << " " << (c.elsewhereWhileOff ? c.elsewhereWhileOff : L"-"));
        Command(CM_CLIPBOARD_LINK_OFF);
        Type(L"zebra");
        ::SetFocus(wordEdit_);
        ::SendMessageW(wordBox_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        Command(CM_COPY);
        ASSERT_EQ(wl::testing::ClipboardTexts().second, L"zebra");
        Type(L"do");
        if (c.elsewhereWhileOff) {
            ASSERT_TRUE(wl::testing::PutClipboardUnicode(c.elsewhereWhileOff));
        }
        Command(c.on);
        ASSERT_TRUE(program_->ClipboardLink());
        Tick();
        EXPECT_EQ(Word(), c.afterOn);
        CopyElsewhereAndTick(c.elsewhere);
        EXPECT_EQ(Word(), c.elsewhere) << c.on;
    }
}

// Text that a program without Unicode put on the clipboard is read in the
// code page of the current slot, not in the system's.
TEST_F(Links, EightBitClipboardTextIsReadInTheCodePageOfTheSlot) {
    Open();
    Command(CM_CLIPBOARD_LINK_ON);
    struct Case {
        unsigned slotCommand;
        int slot;
        const char* bytes;
        const wchar_t* word;
        const wchar_t* translation;  // null: not in the slot
    } cases[] = {
        {CM_LANGUAGE_3, 4, "\xE4\xEE\xEC", L"\u0434\u043E\u043C", L"d\u016Fm"},  // Russian, 1251
        {CM_ENGLISH, 0, "door", L"door", L"dve\u0159e"},
        {CM_DIRECTION, 1, "d\xF9m", L"d\u016Fm", nullptr},  // Czech, 1250
    };
    for (const Case& c : cases) {
        Command(c.slotCommand);
        ASSERT_EQ(program_->CurrentSlot(), c.slot);
        ASSERT_TRUE(wl::testing::PutClipboardEightBit(c.bytes));
        Tick();
        EXPECT_EQ(Word(), c.word) << c.slot;
        if (c.translation) {
            EXPECT_EQ(Translation(), Translated(c.translation)) << c.slot;
        }
        Type(L"zebra");
        Command(CM_PASTE);  // the same reading
        EXPECT_EQ(Word(), c.word) << c.slot;
    }
}

// The English side's words are in the bytes of its collation table, which
// knows the Czech letters as their Windows 1250 bytes, while the English font
// is stored with the Western set: pasted, typed and in the add dialog those
// letters go in as the 1250 bytes and are shown as themselves. A letter that
// the English side cannot hold is still refused.
TEST_F(Links, CzechLettersOnTheEnglishSideAreTheirWindows1250Bytes) {
    ASSERT_TRUE(AddEntries(folders_, {{0, "dat/loc of stopa\xF8ka", "stopa\xF8" "ce", ""}}));
    Open();
    ASSERT_EQ(program_->CurrentSlot(), 0);
    EXPECT_EQ(program_->FontCharSets[0][0], ANSI_CHARSET);  // the stored font stays as it is
    {
        // ... and draws the Czech letters.
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, program_->Fonts[0][0]);
        WORD glyphs[2] = {};
        EXPECT_EQ(::GetGlyphIndicesW(dc, L"\u010D\u0159", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 2u);
        EXPECT_NE(glyphs[0], 0xFFFF);
        EXPECT_NE(glyphs[1], 0xFFFF);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    }

    ASSERT_TRUE(wl::testing::PutClipboardUnicode(L"\u010Daj"));
    Command(CM_PASTE);
    EXPECT_EQ(program_->CurrentWord(), "\xE8" "aj");
    EXPECT_EQ(Word(), L"\u010Daj");
    // The list shows the English headwords in 1250 too.
    const std::wstring stopa = L"dat/loc of stopa\u0159ka";
    const std::vector<std::wstring> rows = wl::testing::ComboRows(wordBox_);
    EXPECT_NE(std::find(rows.begin(), rows.end(), stopa), rows.end());

    ASSERT_TRUE(wl::testing::PutClipboardUnicode(stopa));
    Command(CM_PASTE);
    EXPECT_EQ(Translation(), Translated(L"stopa\u0159ce"));
    Type(L"zebra");
    Type(stopa);
    EXPECT_EQ(Translation(), Translated(L"stopa\u0159ce"));

    // The add dialog: the word and the reverse translation are English fields.
    const std::wstring dvorak = L"Dvo\u0159\u00E1k";
    Type(dvorak);
    std::wstring offered;
    std::vector<std::wstring> refusals;
    OnNextDialog([&](wl::Dialog& d) {
        HWND h = d.Handle();
        offered = wl::testing::WideText(::GetDlgItem(h, IDC_WE_WORD));
        ::SetDlgItemTextW(h, IDC_WE_TRANSLATIONS, dvorak.c_str());
        ::SetDlgItemTextW(h, IDC_WE_WORD, L"Se\u00F1or Dvo\u0159\u00E1k");  // ñ: not an English side's letter
        auto answer = [&](wl::Dialog& m) {
            refusals.push_back(wl::testing::WideText(::GetDlgItem(m.Handle(), IDC_MESSAGE_TEXT)));
            wl::testing::ClickButton(m.Handle(), IDC_MESSAGE_OK);
        };
        OnNextDialog(answer);
        wl::testing::ClickButton(h, IDOK);
        ::SetDlgItemTextW(h, IDC_WE_WORD, dvorak.c_str());
        wl::testing::ClickButton(h, IDC_WE_TAKE_OVER);
        EXPECT_EQ(wl::testing::WideText(::GetDlgItem(h, IDC_WE_REVERSE_TRANSLATION)), dvorak);
        OnNextDialog(answer);  // a refusal of Dvořák would be the second
        wl::testing::ClickButton(h, IDOK);
    });
    Command(CM_NEW_ENTRY);
    wl::Dialog::SetTestHook(nullptr);
    EXPECT_EQ(offered, dvorak);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0], wl::ToWide(program_->Texts.LoadText(lex::kTextCannotStoreText), program_->UiCodePage()));
    // Stored as 1250 bytes on both sides: Dvořák = Dvořák.
    const std::string bytes = "Dvo\xF8\xE1k";
    for (int slot : {0, 1}) {
        SCOPED_TRACE(slot);
        std::vector<lex::ResultRow> found;
        ASSERT_GT(lex::LookupWord(*program_->Engine, bytes, found, slot), 0);
        EXPECT_EQ(found[0].Word, bytes);
    }
    Type(L"zebra");
    Type(dvorak);
    EXPECT_EQ(Translation(), Translated(dvorak));
}

TEST_F(Links, NothingHappensWhileADialogIsOpenAndTheTickAfterItActs) {
    Open();
    Command(CM_CLIPBOARD_LINK_ON);
    Type(L"zebra");
    coupling_.clear();
    std::wstring wordInDialog;
    size_t couplingInDialog = 99;
    OnNextDialog([&](wl::Dialog& d) {
        EXPECT_TRUE(wl::testing::PutClipboardUnicode(L"dog"));
        Tick();
        ::SendMessageW(FrameHandle(), WM_TIMER, 0, 0);  // the frame's own timer as well
        wordInDialog = Word();
        couplingInDialog = coupling_.size();
        d.CloseWindow(IDCANCEL);
    });
    Command(CM_HISTORY);
    EXPECT_EQ(wordInDialog, L"zebra");
    EXPECT_EQ(couplingInDialog, 0u);  // not even the keyboard
    // The command's dialog has ended: its tick looks the word up at once.
    EXPECT_EQ(Word(), L"dog");
    EXPECT_FALSE(program_->DialogOpen());
    ASSERT_FALSE(coupling_.empty());
    EXPECT_EQ(coupling_.back().slot, 0);
    EXPECT_EQ(coupling_.back().field, lex::kOriginalField);
    EXPECT_FALSE(coupling_.back().pronunciation);

    // A tick renews the keyboard of the current slot, link on or off.
    Command(CM_CLIPBOARD_LINK_OFF);
    Command(CM_DIRECTION);
    coupling_.clear();
    Tick();
    ASSERT_EQ(coupling_.size(), 1u);
    EXPECT_EQ(coupling_[0].slot, 1);
}

// Showing another slot selects the keyboard of its original field.
TEST_F(Links, ShowingASlotSelectsItsKeyboard) {
    Open();
    coupling_.clear();
    Command(CM_GERMAN);
    ASSERT_EQ(program_->CurrentSlot() / 2, 1);
    ASSERT_FALSE(coupling_.empty());
    EXPECT_EQ(coupling_.front().slot, program_->CurrentSlot());
    EXPECT_EQ(coupling_.front().field, lex::kOriginalField);
    EXPECT_FALSE(coupling_.front().pronunciation);
}

// The DDE service lives from the lookup window's set-up to the frame's close.
TEST_F(Links, DdeServiceIsRegisteredAtStartAndReleasedAtClose) {
    Open();
    EXPECT_TRUE(program_->Dde.Registered());
    EXPECT_TRUE(app_->Frame()->CanClose());
    EXPECT_FALSE(program_->Dde.Registered());
}

// ---- Verb tables -------------------------------------------------------------------

class Verbs : public Links {
protected:
    void WriteTable(const char* name, const std::string& bytes) {
        std::ofstream out(folders_.Program + name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    static std::wstring Item(HWND dialog, int id) { return wl::testing::WideText(::GetDlgItem(dialog, id)); }
    static std::vector<std::wstring> Rows(HWND dialog) {
        return wl::testing::ComboRows(::GetDlgItem(dialog, IDC_VERBS_LIST));
    }
    static void Choose(HWND dialog, int row) {
        wl::testing::SelectComboRow(::GetDlgItem(dialog, IDC_VERBS_LIST), row);
    }
    std::wstring Caption() const { return wl::testing::WideText(FrameHandle()); }
    std::wstring Title(int slot) const {
        return L"Lexora - " + wl::ToWide(program_->Texts.LoadText(lex::FixedDictionaryTitleId(slot)), 1252);
    }
};

const char kEnglish[] =
    "be;was/were;been;b\xFDt\r\n"
    "do;did;done;d\xECl" "at\r\n"
    "go;went;gone;j\xEDt\r\n";
const char kGerman[] =
    "sein (ist);b\xFDt;ist;war;w\xE4re;sei!;gewesen\r\n"
    "gehen (ist);j\xEDt;geht;ging;ginge;geh!;gegangen\r\n";

TEST_F(Verbs, EnglishListFieldsAndOkLooksTheVerbUpInSlotZero) {
    WriteTable("NEPR_A.SLO", kEnglish);
    Open();
    Command(CM_DIRECTION);  // slot 1: the English table all the same
    Type(L"pes");
    coupling_.clear();
    OnNextDialog([&](wl::Dialog& d) {
        HWND h = d.Handle();
        EXPECT_EQ(wl::testing::WideText(h), L"Irregular Verbs List");
        EXPECT_EQ(Item(h, IDC_VERBS_ORIGINAL_LABEL), L"English Original");
        EXPECT_EQ(Item(h, IDC_VERBS_TRANSLATION_LABEL), L"Czech Translation");
        EXPECT_EQ(Item(h, IDC_VERBS_PAST_LABEL), L"Past simple");
        EXPECT_EQ(Rows(h), (std::vector<std::wstring>{L"be", L"do", L"go"}));
        // The first verb is shown at once.
        EXPECT_EQ(Item(h, IDC_VERBS_LIST), L"be");
        EXPECT_EQ(Item(h, IDC_VERBS_PAST), L"was/were");
        EXPECT_EQ(Item(h, IDC_VERBS_TRANSLATION), L"b\u00FDt");
        ASSERT_FALSE(coupling_.empty());
        EXPECT_EQ(coupling_.back().slot, 0);
        Choose(h, 2);
        EXPECT_EQ(Item(h, IDC_VERBS_PAST), L"went");
        EXPECT_EQ(Item(h, IDC_VERBS_PARTICIPLE), L"gone");
        EXPECT_EQ(Item(h, IDC_VERBS_TRANSLATION), L"j\u00EDt");
        Choose(h, 1);
        EXPECT_EQ(Item(h, IDC_VERBS_TRANSLATION), L"d\u011Blat");
        wl::testing::ClickButton(h, IDOK);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(program_->CurrentSlot(), 0);
    EXPECT_EQ(Caption(), Title(0));
    EXPECT_EQ(Word(), L"do");
    EXPECT_EQ(Translation(), Translated(L"d\u011Blat\r\n\u010Dinit"));
}

TEST_F(Verbs, TypedVerbLeavesTheFormsAndCancelChangesNothing) {
    WriteTable("NEPR_A.SLO", kEnglish);
    Open();
    Type(L"dog");
    OnNextDialog([&](wl::Dialog& d) {
        HWND h = d.Handle();
        ::SetWindowTextW(::GetDlgItem(h, IDC_VERBS_LIST), L"goes");
        EXPECT_EQ(Item(h, IDC_VERBS_PAST), L"was/were");
        wl::testing::ClickButton(h, IDCANCEL);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(Word(), L"dog");

    // A verb no line holds: OK hands the typed text back all the same.
    OnNextDialog([&](wl::Dialog& d) {
        ::SetWindowTextW(::GetDlgItem(d.Handle(), IDC_VERBS_LIST), L"zebra");
        wl::testing::ClickButton(d.Handle(), IDOK);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(Word(), L"zebra");
    EXPECT_EQ(Translation(), Translated(L"zebra"));
}

TEST_F(Verbs, GermanTableFromSlotThreeLooksUpTheVerbUpToItsBlankInSlotTwo) {
    WriteTable("NEPR_N.SLO", kGerman);
    Open();
    Command(CM_GERMAN);
    Command(CM_DIRECTION);
    ASSERT_EQ(program_->CurrentSlot(), 3);
    OnNextDialog([&](wl::Dialog& d) {
        HWND h = d.Handle();
        EXPECT_EQ(Item(h, IDC_VERBS_ORIGINAL_LABEL), L"German Original");
        EXPECT_EQ(Rows(h), (std::vector<std::wstring>{L"sein (ist)", L"gehen (ist)"}));
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_SUBJUNCTIVE), L"w\u00E4re");
        Choose(h, 1);
        // The Czech meaning at the top, the five forms below.
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_MEANING), L"j\u00EDt");
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_PRESENT), L"geht");
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_PAST), L"ging");
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_SUBJUNCTIVE), L"ginge");
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_IMPERATIVE), L"geh!");
        EXPECT_EQ(Item(h, IDC_VERBS_GERMAN_PARTICIPLE), L"gegangen");
        wl::testing::ClickButton(h, IDOK);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(program_->CurrentSlot(), 2);
    EXPECT_EQ(Caption(), Title(2));
    EXPECT_EQ(Word(), L"gehen");
    EXPECT_EQ(Translation(), Translated(L"j\u00EDt"));
}

// Answers the plain message box with an empty caption of this process and
// keeps its text.
class EmptyCaptionBox {
public:
    EmptyCaptionBox()
        : thread_([this] {
              while (!stop_) {
                  // The box is answered once its text is there.
                  if (HWND box = ::FindWindowW(L"#32770", L"")) {
                      for (HWND c = ::FindWindowExW(box, nullptr, L"Static", nullptr); c;
                           c = ::FindWindowExW(box, c, L"Static", nullptr)) {
                          wchar_t buffer[MAX_PATH * 2] = {};
                          ::GetWindowTextW(c, buffer, MAX_PATH * 2);
                          if (buffer[0]) {
                              text_ = buffer;
                              ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                          }
                      }
                  }
                  ::Sleep(10);
              }
          }) {}
    ~EmptyCaptionBox() {
        stop_ = true;
        thread_.join();
    }
    std::wstring Text() const { return text_; }

private:
    std::atomic<bool> stop_{false};
    std::wstring text_;
    std::thread thread_;
};

TEST_F(Verbs, MissingTableGivesItsMessageAndNoDialog) {
    Open();
    Type(L"dog");
    std::wstring caption, text;
    int hooks = 0;
    OnNextDialog([&](wl::Dialog& d) {
        ++hooks;
        caption = wl::testing::WideText(d.Handle());
        text = Item(d.Handle(), IDC_MESSAGE_TEXT);
        wl::testing::ClickButton(d.Handle(), IDC_MESSAGE_OK);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(caption, L"Error with Vocabulary Handling.");
    EXPECT_EQ(text, L"Data Files Non-accesible for Loading.");
    EXPECT_EQ(program_->CurrentSlot(), 0);
    EXPECT_EQ(Word(), L"dog");
    EXPECT_FALSE(program_->DialogOpen());

    // The table goes away while the dialog is open: the path in a message,
    // the forms shown keep their texts.
    WriteTable("NEPR_A.SLO", kEnglish);
    std::wstring past;
    std::wstring boxText;
    OnNextDialog([&](wl::Dialog& d) {
        ::DeleteFileA((folders_.Program + "NEPR_A.SLO").c_str());
        {
            EmptyCaptionBox box;
            Choose(d.Handle(), 2);
            boxText = box.Text();
        }
        past = Item(d.Handle(), IDC_VERBS_PAST);
        wl::testing::ClickButton(d.Handle(), IDCANCEL);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(boxText, wl::ToWide(folders_.Program + "NEPR_A.SLO", CP_ACP));
    EXPECT_EQ(past, L"was/were");
}

TEST_F(Verbs, OfferedInTheEnglishAndGermanSlotsOnly) {
    Open();
    for (int slot = 0; slot < lex::kSlotCount; ++slot) {
        program_->Config.Dictionary.CurrentSlot = slot;  // the enabler only; no lookup there
        wl::CommandEnabler ce(CM_IRREGULAR_VERBS, program_->UiCodePage());
        app_->Frame()->EnableCommand(ce);
        EXPECT_EQ(ce.Enabled(), slot <= 3) << slot;
        EXPECT_EQ(ce.Text(), program_->Texts.LoadText(lex::kTextMenuIrregularVerbs));
    }
    // Elsewhere the command (F7) does nothing.
    program_->Config.Dictionary.CurrentSlot = 4;
    int hooks = 0;
    OnNextDialog([&](wl::Dialog& d) {
        ++hooks;
        d.CloseWindow(IDCANCEL);
    });
    Command(CM_IRREGULAR_VERBS);
    EXPECT_EQ(hooks, 0);
}

}  // namespace
