// The settings dialogs as lexora's frame opens them: each test sends the
// frame's command, drives the real dialog with real messages from inside its
// loop and checks lx2000.ini and the settings in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "lexora/src/app.h"
#include "core/dialogs/settings_dialogs.h"
#include "core/dialogs/word_dialog_ids.h"
#include "dialog_command_testing.h"
#include "core/engine/slots.h"
#include "core/ui/lexcoreui_ids.h"
#include "lexora/src/lexora_frame.h"
#include "frame_fixture.h"
#include "lexora/src/lexora_ids.h"
#include "lexora/src/messages.h"
#include "test_data.h"
#include "winlib/common_dialogs.h"
#include "winlib/testing.h"
#include "winlib/text.h"

using namespace lexora;
using namespace lexora_test;
using wl::testing::ClickButton;

namespace {

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = MakeFolders("lexora dialogs test");
        std::vector<int> slots = StandardSlots();
        slots.push_back(12);  // an empty user slot
        slots.push_back(14);  // a user slot with an entry
        std::vector<Entry> entries = StandardEntries();
        entries.push_back({14, "kat", "cat", ""});
        ASSERT_TRUE(MakeDictionary(folders_, slots, entries));
        ini_ = folders_.Base + "lx2000.ini";
    }
    void TearDown() override {
        wl::Dialog::SetTestHook(nullptr);
        if (app_ && app_->Frame() && app_->Frame()->Handle()) ::DestroyWindow(app_->Frame()->Handle());
        wl::testing::PumpMessages();
        app_.reset();
        program_.reset();
        RemoveFolder(folders_.Base);
    }

    void Write(const char* section, const char* key, const std::string& value) {
        ::WritePrivateProfileStringA(section, key, value.c_str(), ini_.c_str());
    }
    std::string Read(const std::string& section, const std::string& key) {
        char text[512] = {};
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", text, sizeof text, ini_.c_str());
        return text;
    }

    void Open(int uiLanguage) { ASSERT_TRUE(OpenLexora(folders_, ini_, uiLanguage, program_, app_)); }

    HWND FrameHandle() const { return app_->Frame()->Handle(); }
    UINT CodePage() const { return program_->UiCodePage(); }
    std::string Text(int id) { return program_->Texts.LoadText(id); }

    // Sends frame command `id`; `act` drives the dialog it opens. True when
    // the dialog came.
    bool Command(unsigned id, std::function<void(wl::Dialog&)> act) {
        return FrameCommand(FrameHandle(), id, std::move(act));
    }

    // Answers the message and question dialogs that come next: messages with
    // OK (their texts kept in messages_), the restart question with No.
    void AnswerFollowUps(bool& asked) {
        Next([&](wl::Dialog& q) {
            if (::GetDlgItem(q.Handle(), IDC_QUESTION_TEXT)) {
                asked = q.GetItemText(IDC_QUESTION_TEXT) == Text(lex::kTextRestartQuestion);
                ClickButton(q.Handle(), IDC_QUESTION_NO);
            } else {
                messages_.push_back(q.GetItemText(IDC_MESSAGE_TEXT));
                AnswerFollowUps(asked);
                ClickButton(q.Handle(), IDC_MESSAGE_OK);
            }
        });
    }

    // The configuration command; true when the frame then asked for the
    // restart (answered No).
    bool Configure(std::function<void(wl::Dialog&)> act) {
        bool asked = false;
        EXPECT_TRUE(Command(CM_DICTIONARY_CONFIG, [&](wl::Dialog& d) {
            act(d);
            // The restart question comes after the dialog, if at all.
            AnswerFollowUps(asked);
        }));
        wl::Dialog::SetTestHook(nullptr);
        EXPECT_FALSE(program_->Config.ConfigFlags.RestartNeeded);  // No clears it
        EXPECT_FALSE(program_->DialogOpen());
        return asked;
    }

    // Clicks `button` of `dialog` expecting a message dialog; its text.
    std::string MessageAfter(wl::Dialog& dialog, int button) {
        std::string text = "<no message>";
        Next([&](wl::Dialog& m) {
            text = m.GetItemText(IDC_MESSAGE_TEXT);
            ClickButton(m.Handle(), IDC_MESSAGE_OK);
        });
        ClickButton(dialog.Handle(), button);
        wl::Dialog::SetTestHook(nullptr);
        return text;
    }

    TestFolders folders_;
    std::string ini_;
    StartRecorder starts_;  // the programs the frame starts, once put in place
    std::unique_ptr<Program> program_;
    std::unique_ptr<TDrawApp> app_;
    std::vector<std::string> messages_;  // answered by AnswerFollowUps
};

void SetItem(wl::Dialog& d, int id, const std::string& text) { d.SetItemText(id, text); }

// --- Configuration -----------------------------------------------------------------------

