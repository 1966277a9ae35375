// lexora as its own process: started from here with a settings file of the
// test's own (the Windows directory of the test prefix), driven with window
// messages, and read back through its windows and the settings it writes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/texts/slot_texts.h"
#include "core/texts/text_loader.h"
#include "core/ui/lexcoreui_ids.h"
#include "lexora/src/lexora_ids.h"
#include "test_data.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

using namespace lexora_test;
using wl::testing::ClipboardTexts;

namespace {

// lexora reads and writes lx2000.ini by its bare name: in the Windows
// directory of the test prefix.
const wl::testing::ProfileIniFile& Ini() {
    static const wl::testing::ProfileIniFile ini(wl::testing::WindowsDirectoryFile("lx2000.ini"));
    return ini;
}

std::string ReadIni(const char* section, const char* key, const char* fallback = "<none>") {
    return Ini().Read(section, key, fallback);
}

void WriteIni(const char* section, const char* key, const std::string& value) { Ini().Write(section, key, value); }

std::wstring Wide(const std::string& bytes, UINT cp) { return wl::ToWide(bytes, cp); }

// One running lexora, and the controls of its lookup window.
class Lexora {
public:
    // Starts the program file in `folder`, by its full path or (bareName) as
    // "lexora.exe" from that folder, and waits for its frame.
    bool Start(const std::string& folder, bool bareName = false) {
        using wl::testing::Process;
        if (!process_.Start(folder, "lexora.exe", bareName ? Process::StartBy::BareName : Process::StartBy::FullPath))
            return false;
        // The frame shows before its lookup window has built its controls:
        // wait for the whole window, not only for the frame.
        return wl::testing::WaitFor([&] {
            frame = process_.FindFrame();
            if (!frame) return false;
            client = ::FindWindowExW(frame, nullptr, L"#32770", nullptr);
            word = ::GetDlgItem(client, IDC_WORD_BOX);
            wordEdit = ::FindWindowExW(word, nullptr, L"Edit", nullptr);
            translation = ::GetDlgItem(client, IDC_TRANSLATION_BOX);
            pronunciation = ::GetDlgItem(client, IDC_PRONUNCIATION);
            return client && word && wordEdit && translation && pronunciation;
        });
    }

    // A dialog of the program: a question or a command's dialog.
    HWND WaitForDialog() const { return process_.WaitForDialog(); }

    bool Running() const { return process_.Running(); }
    bool WaitForEnd() const { return process_.WaitForEnd(); }

    LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return wl::testing::Send(hwnd, msg, wp, lp);
    }
    void Command(int id) const { wl::testing::SendCommand(frame, id); }

    // Types a word into the word box over its whole text, character by
    // character as a typist does (an empty word: Backspace over everything).
    void Type(const std::wstring& text) const {
        Send(wordEdit, EM_SETSEL, 0, -1);
        if (text.empty()) Send(wordEdit, WM_CHAR, VK_BACK, 1);
        for (wchar_t c : text) Send(wordEdit, WM_CHAR, c, 1);
    }
    // Selects a list line as a click does.
    void Select(int line) const { wl::testing::SelectComboRow(word, line); }
    std::vector<std::wstring> Rows() const { return wl::testing::ComboRows(word); }
    std::wstring Word() const { return wl::testing::Text(wordEdit); }
    std::wstring Translation() const { return wl::testing::Text(translation); }
    std::wstring Pronunciation() const { return wl::testing::Text(pronunciation); }
    std::wstring Caption() const { return wl::testing::Text(frame); }

