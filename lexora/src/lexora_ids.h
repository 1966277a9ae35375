// Resource, command and control ids of lexora.
#pragma once

// Dialog resource of the client window, its hidden copy edit.
#define IDD_CLIENT 1
#define IDC_COPY_EDIT 211
#define IDI_LEXORA 1
#define IDA_LEXORA 1

// Children of the client window.
#define IDC_WORD_BOX 500
#define IDC_TRANSLATION_BOX 501
#define IDC_PRONUNCIATION 502
#define IDC_SCROLL 2225

// Commands.
#define CM_CORRECT_WORD 103
#define CM_KEYBOARD_CONFIG 106
#define CM_SORTING_SETUP 101
#define CM_TRANSLATE_BACK 115
#define CM_TRANSLATOR 183
#define CM_IRREGULAR_VERBS 186
#define CM_END 189
#define CM_UTILITY 190
#define CM_UNDO 197
#define CM_REDO 198
#define CM_HISTORY 199
#define CM_COPY 208
#define CM_PASTE 209
#define CM_ENGLISH 211
#define CM_GERMAN 212
#define CM_DIRECTION 213
#define CM_NEW_ENTRY 215
#define CM_DELETE_ENTRY 216
#define CM_OTHER_LANGUAGES 217
#define CM_DELETE_TRANSLATION 219
#define CM_HELP 224
#define CM_ABOUT 225
#define CM_LOCATE 300
#define CM_LOCATE_NEXT 301
#define CM_DICTIONARY_CONFIG 321
#define CM_FONT_SETUP 322
// Language buttons 3..10 (pairs 2..9): 601 + pair.
#define CM_LANGUAGE_3 603
#define CM_LANGUAGE_4 604
#define CM_LANGUAGE_5 605
#define CM_LANGUAGE_6 606
#define CM_LANGUAGE_7 607
#define CM_LANGUAGE_8 608
#define CM_LANGUAGE_9 609
#define CM_LANGUAGE_10 610
#define CM_CLIPBOARD_LINK 700
#define CM_CLIPBOARD_LINK_ON 701
#define CM_CLIPBOARD_LINK_OFF 702
#define CM_SAVE_POSITION 703
