// The keyboard coupling, the keyboard assignment dialog (with real messages;
// the keyboard program is a stand-in process that records its command line)
// and the keyboard hook end to end: keys sent with SendInput are typed
// through a layout file saved by the keyboard file module.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/dialogs/keyboard_dialog.h"
#include "lexora/src/lexora_keyboard_coupling.h"
#include "lexora/src/keyboard_hook.h"
#include "lexora/hook/key_decision.h"
#include "test_data.h"
#include "core/files/testing/faulty_file_system.h"
#include "core/keyboard/keyboard_file.h"
#include "winlib/common_dialogs.h"
#include "winlib/testing.h"
#include "winlib/text.h"
#include "winlib/testing/process_driver.h"

namespace {

using lexora::LexoraKeyboardCoupling;
using wl::testing::ClickButton;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        folders_ = lexora_test::MakeFolders("lexora keyboard test");
        lx_ = folders_.Base + "lx2000.ini";
        tastrix_ = folders_.Base + "tastrix.ini";
        ts2000_ = folders_.Base + "ts2000.ini";
        settings_ = std::make_unique<lex::SettingsFile>(lx_);
        coupling_ = std::make_unique<LexoraKeyboardCoupling>(
            *settings_, [](int slot, int) { return slot == 4 ? 1251u : 1250u; }, [] { return 1252u; },
            [this](bool r) { reversed_ = r; }, tastrix_, ts2000_);
        texts_.SetUiLanguage(0);
    }
    void TearDown() override { lexora_test::RemoveFolder(folders_.Base); }

    std::string Active(const std::string& file, const char* section) {
        char value[16] = {};
        ::GetPrivateProfileStringA(section, "AKTIVNI", "-", value, sizeof value, file.c_str());
        return value;
    }
    void Write(const char* key, const std::string& value) {
        ::WritePrivateProfileStringA("TASTRIX", key, value.c_str(), lx_.c_str());
    }

    lexora_test::TestFolders folders_;
    std::string lx_, tastrix_, ts2000_;
    std::unique_ptr<lex::SettingsFile> settings_;
    std::unique_ptr<LexoraKeyboardCoupling> coupling_;
    bool reversed_ = false;
    lex::TextLoader texts_{::GetModuleHandleW(nullptr)};
};

TEST_F(KeyboardTest, CouplingFollowsActivationAndTheFocusedField) {
    Write("TastrixO2_0", "C:\\k\\ru.tsb");  // slot 4, original
    Write("TastrixO_ZAPIS2_0", "1");
    Write("TastrixV2_0", "C:\\k\\ipa.tsb");
    Write("STANDARD", "C:\\k\\std.tsb");

    // Inactive: the reversed flag, AKTIVNI 0, the requested path unchanged.
    coupling_->SelectSlotKeyboard(4, lex::kOriginalField, false);
    EXPECT_TRUE(reversed_);
    EXPECT_EQ("X", coupling_->RequestedPath());
    EXPECT_EQ("0", Active(tastrix_, "LEX"));
    EXPECT_EQ("0", Active(ts2000_, "LEXORA"));

    // Active without the hook: still 0.
    coupling_->SetDictionaryActive(true);
    EXPECT_EQ("0", Active(tastrix_, "LEX"));
    coupling_->SetCouplingOn(true);
    EXPECT_EQ("1", Active(tastrix_, "LEX"));
    EXPECT_EQ("1", Active(ts2000_, "LEXORA"));

    coupling_->SelectSlotKeyboard(4, lex::kOriginalField, false);
    EXPECT_EQ("C:\\k\\ru.tsb", coupling_->RequestedPath());
    EXPECT_EQ(1251u, coupling_->RequestedCodePage());
    coupling_->SelectSlotKeyboard(4, lex::kOriginalField, true);
    EXPECT_EQ("C:\\k\\ipa.tsb", coupling_->RequestedPath());
    EXPECT_FALSE(reversed_);
    coupling_->SelectSlotKeyboard(5, lex::kTranslationField, false);
    EXPECT_EQ("X", coupling_->RequestedPath());  // a missing key reads "X"

    // The keys are written only when their value changes.
    ::WritePrivateProfileStringA("LEX", "AKTIVNI", "7", tastrix_.c_str());
    coupling_->SelectSlotKeyboard(4, lex::kOriginalField, false);
    coupling_->SetDictionaryActive(true);
    EXPECT_EQ("7", Active(tastrix_, "LEX"));

    // Activation follows WM_ACTIVATEAPP's wParam: twice inactive stays inactive.
    coupling_->SetDictionaryActive(false);
    coupling_->SetDictionaryActive(false);
    EXPECT_EQ("0", Active(tastrix_, "LEX"));
    EXPECT_FALSE(coupling_->DictionaryActive());

    // The standard keyboard whatever the activation; the reversed flag cleared.
    coupling_->SelectSlotKeyboard(4, lex::kOriginalField, false);
    EXPECT_TRUE(reversed_);
    coupling_->SelectStandardKeyboard();
    EXPECT_FALSE(reversed_);
    EXPECT_EQ("C:\\k\\std.tsb", coupling_->RequestedPath());
}