    void Scroll(int code, int position = 0) const {
        HWND bar = ::GetDlgItem(client, IDC_SCROLL);
        Send(client, WM_VSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
    }

    // Closes the frame; the answer to a question, when one comes, is `yes`.
    void Close() const { ::PostMessageW(frame, WM_CLOSE, 0, 0); }
    // Our question boxes: IDOK is Yes (or OK), IDCANCEL is No.
    void Answer(HWND dialog, bool yes) const { wl::testing::PressButton(dialog, yes ? IDOK : IDCANCEL); }

    HWND frame = nullptr, client = nullptr, word = nullptr, wordEdit = nullptr, translation = nullptr,
         pronunciation = nullptr;

private:
    wl::testing::Process process_;
};

std::wstring Translated(const std::wstring& text) { return text + L"\r\n" + std::wstring(52, L'-') + L"\r\n"; }

class LexoraProcess : public ::testing::Test {
protected:
    // The prefix's own lx2000.ini is set aside while the suite runs.
    static void SetUpTestSuite() { savedIni_ = std::make_unique<wl::testing::SetAsideFile>(Ini().Path()); }
    static void TearDownTestSuite() { savedIni_.reset(); }

    void SetUp() override {
        folders_ = MakeFolders("lexora process test");
        ASSERT_TRUE(MakeDictionary(folders_, StandardSlots(), StandardEntries(), {"cat"}, {LastEntry()}));
        const std::string exe = wl::testing::WinePath(LEXORA_EXE);  // the build's program
        ASSERT_TRUE(::CopyFileA(exe.c_str(), (folders_.Program + "lexora.exe").c_str(), FALSE)) << exe;
        Ini().Remove();
        WriteDataFolders(folders_, Ini().Path());
    }
    void TearDown() override { RemoveFolder(folders_.Base); }

    TestFolders folders_;
    static std::unique_ptr<wl::testing::SetAsideFile> savedIni_;
};

std::unique_ptr<wl::testing::SetAsideFile> LexoraProcess::savedIni_;

TEST_F(LexoraProcess, FirstStartWithoutSettingsWritesProgramPathAndCreatesActionLog) {
    Ini().Remove();
    ::DeleteFileA(folders_.ActionLog.c_str());
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    EXPECT_EQ(ReadIni("CESTY", "Umisteni programu"), folders_.Program + "lexora.exe");
    EXPECT_NE(ReadIni("INDEX", "akce0.idx"), "<none>");
    EXPECT_EQ(FileSize(folders_.ActionLog), 18);
}

TEST_F(LexoraProcess, StartKeepsAnActionLogThatHasRecords) {
    long long before = FileSize(folders_.ActionLog);
    ASSERT_GT(before, 18);
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Close();
    ASSERT_TRUE(lexora.WaitForEnd());
    EXPECT_EQ(FileSize(folders_.ActionLog), before);
    EXPECT_EQ(ReadIni("INDEX", "akce1.idx"), "<none>");
}

TEST_F(LexoraProcess, StartByBareNameFindsItsFolderAndActionLog) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program, true));
    EXPECT_EQ(ReadIni("CESTY", "Umisteni programu"), folders_.Program + "lexora.exe");
    lexora.Type(L"zebra");
    ASSERT_FALSE(lexora.Rows().empty());
    EXPECT_EQ(lexora.Rows()[0], L"zebra");
    lexora.Command(197);  // undo the last command of the log: the added zebra
    EXPECT_TRUE(lexora.Rows().empty() || lexora.Rows()[0] != L"zebra");
    EXPECT_EQ(lexora.Translation(), L"");
    lexora.Command(198);  // redo
    ASSERT_FALSE(lexora.Rows().empty());
    EXPECT_EQ(lexora.Rows()[0], L"zebra");
    EXPECT_EQ(lexora.Translation(), Translated(L"zebra"));
}

