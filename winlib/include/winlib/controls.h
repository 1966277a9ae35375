// Thin control wrappers. A control object is either bound to a control of its
// parent dialog's template by id (constructor with parent and id) or created
// by its parent in code (constructor with position, size and style); either
// way it becomes real during the parent's SetupWindow. The control is
// subclassed, so its own message table (if any) sees its messages first.
//
// Texts go through the control's code page (0 = its parent's).
// Owner-drawn list items: the parent's WM_DRAWITEM / WM_MEASUREITEM reach
// DrawItem / MeasureItem of the control object; DrawItem calls ODADrawEntire,
// ODASelect or ODAFocus by the request's action.
#pragma once

#include "winlib/window.h"

#include <string>

namespace wl {

class Control : public Window {
public:
    Control(Window* parent, int id);
    Control(Window* parent, int id, int x, int y, int w, int h, DWORD style, DWORD exStyle = 0);
    ~Control() override;

    int Id() const { return id_; }
    // Creates or binds the control now (normally done by the parent's set-up).
    bool Realize();

    WL_DECLARE_MESSAGE_TABLE();

    void DrawItem(DRAWITEMSTRUCT& item) override;
    virtual void ODADrawEntire(DRAWITEMSTRUCT&) {}
    virtual void ODAFocus(DRAWITEMSTRUCT&) {}
    virtual void ODASelect(DRAWITEMSTRUCT&) {}

protected:
    virtual const wchar_t* ClassName() const = 0;
    int ChildId() const override { return id_; }
    void CreateOrBind() override { Realize(); }

private:
    int id_;
    bool inCode_ = false;
    int x_ = 0, y_ = 0, w_ = 0, h_ = 0;
    DWORD style_ = 0, exStyle_ = 0;
};

class Button : public Control {
public:
    using Control::Control;
    bool IsChecked() const;
    void SetCheck(bool checked);
protected:
    const wchar_t* ClassName() const override { return L"BUTTON"; }
};

class Static : public Control {
public:
    using Control::Control;
protected:
    const wchar_t* ClassName() const override { return L"STATIC"; }
};

class Edit : public Control {
public:
    using Control::Control;
    void LimitText(int maxChars);
    int GetLineCount() const;
    // Text of line `line` (without its line break).
    std::string GetLine(int line) const;
    int LineFromChar(int charIndex) const;  // -1: the caret's line
    int LineIndex(int line) const;          // -1: the caret's line
    int LineLength(int charIndex) const;    // of the line holding charIndex
    void GetSelection(int& start, int& end) const;
    void SetSelection(int start, int end);
    std::string GetSelectedText() const;
    void Insert(const std::string& text);  // replaces the selection
    void Clear();
protected:
    const wchar_t* ClassName() const override { return L"EDIT"; }
};

// The item list that list boxes and combo boxes share: the two carry it with
// different messages.
class ItemList : public Control {
public:
    using Control::Control;
    virtual int AddString(const std::string& text);
    virtual int InsertString(const std::string& text, int index);
    virtual int DeleteString(int index);
    virtual void ClearList();
    int GetCount() const;
    virtual int GetSelIndex() const;
    int SetSelIndex(int index);
    // Item text; empty when there is no such item.
    std::string GetString(int index) const;
    // Text of the selected item into `out`; its length, or -1 without a selection.
    virtual int GetSelString(std::string& out) const;
    // Index -1 of a combo box: its edit part.
    void SetItemHeight(int index, int height);

protected:
    struct Messages {
        UINT Add, Insert, Delete, Reset, Count, GetSel, SetSel, TextLength, Text, ItemHeight;
    };
    virtual const Messages& ListMessages() const = 0;
};

class ListBox : public ItemList {
public:
    using ItemList::ItemList;
    // Multiple-selection lists: selects or deselects item `index` (an index
    // without an item changes nothing), and whether the item is selected.
    void SetSel(int index, bool selected);
    bool IsSelected(int index) const;
protected:
    const wchar_t* ClassName() const override { return L"LISTBOX"; }
    const Messages& ListMessages() const override;
};

class ComboBox : public ItemList {
public:
    using ItemList::ItemList;
    void ShowList(bool show);
protected:
    const wchar_t* ClassName() const override { return L"COMBOBOX"; }
    const Messages& ListMessages() const override;
};

class ScrollBar : public Control {
public:
    using Control::Control;
    void SetRange(int min, int max);
    void SetPosition(int pos);
    int GetPosition() const;
protected:
    const wchar_t* ClassName() const override { return L"SCROLLBAR"; }
};

// Owner-draw helper: a font's text height (text metrics height) on `hwnd`'s DC.
int FontTextHeight(HWND hwnd, HFONT font);
// Draws `text` (8-bit, `codePage`) with DrawTextW into `rect`, format 0.
void DrawText8(HDC dc, const std::string& text, UINT codePage, RECT rect);

}  // namespace wl
