// lexora and another program: this test process copies words to the
// clipboard, talks to lexora's DDE service as a DDE client, and reads back
// what lexora shows. lexora runs as its own process on the settings file of
// the test prefix's Windows directory.
#include <windows.h>
#include <ddeml.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/texts/slot_texts.h"
#include "core/texts/text_loader.h"
#include "core/dialogs/word_dialog_ids.h"
#include "core/ui/lexcoreui_ids.h"
#include "lexora/src/lexora_ids.h"
#include "lexora/src/tools_ids.h"
#include "test_data.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

using namespace lexora_test;
namespace wt = wl::testing;

namespace {

const wt::ProfileIniFile& Ini() {
    static const wt::ProfileIniFile ini(wt::WindowsDirectoryFile("lx2000.ini"));
    return ini;
}

// lexora started from its folder, and the windows this test reads.
struct Lexora {
    bool Start(const std::string& folder) {
        if (!process.Start(folder, "lexora.exe")) return false;
        return wt::WaitFor([&] {
            frame = process.FindFrame();
            HWND client = frame ? ::FindWindowExW(frame, nullptr, L"#32770", nullptr) : nullptr;
            word = client ? ::FindWindowExW(::GetDlgItem(client, IDC_WORD_BOX), nullptr, L"Edit", nullptr) : nullptr;
            translation = client ? ::GetDlgItem(client, IDC_TRANSLATION_BOX) : nullptr;
            return word && translation;
        });
    }
    std::wstring Word() const { return wt::Text(word); }
    std::wstring Translation() const { return wt::Text(translation); }
    std::wstring Caption() const { return wt::Text(frame); }
    void Type(const std::wstring& text) const {
        wt::Send(word, EM_SETSEL, 0, -1);
        for (wchar_t c : text) wt::Send(word, WM_CHAR, c, 1);
    }

    wt::Process process;
    HWND frame = nullptr, word = nullptr, translation = nullptr;
};

std::wstring Translated(const std::wstring& text) { return text + L"\r\n" + std::wstring(52, L'-') + L"\r\n"; }

std::wstring Title(int slot) {
    lex::TextLoader texts(::GetModuleHandleW(nullptr));
    texts.SetUiLanguage(1);
    return L"Lexora - " + wl::ToWide(texts.LoadText(lex::FixedDictionaryTitleId(slot)), 1250);
}

// A DDE client of its own.
class DdeClient {
public:
    DdeClient() {
        ok_ = ::DdeInitializeA(&instance_, Callback, APPCMD_CLIENTONLY, 0) == DMLERR_NO_ERROR;
    }
    ~DdeClient() {
        for (HCONV c : conversations_) ::DdeDisconnect(c);
        if (instance_) ::DdeUninitialize(instance_);
    }
    bool Ok() const { return ok_; }

