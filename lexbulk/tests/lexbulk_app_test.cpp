// lexbulk in this process: the start gate and restart command line, the
// menus and bars of the UI languages, and the dialogs of the menu commands
// driven with real messages against their real controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <vector>

#include "lexbulk/src/bulk_dialogs.h"
#include "core/dialogs/settings_dialogs.h"
#include "core/files/testing/faulty_file_system.h"
#include "core/texts/text_ids.h"
#include "core/ui/lexcoreui_ids.h"
#include "lexora/tests/dialog_command_testing.h"
#include "lexbulk/src/lexbulk_frame.h"
#include "lexbulk/src/lexbulk_ids.h"
#include "lexora/tests/test_data.h"
#include "winlib/common_dialogs.h"
#include "winlib/testing.h"
#include "winlib/testing/dialog_script.h"
#include "winlib/testing/start_recorder.h"
#include "winlib/text.h"

using namespace lexbulk;
using namespace lexora_test;
using wl::testing::ClickButton;

namespace {

TEST(StartGate, OnlyTheOneWordStart) {
    struct Case {
        std::vector<const wchar_t*> argv;
        bool start;
    } cases[] = {
        {{L"LEXBULK.exe"}, false},
        {{L"LEXBULK.exe", L"start"}, true},
        {{L"LEXBULK.exe", L"START"}, false},
        {{L"LEXBULK.exe", L"start", L"start"}, false},
        {{L"LEXBULK.exe", L"start "}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.start, IsStartCommand(static_cast<int>(c.argv.size()), c.argv.data())) << c.argv.size();
    EXPECT_EQ("C:\\Program Files\\Lex\\", ProgramFolderOf("C:\\Program Files\\Lex\\LEXBULK.exe"));
    EXPECT_EQ("\"C:\\Program Files\\Lex\\LEXBULK.exe\" start", StartCommandLine("C:\\Program Files\\Lex\\"));
}

// Answers the dialogs that open one after another (message boxes included),
// each by the next step, and keeps the texts of the message boxes.
class DialogScript : public wl::testing::DialogScript {
public:
    // A message box: keeps its text and answers with `button`.
    void Answer(int button) {
        Then([this, button](wl::Dialog& d) {
            HWND text = ::GetDlgItem(d.Handle(), IDC_MESSAGE_TEXT);
            if (!text) text = ::GetDlgItem(d.Handle(), IDC_QUESTION_TEXT);
            messages.push_back(wl::testing::WideText(text));
            ClickButton(d.Handle(), button);
        });
    }
    std::vector<std::wstring> messages;
};

std::wstring English(Program& p, int id) {
    return wl::ToWide(p.Texts.LoadText(id), p.UiCodePage());
}

class Lexbulk : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = MakeFolders("lexbulk app test");
        ASSERT_TRUE(MakeDictionary(folders_, {0, 1, 12, 13},
                                   {{0, "tea", "caj", "ti:"}, {0, "milk", "mleko", ""}, {12, "hus", "goose", ""}}));
        ini_ = folders_.Base + "lx2000.ini";
    }
    void TearDown() override {
        if (app_ && app_->Frame() && app_->Frame()->Handle()) ::DestroyWindow(app_->Frame()->Handle());
        wl::testing::PumpMessages();
        app_.reset();
        program_.reset();
        RemoveFolder(folders_.Base);
    }

