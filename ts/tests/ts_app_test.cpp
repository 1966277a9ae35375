// The keyboard dialog in this process, driven with real messages: the key
// tooltips do not pile up over refreshes, and a key's caption is its text.
#include <windows.h>

#include <gtest/gtest.h>

#include "ts/src/key_button.h"
#include "ts/src/key_dialogs.h"
#include "ts/src/ts_keyboard_dialog.h"
#include "ts/src/ts_program.h"
#include "ts/src/ts_settings_dialogs.h"
#include "ts/src/startup.h"
#include "ts/src/ts_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/fonts.h"
#include "winlib/testing.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

std::string TempCopyOfDemo() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "ts_app_test_" + std::to_string(::GetCurrentProcessId());
    char demo[MAX_PATH] = {};
    ::GetFullPathNameA(TS_DEMO_DATA_DIR "/demo.tsb", MAX_PATH, demo, nullptr);
    std::string ini(demo);
    ini.replace(ini.size() - 3, 3, "ini");
    ::CopyFileA(demo, (base + ".tsb").c_str(), FALSE);
    ::CopyFileA(ini.c_str(), (base + ".ini").c_str(), FALSE);
    return base;
}

TEST(KeyboardDialogTest, TooltipsStayOnePerKeyOverRefreshesAndCaptionsAreTexts) {
    const std::string base = TempCopyOfDemo();
    const ts::CommandLine line = ts::ParseCommandLine({"X", "1", base + ".tsb"});
    tsapp::Program program(line);
    tsapp::KeyboardDialog dialog(program);
    int before = -1, after = -1;
    std::wstring ampersand, f2;
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        before = dialog.TipCount();
        for (int i = 0; i < 3; ++i) dialog.RefreshKeys();
        wl::testing::ClickButton(d.Handle(), IDC_SHIFT_TOGGLE);  // refreshes too
        wl::testing::ClickButton(d.Handle(), IDC_SHIFT_TOGGLE);
        after = dialog.TipCount();
        // A key typing '&' shows one ampersand: its caption is "&&".
        program.Store.Tables.MainKeys[5].Chars[0] = '&';
        dialog.RefreshKeys();
        ampersand = wl::testing::WideText(::GetDlgItem(d.Handle(), IDC_MAIN_KEY_FIRST + 5));
        f2 = wl::testing::WideText(::GetDlgItem(d.Handle(), IDC_FUNCTION_KEY_FIRST + 1));
        d.CloseWindow(IDCANCEL);
    });
    // F1, F10, keypad key 1 (unusable) and F2 (starts notepad.exe).
    EXPECT_EQ(before, 4);
    EXPECT_EQ(after, 4);
    EXPECT_EQ(ampersand, L"&&");
    EXPECT_EQ(f2, L"");
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The font button: outside edit mode nothing; in edit mode the chosen font
// goes to the working copy's [FONT] at once and marks the layout modified;
// Cancel of the font dialog writes the font as it was.
TEST(KeyboardDialogTest, FontButtonWritesTheWorkingCopy) {
    const std::string base = TempCopyOfDemo();
    tsapp::Program program(ts::ParseCommandLine({"X", "0", base + ".tsb"}));
    tsapp::KeyboardDialog dialog(program);
    int asked = 0;
    bool choose = false;
    wl::ScopedFontDialogRunner runner([&](CHOOSEFONTW& r) {
        ++asked;
        EXPECT_EQ(std::wstring(r.lpLogFont->lfFaceName), L"Arial");
        EXPECT_NE(r.Flags & CF_TTONLY, 0u);
        if (!choose) return false;
        std::wcscpy(r.lpLogFont->lfFaceName, L"Courier New");
        r.lpLogFont->lfHeight = -20;
        return true;
    });
    std::string status;
    bool modifiedAfterCancel = true, modifiedAfterChoice = false;
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        wl::testing::ClickButton(d.Handle(), IDC_FONT);
        status = dialog.GetItemText(IDC_STATUS);
        wl::testing::ClickButton(d.Handle(), IDC_ALLOW_CHANGES);
        wl::testing::ClickButton(d.Handle(), IDC_FONT);
        modifiedAfterCancel = program.Store.Modified;
        choose = true;
        wl::testing::ClickButton(d.Handle(), IDC_FONT);
        modifiedAfterChoice = program.Store.Modified;
        program.Store.Modified = false;  // nothing to ask at the end
        d.CloseWindow(IDCANCEL);
    });
    EXPECT_EQ(status, "You have to permit changes in the actual keyboard at first");
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(modifiedAfterCancel);
    EXPECT_TRUE(modifiedAfterChoice);
    const std::string work = ReadText(base + ".in_");
    EXPECT_NE(work.find("lfFaceName=Courier New"), std::string::npos) << work;
    EXPECT_NE(work.find("lfHeight=-20"), std::string::npos) << work;
    EXPECT_EQ(ReadText(base + ".ini").find("Courier New"), std::string::npos);
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