    // A conversation with `service` on `topic`; null when refused.
    HCONV Connect(const char* service, const char* topic) {
        HSZ s = ::DdeCreateStringHandleA(instance_, service, CP_WINANSI);
        HSZ t = ::DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
        HCONV c = ::DdeConnect(instance_, s, t, nullptr);
        ::DdeFreeStringHandle(instance_, s);
        ::DdeFreeStringHandle(instance_, t);
        if (c) conversations_.push_back(c);
        return c;
    }
    // Pokes `bytes` on a conversation of its own with lexora's service on
    // `topic`; the acknowledgement flags (DDE_FACK, DDE_FBUSY).
    DWORD Poke(const std::string& bytes, const char* topic = "PRELOZ SLOVO") {
        HCONV c = Connect("Slovnik LXOR", topic);
        EXPECT_TRUE(c) << topic;
        if (!c) return 0;
        HSZ item = ::DdeCreateStringHandleA(instance_, "DDEData", CP_WINANSI);
        DWORD flags = 0;
        std::string data = bytes;
        data.push_back('\0');  // room for the buffer of an empty poke
        ::DdeClientTransaction(reinterpret_cast<BYTE*>(data.data()), static_cast<DWORD>(bytes.size()), c, item,
                               CF_TEXT, XTYP_POKE, wt::kTimeoutMs, &flags);
        ::DdeFreeStringHandle(instance_, item);
        Disconnect(c);
        return flags;
    }
    // Requests `item` in `format` on a conversation of its own; false when
    // nothing came.
    bool Request(const char* topic, const char* item, UINT format, std::string& answer) {
        HCONV c = Connect("Slovnik LXOR", topic);
        EXPECT_TRUE(c) << topic;
        if (!c) return false;
        HSZ i = ::DdeCreateStringHandleA(instance_, item, CP_WINANSI);
        DWORD flags = 0;
        HDDEDATA data = ::DdeClientTransaction(nullptr, 0, c, i, format, XTYP_REQUEST, wt::kTimeoutMs, &flags);
        ::DdeFreeStringHandle(instance_, i);
        Disconnect(c);
        if (!data) return false;
        DWORD size = ::DdeGetData(data, nullptr, 0, 0);
        answer.assign(size, '\0');
        ::DdeGetData(data, reinterpret_cast<BYTE*>(answer.data()), size, 0);
        ::DdeFreeDataHandle(data);
        return true;
    }

    // One conversation per service and topic at a time: DDE here refuses a
    // second one.
    void Disconnect(HCONV c) {
        ::DdeDisconnect(c);
        conversations_.erase(std::find(conversations_.begin(), conversations_.end(), c));
    }

private:
    static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        return nullptr;
    }
    DWORD instance_ = 0;
    bool ok_ = false;
    std::vector<HCONV> conversations_;
};

class LinksProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() { savedIni_ = std::make_unique<wt::SetAsideFile>(Ini().Path()); }
    static void TearDownTestSuite() { savedIni_.reset(); }

    void SetUp() override {
        folders_ = MakeFolders("lexora links process test");
        std::vector<Entry> entries = StandardEntries();
        entries.push_back({2, "Haus", "d\xF9m", ""});
        ASSERT_TRUE(MakeDictionary(folders_, StandardSlots(), entries));
        const std::string exe = wt::WinePath(LEXORA_EXE);
        ASSERT_TRUE(::CopyFileA(exe.c_str(), (folders_.Program + "lexora.exe").c_str(), FALSE)) << exe;
        Ini().Remove();
        WriteDataFolders(folders_, Ini().Path());
    }
    void TearDown() override { RemoveFolder(folders_.Base); }

    TestFolders folders_;
    static std::unique_ptr<wt::SetAsideFile> savedIni_;
};

std::unique_ptr<wt::SetAsideFile> LinksProcess::savedIni_;

