// ts.exe in normal mode as its own process, on a ts2000.ini of the test (the
// Windows directory's own is set aside and put back), with the stand-ins of
// the hook library and the resident program: quick-switch buttons, activation,
// the poll of the resident program's reports, the single-instance check, the
// notification-area icon, and the settings, hot-key and about dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ts/keyboard/keyboard_file.h"
#include "ts/keyboard/switch_file.h"
#include "ts_ids.h"
#include "winlib/testing/process_driver.h"
#include "winlib/testing/scoped_replace.h"

namespace {

using wl::testing::Process;
using Bytes = std::string;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class TsProductTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "ts product " + std::to_string(::GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        folder_ = root_ + "ts program\\";
        keyboards_ = root_ + "keyboards\\";
        ::CreateDirectoryA(root_.c_str(), nullptr);
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        ::CreateDirectoryA(keyboards_.c_str(), nullptr);
        ASSERT_TRUE(::CopyFileA(wl::testing::WinePath(TS_EXE).c_str(), (folder_ + "ts.exe").c_str(), FALSE));
        const std::string demo = wl::testing::WinePath(TS_DEMO_DATA_DIR) + "\\demo.";
        for (const char* name : {"demo", "second"}) {
            ASSERT_TRUE(::CopyFileA((demo + "tsb").c_str(), (keyboards_ + name + ".tsb").c_str(), FALSE));
            ASSERT_TRUE(::CopyFileA((demo + "ini").c_str(), (keyboards_ + name + ".ini").c_str(), FALSE));
        }
        // The second layout types 'z' on the Q key, so the two can be told apart.
        Bytes second = ReadBytes(keyboards_ + "second.tsb");
        second[ts::kMainKeysOffset + ts::LayoutKey::kSize * 16 + 2] = 'z';
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
        if (process_.Running()) {
            wl::testing::PostCommand(main_, IDC_END);
            process_.WaitForEnd(5000);
        }
        aside_.reset();
        for (const std::string& dir : {folder_, keyboards_}) {
            WIN32_FIND_DATAA found;
            HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &found);
            if (h == INVALID_HANDLE_VALUE) continue;
            do {
                ::DeleteFileA((dir + found.cFileName).c_str());
            } while (::FindNextFileA(h, &found));
            ::FindClose(h);
            ::RemoveDirectoryA(dir.c_str());
        }
        ::RemoveDirectoryA(root_.c_str());
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

    HWND Item(int id) const { return ::GetDlgItem(main_, id); }
    std::wstring ItemText(int id) const { return wl::testing::Text(Item(id)); }
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

    std::string root_, folder_, keyboards_;
    wl::testing::IniFile ini_{wl::testing::WindowsDirectoryFile("ts2000.ini")};
    std::unique_ptr<wl::testing::SetAsideFile> aside_;
    Process process_;
    HWND main_ = nullptr;
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
// the first tick, with nothing written to ts2000.ini and no icon.
TEST_F(TsProductTest, SecondInstanceEndsWithoutWriting) {
    Process resident;
    PutStandIn(TS_RESIDENT_PROGRAM, "tastrix.exe");
    ASSERT_TRUE(resident.Start(folder_, "tastrix.exe"));
    ASSERT_NE(resident.WaitForTopWindow(nullptr, L"Tastrix 2000"), nullptr);
    ini_.Write("Konfigurace", "Aktivovat", "1");
    PutStandIn(TS_HOOK_LIBRARY, "tsdll.dll");
    const Bytes before = ReadBytes(ini_.Path());
    ASSERT_TRUE(process_.Start(folder_, "ts.exe"));
    EXPECT_EQ(AnswerBox(), L"Cannot Startup the Tastrix 2000 Program");
    EXPECT_TRUE(process_.WaitForEnd());
    EXPECT_EQ(ReadBytes(ini_.Path()), before);
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

}  // namespace
