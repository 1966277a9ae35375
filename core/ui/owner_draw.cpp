#include "core/ui/owner_draw.h"

#include "winlib/controls.h"

namespace lex {

std::string DrawnItemText(const std::string& text, size_t padTo, size_t bufferSize) {
    const size_t max = bufferSize > 0 ? bufferSize - 1 : 0;
    std::string line;
    line.reserve(max);
    for (char c : text) {
        if (c == '\0') break;
        size_t need = c == '&' ? 2 : 1;
        if (line.size() + need > max) break;
        line += c;
        if (c == '&') line += '&';
    }
    size_t pad = padTo < max ? padTo : max;
    if (line.size() < pad) line.append(pad - line.size(), ' ');
    return line;
}

void DrawListItem(const DRAWITEMSTRUCT& item, const std::string& line, UINT codePage, HFONT font, bool selected) {
    HDC dc = item.hDC;
    int saved = SaveDC(dc);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, OPAQUE);
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (font) SelectObject(dc, font);
    wl::DrawText8(dc, line, codePage, item.rcItem);
    RestoreDC(dc, saved);
}

}  // namespace lex
