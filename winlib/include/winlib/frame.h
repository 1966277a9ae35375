// Frame window with an optional control bar (toolbar) at the top, a status
// bar at the bottom and a client window filling the rest.
//
//   FrameWindow frame(" ", &client);       // client: any Window (e.g. a child dialog)
//   frame.Insert(toolbar, FrameWindow::Top);
//   frame.Insert(statusBar, FrameWindow::Bottom);
//   frame.Create(x, y, w, h, WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX);
//
// Commands (menu items, accelerators, toolbar buttons) go through the frame's
// table; a command it does not answer goes on to the client. Before a popup
// menu opens and when the program is idle, the enabler entries of the frame
// (and then the client) set the items' texts and enabled states. WM_CLOSE asks
// CanClose(); the main window's destruction ends the message loop.
#pragma once

#include "winlib/window.h"

#include <string>
#include <vector>

namespace wl {

class ControlBar : public Window {
public:
    explicit ControlBar(Window* frame) : Window(frame) {}
    // A button showing bitmap resource `bitmapId` (of `module`) that sends `command`.
    void AddButton(int bitmapId, UINT command, HINSTANCE module = nullptr);
    void AddSeparator();
    void SetFont(HFONT font) { font_ = font; }
    bool Realize(HWND frame);
    // Applies the enablers of `target` to every button.
    void UpdateButtons(Window& target);
    void SetupWindow() override {}
    int Height() const;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }

private:
    struct Item { int bitmapId; UINT command; HINSTANCE module; };
    std::vector<Item> buttons_;
    HFONT font_ = nullptr;
};

class StatusBar : public Window {
public:
    explicit StatusBar(Window* frame) : Window(frame) {}
    bool Realize(HWND frame);
    int Height() const;
};

class FrameWindow : public Window {
public:
    enum Place { Top, Bottom };
    FrameWindow(const std::string& title, Window* client);

    void Insert(ControlBar& bar, Place place = Top);
    void Insert(StatusBar& bar, Place place = Bottom);
    // Menu of this frame (resource name or number of `module`).
    bool AssignMenu(const wchar_t* name, HINSTANCE module = nullptr);
    bool Create(int x, int y, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0);

    Window* Client() const { return client_; }
    ControlBar* Toolbar() const { return toolbar_; }
    StatusBar* Status() const { return status_; }
    // Runs the enablers for every toolbar button (the application calls it when idle).
    void UpdateCommands();
    // The frame's enablers, then the client's.
    bool EnableCommand(CommandEnabler& enabler) override;
    void SetupWindow() override;

    WL_DECLARE_MESSAGE_TABLE();

protected:
    LRESULT EvSize(WPARAM, LPARAM);
    LRESULT EvCommand(WPARAM, LPARAM);
    LRESULT EvInitMenuPopup(WPARAM, LPARAM);
    LRESULT EvClose(WPARAM, LPARAM);
    LRESULT EvDestroy(WPARAM, LPARAM);
    void Layout();

private:
    std::string title_;
    Window* client_;
    ControlBar* toolbar_ = nullptr;
    StatusBar* status_ = nullptr;
    HMENU menu_ = nullptr;
};

}  // namespace wl
