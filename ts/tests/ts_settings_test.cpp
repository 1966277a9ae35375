// The settings dialog and the keyboard dialog's notification-area menu in
// this process, on a ts2000.ini of the test (the Windows directory's own is
// set aside and put back): a new layout copied from another, a file another
// button uses, the button font, and the tray menu's names.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "core/files/testing/faulty_file_system.h"
#include "ts/src/ts_keyboard_dialog.h"
#include "ts/src/ts_program.h"
#include "ts/src/ts_settings_dialogs.h"
#include "ts/src/ts_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/testing.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

namespace {

using Bytes = std::string;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int RowId(int row, int offset) { return IDC_ROW_FIRST + IDC_ROW_STEP * row + offset; }

class TsSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "ts_settings_test_" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(dir_.c_str(), nullptr);
        char demo[MAX_PATH] = {};
        ::GetFullPathNameA(TS_DEMO_DATA_DIR "/demo.tsb", MAX_PATH, demo, nullptr);
        std::string ini(demo);
        ini.replace(ini.size() - 3, 3, "ini");
        ::CopyFileA(demo, (dir_ + "cz.tsb").c_str(), FALSE);
        ::CopyFileA(ini.c_str(), (dir_ + "cz.ini").c_str(), FALSE);
        ini_.Write("Konfigurace", "Komunikacni jazyk", "0");
        for (int i = 0; i < 10; ++i) {
            const std::string n = std::to_string(i);
            ini_.Write("RYCHLOTLACITKA", ("Tlacitko " + n + " jmeno").c_str(), "K" + n);
            ini_.Write("RYCHLOTLACITKA", ("Tlacitko " + n + " nazev").c_str(), i == 7 ? "XXXXX" : "Name " + n);
            ini_.Write("RYCHLOTLACITKA", ("Tlacitko " + n + " data").c_str(), dir_ + (i == 5 ? "cz" : "none"));
        }
        program_.Texts().SetLanguage(0);
    }
    void TearDown() override {
        for (const char* name : {"cz.tsb", "cz.ini", "cz.in_", "new.tsb", "new.ini"})
            ::DeleteFileA((dir_ + name).c_str());
        ::RemoveDirectoryA(dir_.c_str());
    }

    static std::wstring ItemText(wl::Dialog& d, int id) { return wl::testing::WideText(::GetDlgItem(d.Handle(), id)); }

    std::string dir_;
    wl::testing::ProfileIniFile ini_{wl::testing::WindowsDirectoryFile("ts2000.ini")};
    wl::testing::SetAsideFile aside_{ini_.Path()};
    tsapp::Program program_{ts::ParseCommandLine({})};
};

// A new file name: the layout and its companion are copied from the chosen
// source byte for byte, and the row shows "X", "X" and the path without
// ".tsb". An existing file that button 5 uses fills the row from button 5.
TEST_F(TsSettingsTest, OtherFileCopiesANewLayoutOrTakesAnExistingOne) {
    int asked = 0;
    wl::ScopedFileDialogRunner runner(
        wl::testing::AnswerFileDialogs({dir_ + "new", dir_ + "cz.tsb", dir_ + "CZ.TSB"}, CP_ACP, &asked));
    tsapp::SettingsDialog dialog(program_, nullptr);
    std::wstring row2[3], row4[3];
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        wl::testing::ClickButton(d.Handle(), RowId(2, IDC_ROW_OTHER));
        for (int k = 0; k < 3; ++k) row2[k] = ItemText(d, RowId(2, IDC_ROW_SHORT_NAME + k));
        wl::testing::ClickButton(d.Handle(), RowId(4, IDC_ROW_OTHER));
        for (int k = 0; k < 3; ++k) row4[k] = ItemText(d, RowId(4, IDC_ROW_SHORT_NAME + k));
        d.CloseWindow(IDCANCEL);
    });
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(ReadBytes(dir_ + "new.tsb"), ReadBytes(dir_ + "cz.tsb"));
    EXPECT_EQ(ReadBytes(dir_ + "new.ini"), ReadBytes(dir_ + "cz.ini"));
    EXPECT_EQ(row2[0], L"X");
    EXPECT_EQ(row2[1], L"X");
    EXPECT_EQ(row2[2], wl::ToWide(dir_ + "new", CP_ACP));
    // "CZ.TSB" keeps its name; the comparison with the stored data is exact,
    // so no button's names are taken.
    EXPECT_EQ(row4[0], L"K4");
    EXPECT_EQ(row4[2], wl::ToWide(dir_ + "CZ", CP_ACP));
    // Cancel wrote nothing of the rows.
    EXPECT_EQ(ini_.Read("RYCHLOTLACITKA", "Tlacitko 2 data"), dir_ + "none");
}

