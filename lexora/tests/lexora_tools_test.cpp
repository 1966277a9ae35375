// The text translator and the full-text search of lexora, driven through the
// frame's commands with real window messages: the dialogs are answered as a
// user would, one after another, by a script of steps.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <functional>
#include <iterator>

#include "lexora/src/app.h"
#include "core/files/testing/faulty_file_system.h"
#include "core/ui/lexcoreui_ids.h"
#include "lexora/src/lexora_frame.h"
#include "frame_fixture.h"
#include "lexora/src/lexora_ids.h"
#include "test_data.h"
#include "lexora/src/tools_ids.h"
#include "lexora/src/translator_dialogs.h"
#include "winlib/common_dialogs.h"
#include "winlib/testing.h"
#include "winlib/testing/dialog_script.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

using namespace lexora;
using namespace lexora_test;
using wl::testing::ClickButton;
using wl::testing::DialogScript;
using wl::testing::WideText;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void SetWide(HWND dialog, int id, const std::wstring& text) {
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Check(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

class Tools : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = MakeFolders("lexora tools test");
        ini_ = folders_.Base + "lx2000.ini";
    }
    void TearDown() override {
        if (app_ && app_->Frame() && app_->Frame()->Handle()) ::DestroyWindow(app_->Frame()->Handle());
        wl::testing::PumpMessages();
        app_.reset();
        program_.reset();
        RemoveFolder(folders_.Base);
    }

    // English texts, the standard test dictionary (with `deleted` words of
    // slot 0 deleted and `more` entries added after it).
    void Open(const std::vector<std::string>& deleted = {}, const std::vector<Entry>& more = {}) {
        ASSERT_TRUE(MakeDictionary(folders_, StandardSlots(), StandardEntries(), deleted, more));
        ASSERT_TRUE(OpenLexora(folders_, ini_, 0, program_, app_, [this](Program& program) {
            starts_.Install();
            program.Keyboards = &keyboards_;
        }));
    }

    HWND Frame() const { return app_->Frame()->Handle(); }
    void Command(unsigned id) { ::SendMessageW(Frame(), WM_COMMAND, id, 0); }
    bool Enabled(unsigned id) {
        wl::CommandEnabler ce(id, program_->UiCodePage());
        app_->Frame()->EnableCommand(ce);
        return ce.Enabled();
    }
    std::wstring Text(int id) { return wl::ToWide(program_->Texts.LoadText(id), program_->UiCodePage()); }
    std::wstring WordBoxText() {
        HWND client = ::FindWindowExW(Frame(), nullptr, L"#32770", nullptr);
        return WideText(::GetDlgItem(client, IDC_WORD_BOX));
    }

    // A step that answers a message dialog (OK, Yes or No) and notes its text.
    DialogScript::Step Message(std::vector<std::wstring>& seen, int button = IDOK) {
        return [&seen, button](wl::Dialog& d) {
            HWND text = ::GetDlgItem(d.Handle(), IDC_MESSAGE_TEXT);
            if (!text) text = ::GetDlgItem(d.Handle(), IDC_QUESTION_TEXT);
            seen.push_back(WideText(text));
            ClickButton(d.Handle(), button);
        };
    }

    // The keyboards the windows ask for: (slot, field) in order.
    struct KeyboardRecord : lex::KeyboardCoupling {
        std::vector<std::pair<int, int>> Calls;
        void SelectSlotKeyboard(int slot, int field, bool) override { Calls.emplace_back(slot, field); }
        void SelectStandardKeyboard() override { Calls.emplace_back(-1, -1); }
    } keyboards_;

    TestFolders folders_;
    std::string ini_;
    // The programs the frame and the translator start (the editor's command
    // lines as given in WideLines).
    StartRecorder starts_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<TDrawApp> app_;
};

// --- Translator -----------------------------------------------------------------

