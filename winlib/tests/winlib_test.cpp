#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <new>

#include <string>
#include <vector>

#include "winlib/testing.h"
#include "winlib/winlib.h"
#include "winlib_test_ids.h"

namespace {

using wl::testing::ClickButton;
using wl::testing::ExecuteWith;
using wl::testing::PostKey;
using wl::testing::WideText;

// A base dialog with two commands, and a derived one that answers one of them
// itself: the derived table must win, the base table must still be searched.
class BaseTestDialog : public wl::Dialog {
public:
    BaseTestDialog() : wl::Dialog(nullptr, IDD_TEST) {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<std::string> log;

protected:
    void CmButton() { log.push_back("base 103"); }
    void CmMenu() { log.push_back("base 105"); }
};
WL_BEGIN_MESSAGE_TABLE(BaseTestDialog, wl::Dialog)
    WL_COMMAND(IDC_TEST_BUTTON, CmButton)
    WL_COMMAND(105, CmMenu)
WL_END_MESSAGE_TABLE()

class TestDialog : public BaseTestDialog {
public:
    WL_DECLARE_MESSAGE_TABLE();
    wl::Edit edit{this, IDC_TEST_EDIT};
    wl::ListBox list{this, IDC_TEST_LIST};
    bool controlsBoundInSetup = false;

    void SetupWindow() override {
        BaseTestDialog::SetupWindow();
        controlsBoundInSetup = edit.Handle() && list.Handle();
    }

private:
    void CmButton() { log.push_back("own 103"); }
    void EvEditChange() { log.push_back("change " + edit.GetText()); }
    void EvList(UINT code) { log.push_back("list " + std::to_string(code)); }
    LRESULT EvDouble(WPARAM wp, LPARAM) { return static_cast<LRESULT>(wp * 2); }
};
WL_BEGIN_MESSAGE_TABLE(TestDialog, BaseTestDialog)
    WL_COMMAND(IDC_TEST_BUTTON, CmButton)
    WL_NOTIFY(IDC_TEST_EDIT, EN_CHANGE, EvEditChange)
    WL_CONTROL(IDC_TEST_LIST, EvList)
    WL_MESSAGE(WM_APP + 1, EvDouble)
WL_END_MESSAGE_TABLE()

TEST(MessageTable, RoutesMessagesCommandsAndNotificationsClassFirst) {
    TestDialog dlg;
    LRESULT doubled = 0;
    INT_PTR code = ExecuteWith(dlg, [&](wl::Dialog& d) {
        HWND h = d.Handle();
        ClickButton(h, IDC_TEST_BUTTON);
        SendMessageW(h, WM_COMMAND, 105, 0);  // as from a menu
        dlg.edit.SetText("abc");              // EN_CHANGE from the real control
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_TEST_LIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(dlg.list.Handle()));
        doubled = SendMessageW(h, WM_APP + 1, 21, 0);
        ClickButton(h, IDOK);
    });
    EXPECT_EQ(code, IDOK);
    EXPECT_TRUE(dlg.controlsBoundInSetup);
    EXPECT_EQ(doubled, 42);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"own 103", "base 105", "change abc", "list 2"}));
}

TEST(Dialog, EndCodes) {
    struct Case {
        const char* what;
        void (*act)(HWND);
        INT_PTR code;
    };
    const Case cases[] = {
        {"OK button", [](HWND h) { ClickButton(h, IDOK); }, IDOK},
        {"Cancel button", [](HWND h) { ClickButton(h, IDCANCEL); }, IDCANCEL},
        {"Escape key", [](HWND h) { PostKey(GetDlgItem(h, IDC_TEST_EDIT), VK_ESCAPE); }, IDCANCEL},
        {"Enter key", [](HWND h) { PostKey(GetDlgItem(h, IDC_TEST_EDIT), VK_RETURN); }, IDOK},
        {"close request", [](HWND h) { SendMessageW(h, WM_CLOSE, 0, 0); }, IDCANCEL},
        {"CloseWindow(7)", [](HWND h) { static_cast<wl::Dialog*>(wl::Window::FromHandle(h))->CloseWindow(7); }, 7},
    };
    for (const Case& c : cases) {
        wl::Dialog dlg(nullptr, IDD_TEST);
        EXPECT_EQ(ExecuteWith(dlg, [&](wl::Dialog& d) { c.act(d.Handle()); }), c.code) << c.what;
        EXPECT_EQ(dlg.Handle(), nullptr) << c.what;
    }
    wl::Dialog missing(nullptr, 999);
    EXPECT_EQ(missing.Execute(), -1);
}