TEST_F(Dialogs, ConfigurationOkWritesEveryKeyAndRegistersTheNewFolder) {
    Open(0);
    // The user's files moved to another folder.
    const std::string newDisk = folders_.Base + "other disk";
    ::CreateDirectoryA(newDisk.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folders_.Disk + "*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::CopyFileA((folders_.Disk + found.cFileName).c_str(), (newDisk + "\\" + found.cFileName).c_str(), FALSE);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    program_->History.AddToHistory("older", 0);
    program_->History.AddToHistory("newest", 1);

    const bool asked = Configure([&](wl::Dialog& d) {
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_HISTORY), "10");
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_SEPARATOR), ".");
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_DISK_FOLDER), folders_.Disk);
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_LETTER_FIRST + 1), "N");
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_TITLE_FIRST), program_->Config.DictionaryTitles[0]);
        EXPECT_EQ(::SendMessageW(d.GetItem(IDC_CONFIG_UI_LANGUAGE), CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(::SendMessageW(d.GetItem(IDC_CONFIG_UI_LANGUAGE), CB_GETCOUNT, 0, 0), 9);
        SetItem(d, IDC_CONFIG_HISTORY, "3");
        SetItem(d, IDC_CONFIG_SEPARATOR, ";");
        SetItem(d, IDC_CONFIG_CD_FOLDER, "  " + folders_.Cd.substr(0, folders_.Cd.size() - 1) + " ");
        SetItem(d, IDC_CONFIG_DISK_FOLDER, newDisk);
        SetItem(d, IDC_CONFIG_LETTER_FIRST + 6, "klingon");
        for (int slot = 12; slot < lex::kSlotCount; ++slot) {
            SetItem(d, IDC_CONFIG_ORIGINAL_NAME_FIRST + slot, "from" + std::to_string(slot));
            SetItem(d, IDC_CONFIG_TRANSLATION_NAME_FIRST + slot, "to" + std::to_string(slot));
            SetItem(d, IDC_CONFIG_TITLE_FIRST + slot, "title" + std::to_string(slot));
        }
        ClickButton(d.Handle(), IDC_CONFIG_CONFIRM_EXIT);
        ClickButton(d.Handle(), IDOK);
    });
    EXPECT_TRUE(asked);  // a new letter
    EXPECT_TRUE(messages_.empty());  // the lookup found the files in the new folder

    const lex::ProgramSettings& c = program_->Config;
    EXPECT_EQ(Read("HISTORIE", "Maximalni pocet pamatovanych slov"), "3");
    EXPECT_EQ(c.Dictionary.HistorySize, 5);
    ASSERT_EQ(program_->History.Size(), 5);
    EXPECT_EQ(program_->History.Text(0), "newest");  // the newest entries stay
    EXPECT_EQ(program_->History.Text(1), "older");
    EXPECT_EQ(Read("GRAMATIKA", "Znak oddelujici gramaticke poznamky"), ";");
    EXPECT_EQ(c.Dictionary.GrammarSeparator, ';');
    EXPECT_EQ(Read("CESTY", "Umisteni slovni zasoby CD"), folders_.Cd);
    EXPECT_EQ(Read("CESTY", "Umisteni slovni zasoby Disk"), newDisk + "\\");
    EXPECT_EQ(c.Dictionary.CdWordsPaths[3].rfind(folders_.Cd, 0), 0u);
    EXPECT_EQ(c.Dictionary.NodePaths[3].rfind(newDisk + "\\", 0), 0u);
    EXPECT_EQ(c.Dictionary.UserTranslationsPaths[19].rfind(newDisk + "\\", 0), 0u);
    EXPECT_EQ(Read("INDEX", "akce1.idx"), newDisk + "\\");
    EXPECT_EQ(c.Dictionary.ActionLogPath, folders_.Program + "akce1.idx");
    EXPECT_EQ(FileSize(folders_.Program + "akce1.idx"), 18);
    const char* letters[] = {"A", "N", "R", "F", "S", "I", "klingon", "", "", ""};
    for (int pair = 0; pair < lex::kPairCount; ++pair)
        EXPECT_EQ(Read("JAZYKY", "Tlacitko" + std::to_string(pair)), letters[pair]) << pair;
    EXPECT_EQ(c.LanguageLetters[6], 'K');
    for (int slot = 0; slot < lex::kSlotCount; ++slot) {
        const std::string pd = std::to_string(slot / 2) + "_" + std::to_string(slot % 2);
        const std::string n = std::to_string(slot);
        EXPECT_EQ(Read("JAZYKY", "JmenoOriginalu" + pd), slot < 12 ? c.OriginalNames[slot] : "from" + n);
        EXPECT_EQ(Read("JAZYKY", "JmenoPrekladu" + pd), slot < 12 ? c.TranslationNames[slot] : "to" + n);
        EXPECT_EQ(Read("JAZYKY", "NadpisSlovniku" + pd), slot < 12 ? c.DictionaryTitles[slot] : "title" + n);
    }
    EXPECT_EQ(c.DictionaryTitles[15], "title15");
    EXPECT_EQ(Read("POZICE", "Konec"), "1");
    EXPECT_EQ(Read("POZICE", "Schranka"), "0");
    EXPECT_TRUE(c.ConfigFlags.ConfirmExit);
    EXPECT_EQ(Read("KOMM", "JAZ"), "0");

    // A second OK with the same folder: no second key, the log is kept.
    WriteFile(folders_.Program + "akce1.idx", std::string(40, 'L'));
    EXPECT_FALSE(Configure([&](wl::Dialog& d) {
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_DISK_FOLDER), newDisk + "\\");
        ClickButton(d.Handle(), IDOK);
    }));
    EXPECT_EQ(Read("INDEX", "akce2.idx"), "<missing>");
    EXPECT_EQ(FileBytes(folders_.Program + "akce1.idx"), std::string(40, 'L'));
    EXPECT_EQ(SectionKeys(ini_, "INDEX").size(), 2u);
}

// Every label, check box and button of the configuration dialog, and every
// entry of its language list, shows its text whole in every UI language.
TEST_F(Dialogs, ConfigurationShowsEveryTextWholeInEveryLanguage) {
    Open(0);
    for (int language = 0; language < 9; ++language) {
        SCOPED_TRACE(language);
        program_->Texts.SetUiLanguage(language);  // the texts of that language, as after a restart in it
        std::vector<std::wstring> clipped = {L"<not opened>"};
        EXPECT_TRUE(Command(CM_DICTIONARY_CONFIG, [&](wl::Dialog& d) {
            clipped = wl::testing::ClippedTexts(d.Handle());
            ClickButton(d.Handle(), IDCANCEL);
        }));
        for (const std::wstring& text : clipped) ADD_FAILURE() << "clipped: " << wl::FromWide(text, CP_UTF8);
    }
}

