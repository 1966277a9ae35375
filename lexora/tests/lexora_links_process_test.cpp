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
#include "lexora/src/lexora_ids.h"
#include "test_data.h"
#include "winlib/testing/process_driver.h"
#include "winlib/text.h"

using namespace lexora_test;
namespace wt = wl::testing;

namespace {

const wt::IniFile& Ini() {
    static const wt::IniFile ini(wt::WindowsDirectoryFile("lx2000.ini"));
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

}  // namespace