TEST_F(LexoraProcess, UndoAndRedoOfAnEntryAddedMeanwhileShowInTheList) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"yak");
    const std::vector<std::wstring> without = {L"fill39", L"zebra"};
    ASSERT_EQ(lexora.Rows(), without);
    EXPECT_EQ(lexora.Translation(), L"");

    // Another program adds the entry to the same data and action log while
    // lexora runs; lexora shows it at the next lookup.
    ASSERT_TRUE(AddEntries(folders_, {{0, "yak", "jak", "jek"}}));
    lexora.Type(L"yak");
    const std::vector<std::wstring> with = {L"yak", L"zebra"};
    ASSERT_EQ(lexora.Rows(), with);
    EXPECT_EQ(lexora.Translation(), Translated(L"jak"));
    EXPECT_EQ(lexora.Pronunciation(), L"[jek]");

    // Undo takes back the last command of the log, that addition, and the
    // lookup window shows the word gone: its deleted node is where the list
    // starts, but no row. Redo brings it back.
    const std::vector<std::wstring> undone = {L"zebra"};
    lexora.Command(197);
    EXPECT_EQ(lexora.Word(), L"yak");
    EXPECT_EQ(lexora.Rows(), undone);
    EXPECT_EQ(lexora.Translation(), L"");
    EXPECT_EQ(lexora.Pronunciation(), L"");
    lexora.Command(198);
    EXPECT_EQ(lexora.Rows(), with);
    EXPECT_EQ(lexora.Translation(), Translated(L"jak"));
    EXPECT_EQ(lexora.Pronunciation(), L"[jek]");

    // One command a step: two undos take back the addition and the command
    // before it, the added zebra; one redo brings back only zebra.
    lexora.Command(197);
    lexora.Command(197);
    lexora.Type(L"zebra");
    EXPECT_EQ(lexora.Translation(), L"");
    lexora.Command(198);
    EXPECT_EQ(lexora.Translation(), Translated(L"zebra"));
    lexora.Type(L"yak");
    EXPECT_EQ(lexora.Rows(), undone);
    EXPECT_EQ(lexora.Translation(), L"");
    EXPECT_TRUE(lexora.Running());
}

TEST_F(LexoraProcess, FrameOpensAtSavedPositionWithMinimumSize) {
    WriteIni("POZICE", "Levy horni roh X", "30");
    WriteIni("POZICE", "Levy horni roh Y", "40");
    WriteIni("POZICE", "Sirka", "200");
    WriteIni("POZICE", "Vyska", "100");
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    RECT r;
    ::GetWindowRect(lexora.frame, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 310);
    EXPECT_EQ(r.bottom - r.top, 360);
}

TEST_F(LexoraProcess, ToolbarHoldsTheCommandsOfItsLettersInOrder) {
    WriteIni("JAZYKY", "Tlacitko2", "1x");  // starts with a digit: no button
    WriteIni("JAZYKY", "Tlacitko3", "f");
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    HWND bar = ::FindWindowExW(lexora.frame, nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_TRUE(bar);
    // "AXCDXQRXGBXIJKLXOP": 0 stands for a separator.
    const int expected[] = {199, 0, 208, 209, 0, 701, 702, 0, 211, 212, 604, 605, 606, 186,
                            0,   213, 115, 103, 215, 0, 224, 225};
    EXPECT_EQ(lexora.Send(bar, TB_BUTTONCOUNT), static_cast<LRESULT>(std::size(expected)));
    for (size_t i = 0; i < std::size(expected); ++i) {
        if (expected[i]) {
            EXPECT_EQ(lexora.Send(bar, TB_COMMANDTOINDEX, expected[i]), static_cast<LRESULT>(i)) << expected[i];
        }
    }
    EXPECT_EQ(lexora.Send(bar, TB_COMMANDTOINDEX, 603), -1);
}

TEST_F(LexoraProcess, TypingLooksUpAndRemembersTheWord) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"do");
    std::vector<std::wstring> rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], L"do");
    EXPECT_EQ(rows[1], L"dog");
    EXPECT_EQ(lexora.Translation(), Translated(L"d\u011Blat\r\n\u010Dinit"));
    EXPECT_EQ(lexora.Pronunciation(), Wide("[d\xFA]", 1250));

    lexora.Type(L"dog");
    rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], L"dog");
    EXPECT_EQ(rows[24], L"fill22");
    EXPECT_EQ(lexora.Translation(), Translated(L"pes"));
    EXPECT_EQ(lexora.Pronunciation(), L"[dog]");

    // A missing word: the list from the entry before its place, nothing shown,
    // nothing remembered.
    lexora.Type(L"dogx");
    ASSERT_FALSE(lexora.Rows().empty());
    EXPECT_EQ(lexora.Rows()[0], L"dog");
    EXPECT_EQ(lexora.Translation(), L"");
    EXPECT_EQ(lexora.Pronunciation(), L"");

    // A deleted word: nothing shown, and it is no row of the list.
    lexora.Type(L"cat");
    ASSERT_FALSE(lexora.Rows().empty());
    EXPECT_EQ(lexora.Rows()[0], L"do");
    EXPECT_EQ(lexora.Translation(), L"");

    lexora.Close();
    ASSERT_TRUE(lexora.WaitForEnd());
    EXPECT_EQ(ReadIni("HISTORY", "h0"), "dog");
    EXPECT_EQ(ReadIni("HISTORY", "h0i"), "0");
    EXPECT_EQ(ReadIni("HISTORY", "h1"), "do");
    EXPECT_EQ(ReadIni("HISTORY", "h2"), "");
    EXPECT_EQ(ReadIni("HISTORY", "h2i"), "500");
}

