// Dialog templates of winlib_test.rc and their control ids.
#pragma once

// The test dialog: an edit, a static, a button and a list (and IDOK, IDCANCEL).
#define IDD_TEST 100
#define IDC_TEST_EDIT 101
#define IDC_TEST_STATIC 102
#define IDC_TEST_BUTTON 103
#define IDC_TEST_LIST 104

// The child dialog "CLIENT": one edit.
#define IDC_CLIENT_EDIT 101