// Other onto a name whose copy was stopped between the companion and the
// layout (the program killed): the copy is made whole, nothing is left.
TEST_F(TsSettingsTest, OtherFileFinishesACopyThatStopped) {
    {
        lex::testing::FaultyFileSystem killed;
        // Both temporary files and the journal made, the companion in place: killed before the layout.
        killed.StopAtChange(8);
        EXPECT_FALSE(lex::keyboard::CopyLayoutPair(killed, dir_ + "cz.tsb", dir_ + "new.tsb"));
    }
    ASSERT_NE(::GetFileAttributesA((dir_ + "new.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    wl::ScopedFileDialogRunner runner(wl::testing::AnswerFileDialogs({dir_ + "new", dir_ + "cz.tsb"}));
    tsapp::SettingsDialog dialog(program_, nullptr);
    std::wstring file;
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        wl::testing::ClickButton(d.Handle(), RowId(3, IDC_ROW_OTHER));
        file = ItemText(d, RowId(3, IDC_ROW_FILE));
        d.CloseWindow(IDCANCEL);
    });
    EXPECT_EQ(file, wl::ToWide(dir_ + "new", CP_ACP));
    EXPECT_EQ(ReadBytes(dir_ + "new.tsb"), ReadBytes(dir_ + "cz.tsb"));
    EXPECT_EQ(ReadBytes(dir_ + "new.ini"), ReadBytes(dir_ + "cz.ini"));
    for (const char* left : {"new.tsb.tmp", "new.ini.tmp", "new.ini.bak", "new.ini.pair"}) {
        EXPECT_EQ(::GetFileAttributesA((dir_ + left).c_str()), INVALID_FILE_ATTRIBUTES) << left;
        ::DeleteFileA((dir_ + left).c_str());
    }
}

TEST_F(TsSettingsTest, ExistingFileOfAnotherButtonGivesItsNames) {
    wl::ScopedFileDialogRunner runner(wl::testing::AnswerFileDialogs({dir_ + "cz"}));
    tsapp::SettingsDialog dialog(program_, nullptr);
    std::wstring row[3];
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        wl::testing::ClickButton(d.Handle(), RowId(1, IDC_ROW_OTHER));
        for (int k = 0; k < 3; ++k) row[k] = ItemText(d, RowId(1, IDC_ROW_SHORT_NAME + k));
        d.CloseWindow(IDCANCEL);
    });
    EXPECT_EQ(row[0], L"K5");
    EXPECT_EQ(row[1], L"Name 5");
    EXPECT_EQ(row[2], wl::ToWide(dir_ + "cz", CP_ACP));
}