// A window of this process to stand in front of lexora.
struct ForegroundWindow {
    ForegroundWindow() {
        hwnd = ::CreateWindowExW(0, L"STATIC", L"other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    ~ForegroundWindow() { ::DestroyWindow(hwnd); }
    void Activate() const {
        ::SetForegroundWindow(hwnd);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    HWND hwnd;
};

TEST_F(LinksProcess, WordCopiedElsewhereIsLookedUpAndTheFrameComesForward) {
    Ini().Write("POZICE", "Schranka", "1");  // the link is on at start
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    ForegroundWindow other;
    other.Activate();
    ASSERT_EQ(::GetForegroundWindow(), other.hwnd);

    ASSERT_TRUE(wt::PutClipboardUnicode(L"dog"));
    EXPECT_TRUE(wt::WaitFor([&] { return lexora.Word() == L"dog"; }));  // the next tick
    EXPECT_EQ(lexora.Translation(), Translated(L"pes"));
    EXPECT_TRUE(wt::WaitFor([&] { return ::GetForegroundWindow() == lexora.frame; }));

    // Link off (the toolbar's and menu's command): a new word stays where it is.
    wt::SendCommand(lexora.frame, CM_CLIPBOARD_LINK_OFF);
    ASSERT_TRUE(wt::PutClipboardUnicode(L"door"));
    ::Sleep(3000);  // two ticks
    EXPECT_EQ(lexora.Word(), L"dog");
    wt::SendCommand(lexora.frame, CM_CLIPBOARD_LINK_ON);
    EXPECT_TRUE(wt::WaitFor([&] { return lexora.Word() == L"door"; }));
}

TEST_F(LinksProcess, PokeLooksTheClipboardWordUpInTheSlotItNames) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    DdeClient dde;
    ASSERT_TRUE(dde.Ok());
    HCONV any = dde.Connect("Slovnik LXOR", "any topic");
    EXPECT_TRUE(any);
    if (any) dde.Disconnect(any);
    EXPECT_FALSE(dde.Connect("Slovnik XXXX", "PRELOZ SLOVO"));

    ASSERT_EQ(lexora.Caption(), Title(0));
    ASSERT_TRUE(wt::PutClipboardUnicode(L"Haus"));
    ForegroundWindow other;
    other.Activate();
    const DWORD ack = dde.Poke("02");
    EXPECT_TRUE(ack & DDE_FACK) << std::hex << ack;
    EXPECT_EQ(lexora.Caption(), Title(2));
    EXPECT_EQ(lexora.Word(), L"Haus");
    EXPECT_EQ(lexora.Translation(), Translated(L"d\u016Fm"));
    EXPECT_TRUE(wt::WaitFor([&] { return ::GetForegroundWindow() == lexora.frame; }));

    // Two digits and anything after them.
    ASSERT_TRUE(wt::PutClipboardUnicode(L"pes"));
    EXPECT_TRUE(dde.Poke("01 and more") & DDE_FACK);
    EXPECT_EQ(lexora.Caption(), Title(1));
    EXPECT_EQ(lexora.Translation(), Translated(L"dog"));

    // Nothing that is not two digits naming a slot changes anything.
    ASSERT_TRUE(wt::PutClipboardUnicode(L"dog"));
    std::string noise(200, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(0x80 + (i * 37) % 120);
    const std::string refused[] = {"2", "ab", "25", "20", "", noise, "-1"};
    for (const std::string& bytes : refused) {
        const DWORD flags = dde.Poke(bytes);
        EXPECT_FALSE(flags & DDE_FACK) << '"' << bytes.substr(0, 8) << '"';
        EXPECT_EQ(lexora.Caption(), Title(1));
        EXPECT_EQ(lexora.Word(), L"pes");
    }
    // Another topic: no lookup either.
    EXPECT_FALSE(dde.Poke("00", "X") & DDE_FACK);
    EXPECT_EQ(lexora.Caption(), Title(1));
    EXPECT_TRUE(lexora.process.Running());
}

TEST_F(LinksProcess, PokeWhileADialogIsOpenIsRefused) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    lexora.Type(L"door");
    ASSERT_TRUE(wt::PutClipboardUnicode(L"dog"));
    DdeClient dde;
    ASSERT_TRUE(dde.Ok());
    wt::PostCommand(lexora.frame, CM_HISTORY);
    HWND dialog = lexora.process.WaitForDialog();
    ASSERT_TRUE(dialog);
    const DWORD flags = dde.Poke("00");
    EXPECT_FALSE(flags & DDE_FACK);
    EXPECT_TRUE(flags & DDE_FBUSY) << std::hex << flags;
    EXPECT_EQ(lexora.Word(), L"door");
    wt::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(wt::WaitForGone(dialog));
    EXPECT_EQ(lexora.Word(), L"door");
    // Once it is closed, pokes work again.
    EXPECT_TRUE(dde.Poke("00") & DDE_FACK);
    EXPECT_EQ(lexora.Word(), L"dog");
}

TEST_F(LinksProcess, RequestGetsTheFixedTextAndTheServiceEndsWithTheProgram) {
    Lexora lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program));
    {
        DdeClient dde;
        ASSERT_TRUE(dde.Ok());
        std::string answer;
        ASSERT_TRUE(dde.Request("any topic", "abc", CF_TEXT, answer));
        ASSERT_EQ(answer.size(), 255u);
        EXPECT_STREQ(answer.c_str(), "Server application message number:  ");
        EXPECT_EQ(answer.find_first_not_of('\0', 36), std::string::npos);
        // 8-bit text only.
        EXPECT_FALSE(dde.Request("PRELOZ SLOVO", "DDEData", CF_UNICODETEXT, answer));
        // A conversation still open when the program ends.
        EXPECT_TRUE(dde.Connect("Slovnik LXOR", "PRELOZ SLOVO"));

        ::PostMessageW(lexora.frame, WM_CLOSE, 0, 0);
        ASSERT_TRUE(lexora.process.WaitForEnd());
        EXPECT_EQ(lexora.process.ExitCode(), 0u);
    }
    DdeClient after;
    EXPECT_FALSE(after.Connect("Slovnik LXOR", "PRELOZ SLOVO"));
}