    void Open(int uiLanguage) {
        WriteStartSettings(folders_, ini_, uiLanguage);
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        program_ = std::make_unique<Program>(instance, ini_);
        program_->Config.ProgramFolder = folders_.Program;
        app_ = std::make_unique<TDrawApp>(instance, *program_);
        app_->InitMainWindow();
        ASSERT_TRUE(app_->Frame() && app_->Frame()->Handle());
    }
    HWND FrameHandle() const { return app_->Frame()->Handle(); }
    std::wstring MenuText(int position) const {
        wchar_t text[128] = {};
        ::GetMenuStringW(::GetMenu(FrameHandle()), position, text, 128, MF_BYPOSITION);
        return text;
    }
    wl::CommandEnabler Enabler(unsigned id) {
        wl::CommandEnabler ce(id, program_->UiCodePage());
        app_->Frame()->EnableCommand(ce);
        return ce;
    }
    // Whether the slot holds the word (a whole-word match).
    bool Holds(int slot, const std::string& word) {
        std::vector<lex::ResultRow> rows;
        lex::LookupWord(*program_->Engine, word, rows, slot);
        return !rows.empty() && rows[0].Word == word;
    }
    void WriteText(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    std::string ReadText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Runs a dialog with the script; true when every step ran.
    bool Run(wl::Dialog& dialog, DialogScript& script) {
        script.Arm();
        dialog.Execute();
        wl::Dialog::SetTestHook(nullptr);
        return script.Done();
    }
    void SetItem(HWND dialog, int id, const std::string& text) { wl::SetItemText(dialog, id, text, 1250); }

    TestFolders folders_;
    std::string ini_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<TDrawApp> app_;
};

TEST_F(Lexbulk, MenusAndBarsOfTheUiLanguages) {
    struct Case {
        int language;
        const wchar_t* firstMenu;  // null: no menu
        bool statusBar;
    } cases[] = {{0, L"&Entries", false}, {1, L"&Hesla", true}, {9, nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        Open(c.language);
        if (c.firstMenu) {
            EXPECT_EQ(c.firstMenu, MenuText(0));
            EXPECT_EQ(4, ::GetMenuItemCount(::GetMenu(FrameHandle())));
        } else {
            EXPECT_EQ(nullptr, ::GetMenu(FrameHandle()));
        }
        EXPECT_EQ(c.statusBar, ::FindWindowExW(FrameHandle(), nullptr, STATUSCLASSNAMEW, nullptr) != nullptr);
        HWND toolbar = ::FindWindowExW(FrameHandle(), nullptr, TOOLBARCLASSNAMEW, nullptr);
        ASSERT_NE(nullptr, toolbar);
        EXPECT_EQ(13, ::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
        TearDown();
        SetUp();
    }
}

TEST_F(Lexbulk, CommandEnablers) {
    Open(0);
    // Every command is available, the shared settings dialogs included.
    for (unsigned id : {CM_BULK_EXPORT, CM_BULK_IMPORT, CM_BULK_LOAD_WORDS, CM_BULK_ARCHIVE_LOAD,
                        CM_BULK_ARCHIVE_SAVE, CM_BULK_INITIALISATION, CM_BULK_HELP, CM_BULK_CONFIGURATION,
                        CM_BULK_FONT_SETUP, CM_BULK_SORT_SETUP, CM_BULK_ABOUT})
        EXPECT_TRUE(Enabler(id).Enabled()) << id;
    EXPECT_EQ(program_->Texts.LoadText(lex::kTextMenuExport), Enabler(CM_BULK_EXPORT).Text());
    EXPECT_EQ(program_->Texts.LoadText(lex::kTextMenuArchive), Enabler(CM_BULK_ARCHIVE_SAVE).Text());
    EXPECT_EQ(program_->Texts.LoadText(lex::kTextMenuSortingSetup), Enabler(CM_BULK_SORT_SETUP).Text());
    // The about button of the control bar as the frame leaves it.
    app_->Frame()->UpdateCommands();
    HWND toolbar = ::FindWindowExW(FrameHandle(), nullptr, TOOLBARCLASSNAMEW, nullptr);
    EXPECT_NE(0, ::SendMessageW(toolbar, TB_ISBUTTONENABLED, CM_BULK_ABOUT, 0));
}

TEST_F(Lexbulk, RestartStartsAQuotedStartCommandAndCloses) {
    Open(0);
    wl::testing::StartRecorder starts;
    starts.Install();
    app_->Frame()->Restart();
    ASSERT_EQ(starts.Started.size(), 1u);
    EXPECT_EQ("\"" + folders_.Program + "LEXBULK.exe\" start", starts.Started[0]);
    EXPECT_EQ(starts.Shows, std::vector<int>{SW_SHOW});
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, FrameHandle(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}

TEST_F(Lexbulk, InitialisationEmptiesTheChosenUserSlotsAndTheLogs) {
    Open(0);
    ASSERT_TRUE(Holds(12, "hus"));
    const std::string slot13 = ReadText(program_->Config.Dictionary.NodePaths[13]);
    DialogScript script;
    // No: nothing changes, the dialog stays.
    script.Then([&](wl::Dialog& d) {
        EXPECT_EQ(8, ::SendDlgItemMessageW(d.Handle(), IDC_BULK_SLOT_LIST, LB_GETSELCOUNT, 0, 0));
        ClickButton(d.Handle(), IDC_BULK_DESELECT_ALL);
        EXPECT_EQ(0, ::SendDlgItemMessageW(d.Handle(), IDC_BULK_SLOT_LIST, LB_GETSELCOUNT, 0, 0));
        ::SendDlgItemMessageW(d.Handle(), IDC_BULK_SLOT_LIST, LB_SETSEL, TRUE, 0);  // slot 12
        ClickButton(d.Handle(), IDOK);
        EXPECT_TRUE(Holds(12, "hus"));
        ClickButton(d.Handle(), IDOK);
    });
    script.Answer(IDC_QUESTION_NO);
    script.Answer(IDC_QUESTION_YES);
    TInicializaceWindow dialog(app_->Frame(), *program_);
    ASSERT_TRUE(Run(dialog, script));
    ASSERT_EQ(2u, script.messages.size());
    EXPECT_EQ(English(*program_, lex::kTextEraseQuestion), script.messages[0]);
    EXPECT_FALSE(Holds(12, "hus"));
    EXPECT_EQ(slot13, ReadText(program_->Config.Dictionary.NodePaths[13]));
    EXPECT_TRUE(Holds(0, "tea"));
    EXPECT_EQ(18, FileSize(folders_.ActionLog));
}

TEST_F(Lexbulk, ArchiveSaveThenLoadIntoEmptiedSlots) {
    Open(0);
    const std::string archive = folders_.Base + "user words.ars";
    DialogScript script;
    // The slots whose files exist (a missing slot stops the save).
    auto chooseSlots = [&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, archive);
        ClickButton(d.Handle(), IDC_BULK_DESELECT_ALL);
        for (int s : {0, 1, 12, 13}) ::SendDlgItemMessageW(d.Handle(), IDC_BULK_SLOT_LIST, LB_SETSEL, TRUE, s);
        ClickButton(d.Handle(), IDOK);
    };
    script.Then(chooseSlots);
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        ClickButton(box.Handle(), IDOK);
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    ArchiveDialog save(app_->Frame(), *program_, ArchiveDialog::kSave);
    ASSERT_TRUE(Run(save, script));
    ASSERT_EQ(1u, script.messages.size());
    EXPECT_EQ(English(*program_, lex::kTextArchiveDone), script.messages[0]);
    EXPECT_EQ(3, save.SaveJob().Count());

    for (int s : {0, 12}) ASSERT_EQ(1, lex::CreateSlotFiles(*program_->Engine, s));
    ASSERT_FALSE(Holds(0, "tea"));
    script.messages.clear();
    script.Then(chooseSlots);
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        EXPECT_EQ(L"3", wl::testing::WideText(::GetDlgItem(owner, IDC_BULK_COUNT)));
        ClickButton(box.Handle(), IDOK);
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    ArchiveDialog load(app_->Frame(), *program_, ArchiveDialog::kLoad);
    ASSERT_TRUE(Run(load, script));
    EXPECT_EQ(English(*program_, lex::kTextArchiveLoadDone), script.messages.at(0));
    EXPECT_TRUE(Holds(0, "tea"));
    EXPECT_TRUE(Holds(0, "milk"));
    EXPECT_TRUE(Holds(12, "hus"));
}

TEST_F(Lexbulk, ImportWithPreviewThenExportQuick) {
    Open(0);
    const std::string source = folders_.Base + "words.txt";
    WriteText(source, "dog\r\n\r\npes\r\ncat\r\n\r\nkocka\r\ntea\r\nti:\r\ncaj\r\n");
    DialogScript script;
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, source);
        ClickButton(d.Handle(), IDOK);
    });
    // The first preview: do not show again, Yes.
    script.Then([&](wl::Dialog& preview) {
        EXPECT_EQ(L" dog", wl::testing::WideText(::GetDlgItem(preview.Handle(), IDC_PREVIEW_WORD)));
        EXPECT_EQ(L" pes", wl::testing::WideText(::GetDlgItem(preview.Handle(), IDC_PREVIEW_TRANSLATION)));
        ::CheckDlgButton(preview.Handle(), IDC_PREVIEW_NO_MORE, BST_CHECKED);
        ClickButton(preview.Handle(), IDOK);
    });
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        // Two new entries; the existing tea/caj is not counted.
        EXPECT_EQ(L"2", wl::testing::WideText(::GetDlgItem(owner, IDC_BULK_COUNT)));
        ClickButton(box.Handle(), IDOK);
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    TextJobDialog import(app_->Frame(), *program_, TextJobDialog::kImport);
    ASSERT_TRUE(Run(import, script));
    EXPECT_EQ(English(*program_, lex::kTextImportDone), script.messages.at(0));
    EXPECT_TRUE(Holds(0, "dog"));
    EXPECT_TRUE(Holds(0, "cat"));
    // One Undo takes the whole import back.
    ASSERT_EQ(1, lex::UndoLastAction(*program_->Engine));
    EXPECT_FALSE(Holds(0, "dog"));
    EXPECT_FALSE(Holds(0, "cat"));