// The button font alone asks for a restart; OK writes it to [FONT].
TEST_F(TsSettingsTest, ButtonFontSetsTheRestartFlag) {
    wl::ScopedFontDialogRunner runner([](CHOOSEFONTW& r) {
        std::wcscpy(r.lpLogFont->lfFaceName, L"Arial");
        r.lpLogFont->lfHeight = -20;
        return true;
    });
    tsapp::SettingsDialog dialog(program_, nullptr);
    bool afterFont = false;
    const INT_PTR result = wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        EXPECT_FALSE(dialog.RestartNeeded());
        wl::testing::ClickButton(d.Handle(), IDC_BUTTON_FONT);
        afterFont = dialog.RestartNeeded();
        wl::testing::ClickButton(d.Handle(), IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(afterFont);
    EXPECT_EQ(ini_.Read("FONT", "lfFaceName"), "Arial");
    EXPECT_EQ(ini_.Read("FONT", "lfHeight"), "-20");
    EXPECT_EQ(ini_.Read("Konfigurace", "Komunikacni jazyk"), "0");
}

// Answers the message boxes of this thread with `answer` from inside their own
// loops while it lives, and counts them.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(int answer) {
        current_ = this;
        answer_ = answer;
        timer_ = ::SetTimer(nullptr, 0, 20, &Tick);
    }
    ~MessageBoxAnswer() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    int Answered() const { return answered_; }

private:
    static BOOL CALLBACK Find(HWND hwnd, LPARAM lp) {
        wchar_t name[16] = {};
        ::GetClassNameW(hwnd, name, 16);
        if (std::wstring(name) == L"#32770" && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, current_->answer_)) {
            *reinterpret_cast<HWND*>(lp) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!current_) return;
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&box));
        if (!box) return;
        ++current_->answered_;
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(current_->answer_, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, current_->answer_)));
    }
    static MessageBoxAnswer* current_;
    int answer_ = IDOK;
    int answered_ = 0;
    UINT_PTR timer_ = 0;
};
MessageBoxAnswer* MessageBoxAnswer::current_ = nullptr;

// A new button font from the settings dialog reaches every control of the
// main dialog's font list, whether the settings end with OK or Cancel, and
// the old font goes only once nothing uses it.
TEST_F(TsSettingsTest, NewButtonFontReachesEveryButtonAfterOkAndCancel) {
    ini_.Write("RYCHLOTLACITKA", "Tlacitko 0 data", dir_ + "cz");
    ini_.Write("Konfigurace", "Ukoncit", "0");
    const int fontIds[] = {1017, 1014, 1015, 1016, 1001, 1002, 1003, 1000, 1004, 1005, 1006, 1009, 1010,
                           1011, 1012, 1008, 1007, 1062, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59};
    for (const int end : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(end == IDOK ? "OK" : "Cancel");
        const wchar_t* face = end == IDOK ? L"Courier New" : L"Arial";
        wl::ScopedFontDialogRunner runner([face](CHOOSEFONTW& r) {
            std::wcscpy(r.lpLogFont->lfFaceName, face);
            r.lpLogFont->lfHeight = -20;
            return true;
        });
        MessageBoxAnswer no(IDNO);  // the restart question
        tsapp::KeyboardDialog dialog(program_);
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            wl::Dialog::SetTestHook([end](wl::Dialog& settings) {
                wl::testing::ClickButton(settings.Handle(), IDC_BUTTON_FONT);
                if (end == IDOK) wl::testing::ClickButton(settings.Handle(), IDOK);
                else settings.CloseWindow(IDCANCEL);
            });
            wl::testing::ClickButton(d.Handle(), IDC_SETUP);
            for (int id : fontIds) {
                HFONT font = reinterpret_cast<HFONT>(::SendMessageW(::GetDlgItem(d.Handle(), id), WM_GETFONT, 0, 0));
                EXPECT_EQ(font, program_.ButtonFont) << id;
                LOGFONTW lf{};
                EXPECT_EQ(::GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf)) << id;  // not deleted
                EXPECT_EQ(std::wstring(lf.lfFaceName), face) << id;
            }
            d.CloseWindow(IDCANCEL);
        });
        EXPECT_EQ(no.Answered(), end == IDOK ? 1 : 0);
    }
    EXPECT_EQ(ini_.Read("FONT", "lfFaceName"), "Courier New");
}