TEST_F(Tools, TranslatesIntoTheChosenSlotAndOpensTheEditor) {
    Open();
    const std::string out = folders_.Base + "out put.txt";
    std::wstring caption, box0, box5;
    bool onlyCurrentChecked = true;
    DialogScript script({
        [&](wl::Dialog& d) {
            caption = WideText(d.Handle());
            box0 = WideText(::GetDlgItem(d.Handle(), IDC_SELECT_FIRST_SLOT));
            for (int s = 0; s < lex::kSlotCount; ++s)
                if ((::IsDlgButtonChecked(d.Handle(), IDC_SELECT_FIRST_SLOT + s) == BST_CHECKED) != (s == 0))
                    onlyCurrentChecked = false;
            ClickButton(d.Handle(), IDOK);
        },
        [&](wl::Dialog& d) {
            EXPECT_EQ(WideText(d.Handle()), Text(lex::kTextTranslatorCaption));
            EXPECT_EQ(WideText(::GetDlgItem(d.Handle(), IDC_TRN_UNICODE)), L"UNICODE");
            SetWide(d.Handle(), IDC_TRN_TEXT, L"dog");
            SetWide(d.Handle(), IDC_TRN_OUTPUT, wl::ToWide(out, CP_ACP));
            ClickButton(d.Handle(), IDOK);
        },
    });
    Command(CM_TRANSLATOR);
    EXPECT_EQ(script.StepsRun(), 2u);
    EXPECT_EQ(caption, Text(lex::kTextOtherLanguagesCaption));
    EXPECT_EQ(box0, wl::ToWide(program_->Config.DictionaryTitles[0], program_->UiCodePage()));
    EXPECT_TRUE(onlyCurrentChecked);
    EXPECT_EQ(ReadFile(out), ".....\r\ndog = dog = { pes }\r\n");
    ASSERT_EQ(starts_.Started.size(), 1u);
    EXPECT_EQ(starts_.Started[0], "notepad \"" + out + "\"");
    EXPECT_FALSE(program_->DialogOpen());
}

TEST_F(Tools, TwoSlotsAndTheWordsOfAText) {
    Open();
    const std::string out = folders_.Base + "two.txt";
    DialogScript script({
        [&](wl::Dialog& d) {
            Check(d.Handle(), IDC_SELECT_FIRST_SLOT + 1, true);
            ClickButton(d.Handle(), IDOK);
        },
        [&](wl::Dialog& d) {
            SetWide(d.Handle(), IDC_TRN_TEXT, L"dog 12\r\ndon't abc123def");
            SetWide(d.Handle(), IDC_TRN_OUTPUT, wl::ToWide(out, CP_ACP));
            ClickButton(d.Handle(), IDOK);
        },
    });
    Command(CM_TRANSLATOR);
    const std::string got = ReadFile(out);
    EXPECT_EQ(got.substr(0, got.find(".....", 5)),
              ".....\r\ndog = dog = { pes }\r\ndog = \xE8" "aj = { tea }\r\n");
    // don't is one word, abc123def two: four words in all.
    size_t words = 0;
    for (size_t at = got.find("....."); at != std::string::npos; at = got.find(".....", at + 5)) ++words;
    EXPECT_EQ(words, 4u);
    EXPECT_NE(got.find("\r\ndon't = "), std::string::npos);
    EXPECT_NE(got.find("\r\nabc = "), std::string::npos);
    EXPECT_NE(got.find("\r\ndef = "), std::string::npos);
    EXPECT_EQ(program_->CurrentSlot(), 1);  // the last slot translated into
}

TEST_F(Tools, Utf16OutputOfACzechWord) {
    Open();
    Command(CM_DIRECTION);  // slot 1: the text field takes Czech
    const std::string out = folders_.Base + "czech.txt";
    DialogScript script({
        [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },
        [&](wl::Dialog& d) {
            SetWide(d.Handle(), IDC_TRN_TEXT, L"\u010Daj");
            SetWide(d.Handle(), IDC_TRN_OUTPUT, wl::ToWide(out, CP_ACP));
            Check(d.Handle(), IDC_TRN_UNICODE, true);
            ClickButton(d.Handle(), IDOK);
        },
    });
    Command(CM_TRANSLATOR);
    std::string expected;
    for (char16_t u : std::u16string(u"\uFEFF.....\r\n\u010Daj = \u010Daj = { tea }\r\n")) {
        expected += static_cast<char>(u & 0xFF);
        expected += static_cast<char>(u >> 8);
    }
    EXPECT_EQ(ReadFile(out), expected);
    ASSERT_EQ(starts_.Started.size(), 1u);
    EXPECT_EQ(starts_.Started[0], "write \"" + out + "\"");
}

