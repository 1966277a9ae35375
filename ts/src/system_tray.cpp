#include "system_tray.h"

#include <shellapi.h>

namespace tsapp {

bool SystemTray::Add(HWND owner, const std::string& tip, HICON icon) {
    data_ = NOTIFYICONDATAA{};
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the record of this build, which every shell takes
    data_.hWnd = owner;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayMessage;
    data_.hIcon = icon;
    lstrcpynA(data_.szTip, tip.c_str(), 64);
    tip_ = data_.szTip;
    enabled_ = ::Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
    return enabled_;
}

bool SystemTray::ChangeIcon(HICON icon) {
    if (!enabled_) return false;
    data_.hIcon = icon;
    data_.uFlags = NIF_ICON;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE;
}

bool SystemTray::ChangeTip(const std::string& tip) {
    if (!enabled_) return false;
    lstrcpynA(data_.szTip, tip.c_str(), 64);
    tip_ = data_.szTip;
    data_.uFlags = NIF_TIP;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE;
}

void SystemTray::Delete() {
    if (!enabled_) return;
    data_.uFlags = 0;
    ::Shell_NotifyIconA(NIM_DELETE, &data_);
    enabled_ = false;
}

bool SystemTray::HandleMessage(WPARAM iconId, LPARAM mouseMessage, HMENU menu) {
    if (!enabled_ || iconId != kTrayIconId) return false;
    HWND owner = data_.hWnd;
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_RBUTTONUP: {
            if (!menu) return true;
            ::SetMenuDefaultItem(menu, kTrayDefaultPosition, TRUE);
            POINT at;
            ::GetCursorPos(&at);
            ::SetForegroundWindow(owner);
            ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
            ::PostMessageW(owner, WM_NULL, 0, 0);
            return true;
        }
        case WM_LBUTTONDBLCLK: {
            ::SetForegroundWindow(owner);
            const UINT command = menu ? ::GetMenuItemID(menu, kTrayDefaultPosition) : static_cast<UINT>(-1);
            if (command != static_cast<UINT>(-1)) ::SendMessageW(owner, WM_COMMAND, command, 0);
            return true;
        }
        default: return true;
    }
}

}  // namespace tsapp
