// Message table entries for id ranges and for WM_NOTIFY, driven by real
// controls and real menus.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "winlib/testing.h"
#include "winlib/winlib.h"

namespace {

using wl::testing::ClickButton;
using wl::testing::ExecuteWith;

// Ten digit buttons 110..119 answered by one range; the derived table takes
// 115 for itself, and a single entry placed before the range takes 112.
class DigitsBase : public wl::Dialog {
public:
    DigitsBase() : wl::Dialog(nullptr, 100) {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<std::string> log;

protected:
    void CmDigit(UINT id) { log.push_back("digit " + std::to_string(id)); }
    void CmTwelve() { log.push_back("twelve"); }
    void CmDouble(UINT id) { log.push_back("double " + std::to_string(id)); }
};
WL_BEGIN_MESSAGE_TABLE(DigitsBase, wl::Dialog)
    WL_NOTIFY_RANGE(110, 119, BN_DOUBLECLICKED, CmDouble)
    WL_COMMAND(112, CmTwelve)
    WL_COMMAND_RANGE(110, 119, CmDigit)
WL_END_MESSAGE_TABLE()

class DigitsDialog : public DigitsBase {
public:
    WL_DECLARE_MESSAGE_TABLE();
    wl::Button button111{this, 111, 110, 70, 20, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON};
    wl::Edit edit113{this, 113, 140, 70, 40, 14, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL};

private:
    void CmFive() { log.push_back("own 115"); }
};
WL_BEGIN_MESSAGE_TABLE(DigitsDialog, DigitsBase)
    WL_COMMAND(115, CmFive)
WL_END_MESSAGE_TABLE()

TEST(TableEntries, CommandRangeTakesClicksMenusAndAcceleratorsOfItsIds) {
    DigitsDialog dlg;
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        HWND h = d.Handle();
        ClickButton(h, 111);                                  // a real button click
        dlg.edit113.SetText("x");                             // EN_CHANGE of an id in the range: no command
        SendMessageW(h, WM_COMMAND, 110, 0);                  // menu item
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(119, 1), 0);   // accelerator
        SendMessageW(h, WM_COMMAND, 112, 0);
        SendMessageW(h, WM_COMMAND, 115, 0);
        SendMessageW(h, WM_COMMAND, 109, 0);                  // outside: nobody
        SendMessageW(h, WM_COMMAND, 120, 0);
        // A double click of a button in the range, and of one outside it.
        HWND b = dlg.button111.Handle();
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(111, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(b));
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(120, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(b));
        d.CloseWindow(IDOK);
    });
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"digit 111", "digit 110", "digit 119", "twelve", "own 115",
                                                 "double 111"}));
}

