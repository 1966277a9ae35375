// Helpers for tests that drive real windows with real messages.
#pragma once

#include "winlib/dialog.h"

#include <functional>

namespace wl::testing {

// Runs `dialog` modally; `act` runs inside its loop once it is set up.
INT_PTR ExecuteWith(Dialog& dialog, std::function<void(Dialog&)> act);

// Clicks button `id` of `dialog` (WM_COMMAND with BN_CLICKED, as a click sends).
void ClickButton(HWND dialog, int id);
// Sends a key press (WM_KEYDOWN and WM_KEYUP) to `target`.
void SendKey(HWND target, UINT vk);
// Posts a key press to `target`, to be handled by the running message loop
// (so that the dialog manager sees it, as with a real key).
void PostKey(HWND target, UINT vk);
// Handles every message waiting in this thread's queue.
void PumpMessages();

}  // namespace wl::testing