// The icon's menu: the long names of the ten buttons ("XXXXX" the default
// name), hide, show and about; the icon is gone when the dialog ends.
TEST_F(TsSettingsTest, TrayMenuShowsTheButtonNames) {
    ini_.Write("RYCHLOTLACITKA", "Tlacitko 0 data", dir_ + "cz");
    tsapp::KeyboardDialog dialog(program_);
    std::vector<std::wstring> items;
    bool enabled = false;
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        enabled = dialog.Tray().Enabled();
        HMENU menu = dialog.TrayMenu();
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[100] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 100, MF_BYPOSITION);
            items.push_back(text);
        }
        EXPECT_EQ(::GetMenuItemID(menu, 12), static_cast<UINT>(CM_SHOW_WINDOW));
        EXPECT_EQ(static_cast<int>(::GetMenuDefaultItem(menu, TRUE, 0)), 12);
        d.CloseWindow(IDCANCEL);
    });
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(dialog.Tray().Enabled());
    ASSERT_EQ(items.size(), 14u);
    EXPECT_EQ(items[0], L"Name 0");
    EXPECT_EQ(items[7], L"Russian keyboard");
    EXPECT_EQ(items[11], L"Hide");
    EXPECT_EQ(items[12], L"Show");
    EXPECT_EQ(items[13], L"About the Program");
}

// In normal mode the keyboard dialog also shows the quick-switch heading and
// buttons, the activation and the setup button: their texts show whole and
// with every letter in every UI language.
TEST_F(TsSettingsTest, TheProductWindowShowsEveryTextWholeInEveryLanguage) {
    ini_.Write("RYCHLOTLACITKA", "Tlacitko 0 data", dir_ + "cz");
    for (int language = 0; language < ts::kUiLanguageCount; ++language) {
        SCOPED_TRACE(language);
        ini_.Write("Konfigurace", "Komunikacni jazyk", std::to_string(language));
        tsapp::Program program(ts::ParseCommandLine({}));
        tsapp::KeyboardDialog dialog(program);
        std::vector<std::wstring> clipped, missing;
        bool shown = false;
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            shown = ::IsWindowVisible(::GetDlgItem(d.Handle(), IDC_ACTIVATE)) &&
                    ::IsWindowVisible(::GetDlgItem(d.Handle(), IDC_SETUP));
            clipped = wl::testing::ClippedTexts(d.Handle());
            missing = wl::testing::TextsWithMissingLetters(d.Handle());
            d.CloseWindow(IDCANCEL);
        });
        EXPECT_TRUE(shown);
        EXPECT_EQ(clipped, std::vector<std::wstring>());
        EXPECT_EQ(missing, std::vector<std::wstring>());
    }
}

// Text 20630 from "zdroj.rc" may hold other conversions: only the first
// "%d" takes the number, everything else stays as written.
TEST(HotKeyTextTest, StandardSwitchTextTakesOneNumber) {
    struct Case {
        const char* text;
        int number;
        const char* shown;
    } cases[] = {
        {"Standard CTRL+ALT+F%d Switch Association", 4, "Standard CTRL+ALT+F4 Switch Association"},
        {"F%d", 12, "F12"},
        {"%s %n F%d %d", 3, "%s %n F3 %d"},
        {"100%", 1, "100%"},
        {"", 1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(tsapp::FormatStandardSwitch(c.text, c.number), c.shown) << c.text;
}

// OK with no language chosen keeps the stored one (and asks no restart).
TEST_F(TsSettingsTest, NoLanguageChosenKeepsTheOldOne) {
    ini_.Write("Konfigurace", "Komunikacni jazyk", "5");
    tsapp::SettingsDialog dialog(program_, nullptr);
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        ::SendMessageW(::GetDlgItem(d.Handle(), IDC_LANGUAGE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        wl::testing::ClickButton(d.Handle(), IDOK);
    });
    EXPECT_EQ(ini_.Read("Konfigurace", "Komunikacni jazyk"), "5");
    EXPECT_FALSE(dialog.RestartNeeded());
}

}  // namespace