// Every dialog that lexora opens, those that open from inside another and
// the message and question boxes included, shows every text whole in every
// UI language.
TEST_F(Dialogs, EveryDialogShowsEveryTextWholeInEveryLanguage) {
    Open(0);
    starts_.Install();
    starts_.Result = 2;  // the utility cannot start: its message
    HWND client = ::FindWindowExW(FrameHandle(), nullptr, L"#32770", nullptr);
    HWND box = ::GetDlgItem(client, IDC_WORD_BOX);
    HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
    HWND translation = ::GetDlgItem(client, IDC_TRANSLATION_BOX);
    ASSERT_TRUE(edit && translation);
    // The system's font chooser takes the font it was offered.
    wl::ScopedFontDialogRunner fonts([](CHOOSEFONTW&) { return true; });

    ClippedTextsWalk walk;
    struct Step {
        unsigned command;
        const char* name;
        std::function<void(wl::Dialog&)> act;
    };
    const Step steps[] = {
        {CM_HISTORY, "history", walk.Plain("history")},
        {CM_IRREGULAR_VERBS, "English verbs", walk.Plain("English verbs")},
        {CM_TRANSLATOR, "translator", [&](wl::Dialog& d) {
             walk.Check(d, "translator slots");
             Next([&](wl::Dialog& t) {  // opens once the choice of slots has closed
                 walk.Check(t, "translator");
                 ClickButton(t.Handle(), IDCANCEL);
             });
             ClickButton(d.Handle(), IDOK);
         }},
        {CM_LOCATE, "search", walk.Plain("search")},
        {CM_KEYBOARD_CONFIG, "keyboard", walk.Plain("keyboard")},
        {CM_SORTING_SETUP, "sort order", walk.Plain("sort order")},
        {CM_OTHER_LANGUAGES, "languages", walk.Plain("languages")},
        {CM_CORRECT_WORD, "change word", walk.Plain("change word")},
        {CM_NEW_ENTRY, "add word", walk.Plain("add word")},
        {CM_DELETE_ENTRY, "delete word", walk.Plain("delete word")},
        {CM_DELETE_TRANSLATION, "delete translation", walk.Plain("delete translation")},
        {CM_DICTIONARY_CONFIG, "configuration",
         walk.WithInner("configuration", IDC_CONFIG_TOOLBAR, "toolbar", IDCANCEL, IDCANCEL)},
        {CM_FONT_SETUP, "fonts", walk.WithInner("fonts", IDC_FONTS_ORIGINAL, "script", IDCANCEL, IDOK)},
        {CM_ABOUT, "about", walk.WithInner("about", IDC_ABOUT_LICENCE, "licence", IDOK, IDOK)},
        {CM_UTILITY, "message", [&](wl::Dialog& d) {
             walk.Check(d, "message");
             ClickButton(d.Handle(), IDC_MESSAGE_OK);
         }},
        {CM_GERMAN, "", nullptr},
        {CM_IRREGULAR_VERBS, "German verbs", walk.Plain("German verbs")},
        {CM_ENGLISH, "", nullptr},
    };
    for (int language = 0; language < 9; ++language) {
        walk.SetLanguage(language);
        program_->Texts.SetUiLanguage(language);  // the texts of that language, as after a restart in it
        for (const Step& step : steps) {
            if (!step.act) {
                ::SendMessageW(FrameHandle(), WM_COMMAND, step.command, 0);
                continue;
            }
            // "dog" looked up, its list line and a translation selected.
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            for (wchar_t ch : std::wstring(L"dog")) ::SendMessageW(edit, WM_CHAR, ch, 1);
            ::SendMessageW(box, CB_SETCURSEL, 0, 0);
            ::SendMessageW(translation, EM_SETSEL, 0, 3);
            EXPECT_TRUE(Command(step.command, step.act)) << language << " " << step.name;
        }
        // The longest question.
        Next([&](wl::Dialog& d) {
            walk.Check(d, "question");
            ClickButton(d.Handle(), IDC_QUESTION_NO);
        });
        EXPECT_FALSE(AskYesNo(*program_, app_->Frame(), lex::kTextModificationCaption, lex::kTextRestartQuestion));
        wl::Dialog::SetTestHook(nullptr);
    }
}

TEST_F(Dialogs, ConfigurationCancelLeavesTheFileByteIdentical) {
    Open(1);
    const std::string before = FileBytes(ini_);
    EXPECT_FALSE(Configure([&](wl::Dialog& d) {
        SetItem(d, IDC_CONFIG_HISTORY, "50");
        SetItem(d, IDC_CONFIG_LETTER_FIRST, "Q");
        SetItem(d, IDC_CONFIG_DISK_FOLDER, folders_.Base);
        ::SendMessageW(d.GetItem(IDC_CONFIG_UI_LANGUAGE), CB_SETCURSEL, 4, 0);
        ClickButton(d.Handle(), IDCANCEL);
    }));
    EXPECT_EQ(FileBytes(ini_), before);
    EXPECT_EQ(program_->Config.Dictionary.HistorySize, 10);
    EXPECT_EQ(program_->Config.LanguageLetters[0], 'A');
}