// The editor gets the output path in UTF-16, every letter kept, whatever the
// system's code page; an editor that does not start is reported.
TEST_F(Tools, EditorGetsTheWholePathAndAFailedStartIsReported) {
    Open();
    const std::wstring out = wl::ToWide(folders_.Base, CP_ACP) + L"\u0141\u00f3d\u017a a.txt";
    static std::vector<std::wstring> boxes;  // caption and text of each system message box
    boxes.clear();
    for (bool starts : {true, false}) {
        SCOPED_TRACE(starts);
        starts_.WideResult = starts;
        starts_.WideLines.clear();
        boxes.clear();
        DialogScript script({
            [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },
            [&](wl::Dialog& d) {
                SetWide(d.Handle(), IDC_TRN_TEXT, L"dog");
                SetWide(d.Handle(), IDC_TRN_OUTPUT, out);
                // The message box of a failed start comes inside OK: answered by a timer of this thread.
                const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
                    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM) -> BOOL {
                        if (WideText(hwnd) != L"Pozor" || !::IsWindowVisible(hwnd)) return TRUE;
                        boxes.push_back(WideText(hwnd));
                        boxes.push_back(WideText(::GetDlgItem(hwnd, 0xFFFF)));
                        ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
                        return FALSE;
                    }, 0);
                });
                ClickButton(d.Handle(), IDOK);
                ::KillTimer(nullptr, timer);
            },
        });
        Command(CM_TRANSLATOR);
        EXPECT_EQ(script.StepsRun(), 2u);
        EXPECT_EQ(starts_.WideLines, std::vector<std::wstring>{L"notepad \"" + out + L"\""});
        HANDLE file = ::CreateFileW(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the output under its own name";
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        const std::vector<std::wstring> failed = {L"Pozor", L"Nelze spustit editor NOTEPAD.EXE/WRITE.EXE"};
        EXPECT_EQ(boxes, starts ? std::vector<std::wstring>() : failed);
        EXPECT_FALSE(program_->DialogOpen());
        ::DeleteFileW(out.c_str());
    }
}

