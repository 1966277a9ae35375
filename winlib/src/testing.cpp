#include "winlib/testing.h"

#include <cwchar>
#include <memory>

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
