// Open, save and font dialogs: what the system record gets and what comes
// back, through a runner that answers as the user would; and the real
// dialogs, cancelled by a message.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "winlib/common_dialogs.h"
#include "winlib/testing.h"
#include "winlib/winlib.h"

namespace {

// An owner window in code page 1251.
class Owner : public wl::Window {
public:
    Owner() {
        SetCodePage(1251);
        Create(WS_OVERLAPPEDWINDOW, 0, L"owner", 10, 10, 200, 100, nullptr, nullptr);
    }
};

std::wstring Wide(const wchar_t* text, size_t count) { return std::wstring(text, count); }

TEST(CommonDialogs, FileDialogsGiveAndTakeTextsInTheCodePage) {
    Owner owner;
    ASSERT_NE(owner.Handle(), nullptr);
    for (bool save : {false, true}) {
        for (bool choose : {true, false}) {
            const std::string what = std::string(save ? "save" : "open") + (choose ? " chosen" : " cancelled");
            wl::FileDialogOptions o;
            o.title = "\xc2\xfb\xe1\xee\xf0";  // "Выбор" in 1251
            o.filter = "Text Files (*.TXT, *.ASC)|*.txt;*.asc|All Files(*.*)|*.*|";
            o.filterIndex = 1;
            o.initialDir = "C:\\\xd1\xeb\xee\xe2\xe0";  // "C:\Слова"
            o.defaultExt = "txt";
            o.fileName = "old.txt";
            o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
            bool ran = false;
            wl::ScopedFileDialogRunner runner([&](OPENFILENAMEW& r, bool isSave) {
                ran = true;
                EXPECT_EQ(isSave, save) << what;
                EXPECT_EQ(r.hwndOwner, owner.Handle()) << what;
                EXPECT_EQ(std::wstring(r.lpstrTitle), L"Выбор") << what;
                const wchar_t expected[] = L"Text Files (*.TXT, *.ASC)\0*.txt;*.asc\0All Files(*.*)\0*.*\0";
                EXPECT_EQ(Wide(r.lpstrFilter, sizeof(expected) / sizeof(wchar_t)),
                          Wide(expected, sizeof(expected) / sizeof(wchar_t)))
                    << what;  // both end in two NULs
                EXPECT_EQ(r.nFilterIndex, 1u) << what;
                EXPECT_EQ(std::wstring(r.lpstrInitialDir), L"C:\\Слова") << what;
                EXPECT_EQ(std::wstring(r.lpstrDefExt), L"txt") << what;
                EXPECT_EQ(std::wstring(r.lpstrFile), L"old.txt") << what;
                EXPECT_GE(r.nMaxFile, 260u) << what;
                EXPECT_EQ(r.Flags & (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER),
                          DWORD(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER))
                    << what;
                if (!choose) return false;
                const wchar_t chosen[] = L"C:\\Слова\\новый.txt";
                std::memcpy(r.lpstrFile, chosen, sizeof(chosen));
                r.nFilterIndex = 2;
                return true;
            });
            EXPECT_EQ(save ? wl::SaveFileDialog(&owner, o) : wl::OpenFileDialog(&owner, o), choose) << what;
            EXPECT_TRUE(ran) << what;
            EXPECT_EQ(o.fileName, choose ? "C:\\\xd1\xeb\xee\xe2\xe0\\\xed\xee\xe2\xfb\xe9.txt" : "old.txt") << what;
            EXPECT_EQ(o.filterIndex, choose ? 2 : 1) << what;
        }
    }
}

TEST(CommonDialogs, FilterFromTheTexts) {
    struct Case {
        std::string text;
        std::wstring wide;  // every NUL included
    };
    const Case cases[] = {
        {"A (*.a)|*.a|", std::wstring(L"A (*.a)\0*.a\0\0", 13)},
        {"A (*.a)|*.a", std::wstring(L"A (*.a)\0*.a\0\0", 13)},  // the last '|' missing
        {"", std::wstring()},
    };
    for (const Case& c : cases) {
        std::wstring got = wl::FilterFromText(c.text, 1252);
        EXPECT_EQ(got, c.wide) << c.text;
    }
}

TEST(CommonDialogs, FontDialogKeepsTheLogFontAndItsFaceInTheCodePage) {
    Owner owner;
    for (bool choose : {true, false}) {
        wl::FontDialogOptions o;
        o.codePage = 1250;
        o.font.lfHeight = -13;
        o.font.lfWeight = 400;
        o.font.lfCharSet = 238;
        std::strcpy(o.font.lfFaceName, "\x8elu\x9dou\xe8k\xe1");  // "Žluťoučká" in 1250
        o.flags = CF_SCREENFONTS | CF_FORCEFONTEXIST;
        o.minPointSize = 8;
        o.maxPointSize = 18;
        wl::ScopedFontDialogRunner runner([&](CHOOSEFONTW& r) {
            EXPECT_EQ(r.hwndOwner, owner.Handle());
            EXPECT_EQ(std::wstring(r.lpLogFont->lfFaceName), L"Žluťoučká");
            EXPECT_EQ(r.lpLogFont->lfHeight, -13);
            EXPECT_EQ(r.lpLogFont->lfCharSet, 238);
            EXPECT_EQ(r.Flags & (CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE),
                      DWORD(CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE));
            EXPECT_EQ(r.nSizeMin, 8);
            EXPECT_EQ(r.nSizeMax, 18);
            if (!choose) return false;
            LOGFONTW& f = *r.lpLogFont;
            f.lfHeight = -16;
            f.lfWeight = 700;
            f.lfItalic = 1;
            f.lfCharSet = 204;
            std::wcscpy(f.lfFaceName, L"Tahoma Příliš");
            r.iPointSize = 120;
            return true;
        });
        EXPECT_EQ(wl::ChooseFontDialog(&owner, o), choose);
        EXPECT_EQ(o.font.lfHeight, choose ? -16 : -13);
        EXPECT_EQ(o.font.lfWeight, choose ? 700 : 400);
        EXPECT_EQ(o.font.lfItalic, choose ? 1 : 0);
        EXPECT_EQ(o.font.lfCharSet, choose ? 204 : 238);
        EXPECT_EQ(std::string(o.font.lfFaceName), choose ? "Tahoma P\xf8\xedli\x9a" : "\x8elu\x9dou\xe8k\xe1");
        EXPECT_EQ(o.pointSize, choose ? 120 : 0);
    }
}

// The real system dialogs: a timer of the owner finds the dialog the call
// shows, notes its caption and cancels it.
struct Seen {
    HWND owner = nullptr;
    std::wstring caption;
    int polls = 0;
};
Seen g_seen;

BOOL CALLBACK CancelOwnedDialog(HWND hwnd, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) != L"#32770" || GetWindow(hwnd, GW_OWNER) != g_seen.owner || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t caption[128] = {};
    GetWindowTextW(hwnd, caption, 128);
    g_seen.caption = caption;
    PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK Poll(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ++g_seen.polls;
    EnumThreadWindows(GetCurrentThreadId(), &CancelOwnedDialog, 0);
    // A guard against a dialog that never comes, long enough for a busy machine.
    if (!g_seen.caption.empty() || g_seen.polls > static_cast<int>(wl::testing::kWatchdogMs / 50)) KillTimer(hwnd, id);
}

TEST(CommonDialogs, RealDialogsShowTheirCaptionAndCancel) {
    Owner owner;
    ShowWindow(owner.Handle(), SW_SHOW);
    g_seen = Seen{owner.Handle(), L"", 0};
    SetTimer(owner.Handle(), 1, 50, &Poll);
    wl::FileDialogOptions o;
    o.title = "\xc2\xfb\xe1\xee\xf0";
    o.filter = "All Files(*.*)|*.*|";
    o.fileName = "x.txt";
    EXPECT_FALSE(wl::OpenFileDialog(&owner, o));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(g_seen.caption, L"Выбор");
    EXPECT_EQ(o.fileName, "x.txt");

    g_seen = Seen{owner.Handle(), L"", 0};
    SetTimer(owner.Handle(), 1, 50, &Poll);
    wl::FontDialogOptions f;
    f.font.lfHeight = -13;
    std::strcpy(f.font.lfFaceName, "Tahoma");
    EXPECT_FALSE(wl::ChooseFontDialog(&owner, f));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_FALSE(g_seen.caption.empty());
    EXPECT_EQ(std::string(f.font.lfFaceName), "Tahoma");
}

}  // namespace
