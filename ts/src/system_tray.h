// ts's icon in the notification area: added at start in normal mode with the
// main dialog as its owner, which gets the mouse messages as the callback
// message and the menu's commands. While the icon could not be added every
// other operation does nothing.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace tsapp {

// The callback message of the icon and its id (the tray menu's id too).
constexpr UINT kTrayMessage = 1034;
constexpr UINT kTrayIconId = 129;
// Position of the menu's default item ("Show"), which a double click runs.
constexpr int kTrayDefaultPosition = 12;

class SystemTray {
public:
    SystemTray() = default;
    ~SystemTray() { Delete(); }
    SystemTray(const SystemTray&) = delete;
    SystemTray& operator=(const SystemTray&) = delete;

    // True when the icon was added.
    bool Add(HWND owner, const std::string& tip, HICON icon);
    bool ChangeIcon(HICON icon);
    bool ChangeTip(const std::string& tip);
    void Delete();
    bool Enabled() const { return enabled_; }
    const std::string& Tip() const { return tip_; }

    // A callback message: a right click tracks `menu` at the cursor with its
    // default item; a double click sends the default item's command to the
    // owner. True when the message was this icon's.
    bool HandleMessage(WPARAM iconId, LPARAM mouseMessage, HMENU menu);

private:
    NOTIFYICONDATAA data_{};
    bool enabled_ = false;
    std::string tip_;
};

}  // namespace tsapp