TEST_F(LinksProcess, FrameSavedOutsideEveryMonitorOpensOnThePrimaryOne) {
    RECT work;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const struct {
        const char* x;
        const char* y;
    } places[] = {{"100000", "40"}, {"-30000", "-30000"}};
    for (const auto& place : places) {
        Ini().Write("POZICE", "Levy horni roh X", place.x);
        Ini().Write("POZICE", "Levy horni roh Y", place.y);
        Lexora lexora;
        ASSERT_TRUE(lexora.Start(folders_.Program));
        RECT r, shown;
        ::GetWindowRect(lexora.frame, &r);
        EXPECT_TRUE(::IntersectRect(&shown, &r, &work)) << place.x << ", " << place.y;
        EXPECT_EQ(r.left, work.left + 10);
        EXPECT_EQ(r.top, work.top + 10);
        EXPECT_EQ(r.right - r.left, 600);  // the default size, which fits
        ::PostMessageW(lexora.frame, WM_CLOSE, 0, 0);
        ASSERT_TRUE(lexora.process.WaitForEnd());
    }
}

// Every road of the lookup into another slot, taken as a user takes it (keys,
// commands, a search hit, the history, a DDE poke), with Czech and Russian
// words: the word box shows the word in the code page of the new slot, the
// add dialog offers it, and OK stores it as the headword byte for byte.
class LookupRoads : public LinksProcess {
protected:
    void SetUp() override {
        LinksProcess::SetUp();
        ASSERT_TRUE(AddEntries(folders_, {{0, "scamp", "ni\xE8" "ema", ""},     // ničema (1250)
                                          {5, "kocour", "\xEA\xEE\xF2", ""}}));  // кот (1251)
        ASSERT_TRUE(lexora_.Start(folders_.Program));
    }
    void TearDown() override {
        if (lexora_.frame) ::PostMessageW(lexora_.frame, WM_CLOSE, 0, 0);
        lexora_.process.WaitForEnd();
        LinksProcess::TearDown();
    }

