#include "word_controls.h"

#include "program.h"

namespace lexora {

WordBox::WordBox(wl::Window* parent, int id, int x, int y, int w, int h, DWORD style, Program& program)
    : wl::ComboBox(parent, id, x, y, w, h, style), program_(program) {}

void WordBox::UpdateItemHeight() {
    HFONT font = program_.Fonts[0][program_.CurrentSlot()];
    int height = wl::FontTextHeight(Handle(), font);
    if (height <= 0) return;
    Send(CB_SETITEMHEIGHT, 0, height);
    Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
}

void WordBox::MeasureItem(MEASUREITEMSTRUCT& item) {
    HFONT font = program_.Fonts[0][program_.CurrentSlot()];
    int height = Handle() ? wl::FontTextHeight(Handle(), font) : 0;
    item.itemHeight = height > 0 ? height : 16;
}

void WordBox::ODADrawEntire(DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    int saved = ::SaveDC(dc);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
    ::SelectObject(dc, program_.Fonts[0][program_.CurrentSlot()]);
    std::string text;
    for (char c : GetString(static_cast<int>(item.itemID))) {
        text += c;
        if (c == '&') text += '&';  // drawn with a single "&"
    }
    wl::DrawText8(dc, text, CodePage(), item.rcItem);
    ::RestoreDC(dc, saved);
}

void WordBox::ODASelect(DRAWITEMSTRUCT& item) { ODADrawEntire(item); }

}  // namespace lexora