    const std::string target = folders_.Base + "export.txt";
    script.messages.clear();
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, target);
        ::CheckDlgButton(d.Handle(), IDC_TEXT_CODE_1250, BST_UNCHECKED);
        ::CheckDlgButton(d.Handle(), IDC_TEXT_CODE_852, BST_CHECKED);
        ClickButton(d.Handle(), IDOK);
    });
    script.Answer(IDC_QUESTION_YES);  // quick
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        ClickButton(box.Handle(), IDOK);
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    TextJobDialog exportDialog(app_->Frame(), *program_, TextJobDialog::kExport);
    ASSERT_TRUE(Run(exportDialog, script));
    EXPECT_EQ(English(*program_, lex::kTextExportDone), script.messages.at(1));
    EXPECT_EQ("tea\r\nti:\r\ncaj\r\nmilk\r\n\r\nmleko\r\n", ReadText(target));
}

// A full disk stops an import with the write-failure text, not the damaged
// dictionary one, and the import dialog closes as after every failed change.
TEST_F(Lexbulk, AFullDiskStopsTheImportWithTheWriteFailureText) {
    Open(0);
    lex::testing::FaultyFileSystem disk;
    disk.FailWritesTo = folders_.Disk;
    program_->Engine = std::make_unique<lex::EngineContext>(program_->Config.Dictionary, disk, program_->Display,
                                                            *program_);
    const std::string source = folders_.Base + "words.txt";
    WriteText(source, "dog\r\n\r\npes\r\n");
    DialogScript script;
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, source);
        ClickButton(d.Handle(), IDOK);
    });
    script.Then([&](wl::Dialog& preview) { ClickButton(preview.Handle(), IDOK); });
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        ClickButton(box.Handle(), IDOK);
        // Closes the dialog only if the failure left it open.
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    TextJobDialog import(app_->Frame(), *program_, TextJobDialog::kImport);
    script.Arm();
    const INT_PTR closedWith = import.Execute();
    wl::Dialog::SetTestHook(nullptr);
    ASSERT_TRUE(script.Done());
    EXPECT_EQ(English(*program_, lex::kTextWriteFailed), script.messages.at(0));
    EXPECT_EQ(IDOK, closedWith);
    disk.FailWritesTo.clear();
    EXPECT_FALSE(Holds(0, "dog"));
    EXPECT_EQ(0, disk.OpenCount());
}