// The editor starts as its own process with the command line in UTF-16; a
// program that is not there does not start.
TEST(StartProgram, KeepsEveryLetterOfTheCommandLine) {
    const TestFolders folders = MakeFolders("lexora editor start test");
    const std::string editor = folders.Program + "editor.exe";
    ASSERT_TRUE(::CopyFileA(wl::testing::WinePath(RECORD_COMMAND_LINE_EXE).c_str(), editor.c_str(), FALSE));
    const std::wstring line =
        L"\"" + wl::ToWide(editor, CP_ACP) + L"\" \"" + wl::ToWide(folders.Base, CP_ACP) + L"\u0141\u00f3d\u017a a.txt\"";
    wl::SystemStarter system;
    EXPECT_TRUE(system.StartWide(line));
    const std::string recorded = editor + ".wargs";
    ASSERT_TRUE(wl::testing::WaitFor([&] { return ::GetFileAttributesA(recorded.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    const std::string bytes = ReadFile(recorded);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)), line);
    EXPECT_FALSE(system.StartWide(L"\"" + wl::ToWide(folders.Program, CP_ACP) + L"missing.exe\" x"));
    RemoveFolder(folders.Base);
}

TEST_F(Tools, FailuresKeepTheTranslatorOpenWithItsText) {
    Open();
    std::vector<std::wstring> messages;
    std::wstring textAfter;
    const std::string out = folders_.Base + "out.txt";
    DialogScript script({
        [&](wl::Dialog& d) {
            Check(d.Handle(), IDC_SELECT_FIRST_SLOT + 2, true);  // made, but empty
            ClickButton(d.Handle(), IDOK);
        },
        [&](wl::Dialog& d) {
            HWND h = d.Handle();
            SetWide(h, IDC_TRN_TEXT, L"dog cat");
            SetWide(h, IDC_TRN_OUTPUT, wl::ToWide(out, CP_ACP));
            ClickButton(h, IDOK);  // slot 2 has no data
            std::array<bool, lex::kSlotCount> chosen = program_->ChosenSlots();
            chosen[2] = false;
            program_->ChooseSlots(chosen);
            SetWide(h, IDC_TRN_OUTPUT, wl::ToWide(folders_.Base + "no such folder\\out.txt", CP_ACP));
            ClickButton(h, IDOK);  // an output that cannot be made
            textAfter = WideText(::GetDlgItem(h, IDC_TRN_TEXT));
            ClickButton(h, IDCANCEL);
        },
        Message(messages),
        Message(messages),
    });
    Command(CM_TRANSLATOR);
    EXPECT_EQ(script.StepsRun(), 4u);
    EXPECT_EQ(messages, (std::vector<std::wstring>{Text(lex::kTextNotInstalled), Text(lex::kTextCannotOpenEntryFile)}));
    EXPECT_EQ(textAfter, L"dog cat");
    EXPECT_EQ(FileSize(out), -1);  // nothing was written
    EXPECT_TRUE(starts_.Started.empty());
}

// The output goes through a temporary file: when writing fails (a full disk)
// the translator says so, the file that was there stays as it was, no part
// of the translation is left, and no editor starts.
TEST_F(Tools, OutputThatCannotBeWrittenKeepsTheOldFile) {
    Open();
    const std::string out = folders_.Base + "out.txt";
    WriteFile(out, "previous");
    // The translator's file system fails the writes to the output.
    auto faulty = std::make_unique<lex::testing::FaultyFileSystem>();
    faulty->Inner = lex::MakePlatformFileSystem(lex::PathEncoding::Utf8);
    faulty->FailWritesTo = "out.txt";
    std::unique_ptr<lex::FileSystem> platform = std::move(program_->Utf8PathFiles);
    program_->Utf8PathFiles = std::move(faulty);
    std::vector<std::wstring> messages;
    DialogScript script({
        [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },
        [&](wl::Dialog& d) {
            SetWide(d.Handle(), IDC_TRN_TEXT, L"dog cat");
            SetWide(d.Handle(), IDC_TRN_OUTPUT, wl::ToWide(out, CP_ACP));
            ClickButton(d.Handle(), IDOK);
            ClickButton(d.Handle(), IDCANCEL);
        },
        Message(messages),
    });
    Command(CM_TRANSLATOR);
    program_->Utf8PathFiles = std::move(platform);
    EXPECT_EQ(script.StepsRun(), 3u);
    EXPECT_EQ(messages, std::vector<std::wstring>{Text(lex::kTextWriteFailed)});
    EXPECT_EQ(ReadFile(out), "previous");
    EXPECT_EQ(FileSize(out + ".tmp"), -1);
    EXPECT_TRUE(starts_.Started.empty());
}

// An output path longer than the translator takes is refused: its first part
// may name another file, which must stay as it is.
TEST_F(Tools, TooLongOutputPathIsRefusedNotCut) {
    Open();
    const std::string other = folders_.Base + std::string(254 - folders_.Base.size(), 'o');
    const std::string out = other + "ut.txt";
    WriteFile(other, "kept");
    std::vector<std::wstring> messages;
    DialogScript script({
        [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },
        [&](wl::Dialog& d) {
            SetWide(d.Handle(), IDC_TRN_TEXT, L"dog");
            SetWide(d.Handle(), IDC_TRN_OUTPUT, wl::ToWide(out, CP_ACP));
            ClickButton(d.Handle(), IDOK);
            ClickButton(d.Handle(), IDCANCEL);
        },
        Message(messages),
    });
    Command(CM_TRANSLATOR);
    EXPECT_EQ(script.StepsRun(), 3u);
    EXPECT_EQ(messages, std::vector<std::wstring>{Text(lex::kTextCannotOpenEntryFile)});
    EXPECT_EQ(ReadFile(other), "kept");
    EXPECT_TRUE(starts_.Started.empty());
}

TEST_F(Tools, NoSlotChosenOpensNoTranslator) {
    Open();
    DialogScript script({
        [&](wl::Dialog& d) {
            Check(d.Handle(), IDC_SELECT_FIRST_SLOT, false);
            ClickButton(d.Handle(), IDOK);
        },
        [&](wl::Dialog& d) { ClickButton(d.Handle(), IDCANCEL); },
    });
    Command(CM_TRANSLATOR);
    EXPECT_EQ(script.StepsRun(), 1u);
}

TEST_F(Tools, SourceFileIsLoadedIntoTheText) {
    Open();
    const std::string source = folders_.Base + "source.txt";
    WriteFile(source, "cat\n\ndog\r\n" + std::string(4095, 'x'));
    std::wstring shown, path;
    std::vector<std::wstring> messages;
    // The same file chosen twice: the second time it is gone.
    wl::ScopedFileDialogRunner runner(wl::testing::AnswerFileDialogs({source, source}));
    DialogScript script({
        [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },
        [&](wl::Dialog& d) {
            ClickButton(d.Handle(), IDC_TRN_SOURCE_BROWSE);
            shown = WideText(::GetDlgItem(d.Handle(), IDC_TRN_TEXT));
            path = WideText(::GetDlgItem(d.Handle(), IDC_TRN_SOURCE_PATH));
            ::DeleteFileA(source.c_str());
            ClickButton(d.Handle(), IDC_TRN_SOURCE_BROWSE);  // gone now
            ClickButton(d.Handle(), IDCANCEL);
        },
        Message(messages),
    });
    Command(CM_TRANSLATOR);
    EXPECT_EQ(shown, L"cat\r\ndog\r\n" + std::wstring(4090, L'x') + L"\r\nxxxxx\r\n");
    EXPECT_EQ(path, wl::ToWide(source, CP_ACP));
    EXPECT_EQ(messages, std::vector<std::wstring>{Text(lex::kTextCannotOpenLoadFile)});
}

// --- Search ---------------------------------------------------------------------------

// A step of the search dialog: the text, the parts, then OK.
DialogScript::Step StartSearch(const std::wstring& text, bool headwords, bool translations) {
    return [=](wl::Dialog& d) {
        SetWide(d.Handle(), IDC_SEARCH_TEXT, text);
        Check(d.Handle(), IDC_SEARCH_HEADWORDS, headwords);
        Check(d.Handle(), IDC_SEARCH_TRANSLATIONS, translations);
        ClickButton(d.Handle(), IDOK);
    };
}

TEST_F(Tools, SearchAsksAtEveryPlaceInFileOrder) {
    // door deleted; dodo added last (file order: do, dog, ... dodo).
    Open({"door"}, {{0, "dodo", "blboun", ""}});
    std::vector<std::wstring> words, questions, end;
    auto yes = [&](wl::Dialog& d) {
        words.push_back(WordBoxText());
        questions.push_back(WideText(::GetDlgItem(d.Handle(), IDC_QUESTION_TEXT)));
        ClickButton(d.Handle(), IDC_QUESTION_YES);
    };
    std::wstring status;
    DialogScript script({
        [&](wl::Dialog& d) {
            EXPECT_EQ(WideText(d.Handle()), Text(lex::kTextSearchCaption));
            StartSearch(L"do", true, false)(d);
        },
        yes, yes, yes, yes,
        [&](wl::Dialog& d) {
            status = WideText(::GetDlgItem(::GetParent(d.Handle()), IDC_SEARCH_STATUS));
            Message(end)(d);
        },
    });
    Command(CM_LOCATE);
    EXPECT_EQ(words, (std::vector<std::wstring>{L"do", L"dog", L"dodo", L"dodo"}));
    EXPECT_EQ(questions[0], Text(lex::kTextLocateMoreQuestion));
    EXPECT_EQ(end, std::vector<std::wstring>{Text(lex::kTextSearchFinished)});
    EXPECT_EQ(status, L"100 % " + Text(lex::kTextStatusReady));
    EXPECT_FALSE(Enabled(CM_LOCATE_NEXT));
    EXPECT_EQ(program_->CurrentSlot(), 0);
}

TEST_F(Tools, LocateNextGoesOnAfterNo) {
    Open();
    std::vector<std::wstring> words, end;
    std::wstring title, text;
    DialogScript script({
        StartSearch(L"do", true, false),
        [&](wl::Dialog& d) {
            words.push_back(WordBoxText());
            ClickButton(d.Handle(), IDC_QUESTION_NO);
        },
    });
    Command(CM_LOCATE);
    EXPECT_TRUE(Enabled(CM_LOCATE_NEXT));
    DialogScript next({
        [&](wl::Dialog& d) {
            title = WideText(d.Handle());
            text = WideText(::GetDlgItem(d.Handle(), IDC_SEARCH_TEXT));
        },  // continue mode runs by itself
        [&](wl::Dialog& d) {
            words.push_back(WordBoxText());
            ClickButton(d.Handle(), IDC_QUESTION_YES);
        },
        [&](wl::Dialog& d) {
            words.push_back(WordBoxText());
            ClickButton(d.Handle(), IDC_QUESTION_YES);
        },
        Message(end),
    });
    Command(CM_LOCATE_NEXT);
    EXPECT_EQ(title, Text(lex::kTextContinueSearch));
    EXPECT_EQ(text, L"do");
    EXPECT_EQ(words, (std::vector<std::wstring>{L"do", L"dog", L"door"}));
    EXPECT_EQ(end, std::vector<std::wstring>{Text(lex::kTextSearchFinished)});
    EXPECT_FALSE(Enabled(CM_LOCATE_NEXT));
}

TEST_F(Tools, TranslationHitShowsTheHeadword) {
    Open();
    std::vector<std::wstring> words, end;
    DialogScript script({
        StartSearch(L"pes", false, true),
        [&](wl::Dialog& d) {
            words.push_back(WordBoxText());
            ClickButton(d.Handle(), IDC_QUESTION_YES);
        },
        Message(end),
    });
    Command(CM_LOCATE);
    EXPECT_EQ(words, std::vector<std::wstring>{L"dog"});
}

// The string is compared with each side in that side's code page: "KOČKA"
// searched in the Czech translations of English-Czech and Russian-Czech keeps
// its č (with the headwords' code page it would be an unweighted "?", and
// "sko-ka" of "římsko-katolický" would be the first hit); in the Russian
// headwords it is Russian.
TEST_F(Tools, SearchTextReachesEachSideInItsCodePage) {
    Open({"cat"}, {{0, "RC", "\xF8\xEDmsko-katolick\xFD", ""},
                   {0, "puss", "ko\xE8ka", ""},
                   {4, "\xEA\xE0\xF2\xEE\xEB\xE8\xEA", "\xF8\xEDmsko-katolick\xFD", ""},  // католик
                   {4, "\xEA\xEE\xF8\xEA\xE0", "ko\xE8ka", ""}});                          // кошка
    struct Case {
        unsigned slotCommand;
        const wchar_t* text;
        bool headwords, translations;
        const wchar_t* firstHit;
    };
    const Case cases[] = {
        {CM_ENGLISH, L"KO\u010CKA", false, true, L"puss"},
        {CM_LANGUAGE_3, L"KO\u010CKA", false, true, L"\u043A\u043E\u0448\u043A\u0430"},
        {CM_LANGUAGE_3, L"\u041A\u041E\u0428\u041A\u0410", true, false, L"\u043A\u043E\u0448\u043A\u0430"},
        {CM_LANGUAGE_3, L"\u041A\u041E\u0428\u041A\u0410", true, true, L"\u043A\u043E\u0448\u043A\u0430"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(wl::FromWide(c.text, CP_UTF8));
        Command(c.slotCommand);
        std::vector<std::wstring> words;
        DialogScript script({
            StartSearch(c.text, c.headwords, c.translations),
            [&](wl::Dialog& d) {
                words.push_back(WordBoxText());
                ClickButton(d.Handle(), IDC_QUESTION_NO);
            },
        });
        Command(CM_LOCATE);
        EXPECT_EQ(words, std::vector<std::wstring>{c.firstHit});
    }
}

// The keyboard button types for the side it names, of the slot chosen for
// the search.
TEST_F(Tools, SearchKeyboardIsThatOfTheChosenSlotsSide) {
    Open();
    std::vector<std::pair<int, int>> calls;
    DialogScript script({
        [&](wl::Dialog& d) {
            HWND h = d.Handle();
            keyboards_.Calls.clear();
            ::SendDlgItemMessageW(h, IDC_SEARCH_SLOT, CB_SETCURSEL, 4, 0);
            ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_SLOT, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(::GetDlgItem(h, IDC_SEARCH_SLOT)));
            ClickButton(h, IDC_SEARCH_KEYBOARD);
            ClickButton(h, IDC_SEARCH_KEYBOARD);
            calls = keyboards_.Calls;
            ClickButton(h, IDCANCEL);
        },
    });
    Command(CM_LOCATE);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{4, 0}, {4, 1}, {4, 0}}));
}

