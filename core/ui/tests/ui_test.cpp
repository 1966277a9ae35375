#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/history/history_list.h"
#include "core/texts/text_ids.h"
#include "core/texts/text_loader.h"
#include "core/ui/combo_box2.h"
#include "core/ui/edit2.h"
#include "core/ui/history_dialog.h"
#include "core/ui/lexcoreui_ids.h"
#include "core/ui/message_boxes.h"
#include "core/ui/owner_draw.h"
#include "winlib/testing.h"
#include "winlib/testing/scoped_replace.h"
#include "winlib/winlib.h"

namespace lex {
namespace {

using wl::testing::ClickButton;
using wl::testing::ExecuteWith;
using wl::testing::PostKey;
using wl::testing::WideText;

// ---- message boxes ----

TEST(MessageBoxes, YesNoAnswersAndButtonTexts) {
    struct Case {
        const char* what;
        int language;
        void (*act)(HWND);
        bool yes;
        const wchar_t* yesText;
        const wchar_t* noText;
    };
    const Case cases[] = {
        {"Yes, Polish", 8, [](HWND h) { ClickButton(h, IDC_QUESTION_YES); }, true, L"&Tak", L"&Nie"},
        {"No, Polish", 8, [](HWND h) { ClickButton(h, IDC_QUESTION_NO); }, false, L"&Tak", L"&Nie"},
        {"Yes, English", 0, [](HWND h) { ClickButton(h, IDC_QUESTION_YES); }, true, L"&Yes", L"&No"},
        {"Escape", 0, [](HWND h) { PostKey(GetDlgItem(h, IDC_QUESTION_YES), VK_ESCAPE); }, false, L"&Yes", L"&No"},
        {"Enter on Yes", 0, [](HWND h) { PostKey(GetDlgItem(h, IDC_QUESTION_YES), VK_RETURN); }, true, L"&Yes", L"&No"},
        {"close request", 4, [](HWND h) { SendMessageW(h, WM_CLOSE, 0, 0); }, false, L"&Да", L"&Нет"},
    };
    for (const Case& c : cases) {
        TextLoader loader;
        loader.SetUiLanguage(c.language);
        MessageBuffers buffers;
        std::wstring yes, no, caption, text;
        LONG_PTR style = 0;
        wl::Dialog::SetTestHook([&](wl::Dialog& d) {
            yes = WideText(GetDlgItem(d.Handle(), IDC_QUESTION_YES));
            no = WideText(GetDlgItem(d.Handle(), IDC_QUESTION_NO));
            caption = WideText(d.Handle());
            text = WideText(GetDlgItem(d.Handle(), IDC_QUESTION_TEXT));
            style = GetWindowLongPtrW(d.Handle(), GWL_STYLE);
            c.act(d.Handle());
        });
        // The hook sees this case's locals: it must not outlive them.
        wl::testing::AtScopeEnd unhook([] { wl::Dialog::SetTestHook(nullptr); });
        EXPECT_EQ(AskYesNo(nullptr, buffers, loader, kTextVocabularyErrorCaption, kTextDataFilesInaccessible), c.yes) << c.what;
        EXPECT_EQ(yes, c.yesText) << c.what;
        EXPECT_EQ(no, c.noText) << c.what;
        EXPECT_EQ(caption, wl::ToWide(loader.LoadText(kTextVocabularyErrorCaption), loader.CodePage())) << c.what;
        EXPECT_EQ(text, wl::ToWide(loader.LoadText(kTextDataFilesInaccessible), loader.CodePage())) << c.what;
        EXPECT_FALSE(style & WS_SYSMENU) << c.what;
    }
}

TEST(MessageBoxes, OkBoxShowsTheBuffersInTheirLanguage) {
    struct Case {
        int language;
        const wchar_t* caption;
        const wchar_t* text;
        const wchar_t* ok;
    };
    const Case cases[] = {
        {1, L"Chyba při práci se slovníkem.", L"Datové soubory nejsou přístupné.", L"&OK"},
        {4, L"Ошибка работы со словарём.", L"Файлы данных недоступны.", L"&ОК"},
    };
    for (const Case& c : cases) {
        TextLoader loader;
        loader.SetUiLanguage(c.language);
        MessageBuffers buffers;
        buffers.SetCaption(loader.LoadText(kTextVocabularyErrorCaption));
        buffers.SetText(loader.LoadText(kTextDataFilesInaccessible));
        TMOK box(nullptr, buffers, loader);
        INT_PTR result = ExecuteWith(box, [&](wl::Dialog& d) {
            EXPECT_EQ(WideText(d.Handle()), c.caption);
            EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDC_MESSAGE_TEXT)), c.text);
            EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDC_MESSAGE_OK)), c.ok);
            // Read back through the library: the same bytes.
            EXPECT_EQ(d.GetText(), std::string(buffers.MessageCaption));
            EXPECT_EQ(d.GetItemText(IDC_MESSAGE_TEXT), std::string(buffers.MessageText));
            ClickButton(d.Handle(), IDC_MESSAGE_OK);
        });
        EXPECT_EQ(result, 1);
    }

    // An empty text still closes with 1.
    TextLoader loader;
    loader.SetUiLanguage(0);
    MessageBuffers buffers;
    TMOK empty(nullptr, buffers, loader);
    EXPECT_EQ(ExecuteWith(empty,
                          [](wl::Dialog& d) {
                              EXPECT_EQ(WideText(GetDlgItem(d.Handle(), IDC_MESSAGE_TEXT)), L"");
                              ClickButton(d.Handle(), IDC_MESSAGE_OK);
                          }),
              1);
}

