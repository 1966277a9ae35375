// Helpers for tests that drive real windows with real messages.
#pragma once

#include "winlib/common_dialogs.h"
#include "winlib/dialog.h"

#include <functional>
#include <string>
#include <vector>

namespace wl::testing {

// Runs `dialog` modally; `act` runs inside its loop once it is set up. A
// dialog still open long after (a test that failed to close it) ends with
// kAbandoned.
constexpr INT_PTR kAbandoned = -2;
// How long a dialog that a test drives may stay open before it counts as
// abandoned: a guard against a hanging test only, long enough that a busy
// machine never reaches it (the tests wait for conditions, not for times).
constexpr UINT kWatchdogMs = 180000;
INT_PTR ExecuteWith(Dialog& dialog, std::function<void(Dialog&)> act);

// Clicks button `id` of `dialog` (BM_CLICK on a visible, enabled button;
// otherwise the WM_COMMAND with BN_CLICKED that a click sends).
void ClickButton(HWND dialog, int id);
// Sends a key press (WM_KEYDOWN and WM_KEYUP) to `target`.
void SendKey(HWND target, UINT vk);
// Posts a key press to `target`, to be handled by the running message loop
// (so that the dialog manager sees it, as with a real key).
void PostKey(HWND target, UINT vk);
// Handles every message waiting in this thread's queue.
void PumpMessages();
// The text of a window or control as the W functions give it.
std::wstring WideText(HWND hwnd);
// The texts of the visible controls of `dialog` that do not show whole in
// their control's font and size: labels (static texts, word-wrapped as they
// draw), check boxes, radio buttons and push buttons, and the items of combo
// boxes. Empty when every text shows whole.
std::vector<std::wstring> ClippedTexts(HWND dialog);
// The texts of the visible controls of `dialog` (labels, buttons, edits and
// the items of combo boxes) whose font does not draw every letter of them
// (wl::FontShowsLetters), each as "<id> <text>". Empty when every letter shows.
std::vector<std::wstring> TextsWithMissingLetters(HWND dialog);

// A file dialog runner (for wl::ScopedFileDialogRunner) that answers the file
// dialogs with `paths` in turn, 8-bit in `codePage`, and cancels once they
// are used up; `answered`, when given, counts the dialogs it answered.
FileDialogRunner AnswerFileDialogs(std::vector<std::string> paths, UINT codePage = CP_ACP,
                                   int* answered = nullptr);

}  // namespace wl::testing