// The controls that show the button font, and the keys.
const int kButtonFontIds[] = {1017, 1014, 1015, 1016, 1001, 1002, 1003, 1000, 1004, 1005, 1006, 1009, 1010,
                              1011, 1012, 1008, 1007, 1062, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59};

HFONT FontOf(HWND hwnd) { return reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)); }

// Every text of the main dialog is drawn in a font with the letters of the UI
// language, and the key captions in one with the layout's character set,
// although both stored fonts name "System", which is a Western raster font
// here. The stored fonts stay as they are.
TEST(KeyboardDialogTest, EveryTextIsDrawnInAFontWithItsLetters) {
    struct Case {
        const char* language;
        BYTE charSet;
    };
    const Case cases[] = {{"1", EASTEUROPE_CHARSET}, {"8", EASTEUROPE_CHARSET}, {"4", RUSSIAN_CHARSET},
                          {"5", ANSI_CHARSET}};
    const std::string base = TempCopyOfDemo();
    const std::string companion = base + ".ini";
    ::WritePrivateProfileStringA("FONT", "lfFaceName", "System", companion.c_str());
    ::WritePrivateProfileStringA("FONT", "lfCharSet", "238", companion.c_str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        tsapp::Program program(ts::ParseCommandLine({"X", c.language, base + ".tsb"}));
        tsapp::KeyboardDialog dialog(program);
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            for (int id : kButtonFontIds) {
                HFONT font = FontOf(::GetDlgItem(d.Handle(), id));
                EXPECT_NE(font, nullptr) << id;
                EXPECT_EQ(wl::ActualCharSet(font), c.charSet) << id;
            }
            for (int id : {IDC_MAIN_KEY_FIRST + 2, IDC_FUNCTION_KEY_FIRST + 1, IDC_KEYPAD_KEY_FIRST + 4})
                EXPECT_EQ(wl::ActualCharSet(FontOf(::GetDlgItem(d.Handle(), id))), EASTEUROPE_CHARSET) << id;
            EXPECT_EQ(wl::ActualCharSet(program.LargeKeyFont), EASTEUROPE_CHARSET);
            d.CloseWindow(IDCANCEL);
        });
        EXPECT_STREQ(program.KeyFont.lfFaceName, "System");
        EXPECT_EQ(program.KeyFont.lfCharSet, EASTEUROPE_CHARSET);
    }
    EXPECT_NE(ReadText(base + ".in_").find("lfFaceName=System"), std::string::npos);
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

