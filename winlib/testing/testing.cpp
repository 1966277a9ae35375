#include "winlib/testing.h"

#include <cwchar>
#include <memory>

#include "winlib/fonts.h"
#include "winlib/text.h"

#include "winlib/testing/scoped_replace.h"

namespace wl::testing {

namespace {
// A dialog that a faulty test leaves open ends with kAbandoned instead of
// hanging the test run.
void CALLBACK Watchdog(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    EndDialog(hwnd, kAbandoned);
}
}  // namespace

INT_PTR ExecuteWith(Dialog& dialog, std::function<void(Dialog&)> act) {
    Dialog::SetTestHook([act = std::move(act)](Dialog& d) {
        SetTimer(d.Handle(), 0x7E57, kWatchdogMs, &Watchdog);
        act(d);
    });
    AtScopeEnd unhook([] { Dialog::SetTestHook(nullptr); });
    return dialog.Execute();
}

void ClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button && IsWindowVisible(button) && IsWindowEnabled(button))
        SendMessageW(button, BM_CLICK, 0, 0);  // the button itself presses and notifies
    else
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

namespace {
LPARAM KeyData(UINT vk, bool up) {
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, 0 /* MAPVK_VK_TO_VSC */)) << 16;
    return up ? (scan | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31)) : (scan | 1);
}
}  // namespace

void SendKey(HWND target, UINT vk) {
    SendMessageW(target, WM_KEYDOWN, vk, KeyData(vk, false));
    SendMessageW(target, WM_KEYUP, vk, KeyData(vk, true));
}

void PostKey(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, KeyData(vk, false));
    PostMessageW(target, WM_KEYUP, vk, KeyData(vk, true));
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring WideText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

namespace {

// Whether `text` drawn with `flags` in `dc` fits a box of `width` x `height`.
bool Fits(HDC dc, const std::wstring& text, int width, int height, UINT flags) {
    RECT r = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return r.right <= width && r.bottom <= height;
}

bool ShowsWhole(HWND control, HDC dc) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    const std::wstring kind = name;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client;
    GetClientRect(control, &client);
    const std::wstring text = WideText(control);
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    if (_wcsicmp(name, L"Static") == 0) {
        if ((style & SS_TYPEMASK) > SS_RIGHT) return true;  // icons, frames, pictures
        return text.empty() || Fits(dc, text, client.right, client.bottom, DT_WORDBREAK | DT_EXPANDTABS | prefix);
    }
    if (_wcsicmp(name, L"Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX || text.empty()) return true;
        const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                         type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        // The box and its gap, or the push button's edges and focus frame.
        const int margin = box ? GetSystemMetrics(SM_CXMENUCHECK) + 8 : 10;
        return Fits(dc, text, client.right - margin, client.bottom, DT_SINGLELINE);
    }
    if (_wcsicmp(name, L"ComboBox") == 0) {
        const int width = client.right - GetSystemMetrics(SM_CXVSCROLL) - 6;
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(static_cast<size_t>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(static_cast<size_t>(SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
            if (!Fits(dc, item, width, client.bottom, DT_SINGLELINE | DT_NOPREFIX)) return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::wstring> ClippedTexts(HWND dialog) {
    std::vector<std::wstring> clipped;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        HDC dc = GetDC(c);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        if (!ShowsWhole(c, dc)) clipped.push_back(std::to_wstring(GetDlgCtrlID(c)) + L" " + WideText(c));
        SelectObject(dc, old);
        ReleaseDC(c, dc);
    }
    return clipped;
}

std::vector<std::wstring> TextsWithMissingLetters(HWND dialog) {
    std::vector<std::wstring> missing;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        wchar_t name[32] = {};
        GetClassNameW(c, name, 32);
        std::vector<std::wstring> texts;
        if (_wcsicmp(name, L"ComboBox") == 0) {
            const int count = static_cast<int>(SendMessageW(c, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                std::wstring item(static_cast<size_t>(SendMessageW(c, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
                item.resize(static_cast<size_t>(SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
                texts.push_back(item);
            }
        } else if (_wcsicmp(name, L"Static") == 0) {
            if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT) texts.push_back(WideText(c));  // no icon
        } else if (_wcsicmp(name, L"Button") == 0 || _wcsicmp(name, L"Edit") == 0) {
            texts.push_back(WideText(c));
        }
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        for (const std::wstring& text : texts)
            if (!FontShowsLetters(font, text)) missing.push_back(std::to_wstring(GetDlgCtrlID(c)) + L" " + text);
    }
    return missing;
}

FileDialogRunner AnswerFileDialogs(std::vector<std::string> paths, UINT codePage, int* answered) {
    auto next = std::make_shared<size_t>(0);
    return [paths = std::move(paths), codePage, answered, next](OPENFILENAMEW& record, bool) {
        if (*next >= paths.size() || !record.lpstrFile || record.nMaxFile == 0) return false;
        if (answered) ++*answered;
        const std::wstring path = ToWide(paths[(*next)++], codePage);
        wcsncpy(record.lpstrFile, path.c_str(), record.nMaxFile - 1);
        record.lpstrFile[record.nMaxFile - 1] = L'\0';
        return true;
    };
}

}  // namespace wl::testing