// Which changes need a restart: a new letter, UI language or toolbar.
TEST_F(Dialogs, ConfigurationRestartOnlyForLettersLanguageAndToolbar) {
    Open(0);
    auto toolbarOk = [](wl::Dialog& d) {
        Next([](wl::Dialog& t) { ClickButton(t.Handle(), IDOK); });
        ClickButton(d.Handle(), IDC_CONFIG_TOOLBAR);
    };
    struct Case {
        const char* what;
        std::function<void(wl::Dialog&)> act;
        int closeWith;
        bool restart;
    };
    const Case cases[] = {
        {"nothing", [](wl::Dialog&) {}, IDOK, false},
        {"names only", [](wl::Dialog& d) {
             SetItem(d, IDC_CONFIG_TITLE_FIRST + 13, "Elvish");
             SetItem(d, IDC_CONFIG_ORIGINAL_NAME_FIRST + 13, "Sindarin");
         }, IDOK, false},
        {"letter case", [](wl::Dialog& d) { SetItem(d, IDC_CONFIG_LETTER_FIRST + 1, "n"); }, IDOK, false},
        {"no language selected", [](wl::Dialog& d) {
             ::SendMessageW(d.GetItem(IDC_CONFIG_UI_LANGUAGE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
         }, IDOK, false},
        {"another letter", [](wl::Dialog& d) { SetItem(d, IDC_CONFIG_LETTER_FIRST + 2, "U"); }, IDOK, true},
        {"UI language", [](wl::Dialog& d) {
             ::SendMessageW(d.GetItem(IDC_CONFIG_UI_LANGUAGE), CB_SETCURSEL, 3, 0);
         }, IDOK, true},
        {"toolbar then OK", toolbarOk, IDOK, true},
        {"toolbar then Cancel", toolbarOk, IDCANCEL, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Configure([&](wl::Dialog& d) {
                      c.act(d);
                      ClickButton(d.Handle(), c.closeWith);
                  }),
                  c.restart);
        ::WritePrivateProfileStringA("KOMM", "JAZ", "0", ini_.c_str());  // the language stays English
        program_->Config.LanguageLetters[2] = 'R';
    }
    EXPECT_EQ(Read("JAZYKY", "NadpisSlovniku6_1"), "Elvish");
    EXPECT_EQ(program_->Config.DictionaryTitles[13], "Elvish");
}

// The keyboard assignment's Configuration starts the keyboard program on the
// slot's file through the program's starter, shown normally (the restart and
// the utility are shown with SW_SHOW).
TEST_F(Dialogs, KeyboardConfigurationStartsTheKeyboardProgramShownNormally) {
    Write("TASTRIX", "TastrixO0_0", "C:\\k\\cs.tsb");
    Open(0);
    starts_.Install();
    EXPECT_TRUE(Command(CM_KEYBOARD_CONFIG, [&](wl::Dialog& d) {
        EXPECT_EQ(d.GetItemText(IDC_KA_ORIGINAL_PATH), "C:\\k\\cs.tsb");
        ClickButton(d.Handle(), IDC_KA_EDIT_ORIGINAL);
        ClickButton(d.Handle(), IDCANCEL);
    }));
    ASSERT_EQ(starts_.Started.size(), 1u);
    EXPECT_EQ(starts_.Started[0], "\"" + folders_.Program + "ts.exe\" X 0 \"C:\\k\\cs.tsb\"");
    EXPECT_EQ(starts_.Shows, std::vector<int>{SW_SHOWNORMAL});
}

// Yes to the restart question starts the new copy and closes this one.
TEST_F(Dialogs, ConfigurationYesRestartsTheProgram) {
    Open(0);
    starts_.Install();
    HWND frame = FrameHandle();
    EXPECT_TRUE(Command(CM_DICTIONARY_CONFIG, [&](wl::Dialog& d) {
        SetItem(d, IDC_CONFIG_LETTER_FIRST + 8, "W");
        ClickButton(d.Handle(), IDOK);
        Next([&](wl::Dialog& q) { ClickButton(q.Handle(), IDC_QUESTION_YES); });
    }));
    ASSERT_EQ(starts_.Started.size(), 1u);
    EXPECT_EQ(starts_.Started[0], "\"" + folders_.Program + "lexora.exe\"");
    EXPECT_EQ(starts_.Shows, std::vector<int>{SW_SHOW});
    EXPECT_EQ(Read("JAZYKY", "Tlacitko8"), "W");
    wl::testing::PumpMessages();
    EXPECT_FALSE(::IsWindow(frame));
}

TEST_F(Dialogs, ConfigurationRefusesAnUnusableSeparator) {
    Open(0);
    for (const char* typed : {"", " ", "a", "Q", "5"}) {
        SCOPED_TRACE(typed);
        EXPECT_FALSE(Configure([&](wl::Dialog& d) {
            SetItem(d, IDC_CONFIG_SEPARATOR, typed);
            SetItem(d, IDC_CONFIG_HISTORY, "20");
            EXPECT_EQ(MessageAfter(d, IDOK), Text(lex::kTextSeparatorRefused));
            EXPECT_TRUE(::IsWindowVisible(d.Handle()));  // still open, the old separator back
            EXPECT_EQ(d.GetItemText(IDC_CONFIG_SEPARATOR), ".");
            ClickButton(d.Handle(), IDCANCEL);
        }));
        EXPECT_EQ(Read("GRAMATIKA", "Znak oddelujici gramaticke poznamky"), "<missing>");
        EXPECT_EQ(Read("HISTORIE", "Maximalni pocet pamatovanych slov"), "<missing>");
        EXPECT_EQ(program_->Config.Dictionary.GrammarSeparator, '.');
    }
}

TEST_F(Dialogs, ConfigurationBrowsesForAFolderByAFileInIt) {
    Open(0);
    std::wstring initial;
    int shown = 0;
    wl::ScopedFileDialogRunner runner([&](OPENFILENAMEW& record, bool save) {
        ++shown;
        EXPECT_FALSE(save);
        initial = record.lpstrInitialDir ? record.lpstrInitialDir : L"";
        if (shown == 2) return false;  // Cancel
        wcscpy_s(record.lpstrFile, record.nMaxFile, L"C:\\data\\lexora files\\slo1.slo");
        return true;
    });
    EXPECT_FALSE(Configure([&](wl::Dialog& d) {
        SetItem(d, IDC_CONFIG_CD_FOLDER, " C:\\old ");
        ClickButton(d.Handle(), IDC_CONFIG_BROWSE_CD);
        EXPECT_EQ(initial, L"C:\\old\\");
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_CD_FOLDER), "C:\\data\\lexora files\\");
        SetItem(d, IDC_CONFIG_DISK_FOLDER, "D:\\kept\\");
        ClickButton(d.Handle(), IDC_CONFIG_BROWSE_DISK);
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_DISK_FOLDER), "D:\\kept\\");
        ClickButton(d.Handle(), IDCANCEL);
    }));
    EXPECT_EQ(shown, 2);
}

// --- Toolbar icons --------------------------------------------------------------------------------