// Key Remapping shows at most 252 characters of a key's program command; OK
// keeps the stored command whole unless the user changed the box.
TEST(KeyAssignDialogTest, OkKeepsAStoredCommandUnlessItWasChanged) {
    struct Case {
        std::string stored;
        std::string typed;  // "" leaves the box as shown
        std::string after;
    };
    const std::string longCommand = "C:\\Tools\\" + std::string(290, 'p') + ".exe";
    const std::string otherLong = "D:\\" + std::string(260, 'q') + ".exe";
    const Case cases[] = {
        {longCommand, "", longCommand},
        {longCommand, "C:\\Other\\run.exe", "C:\\Other\\run.exe"},
        {longCommand, otherLong, otherLong},
        {"notepad.exe", "", "notepad.exe"},
    };
    const std::string base = TempCopyOfDemo();
    const std::string work = base + ".in_";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        tsapp::Program program(ts::ParseCommandLine({"X", "0", base + ".tsb"}));
        program.LoadKeyboardFile(base + ".tsb");
        ASSERT_TRUE(::WritePrivateProfileStringA("RUN", "0_16_0", c.stored.c_str(), work.c_str()));
        tsapp::KeyAssignDialog dialog(program, ts::KeyRef{0, 16, 0});
        size_t shown = 0;
        const INT_PTR result = wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            shown = dialog.GetItemText(IDC_PROGRAM_PATH).size();
            ::CheckRadioButton(d.Handle(), IDC_USE_CHARACTER, IDC_USE_PROGRAM, IDC_USE_PROGRAM);
            if (!c.typed.empty()) dialog.SetItemText(IDC_PROGRAM_PATH, c.typed);
            wl::testing::ClickButton(d.Handle(), IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(shown, std::min<size_t>(c.stored.size(), 252));
        char stored[1024] = {};
        ::GetPrivateProfileStringA("RUN", "0_16_0", "", stored, sizeof stored, work.c_str());
        EXPECT_EQ(stored, c.after);
        EXPECT_EQ(program.Store.Tables.GetRunFlag(0, 16, 0), 1);
    }
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

// The working copy of the companion ini is read once per load, not at every
// refresh: a change made to the file behind ts's back shows only after the
// next load, while ts's own edits show at once.
TEST(KeyboardDialogTest, TheWorkingCopyIsReadOncePerLoad) {
    const std::string base = TempCopyOfDemo();
    const std::string work = base + ".in_";
    tsapp::Program program(ts::ParseCommandLine({"X", "0", base + ".tsb"}));
    tsapp::KeyboardDialog dialog(program);
    int atStart = -1, afterOutsideChange = -1, afterOwnEdit = -1, afterReload = -1;
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        atStart = dialog.TipCount();
        // F2's program goes from the file: the refreshes do not read it again.
        ::WritePrivateProfileStringA("RUN", nullptr, nullptr, work.c_str());
        wl::testing::ClickButton(d.Handle(), IDC_SHIFT_TOGGLE);
        wl::testing::ClickButton(d.Handle(), IDC_SHIFT_TOGGLE);
        afterOutsideChange = dialog.TipCount();
        // An edit of ts itself is seen at once: "=" starts a program now.
        EXPECT_TRUE(lex::keyboard::WriteRunCommand(program.WorkIni(), 0, 12, 0, "C:\\Tools\\run.exe"));
        EXPECT_EQ(lex::keyboard::ReadRunCommand(program.WorkIni(), 0, 12, 0), "C:\\Tools\\run.exe");
        program.Store.Tables.SetRunFlag(0, 12, 0, 1);
        dialog.RefreshKeys();
        afterOwnEdit = dialog.TipCount();
        // A reload copies the companion anew.
        wl::testing::ClickButton(d.Handle(), IDC_CANCEL_CHANGES);
        afterReload = dialog.TipCount();
        d.CloseWindow(IDCANCEL);
    });
    // F1, F10 and keypad key 1 (unusable), F2 (notepad.exe); then "=".
    EXPECT_EQ(atStart, 4);
    EXPECT_EQ(afterOutsideChange, 4);
    EXPECT_EQ(afterOwnEdit, 5);
    EXPECT_EQ(afterReload, 4);
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

