// Dialog, control and command ids of ts, shared by its resource script, its
// dialogs and its tests.
#pragma once

// Dialog templates.
#define IDD_KEYBOARD 102
#define IDD_KEY_ASSIGN 131
#define IDD_NEW_KEY 132
#define IDD_PREFIX 133
#define IDD_DELETE_KEY 135
#define IDD_CHAR_MAP 138
#define IDD_ABOUT 100
#define IDD_SETTINGS 134
#define IDD_HOT_KEY 139
#define IDD_TEXT_VIEW 142

// Icons: the program's (keyboard on) and the keyboard off.
#define IDI_ACTIVE 128
#define IDI_NORMAL 141

// On-screen keyboard (IDD_KEYBOARD).
#define IDC_QUICK_BUTTON_FIRST 50
#define IDC_QUICK_BUTTON_LAST 59
#define IDC_MAIN_KEY_FIRST 500
#define IDC_MAIN_KEY_LAST 559
#define IDC_KEYPAD_KEY_FIRST 600
#define IDC_KEYPAD_KEY_LAST 619
#define IDC_FUNCTION_KEY_FIRST 950
#define IDC_FUNCTION_KEY_LAST 961
#define IDC_FONT 1000
#define IDC_ACTIVATE 1001
#define IDC_SAVE 1002
#define IDC_CANCEL_CHANGES 1003
#define IDC_SETUP 1004
#define IDC_HELP_BUTTON 1005
#define IDC_END 1006
#define IDC_STATUS_LABEL 1007
#define IDC_STATUS 1008
#define IDC_SHIFT_TOGGLE 1009
#define IDC_ALT_TOGGLE 1010
#define IDC_CTRL_TOGGLE 1011
#define IDC_PREFIX_TOGGLE 1012
#define IDC_NEW_KEY 1014
#define IDC_DELETE_KEY 1015
#define IDC_ALLOW_CHANGES 1016
#define IDC_NEW_PREFIX 1017
#define IDC_NOTHING 1035
#define IDC_QUICK_HEADING 1062

// Commands of the key context menu and of the window menu.
#define CM_CHARACTER_MAP 2025
#define CM_KEY_REMAPPING 2026
#define CM_ABOUT 16
#define CM_HIDE 48

// Commands of the notification-area menu: show, hide and the ten quick-switch buttons.
#define CM_SHOW_WINDOW 32771
#define CM_HIDE_WINDOW 32772
#define CM_TRAY_KEYBOARD_FIRST 32775
#define CM_TRAY_KEYBOARD_LAST 32784

// Hot-key dialog (IDD_HOT_KEY); it shares the capture controls below.
#define IDC_HOT_KEY_SHIFT 1031
#define IDC_HOT_KEY_ALT 1032
#define IDC_HOT_KEY_CTRL 1033
#define IDC_STANDARD 1060
#define IDC_STANDARD_LABEL 1061

// Settings dialog (IDD_SETTINGS): row i of the quick-switch buttons has the
// ids IDC_ROW_FIRST + IDC_ROW_STEP * i + one of the offsets.
#define IDC_ROW_FIRST 2000
#define IDC_ROW_STEP 7
#define IDC_ROW_LABEL 0
#define IDC_ROW_SHORT_NAME 1
#define IDC_ROW_NAME 2
#define IDC_ROW_FILE 3
#define IDC_ROW_OTHER 4
#define IDC_ROW_SWITCH 5
#define IDC_ROW_LAYOUT 6
#define IDC_BUTTON_FONT 1020
#define IDC_INACTIVATION_SWITCH 1027
#define IDC_ASK_TO_FINISH 1035
#define IDC_SAVE_LAST 1036
#define IDC_ACTIVATE_AT_START 1037
#define IDC_HIDE_AT_START 1038
#define IDC_LANGUAGE 1039
#define IDC_SHORTCUT_HEADING 1062
#define IDC_NAME_HEADING 1063
#define IDC_FILE_HEADING 1064
#define IDC_WINDOWS_HEADING 1065
#define IDC_LANGUAGE_LABEL 1066

// About (IDD_ABOUT) and text viewer (IDD_TEXT_VIEW).
#define IDC_PRODUCT_LINE 1062
#define IDC_LICENCE 1020
#define IDC_SUPPORT 1021
#define IDC_RIGHTS 1074
#define IDC_MAKER_NOTICE 1075
#define IDC_VIEW_TEXT 1026

// Key assignment (IDD_KEY_ASSIGN) and character map (IDD_CHAR_MAP).
#define IDC_CODE_SCROLL 1021
#define IDC_OPEN_CHAR_MAP 1022
#define IDC_LARGE_CHARACTER 1026
#define IDC_USE_CHARACTER 1041
#define IDC_USE_PROGRAM 1042
#define IDC_PROGRAM_PATH 1043
#define IDC_BROWSE 1044
#define IDC_PREVIEW_KEY 1048
#define IDC_CODE 1049
#define IDC_SELECT_LABEL 1062

// Capture dialogs (IDD_NEW_KEY, IDD_PREFIX, IDD_DELETE_KEY).
#define IDC_CAPTURE 1030
#define IDC_CAPTURE_STATUS 1045
#define IDC_CAPTURE_HINT 1062
#define IDC_CAPTURE_NOTE 1063
#define IDC_PREFIX_1 1024
#define IDC_PREFIX_5 1028
#define IDC_PREFIX_SHIFT 1031
#define IDC_PREFIX_ALT 1032
#define IDC_PREFIX_CTRL 1033
#define IDC_DELETE_PREFIX 1050
#define IDC_DELETE_ALL_IMAGES 1046
#define IDC_DELETE_STATE_IMAGE 1047
#define IDC_DELETE_WHOLE_KEY 1052