// A frame with a range of its own and a client with another: commands go
// frame first, then client; enablers set menu items and toolbar buttons by id.
class RangeClient : public wl::Dialog {
public:
    RangeClient() : wl::Dialog(nullptr, L"CLIENT") {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<UINT> commands;
private:
    void CmClient(UINT id) { commands.push_back(id); }
    void CeClient(wl::CommandEnabler& ce) { ce.SetCheck(ce.Id() == 622); }
};
WL_BEGIN_MESSAGE_TABLE(RangeClient, wl::Dialog)
    WL_COMMAND_RANGE(620, 629, CmClient)
    WL_ENABLER_RANGE(620, 629, CeClient)
WL_END_MESSAGE_TABLE()

class RangeFrame : public wl::FrameWindow {
public:
    explicit RangeFrame(wl::Window* client) : wl::FrameWindow("Ranges", client) {}
    WL_DECLARE_MESSAGE_TABLE();
    std::vector<UINT> commands;
private:
    void CmLanguage(UINT id) { commands.push_back(id); }
    void CeLanguage(wl::CommandEnabler& ce) {
        ce.SetText("Language " + std::to_string(ce.Id() - 600));
        ce.Enable(ce.Id() % 2 == 0);
    }
};
WL_BEGIN_MESSAGE_TABLE(RangeFrame, wl::FrameWindow)
    WL_COMMAND_RANGE(600, 609, CmLanguage)
    WL_ENABLER_RANGE(600, 609, CeLanguage)
WL_END_MESSAGE_TABLE()

TEST(TableEntries, RangesInAFrameAndItsClient) {
    RangeClient client;
    RangeFrame frame(&client);
    wl::ControlBar bar(&frame);
    for (UINT id : {600u, 601u, 610u}) bar.AddButton(1, id);
    frame.Insert(bar);
    ASSERT_TRUE(frame.Create(10, 10, 300, 200));

    for (UINT id : {600u, 609u, 620u, 629u, 610u}) SendMessageW(frame.Handle(), WM_COMMAND, id, 0);
    EXPECT_EQ(frame.commands, (std::vector<UINT>{600, 609}));
    EXPECT_EQ(client.commands, (std::vector<UINT>{620, 629}));

    HMENU popup = CreatePopupMenu();
    for (UINT id : {600u, 603u, 604u, 609u, 610u, 621u, 622u}) AppendMenuW(popup, MF_STRING, id, L"x");
    SendMessageW(frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    auto text = [&](UINT id) {
        wchar_t buf[64] = {};
        GetMenuStringW(popup, id, buf, 64, MF_BYCOMMAND);
        return std::wstring(buf);
    };
    auto grey = [&](UINT id) { return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    auto checked = [&](UINT id) { return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    EXPECT_EQ(text(600), L"Language 0");
    EXPECT_EQ(text(603), L"Language 3");
    EXPECT_EQ(text(609), L"Language 9");
    EXPECT_EQ(text(610), L"x");  // outside every range
    EXPECT_FALSE(grey(600));
    EXPECT_TRUE(grey(603));
    EXPECT_FALSE(grey(604));
    EXPECT_TRUE(grey(609));
    EXPECT_FALSE(checked(621));
    EXPECT_TRUE(checked(622));
    DestroyMenu(popup);

    frame.UpdateCommands();
    EXPECT_TRUE(bar.Send(TB_ISBUTTONENABLED, 600));
    EXPECT_FALSE(bar.Send(TB_ISBUTTONENABLED, 601));
    EXPECT_TRUE(bar.Send(TB_ISBUTTONENABLED, 610));

    frame.Destroy();
    wl::testing::PumpMessages();
}

// WM_NOTIFY from real list views: one code of one control, every code of
// another, one code of a range of ids; the handler's result reaches the
// control (a dialog answers through DWLP_MSGRESULT).
class ListView : public wl::Control {
public:
    using wl::Control::Control;
    int Insert(int index) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        wchar_t text[] = L"item";
        item.pszText = text;
        return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    void Select(int index) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    bool Selected(int index) const {
        return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }
protected:
    const wchar_t* ClassName() const override { return WC_LISTVIEWW; }
};

constexpr DWORD kListStyle = WS_VISIBLE | WS_BORDER | LVS_LIST | LVS_SHOWSELALWAYS;

class NotifyDialog : public wl::Dialog {
public:
    NotifyDialog() : wl::Dialog(nullptr, 100) {}
    WL_DECLARE_MESSAGE_TABLE();
    ListView watched{this, 300, 5, 60, 50, 30, kListStyle};
    ListView all{this, 301, 60, 60, 50, 30, kListStyle};
    ListView ranged{this, 305, 115, 60, 50, 30, kListStyle};
    bool refuseChanges = false;
    std::vector<std::string> log;
    std::vector<UINT> allCodes;

private:
    LRESULT EvChanging(NMHDR& hdr) {
        auto& lv = reinterpret_cast<NMLISTVIEW&>(hdr);
        if (!(lv.uNewState & LVIS_SELECTED)) return FALSE;
        log.push_back("changing " + std::to_string(lv.iItem));
        return refuseChanges ? TRUE : FALSE;
    }
    LRESULT EvChanged(NMHDR& hdr) {
        auto& lv = reinterpret_cast<NMLISTVIEW&>(hdr);
        if (lv.uNewState & LVIS_SELECTED) log.push_back("selected " + std::to_string(lv.iItem));
        return 0;
    }
    LRESULT EvAll(NMHDR& hdr) {
        allCodes.push_back(hdr.code);
        return 0;
    }
    LRESULT EvRangedInsert(NMHDR& hdr) {
        log.push_back("inserted in " + std::to_string(hdr.idFrom));
        return 0;
    }
};
WL_BEGIN_MESSAGE_TABLE(NotifyDialog, wl::Dialog)
    WL_ON_NOTIFY(300, LVN_ITEMCHANGING, EvChanging)
    WL_ON_NOTIFY(300, LVN_ITEMCHANGED, EvChanged)
    WL_ON_NOTIFY_ANY(301, EvAll)
    WL_ON_NOTIFY_RANGE(302, 309, LVN_INSERTITEM, EvRangedInsert)
WL_END_MESSAGE_TABLE()

TEST(TableEntries, NotificationsByControlAndCodeWithTheirResult) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    NotifyDialog dlg;
    ExecuteWith(dlg, [&](wl::Dialog& d) {
        ASSERT_NE(dlg.watched.Handle(), nullptr);
        for (int i = 0; i < 2; ++i) dlg.watched.Insert(i);  // LVN_INSERTITEM of 300: no entry
        dlg.all.Insert(0);
        dlg.ranged.Insert(0);

        dlg.watched.Select(0);
        dlg.refuseChanges = true;
        dlg.watched.Select(1);  // the handler's TRUE keeps item 1 unselected
        EXPECT_TRUE(dlg.watched.Selected(0));
        EXPECT_FALSE(dlg.watched.Selected(1));

        dlg.all.Select(0);
        d.CloseWindow(IDOK);
    });
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"inserted in 305", "changing 0", "selected 0", "changing 1"}));
    const std::vector<UINT> expectedAll{static_cast<UINT>(LVN_INSERTITEM), static_cast<UINT>(LVN_ITEMCHANGING),
                                        static_cast<UINT>(LVN_ITEMCHANGED)};
    std::vector<UINT> seen;
    for (UINT code : dlg.allCodes)
        if (code == LVN_INSERTITEM || code == LVN_ITEMCHANGING || code == LVN_ITEMCHANGED) seen.push_back(code);
    EXPECT_EQ(seen, expectedAll);
}

}  // namespace