// A folder of its own with a copy of the demo layout and the demo licence:
// in editor-only mode it is the program folder. The base path of the layout
// (without ".tsb").
class DemoFolder {
public:
    DemoFolder() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ts_app_test_" + std::to_string(::GetCurrentProcessId()) + "_folder\\";
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        char demo[MAX_PATH] = {};
        ::GetFullPathNameA(TS_DEMO_DATA_DIR "/demo.tsb", MAX_PATH, demo, nullptr);
        std::string source(demo);
        source.resize(source.size() - 4);
        for (const char* ext : {".tsb", ".ini"}) ::CopyFileA((source + ext).c_str(), (Base() + ext).c_str(), FALSE);
        ::GetFullPathNameA(TS_DEMO_DATA_DIR "/licence.txt", MAX_PATH, demo, nullptr);
        ::CopyFileA(demo, (folder_ + "licence.txt").c_str(), FALSE);
    }
    ~DemoFolder() {
        for (const char* name : {"demo.tsb", "demo.ini", "demo.in_", "licence.txt"})
            ::DeleteFileA((folder_ + name).c_str());
        ::RemoveDirectoryA(folder_.c_str());
    }
    std::string Base() const { return folder_ + "demo"; }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

// The titles of the visible group boxes of `dialog` that run into the frame
// of their box, each as "<id> <title>".
std::vector<std::wstring> ClippedGroupTitles(HWND dialog) {
    std::vector<std::wstring> clipped;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(c, name, 32);
        if (!::IsWindowVisible(c) || _wcsicmp(name, L"Button") != 0 ||
            (::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX)
            continue;
        const std::wstring title = wl::testing::WideText(c);
        HDC dc = ::GetDC(c);
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0));
        HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
        RECT text = {0, 0, 0, 0}, box;
        ::DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text, DT_SINGLELINE | DT_CALCRECT);
        ::GetClientRect(c, &box);
        // The title starts a few pixels in from the left edge of the frame.
        if (text.right + 10 > box.right) clipped.push_back(std::to_wstring(::GetDlgCtrlID(c)) + L" " + title);
        ::SelectObject(dc, old);
        ::ReleaseDC(c, dc);
    }
    return clipped;
}

// What a check finds in one dialog: one line per fault.
using DialogCheck = std::function<std::vector<std::wstring>(HWND dialog)>;

// Opens every dialog of ts in editor-only mode and UI language `language`,
// one after the other, and runs `check` on each in each of its states: the
// keyboard dialog outside and in edit mode, Key Remapping, the character map,
// New Key, Prefix and the hot-key dialog before, while and after they wait for
// a key,
// Delete Key, the settings, About and the text viewer with the licence and the
// support text. The faults found, each after the name of its dialog.
std::vector<std::wstring> CheckEveryDialog(int language, const std::string& base, const DialogCheck& check) {
    std::vector<std::wstring> found;
    auto note = [&](const std::wstring& name, const std::vector<std::wstring>& faults) {
        for (const std::wstring& f : faults) found.push_back(name + L": " + f);
    };
    tsapp::Program program(ts::ParseCommandLine({"X", std::to_string(language), base + ".tsb"}));
    tsapp::KeyboardDialog dialog(program);
    // Runs `inner` and checks it; `capture` also checks it while its
    // IDC_CAPTURE button waits for a key, from a second thread, which then
    // gives the key.
    auto run = [&](wl::Dialog& inner, const std::wstring& name, bool capture) {
        wl::testing::ExecuteWith(inner, [&](wl::Dialog& d) {
            note(name, check(d.Handle()));
            if (capture) {
                HWND button = ::GetDlgItem(d.Handle(), IDC_CAPTURE);
                const std::wstring idle = wl::testing::WideText(button);
                std::vector<std::wstring> waiting;
                bool seen = false;
                std::thread watcher([&] {
                    seen = wl::testing::WaitFor([&] { return wl::testing::WideText(button) != idle; });
                    if (seen) waiting = check(d.Handle());
                    const UINT scan = ::MapVirtualKeyW(VK_F5, 0);
                    ::PostMessageW(button, WM_KEYDOWN, VK_F5, static_cast<LPARAM>(scan << 16 | 1));
                });
                wl::testing::ClickButton(d.Handle(), IDC_CAPTURE);
                watcher.join();
                if (!seen) found.push_back(name + L": no wait for a key");
                note(name + L" waiting for a key", waiting);
                note(name + L" after a key", check(d.Handle()));
            }
            d.CloseWindow(IDCANCEL);
        });
    };
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        note(L"keyboard", check(d.Handle()));
        wl::testing::ClickButton(d.Handle(), IDC_ALLOW_CHANGES);  // its other text
        note(L"keyboard in edit mode", check(d.Handle()));
        const ts::KeyRef key{0, 16, 0};
        tsapp::KeyAssignDialog remap(program, key);
        run(remap, L"key remapping", false);
        tsapp::CharMapDialog map(program, 'a');
        run(map, L"character map", false);
        tsapp::NewKeyDialog newKey(program, key);
        run(newKey, L"new key", true);
        tsapp::PrefixDialog prefix(program);
        run(prefix, L"prefix", true);
        tsapp::DeleteKeyDialog deleteKey(program, key);
        run(deleteKey, L"delete key", false);
        tsapp::SettingsDialog settings(program, nullptr);
        run(settings, L"settings", false);
        tsapp::HotKeyDialog hotKey(program, 0);
        run(hotKey, L"hot key", true);
        tsapp::AboutDialog about(program);
        run(about, L"about", false);
        tsapp::TextViewDialog licence(program, tsapp::TextViewDialog::Mode::Licence);
        run(licence, L"licence", false);
        tsapp::TextViewDialog support(program, tsapp::TextViewDialog::Mode::Support);
        run(support, L"support", false);
        program.Store.Modified = false;  // nothing to ask at the end
        d.CloseWindow(IDCANCEL);
    });
    return found;
}

