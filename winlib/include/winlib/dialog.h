// Dialogs on resource templates.
//
//   TMyDialog dlg(parent);          // template chosen by number (or name)
//   INT_PTR code = dlg.Execute();   // modal: the code given to CloseWindow
//
// or dlg.Create() for a modeless dialog (a child dialog when its template has
// WS_CHILD). SetupWindow runs when the dialog exists, before it is shown;
// overrides call Dialog::SetupWindow() first (it binds the control objects).
//
// Common look: the dialog itself, its static controls and its buttons get
// black text on a transparent background and the light grey stock brush;
// edits, list boxes and scroll bars keep their own colours. WM_PAINT only
// begins and ends a paint. Command 1 closes with 1, command 2 (also Escape
// and the close box) with 2, unless the class's own table answers them; a
// child dialog (WS_CHILD, e.g. a frame's client) ignores both.
#pragma once

#include "winlib/window.h"

#include <functional>

namespace wl {

class Dialog : public Window {
public:
    Dialog(Window* parent, int templateId, HINSTANCE module = nullptr);
    Dialog(Window* parent, const wchar_t* templateName, HINSTANCE module = nullptr);
    ~Dialog() override;

    // Modal run; returns the close code (-1 when the template cannot be loaded).
    INT_PTR Execute();
    // Modeless dialog; false when it cannot be created.
    bool Create();
    // Ends a modal run with `code`, or destroys a modeless dialog.
    void CloseWindow(INT_PTR code);
    bool IsModal() const { return modal_; }

    WL_DECLARE_MESSAGE_TABLE();

    // The common look (mapped in Dialog's own table).
    LRESULT EvCtlColor(WPARAM, LPARAM);
    LRESULT EvPaint(WPARAM, LPARAM);
    void CmOk();
    void CmCancel();

    // Test seam: `hook` runs once, for the next dialog that finishes its
    // set-up, inside that dialog's own message loop (so a modal dialog can be
    // driven with real messages and closed from the hook).
    static void SetTestHook(std::function<void(Dialog&)> hook);

    // Modeless dialogs that the message loop must give their keys to.
    static bool IsModelessDialogMessage(MSG& msg);

    bool CreateAsClient(HWND frame) override;
    // After a handler failed: a modal dialog ends with IDCANCEL, a modeless one is destroyed.
    void EndAfterFailure() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR Answer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool CreateModeless(HWND parent);

    std::function<void(Dialog&)> pendingHook_;

    Window* owner_;
    LPCWSTR template_;
    HINSTANCE module_;
    bool modal_ = false;
};

}  // namespace wl