// --- The keyboard assignment dialog -------------------------------------------------

class AssignmentTest : public KeyboardTest {
protected:
    lex::KeyboardDialogServices Services() {
        lex::KeyboardDialogServices s{*settings_, texts_, *coupling_, *files_, {}, {}, 0, {}};
        for (int i = 0; i < lex::kSlotCount; ++i) s.Titles[i] = "Title " + std::to_string(i);
        s.ProgramFolder = folders_.Program;
        s.Show = [this](wl::Window*, const std::string& text, const std::string&) { shown_.push_back(text); };
        return s;
    }
    std::unique_ptr<lex::FileSystem> files_ = lex::MakePlatformFileSystem();
    std::vector<std::string> shown_;
    int couplingSetting_ = 0;
};

TEST_F(AssignmentTest, OkWritesEverySlotInOrder) {
    Write("TastrixO1_1", "C:\\k\\de.tsb");  // slot 3
    Write("TastrixP_ZAPIS1_1", "1");
    const std::string chosen = folders_.Base + "cs.tsb";
    wl::ScopedFileDialogRunner runner(wl::testing::AnswerFileDialogs({chosen}, 1252));
    lex::TTastrixAll dialog(nullptr, Services(), 3, couplingSetting_);
    std::wstring shownPath;
    bool translationFlagShown = false;
    ASSERT_EQ(IDOK, wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
                  HWND h = d.Handle();
                  shownPath = wl::testing::WideText(::GetDlgItem(h, IDC_KA_ORIGINAL_PATH));
                  translationFlagShown = ::SendDlgItemMessageW(h, IDC_KA_TRANSLATION_RTL, BM_GETCHECK, 0, 0) == BST_CHECKED;
                  // Slot 6: browse a pronunciation keyboard, right to left.
                  ::SendDlgItemMessageW(h, IDC_KA_SLOTS, LB_SETCURSEL, 6, 0);
                  ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_KA_SLOTS, LBN_SELCHANGE),
                                 reinterpret_cast<LPARAM>(::GetDlgItem(h, IDC_KA_SLOTS)));
                  ClickButton(h, IDC_KA_BROWSE_PRONUNCIATION);
                  ClickButton(h, IDC_KA_ORIGINAL_RTL);
                  ClickButton(h, IDC_KA_COUPLING);
                  ClickButton(h, IDOK);
              }));
    EXPECT_EQ(L"C:\\k\\de.tsb", shownPath);
    EXPECT_TRUE(translationFlagShown);
    EXPECT_EQ(1, couplingSetting_);
    EXPECT_EQ(chosen, settings_->ReadKeyboardPath(6, 2));
    EXPECT_EQ(1, settings_->ReadReversedFlag(6, 0));
    EXPECT_EQ(1, settings_->ReadReversedFlag(3, 1));  // shown only, written back unchanged

    // The keys of the section, in file order.
    std::istringstream file(ReadAll(lx_));
    std::vector<std::string> keys;
    bool inSection = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') inSection = line == "[TASTRIX]";
        else if (inSection && line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
    }
    std::vector<std::string> expected;
    for (int p = 0; p < 10; ++p)
        for (int d = 0; d < 2; ++d)
            for (const char* f : {"TastrixO%d_%d", "TastrixO_ZAPIS%d_%d", "TastrixP%d_%d", "TastrixP_ZAPIS%d_%d",
                                  "TastrixV%d_%d"}) {
                char name[40];
                std::snprintf(name, sizeof name, f, p, d);
                expected.push_back(name);
            }
    expected.push_back("STANDARD");
    // Keys written before the dialog keep their places; the others follow in order.
    std::vector<std::string> rest;
    for (const std::string& k : keys)
        if (k != "TastrixO1_1" && k != "TastrixP_ZAPIS1_1") rest.push_back(k);
    std::vector<std::string> expectedRest;
    for (const std::string& k : expected)
        if (k != "TastrixO1_1" && k != "TastrixP_ZAPIS1_1") expectedRest.push_back(k);
    EXPECT_EQ(expectedRest, rest);
}