// Every text of every dialog shows whole in every UI language, the capture
// buttons' texts while they wait for a key included: the F10-F12 legends,
// "Map of Characters", the radio button whose "&" is a character and not a
// mnemonic, the numbers of the prefix radios and of the settings' rows, the
// title of the prefix group within its frame.
TEST(KeyboardDialogTest, EveryTextShowsWholeInEveryLanguage) {
    const std::string base = TempCopyOfDemo();
    for (int language = 0; language < ts::kUiLanguageCount; ++language) {
        SCOPED_TRACE(language);
        tsapp::Program program(ts::ParseCommandLine({"X", std::to_string(language), base + ".tsb"}));
        tsapp::KeyboardDialog dialog(program);
        std::vector<std::wstring> main, assign;
        std::wstring program1042;
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            main = wl::testing::ClippedTexts(d.Handle());
            wl::testing::ClickButton(d.Handle(), IDC_ALLOW_CHANGES);  // its other text
            for (const std::wstring& c : wl::testing::ClippedTexts(d.Handle())) main.push_back(c);
            tsapp::KeyAssignDialog remap(program, ts::KeyRef{0, 16, 0});
            wl::testing::ExecuteWith(remap, [&](wl::Dialog& r) {
                assign = wl::testing::ClippedTexts(r.Handle());
                program1042 = wl::testing::WideText(::GetDlgItem(r.Handle(), IDC_USE_PROGRAM));
                r.CloseWindow(IDCANCEL);
            });
            d.CloseWindow(IDCANCEL);
        });
        EXPECT_EQ(main, std::vector<std::wstring>());
        EXPECT_EQ(assign, std::vector<std::wstring>());
        // "path & program": the ampersand is doubled so that it shows.
        EXPECT_NE(program1042.find(L" && "), std::wstring::npos) << wl::FromWide(program1042, CP_UTF8);
    }
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
    const DemoFolder folder;
    for (int language = 0; language < ts::kUiLanguageCount; ++language) {
        const std::vector<std::wstring> clipped = CheckEveryDialog(language, folder.Base(), [](HWND d) {
            std::vector<std::wstring> texts = wl::testing::ClippedTexts(d);
            for (const std::wstring& title : ClippedGroupTitles(d)) texts.push_back(title);
            return texts;
        });
        std::string shown;
        for (const std::wstring& c : clipped) shown += wl::FromWide(c, CP_UTF8) + "\n";
        EXPECT_TRUE(clipped.empty()) << "UI language " << language << ":\n" << shown;
    }
}

