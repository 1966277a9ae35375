// winlib: the small class library of the dictionary programs, on the Win32 API.
//
// - text.h         ToWide/FromWide, SetText/GetText(hwnd, bytes, code page): the one
//                  place where 8-bit texts meet the W functions.
// - window.h       Window: handle, code page, texts (SetItemTexts: control texts by text id
//                  through the program's TextLookup), timers, SetupWindow, CanClose;
//                  message tables (WL_BEGIN_MESSAGE_TABLE ... WL_MESSAGE / WL_COMMAND /
//                  WL_NOTIFY / WL_CONTROL / WL_ENABLER, the ranges WL_COMMAND_RANGE /
//                  WL_ENABLER_RANGE, WM_NOTIFY by WL_ON_NOTIFY / WL_ON_NOTIFY_ANY /
//                  WL_ON_NOTIFY_RANGE ... WL_END_MESSAGE_TABLE),
//                  searched class first, then base classes; DefaultProcessing().
// - dialog.h       Dialog on a template by number or name: Execute() (modal, returns the
//                  close code), Create() (modeless or child), CloseWindow(code), the
//                  common grey look, and SetTestHook for tests.
// - controls.h     Control, Button, Static, Edit, ListBox (also of multiple selection) and ComboBox
//                  (both ItemList), ScrollBar: bound by id or created in code; owner-draw through
//                  ODADrawEntire/ODASelect/ODAFocus.
// - fonts.h        CreateFontShowing: a font from a stored LOGFONT that shows the character set
//                  its text needs (another face when the stored one lacks it); ReplaceFont.
// - frame.h        FrameWindow with ControlBar (toolbar), StatusBar and client window;
//                  command routing frame -> client; enablers on menus and buttons.
// - application.h  Application: InitMainWindow, Run, message loop with accelerators
//                  and modeless dialogs, idle updates.
// - common_dialogs.h  OpenFileDialog, SaveFileDialog, ChooseFontDialog: the system dialogs with
//                  8-bit texts in a code page and "a|b|" filters; runners replaceable for tests.
// - exception_barrier.h  A handler's exception stops at the window procedure: one report
//                  (ScopedFailureReporter replaces the message box) and the top window
//                  closes (a modal dialog ends with IDCANCEL); CallGuarded for other callbacks.
// The helpers of the tests live apart, in winlib/testing (libraries wl_testing,
// wl_dialog_testing, wl_process_testing): testing.h holds ExecuteWith,
// ClickButton, SendKey, PostKey, PumpMessages, WideText.
#pragma once

#include "winlib/application.h"
#include "winlib/common_dialogs.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"
#include "winlib/exception_barrier.h"
#include "winlib/fonts.h"
#include "winlib/frame.h"
#include "winlib/text.h"
#include "winlib/window.h"