TEST_F(LexoraProcess, SelectingTheFirstOrLastLineSlidesTheList) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"dog");
    lexora.Select(0);  // "do" lies before: it comes in at the top
    std::vector<std::wstring> rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], L"do");
    EXPECT_EQ(rows[1], L"dog");
    EXPECT_EQ(rows[24], L"fill21");
    EXPECT_EQ(lexora.Send(lexora.word, CB_GETCURSEL), 1);
    EXPECT_EQ(lexora.Translation(), Translated(L"pes"));

    lexora.Select(24);  // fill21: fill22 comes in at the bottom
    rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], L"dog");
    EXPECT_EQ(rows[23], L"fill21");
    EXPECT_EQ(rows[24], L"fill22");
    EXPECT_EQ(lexora.Send(lexora.word, CB_GETCURSEL), 23);
    EXPECT_EQ(lexora.Word(), L"fill21");

    // Row 0 is the first live entry of the slot: nothing to slide.
    lexora.Type(L"");
    lexora.Select(0);
    rows = lexora.Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], L"do");
    EXPECT_EQ(lexora.Send(lexora.word, CB_GETCURSEL), 0);

    // Near the end of the slot the list is short; its last line never slides.
    lexora.Type(L"fill35");
    rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 6u);  // fill35..fill39, zebra
    lexora.Select(5);
    EXPECT_EQ(lexora.Rows(), rows);
    EXPECT_EQ(lexora.Translation(), Translated(L"zebra"));
}

TEST_F(LexoraProcess, ScrollingMovesTheListWithinTheSlot) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"dog");
    lexora.Scroll(SB_LINEDOWN);
    std::vector<std::wstring> rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], L"door");
    EXPECT_EQ(rows[24], L"fill23");
    lexora.Scroll(SB_LINEUP);
    lexora.Scroll(SB_LINEUP);
    rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], L"do");
    lexora.Scroll(SB_LINEUP);  // nothing lives before "do"
    EXPECT_EQ(lexora.Rows(), rows);

    // A move that ends refills the list from the key index, inside its range
    // wherever the thumb was dropped.
    for (int code : {SB_BOTTOM, SB_TOP, SB_PAGEDOWN}) {
        lexora.Scroll(code);
        lexora.Scroll(SB_ENDSCROLL);
        EXPECT_FALSE(lexora.Rows().empty()) << code;
    }
    lexora.Scroll(SB_THUMBPOSITION, 60000);
    lexora.Scroll(SB_ENDSCROLL);
    EXPECT_FALSE(lexora.Rows().empty());
    lexora.Scroll(SB_TOP);
    lexora.Scroll(SB_ENDSCROLL);
    rows = lexora.Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], L"do");

    // A short list at the end of the slot does not move down.
    lexora.Type(L"fill35");
    rows = lexora.Rows();
    ASSERT_EQ(rows.size(), 6u);
    lexora.Scroll(SB_LINEDOWN);
    EXPECT_EQ(lexora.Rows(), rows);
    EXPECT_TRUE(lexora.Running());
}