TEST(Dialog, TextsReadBackInTheirCodePage) {
    struct Case {
        UINT codePage;
        std::string bytes;
        std::wstring shown;
    };
    const Case cases[] = {
        {1250, "P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd k\xf9\xf2", L"Příliš žluťoučký kůň"},
        {1251, "\xd1\xfa\xe5\xf8\xfc \xe6\xe5 \xe5\xf9\xb8 \xfd\xf2\xe8\xf5 \xe1\xf3\xeb\xee\xea", L"Съешь же ещё этих булок"},
        {1250, "Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1", L"Zażółć gęślą jaźń"},
        {1252, "D\xe9j\xe0 vu, gar\xe7on", L"Déjà vu, garçon"},
    };
    for (const Case& c : cases) {
        TestDialog dlg;
        dlg.SetCodePage(c.codePage);
        ExecuteWith(dlg, [&](wl::Dialog& d) {
            d.SetText(c.bytes);
            d.SetItemText(IDC_TEST_STATIC, c.bytes);
            dlg.edit.SetText(c.bytes);
            dlg.list.AddString(c.bytes);
            // What the window system shows...
            EXPECT_EQ(WideText(d.Handle()), c.shown);
            EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDC_TEST_STATIC)), c.shown);
            EXPECT_EQ(WideText(dlg.edit.Handle()), c.shown);
            // ...and what the program reads back.
            EXPECT_EQ(d.GetText(), c.bytes);
            EXPECT_EQ(d.GetItemText(IDC_TEST_STATIC), c.bytes);
            EXPECT_EQ(dlg.edit.GetText(), c.bytes);
            EXPECT_EQ(dlg.list.GetString(0), c.bytes);
            d.CloseWindow(IDOK);
        });
    }
}

// Texts by id from the program's lookup, each into its control, converted in
// the dialog's code page; the lookup is asked in the order of the list, and a
// control the template lacks is passed over.
TEST(Dialog, ItemTextsComeFromTheLookupInTheDialogsCodePage) {
    TestDialog dlg;
    dlg.SetCodePage(1250);
    std::vector<int> asked;
    const wl::TextLookup lookup = [&](int id) {
        asked.push_back(id);
        return std::string(id == 20 ? "\x8erout\xe9 t\xe9ma" : id == 21 ? "&Zru\x9ait" : "?");
    };
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        d.SetItemTexts(lookup, {{IDC_TEST_STATIC, 20}, {IDCANCEL, 21}, {999, 22}, {IDC_TEST_BUTTON, 20}});
        EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDC_TEST_STATIC)), L"Žrouté téma");
        EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDCANCEL)), L"&Zrušit");
        EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDC_TEST_BUTTON)), L"Žrouté téma");
        EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDOK)), L"OK");
        d.CloseWindow(IDOK);
    });
    EXPECT_EQ(asked, (std::vector<int>{20, 21, 22, 20}));
}

// A character the code page has no byte for comes back as '?', never as a
// look-alike letter: "Łódź.txt" must not turn into the name of another file.
TEST(Text, CharactersOutsideTheCodePageComeBackAsQuestionMarks) {
    struct Case {
        UINT codePage;
        std::wstring shown;
        std::string bytes;
    };
    const Case cases[] = {
        {1252, L"\u0141\u00f3d\u017a.txt", "?\xf3" "d?.txt"},
        {1250, L"\u0141\u00f3d\u017a.txt", "\xa3\xf3" "d\x9f.txt"},
        {1251, L"\u0130stanbul \u00e9t\u00e9", "?stanbul ?t?"},
        {1250, L"\u00c0 la \u0107", "? la \xe6"},
        {CP_UTF8, L"\u0141\u00f3d\u017a.txt", "\xc5\x81\xc3\xb3" "d\xc5\xba.txt"},  // paths kept whole
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wl::FromWide(c.shown, c.codePage), c.bytes) << c.codePage;
        EXPECT_EQ(wl::FromWide(c.shown.c_str(), c.codePage), c.bytes) << c.codePage;
    }
}