TEST_F(Dialogs, ToolbarIconsEditedAndWrittenTopToBottom) {
    Open(0);
    std::string dropped = "AXCDXQRXGBXIJKLXOPZ";  // Z has no icon
    Write("TLAC", "RYCHLOIKONY", dropped);
    auto count = [](HWND list) { return static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0)); };
    auto selected = [](HWND list) { return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)); };
    auto letters = [](HWND list) {
        std::string out;
        const int n = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[128] = {};
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            out += static_cast<char>(text[0]);
        }
        return out;
    };
    EXPECT_TRUE(Configure([&](wl::Dialog& d) {
        Next([&](wl::Dialog& t) {
            HWND left = t.GetItem(IDC_TOOLBAR_CATALOGUE), right = t.GetItem(IDC_TOOLBAR_ICONS);
            EXPECT_EQ(count(left), 19);
            EXPECT_EQ(letters(left), "ABCDEFGHIJKLMNOPQRX");
            EXPECT_EQ(letters(right), "AXCDXQRXGBXIJKLXOP");
            // Delete the first, then the last: the selection stays in place.
            ::SendMessageW(right, LB_SETCURSEL, 0, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_DELETE);
            EXPECT_EQ(selected(right), 0);
            ::SendMessageW(right, LB_SETCURSEL, count(right) - 1, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_DELETE);
            EXPECT_EQ(selected(right), count(right) - 1);
            EXPECT_EQ(letters(right), "XCDXQRXGBXIJKLXO");
            // Up at the top and down at the bottom do nothing.
            ::SendMessageW(right, LB_SETCURSEL, 0, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_UP);
            ::SendMessageW(right, LB_SETCURSEL, count(right) - 1, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_DOWN);
            EXPECT_EQ(letters(right), "XCDXQRXGBXIJKLXO");
            ::SendMessageW(right, LB_SETCURSEL, 1, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_DOWN);
            EXPECT_EQ(selected(right), 2);
            ClickButton(t.Handle(), IDC_TOOLBAR_DOWN);
            EXPECT_EQ(letters(right), "XDXCQRXGBXIJKLXO");
            ClickButton(t.Handle(), IDC_TOOLBAR_UP);
            EXPECT_EQ(selected(right), 2);
            EXPECT_EQ(letters(right), "XDCXQRXGBXIJKLXO");
            // Copy: nothing without a catalogue selection; before the
            // selection, or at the end without one; the same icon twice.
            ClickButton(t.Handle(), IDC_TOOLBAR_COPY);
            EXPECT_EQ(count(right), 16);
            ::SendMessageW(left, LB_SETCURSEL, 4, 0);  // E
            ::SendMessageW(right, LB_SETCURSEL, 1, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_COPY);
            EXPECT_EQ(selected(right), 1);
            ::SendMessageW(right, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_COPY);
            EXPECT_EQ(selected(right), 17);
            EXPECT_EQ(letters(right), "XEDCXQRXGBXIJKLXOE");
            // At most 99 icons.
            for (int i = 0; i < 100; ++i) ClickButton(t.Handle(), IDC_TOOLBAR_COPY);
            EXPECT_EQ(count(right), 99);
            for (int i = 0; i < 81; ++i) {
                ::SendMessageW(right, LB_SETCURSEL, 18, 0);
                ClickButton(t.Handle(), IDC_TOOLBAR_DELETE);
            }
            ClickButton(t.Handle(), IDOK);
        });
        ClickButton(d.Handle(), IDC_CONFIG_TOOLBAR);
        ClickButton(d.Handle(), IDCANCEL);
    }));
    EXPECT_EQ(Read("TLAC", "RYCHLOIKONY"), "XEDCXQRXGBXIJKLXOE");

    // Cancel writes nothing; an empty list stores an empty string.
    EXPECT_TRUE(Configure([&](wl::Dialog& d) {
        Next([&](wl::Dialog& t) {
            ::SendMessageW(t.GetItem(IDC_TOOLBAR_ICONS), LB_SETCURSEL, 0, 0);
            ClickButton(t.Handle(), IDC_TOOLBAR_DELETE);
            ClickButton(t.Handle(), IDCANCEL);
        });
        ClickButton(d.Handle(), IDC_CONFIG_TOOLBAR);
        EXPECT_EQ(Read("TLAC", "RYCHLOIKONY"), "XEDCXQRXGBXIJKLXOE");
        Next([&](wl::Dialog& t) {
            while (count(t.GetItem(IDC_TOOLBAR_ICONS)) > 0) {
                ::SendMessageW(t.GetItem(IDC_TOOLBAR_ICONS), LB_SETCURSEL, 0, 0);
                ClickButton(t.Handle(), IDC_TOOLBAR_DELETE);
            }
            ClickButton(t.Handle(), IDOK);
        });
        ClickButton(d.Handle(), IDC_CONFIG_TOOLBAR);
        ClickButton(d.Handle(), IDOK);
    }));
    EXPECT_EQ(Read("TLAC", "RYCHLOIKONY"), "");
}

// --- Sort order -----------------------------------------------------------------------------------