TEST(MessageBoxes, BuffersCutLongTexts) {
    MessageBuffers b;
    std::string longText(400, 'x');
    b.SetCaption(longText.c_str());
    b.SetText(nullptr);
    EXPECT_EQ(std::string(b.MessageCaption), std::string(254, 'x'));
    EXPECT_EQ(std::string(b.MessageText), "");
}

// ---- drawn lines ----

TEST(OwnerDraw, DrawnLinesDoubleAmpersandsPadAndStayInTheirBuffer) {
    struct Case {
        std::string text;
        size_t pad, buffer;
        std::string expected;
    };
    const Case cases[] = {
        {"a&b", 6, 108, "a&&b  "},
        {"word", 2, 108, "word"},
        {std::string(200, 'x'), 100, 108, std::string(107, 'x')},
        {std::string(106, 'x') + "&y", 100, 108, std::string(106, 'x')},  // no half "&&"
        {std::string(105, 'x') + "&y", 100, 108, std::string(105, 'x') + "&&"},
        {"", 250, 256, std::string(250, ' ')},
        {std::string(300, '&'), 250, 256, std::string(254, '&')},
    };
    for (const Case& c : cases) EXPECT_EQ(DrawnItemText(c.text, c.pad, c.buffer), c.expected) << c.text;
}

// ---- word box ----

UINT SlotCodePage(int slot) { return slot == 4 ? 1251 : 1250; }

class WordBoxHost : public wl::Window {
public:
    explicit WordBoxHost(DictionarySettings& settings)
        : box(this, 500, settings, SlotLook{nullptr, SlotCodePage}, 5, 5, 300, 250,
              WS_VISIBLE | WS_TABSTOP | CBS_SIMPLE | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT |
                  CBS_AUTOHSCROLL) {}
    bool Open() {
        return Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, L"host", 100, 100, 500, 400, nullptr, nullptr);
    }
    TComboBox2 box;
};

void ExpectCacheMatchesControl(const TComboBox2& box, const char* step) {
    int count = box.GetCount();
    for (int i = 0; i < TComboBox2::kCacheSize; ++i)
        EXPECT_EQ(box.CachedText(i), i < count ? box.GetString(i) : std::string()) << step << " item " << i;
}