// A window whose handler ends its own object (as an owner that deletes a
// closing window does), then hands the memory to someone else.
class SelfEnding : public wl::Window {
public:
    SelfEnding(unsigned char* storage, size_t size) : wl::Window(nullptr), storage_(storage), size_(size) {}
    WL_DECLARE_MESSAGE_TABLE();

private:
    LRESULT EvEnd(WPARAM, LPARAM) {
        unsigned char* storage = storage_;
        const size_t size = size_;
        this->~SelfEnding();
        std::fill(storage, storage + size, static_cast<unsigned char>(0xA5));
        return 7;
    }
    LRESULT EvOuter(WPARAM, LPARAM) { return SendMessageW(Handle(), WM_APP + 2, 0, 0) + 1; }
    unsigned char* storage_;
    size_t size_;
};
WL_BEGIN_MESSAGE_TABLE(SelfEnding, wl::Window)
    WL_MESSAGE(WM_APP + 2, EvEnd)
    WL_MESSAGE(WM_APP + 3, EvOuter)
WL_END_MESSAGE_TABLE()

TEST(Window, AnObjectEndedByItsOwnHandlerIsNotWrittenAfterwards) {
    for (UINT msg : {WM_APP + 2, WM_APP + 3}) {  // directly, and from inside another of its handlers
        alignas(SelfEnding) unsigned char storage[sizeof(SelfEnding)];
        auto* w = new (storage) SelfEnding(storage, sizeof storage);
        ASSERT_TRUE(w->Create(WS_OVERLAPPEDWINDOW, 0, L"self", 0, 0, 100, 100, nullptr, nullptr));
        HWND h = w->Handle();
        EXPECT_EQ(SendMessageW(h, msg, 0, 0), msg == WM_APP + 2 ? 7 : 8);
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(std::count(storage, storage + sizeof storage, static_cast<unsigned char>(0xA5)),
                  static_cast<std::ptrdiff_t>(sizeof storage))
            << msg;
    }
}

// Someone else subclasses a control after us (a later hook chains to our
// procedure); when our object goes first, the control must still reach its
// own procedure through ours.
WNDPROC g_laterHookNext = nullptr;
LRESULT CALLBACK LaterHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(g_laterHookNext, hwnd, msg, wp, lp);
}

TEST(Controls, AControlSubclassedAgainAfterUsKeepsItsOwnProcedureWhenOurObjectGoes) {
    BaseTestDialog dlg;
    auto edit = std::make_unique<wl::Edit>(&dlg, IDC_TEST_EDIT);
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        HWND h = edit->Handle();
        ASSERT_NE(h, nullptr);
        g_laterHookNext = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterHook)));
        edit.reset();
        EXPECT_EQ(SendMessageW(h, EM_GETLINECOUNT, 0, 0), 1);  // the edit control answers, not DefWindowProc
        SendMessageW(h, EM_LIMITTEXT, 5, 0);
        EXPECT_EQ(SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 5);
        d.CloseWindow(IDOK);
    });
}

TEST(Dialog, CommonLookForDialogStaticsAndButtonsOnly) {
    wl::Dialog dlg(nullptr, IDD_TEST);
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        HWND h = d.Handle();
        HDC dc = GetDC(h);
        const HGDIOBJ grey = GetStockObject(LTGRAY_BRUSH);
        struct Case { UINT msg; int id; bool grey; };
        for (Case c : {Case{WM_CTLCOLORDLG, 0, true}, Case{WM_CTLCOLORSTATIC, IDC_TEST_STATIC, true},
                       Case{WM_CTLCOLORBTN, IDC_TEST_BUTTON, true}, Case{WM_CTLCOLOREDIT, IDC_TEST_EDIT, false},
                       Case{WM_CTLCOLORLISTBOX, IDC_TEST_LIST, false}}) {
            SetTextColor(dc, RGB(1, 2, 3));
            SetBkMode(dc, OPAQUE);
            HWND ctl = c.id ? GetDlgItem(h, c.id) : h;
            LRESULT brush = SendMessageW(h, c.msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl));
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush) == grey, c.grey) << c.msg;
            if (c.grey) {
                EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0)) << c.msg;
                EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << c.msg;
            }
        }
        ReleaseDC(h, dc);
        d.CloseWindow(IDOK);
    });
}

// A control with a table of its own, and an owner-drawn list created in code.
class CountingEdit : public wl::Edit {
public:
    using wl::Edit::Edit;
    WL_DECLARE_MESSAGE_TABLE();
    int chars = 0;
private:
    LRESULT EvChar(WPARAM, LPARAM) {
        ++chars;
        return DefaultProcessing();
    }
};
WL_BEGIN_MESSAGE_TABLE(CountingEdit, wl::Edit)
    WL_MESSAGE(WM_CHAR, EvChar)