TEST_F(Dialogs, SortOrderWritesAllKeysAndRefusesASlotWithEntries) {
    Open(3);  // German
    auto sortList = [](wl::Dialog& d, int slot) { return d.GetItem(IDC_SORT_TYPE_FIRST + slot); };

    // Cancel writes nothing.
    const std::string before = FileBytes(ini_);
    EXPECT_TRUE(Command(CM_SORTING_SETUP, [&](wl::Dialog& d) {
        ::SendMessageW(sortList(d, 12), CB_SETCURSEL, 7, 0);
        ClickButton(d.Handle(), IDCANCEL);
    }));
    EXPECT_EQ(FileBytes(ini_), before);

    // A slot with entries keeps its type: a message, nothing written.
    EXPECT_TRUE(Command(CM_SORTING_SETUP, [&](wl::Dialog& d) {
        ::SendMessageW(sortList(d, 14), CB_SETCURSEL, 3, 0);
        EXPECT_EQ(MessageAfter(d, IDOK), Text(lex::kTextSortTypeLocked));
        EXPECT_TRUE(::IsWindowVisible(d.Handle()));
        EXPECT_EQ(::SendMessageW(sortList(d, 14), CB_GETCURSEL, 0, 0), 0);
        ClickButton(d.Handle(), IDCANCEL);
    }));
    EXPECT_EQ(FileBytes(ini_), before);
    EXPECT_EQ(program_->Config.Dictionary.SortType[14], 0);

    // The names in the UI language; the fixed pairs cannot change; an empty
    // user slot can, at once; every key is written in order.
    EXPECT_TRUE(Command(CM_SORTING_SETUP, [&](wl::Dialog& d) {
        HWND list12 = sortList(d, 12);
        EXPECT_EQ(::SendMessageW(list12, CB_GETCOUNT, 0, 0), 11);
        wchar_t name[64] = {};
        ::SendMessageW(list12, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(name));
        EXPECT_EQ(std::wstring(name), wl::ToWide(Text(lex::kTextSortingCzech), CodePage()));
        EXPECT_EQ(::SendMessageW(sortList(d, 4), CB_GETCURSEL, 0, 0), 3);
        EXPECT_FALSE(::IsWindowEnabled(sortList(d, 11)));
        EXPECT_TRUE(::IsWindowEnabled(sortList(d, 12)));
        EXPECT_EQ(d.GetItemText(IDC_SORT_TITLE_FIRST + 2), program_->Config.DictionaryTitles[2]);
        ::SendMessageW(list12, CB_SETCURSEL, 10, 0);
        ::SendMessageW(sortList(d, 17), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // no selection: unchanged
        ClickButton(d.Handle(), IDOK);
    }));
    EXPECT_EQ(program_->Config.Dictionary.SortType[12], 10);
    EXPECT_EQ(WrittenSortKeys(ini_), SortKeysInSlotOrder());
    EXPECT_EQ(Read("JAZYKY", "Razeni6_0"), "10");
    EXPECT_EQ(Read("JAZYKY", "Razeni8_1"), "1");
    EXPECT_EQ(Read("JAZYKY", "Razeni2_0"), "3");
    EXPECT_EQ(program_->Settings.ReadSortType(12), 10);
}

// --- Fonts ---------------------------------------------------------------------------------------------

TEST_F(Dialogs, FontChoiceSavesTheFourteenKeysAndReplacesTheHandle) {
    Open(0);
    LOGFONTW chosen{};
    chosen.lfHeight = -16;
    chosen.lfWeight = 400;
    chosen.lfCharSet = ANSI_CHARSET;
    chosen.lfPitchAndFamily = 34;
    wcscpy_s(chosen.lfFaceName, L"Tahoma");
    bool answer = true;
    int choosers = 0;
    wl::ScopedFontDialogRunner runner([&](CHOOSEFONTW& record) {
        ++choosers;
        EXPECT_EQ(record.nSizeMin, 8);
        EXPECT_EQ(record.nSizeMax, 18);
        if (answer) *record.lpLogFont = chosen;
        return answer;
    });

    // Per slot and field the script list opens on its own entry; OK there
    // stores that script.
    struct Case { int slot; int button; int type; int preselected; BYTE stored; };
    const Case cases[] = {
        {4, IDC_FONTS_ORIGINAL, 0, 5, 204},       {4, IDC_FONTS_PRONUNCIATION, 2, 5, 204},
        {5, IDC_FONTS_TRANSLATION, 1, 5, 204},    {5, IDC_FONTS_ORIGINAL, 0, 4, 238},
        {0, IDC_FONTS_ORIGINAL, 0, 0, 0},         {1, IDC_FONTS_TRANSLATION, 1, 0, 0},
        {12, IDC_FONTS_ORIGINAL, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " type " << c.type);
        HFONT old = program_->Fonts[c.type][c.slot];
        int preselected = -1;
        EXPECT_TRUE(Command(CM_FONT_SETUP, [&](wl::Dialog& d) {
            HWND slots = d.GetItem(IDC_FONTS_SLOTS);
            EXPECT_EQ(::SendMessageW(slots, LB_GETCOUNT, 0, 0), 20);
            EXPECT_EQ(::SendMessageW(slots, LB_GETCURSEL, 0, 0), program_->CurrentSlot());
            ::SendMessageW(slots, LB_SETCURSEL, c.slot, 0);
            Next([&](wl::Dialog& s) {
                preselected = static_cast<int>(::SendMessageW(s.GetItem(IDC_SCRIPT_LIST), CB_GETCURSEL, 0, 0));
                ClickButton(s.Handle(), IDOK);
            });
            ClickButton(d.Handle(), c.button);
            ClickButton(d.Handle(), IDOK);
        }));
        EXPECT_EQ(preselected, c.preselected);
        const char* sections[] = {"TTFO", "TTFT", "TTFV"};
        const std::string section = sections[c.type] + std::to_string(c.slot);
        EXPECT_EQ(SectionKeys(ini_, section),
                  (std::vector<std::string>{"lfHeight", "lfWidth", "lfEscapement", "lfOrientation", "lfWeight",
                                            "lfItalic", "lfUnderline", "lfStrikeOut", "lfCharSet", "lfOutPrecision",
                                            "lfClipPrecision", "lfQuality", "lfPitchAndFamily", "lfFaceName"}));
        EXPECT_EQ(Read(section, "lfCharSet"), std::to_string(c.stored));
        EXPECT_EQ(Read(section, "lfFaceName"), "Tahoma");
        EXPECT_EQ(Read(section, "lfHeight"), "-16");
        HFONT now = program_->Fonts[c.type][c.slot];
        EXPECT_NE(now, old);
        LOGFONTA font{};
        ASSERT_EQ(::GetObjectA(now, sizeof font, &font), static_cast<int>(sizeof font));
        EXPECT_EQ(font.lfCharSet, c.stored);
        EXPECT_EQ(program_->FontCharSets[c.type][c.slot], c.stored);
        EXPECT_EQ(::GetObjectType(old), 0u);  // the replaced handle is gone
    }

    // The views of the current slot draw with the new handle at once.
    EXPECT_TRUE(Command(CM_FONT_SETUP, [&](wl::Dialog& d) {
        Next([&](wl::Dialog& s) { ClickButton(s.Handle(), IDOK); });
        ClickButton(d.Handle(), IDC_FONTS_TRANSLATION);  // slot 0, the current one
        ClickButton(d.Handle(), IDOK);
    }));
    HWND client = ::FindWindowExW(FrameHandle(), nullptr, L"#32770", nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(::GetDlgItem(client, IDC_TRANSLATION_BOX), WM_GETFONT, 0, 0)),
              program_->Fonts[1][0]);
    EXPECT_EQ(Read("TTFT0", "lfCharSet"), "238");

    // Cancel of the script list keeps the created font's script.
    EXPECT_TRUE(Command(CM_FONT_SETUP, [&](wl::Dialog& d) {
        ::SendMessageW(d.GetItem(IDC_FONTS_SLOTS), LB_SETCURSEL, 6, 0);
        Next([&](wl::Dialog& s) { ClickButton(s.Handle(), IDCANCEL); });
        ClickButton(d.Handle(), IDC_FONTS_TRANSLATION);
        ClickButton(d.Handle(), IDOK);
    }));
    EXPECT_EQ(Read("TTFT6", "lfCharSet"), "0");

    // Cancelling the chooser changes nothing.
    answer = false;
    const std::string before = FileBytes(ini_);
    HFONT kept = program_->Fonts[1][7];
    EXPECT_TRUE(Command(CM_FONT_SETUP, [&](wl::Dialog& d) {
        ::SendMessageW(d.GetItem(IDC_FONTS_SLOTS), LB_SETCURSEL, 7, 0);
        ClickButton(d.Handle(), IDC_FONTS_TRANSLATION);
        ::SendMessageW(d.Handle(), WM_CLOSE, 0, 0);  // the close box
    }));
    EXPECT_EQ(FileBytes(ini_), before);
    EXPECT_EQ(program_->Fonts[1][7], kept);
    EXPECT_EQ(choosers, 10);
}