// Every letter of every text of every dialog is drawn in every UI language,
// although the stored button font names "System", which has the letters of
// one code page only and draws è, ñ and ¡ of French and Spanish as a bar when
// asked for the Central European set. The stored font stays as it is.
TEST(KeyboardDialogTest, EveryDialogDrawsEveryLetterOfItsTexts) {
    const DemoFolder folder;
    for (int language = 0; language < ts::kUiLanguageCount; ++language) {
        const std::vector<std::wstring> missing = CheckEveryDialog(
            language, folder.Base(), [](HWND d) { return wl::testing::TextsWithMissingLetters(d); });
        std::string shown;
        for (const std::wstring& c : missing) shown += wl::FromWide(c, CP_UTF8) + "\n";
        EXPECT_TRUE(missing.empty()) << "UI language " << language << ":\n" << shown;
    }
    tsapp::Program program(ts::ParseCommandLine({"X", "5", folder.Base() + ".tsb"}));
    tsapp::KeyboardDialog dialog(program);
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) { d.CloseWindow(IDCANCEL); });
    EXPECT_STREQ(program.ButtonLogFont.lfFaceName, "System");
    EXPECT_EQ(program.ButtonLogFont.lfCharSet, EASTEUROPE_CHARSET);
}

// The licence viewer opens at the first line of a long licence with nothing
// selected and the caret in the text, so that the keys scroll it.
TEST(TextViewDialogTest, TheLicenceOpensAtItsFirstLine) {
    const DemoFolder folder;
    std::string licence;
    for (int i = 0; i < 300; ++i) licence += "line " + std::to_string(i) + " of the licence\n";
    {
        std::ofstream out(folder.Folder() + "licence.txt", std::ios::binary | std::ios::trunc);
        out << licence;
    }
    tsapp::Program program(ts::ParseCommandLine({"X", "0", folder.Base() + ".tsb"}));
    tsapp::TextViewDialog view(program, tsapp::TextViewDialog::Mode::Licence);
    DWORD start = 1, end = 1;
    LRESULT firstLine = -1, lines = 0;
    HWND focus = nullptr, edit = nullptr;
    wl::testing::ExecuteWith(view, [&](wl::Dialog& d) {
        edit = ::GetDlgItem(d.Handle(), IDC_VIEW_TEXT);
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        firstLine = ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
        lines = ::SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
        focus = ::GetFocus();
        d.CloseWindow(IDOK);
    });
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(firstLine, 0);
    EXPECT_GE(lines, 300);
    EXPECT_EQ(focus, edit);
}

// Key Remapping and the character map work on the key that has the focus
// (the key clicked with either button); with none, they do nothing at all.
TEST(KeyboardDialogTest, KeyRemappingAndCharacterMapTakeTheFocusedKey) {
    struct Case {
        int command;
        int focusedKey;  // a control id; 0: the focus on the edit mode button
        int opened;      // the dialog expected, or 0
    };
    const Case cases[] = {
        {CM_KEY_REMAPPING, 0, 0},
        {CM_CHARACTER_MAP, 0, 0},
        {CM_KEY_REMAPPING, IDC_MAIN_KEY_FIRST + 16, IDD_KEY_ASSIGN},
        {CM_CHARACTER_MAP, IDC_KEYPAD_KEY_FIRST + 4, IDD_CHAR_MAP},
    };
    const std::string base = TempCopyOfDemo();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.command) + " " + std::to_string(c.focusedKey));
        tsapp::Program program(ts::ParseCommandLine({"X", "0", base + ".tsb"}));
        tsapp::KeyboardDialog dialog(program);
        int opened = 0;
        std::string status;
        ts::KeyRef current;
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            wl::testing::ClickButton(d.Handle(), IDC_ALLOW_CHANGES);
            if (c.focusedKey) wl::testing::ClickButton(d.Handle(), c.focusedKey);
            wl::Dialog::SetTestHook([&](wl::Dialog& editor) {
                if (dynamic_cast<tsapp::KeyAssignDialog*>(&editor)) opened = IDD_KEY_ASSIGN;
                if (dynamic_cast<tsapp::CharMapDialog*>(&editor)) opened = IDD_CHAR_MAP;
                current = dialog.Session().Current();
                editor.CloseWindow(IDCANCEL);
            });
            ::SendMessageW(d.Handle(), WM_COMMAND, static_cast<WPARAM>(c.command), 0);
            wl::Dialog::SetTestHook(nullptr);
            status = dialog.GetItemText(IDC_STATUS);
            d.CloseWindow(IDCANCEL);
        });
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(status, " ");
        if (c.opened) {
            int first = c.focusedKey >= IDC_KEYPAD_KEY_FIRST ? IDC_KEYPAD_KEY_FIRST : IDC_MAIN_KEY_FIRST;
            EXPECT_EQ(current.Group, first == IDC_KEYPAD_KEY_FIRST ? 2 : 0);
            EXPECT_EQ(current.Key, c.focusedKey - first);
        }
    }
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