TEST_F(Tools, SearchRefusesWhatItCannotSearch) {
    Open();
    std::vector<std::wstring> messages;
    DialogScript script({
        [&](wl::Dialog& d) {
            StartSearch(L"do", false, false)(d);  // no part chosen
            StartSearch(L"", true, false)(d);     // nothing to search for
            ClickButton(d.Handle(), IDCANCEL);
        },
        Message(messages),
        Message(messages),
    });
    Command(CM_LOCATE);
    EXPECT_EQ(messages, (std::vector<std::wstring>{Text(lex::kTextChooseSearchDirection),
                                                   Text(lex::kTextEmptySearchString)}));
    EXPECT_FALSE(Enabled(CM_LOCATE_NEXT));
}

TEST_F(Tools, ReadErrorIsReportedNotFinished) {
    Open();
    // The user words file ends inside the texts of the last entries.
    const std::string words = folders_.Disk + "ac_ad.slo";
    std::string bytes = ReadFile(words);
    WriteFile(words, bytes.substr(0, bytes.size() - 30));
    std::vector<std::wstring> messages;
    bool stillOpen = false;
    DialogScript script({
        StartSearch(L"zzz", true, false),
        [&](wl::Dialog& d) {
            Message(messages)(d);
            stillOpen = true;
            ::PostMessageW(::GetParent(d.Handle()), WM_COMMAND, IDCANCEL, 0);
        },
    });
    Command(CM_LOCATE);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(messages, std::vector<std::wstring>{Text(lex::kTextDataFilesCorrupted)});
}