// --- Direction -------------------------------------------------------------------------------------

TEST_F(Dialogs, OtherLanguagesChooseTheCurrentSlot) {
    Open(0);
    ::SetWindowPos(FrameHandle(), nullptr, 40, 30, 700, 500, SWP_NOZORDER);
    struct Case {
        const char* what;
        int select;  // -1: none
        int how;     // 0 double click, 1 OK, 2 close box
        int slot;    // afterwards
    };
    const Case cases[] = {
        {"double click", 3, 0, 3}, {"OK", 12, 1, 12}, {"OK without selection", -1, 1, 12},
        {"close box", 1, 2, 12},   {"unnamed user pair", 14, 0, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Command(CM_OTHER_LANGUAGES, [&](wl::Dialog& d) {
            RECT frame{}, dialog{};
            ::GetWindowRect(FrameHandle(), &frame);
            ::GetWindowRect(d.Handle(), &dialog);
            EXPECT_EQ(dialog.right, frame.right);
            EXPECT_EQ(dialog.top, frame.top);
            HWND list = d.GetItem(IDC_LANGUAGES_LIST);
            EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 20);
            EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), program_->CurrentSlot());
            wchar_t title[128] = {};
            ::SendMessageW(list, LB_GETTEXT, 14, reinterpret_cast<LPARAM>(title));
            EXPECT_EQ(std::wstring(title), L"X");
            ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(c.select), 0);
            if (c.how == 0)
                ::SendMessageW(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_LANGUAGES_LIST, LBN_DBLCLK),
                               reinterpret_cast<LPARAM>(list));
            else if (c.how == 1)
                ClickButton(d.Handle(), IDOK);
            else
                ::SendMessageW(d.Handle(), WM_CLOSE, 0, 0);
        }));
        EXPECT_EQ(program_->CurrentSlot(), c.slot);
    }
}

// --- About ---------------------------------------------------------------------------------------------

TEST_F(Dialogs, AboutListsTitlesAndCountsAndShowsTheLicence) {
    Open(0);
    const lex::DictionarySettings& d = program_->Config.Dictionary;
    // The count field of a slot's translations file; a field of fewer than
    // four bytes ends the file.
    auto setCount = [&](int slot, const std::string& countBytes) {
        std::string bytes = FileBytes(d.UserTranslationsPaths[slot]);
        const std::string rest = countBytes.size() == 4 && bytes.size() > 44 ? bytes.substr(44) : "";
        WriteFile(d.UserTranslationsPaths[slot], bytes.substr(0, 40) + countBytes + rest);
    };
    setCount(0, std::string("\xD2\x04\x00\x00", 4));  // 1234
    setCount(3, std::string("\x05\x00", 2));          // too short
    const std::string dots = std::string(27, ' ') + std::string(16, '.') + " ";
    auto lines = [&](wl::Dialog& about) {
        std::vector<std::string> out;
        HWND list = about.GetItem(IDC_ABOUT_CONTENTS);
        const int n = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[256] = {};
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            out.push_back(wl::FromWide(text, 1252));
        }
        return out;
    };
    EXPECT_TRUE(Command(CM_ABOUT, [&](wl::Dialog& about) {
        const std::vector<std::string> shown = lines(about);
        ASSERT_EQ(shown.size(), 40u);
        EXPECT_EQ(shown[0], program_->Config.DictionaryTitles[0]);
        EXPECT_EQ(shown[1], dots + "1234");
        EXPECT_EQ(shown[7], dots + "0");   // slot 3: too short
        EXPECT_EQ(shown[38], "X");
        EXPECT_EQ(shown[39], dots + "0");  // slot 19: no file
        EXPECT_EQ(about.GetItemText(IDC_ABOUT_VERSION), Text(lex::kTextAboutVersion));
        // The licence: missing first.
        Next([&](wl::Dialog& licence) {
            EXPECT_EQ(licence.GetItemText(IDC_LICENCE_TEXT), "error opening file");
            EXPECT_EQ(licence.GetText(), "Licence Agreement...");
            ClickButton(licence.Handle(), IDOK);
        });
        ClickButton(about.Handle(), IDC_ABOUT_LICENCE);
        // One long line, shown whole: longer than a line buffer of a few
        // thousand bytes, short enough for the word-wrapping edit to show at once.
        std::string longLine(5000, 'w');
        WriteFile(folders_.Program + "licence.txt", "Terms\r\n\r\n" + longLine + "\nlast line");
        Next([&](wl::Dialog& licence) {
            EXPECT_EQ(licence.GetItemText(IDC_LICENCE_TEXT), "Terms\r\n\r\n" + longLine + "\r\nlast line\r\n");
            ClickButton(licence.Handle(), IDOK);
        });
        ClickButton(about.Handle(), IDC_ABOUT_LICENCE);
        ClickButton(about.Handle(), IDOK);
    }));
    // The counts are read again at every opening.
    setCount(0, std::string("\x07\x00\x00\x00", 4));
    EXPECT_TRUE(Command(CM_ABOUT, [&](wl::Dialog& about) {
        EXPECT_EQ(lines(about)[1], dots + "7");
        ClickButton(about.Handle(), IDOK);
    }));
}