TEST_F(LexoraProcess, SettingsOutOfRangeGiveTheDefaults) {
    WriteIni("SMER", "Smer prekladu", "25");
    WriteIni("KOMM", "JAZ", "12");
    WriteIni("HISTORY", "h0", "dog");
    WriteIni("HISTORY", "h0i", "77");
    lex::TextLoader texts(::GetModuleHandleW(nullptr));
    texts.SetUiLanguage(1);
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    EXPECT_EQ(lexora.Caption(), L"Lexora - " + Wide(texts.LoadText(lex::FixedDictionaryTitleId(0)), 1250));
    EXPECT_TRUE(::FindWindowExW(lexora.frame, nullptr, STATUSCLASSNAMEW, nullptr));  // UI language 1
    lexora.Close();
    ASSERT_TRUE(lexora.WaitForEnd());
    EXPECT_EQ(ReadIni("SMER", "Smer prekladu"), "0");
    EXPECT_EQ(ReadIni("HISTORY", "h0"), "dog");
    EXPECT_EQ(ReadIni("HISTORY", "h0i"), "500");
}

TEST_F(LexoraProcess, DirectionLanguageAndTranslateBack) {
    lex::TextLoader texts(::GetModuleHandleW(nullptr));
    texts.SetUiLanguage(1);
    auto title = [&](int slot) {
        return L"Lexora - " + Wide(texts.LoadText(lex::FixedDictionaryTitleId(slot)), 1250);
    };
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    EXPECT_EQ(lexora.Caption(), title(0));
    lexora.Type(L"dog");
    // Translate back: the selected translation in the other direction ...
    lexora.Send(lexora.translation, EM_SETSEL, 0, 3);
    lexora.Command(115);
    EXPECT_EQ(lexora.Caption(), title(1));
    EXPECT_EQ(lexora.Word(), L"pes");
    EXPECT_EQ(lexora.Translation(), Translated(L"dog"));
    // ... and, with nothing selected, back to the word and slot of before.
    lexora.Command(115);
    EXPECT_EQ(lexora.Caption(), title(0));
    EXPECT_EQ(lexora.Word(), L"dog");
    EXPECT_EQ(lexora.Translation(), Translated(L"pes"));

    // The separator line is no translation.
    lexora.Send(lexora.translation, EM_SETSEL, 5, 57);
    lexora.Command(115);
    EXPECT_EQ(lexora.Caption(), title(0));

    lexora.Command(213);  // F3: the other direction
    EXPECT_EQ(lexora.Caption(), title(1));
    lexora.Type(L"pes");
    EXPECT_EQ(lexora.Translation(), Translated(L"dog"));
    lexora.Command(212);  // German, the direction kept: Czech-German
    EXPECT_EQ(lexora.Caption(), title(3));
    EXPECT_EQ(lexora.Translation(), Translated(L"Hund"));
    lexora.Close();
    ASSERT_TRUE(lexora.WaitForEnd());
    EXPECT_EQ(ReadIni("SMER", "Smer prekladu"), "3");
}

TEST_F(LexoraProcess, HistoryTakesAWordBackWithItsSlot) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"dog");
    lexora.Command(213);
    lexora.Type(L"\u010Daj");
    ::PostMessageW(lexora.frame, WM_COMMAND, CM_HISTORY, 0);  // F2: the dialog is modal
    HWND dialog = lexora.WaitForDialog();
    ASSERT_TRUE(dialog);
    HWND list = ::GetDlgItem(dialog, IDC_HISTORY_LIST);
    ASSERT_EQ(lexora.Send(list, LB_GETCOUNT), 3);  // čaj, dog, do
    lexora.Send(list, LB_SETCURSEL, 1);
    lexora.Send(dialog, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    lexora.Answer(dialog, true);  // OK
    // The frame shows the entry once the dialog's command has ended.
    wl::testing::WaitFor([&] { return lexora.Translation() == Translated(L"pes"); });
    EXPECT_EQ(lexora.Word(), L"dog");
    EXPECT_EQ(lexora.Translation(), Translated(L"pes"));
    lexora.Close();
    ASSERT_TRUE(lexora.WaitForEnd());
    EXPECT_EQ(ReadIni("SMER", "Smer prekladu"), "0");
}

