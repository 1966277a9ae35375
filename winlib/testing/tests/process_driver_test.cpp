// The test support itself: the scope guards, the file helpers, and the
// driver against a second process, this test binary started as a small
// program (--driver-child) with a dialog, a list box, a combo box and a real
// message box.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winlib/testing/process_driver.h"
#include "winlib/testing/scoped_replace.h"

namespace {

using namespace wl::testing;

constexpr int kList = 101, kCombo = 102, kShown = 103, kAsk = 200;
const wchar_t kChildTitle[] = L"driver child";
const wchar_t kQuestionTitle[] = L"driver question";

// Rows read across processes: national letters, and one longer than any
// fixed buffer a reader might use.
std::vector<std::wstring> ChildRows() {
    return {L"d\u016Fm", L"\u0434\u043E\u043C", std::wstring(700, L'x') + L"end"};
}

// ---- the child program ----

INT_PTR CALLBACK ChildProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        auto make = [&](const wchar_t* cls, DWORD style, int id, int y) {
            return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 5, y, 200, 60, dialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        };
        HWND list = make(L"LISTBOX", LBS_NOTIFY, kList, 5);
        HWND combo = make(L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS, kCombo, 70);
        make(L"EDIT", 0, kShown, 140);
        for (const std::wstring& row : ChildRows()) {
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        }
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wp), code = HIWORD(wp);
        if ((id == kList && code == LBN_SELCHANGE) || (id == kCombo && code == CBN_SELCHANGE)) {
            // The selected row into the edit box, for the test to read.
            HWND from = ::GetDlgItem(dialog, id);
            const bool isList = id == kList;
            LRESULT row = ::SendMessageW(from, isList ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
            std::wstring text(static_cast<size_t>(
                                  ::SendMessageW(from, isList ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, row, 0)) + 1,
                              L'\0');
            ::SendMessageW(from, isList ? LB_GETTEXT : CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
            ::SetDlgItemTextW(dialog, kShown, text.c_str());
        } else if (id == kAsk) {
            // A real system message box; its answer becomes the exit code.
            ::PostQuitMessage(::MessageBoxW(dialog, L"Save?", kQuestionTitle, MB_YESNOCANCEL));
        }
        return TRUE;
    }
    case WM_CLOSE:
        ::PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

int RunChild() {
    // A dialog without controls; they are made at WM_INITDIALOG.
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tpl{};
    tpl.dialog.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    tpl.dialog.cx = 150;
    tpl.dialog.cy = 120;
    HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tpl.dialog, nullptr, ChildProc, 0);
    if (!dialog) return 100;
    ::SetWindowTextW(dialog, kChildTitle);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(dialog, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

// ---- tests ----

TEST(WinePath, UnixPathsGoToDriveZ) {
    const std::pair<std::string, std::string> cases[] = {
        {"/work/build/win/lexora.exe", "Z:\\work\\build\\win\\lexora.exe"},
        {"/", "Z:\\"},
        {"C:\\Lexora\\lexora.exe", "C:\\Lexora\\lexora.exe"},
        {"lexora.exe", "lexora.exe"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(WinePath(c.first), c.second) << c.first;
}

int counter = 1;
void (*hook)() = nullptr;
void Hook() {}

// Replaces both, then leaves early as a failed ASSERT does.
void ReplaceAndLeave(bool early) {
    ScopedReplace number(counter, 5);
    ScopedReplace again(counter, 7);  // nested: the outer value comes back first
    ScopedReplace fake(hook, Hook);
    EXPECT_EQ(number.Saved(), 1);
    EXPECT_EQ(again.Saved(), 5);
    if (early) return;
    EXPECT_EQ(counter, 7);
    EXPECT_EQ(hook, &Hook);
}

TEST(ScopedReplace, PutsBackTheOldValueOnEveryWayOut) {
    for (bool early : {false, true}) {
        ReplaceAndLeave(early);
        EXPECT_EQ(counter, 1) << early;
        EXPECT_EQ(hook, nullptr) << early;
    }
    int undone = 0;
    {
        AtScopeEnd undo([&] { ++undone; });
        EXPECT_EQ(undone, 0);
    }
    EXPECT_EQ(undone, 1);
}

TEST(SetAsideFile, TheFileOrItsAbsenceComesBack) {
    const ProfileIniFile ini(WindowsDirectoryFile("wl_driver_test.ini"));
    ini.Remove();
    for (bool existed : {true, false}) {
        if (existed) {
            ASSERT_TRUE(ini.Write("A", "key", "before"));
        }
        {
            SetAsideFile aside(ini.Path());
            EXPECT_EQ(ini.Read("A", "key"), "<none>") << existed;
            ASSERT_TRUE(ini.Write("A", "key", "during"));
            EXPECT_EQ(ini.Read("A", "key"), "during");
        }
        EXPECT_EQ(ini.Read("A", "key"), existed ? "before" : "<none>") << existed;
        ini.Remove();
    }
}

std::string OwnFolder(std::string* name) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full = path;
    const size_t slash = full.find_last_of('\\');
    *name = full.substr(slash + 1);
    return full.substr(0, slash + 1);
}

TEST(ProcessDriver, DrivesADialogAndAnswersARealMessageBox) {
    std::string program;
    const std::string folder = OwnFolder(&program);
    struct Case {
        Process::StartBy by;
        int answer;
    };
    const Case cases[] = {
        {Process::StartBy::FullPath, IDYES},
        {Process::StartBy::BareName, IDNO},
        {Process::StartBy::FullPath, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        Process child;
        EXPECT_EQ(child.FindDialog(), nullptr);  // not started: no windows
        ASSERT_TRUE(child.Start(folder, program, c.by, "--driver-child"));
        HWND dialog = child.WaitForDialog(kCombo);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(child.FindDialog(), dialog);
        EXPECT_EQ(child.FindDialog(999), nullptr);  // no dialog holds that control
        EXPECT_EQ(child.FindTopWindow(L"#32770", kChildTitle), dialog);
        EXPECT_EQ(FindTopWindow(0, L"#32770", kChildTitle), dialog);
        EXPECT_EQ(child.FindFrame(), nullptr);  // a dialog is no frame
        EXPECT_EQ(Text(dialog), kChildTitle);

        HWND list = ::GetDlgItem(dialog, kList), combo = ::GetDlgItem(dialog, kCombo);
        EXPECT_EQ(ListRows(list), ChildRows());
        EXPECT_EQ(ComboRows(combo), ChildRows());
        SelectListRow(list, 1);
        EXPECT_EQ(Text(::GetDlgItem(dialog, kShown)), ChildRows()[1]);
        SelectComboRow(combo, 2);
        EXPECT_EQ(Text(::GetDlgItem(dialog, kShown)), ChildRows()[2]);
        EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);

        PostCommand(dialog, kAsk);  // the box is modal: post, then find it
        HWND box = child.WaitForTopWindow(L"#32770", kQuestionTitle);
        ASSERT_TRUE(box);
        EXPECT_EQ(child.FindDialog(IDNO), box);
        EXPECT_TRUE(AnswerMessageBox(box, c.answer));
        ASSERT_TRUE(child.WaitForEnd());
        EXPECT_FALSE(child.Running());
        EXPECT_EQ(child.ExitCode(), static_cast<DWORD>(c.answer));
    }
}

TEST(ProcessDriver, AProgramStillRunningEndsWithItsProcessObject) {
    std::string program;
    const std::string folder = OwnFolder(&program);
    HANDLE process = nullptr;
    {
        Process child;
        ASSERT_TRUE(child.Start(folder, program, Process::StartBy::FullPath, "--driver-child"));
        ASSERT_TRUE(child.WaitForDialog(kList));
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), child.Handle(), ::GetCurrentProcess(), &process,
                                      SYNCHRONIZE, FALSE, 0));
    }
    EXPECT_EQ(::WaitForSingleObject(process, 0), WAIT_OBJECT_0);
    ::CloseHandle(process);
    EXPECT_FALSE(Process().Start("C:\\no such folder\\", "none.exe"));
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--driver-child") return RunChild();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
