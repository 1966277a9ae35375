// The keyboard dialog in this process, driven with real messages: the key
// tooltips do not pile up over refreshes, and a key's caption is its text.
#include <windows.h>

#include <gtest/gtest.h>

#include "key_button.h"
#include "keyboard_dialog.h"
#include "program.h"
#include "ts_ids.h"
#include "winlib/testing.h"

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