WL_END_MESSAGE_TABLE()

class DrawnList : public wl::ListBox {
public:
    using wl::ListBox::ListBox;
    int drawn = 0;
    std::vector<std::string> drawnTexts;
    void MeasureItem(MEASUREITEMSTRUCT& m) override { m.itemHeight = 23; }
    void ODADrawEntire(DRAWITEMSTRUCT& d) override {
        ++drawn;
        drawnTexts.push_back(GetString(static_cast<int>(d.itemID)));
    }
};

class ControlsDialog : public wl::Dialog {
public:
    ControlsDialog() : wl::Dialog(nullptr, IDD_TEST) {}
    CountingEdit edit{this, IDC_TEST_EDIT};
    DrawnList drawn{this, 300, 110, 60, 80, 60,
                    WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY};
};

TEST(Controls, OwnTableDefaultProcessingAndOwnerDraw) {
    ControlsDialog dlg;
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        SendMessageW(dlg.edit.Handle(), WM_CHAR, 'a', 1);
        SendMessageW(dlg.edit.Handle(), WM_CHAR, 'b', 1);
        EXPECT_EQ(dlg.edit.chars, 2);
        EXPECT_EQ(dlg.edit.GetText(), "ab");  // the edit control's own handling still ran

        ASSERT_NE(dlg.drawn.Handle(), nullptr);
        EXPECT_EQ(GetParent(dlg.drawn.Handle()), d.Handle());
        EXPECT_EQ(GetDlgCtrlID(dlg.drawn.Handle()), 300);
        dlg.drawn.AddString("first");
        dlg.drawn.AddString("second");
        EXPECT_EQ(dlg.drawn.Send(LB_GETITEMHEIGHT, 0), 23);
        RedrawWindow(dlg.drawn.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_GE(dlg.drawn.drawn, 2);
        EXPECT_NE(std::find(dlg.drawn.drawnTexts.begin(), dlg.drawn.drawnTexts.end(), "second"),
                  dlg.drawn.drawnTexts.end());
        d.CloseWindow(IDOK);
    });
    EXPECT_EQ(dlg.drawn.Handle(), nullptr);
}

// A list of multiple selection: items are selected and deselected one by one;
// an index without an item changes nothing.
TEST(Controls, MultipleSelectionListSelectsItemsOneByOne) {
    class MultiDialog : public wl::Dialog {
    public:
        MultiDialog() : wl::Dialog(nullptr, IDD_TEST) {}
        wl::ListBox list{this, 301, 110, 60, 80, 60, WS_VISIBLE | WS_VSCROLL | LBS_MULTIPLESEL | LBS_HASSTRINGS};
    };
    MultiDialog dlg;
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        for (const char* item : {"a", "b", "c", "d", "e"}) dlg.list.AddString(item);
        for (int i : {1, 3, 4, 7}) dlg.list.SetSel(i, true);
        dlg.list.SetSel(4, false);
        dlg.list.SetSel(9, false);
        std::vector<bool> selected;
        for (int i = 0; i < 8; ++i) selected.push_back(dlg.list.IsSelected(i));
        EXPECT_EQ(selected, (std::vector<bool>{false, true, false, true, false, false, false, false}));
        EXPECT_EQ(dlg.list.Send(LB_GETSELCOUNT), 2);
        d.CloseWindow(IDOK);
    });
}

