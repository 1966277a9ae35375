// ts.exe in normal mode as its own process, on a ts2000.ini of the test (the
// Windows directory's own is set aside and put back), with the stand-ins of
// the hook library and the resident program: quick-switch buttons, activation,
// the poll of the resident program's reports, the single-instance check, the
// notification-area icon, and the settings, hot-key and about dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/keyboard/keyboard_file.h"
#include "core/keyboard/switch_file.h"
#include "ts/src/ts_ids.h"
#include "ts_program_fixture.h"
#include "winlib/testing/process_driver.h"
#include "winlib/testing/scoped_replace.h"

namespace {

using ts_test::Bytes;
using ts_test::ReadBytes;
using ts_test::WriteBytes;
using wl::testing::Process;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class TsProductTest : public ts_test::TsProgramFixture {
protected:
    TsProductTest() : TsProgramFixture("ts product") {}

    void SetUp() override {
        TsProgramFixture::SetUp();
        if (HasFatalFailure()) return;
        for (const char* name : {"demo", "second"}) {
            ASSERT_TRUE(::CopyFileA(DemoFile("tsb").c_str(), (keyboards_ + name + ".tsb").c_str(), FALSE));
            ASSERT_TRUE(::CopyFileA(DemoFile("ini").c_str(), (keyboards_ + name + ".ini").c_str(), FALSE));
        }
        // The second layout types 'z' on the Q key, so the two can be told apart.
        Bytes second = ReadBytes(keyboards_ + "second.tsb");
        second[lex::keyboard::kMainKeysOffset + lex::keyboard::LayoutKey::kSize * 16 + 2] = 'z';
        WriteBytes(keyboards_ + "second.tsb", second);

        aside_ = std::make_unique<wl::testing::SetAsideFile>(ini_.Path());
        ini_.Write("Konfigurace", "Komunikacni jazyk", "0");
        ini_.Write("Konfigurace", "Ukoncit", "0");
        ini_.Write("Konfigurace", "Posledni", "2");
        ini_.Write("CESTY", "Umisteni programu", folder_);
        for (int i = 0; i < 10; ++i) {
            const std::string n = std::to_string(i);
            ini_.Write("RYCHLOTLACITKA", ("Tlacitko " + n + " jmeno").c_str(), "K" + n);
            ini_.Write("RYCHLOTLACITKA", ("Tlacitko " + n + " nazev").c_str(), "Keyboard " + n);
            ini_.Write("RYCHLOTLACITKA", ("Tlacitko " + n + " data").c_str(),
                       keyboards_ + (i == 3 ? "second" : "demo"));
        }
    }

    void TearDown() override {
        TsProgramFixture::TearDown();
        aside_.reset();
    }

    // Puts a stand-in beside ts.exe under the name ts looks for.
    void PutStandIn(const char* built, const char* name) {
        ASSERT_TRUE(::CopyFileA(wl::testing::WinePath(built).c_str(), (folder_ + name).c_str(), FALSE));
    }

    void Start() {
        ASSERT_TRUE(process_.Start(folder_, "ts.exe"));
        main_ = process_.WaitForDialog(IDC_ALLOW_CHANGES);
        ASSERT_NE(main_, nullptr);
    }
    void End() {
        wl::testing::PostCommand(main_, IDC_END);
        ASSERT_TRUE(process_.WaitForEnd());
    }

    std::wstring Title() const { return wl::testing::Text(main_); }
    std::wstring QKey() const { return ItemText(IDC_MAIN_KEY_FIRST + 16); }
    std::string Read(const char* section, const char* key) const { return ini_.Read(section, key); }
    // Waits for the next ticks of ts's one-second timer to have run.
    void WaitTicks(int ticks) const { ::Sleep(static_cast<DWORD>(1000 * ticks + 300)); }

    // A message box of ts (a dialog with only an OK button): its text.
    std::wstring AnswerBox() const {
        HWND box = process_.WaitForDialog(IDOK);
        if (!box) return L"<none>";
        std::wstring text;
        for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (wl::testing::ClassOf(c) == L"Static" && !wl::testing::Text(c).empty()) text = wl::testing::Text(c);
        wl::testing::AnswerMessageBox(box, IDOK);
        return text;
    }

    wl::testing::ProfileIniFile ini_{wl::testing::WindowsDirectoryFile("ts2000.ini")};
    std::unique_ptr<wl::testing::SetAsideFile> aside_;
};

// Start on "Posledni" 2: its title, its button on, its layout, the switch
// file's place; a stored name "XXXXX" is the default name of the UI language;
// a quick-switch button shows its layout; "Posledni" outside 0..9 gives 0.
TEST_F(TsProductTest, StartShowsTheLastQuickButtonAndButtonsSwitch) {
    ini_.Write("RYCHLOTLACITKA", "Tlacitko 2 nazev", "XXXXX");
    Start();
    EXPECT_EQ(Title(), L"Tastrix - Hungarian keyboard");
    EXPECT_EQ(ItemText(IDC_QUICK_BUTTON_FIRST + 2), L"K2");
    EXPECT_EQ(QKey(), L"q");
    EXPECT_EQ(Read("PREPINAC", "Prepinaci soubor"), folder_ + "prepinac.tsc");
    wl::testing::Notify(Item(IDC_QUICK_BUTTON_FIRST + 3), BN_CLICKED);
    EXPECT_EQ(Title(), L"Tastrix - Keyboard 3");
    EXPECT_EQ(QKey(), L"z");
    // Keyboard off: choosing a button writes nothing of the active keyboard.
    EXPECT_EQ(Read("Klavesnice", "AktTlac"), "<none>");
    // The tray menu's command for button 1 does the same.
    wl::testing::SendCommand(main_, CM_TRAY_KEYBOARD_FIRST + 1);
    EXPECT_EQ(Title(), L"Tastrix - Keyboard 1");
    End();
    EXPECT_EQ(Read("Konfigurace", "Posledni"), "1");

    for (const char* bad : {"-1", "10", "99"}) {
        ini_.Write("Konfigurace", "Posledni", bad);
        Start();
        EXPECT_EQ(Title(), L"Tastrix - Keyboard 0") << bad;
        End();
    }
}

// Activation: the active keyboard and button are written, the counter counts
// each installation of the run, the hook library is loaded; off and on again.
TEST_F(TsProductTest, ActivationWritesTheKeysAndLoadsTheHookLibrary) {
    PutStandIn(TS_HOOK_LIBRARY, "tsdll.dll");
    Start();
    EXPECT_EQ(ItemText(IDC_ACTIVATE), L"Inacti&ve");
    wl::testing::SendCommand(main_, IDC_ACTIVATE);
    EXPECT_EQ(ItemText(IDC_ACTIVATE), L"Acti&ve");
    EXPECT_EQ(Read("Klavesnice", "Aktualni"), keyboards_ + "demo.tsb");
    EXPECT_EQ(Read("Klavesnice", "AktTlac"), "2");
    EXPECT_EQ(Read("Klavesnice", "pocitadlo"), "1");
    const std::string log = ReadBytes(folder_ + "tsdll.log");
    EXPECT_NE(log.find("loaded " + std::to_string(process_.Id()) + "\n"), std::string::npos) << log;
    wl::testing::SendCommand(main_, IDC_ACTIVATE);
    EXPECT_EQ(ItemText(IDC_ACTIVATE), L"Inacti&ve");
    wl::testing::SendCommand(main_, IDC_ACTIVATE);
    EXPECT_EQ(ItemText(IDC_ACTIVATE), L"Acti&ve");
    EXPECT_EQ(Read("Klavesnice", "pocitadlo"), "2");
    // With the keyboard on, a quick-switch button becomes the active one.
    wl::testing::Notify(Item(IDC_QUICK_BUTTON_FIRST + 3), BN_CLICKED);
    EXPECT_EQ(Read("Klavesnice", "AktTlac"), "3");
    EXPECT_EQ(Read("Klavesnice", "Aktualni"), keyboards_ + "second.tsb");
    End();
}

// No library, or one without the hook procedure: the message, and the
// keyboard stays off.
TEST_F(TsProductTest, FailedActivationLeavesTheKeyboardOff) {
    Start();
    wl::testing::PostCommand(main_, IDC_ACTIVATE);
    EXPECT_EQ(AnswerBox(), L"nemohu nahrat");
    EXPECT_TRUE(wl::testing::WaitFor([&] { return ItemText(IDC_ACTIVATE) == L"Inacti&ve"; }));
    End();

    PutStandIn(TS_HOOK_LIBRARY_WITHOUT_HOOK, "tsdll.dll");
    ini_.Write("Konfigurace", "Aktivovat", "1");  // at start
    ASSERT_TRUE(process_.Start(folder_, "ts.exe"));
    EXPECT_EQ(AnswerBox(), L"nemohu pristupnit k dll");
    main_ = process_.WaitForDialog(IDC_ALLOW_CHANGES);
    ASSERT_NE(main_, nullptr);
    EXPECT_TRUE(wl::testing::WaitFor([&] { return ItemText(IDC_ACTIVATE) == L"Inacti&ve"; }));
    // Off: the poll does not follow reports.
    ini_.Write("Klavesnice", "AktTlac", "3");
    WaitTicks(2);
    EXPECT_EQ(Title(), L"Tastrix - Keyboard 2");
    End();
}

// The poll while the keyboard is on: "ne_exs", a reported button, and
// reports that name no button.
TEST_F(TsProductTest, PollFollowsTheResidentProgramsReports) {
    PutStandIn(TS_HOOK_LIBRARY, "tsdll.dll");
    Start();
    wl::testing::SendCommand(main_, IDC_ACTIVATE);
    ASSERT_EQ(ItemText(IDC_ACTIVATE), L"Acti&ve");
    ini_.Write("Klavesnice", "Aktualni", "ne_exs");
    EXPECT_TRUE(wl::testing::WaitFor([&] { return Title() == L"Tastrix - Inactive - Temporarily"; }));
    ini_.Write("Klavesnice", "Aktualni", keyboards_ + "second.tsb");
    ini_.Write("Klavesnice", "AktTlac", "3");
    EXPECT_TRUE(wl::testing::WaitFor([&] { return Title() == L"Tastrix - Keyboard 3"; }));
    EXPECT_EQ(QKey(), L"z");
    for (const char* bad : {"-1", "99"}) {
        ini_.Write("Klavesnice", "AktTlac", bad);
        WaitTicks(2);
        EXPECT_EQ(Title(), L"Tastrix - Keyboard 3") << bad;
        EXPECT_EQ(QKey(), L"z") << bad;
    }
    // Edit mode turns the keyboard off: no report replaces the layout then.
    wl::testing::SendCommand(main_, IDC_ALLOW_CHANGES);
    EXPECT_EQ(ItemText(IDC_ACTIVATE), L"Inacti&ve");
    ini_.Write("Klavesnice", "AktTlac", "0");
    WaitTicks(2);
    EXPECT_EQ(Title(), L"Tastrix - Keyboard 3");
    wl::testing::SendCommand(main_, IDC_ALLOW_CHANGES);
    End();
}

// A window of the resident program at start: the message, then the end at
// the first tick, with nothing written to ts2000.ini, no icon, and the
// layout files untouched (the running program's unsaved assignments in the
// working copy stay).
TEST_F(TsProductTest, SecondInstanceEndsWithoutWriting) {
    Process resident;
    PutStandIn(TS_RESIDENT_PROGRAM, "tastrix.exe");
    ASSERT_TRUE(resident.Start(folder_, "tastrix.exe"));
    ASSERT_NE(resident.WaitForTopWindow(nullptr, L"Tastrix 2000"), nullptr);
    ini_.Write("Konfigurace", "Aktivovat", "1");
    PutStandIn(TS_HOOK_LIBRARY, "tsdll.dll");
    const std::string layout = keyboards_ + "demo";  // the layout of "Posledni" 2
    const Bytes unsaved = "[RUN]\r\n0_12_0=unsaved.exe\r\n";
    WriteBytes(layout + ".in_", unsaved);
    const Bytes before = ReadBytes(ini_.Path());
    const Bytes layoutBefore = ReadBytes(layout + ".tsb") + ReadBytes(layout + ".ini");
    ASSERT_TRUE(process_.Start(folder_, "ts.exe"));
    EXPECT_EQ(AnswerBox(), L"Cannot Startup the Tastrix 2000 Program");
    EXPECT_TRUE(process_.WaitForEnd());
    EXPECT_EQ(ReadBytes(ini_.Path()), before);
    EXPECT_EQ(ReadBytes(layout + ".in_"), unsaved);
    EXPECT_TRUE(ReadBytes(layout + ".tsb") + ReadBytes(layout + ".ini") == layoutBefore);
    EXPECT_FALSE(Exists(folder_ + "tsdll.log"));
    ::PostMessageW(resident.WaitForTopWindow(nullptr, L"Tastrix 2000"), WM_CLOSE, 0, 0);
    EXPECT_TRUE(resident.WaitForEnd());
}

// "Minimalizovny": hidden after the first tick; the icon's double click
// shows the window again; the hide command hides it.
TEST_F(TsProductTest, HiddenAtStartAndShownFromTheIcon) {
    ini_.Write("Konfigurace", "Minimalizovny", "1");
    Start();
    EXPECT_TRUE(wl::testing::WaitFor([&] { return !::IsWindowVisible(main_); }));
    wl::testing::Send(main_, 1034, 129, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(::IsWindowVisible(main_));
    wl::testing::SendCommand(main_, CM_HIDE_WINDOW);
    EXPECT_FALSE(::IsWindowVisible(main_));
    wl::testing::SendCommand(main_, CM_SHOW_WINDOW);
    EXPECT_TRUE(::IsWindowVisible(main_));
    End();
}

// The settings dialog of a running ts (the setup button), and its rows' ids.
HWND OpenSettings(const Process& process, HWND main) {
    wl::testing::PostCommand(main, IDC_SETUP);
    return process.WaitForDialog(IDC_LANGUAGE);
}
int RowId(int row, int offset) { return IDC_ROW_FIRST + IDC_ROW_STEP * row + offset; }
void SetCheck(HWND dialog, int id, bool on) {
    wl::testing::Send(::GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}

// Hot keys: "Standard" on entries 3 and 10, a captured key with Shift on
// entry 0; the file always 44 bytes with the other entries kept, starting
// from defined entries when there was no file. Cancel of the settings
// dialog writes nothing to ts2000.ini.
TEST_F(TsProductTest, HotKeysGoToTheSwitchFile) {
    Start();
    const std::string file = folder_ + "prepinac.tsc";
    ASSERT_FALSE(Exists(file));
    const Bytes iniBefore = ReadBytes(ini_.Path());
    HWND settings = OpenSettings(process_, main_);
    ASSERT_NE(settings, nullptr);
    struct Case {
        int command;
        const wchar_t* label;
    } cases[] = {{RowId(3, IDC_ROW_SWITCH), L"Standard CTRL+ALT+F4 Switch Association"},
                 {IDC_INACTIVATION_SWITCH, L"Standard CTRL+ALT+F12 Switch Association"}};
    for (const Case& c : cases) {
        wl::testing::PostCommand(settings, c.command);
        HWND hk = process_.WaitForDialog(IDC_STANDARD);
        ASSERT_NE(hk, nullptr);
        EXPECT_EQ(wl::testing::Text(::GetDlgItem(hk, IDC_STANDARD_LABEL)), c.label);
        wl::testing::SendCommand(hk, IDC_STANDARD);
        wl::testing::PressButton(hk, IDOK);
        ASSERT_TRUE(wl::testing::WaitForGone(hk));
    }
    Bytes expected;
    for (int i = 0; i < 11; ++i) expected += Bytes("\x00\x00\xFF\xFF", 4);
    expected.replace(12, 4, Bytes("\x06\x00\x3E\x00", 4));
    expected.replace(40, 4, Bytes("\x06\x00\x58\x00", 4));
    EXPECT_EQ(ReadBytes(file), expected);

    // Entry 0: Shift and the key captured from a key message.
    wl::testing::PostCommand(settings, RowId(0, IDC_ROW_SWITCH));
    HWND hk = process_.WaitForDialog(IDC_STANDARD);
    ASSERT_NE(hk, nullptr);
    SetCheck(hk, IDC_HOT_KEY_SHIFT, true);
    wl::testing::PostCommand(hk, IDC_CAPTURE);
    ::PostMessageW(::GetDlgItem(hk, IDC_CAPTURE), WM_KEYDOWN, 'A', (static_cast<LPARAM>(0x1E) << 16) | 1);
    EXPECT_TRUE(wl::testing::WaitFor(
        [&] { return wl::testing::Text(::GetDlgItem(hk, IDC_CAPTURE_STATUS)) == L"Associated!"; }));
    wl::testing::PressButton(hk, IDOK);
    ASSERT_TRUE(wl::testing::WaitForGone(hk));
    expected.replace(0, 4, Bytes("\x01\x00\x1E\x00", 4));
    EXPECT_EQ(ReadBytes(file), expected);

    // A switch file that cannot be written: the message, and the dialog stays.
    ini_.Write("PREPINAC", "Prepinaci soubor", root_ + "no such folder\\prepinac.tsc");
    wl::testing::PostCommand(settings, RowId(5, IDC_ROW_SWITCH));
    hk = process_.WaitForDialog(IDC_STANDARD);
    ASSERT_NE(hk, nullptr);
    wl::testing::SendCommand(hk, IDC_STANDARD);
    wl::testing::PostCommand(hk, IDOK);
    HWND box = wl::testing::WaitForWindow([&] {
        return wl::testing::FindTopWindow(process_.Id(), [](HWND w) {
            return ::FindWindowExW(w, nullptr, L"Static", L"write1") != nullptr;
        });
    });
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(wl::testing::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(::IsWindow(hk));
    wl::testing::PressButton(hk, IDCANCEL);
    ASSERT_TRUE(wl::testing::WaitForGone(hk));
    EXPECT_EQ(ReadBytes(file), expected);
    ini_.Write("PREPINAC", "Prepinaci soubor", file);

    wl::testing::PressButton(settings, IDCANCEL);
    ASSERT_TRUE(wl::testing::WaitForGone(settings));
    EXPECT_EQ(ReadBytes(ini_.Path()), iniBefore);
    End();
}

// Settings OK: every key of the dialog, names cut to their sizes; the
// restart question after a language change only, and its Yes starts the
// resident program with ts ending.
TEST_F(TsProductTest, SettingsOkWritesEveryKeyAndOffersTheRestart) {
    PutStandIn(TS_RESIDENT_PROGRAM, "tastrix.exe");
    Start();
    // Unchanged: no question.
    HWND settings = OpenSettings(process_, main_);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(wl::testing::Text(::GetDlgItem(settings, RowId(4, IDC_ROW_NAME))), L"Keyboard 4");
    EXPECT_EQ(wl::testing::ComboRows(::GetDlgItem(settings, IDC_LANGUAGE)).at(4), L"Russian(\u0420\u0443\u0441\u0441\u043A\u0438\u0439)");
    EXPECT_EQ(wl::testing::ComboRows(::GetDlgItem(settings, RowId(0, IDC_ROW_LAYOUT))).at(0), L"Inactive");
    wl::testing::PostCommand(settings, IDOK);
    ASSERT_TRUE(wl::testing::WaitForGone(settings));
    wl::testing::Send(main_, WM_NULL);
    EXPECT_EQ(process_.FindDialog(IDYES), nullptr);
    EXPECT_EQ(Read("Konfigurace", "Ukladat"), "1");
    EXPECT_EQ(Read("Konfigurace", "Aktivovat"), "0");
    EXPECT_EQ(Read("FONT", "lfHeight"), "-13");

    settings = OpenSettings(process_, main_);
    ASSERT_NE(settings, nullptr);
    ::SetWindowTextW(::GetDlgItem(settings, RowId(4, IDC_ROW_SHORT_NAME)), L"ABCDEFG");
    ::SetWindowTextW(::GetDlgItem(settings, RowId(4, IDC_ROW_NAME)), std::wstring(40, L'n').c_str());
    wl::testing::SelectComboRow(::GetDlgItem(settings, RowId(4, IDC_ROW_LAYOUT)), 1);
    wl::testing::SelectComboRow(::GetDlgItem(settings, IDC_LANGUAGE), 3);
    SetCheck(settings, IDC_HIDE_AT_START, true);
    SetCheck(settings, IDC_ASK_TO_FINISH, true);
    wl::testing::PostCommand(settings, IDOK);
    HWND question = process_.WaitForDialog(IDYES);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(Read("RYCHLOTLACITKA", "Tlacitko 4 jmeno"), "ABCD");
    EXPECT_EQ(Read("RYCHLOTLACITKA", "Tlacitko 4 nazev"), std::string(29, 'n'));
    EXPECT_EQ(Read("RYCHLOTLACITKA", "Tlacitko 4 WindowsKlavesnice"), "0");
    EXPECT_EQ(Read("RYCHLOTLACITKA", "Tlacitko 5 WindowsKlavesnice"), "-1");
    EXPECT_EQ(Read("RYCHLOTLACITKA", "Tlacitko 3 data"), keyboards_ + "second");
    EXPECT_EQ(Read("Konfigurace", "Komunikacni jazyk"), "3");
    EXPECT_EQ(Read("Konfigurace", "Minimalizovny"), "1");
    EXPECT_EQ(Read("Konfigurace", "Ukoncit"), "1");
    EXPECT_EQ(ItemText(IDC_QUICK_BUTTON_FIRST + 4), L"ABCD");
    ASSERT_TRUE(wl::testing::AnswerMessageBox(question, IDYES));
    EXPECT_TRUE(process_.WaitForEnd());
    EXPECT_TRUE(wl::testing::WaitFor([&] { return Exists(folder_ + "tastrix.started"); }));
    EXPECT_NE(ReadBytes(folder_ + "tastrix.started").find("\"" + folder_ + "tastrix.exe\""), std::string::npos);
    HWND resident = wl::testing::WaitForWindow([] { return ::FindWindowW(nullptr, L"Tastrix 2000"); });
    if (resident) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(resident, &pid);
        ::PostMessageW(resident, WM_CLOSE, 0, 0);
        HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
        if (h) {
            ::WaitForSingleObject(h, wl::testing::kTimeoutMs);
            ::CloseHandle(h);
        }
    }
}

// About box and licence viewer: line ends, a last line without a line feed,
// an empty and a missing file, a text longer than an edit's usual limit, and
// the texts by UI language.
TEST_F(TsProductTest, AboutBoxAndLicenceViewer) {
    const std::string licence = folder_ + "licence.txt";
    const std::string longLine(200, 'x');
    std::string longText, longShown;
    for (int i = 0; i < 300; ++i) {
        longText += longLine + "\n";
        longShown += longLine + "\r\n";
    }
    struct Case {
        const char* language;
        Bytes file;  // "<missing>": no file
        std::string shown;
        const wchar_t* rights;
        const wchar_t* title;
    } cases[] = {
        {"0", "one\r\ntwo\r\n", "one\r\ntwo\r\n", L"All rights reserved.", L"Licence Agreement"},
        {"0", "one\ntwo", "one\r\ntwo", L"All rights reserved.", L"Licence Agreement"},
        {"0", "", "", L"All rights reserved.", L"Licence Agreement"},
        {"0", "<missing>", "error opening file", L"All rights reserved.", L"Licence Agreement"},
        {"0", longText, longShown, L"All rights reserved.", L"Licence Agreement"},
        {"8", "a\n", "a\r\n", L"V\u0161echna pr\u00E1va vyhrazena.", L"Licen\u010Dn\u00ED ujedn\u00E1n\u00ED..."},
        {"2", "a\n", "a\r\n", L"Vsechna prava vyhrazena.", L"Licencni ujednani"},
    };
    std::string language;
    for (const Case& c : cases) {
        if (c.file == "<missing>") ::DeleteFileA(licence.c_str());
        else WriteBytes(licence, c.file);
        if (language != c.language) {
            if (!language.empty()) End();
            language = c.language;
            ini_.Write("Konfigurace", "Komunikacni jazyk", language);
            Start();
        }
        wl::testing::PostCommand(main_, CM_ABOUT);
        HWND about = process_.WaitForDialog(IDC_RIGHTS);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(wl::testing::Text(::GetDlgItem(about, IDC_RIGHTS)), c.rights);
        wl::testing::PostCommand(about, IDC_LICENCE);
        HWND view = process_.WaitForDialog(IDC_VIEW_TEXT);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(wl::testing::Text(view), c.title);
        const std::wstring shown = wl::testing::Text(::GetDlgItem(view, IDC_VIEW_TEXT));
        EXPECT_EQ(shown, std::wstring(c.shown.begin(), c.shown.end())) << c.language << " " << c.file.size();
        wl::testing::PressButton(view, IDOK);
        ASSERT_TRUE(wl::testing::WaitForGone(view));
        wl::testing::PressButton(about, IDOK);
        ASSERT_TRUE(wl::testing::WaitForGone(about));
    }
    End();
}

}  // namespace
