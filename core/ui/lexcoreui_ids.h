// Dialog templates of lexcoreui.rc and the ids of their controls, for the
// resource script, the dialog classes and their tests.
#pragma once

#include <windows.h>

// History of looked-up words (THistoryDialog).
#define IDD_HISTORY 6
#define IDC_HISTORY_LIST 101
#define IDC_HISTORY_OK IDOK

// Question with Yes and No (TMAN). Escape and a close request come as the No
// button's command.
#define IDD_QUESTION 8
#define IDC_QUESTION_TEXT 100
#define IDC_QUESTION_YES IDOK
#define IDC_QUESTION_NO IDCANCEL

// Message with an OK button (TMOK).
#define IDD_MESSAGE 13
#define IDC_MESSAGE_TEXT 1001
#define IDC_MESSAGE_OK IDOK