TEST_F(Lexbulk, LoadWordsOffersMissingWordsAndAddsBothSides) {
    Open(0);
    const std::string text = folders_.Base + "text.txt";
    WriteText(text, "tea, coffee and juice");
    DialogScript script;
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_LOAD_PATH, text);
        ClickButton(d.Handle(), IDOK);
    });
    // coffee: translations, take-over to the other side, OK.
    script.Then([&](wl::Dialog& add) {
        EXPECT_EQ(L"coffee", wl::testing::WideText(::GetDlgItem(add.Handle(), IDC_ADD_WORD)));
        SetItem(add.Handle(), IDC_ADD_TRANSLATIONS, "kava\r\nkafe");
        ClickButton(add.Handle(), IDC_ADD_TAKE_OVER);
        EXPECT_EQ(L"coffee", wl::testing::WideText(::GetDlgItem(add.Handle(), IDC_ADD_REVERSE_TRANSLATION)));
        ClickButton(add.Handle(), IDOK);
    });
    // and: skipped. juice: Cancel ends the run.
    script.Then([&](wl::Dialog& add) {
        EXPECT_EQ(L"and", wl::testing::WideText(::GetDlgItem(add.Handle(), IDC_ADD_WORD)));
        ClickButton(add.Handle(), IDC_ADD_SKIP);
    });
    script.Then([&](wl::Dialog& add) {
        EXPECT_EQ(L"juice", wl::testing::WideText(::GetDlgItem(add.Handle(), IDC_ADD_WORD)));
        ClickButton(add.Handle(), IDCANCEL);
    });
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        ClickButton(box.Handle(), IDOK);
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    TLoadWordDialog dialog(app_->Frame(), *program_);
    ASSERT_TRUE(Run(dialog, script));
    EXPECT_EQ(English(*program_, lex::kTextLoadWordsDone), script.messages.at(0));
    EXPECT_TRUE(Holds(0, "coffee"));
    EXPECT_TRUE(Holds(1, "kava"));
    EXPECT_TRUE(Holds(1, "kafe"));
    EXPECT_FALSE(Holds(0, "and"));
    // Both sides are one undo group.
    ASSERT_EQ(1, lex::UndoLastAction(*program_->Engine));
    EXPECT_FALSE(Holds(0, "coffee"));
    EXPECT_FALSE(Holds(1, "kava"));
}