TEST(WordBox, CacheFollowsTheControlsItems) {
    DictionarySettings settings;
    settings.CurrentSlot = 1;
    WordBoxHost host(settings);
    ASSERT_TRUE(host.Open());
    TComboBox2& box = host.box;

    for (const char* w : {"alpha", "beta", "\xe8\x61j"}) box.AddString(w);  // "čaj"
    ExpectCacheMatchesControl(box, "add");
    EXPECT_EQ(box.CachedText(2), "\xe8\x61j");
    EXPECT_EQ(box.GetString(2), "\xe8\x61j");

    EXPECT_EQ(box.InsertString("first", 0), 0);
    EXPECT_EQ(box.InsertString("middle", 2), 2);
    EXPECT_EQ(box.InsertString("last", -1), 5);
    ExpectCacheMatchesControl(box, "insert");

    EXPECT_EQ(box.DeleteString(2), 5);
    EXPECT_LT(box.DeleteString(40), 0);  // no such item: nothing moves
    EXPECT_LT(box.DeleteString(-1), 0);
    ExpectCacheMatchesControl(box, "delete");

    box.ClearList();
    ExpectCacheMatchesControl(box, "clear");

    for (int i = 0; i < 30; ++i) box.AddString("w" + std::to_string(i));
    ExpectCacheMatchesControl(box, "thirty");
    for (int i = 0; i < 30; ++i) box.DeleteString(0);
    EXPECT_EQ(box.GetCount(), 0);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(box.CachedText(i), "") << i;

    // A word longer than a cache entry is kept to 253 bytes in both.
    box.AddString(std::string(300, 'y'));
    EXPECT_EQ(box.CachedText(0), std::string(253, 'y'));
    ExpectCacheMatchesControl(box, "long");
}

TEST(WordBox, ItemHeightFollowsTheFontOfTheCurrentSlot) {
    HFONT big = CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HFONT small = CreateFontW(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    DictionarySettings settings;
    settings.CurrentSlot = 2;
    wl::Window host;
    TComboBox2 box(&host, 500, settings, SlotLook{[&](int slot) { return slot == 2 ? big : small; }, SlotCodePage}, 5,
                   5, 300, 250, WS_VISIBLE | CBS_SIMPLE | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT);
    ASSERT_TRUE(host.Create(WS_OVERLAPPEDWINDOW, 0, L"host", 0, 0, 400, 300, nullptr, nullptr));
    const int bigHeight = wl::FontTextHeight(box.Handle(), big);
    const int smallHeight = wl::FontTextHeight(box.Handle(), small);
    ASSERT_GT(bigHeight, smallHeight);
    // The edit part's height as the control reports it includes its own border.
    EXPECT_EQ(box.Send(CB_GETITEMHEIGHT, 0), bigHeight);
    const LRESULT editBorder = box.Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)) - bigHeight;
    EXPECT_GE(editBorder, 0);
    settings.CurrentSlot = 3;
    box.UpdateItemHeight();
    EXPECT_EQ(box.Send(CB_GETITEMHEIGHT, 0), smallHeight);
    EXPECT_EQ(box.Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)) - smallHeight, editBorder);
    host.Destroy();
    DeleteObject(big);
    DeleteObject(small);
}

TEST(WordBox, KeyboardSelectionShowsTheWordInTheEditPart) {
    DictionarySettings settings;
    settings.CurrentSlot = 4;  // Russian words
    WordBoxHost host(settings);
    ASSERT_TRUE(host.Open());
    TComboBox2& box = host.box;
    const std::string words[] = {"\xf1\xeb\xee\xe2\xee", "\xe4\xee\xec", "cat"};  // "слово", "дом"
    for (const std::string& w : words) box.AddString(w);

    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(box.Handle(), &info));
    SetFocus(info.hwndItem);
    EXPECT_EQ(box.GetSelIndex(), -1);

    wl::testing::SendKey(info.hwndItem, VK_DOWN);
    EXPECT_EQ(WideText(box.Handle()), L"слово");
    wl::testing::SendKey(info.hwndItem, VK_DOWN);
    EXPECT_EQ(WideText(box.Handle()), L"дом");
    EXPECT_EQ(box.GetText(), words[1]);
    EXPECT_EQ(box.GetSelIndex(), 1);
    std::string selected;
    EXPECT_EQ(box.GetSelString(selected), 3);
    EXPECT_EQ(selected, words[1]);

    // Deleting before the selection moves it down; deleting it clears it.
    box.DeleteString(0);
    EXPECT_EQ(box.GetSelIndex(), 0);
    box.DeleteString(0);
    EXPECT_EQ(box.GetSelIndex(), -1);
    EXPECT_EQ(box.GetSelString(selected), -1);
}