// Frame: commands go to the frame first, then to the client; enablers set
// menu texts and states; the client fills the space between the bars.
class ClientDialog : public wl::Dialog {
public:
    ClientDialog() : wl::Dialog(nullptr, L"CLIENT") {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<std::string> log;
private:
    void CmClient() { log.push_back("client 502"); }
    void CmBoth() { log.push_back("client 500"); }
};
WL_BEGIN_MESSAGE_TABLE(ClientDialog, wl::Dialog)
    WL_COMMAND(502, CmClient)
    WL_COMMAND(500, CmBoth)
WL_END_MESSAGE_TABLE()

class TestFrame : public wl::FrameWindow {
public:
    explicit TestFrame(wl::Window* client) : wl::FrameWindow("Frame", client) {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<std::string> log;
    bool closeAllowed = true;
    bool CanClose() override { return closeAllowed; }
private:
    void CmFrame() { log.push_back("frame 500"); }
    void CmTimerStart() { SetTimer(7, 1); }
    LRESULT EvTimer(WPARAM id, LPARAM) {
        KillTimer(id);
        log.push_back("timer " + std::to_string(id));
        Post(WM_CLOSE);
        return 0;
    }
    void CeItem(wl::CommandEnabler& ce) {
        ce.SetText("\xc8\x26\xe1st");  // "Č&ást" in 1250
        ce.Enable(false);
    }
};
WL_BEGIN_MESSAGE_TABLE(TestFrame, wl::FrameWindow)
    WL_COMMAND(500, CmFrame)
    WL_COMMAND(503, CmTimerStart)
    WL_MESSAGE(WM_TIMER, EvTimer)
    WL_ENABLER(501, CeItem)
WL_END_MESSAGE_TABLE()

TEST(Frame, RoutesCommandsEnablesItemsAndLaysOutBars) {
    ClientDialog client;
    TestFrame frame(&client);
    frame.SetCodePage(1250);
    wl::ControlBar bar(&frame);
    bar.AddButton(1, 500);
    bar.AddSeparator();
    bar.AddButton(1, 501);
    wl::StatusBar status(&frame);
    frame.Insert(bar);
    frame.Insert(status);
    ASSERT_TRUE(frame.Create(10, 10, 400, 300));
    ASSERT_NE(client.Handle(), nullptr);
    EXPECT_EQ(GetParent(client.Handle()), frame.Handle());
    EXPECT_NE(GetDlgItem(client.Handle(), IDC_CLIENT_EDIT), nullptr);

    SendMessageW(frame.Handle(), WM_COMMAND, 500, 0);
    SendMessageW(frame.Handle(), WM_COMMAND, 502, 0);
    EXPECT_EQ(frame.log, (std::vector<std::string>{"frame 500"}));
    EXPECT_EQ(client.log, (std::vector<std::string>{"client 502"}));

    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 501, L"x");
    AppendMenuW(popup, MF_STRING, 500, L"y");
    SendMessageW(frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    wchar_t text[64] = {};
    GetMenuStringW(popup, 501, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"Č&ást");
    EXPECT_TRUE(GetMenuState(popup, 501, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(popup, 500, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(popup);

    frame.UpdateCommands();
    EXPECT_FALSE(bar.Send(TB_ISBUTTONENABLED, 501));
    EXPECT_TRUE(bar.Send(TB_ISBUTTONENABLED, 500));

    RECT cr{}, fr{}, br{}, sr{};
    GetClientRect(frame.Handle(), &fr);
    GetWindowRect(client.Handle(), &cr);
    GetWindowRect(bar.Handle(), &br);
    GetWindowRect(status.Handle(), &sr);
    EXPECT_EQ(cr.top, br.bottom);
    EXPECT_EQ(cr.bottom, sr.top);
    EXPECT_EQ(cr.right - cr.left, fr.right);

    // Enter and Escape in the client do not close it.
    SendMessageW(client.Handle(), WM_COMMAND, IDOK, 0);
    SendMessageW(client.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(client.Handle()));

    frame.closeAllowed = false;
    SendMessageW(frame.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame.Handle()));
    frame.closeAllowed = true;
    SendMessageW(frame.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(frame.Handle(), nullptr);
    wl::testing::PumpMessages();
}

class TestApp : public wl::Application {
public:
    std::unique_ptr<ClientDialog> client;
    std::unique_ptr<TestFrame> frame;
    void InitMainWindow() override {
        client = std::make_unique<ClientDialog>();
        frame = std::make_unique<TestFrame>(client.get());
        frame->Create(20, 20, 300, 200);
        SetMainWindow(frame.get());
        ACCEL keys[] = {{FVIRTKEY, VK_F2, 500}, {FVIRTKEY, VK_F3, 503}};
        SetAccelerators(CreateAcceleratorTableW(keys, 2));
        // F2 runs command 500, F3 starts a timer whose tick closes the frame.
        PostKey(frame->Handle(), VK_F2);
        PostKey(frame->Handle(), VK_F3);
    }
};

TEST(Application, AcceleratorsTimersAndTheEndOfTheLoop) {
    TestApp app;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.frame->log, (std::vector<std::string>{"frame 500", "timer 7"}));
}

}  // namespace
