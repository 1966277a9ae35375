// Dialog and control ids of the verb tables (res/verbs.rc).
#pragma once

// English verbs and German verbs.
#define IDD_VERBS_ENGLISH 7
#define IDD_VERBS_GERMAN 77

// Both dialogs.
#define IDC_VERBS_ORIGINAL_LABEL 1000
#define IDC_VERBS_TRANSLATION_LABEL 1003
#define IDC_VERBS_LIST 101

// English: the forms and the translation of the chosen verb.
#define IDC_VERBS_PAST_LABEL 1001
#define IDC_VERBS_PARTICIPLE_LABEL 1002
#define IDC_VERBS_PAST 102
#define IDC_VERBS_PARTICIPLE 103
#define IDC_VERBS_TRANSLATION 104

// German: the meaning at the top, the five forms below it.
#define IDC_VERBS_GERMAN_MEANING 103
#define IDC_VERBS_GERMAN_PRESENT 104
#define IDC_VERBS_GERMAN_PAST 105
#define IDC_VERBS_GERMAN_SUBJUNCTIVE 106
#define IDC_VERBS_GERMAN_IMPERATIVE 107
#define IDC_VERBS_GERMAN_PARTICIPLE 108