// ---- entry edit control ----

class EditHost : public wl::Window {
public:
    EditHost()
        : edit(this, 501, 5, 5, 400, 200,
               WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL) {}
    bool Open() { return Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, L"host", 50, 50, 500, 300, nullptr, nullptr); }
    TEdit2 edit;
};

TEST(EntryEdit, ClickSelectsTheClickedLine) {
    EditHost host;
    ASSERT_TRUE(host.Open());
    const std::string tenThousand = std::string(10000, 'a') + "\r\nxyz";
    struct Case {
        std::string text;
        int clickedChar;  // -1: the top left corner of the empty control
        int start, end;   // expected selection; -1: none (start == end)
    };
    const Case cases[] = {
        {"one\r\ntwo\r\nthree", 6, 5, 8},
        {"one\r\ntwo\r\nthree", 1, 0, 3},
        {"one\r\ntwo\r\nthree", 12, 10, 15},
        {"", -1, 0, 0},
        {tenThousand, 10003, -1, -1},
    };
    for (const Case& c : cases) {
        host.edit.SetText(c.text);
        host.edit.SetSelection(0, 0);
        POINT p{2, 2};
        if (c.clickedChar >= 0) {
            LRESULT pos = host.edit.Send(EM_POSFROMCHAR, static_cast<WPARAM>(c.clickedChar));
            p = {static_cast<short>(LOWORD(pos)) + 1, static_cast<short>(HIWORD(pos)) + 1};
        }
        host.edit.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        POINT caret{};
        GetCaretPos(&caret);
        host.edit.Send(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        int start = -2, end = -2;
        host.edit.GetSelection(start, end);
        if (c.start < 0) {
            EXPECT_EQ(start, end) << c.clickedChar;
            EXPECT_GE(start, 10002);
        } else {
            EXPECT_EQ(start, c.start) << c.clickedChar;
            EXPECT_EQ(end, c.end) << c.clickedChar;
        }
        if (c.clickedChar >= 0) {
            // The caret stays at the clicked character, not at the selection's end.
            LRESULT pos = host.edit.Send(EM_POSFROMCHAR, static_cast<WPARAM>(c.clickedChar));
            EXPECT_EQ(caret.x, static_cast<short>(LOWORD(pos))) << c.clickedChar;
        }
    }
    // Typing still works as in a plain edit control.
    host.edit.SetText("ab");
    host.edit.SetSelection(2, 2);
    host.edit.Send(WM_CHAR, 'c', 1);
    EXPECT_EQ(host.edit.GetText(), "abc");
}

// ---- history dialog ----

struct HistoryFixture {
    DictionarySettings settings;
    HistoryList history;
    TextLoader loader;
    WordBoxHost host{settings};

    HistoryFixture() {
        loader.SetUiLanguage(0);
        int32_t size = 10;
        history.AllocHistory(size);
        // As loaded from a settings file: a gap and an entry without a slot.
        history.SetEntry(0, "newest", 3);
        history.SetEntry(1, "", 500);
        history.SetEntry(2, "a&b", 5);
        history.SetEntry(3, "\xe8\x61j", 1);  // "čaj"
        history.SetEntry(4, "orphan", 77);
        settings.CurrentSlot = 0;
        settings.CurrentWord = "before";
        host.Open();
        for (int i = 0; i < 25; ++i) host.box.AddString("row" + std::to_string(i));
    }
};

std::vector<std::string> ListItems(const MyListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetString(i));
    return out;
}

