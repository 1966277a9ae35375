// ts.exe as its own process: started from here in a program folder whose name
// holds a blank, on a copy of the demo layout, driven with window messages,
// and checked through its windows' texts and the files it writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/keyboard/keyboard_file.h"
#include "ts/texts/ts_text_ids.h"
#include "ts/src/ts_ids.h"
#include "ts_program_fixture.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

namespace {

using ts_test::Bytes;
using ts_test::ReadBytes;
using wl::testing::Process;

std::string ReadIni(const std::string& path, const char* section, const char* key) {
    return wl::testing::ProfileIniFile(path).Read(section, key);
}

// Offset of the character of key k of a group in state s, and of a run flag.
size_t CharOffset(int group, int key, int state) {
    const size_t blocks[] = {lex::keyboard::kMainKeysOffset, lex::keyboard::kFunctionKeysOffset, lex::keyboard::kKeypadKeysOffset};
    return blocks[group] + lex::keyboard::LayoutKey::kSize * key + 2 + 2 * state;
}
size_t RunFlagOffset(int group, int key, int state) { return lex::keyboard::kRunFlagsOffset + lex::keyboard::RunFlagCell(group, key, state); }

// The offsets where two images differ.
std::vector<size_t> Differences(const Bytes& a, const Bytes& b) {
    std::vector<size_t> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) out.push_back(i);
    return out;
}

std::wstring Wide(const char* utf8) {
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], n);
    return w;
}

class TsProcessTest : public ts_test::TsProgramFixture {
protected:
    TsProcessTest() : TsProgramFixture("ts process") {}

    void SetUp() override {
        TsProgramFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(::CopyFileA(DemoFile("tsb").c_str(), Tsb().c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(DemoFile("ini").c_str(), Ini().c_str(), FALSE));
        original_ = ReadBytes(Tsb());
        ASSERT_EQ(original_.size(), lex::keyboard::kLayoutFileSize);
    }

    std::string Tsb() const { return keyboards_ + "demo.tsb"; }
    std::string Ini() const { return keyboards_ + "demo.ini"; }
    std::string WorkIni() const { return keyboards_ + "demo.in_"; }

    // Starts ts in the editor on `path`, which it cannot load: answers the
    // load message and waits for the keyboard.
    void StartEditorOnBadFile(const std::string& path) {
        ASSERT_TRUE(process_.Start(folder_, "ts.exe", Process::StartBy::FullPath, "X 0 \"" + path + "\""));
        HWND box = process_.WaitForDialog(IDOK);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(wl::testing::Text(::FindWindowExW(box, nullptr, L"Static", L"otevreni load key")),
                  L"otevreni load key");
        ASSERT_TRUE(wl::testing::AnswerMessageBox(box, IDOK));
        main_ = process_.WaitForDialog(IDC_ALLOW_CHANGES);
        ASSERT_NE(main_, nullptr);
    }

    // Starts ts in the editor on the demo layout, in UI language `language`.
    void StartEditor(const std::string& language = "1") {
        ASSERT_TRUE(process_.Start(folder_, "ts.exe", Process::StartBy::FullPath,
                                   "X " + language + " \"" + Tsb() + "\""));
        main_ = process_.WaitForDialog(IDC_ALLOW_CHANGES);
        ASSERT_NE(main_, nullptr);
    }

    std::wstring KeyText(int group, int key) const {
        const int first[] = {IDC_MAIN_KEY_FIRST, IDC_FUNCTION_KEY_FIRST, IDC_KEYPAD_KEY_FIRST};
        return ItemText(first[group] + key);
    }
    void Command(int id) const { wl::testing::SendCommand(main_, id); }
    void ClickKey(int group, int key) const {
        const int first[] = {IDC_MAIN_KEY_FIRST, IDC_FUNCTION_KEY_FIRST, IDC_KEYPAD_KEY_FIRST};
        wl::testing::PressButton(main_, first[group] + key);  // as a click: the key takes the focus
    }
    void AllowChanges() const {
        Command(IDC_ALLOW_CHANGES);
        ASSERT_EQ(ItemText(IDC_ALLOW_CHANGES), Wide("Změny &povoleny"));
    }
    // Opens a dialog of the program with a command and waits for it.
    HWND Open(int command, int controlOfDialog) const {
        wl::testing::PostCommand(main_, command);
        return process_.WaitForDialog(controlOfDialog);
    }
    // The key assignment dialog of the selected key, answered with `act`, then OK.
    template <class Act>
    void AssignKey(int group, int key, Act act) const {
        ClickKey(group, key);
        HWND dlg = Open(CM_KEY_REMAPPING, IDC_USE_PROGRAM);
        ASSERT_NE(dlg, nullptr);
        act(dlg);
        wl::testing::PressButton(dlg, IDOK);
        ASSERT_TRUE(wl::testing::WaitForGone(dlg));
    }
    static void ScrollTo(HWND dlg, int code) {
        wl::testing::Send(dlg, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, code),
                          reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CODE_SCROLL)));
    }
    // Captures a key in a capture dialog: its button, then the key going down.
    static void Capture(HWND dlg, int scanCode) {
        wl::testing::PostCommand(dlg, IDC_CAPTURE);
        ::PostMessageW(::GetDlgItem(dlg, IDC_CAPTURE), WM_KEYDOWN, 'X', (static_cast<LPARAM>(scanCode) << 16) | 1);
        ASSERT_TRUE(wl::testing::WaitFor([&] {
            return wl::testing::Text(::GetDlgItem(dlg, IDC_CAPTURE_STATUS)) == Wide("Přiřazeno!");
        }));
    }
    void SaveAndEnd() {
        Command(IDC_SAVE);
        wl::testing::PostCommand(main_, IDC_END);
        ASSERT_TRUE(process_.WaitForEnd());
    }

    Bytes original_;
};

TEST_F(TsProcessTest, LanguageOfTheCommandLineAndImmediateEnd) {
    struct Case {
        const char* language;
        const char* changesDenied;
        const char* save;
        const char* shiftOff;  // the toggles start with the Off texts of the language
        const char* prefixOff;
    };
    const Case cases[] = {
        {"1", "Změny &zakázány", "&Uložit", "Shift vyp", "<P> vyp"},
        {"3", "Änderu&ngen gesperrt", "&Speichern", "Shift aus", "<P> aus"},
        {"abc", "Cha&nges Denied", "&Save", "Shift Off", "<P> Off"},
        {"8", "Zmeny &zakázané", "&Uložiť", "Shift vyp", "<P> vyp"},
        {"4", "Правка &запрещена", "&Сохранить", "Shift выкл", "<P> выкл"},
    };
    for (const Case& c : cases) {
        StartEditor(c.language);
        EXPECT_EQ(ItemText(IDC_ALLOW_CHANGES), Wide(c.changesDenied)) << c.language;
        EXPECT_EQ(ItemText(IDC_SAVE), Wide(c.save)) << c.language;
        EXPECT_EQ(ItemText(IDC_SHIFT_TOGGLE), Wide(c.shiftOff)) << c.language;
        EXPECT_EQ(ItemText(IDC_PREFIX_TOGGLE), Wide(c.prefixOff)) << c.language;
        // The demo layout's keys in state 0, their captions as window texts.
        EXPECT_EQ(KeyText(0, 16), L"q");
        EXPECT_EQ(KeyText(0, 2), Wide("ě"));
        EXPECT_EQ(KeyText(2, 4), L"7");
        EXPECT_FALSE(::IsWindowVisible(Item(IDC_ACTIVATE)));
        EXPECT_FALSE(::IsWindowVisible(Item(IDC_QUICK_BUTTON_FIRST)));
        wl::testing::PostCommand(main_, IDC_END);
        ASSERT_TRUE(process_.WaitForEnd()) << c.language;
    }
    // X alone, X and a language without a file, or a path too long to keep:
    // the program ends without a window.
    const std::string overlong = "X 1 \"C:\\" + std::string(260, 'k') + ".tsb\"";
    for (const std::string& args : {std::string("X"), std::string("X 1"), overlong}) {
        Process p;
        ASSERT_TRUE(p.Start(folder_, "ts.exe", Process::StartBy::FullPath, args));
        EXPECT_EQ(p.FindDialog(), nullptr) << args;
        EXPECT_TRUE(p.WaitForEnd()) << args;
        EXPECT_EQ(p.ExitCode(), 0u) << args;
    }
}

TEST_F(TsProcessTest, KeyAssignmentChangesOnlyThatCharacter) {
    StartEditor();
    // Outside edit mode the dialog does not open and the status says why.
    ClickKey(0, 16);
    Command(CM_KEY_REMAPPING);
    EXPECT_EQ(ItemText(IDC_STATUS), Wide("Nejprve musíte povolit změny v aktuální klávesnici"));
    AllowChanges();
    AssignKey(0, 16, [](HWND dlg) {
        EXPECT_EQ(wl::testing::Text(::GetDlgItem(dlg, IDC_CODE)), L"113");  // 'q'
        EXPECT_EQ(::IsDlgButtonChecked(dlg, IDC_USE_CHARACTER), BST_CHECKED);
        ScrollTo(dlg, 0xE8);
        EXPECT_EQ(wl::testing::Text(::GetDlgItem(dlg, IDC_CODE)), L"232");
        EXPECT_EQ(wl::testing::Text(::GetDlgItem(dlg, IDC_PREVIEW_KEY)), Wide("č"));
    });
    EXPECT_EQ(KeyText(0, 16), Wide("č"));
    EXPECT_EQ(original_, ReadBytes(Tsb()));  // nothing saved yet
    SaveAndEnd();
    const Bytes saved = ReadBytes(Tsb());
    ASSERT_EQ(saved.size(), lex::keyboard::kLayoutFileSize);
    EXPECT_EQ(Differences(original_, saved), std::vector<size_t>{CharOffset(0, 16, 0)});
    EXPECT_EQ(static_cast<unsigned char>(saved[CharOffset(0, 16, 0)]), 0xE8);
    EXPECT_EQ(saved[CharOffset(0, 16, 0) + 1], 0);
}

TEST_F(TsProcessTest, ProgramGoesToTheWorkingCopyAtOnceAndToTheCompanionOnSave) {
    StartEditor();
    AllowChanges();
    AssignKey(0, 12, [](HWND dlg) {
        wl::testing::PressButton(dlg, IDC_USE_PROGRAM);
        wl::testing::Send(::GetDlgItem(dlg, IDC_PROGRAM_PATH), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(L"C:\\Tools\\run.exe"));
    });
    EXPECT_EQ(ReadIni(WorkIni(), "RUN", "0_12_0"), "C:\\Tools\\run.exe");
    EXPECT_EQ(ReadIni(Ini(), "RUN", "0_12_0"), "<none>");
    SaveAndEnd();
    EXPECT_EQ(ReadIni(Ini(), "RUN", "0_12_0"), "C:\\Tools\\run.exe");
    EXPECT_EQ(ReadIni(Ini(), "RUN", "1_1_0"), "notepad.exe");
    const Bytes saved = ReadBytes(Tsb());
    EXPECT_EQ(saved[RunFlagOffset(0, 12, 0)], 1);
    EXPECT_EQ(Differences(original_, saved), std::vector<size_t>{RunFlagOffset(0, 12, 0)});
}

TEST_F(TsProcessTest, NewKeyPrefixAndDeletedKey) {
    StartEditor();
    AllowChanges();
    // Without a selected key the new-key dialog does not open.
    Command(IDC_NEW_KEY);
    EXPECT_EQ(ItemText(IDC_STATUS), Wide("Nejprve musíte vybrat jednu klávesu"));

    ClickKey(0, 14);  // not assigned in the demo layout
    HWND newKey = Open(IDC_NEW_KEY, IDC_CAPTURE_NOTE);
    ASSERT_NE(newKey, nullptr);
    Capture(newKey, 0x2B);
    wl::testing::PressButton(newKey, IDOK);
    ASSERT_TRUE(wl::testing::WaitForGone(newKey));

    HWND prefix = Open(IDC_NEW_PREFIX, IDC_DELETE_PREFIX);
    ASSERT_NE(prefix, nullptr);
    wl::testing::PressButton(prefix, IDC_PREFIX_1 + 2);
    wl::testing::PressButton(prefix, IDC_PREFIX_ALT);
    wl::testing::PressButton(prefix, IDC_PREFIX_CTRL);
    Capture(prefix, 40);
    wl::testing::PressButton(prefix, IDOK);
    ASSERT_TRUE(wl::testing::WaitForGone(prefix));

    ClickKey(0, 17);
    HWND del = Open(IDC_DELETE_KEY, IDC_DELETE_WHOLE_KEY);
    ASSERT_NE(del, nullptr);
    wl::testing::PressButton(del, IDC_DELETE_WHOLE_KEY);
    ASSERT_TRUE(wl::testing::WaitForGone(del));
    EXPECT_EQ(KeyText(0, 17), L"");
    SaveAndEnd();

    const Bytes saved = ReadBytes(Tsb());
    ASSERT_EQ(saved.size(), lex::keyboard::kLayoutFileSize);
    const size_t key14 = lex::keyboard::kMainKeysOffset + 14 * lex::keyboard::LayoutKey::kSize;
    EXPECT_EQ(saved.substr(key14, 2), Bytes("\x2B\x00", 2));
    EXPECT_EQ(saved.substr(lex::keyboard::kPrefixesOffset + 8, 4), Bytes("\x06\x00\x28\x00", 4));
    const size_t key17 = lex::keyboard::kMainKeysOffset + 17 * lex::keyboard::LayoutKey::kSize;
    EXPECT_EQ(saved.substr(key17, lex::keyboard::LayoutKey::kSize), Bytes(lex::keyboard::LayoutKey::kSize, '\0'));
    // Nothing else changed.
    for (size_t at : Differences(original_, saved)) {
        const bool expected = at == key14 || (at >= lex::keyboard::kPrefixesOffset + 8 && at < lex::keyboard::kPrefixesOffset + 12) ||
                              (at >= key17 && at < key17 + lex::keyboard::LayoutKey::kSize);
        EXPECT_TRUE(expected) << "offset " << at;
    }
}

// Deleting a prefix says so in a message of its own (the string table has
// its text); the prefix is gone at once, whatever ends the dialog.
TEST_F(TsProcessTest, DeletingAPrefixSaysSo) {
    StartEditor();
    AllowChanges();
    HWND prefix = Open(IDC_NEW_PREFIX, IDC_DELETE_PREFIX);
    ASSERT_NE(prefix, nullptr);
    wl::testing::PostCommand(prefix, IDC_DELETE_PREFIX);  // prefix 1, the caron
    HWND box = wl::testing::WaitForWindow([&] {
        return wl::testing::FindTopWindow(process_.Id(), [](HWND w) {
            return ::FindWindowExW(w, nullptr, L"Static", Wide("Prefix byl zrušen.").c_str()) != nullptr;
        });
    });
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(wl::testing::Text(box), Wide("Upozornění klávesnice Tastrix 2000"));
    ASSERT_TRUE(wl::testing::AnswerMessageBox(box, IDOK));
    wl::testing::PressButton(prefix, IDCANCEL);
    ASSERT_TRUE(wl::testing::WaitForGone(prefix));
    SaveAndEnd();
    EXPECT_EQ(ReadBytes(Tsb()).substr(lex::keyboard::kPrefixesOffset, 4), Bytes(4, '\0'));
}

TEST_F(TsProcessTest, LeavingEditModeAsksAndCancelDiscardsWithoutAsking) {
    StartEditor();
    AllowChanges();
    AssignKey(0, 16, [](HWND dlg) { ScrollTo(dlg, 'x'); });
    EXPECT_EQ(KeyText(0, 16), L"x");
    // Leaving edit mode asks; No reloads the layout from its file.
    wl::testing::PostCommand(main_, IDC_ALLOW_CHANGES);
    HWND box = process_.WaitForDialog(IDNO);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(wl::testing::AnswerMessageBox(box, IDNO));
    EXPECT_TRUE(wl::testing::WaitFor([&] { return KeyText(0, 16) == L"q"; }));
    EXPECT_EQ(ItemText(IDC_ALLOW_CHANGES), Wide("Změny &zakázány"));

    // The cancel button discards without a question.
    AllowChanges();
    AssignKey(0, 16, [](HWND dlg) { ScrollTo(dlg, 'y'); });
    EXPECT_EQ(KeyText(0, 16), L"y");
    Command(IDC_CANCEL_CHANGES);
    EXPECT_EQ(process_.FindDialog(IDNO), nullptr);
    EXPECT_EQ(KeyText(0, 16), L"q");
    EXPECT_EQ(ItemText(IDC_ALLOW_CHANGES), Wide("Změny &zakázány"));
    wl::testing::PostCommand(main_, IDC_END);
    ASSERT_TRUE(process_.WaitForEnd());
    EXPECT_EQ(original_, ReadBytes(Tsb()));
}

// A save that fails when edit mode is left keeps the edits and edit mode:
// ending then asks again instead of dropping them.
TEST_F(TsProcessTest, EditsStayWhenTheSaveOnLeavingEditModeFails) {
    StartEditor();
    AllowChanges();
    AssignKey(0, 16, [](HWND dlg) { ScrollTo(dlg, 'x'); });
    EXPECT_EQ(KeyText(0, 16), L"x");
    // A folder in the place of the temporary file: the layout cannot be written.
    const std::string blocker = Tsb() + ".tmp";
    ASSERT_TRUE(::CreateDirectoryA(blocker.c_str(), nullptr));
    wl::testing::PostCommand(main_, IDC_END);
    HWND box = process_.WaitForDialog(IDNO);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(wl::testing::AnswerMessageBox(box, IDYES));
    HWND failed = wl::testing::WaitForWindow([&] {
        return wl::testing::FindTopWindow(process_.Id(), [](HWND w) {
            return ::FindWindowExW(w, nullptr, L"Static", L"write1") != nullptr;
        });
    });
    ASSERT_NE(failed, nullptr);
    ASSERT_TRUE(wl::testing::AnswerMessageBox(failed, IDOK));
    ASSERT_TRUE(::RemoveDirectoryA(blocker.c_str()));
    ASSERT_TRUE(wl::testing::WaitFor([&] { return process_.FindDialog(IDC_ALLOW_CHANGES) != nullptr; }));
    EXPECT_TRUE(process_.Running());
    EXPECT_EQ(KeyText(0, 16), L"x");
    EXPECT_EQ(ItemText(IDC_ALLOW_CHANGES), Wide("Změny &povoleny"));
    EXPECT_EQ(original_, ReadBytes(Tsb()));

    wl::testing::PostCommand(main_, IDC_END);
    box = process_.WaitForDialog(IDNO);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(wl::testing::AnswerMessageBox(box, IDYES));
    ASSERT_TRUE(process_.WaitForEnd());
    const Bytes saved = ReadBytes(Tsb());
    ASSERT_EQ(saved.size(), lex::keyboard::kLayoutFileSize);
    EXPECT_EQ(saved[lex::keyboard::kMainKeysOffset + 16 * lex::keyboard::LayoutKey::kSize + 2], 'x');
}

TEST_F(TsProcessTest, CaptionsOfToggledStatesAndUnusableKeys) {
    StartEditor();
    EXPECT_EQ(ItemText(IDC_SHIFT_TOGGLE), L"Shift vyp");
    for (int k : {0, 9}) EXPECT_FALSE(::IsWindowEnabled(Item(IDC_FUNCTION_KEY_FIRST + k))) << k;
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_FUNCTION_KEY_FIRST + 1)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_KEYPAD_KEY_FIRST + 1)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_KEYPAD_KEY_FIRST + 4)));

    Command(IDC_SHIFT_TOGGLE);
    EXPECT_EQ(ItemText(IDC_SHIFT_TOGGLE), L"Shift zap");
    EXPECT_EQ(KeyText(0, 16), L"Q");
    EXPECT_EQ(KeyText(0, 2), L"2");
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_KEYPAD_KEY_FIRST + 4)));  // Shift: the keypad is unusable
    Command(IDC_SHIFT_TOGGLE);
    EXPECT_EQ(ItemText(IDC_SHIFT_TOGGLE), L"Shift vyp");
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_KEYPAD_KEY_FIRST + 4)));

    // Prefix 1 (the caron): e types ě.
    Command(IDC_PREFIX_TOGGLE);
    EXPECT_EQ(ItemText(IDC_PREFIX_TOGGLE), L"P1 zap");
    EXPECT_EQ(KeyText(0, 18), Wide("ě"));
    Command(IDC_SHIFT_TOGGLE);
    EXPECT_EQ(KeyText(0, 18), Wide("Ě"));
    for (int i = 0; i < 5; ++i) Command(IDC_PREFIX_TOGGLE);
    EXPECT_EQ(ItemText(IDC_PREFIX_TOGGLE), L"<P> vyp");
    EXPECT_EQ(KeyText(0, 18), L"E");
}

TEST_F(TsProcessTest, CharacterMapOkWithoutAPickChangesNothing) {
    StartEditor();
    AllowChanges();
    ClickKey(0, 14);  // no character: nothing picked when the map opens
    HWND map = Open(CM_CHARACTER_MAP, IDC_LARGE_CHARACTER);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(wl::testing::Text(::GetDlgItem(map, IDC_CODE)), L"");
    wl::testing::PressButton(map, IDOK);
    ASSERT_TRUE(wl::testing::WaitForGone(map));
    // A key whose character lies above 127 ("ě", 0xEC) opens the map on it.
    ClickKey(0, 2);
    map = Open(CM_CHARACTER_MAP, IDC_LARGE_CHARACTER);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(wl::testing::Text(::GetDlgItem(map, IDC_CODE)), L"236");
    EXPECT_EQ(wl::testing::Text(::GetDlgItem(map, IDC_LARGE_CHARACTER)), Wide("ě  "));
    wl::testing::PressButton(map, IDCANCEL);
    ASSERT_TRUE(wl::testing::WaitForGone(map));
    // A pick through the scroll bar is taken (the map opened by a double click).
    ::PostMessageW(main_, WM_COMMAND, MAKEWPARAM(IDC_MAIN_KEY_FIRST + 13, BN_DOUBLECLICKED),
                              reinterpret_cast<LPARAM>(Item(IDC_MAIN_KEY_FIRST + 13)));
    map = process_.WaitForDialog(IDC_LARGE_CHARACTER);
    ASSERT_NE(map, nullptr);
    ScrollTo(map, 0xB5);
    wl::testing::PressButton(map, IDOK);
    ASSERT_TRUE(wl::testing::WaitForGone(map));
    SaveAndEnd();
    EXPECT_EQ(Differences(original_, ReadBytes(Tsb())), std::vector<size_t>{CharOffset(0, 13, 0)});
}

// A missing or short keyboard file: the load message, and an empty keyboard
// (nothing of a partly read file is taken); Save then writes nothing over it.
TEST_F(TsProcessTest, MissingAndShortFilesShowTheLoadMessage) {
    for (const std::string& path : {keyboards_ + "missing.tsb", std::string()}) {
        StartEditorOnBadFile(path);  // an empty name too: "X 0 \"\""
        EXPECT_EQ(KeyText(0, 16), L"");
        wl::testing::PostCommand(main_, IDC_END);
        ASSERT_TRUE(process_.WaitForEnd());
    }

    const std::string shortFile = keyboards_ + "short.tsb";
    {
        std::ofstream out(shortFile, std::ios::binary);
        out.write(original_.data(), static_cast<std::streamsize>(lex::keyboard::kLayoutFileSize - 1));
    }
    StartEditorOnBadFile(shortFile);
    EXPECT_EQ(KeyText(0, 16), L"");  // the first blocks of the short file are not shown
    wl::testing::PostCommand(main_, IDC_END);
    ASSERT_TRUE(process_.WaitForEnd());
    EXPECT_EQ(ReadBytes(shortFile), original_.substr(0, lex::keyboard::kLayoutFileSize - 1));
}

// After a load that failed, Save asks before it replaces the file: No keeps
// it byte for byte, Yes writes the keyboard shown. A short file, and a whole
// one another program held while ts started.
TEST_F(TsProcessTest, SaveAfterAFailedLoadAsksFirst) {
    struct Case {
        const char* name;
        Bytes content;
        bool held;
    } cases[] = {
        {"short file", original_.substr(0, lex::keyboard::kLayoutFileSize - 1), false},
        {"held at the start", original_, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = keyboards_ + "unloaded.tsb";
        ts_test::WriteBytes(path, c.content);
        HANDLE held = c.held ? ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE;
        ASSERT_EQ(c.held, held != INVALID_HANDLE_VALUE);
        StartEditorOnBadFile(path);
        if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
        for (const int answer : {IDNO, IDYES}) {
            wl::testing::PostCommand(main_, IDC_SAVE);
            HWND box = process_.WaitForDialog(IDNO);
            ASSERT_NE(box, nullptr);
            ASSERT_TRUE(wl::testing::AnswerMessageBox(box, answer));
            ASSERT_TRUE(wl::testing::WaitFor([&] { return process_.FindDialog(IDNO) == nullptr; }));
            if (answer == IDNO) {
                EXPECT_EQ(ReadBytes(path), c.content);
            }
        }
        wl::testing::PostCommand(main_, IDC_END);
        ASSERT_TRUE(process_.WaitForEnd());
        EXPECT_EQ(ReadBytes(path), Bytes(lex::keyboard::kLayoutFileSize, '\0'));  // the empty keyboard shown
    }
}

// "zdroj.rc" beside the keyboard file gives texts of its own; a text it lacks
// comes from the string table without any message.
TEST_F(TsProcessTest, TextFileOverridesTheStringTable) {
    {
        std::ofstream out(keyboards_ + "zdroj.rc", std::ios::binary);
        out << "[ZDROJ]\r\n" << (ts::kTextSave + 1) << "=Ulozit\\nvse\r\n" << (ts::kTextEnd + 1) << "=\r\n";
    }
    StartEditor();
    EXPECT_EQ(ItemText(IDC_SAVE), L"Ulozit\nvse");
    EXPECT_EQ(ItemText(IDC_END), Wide("&Konec"));  // empty in the file: the string table
    EXPECT_EQ(ItemText(IDC_ALLOW_CHANGES), Wide("Změny &zakázány"));
    EXPECT_EQ(process_.FindDialog(IDOK), nullptr);  // no message box
}

// Normal mode: the keyboard of "Posledni" is shown, with the buttons that
// activate the keyboard, set it up and switch to another one.
TEST_F(TsProcessTest, NormalModeShowsTheLastKeyboard) {
    const std::string iniPath = wl::testing::WindowsDirectoryFile("ts2000.ini");
    wl::testing::SetAsideFile aside(iniPath);
    const wl::testing::ProfileIniFile ts2000(iniPath);
    ts2000.Write("Konfigurace", "Posledni", "2");
    ts2000.Write("Konfigurace", "Komunikacni jazyk", "3");
    ts2000.Write("Konfigurace", "Ukoncit", "0");
    ts2000.Write("RYCHLOTLACITKA", "Tlacitko 2 jmeno", "DEMO");
    ts2000.Write("RYCHLOTLACITKA", "Tlacitko 2 nazev", "XXXXX");
    ts2000.Write("RYCHLOTLACITKA", "Tlacitko 2 data", keyboards_ + "demo");
    ts2000.Write("CESTY", "Umisteni programu", folder_ + "ts.exe");
    ASSERT_TRUE(process_.Start(folder_, "ts.exe"));
    main_ = process_.WaitForDialog(IDC_ALLOW_CHANGES);
    ASSERT_NE(main_, nullptr);
    EXPECT_EQ(wl::testing::Text(main_), Wide("Tastrix - Ungarische Tastatur"));
    EXPECT_EQ(ItemText(IDC_QUICK_HEADING), Wide("Tastaturen schnell umschalten"));
    EXPECT_EQ(KeyText(0, 16), L"q");
    EXPECT_EQ(ItemText(IDC_QUICK_BUTTON_FIRST + 2), L"DEMO");
    for (int id : {IDC_ACTIVATE, IDC_SETUP, IDC_QUICK_BUTTON_FIRST + 2}) {
        EXPECT_TRUE(::IsWindowVisible(Item(id))) << id;
        EXPECT_TRUE(::IsWindowEnabled(Item(id))) << id;
    }
    EXPECT_EQ(ts2000.Read("PREPINAC", "Prepinaci soubor"), folder_ + "prepinac.tsc");
    ts2000.Write("Konfigurace", "Posledni", "0");
    wl::testing::PostCommand(main_, IDC_END);
    ASSERT_TRUE(process_.WaitForEnd());
    EXPECT_EQ(ts2000.Read("Konfigurace", "Posledni"), "2");
}

// The layout saved here is the fixture that the dictionary program's keyboard
// tests play through: the demo layout with Q typing "č" (0xE8) and the "="
// key starting a program, saved by ts. Run with TS_UPDATE_FIXTURE=1 to write
// it anew after a deliberate change.
TEST_F(TsProcessTest, SavedLayoutFixture) {
    StartEditor();
    AllowChanges();
    AssignKey(0, 16, [](HWND dlg) { ScrollTo(dlg, 0xE8); });
    AssignKey(0, 12, [](HWND dlg) {
        wl::testing::PressButton(dlg, IDC_USE_PROGRAM);
        wl::testing::Send(::GetDlgItem(dlg, IDC_PROGRAM_PATH), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(L"C:\\Tools\\run.exe"));
    });
    SaveAndEnd();
    const std::string fixture = wl::testing::WinePath(TS_TEST_DATA_DIR) + "\\saved_by_ts.";
    char update[8] = {};
    if (::GetEnvironmentVariableA("TS_UPDATE_FIXTURE", update, sizeof update) > 0) {
        ASSERT_TRUE(::CopyFileA(Tsb().c_str(), (fixture + "tsb").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(Ini().c_str(), (fixture + "ini").c_str(), FALSE));
    }
    EXPECT_EQ(ReadBytes(Tsb()), ReadBytes(fixture + "tsb"));
    EXPECT_EQ(ReadBytes(Ini()), ReadBytes(fixture + "ini"));
    EXPECT_EQ(ReadIni(fixture + "ini", "RUN", "0_12_0"), "C:\\Tools\\run.exe");
}

}  // namespace
