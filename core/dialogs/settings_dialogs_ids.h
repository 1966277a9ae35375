// Dialog templates of settings_dialogs.rc and the ids of their controls, for
// the resource script, the dialog classes and their tests.
#pragma once

#include <windows.h>

// Ids shared by several of these dialogs.
#define IDC_ROW_LABEL_FIRST 600  // row label of pair p: 600 + p
#define IDC_COLUMN_HEAD_FIRST 1040  // column heads 1040 ..

// Program configuration (TConfigWindow).
#define IDD_CONFIG 3
#define IDC_CONFIG_HISTORY 106
#define IDC_CONFIG_SEPARATOR 113
#define IDC_CONFIG_CD_FOLDER 101
#define IDC_CONFIG_DISK_FOLDER 146
#define IDC_CONFIG_BROWSE_CD 104
#define IDC_CONFIG_BROWSE_DISK 105
#define IDC_CONFIG_LETTER_FIRST 500        // 500 + pair
#define IDC_CONFIG_ORIGINAL_NAME_FIRST 200  // 200 + slot
#define IDC_CONFIG_TRANSLATION_NAME_FIRST 300
#define IDC_CONFIG_TITLE_FIRST 400
#define IDC_CONFIG_CONFIRM_EXIT 103
#define IDC_CONFIG_CLIPBOARD_AT_START 15
#define IDC_CONFIG_UI_LANGUAGE 107
#define IDC_CONFIG_TOOLBAR 108
#define IDC_CONFIG_LETTER_HEAD 511
#define IDC_CONFIG_HISTORY_LABEL 1010
#define IDC_CONFIG_SEPARATOR_LABEL 1020
#define IDC_CONFIG_CD_LABEL 1030
#define IDC_CONFIG_DISK_LABEL 145
#define IDC_CONFIG_UI_LANGUAGE_LABEL 20

// Sort order (TSortWindow).
#define IDD_SORT 132
#define IDC_SORT_TITLE_FIRST 200  // 200 + slot
#define IDC_SORT_TYPE_FIRST 300   // 300 + slot
#define IDC_SORT_NOTE 1030

// Fonts of a slot (TConfigFontWindow) and the script of a chosen font (TScriptWindow).
#define IDD_FONTS 11
#define IDC_FONTS_SLOTS 106
#define IDC_FONTS_ORIGINAL 102
#define IDC_FONTS_TRANSLATION 105
#define IDC_FONTS_PRONUNCIATION 101
#define IDC_FONTS_LABEL 20
#define IDD_SCRIPT 133
#define IDC_SCRIPT_LIST 101
#define IDC_SCRIPT_PROMPT 1000

// Toolbar icons (TTlacitko).
#define IDD_TOOLBAR 115
#define IDC_TOOLBAR_CATALOGUE 102
#define IDC_TOOLBAR_ICONS 118
#define IDC_TOOLBAR_COPY 117
#define IDC_TOOLBAR_DELETE 101
#define IDC_TOOLBAR_UP 104
#define IDC_TOOLBAR_DOWN 103
#define IDC_TOOLBAR_CATALOGUE_LABEL 1000
#define IDC_TOOLBAR_ICONS_LABEL 1001

// Translation direction (TJazykyDialog).
#define IDD_LANGUAGES 14
#define IDC_LANGUAGES_LIST 101

// About box (TAbout) and licence viewer (TProdejci).
#define IDD_ABOUT 12
#define IDC_ABOUT_ICON 3000
#define IDC_ABOUT_VERSION 101
#define IDC_ABOUT_NOTICE 102
#define IDC_ABOUT_CONTENTS_LABEL 103
#define IDC_ABOUT_CONTENTS 109
#define IDC_ABOUT_LICENCE 104
#define IDD_LICENCE 323
#define IDC_LICENCE_TEXT 101