TEST(HistoryDialog, ListsEntriesAndTakesTheChosenOne) {
    struct Case {
        const char* what;
        int item;      // selected before acting
        bool doubleClick;
        int slot;      // the slot taken
        const char* word;
    };
    const Case cases[] = {
        {"OK on the first", 0, false, 3, "newest"},
        {"OK after the gap", 2, false, 1, "\xe8\x61j"},
        {"double click", 1, true, 5, "a&b"},
        {"entry without slot", 3, false, 0, "orphan"},
    };
    for (const Case& c : cases) {
        HistoryFixture f;
        SlotLook look{nullptr, SlotCodePage};
        THistoryDialog dlg(&f.host, f.history, f.settings.CurrentSlot, f.loader, look);
        INT_PTR result = ExecuteWith(dlg, [&](wl::Dialog& d) {
            MyListBox& list = dlg.List();
            EXPECT_EQ(ListItems(list), (std::vector<std::string>{"newest", "a&b", "\xe8\x61j", "orphan"}));
            EXPECT_EQ(list.GetSelIndex(), 0);
            EXPECT_EQ(WideText(d.Handle()), L"Used Words History");
            // Top right corner on the main window's.
            RECT dr{}, mr{};
            GetWindowRect(d.Handle(), &dr);
            GetWindowRect(f.host.Handle(), &mr);
            EXPECT_EQ(dr.right, mr.right);
            EXPECT_EQ(dr.top, mr.top);

            list.SetSelIndex(c.item);
            if (c.doubleClick) {
                RECT r{};
                list.Send(LB_GETITEMRECT, static_cast<WPARAM>(c.item), reinterpret_cast<LPARAM>(&r));
                LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                list.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
                list.Send(WM_LBUTTONUP, 0, at);
                list.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                list.Send(WM_LBUTTONUP, 0, at);
            } else {
                ClickButton(d.Handle(), IDC_HISTORY_OK);
            }
        });
        EXPECT_EQ(result, 1) << c.what;
        EXPECT_TRUE(dlg.Taken()) << c.what;
        EXPECT_EQ(dlg.TakenSlot(), c.slot) << c.what;
        EXPECT_EQ(dlg.TakenWord(), c.word) << c.what;
        // The opener takes the lookup there: the dialog leaves the lookup as it was.
        EXPECT_EQ(f.settings.CurrentSlot, 0) << c.what;
        EXPECT_EQ(f.settings.CurrentWord, "before") << c.what;
        EXPECT_EQ(f.host.box.GetCount(), 25) << c.what;
    }
}

TEST(HistoryDialog, OkWithoutSelectionChangesNothing) {
    for (bool emptyHistory : {false, true}) {
        HistoryFixture f;
        if (emptyHistory) {
            int32_t size = 5;
            f.history.AllocHistory(size);
        }
        f.host.box.SetText("typed");
        THistoryDialog dlg(&f.host, f.history, f.settings.CurrentSlot, f.loader, SlotLook{});
        INT_PTR result = ExecuteWith(dlg, [&](wl::Dialog& d) {
            dlg.List().SetSelIndex(-1);
            // A double click notification without a selection does nothing either.
            SendMessageW(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(dlg.List().Handle()));
            EXPECT_TRUE(IsWindowVisible(d.Handle()));
            ClickButton(d.Handle(), IDC_HISTORY_OK);
        });
        EXPECT_EQ(result, 1);
        EXPECT_FALSE(dlg.Taken());
        EXPECT_EQ(f.settings.CurrentSlot, 0);
        EXPECT_EQ(f.settings.CurrentWord, "before");
        EXPECT_EQ(f.host.box.GetText(), "typed");
        EXPECT_EQ(f.host.box.GetCount(), 25);
    }
}

}  // namespace
}  // namespace lex