// A layout loaded without a companion ini brings no caption font: the keys
// keep the font they had. Before the first font, the keys get the font of the
// default [FONT], made to show its letters.
TEST(KeyboardDialogTest, ALayoutWithoutCompanionKeepsTheCaptionFont) {
    const std::string base = TempCopyOfDemo();
    HFONT atStart = nullptr, afterReload = nullptr, withoutAny = nullptr;
    std::string faceAfterReload;
    {
        tsapp::Program program(ts::ParseCommandLine({"X", "0", base + ".tsb"}));
        tsapp::KeyboardDialog dialog(program);
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            atStart = FontOf(::GetDlgItem(d.Handle(), IDC_MAIN_KEY_FIRST + 16));
            ::DeleteFileA((base + ".ini").c_str());
            wl::testing::ClickButton(d.Handle(), IDC_CANCEL_CHANGES);  // loads the layout again
            afterReload = FontOf(::GetDlgItem(d.Handle(), IDC_MAIN_KEY_FIRST + 16));
            faceAfterReload = program.KeyFont.lfFaceName;
            d.CloseWindow(IDCANCEL);
        });
    }
    EXPECT_EQ(afterReload, atStart);
    EXPECT_EQ(faceAfterReload, "Arial");  // the demo layout's
    {
        tsapp::Program program(ts::ParseCommandLine({"X", "0", base + ".tsb"}));
        tsapp::KeyboardDialog dialog(program);
        BYTE shown = 0;
        wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
            withoutAny = FontOf(::GetDlgItem(d.Handle(), IDC_MAIN_KEY_FIRST + 16));
            shown = wl::ActualCharSet(withoutAny);
            d.CloseWindow(IDCANCEL);
        });
        EXPECT_NE(withoutAny, nullptr);
        EXPECT_EQ(shown, EASTEUROPE_CHARSET);
        EXPECT_STREQ(program.KeyFont.lfFaceName, "System");
    }
    for (const char* ext : {".tsb", ".ini", ".in_"}) ::DeleteFileA((base + ext).c_str());
}

TEST(KeyTipWindowTest, RemovingAKeysToolsRemovesEveryOne) {
    tsapp::KeyTipWindow tips;
    tips.AddTool(500, {"a"}, 1250, RGB(255, 255, 200), 0);
    tips.AddTool(500, {"b"}, 1250, RGB(255, 255, 200), 0);
    tips.AddTool(501, {"c"}, 1250, RGB(255, 255, 200), 0);
    tips.RemoveTool(500);
    EXPECT_EQ(tips.ToolCount(), 1);
    tips.RemoveTool(502);
    EXPECT_EQ(tips.ToolCount(), 1);
}

// The start-up's steps in their order for each mode, with a stand-in window
// and stand-in ts2000.ini settings that record what is asked of them. A start
// refused by the single-instance check adds no tray icon, activates nothing and
// writes no [PREPINAC]; editor-only mode reads only the button font.
class RecordingStartup : public tsapp::StartupWindow, public tsapp::StartupSettings {
public:
    bool otherWindow = false;
    bool activate = false;
    std::vector<std::string> log;