// OK while the search runs (here: while it asks) stops it at once, says so
// and keeps the dialog; the slot's files are closed, and the stopped search
// can still be continued.
TEST_F(Tools, OkWhileRunningStopsTheSearch) {
    Open();
    std::vector<std::wstring> words, messages;
    DialogScript script({
        StartSearch(L"do", true, false),
        [&](wl::Dialog& d) {
            words.push_back(WordBoxText());
            HWND search = ::GetParent(d.Handle());
            ::SendMessageW(search, WM_COMMAND, IDOK, 0);  // opens the message of the next step
            ::PostMessageW(search, WM_COMMAND, IDCANCEL, 0);
            ClickButton(d.Handle(), IDC_QUESTION_YES);
        },
        Message(messages),
    });
    Command(CM_LOCATE);
    EXPECT_EQ(words, std::vector<std::wstring>{L"do"});
    EXPECT_EQ(messages, std::vector<std::wstring>{Text(lex::kTextSearchRunning)});
    HANDLE nodes = ::CreateFileA((folders_.Disk + "ac_adi.slo").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(nodes, INVALID_HANDLE_VALUE) << "no handle of the node file is left open";
    if (nodes != INVALID_HANDLE_VALUE) ::CloseHandle(nodes);
    EXPECT_TRUE(Enabled(CM_LOCATE_NEXT));
}

// A text longer than the field takes is cut at a line end, with a warning.
TEST_F(Tools, LongSourceIsCutWithAWarning) {
    Open();
    const std::string source = folders_.Base + "long.txt";
    std::string line(99, 'w');
    std::string bytes;
    while (bytes.size() <= static_cast<size_t>(kTranslatorTextLimit)) bytes += line + "\r\n";
    WriteFile(source, bytes);
    size_t shown = 0;
    std::wstring tail;
    std::vector<std::wstring> messages;
    wl::ScopedFileDialogRunner runner(wl::testing::AnswerFileDialogs({source}));
    DialogScript script({
        [&](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); },
        [&](wl::Dialog& d) {
            ClickButton(d.Handle(), IDC_TRN_SOURCE_BROWSE);
            const std::wstring text = WideText(::GetDlgItem(d.Handle(), IDC_TRN_TEXT));
            shown = text.size();
            tail = text.substr(text.size() - 3);
            ClickButton(d.Handle(), IDCANCEL);
        },
        Message(messages),
    });
    Command(CM_TRANSLATOR);
    EXPECT_EQ(messages, std::vector<std::wstring>{Text(lex::kTextSourceTextTooLong)});
    EXPECT_LE(shown, static_cast<size_t>(kTranslatorTextLimit));
    EXPECT_GT(shown, static_cast<size_t>(kTranslatorTextLimit) - 101);
    EXPECT_EQ(tail, L"w\r\n");
}

TEST_F(Tools, CommandsAreEnabled) {
    Open();
    EXPECT_TRUE(Enabled(CM_TRANSLATOR));
    EXPECT_TRUE(Enabled(CM_LOCATE));
    EXPECT_FALSE(Enabled(CM_LOCATE_NEXT));
    const UINT state = ::GetMenuState(::GetMenu(Frame()), CM_TRANSLATOR, MF_BYCOMMAND);
    EXPECT_FALSE(state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace
