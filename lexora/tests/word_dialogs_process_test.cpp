// The word dialogs in a running lexora, driven from this process: the dialog
// writes where it was opened even when the slot changes while it is open,
// another process holding the action log gets the access message, and one
// Undo of the frame takes both sides back. The slot files are read with the
// engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/dialogs/word_dialog_ids.h"
#include "core/engine/engine.h"
#include "core/ui/lexcoreui_ids.h"
#include "lexora/src/lexora_ids.h"
#include "test_data.h"
#include "winlib/testing/process_driver.h"

using namespace lexora_test;

namespace {

const wl::testing::ProfileIniFile& Ini() {
    static const wl::testing::ProfileIniFile ini(wl::testing::WindowsDirectoryFile("lx2000.ini"));
    return ini;
}

class QuietDisplay : public lex::RecordingDisplay {};

// Every live entry of a slot: "word|pron|tr1|tr2...".
std::vector<std::string> Dump(const TestFolders& folders, int slot) {
    lex::DictionarySettings s;
    lex::FillSlotPaths(s, folders.Cd, folders.Disk);
    for (int i = 0; i < lex::kSlotCount; ++i) s.SortType[i] = static_cast<int16_t>(lex::DefaultSortType(i));
    s.ActionLogPath = folders.ActionLog;
    auto files = lex::MakePlatformFileSystem();
    QuietDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx(s, *files, display, hooks);
    std::vector<std::string> out;
    if (lex::OpenSlotFiles(ctx, slot, lex::kOpenReadShared) != 1) return {"<cannot open>"};
    int32_t offset = lex::kLowSentinelNode;
    for (int guard = 0; offset != 0 && guard < 10000; ++guard) {
        if (lex::ReadNodeAt(ctx, offset) != 1) break;
        const lex::NodeBuffer e = ctx.Node;
        if (!e.Node.Deleted()) {
            std::vector<std::string> trs;
            lex::ReadLiveTranslations(ctx, e.Node.FirstTranslation, e.Node.Flags, trs);
            std::string line = e.Word + "|" + e.Pronunciation;
            for (const std::string& t : trs) line += "|" + t;
            out.push_back(line);
        }
        offset = e.Node.Next;
    }
    lex::CloseSlotFiles(ctx);
    return out;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines)
        if (l == line) return true;
    return false;
}

class WordDialogProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() { savedIni_ = std::make_unique<wl::testing::SetAsideFile>(Ini().Path()); }
    static void TearDownTestSuite() { savedIni_.reset(); }

    void SetUp() override {
        folders_ = MakeFolders("lexora word dialogs process test");
        ASSERT_TRUE(MakeDictionary(folders_, StandardSlots(), StandardEntries()));
        const std::string exe = wl::testing::WinePath(LEXORA_EXE);
        ASSERT_TRUE(::CopyFileA(exe.c_str(), (folders_.Program + "lexora.exe").c_str(), FALSE));
        Ini().Remove();
        WriteDataFolders(folders_, Ini().Path());
        ASSERT_TRUE(process_.Start(folders_.Program, "lexora.exe"));
        ASSERT_TRUE(wl::testing::WaitFor([&] {
            frame_ = process_.FindFrame();
            HWND client = frame_ ? ::FindWindowExW(frame_, nullptr, L"#32770", nullptr) : nullptr;
            HWND word = client ? ::GetDlgItem(client, IDC_WORD_BOX) : nullptr;
            wordEdit_ = word ? ::FindWindowExW(word, nullptr, L"Edit", nullptr) : nullptr;
            return wordEdit_ != nullptr;
        }));
    }
    void TearDown() override {
        if (frame_) ::PostMessageW(frame_, WM_CLOSE, 0, 0);
        process_.WaitForEnd();
        RemoveFolder(folders_.Base);
    }

    void TypeWord(const std::wstring& text) {
        wl::testing::Send(wordEdit_, EM_SETSEL, 0, -1);
        for (wchar_t c : text) wl::testing::Send(wordEdit_, WM_CHAR, c, 1);
    }
    static void SetField(HWND dialog, int id, const std::wstring& text) {
        wl::testing::Send(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    TestFolders folders_;
    wl::testing::Process process_;
    HWND frame_ = nullptr;
    HWND wordEdit_ = nullptr;
    static std::unique_ptr<wl::testing::SetAsideFile> savedIni_;
};

std::unique_ptr<wl::testing::SetAsideFile> WordDialogProcess::savedIni_;

TEST_F(WordDialogProcess, AddWritesWhereItWasOpenedAndOneUndoTakesItBack) {
    const std::vector<std::string> left = Dump(folders_, 0), right = Dump(folders_, 1);
    TypeWord(L"house");
    wl::testing::PostCommand(frame_, CM_NEW_ENTRY);
    HWND dialog = process_.WaitForDialog(IDC_WE_REVERSE_PRONUNCIATIONS);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"house", wl::testing::Text(::GetDlgItem(dialog, IDC_WE_WORD)));
    SetField(dialog, IDC_WE_TRANSLATIONS, L"domek\r\nchata");
    wl::testing::PressButton(dialog, IDC_WE_TAKE_OVER);
    // The frame switches the slot while the dialog is open.
    wl::testing::SendCommand(frame_, CM_DIRECTION);

    // Another process holds the action log: the access message, nothing written.
    HANDLE log = ::CreateFileA(folders_.ActionLog.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, log);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND box = process_.WaitForDialog(IDC_MESSAGE_TEXT);
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(wl::testing::AnswerMessageBox(box, IDC_MESSAGE_OK));
    ::CloseHandle(log);
    EXPECT_EQ(left, Dump(folders_, 0));
    EXPECT_EQ(right, Dump(folders_, 1));
    ASSERT_TRUE(::IsWindow(dialog));

    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(wl::testing::WaitForGone(dialog));
    const std::vector<std::string> left2 = Dump(folders_, 0), right2 = Dump(folders_, 1);
    EXPECT_TRUE(Has(left2, "house||domek|chata"));
    EXPECT_TRUE(Has(right2, "domek||house"));
    EXPECT_TRUE(Has(right2, "chata||house"));
    EXPECT_FALSE(Has(right2, "house||domek|chata"));

    wl::testing::SendCommand(frame_, CM_UNDO);
    EXPECT_EQ(left, Dump(folders_, 0));
    EXPECT_EQ(right, Dump(folders_, 1));
}

}  // namespace

namespace {

TEST_F(WordDialogProcess, ChangeAndDeleteOpenOnTheSelectedLine) {
    const std::vector<std::string> left = Dump(folders_, 0);
    ASSERT_TRUE(Has(left, "dog|dog|pes"));
    HWND word = ::GetParent(wordEdit_);
    TypeWord(L"dog");
    const std::vector<std::wstring> rows = wl::testing::ComboRows(word);
    int line = -1;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == L"dog") line = static_cast<int>(i);
    ASSERT_GE(line, 0);
    wl::testing::SelectComboRow(word, line);

    wl::testing::PostCommand(frame_, CM_CORRECT_WORD);
    HWND change = process_.WaitForDialog(IDC_WE_REVERSE_PRONUNCIATIONS);
    ASSERT_NE(nullptr, change);
    EXPECT_EQ(L"dog", wl::testing::Text(::GetDlgItem(change, IDC_WE_WORD)));
    EXPECT_EQ(L"pes\r\n", wl::testing::Text(::GetDlgItem(change, IDC_WE_TRANSLATIONS)));
    EXPECT_EQ(nullptr, ::GetDlgItem(change, IDC_WE_NEXT_WORD));
    wl::testing::PressButton(change, IDCANCEL);
    ASSERT_TRUE(wl::testing::WaitForGone(change));
    EXPECT_EQ(left, Dump(folders_, 0));

    wl::testing::PostCommand(frame_, CM_DELETE_ENTRY);
    HWND remove = process_.WaitForDialog(IDC_WD_REVERSE_WORDS);
    ASSERT_NE(nullptr, remove);
    EXPECT_EQ(L"dog", wl::testing::Text(::GetDlgItem(remove, IDC_WD_WORD)));
    ::PostMessageW(remove, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(wl::testing::WaitForGone(remove));
    EXPECT_FALSE(Has(Dump(folders_, 0), "dog|dog|pes"));
    wl::testing::SendCommand(frame_, CM_UNDO);
    EXPECT_EQ(left, Dump(folders_, 0));
}

}  // namespace