// Every dialog of lexbulk, those that open during a job and from inside
// another included, shows every text whole in every UI language.
TEST_F(Lexbulk, EveryDialogShowsEveryTextWholeInEveryLanguage) {
    Open(0);
    const std::string source = folders_.Base + "words.txt";
    WriteText(source, "owl\r\n\r\nsova\r\n");
    const std::string text = folders_.Base + "text.txt";
    WriteText(text, "coffee");
    wl::ScopedFontDialogRunner fonts([](CHOOSEFONTW&) { return true; });

    ClippedTextsWalk walk;
    // The job's closing message: checked, answered, and its dialog closed.
    auto message = [&](const char* name) {
        return [&walk, name](wl::Dialog& box) {
            walk.Check(box, name);
            HWND owner = ::GetParent(box.Handle());
            ClickButton(box.Handle(), IDOK);
            ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
        };
    };
    struct Step {
        unsigned command;
        const char* name;
        std::function<void(wl::Dialog&)> act;
    };
    const Step steps[] = {
        {CM_BULK_INITIALISATION, "initialisation", walk.Plain("initialisation")},
        {CM_BULK_ARCHIVE_SAVE, "archive save", walk.Plain("archive save")},
        {CM_BULK_ARCHIVE_LOAD, "archive load", walk.Plain("archive load")},
        {CM_BULK_EXPORT, "export", walk.Plain("export")},
        {CM_BULK_CONFIGURATION, "configuration",
         walk.WithInner("configuration", IDC_CONFIG_TOOLBAR, "toolbar", IDCANCEL, IDCANCEL)},
        {CM_BULK_FONT_SETUP, "fonts", walk.WithInner("fonts", IDC_FONTS_ORIGINAL, "script", IDCANCEL, IDOK)},
        {CM_BULK_SORT_SETUP, "sort order", walk.Plain("sort order")},
        {CM_BULK_ABOUT, "about", walk.WithInner("about", IDC_ABOUT_LICENCE, "licence", IDOK, IDOK)},
    };
    const UINT startCodePage = wl::Window::DefaultCodePage();
    for (int language = 0; language < 9; ++language) {
        walk.SetLanguage(language);
        // The texts of that language and their code page, as after a restart in it.
        program_->Texts.SetUiLanguage(language);
        wl::Window::SetDefaultCodePage(program_->UiCodePage());
        for (const Step& step : steps) {
            SCOPED_TRACE(testing::Message() << language << " " << step.name);
            EXPECT_TRUE(FrameCommand(FrameHandle(), step.command, step.act)) << language << " " << step.name;
        }
        // The jobs: the import with its preview, the loading of words with
        // the add dialog of a missing word.
        struct Job {
            unsigned command;
            const char* name;
            int pathId;
            const std::string& path;
            const char* inner;
            int innerButton;
        } jobs[] = {{CM_BULK_IMPORT, "import", IDC_BULK_PATH, source, "preview", IDOK},
                    {CM_BULK_LOAD_WORDS, "load words", IDC_LOAD_PATH, text, "add word", IDCANCEL}};
        for (const Job& job : jobs) {
            DialogScript script;
            script.Then([&](wl::Dialog& d) {
                walk.Check(d, job.name);
                SetItem(d.Handle(), job.pathId, job.path);
                ClickButton(d.Handle(), IDOK);
            });
            script.Then([&](wl::Dialog& d) {
                walk.Check(d, job.inner);
                ClickButton(d.Handle(), job.innerButton);
            });
            script.Then(message(job.name));
            script.Arm();
            ::SendMessageW(FrameHandle(), WM_COMMAND, job.command, 0);
            wl::Dialog::SetTestHook(nullptr);
            EXPECT_TRUE(script.Done()) << language << " " << job.name;
        }
        // The imported entry goes again, so that the next import previews it.
        EXPECT_EQ(1, lex::UndoLastAction(*program_->Engine));
    }
    wl::Window::SetDefaultCodePage(startCodePage);
}