    void ShowUiTexts(bool editorOnly) override { log.push_back(editorOnly ? "texts editor" : "texts"); }
    bool OtherProductWindowRuns() override { return Log("other window?"), otherWindow; }
    void RefuseStart() override { log.push_back("refuse"); }
    void HideProductButtons() override { log.push_back("hide product buttons"); }
    void AddWindowMenu(bool editorOnly) override { log.push_back(editorOnly ? "menu editor" : "menu"); }
    void SetIcons() override { log.push_back("icons"); }
    void ApplyButtonFont() override { log.push_back("apply font"); }
    void AddTrayIcon() override { log.push_back("tray"); }
    void ResetToggles() override { log.push_back("toggles"); }
    void ShowQuickButtons(int current, const std::vector<std::string>& names) override {
        log.push_back("show quick " + std::to_string(current) + " " + names.front() + names.back());
    }
    void HideQuickButtons() override { log.push_back("hide quick"); }
    void SetUpKeyTips() override { log.push_back("tips"); }
    void SelectQuickButton(int index) override { log.push_back("select " + std::to_string(index)); }
    void Activate() override { log.push_back("activate"); }
    void StartPollTimer() override { log.push_back("timer"); }

    int UiLanguage() override { return Log("read language"), 2; }
    LOGFONTA ButtonFont() override {
        Log("read font");
        LOGFONTA font{};
        std::strcpy(font.lfFaceName, "Arial");
        return font;
    }
    int LastQuickButton() override { return Log("read last"), 3; }
    std::string QuickButtonShortName(int index) override { return "K" + std::to_string(index); }
    bool ActivateAtStart() override { return Log("read activate"), activate; }
    std::string ProgramFolder() override { return Log("read folder"), "C:\\Prog\\ts.exe"; }
    void WriteSwitchFile(const std::string& path) override { log.push_back("write " + path); }

private:
    void Log(const char* step) { log.push_back(step); }
};

TEST(StartupTest, StepsRunInTheirOrderInEachMode) {
    const std::vector<std::string> before = {"texts", "other window?"};
    const std::vector<std::string> middle = {"menu", "icons", "read font", "apply font"};
    const std::vector<std::string> quick = {"toggles", "read last", "show quick 3 K0K9", "tips", "select 3"};
    struct Case {
        const char* name;
        bool editorOnly, otherWindow, activate;
        std::vector<std::vector<std::string>> steps;
        int language;
        std::string directory;
    } cases[] = {
        {"editor only", true, false, false,
         {{"texts editor", "hide product buttons", "menu editor", "icons", "read font", "apply font", "toggles",
           "hide quick", "tips", "select 0"}},
         1, "C:\\keys\\"},
        {"normal", false, false, false,
         {{"read language"}, before, middle, {"tray"}, quick,
          {"read activate", "timer", "read folder", "write C:\\Prog\\prepinac.tsc"}},
         2, "C:\\Prog\\"},
        {"normal, activated at start", false, false, true,
         {{"read language"}, before, middle, {"tray"}, quick,
          {"read activate", "activate", "timer", "read folder", "write C:\\Prog\\prepinac.tsc"}},
         2, "C:\\Prog\\"},
        // A refused start loads no layout: it reads and writes no layout file.
        {"refused", false, true, true,
         {{"read language"}, before, {"refuse"}, middle, {"toggles", "read last", "show quick 3 K0K9", "tips"},
          {"timer"}},
         2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tsapp::Program program(c.editorOnly ? ts::ParseCommandLine({"X", "1", "C:\\keys\\a.tsb"})
                                            : ts::ParseCommandLine({}));
        RecordingStartup recorder;
        recorder.otherWindow = c.otherWindow;
        recorder.activate = c.activate;
        tsapp::Startup startup(program, recorder, recorder);
        startup.Run();
        std::vector<std::string> expected;
        for (const auto& part : c.steps) expected.insert(expected.end(), part.begin(), part.end());
        EXPECT_EQ(recorder.log, expected);
        EXPECT_EQ(startup.Refused(), c.otherWindow);
        EXPECT_EQ(program.Texts().Language(), c.language);
        EXPECT_EQ(program.ProgramDirectory(), c.directory);
    }
}

}  // namespace