TEST_F(AssignmentTest, EditStartsTheKeyboardProgramQuoted) {
    const std::string ts = folders_.Program + "ts.exe";
    ASSERT_TRUE(::CopyFileA(wl::testing::WinePath(RECORD_COMMAND_LINE_EXE).c_str(), ts.c_str(), FALSE));
    Write("TastrixP0_0", "C:\\my keys\\cs.tsb");
    Write("TastrixV0_0", "X");
    Write("TastrixO0_0", "X:\\keys\\x.tsb");  // a drive X: is a real path
    lex::KeyboardDialogServices s = Services();
    s.UiLanguage = 8;
    lex::TTastrixAll dialog(nullptr, s, 0, couplingSetting_);
    wl::testing::ExecuteWith(dialog, [&](wl::Dialog& d) {
        ClickButton(d.Handle(), IDC_KA_EDIT_PRONUNCIATION);  // "X": nothing starts
        ClickButton(d.Handle(), IDC_KA_EDIT_TRANSLATION);
        ClickButton(d.Handle(), IDCANCEL);
    });
    ASSERT_TRUE(wl::testing::WaitFor([&] { return Exists(ts + ".args"); }));
    const std::string line = ReadAll(ts + ".args");
    EXPECT_EQ("\"" + ts + "\" X 0 \"C:\\my keys\\cs.tsb\"", line);
    EXPECT_EQ("\"" + folders_.Program + "ts.exe\" X 0 \"X:\\keys\\x.tsb\"",
              lex::KeyboardEditorCommandLine(folders_.Program, 8, "X:\\keys\\x.tsb"));
    EXPECT_FALSE(lex::IsNoKeyboard("X:\\keys\\x.tsb"));
    EXPECT_TRUE(lex::IsNoKeyboard("X"));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(AssignmentTest, NewKeyboardCopiesThePairAndRefusesAnExistingName) {
    const std::string demo = wl::testing::WinePath(TS_DEMO_DATA_DIR) + "\\demo.tsb";
    const std::string target = folders_.Base + "mine";
    auto answer = [&](const std::string& first, const std::string& second) {
        int call = 0;
        return wl::ScopedFileDialogRunner([first, second, call](OPENFILENAMEW& r, bool) mutable {
            const std::wstring w = wl::ToWide(call++ == 0 ? first : second, 1252);
            wcsncpy(r.lpstrFile, w.c_str(), r.nMaxFile - 1);
            return true;
        });
    };
    auto run = [&] {
        lex::TTastrixAll dialog(nullptr, Services(), 0, couplingSetting_);
        wl::testing::ExecuteWith(dialog, [](wl::Dialog& d) {
            ClickButton(d.Handle(), IDC_KA_NEW_KEYBOARD);
            ClickButton(d.Handle(), IDCANCEL);
        });
    };
    {
        auto runner = answer(target, demo);
        run();
    }
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(ReadAll(demo), ReadAll(target + ".tsb"));
    EXPECT_EQ(ReadAll(wl::testing::WinePath(TS_DEMO_DATA_DIR) + "\\demo.ini"), ReadAll(target + ".ini"));

    // The same name again (with the extension in another case): refused, nothing changes.
    std::ofstream(target + ".tsb", std::ios::binary | std::ios::trunc) << "mine";
    {
        auto runner = answer(target + ".TsB", demo);
        run();
    }
    EXPECT_EQ(std::vector<std::string>{texts_.LoadText(lex::kTextKeyboardFileExists)}, shown_);
    EXPECT_EQ("mine", ReadAll(target + ".tsb"));

    // A source that cannot be read: reported, no file made.
    shown_.clear();
    {
        auto runner = answer(folders_.Base + "other.tsb", folders_.Base + "gone.tsb");
        run();
    }
    EXPECT_EQ(std::vector<std::string>{texts_.LoadText(lex::kTextKeyboardCopyFailed)}, shown_);
    EXPECT_FALSE(Exists(folders_.Base + "other.tsb"));
    EXPECT_FALSE(Exists(folders_.Base + "other.ini"));
}

// A copy to a name that was stopped between putting the companion and the
// layout in place (the program killed) leaves the companion alone with what
// the copy had still to do. New keyboard with that name again finishes it
// first, so the name is free, and makes the pair whole; nothing is left.
TEST_F(AssignmentTest, NewKeyboardFinishesACopyThatStopped) {
    const std::string demo = wl::testing::WinePath(TS_DEMO_DATA_DIR) + "\\demo.tsb";
    const std::string target = folders_.Base + "half";
    {
        lex::testing::FaultyFileSystem killed;
        // Create and write both temporary files and the journal, the companion in place: killed before the layout.
        killed.StopAtChange(8);
        EXPECT_FALSE(lex::keyboard::CopyLayoutPair(killed, demo, target + ".tsb"));
    }
    ASSERT_TRUE(Exists(target + ".ini"));
    ASSERT_FALSE(Exists(target + ".tsb"));
    int call = 0;
    wl::ScopedFileDialogRunner runner([&](OPENFILENAMEW& r, bool) {
        const std::wstring w = wl::ToWide(call++ == 0 ? target : demo, 1252);
        wcsncpy(r.lpstrFile, w.c_str(), r.nMaxFile - 1);
        return true;
    });
    lex::TTastrixAll dialog(nullptr, Services(), 0, couplingSetting_);
    wl::testing::ExecuteWith(dialog, [](wl::Dialog& d) {
        ClickButton(d.Handle(), IDC_KA_NEW_KEYBOARD);
        ClickButton(d.Handle(), IDCANCEL);
    });
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(ReadAll(demo), ReadAll(target + ".tsb"));
    EXPECT_EQ(ReadAll(wl::testing::WinePath(TS_DEMO_DATA_DIR) + "\\demo.ini"), ReadAll(target + ".ini"));
    for (const char* left : {".tsb.tmp", ".ini.tmp", ".ini.bak", ".ini.pair"})
        EXPECT_FALSE(Exists(target + left)) << left;
}

// --- The keyboard hook --------------------------------------------------------------

constexpr WORD kScanA = 0x1E, kScanEquals = 0x0D, kScanF2 = 0x3C;

void Press(WORD vk, WORD scan, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

class HookTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        layout_ = folders_.Base + "keys.tsb";
        runner_ = folders_.Base + "runner.exe";
        ASSERT_TRUE(::CopyFileA(wl::testing::WinePath(RECORD_COMMAND_LINE_EXE).c_str(), runner_.c_str(), FALSE));
        // The layout, saved by the keyboard file module as the keyboard program saves it.
        lex::keyboard::LayoutTables t;
        t.MainKeys[0].ScanCode = kScanA;
        t.MainKeys[0].Chars[0] = 0xE4;
        t.MainKeys[0].Chars[1] = 0xC4;
        t.MainKeys[0].Chars[16] = 0xE1;
        t.MainKeys[1].ScanCode = kScanEquals;
        t.MainKeys[1].Chars[0] = 0xB4;
        t.Prefixes[1] = {0, kScanEquals};
        t.FunctionKeys[1].ScanCode = kScanF2;
        t.SetRunFlag(lex::keyboard::kFunctionKeys, 1, 0, 1);
        std::string image(lex::keyboard::kLayoutFileSize, '\0');
        lex::keyboard::EncodeLayout(t, reinterpret_cast<uint8_t*>(&image[0]));
        std::ofstream(layout_, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
        std::ofstream(folders_.Base + "keys.ini") << "[RUN]\n1_1_0=\"" << runner_ << "\" run\n";
        Write("TastrixO0_0", layout_);

        window_ = ::CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(nullptr, window_);
        ::SetForegroundWindow(window_);
        ::SetFocus(window_);
        coupling_->SetDictionaryActive(true);
        coupling_->SetCouplingOn(true);
        coupling_->SelectSlotKeyboard(0, lex::kOriginalField, false);
        hook_ = std::make_unique<lexora::KeyboardHook>(*coupling_, hookFiles_);
        ASSERT_TRUE(hook_->Install());
    }
    void TearDown() override {
        hook_.reset();  // removes the hook
        if (window_) ::DestroyWindow(window_);
        KeyboardTest::TearDown();
    }

    // Sends keys, then handles the queue until the text changes (or a while).
    std::wstring Type(const std::function<void()>& keys) {
        ::SetWindowTextW(window_, L"");
        keys();
        std::wstring text;
        wl::testing::WaitFor([&] {
            wl::testing::PumpMessages();
            text = wl::testing::WideText(window_);
            return !text.empty();
        }, 1500);
        wl::testing::PumpMessages();
        return wl::testing::WideText(window_);
    }
    static void Tap(WORD vk, WORD scan) {
        Press(vk, scan, false);
        Press(vk, scan, true);
    }

    std::string layout_, runner_;
    HWND window_ = nullptr;
    lex::testing::FaultyFileSystem hookFiles_;  // the hook's file layer (no faults unless a test sets them)
    std::unique_ptr<lexora::KeyboardHook> hook_;
};

TEST_F(HookTest, TypesThroughTheLayout) {
    EXPECT_EQ(L"\u00e4", Type([] { Tap('A', kScanA); }));
    EXPECT_EQ(L"\u00c4", Type([] {
                  Press(VK_SHIFT, 0x2A, false);
                  Tap('A', kScanA);
                  Press(VK_SHIFT, 0x2A, true);
              }));
    EXPECT_EQ(L"\u00e1", Type([] {
                  Tap(VK_OEM_PLUS, kScanEquals);
                  Tap('A', kScanA);
              }));
    // CapsLock turns Shift over.
    Tap(VK_CAPITAL, 0x3A);
    wl::testing::PumpMessages();
    const bool capsOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    const std::wstring caps = Type([] { Tap('A', kScanA); });
    Tap(VK_CAPITAL, 0x3A);
    wl::testing::PumpMessages();
    EXPECT_TRUE(capsOn);
    EXPECT_EQ(L"\u00c4", caps);

    // The run key starts its program and types nothing.
    EXPECT_EQ(L"", Type([] { Tap(VK_F2, kScanF2); }));
    EXPECT_TRUE(wl::testing::WaitFor([&] { return Exists(runner_ + ".args"); }));

    // The character goes through the code page of the focused field's slot:
    // the same byte types a Russian letter in a Russian field.
    Write("TastrixO2_0", layout_);
    coupling_->SelectSlotKeyboard(4, lex::kOriginalField, false);
    EXPECT_EQ(L"\u0434", Type([] { Tap('A', kScanA); }));

    // Coupling off: keys type as usual.
    coupling_->SetCouplingOn(false);
    EXPECT_EQ(L"a", Type([] { Tap('A', kScanA); }));
}

// The thread has one hook: it types (once) for the object that installed it
// last, and goes when that object goes, not when another one does.
TEST_F(HookTest, TheThreadsHookTypesForItsLastInstaller) {
    {
        lexora::KeyboardHook other(*coupling_, hookFiles_);
        ASSERT_TRUE(other.Install());
        EXPECT_TRUE(other.Installed());
        EXPECT_FALSE(hook_->Installed());
        hook_.reset();
        EXPECT_EQ(L"\u00e4", Type([] { Tap('A', kScanA); }));
    }
    EXPECT_EQ(L"a", Type([] { Tap('A', kScanA); }));
}

// The hook reads its keyboard through the program's file layer: a keyboard
// file that is there but cannot be read is reported, and keys pass as typed
// (the file is not taken as an empty layout).
TEST_F(HookTest, AnUnreadableKeyboardIsReported) {
    std::vector<std::string> reports;
    hook_->SetNotFoundReport([&reports](const std::string& path) { reports.push_back(path); });
    hookFiles_.FailReadsFrom = "keys.tsb";
    hook_->LoadLayoutFile();
    EXPECT_EQ(L"a", Type([] { Tap('A', kScanA); }));
    EXPECT_EQ(std::vector<std::string>{layout_}, reports);
    hookFiles_.FailReadsFrom.clear();
    hook_->LoadLayoutFile();
    EXPECT_EQ(L"\u00e4", Type([] { Tap('A', kScanA); }));
}

TEST_F(HookTest, AMissingKeyboardIsReportedOnce) {
    std::vector<std::string> reports;
    hook_->SetNotFoundReport([&reports](const std::string& path) { reports.push_back(path); });
    const std::string missing = folders_.Base + "missing.tsb";
    Write("TastrixO0_0", missing);
    coupling_->SelectSlotKeyboard(0, lex::kOriginalField, false);
    EXPECT_EQ(L"a", Type([] { Tap('A', kScanA); }));
    EXPECT_EQ(L"a", Type([] { Tap('A', kScanA); }));
    EXPECT_EQ(std::vector<std::string>{missing}, reports);
}

}  // namespace