TEST_F(Lexbulk, CancelStopsARunningImportAndAnotherWriterThenGetsTheFiles) {
    Open(0);
    const std::string source = folders_.Base + "many.txt";
    {
        std::ofstream out(source, std::ios::binary);
        for (int i = 0; i < 20000; ++i) out << "w" << i << "\r\n\r\nt" << i << "\r\n";
    }
    DialogScript script;
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, source);
        ClickButton(d.Handle(), IDOK);
    });
    // In the first preview: Cancel on the import dialog (handled by this loop),
    // answered No first (the import goes on), then Yes.
    script.Then([&](wl::Dialog& preview) {
        HWND owner = ::GetParent(preview.Handle());
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
        ::CheckDlgButton(preview.Handle(), IDC_PREVIEW_NO_MORE, BST_CHECKED);
        ::PostMessageW(preview.Handle(), WM_COMMAND, IDOK, 0);
    });
    script.Then([&](wl::Dialog& question) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(question.Handle(), IDC_QUESTION_TEXT)));
        ::PostMessageW(::GetParent(question.Handle()), WM_COMMAND, IDCANCEL, 0);
        ClickButton(question.Handle(), IDC_QUESTION_NO);
    });
    script.Answer(IDC_QUESTION_YES);
    TextJobDialog import(app_->Frame(), *program_, TextJobDialog::kImport);
    ASSERT_TRUE(Run(import, script));
    EXPECT_EQ(English(*program_, lex::kTextImportQuitQuestion), script.messages.at(0));
    EXPECT_EQ(lex::JobState::Cancelled, import.Import().State());
    EXPECT_GT(import.Import().Count(), 0);
    EXPECT_LT(import.Import().Count(), 20000);
    // The files and the log are free again: another command can write.
    EXPECT_TRUE(Holds(0, "w0"));
    std::string tr = "x";
    EXPECT_EQ(1, lex::RunSlotCommand(*program_->Engine, 0,
                                     [&] { return lex::AddEntry(*program_->Engine, "another", "", tr, 1); }));
}

// Esc while the import searches a long stretch of the file for a separator
// ends the run as the end of the file does: the "Vocabulary Import OK." box,
// the entries read so far kept, the dialog open. (Cancel asks instead, above.)
TEST_F(Lexbulk, EscDuringASeparatorSearchEndsTheImportAsTheEndOfTheFile) {
    Open(0);
    const std::string source = folders_.Base + "long.txt";
    WriteText(source, "dog\r\n\r\npes\r\ncat\r\n\r\nkocka\r\n" + std::string(8 * 16 * 1024, 'x') +
                          "\r\n\r\nlost\r\n");
    TextJobDialog import(app_->Frame(), *program_, TextJobDialog::kImport);
    import.SetTiming(1, 10, std::chrono::milliseconds(0));  // one unit a tick: the search takes many ticks
    auto escapeDown = [](bool down) {  // as the dialog manager sees a pressed Esc key
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_ESCAPE] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    };
    bool searching = false;
    std::wstring countAtEnd;
    DialogScript script;
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, source);
        ClickButton(d.Handle(), IDOK);
        // The ticks run here (the first preview comes meanwhile) until the
        // search after the two entries waits for more of the file.
        const ImportJob& job = import.Import();
        for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < wl::testing::kWatchdogMs;) {
            if (job.Count() == 2 && job.Searching()) break;
            MSG msg;
            if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            } else {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            }
        }
        searching = job.Searching();
        escapeDown(true);
        wl::testing::PostKey(::GetDlgItem(d.Handle(), IDC_BULK_PATH), VK_ESCAPE);
    });
    script.Then([&](wl::Dialog& preview) {
        ::CheckDlgButton(preview.Handle(), IDC_PREVIEW_NO_MORE, BST_CHECKED);
        ClickButton(preview.Handle(), IDOK);
    });
    script.Then([&](wl::Dialog& box) {
        escapeDown(false);
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        ClickButton(box.Handle(), IDOK);
        countAtEnd = wl::testing::WideText(::GetDlgItem(owner, IDC_BULK_COUNT));
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);  // no run now: closes
    });
    ASSERT_TRUE(Run(import, script));
    escapeDown(false);
    EXPECT_TRUE(searching);
    EXPECT_EQ(std::vector<std::wstring>{English(*program_, lex::kTextImportDone)}, script.messages);
    EXPECT_EQ(lex::JobState::Done, import.Import().State());
    EXPECT_EQ(L"2", countAtEnd);
    EXPECT_TRUE(import.Import().LastWord().empty());
    EXPECT_TRUE(Holds(0, "dog"));
    EXPECT_TRUE(Holds(0, "cat"));
}