// --- Focus after the dialogs -------------------------------------------------------------

// Keys pressed as a user presses them: through the system's input, to the
// window in front (`shift` held down with them when set).
void PressKeys(std::initializer_list<UINT> keys, UINT modifier = 0) {
    std::vector<INPUT> input;
    auto add = [&](UINT vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = static_cast<WORD>(vk);
        in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(in);
    };
    if (modifier) add(modifier, false);
    for (UINT vk : keys) {
        add(vk, false);
        add(vk, true);
    }
    if (modifier) add(modifier, true);
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Handles this thread's messages until `done` holds; false after a generous
// deadline.
bool PumpUntil(const std::function<bool()>& done) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        wl::testing::PumpMessages();
        if (done()) return true;
        if (::GetTickCount() - start >= wl::testing::kWatchdogMs) return false;
        ::Sleep(10);
    }
}

// Every dialog that a command of the frame opens, closed with Esc: the next
// key the user presses goes where keys went before the command, to the word
// box, or to the translation box when that had the focus.
TEST_F(Dialogs, TypingGoesOnInTheBoxThatHadTheFocusAfterEveryDialog) {
    Open(0);
    starts_.Install();
    HWND frame = FrameHandle();
    HWND client = ::FindWindowExW(frame, nullptr, L"#32770", nullptr);
    HWND box = ::GetDlgItem(client, IDC_WORD_BOX);
    HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
    HWND translation = ::GetDlgItem(client, IDC_TRANSLATION_BOX);
    ASSERT_TRUE(edit && translation);
    ::SetForegroundWindow(frame);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == frame; }));

    const struct {
        unsigned id;
        const char* name;
    } commands[] = {
        {CM_HISTORY, "history"},           {CM_IRREGULAR_VERBS, "verbs"},
        {CM_TRANSLATOR, "translator"},     {CM_LOCATE, "locate"},
        {CM_LOCATE_NEXT, "locate next"},   {CM_KEYBOARD_CONFIG, "keyboard"},
        {CM_SORTING_SETUP, "sorting"},     {CM_OTHER_LANGUAGES, "other languages"},
        {CM_CORRECT_WORD, "change word"},  {CM_NEW_ENTRY, "new entry"},
        {CM_DELETE_ENTRY, "delete entry"}, {CM_DELETE_TRANSLATION, "delete translation"},
        {CM_DICTIONARY_CONFIG, "configuration"}, {CM_FONT_SETUP, "fonts"},
        {CM_ABOUT, "about"},
    };
    for (bool inTranslation : {false, true}) {
        for (const auto& c : commands) {
            SCOPED_TRACE(testing::Message() << c.name << (inTranslation ? " from the translation box" : ""));
            // "dog" looked up, its list line and a translation selected, for
            // the commands that need them.
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            for (wchar_t ch : std::wstring(L"dog")) ::SendMessageW(edit, WM_CHAR, ch, 1);
            ::SendMessageW(box, CB_SETCURSEL, 0, 0);
            ::SendMessageW(translation, EM_SETSEL, 0, 3);
            ::SetFocus(inTranslation ? translation : edit);
            ASSERT_EQ(wl::testing::WideText(edit), L"dog");

            // Esc for the dialog and for each one that comes after it (the
            // messages of a search that goes on at once).
            bool opened = false;
            std::function<void(wl::Dialog&)> escape = [&](wl::Dialog&) {
                opened = true;
                wl::Dialog::SetTestHook(escape);
                PressKeys({VK_ESCAPE});
            };
            wl::Dialog::SetTestHook(escape);
            ::SetTimer(frame, kWatchdogTimer, kWatchdogMs, Watchdog);
            ::SendMessageW(frame, WM_COMMAND, c.id, 0);
            ::KillTimer(frame, kWatchdogTimer);
            wl::Dialog::SetTestHook(nullptr);
            EXPECT_TRUE(opened);
            EXPECT_FALSE(program_->DialogOpen());

            if (inTranslation) {
                // Ctrl+Home, then Shift+Right selects the first letter of the translations.
                PressKeys({VK_HOME}, VK_CONTROL);
                PressKeys({VK_RIGHT}, VK_SHIFT);
                DWORD start = 99, end = 99;
                EXPECT_TRUE(PumpUntil([&] {
                    ::SendMessageW(translation, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                   reinterpret_cast<LPARAM>(&end));
                    return start == 0 && end == 1;
                })) << "translation selection " << start << ".." << end << ", focus " << ::GetFocus();
                EXPECT_EQ(wl::testing::WideText(edit), L"dog");
            } else {
                PressKeys({VK_END, 'X'});
                EXPECT_TRUE(PumpUntil([&] { return wl::testing::WideText(edit) == L"dogx"; }))
                    << wl::FromWide(wl::testing::WideText(edit), CP_UTF8) << ", focus " << ::GetFocus();
            }
            wl::testing::PumpMessages();
        }
    }
    EXPECT_TRUE(starts_.Started.empty());
}

}  // namespace
