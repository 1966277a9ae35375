#include "winlib/testing.h"

namespace wl::testing {

INT_PTR ExecuteWith(Dialog& dialog, std::function<void(Dialog&)> act) {
    Dialog::SetTestHook(std::move(act));
    INT_PTR result = dialog.Execute();
    Dialog::SetTestHook(nullptr);
    return result;
}

void ClickButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
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

}  // namespace wl::testing