TEST_F(Lexbulk, ALogHeldByAnotherWriterIsReportedAndNothingIsLoaded) {
    Open(0);
    const std::string archive = folders_.Base + "a.ars";
    WriteText(archive, std::string{0, 1, 3, 0} + "owl" + std::string{1, 4} + "sova");
    HANDLE held = ::CreateFileA(program_->Config.Dictionary.ActionLogPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DialogScript script;
    script.Then([&](wl::Dialog& d) {
        SetItem(d.Handle(), IDC_BULK_PATH, archive);
        ClickButton(d.Handle(), IDOK);
    });
    script.Then([&](wl::Dialog& box) {
        script.messages.push_back(wl::testing::WideText(::GetDlgItem(box.Handle(), IDC_MESSAGE_TEXT)));
        HWND owner = ::GetParent(box.Handle());
        ClickButton(box.Handle(), IDOK);
        ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    });
    ArchiveDialog load(app_->Frame(), *program_, ArchiveDialog::kLoad);
    ASSERT_TRUE(Run(load, script));
    ::CloseHandle(held);
    EXPECT_EQ(English(*program_, lex::kTextEntryLocked), script.messages.at(0));
    EXPECT_FALSE(Holds(0, "owl"));
}


// --- The settings dialogs shared with lexora -------------------------------------

class BulkSettings : public Lexbulk {
protected:
    std::string Read(const std::string& section, const std::string& key) {
        char text[512] = {};
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", text, sizeof text, ini_.c_str());
        return text;
    }
    // The configuration command: `act` drives the dialog; the restart
    // question, if it comes, is answered Yes or No. True when it came.
    bool Configure(std::function<void(wl::Dialog&)> act, bool yes) {
        bool asked = false;
        EXPECT_TRUE(FrameCommand(FrameHandle(), CM_BULK_CONFIGURATION, [&](wl::Dialog& d) {
            Next([&](wl::Dialog& q) {
                asked = q.GetItemText(IDC_QUESTION_TEXT) == program_->Texts.LoadText(lex::kTextRestartQuestion);
                ClickButton(q.Handle(), yes ? IDC_QUESTION_YES : IDC_QUESTION_NO);
            });
            act(d);
        }));
        return asked;
    }
};

TEST_F(BulkSettings, ConfigurationCancelKeepsTheFileOkWritesAndAskedRestartStartsAgain) {
    Open(0);
    wl::testing::StartRecorder starts;
    starts.Install();
    std::vector<std::string>& restarts = starts.Started;

    // Cancel: the file stays byte for byte as it was.
    const std::string before = FileBytes(ini_);
    EXPECT_FALSE(Configure([&](wl::Dialog& d) {
        d.SetItemText(IDC_CONFIG_HISTORY, "50");
        d.SetItemText(IDC_CONFIG_LETTER_FIRST, "Q");
        ClickButton(d.Handle(), IDCANCEL);
    }, true));
    EXPECT_EQ(FileBytes(ini_), before);
    EXPECT_EQ(program_->Config.Dictionary.HistorySize, 10);

    // OK with a new history size and title: written and in memory, no restart.
    EXPECT_FALSE(Configure([&](wl::Dialog& d) {
        EXPECT_EQ(d.GetItemText(IDC_CONFIG_DISK_FOLDER), folders_.Disk);
        d.SetItemText(IDC_CONFIG_HISTORY, "20");
        d.SetItemText(IDC_CONFIG_TITLE_FIRST + 13, "Geese");
        ClickButton(d.Handle(), IDOK);
    }, true));
    EXPECT_EQ(Read("HISTORIE", "Maximalni pocet pamatovanych slov"), "20");
    EXPECT_EQ(program_->Config.Dictionary.HistorySize, 20);
    EXPECT_EQ(program_->History.Size(), 20);
    EXPECT_EQ(program_->Config.DictionaryTitles[13], "Geese");
    EXPECT_TRUE(restarts.empty());

    // A new letter asks for the restart; No keeps this copy.
    EXPECT_TRUE(Configure([&](wl::Dialog& d) {
        d.SetItemText(IDC_CONFIG_LETTER_FIRST + 7, "W");
        ClickButton(d.Handle(), IDOK);
    }, false));
    EXPECT_EQ(Read("JAZYKY", "Tlacitko7"), "W");
    EXPECT_FALSE(program_->Config.ConfigFlags.RestartNeeded);
    EXPECT_TRUE(restarts.empty());

    // Yes starts a new copy with "start" and closes this one.
    HWND frame = FrameHandle();
    EXPECT_TRUE(Configure([&](wl::Dialog& d) {
        d.SetItemText(IDC_CONFIG_LETTER_FIRST + 8, "V");
        ClickButton(d.Handle(), IDOK);
    }, true));
    ASSERT_EQ(restarts.size(), 1u);
    EXPECT_EQ(restarts[0], "\"" + folders_.Program + "LEXBULK.exe\" start");
    wl::testing::PumpMessages();
    EXPECT_FALSE(::IsWindow(frame));
}

TEST_F(BulkSettings, SortOrderOkWritesTheTwentyKeysAndCancelNothing) {
    Open(0);
    const std::string before = FileBytes(ini_);
    EXPECT_TRUE(FrameCommand(FrameHandle(), CM_BULK_SORT_SETUP, [&](wl::Dialog& d) {
        ::SendMessageW(d.GetItem(IDC_SORT_TYPE_FIRST + 13), CB_SETCURSEL, 7, 0);
        ClickButton(d.Handle(), IDCANCEL);
    }));
    EXPECT_EQ(FileBytes(ini_), before);

    EXPECT_TRUE(FrameCommand(FrameHandle(), CM_BULK_SORT_SETUP, [&](wl::Dialog& d) {
        EXPECT_EQ(d.GetItemText(IDC_SORT_TITLE_FIRST + 12), program_->Config.DictionaryTitles[12]);
        ::SendMessageW(d.GetItem(IDC_SORT_TYPE_FIRST + 13), CB_SETCURSEL, 10, 0);  // an empty user slot
        ClickButton(d.Handle(), IDOK);
    }));
    EXPECT_EQ(WrittenSortKeys(ini_), SortKeysInSlotOrder());
    EXPECT_EQ(Read("JAZYKY", "Razeni6_1"), "10");
    EXPECT_EQ(program_->Config.Dictionary.SortType[13], 10);
}

TEST_F(BulkSettings, FontChoiceReplacesTheSlotFontAndCancelChangesNothing) {
    Open(0);
    bool answer = false;
    wl::ScopedFontDialogRunner runner([&](CHOOSEFONTW& record) {
        if (answer) {
            record.lpLogFont->lfHeight = -16;
            wcscpy_s(record.lpLogFont->lfFaceName, L"Tahoma");
        }
        return answer;
    });
    auto choose = [&](int slot) {
        return FrameCommand(FrameHandle(), CM_BULK_FONT_SETUP, [&](wl::Dialog& d) {
            EXPECT_EQ(::SendMessageW(d.GetItem(IDC_FONTS_SLOTS), LB_GETCOUNT, 0, 0), lex::kSlotCount);
            ::SendMessageW(d.GetItem(IDC_FONTS_SLOTS), LB_SETCURSEL, slot, 0);
            Next([](wl::Dialog& script) { ClickButton(script.Handle(), IDOK); });
            ClickButton(d.Handle(), IDC_FONTS_TRANSLATION);
            wl::Dialog::SetTestHook(nullptr);
            ClickButton(d.Handle(), IDOK);
        });
    };

    // The chooser cancelled: file and handle as they were.
    const std::string before = FileBytes(ini_);
    HFONT kept = program_->Fonts[1][12];
    EXPECT_TRUE(choose(12));
    EXPECT_EQ(FileBytes(ini_), before);
    EXPECT_EQ(program_->Fonts[1][12], kept);

    // A font chosen: written, and the utility's handle replaced.
    answer = true;
    EXPECT_TRUE(choose(12));
    EXPECT_EQ(Read("TTFT12", "lfFaceName"), "Tahoma");
    EXPECT_EQ(Read("TTFT12", "lfHeight"), "-16");
    EXPECT_NE(program_->Fonts[1][12], kept);
    LOGFONTA font{};
    ASSERT_EQ(::GetObjectA(program_->Fonts[1][12], sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
}

TEST_F(BulkSettings, AboutListsTheSlotsAndCloses) {
    Open(0);
    const std::string dots = std::string(27, ' ') + std::string(16, '.') + " ";
    EXPECT_TRUE(FrameCommand(FrameHandle(), CM_BULK_ABOUT, [&](wl::Dialog& about) {
        HWND list = about.GetItem(IDC_ABOUT_CONTENTS);
        ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2 * lex::kSlotCount);
        auto line = [&](int i) {
            wchar_t text[256] = {};
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            return wl::FromWide(text, program_->UiCodePage());
        };
        EXPECT_EQ(line(24), program_->Config.DictionaryTitles[12]);
        EXPECT_EQ(line(25), dots + "1");   // slot 12: one translation
        EXPECT_EQ(line(39), dots + "0");   // slot 19: no files
        EXPECT_NE(nullptr, reinterpret_cast<HICON>(
                               ::SendMessageW(about.GetItem(IDC_ABOUT_ICON), STM_GETICON, 0, 0)));
        ClickButton(about.Handle(), IDOK);
    }));
    EXPECT_TRUE(::IsWindowVisible(FrameHandle()));
}

}  // namespace
