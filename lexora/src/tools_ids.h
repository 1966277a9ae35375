// Dialog and control ids of the text translator and the full-text search.
#pragma once

// The slot choice of the translator: check box IDC_SELECT_FIRST_SLOT + slot.
#define IDD_SELECT_SLOTS 223
#define IDC_SELECT_FIRST_SLOT 100
#define IDC_SELECT_LAST_SLOT 119

// The translator.
#define IDD_TRANSLATOR 23
#define IDC_TRN_OUTPUT_BROWSE 101
#define IDC_TRN_OUTPUT 102
#define IDC_TRN_TEXT 103
#define IDC_TRN_SOURCE_BROWSE 104
#define IDC_TRN_ASCII_RADIO 105
#define IDC_TRN_UNICODE_RADIO 106
#define IDC_TRN_MODE_GROUP 107
#define IDC_TRN_UNICODE 108
#define IDC_TRN_INPUT_LABEL 1000
#define IDC_TRN_OUTPUT_LABEL 1001
#define IDC_TRN_SOURCE_PATH 1002

// The full-text search.
#define IDD_SEARCH 10
#define IDC_SEARCH_KEYBOARD 101
#define IDC_SEARCH_TEXT 103
#define IDC_SEARCH_SLOT 104
#define IDC_SEARCH_HEADWORDS 105
#define IDC_SEARCH_TRANSLATIONS 106
#define IDC_SEARCH_TEXT_LABEL 1001
#define IDC_SEARCH_PART_LABEL 1002
#define IDC_SEARCH_STATUS 1005