TEST_F(LexoraProcess, CopyPutsTheEightBitAndTheUnicodeText) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    ::SetForegroundWindow(lexora.frame);
    // Two translation lines copied from the translation box stay whole.
    lexora.Type(L"do");
    lexora.Send(lexora.translation, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // focus by a click
    lexora.Send(lexora.translation, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    lexora.Send(lexora.translation, EM_SETSEL, 0, 12);
    lexora.Command(208);
    auto copied = ClipboardTexts();
    EXPECT_EQ(copied.first, "d\xEClat\r\n\xE8init");
    EXPECT_EQ(copied.second, L"d\u011Blat\r\n\u010Dinit");

    lexora.Command(213);  // slot 1: Czech-English
    lexora.Type(L"\u010Daj");
    EXPECT_EQ(lexora.Translation(), Translated(L"tea"));
    lexora.Send(lexora.word, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    lexora.Send(lexora.word, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    lexora.Send(lexora.word, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    lexora.Send(lexora.word, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    lexora.Command(208);
    copied = ClipboardTexts();
    EXPECT_EQ(copied.first, "\xE8" "aj");
    EXPECT_EQ(copied.second, L"\u010Daj");
}

TEST_F(LexoraProcess, PastingARussianWordGivesItsCodePageBytes) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Command(603);  // Russian: slot 4
    const std::wstring word = L"\u0434\u043E\u043C";  // дом
    ASSERT_TRUE(wl::testing::PutClipboardUnicode(word));
    lexora.Command(209);
    EXPECT_EQ(lexora.Word(), word);
    ASSERT_FALSE(lexora.Rows().empty());
    EXPECT_EQ(lexora.Rows()[0], word);
    EXPECT_EQ(lexora.Translation(), Translated(L"d\u016Fm"));
}

TEST_F(LexoraProcess, ClosingAsksWhenConfirmationIsSet) {
    WriteIni("POZICE", "Konec", "1");
    WriteIni("HISTORIE", "Maximalni pocet pamatovanych slov", "3");
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"dog");
    lexora.Command(213);

    lexora.Close();
    HWND question = lexora.WaitForDialog();
    ASSERT_TRUE(question);
    lexora.Answer(question, false);
    EXPECT_TRUE(wl::testing::WaitForGone(question));
    EXPECT_TRUE(lexora.Running());
    EXPECT_TRUE(::IsWindow(lexora.frame));
    EXPECT_EQ(ReadIni("SMER", "Smer prekladu"), "<none>");
    EXPECT_EQ(ReadIni("KONFIGURACE", "AKTIVITA TASTRIXU"), "0");  // written before the question

    lexora.Close();
    question = lexora.WaitForDialog();
    ASSERT_TRUE(question);
    lexora.Answer(question, true);
    ASSERT_TRUE(lexora.WaitForEnd());
    EXPECT_EQ(ReadIni("SMER", "Smer prekladu"), "1");
    EXPECT_EQ(ReadIni("HISTORY", "h0"), "dog");
    EXPECT_EQ(ReadIni("HISTORY", "h0i"), "0");
    EXPECT_EQ(ReadIni("HISTORY", "h1"), "do");  // typed on the way to "dog"
    for (int j = 2; j < 100; ++j) {
        std::string key = "h" + std::to_string(j);
        EXPECT_EQ(ReadIni("HISTORY", key.c_str()), "") << key;
        EXPECT_EQ(ReadIni("HISTORY", (key + "i").c_str()), "500") << key;
    }
}

}  // namespace
