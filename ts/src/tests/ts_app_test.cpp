// The keyboard dialog in this process, driven with real messages: the key
// tooltips do not pile up over refreshes, and a key's caption is its text.
#include <windows.h>

#include <gtest/gtest.h>

#include "key_button.h"
#include "keyboard_dialog.h"
#include "program.h"
#include "ts_ids.h"
#include "winlib/common_dialogs.h"
#include "winlib/testing.h"

#include <cwchar>
#include <fstream>
#include <sstream>

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

}  // namespace