    // A key pressed in the word box (the program's accelerators take it).
    void Key(UINT vk) const {
        ::PostMessageW(lexora_.word, WM_KEYDOWN, vk, 1);
        ::PostMessageW(lexora_.word, WM_KEYUP, vk, 0xC0000001);
    }
    // The lookup is in `slot` and the word box shows `word`.
    bool ShowsIn(int slot, const std::wstring& word) const {
        return wt::WaitFor([&] { return lexora_.Caption() == Title(slot) && lexora_.Word() == word; });
    }
    // F6: the add dialog offers `word`; OK with the translation `translation`
    // stores it. The slot's entry of `headword` (its bytes) then holds it.
    void AddShown(int slot, const std::wstring& word, const std::string& headword, const std::string& translation) {
        Key(VK_F6);
        HWND dialog = lexora_.process.WaitForDialog(IDC_WE_REVERSE_PRONUNCIATIONS);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(word, wt::Text(::GetDlgItem(dialog, IDC_WE_WORD)));
        const std::wstring wide = wl::ToWide(translation, 1250);
        wt::Send(::GetDlgItem(dialog, IDC_WE_TRANSLATIONS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(wt::WaitForGone(dialog));
        bool stored = false;
        for (const std::string& line : LiveEntries(folders_, slot)) {
            if (line.rfind(headword + "|", 0) == 0 && line.find("|" + translation) != std::string::npos) stored = true;
        }
        EXPECT_TRUE(stored) << "no headword \"" << headword << "\" with \"" << translation << "\" in slot " << slot;
        EXPECT_TRUE(ShowsIn(slot, word));  // the word box keeps the word after OK
    }

    Lexora lexora_;
};

TEST_F(LookupRoads, DirectionKeyAndCommandLanguageButtonsAndTranslateBack) {
    // F3 twice (English-Czech between): the Czech word comes back whole.
    wt::SendCommand(lexora_.frame, CM_DIRECTION);
    ASSERT_TRUE(ShowsIn(1, L""));
    lexora_.Type(L"ko\u010Dka");
    Key(VK_F3);
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(0); }));
    Key(VK_F3);
    EXPECT_TRUE(ShowsIn(1, L"ko\u010Dka"));
    AddShown(1, L"ko\u010Dka", "ko\xE8ka", "cat");

    // The language buttons' commands and 213 with a Russian word.
    wt::SendCommand(lexora_.frame, CM_LANGUAGE_3);  // Russian, direction 1: Czech-Russian
    wt::SendCommand(lexora_.frame, CM_DIRECTION);
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(4); }));
    lexora_.Type(L"\u043A\u043E\u0448\u043A\u0430");  // кошка
    wt::SendCommand(lexora_.frame, CM_ENGLISH);  // English-Czech
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(0); }));
    wt::SendCommand(lexora_.frame, CM_LANGUAGE_3);
    EXPECT_TRUE(ShowsIn(4, L"\u043A\u043E\u0448\u043A\u0430"));
    wt::SendCommand(lexora_.frame, CM_DIRECTION);  // Czech-Russian
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(5); }));
    wt::SendCommand(lexora_.frame, CM_DIRECTION);
    EXPECT_TRUE(ShowsIn(4, L"\u043A\u043E\u0448\u043A\u0430"));
    AddShown(4, L"\u043A\u043E\u0448\u043A\u0430", "\xEA\xEE\xF8\xEA\xE0", "cat");

    // F4 on a translation line: the Czech one, then a Russian one.
    struct Back {
        int from;
        const wchar_t* word;
        int to;
        std::wstring translation;
        std::string headword;
    };
    const Back backs[] = {
        {0, L"scamp", 1, L"ni\u010Dema", "ni\xE8" "ema"},
        {5, L"kocour", 4, L"\u043A\u043E\u0442", "\xEA\xEE\xF2"},
    };
    for (const Back& b : backs) {
        SCOPED_TRACE(b.to);
        // From Russian-Czech to English-Czech, from Czech-English to Czech-Russian.
        wt::SendCommand(lexora_.frame, b.from == 0 ? CM_ENGLISH : CM_LANGUAGE_3);
        ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(b.from); }));
        lexora_.Type(b.word);
        ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Translation() == Translated(b.translation); }));
        wt::Send(lexora_.translation, EM_SETSEL, 0, static_cast<LPARAM>(b.translation.size()));
        Key(VK_F4);
        EXPECT_TRUE(ShowsIn(b.to, b.translation));
        AddShown(b.to, b.translation, b.headword, b.from == 0 ? "scamp" : "kocour");
    }
}

TEST_F(LookupRoads, SearchHitHistoryAndDdePoke) {
    // A full-text search of the Czech-English headwords, started in English-Czech.
    ASSERT_EQ(lexora_.Caption(), Title(0));
    wt::PostCommand(lexora_.frame, CM_LOCATE);
    HWND search = lexora_.process.WaitForDialog(IDC_SEARCH_SLOT);
    ASSERT_NE(nullptr, search);
    wt::Send(::GetDlgItem(search, IDC_SEARCH_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"aj"));
    wt::Send(::GetDlgItem(search, IDC_SEARCH_SLOT), CB_SETCURSEL, 1);
    wt::Send(::GetDlgItem(search, IDC_SEARCH_HEADWORDS), BM_SETCHECK, BST_CHECKED);
    wt::Send(::GetDlgItem(search, IDC_SEARCH_TRANSLATIONS), BM_SETCHECK, BST_UNCHECKED);
    wt::PressButton(search, IDOK);
    HWND question = lexora_.process.WaitForDialog(IDC_QUESTION_TEXT);
    ASSERT_NE(nullptr, question);
    EXPECT_TRUE(ShowsIn(1, L"\u010Daj"));  // shown with the question
    EXPECT_TRUE(wt::AnswerMessageBox(question, IDC_QUESTION_NO));
    ASSERT_TRUE(wt::WaitForGone(search));
    EXPECT_TRUE(ShowsIn(1, L"\u010Daj"));
    AddShown(1, L"\u010Daj", "\xE8" "aj", "chai");

    // The history: a Russian word looked up, then an English one; F2 takes the Russian one back.
    wt::SendCommand(lexora_.frame, CM_LANGUAGE_3);
    wt::SendCommand(lexora_.frame, CM_DIRECTION);
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(4); }));
    lexora_.Type(L"\u0434\u043E\u043C");  // дом
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Translation() == Translated(L"d\u016Fm"); }));
    wt::SendCommand(lexora_.frame, CM_ENGLISH);
    lexora_.Type(L"dog");
    ASSERT_TRUE(wt::WaitFor([&] { return lexora_.Caption() == Title(0) && lexora_.Translation() == Translated(L"pes"); }));
    Key(VK_F2);
    HWND history = lexora_.process.WaitForDialog(IDC_HISTORY_LIST);
    ASSERT_NE(nullptr, history);
    HWND list = ::GetDlgItem(history, IDC_HISTORY_LIST);
    const std::vector<std::wstring> rows = wt::ListRows(list);
    const auto row = std::find(rows.begin(), rows.end(), L"\u0434\u043E\u043C");
    ASSERT_NE(row, rows.end());
    wt::SelectListRow(list, static_cast<int>(row - rows.begin()));
    wt::PressButton(history, IDC_HISTORY_OK);
    ASSERT_TRUE(wt::WaitForGone(history));
    EXPECT_TRUE(ShowsIn(4, L"\u0434\u043E\u043C"));
    AddShown(4, L"\u0434\u043E\u043C", "\xE4\xEE\xEC", "house");

    // A DDE poke names the slot; the clipboard holds the word.
    DdeClient dde;
    ASSERT_TRUE(dde.Ok());
    struct Poke {
        const char* slot;
        int to;
        std::wstring word;
        std::string headword;
    };
    const Poke pokes[] = {
        {"01", 1, L"\u017E\u00E1ba", "\x9E\xE1" "ba"},           // žába (1250), from Russian-Czech
        {"04", 4, L"\u0440\u044B\u0431\u0430", "\xF0\xFB\xE1\xE0"},  // рыба (1251), from Czech-English
    };
    for (const Poke& p : pokes) {
        SCOPED_TRACE(p.slot);
        ASSERT_TRUE(wt::PutClipboardUnicode(p.word));
        EXPECT_TRUE(dde.Poke(p.slot) & DDE_FACK);
        EXPECT_TRUE(ShowsIn(p.to, p.word));
        AddShown(p.to, p.word, p.headword, "x");
    }
}

}  // namespace
