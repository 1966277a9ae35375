#include "key_button.h"

#include <algorithm>

#include "winlib/text.h"

namespace tsapp {

WL_BEGIN_MESSAGE_TABLE(KeyButton, wl::Button)
    WL_MESSAGE(WM_RBUTTONDOWN, EvRButtonDown)
WL_END_MESSAGE_TABLE()

void KeyButton::SetKeyCaption(const std::string& text) {
    caption_ = text == "&" ? "&&" : text;
    if (Handle()) SetText(caption_);
}

void KeyButton::Redraw() {
    if (Handle()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT KeyButton::EvRButtonDown(WPARAM, LPARAM) {
    const LRESULT result = DefaultProcessing();
    ::SetFocus(Handle());
    if (owner_) owner_->KeyRightClicked(Id());
    return result;
}

void KeyButton::DrawItem(DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT bounds = item.rcItem;
    if (Disabled) {
        ::MoveToEx(dc, bounds.left, bounds.top, nullptr);
        ::LineTo(dc, bounds.right, bounds.bottom);
        ::MoveToEx(dc, bounds.left, bounds.bottom, nullptr);
        ::LineTo(dc, bounds.right, bounds.top);
        return;
    }
    RECT r = bounds;
    if (PrefixMark) {
        ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        ::InflateRect(&r, -1, -1);
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        ::InflateRect(&r, -1, -1);
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    if (item.itemAction & ODA_DRAWENTIRE) {
        const bool selected = Selected && !Plain;
        COLORREF face, text;
        if (Active) {
            face = selected ? RGB(0, 0, 255) : RGB(255, 255, 255);
            text = selected ? RGB(255, 255, 255) : RGB(0, 0, 0);
        } else {
            face = selected ? RGB(0, 0, 128) : RGB(192, 192, 192);
            text = selected ? RGB(255, 255, 255) : RGB(0, 0, 0);
        }
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        HBRUSH brush = ::CreateSolidBrush(face);
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
        ::SetBkColor(dc, face);
        ::SetTextColor(dc, text);
        std::wstring wide = wl::ToWide(caption_, CodePage());
        RECT t = r;
        ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &t, DT_CENTER | DT_VCENTER);
        if (focused) {
            RECT f = r;
            ::InflateRect(&f, -2, -2);
            ::DrawFocusRect(dc, &f);
        }
    } else if ((item.itemAction & ODA_FOCUS) && focused) {
        RECT f = r;
        ::InflateRect(&f, -2, -2);
        ::DrawFocusRect(dc, &f);
    }
    if (StartsProgram) {
        ::MoveToEx(dc, bounds.left, bounds.bottom, nullptr);
        ::LineTo(dc, bounds.right, bounds.top);
    }
}

// ---- tooltips ----

void KeyTipWindow::AddTool(int id, const std::vector<std::string>& lines, UINT codePage, COLORREF back,
                           COLORREF text) {
    tools_.push_back(Tool{id, lines, codePage, back, text});
}

void KeyTipWindow::RemoveTool(int id) {
    if (id == currentId_) {
        HideTip(id);
        currentId_ = 0;
    }
    for (size_t i = 0; i < tools_.size();) {
        if (tools_[i].Id == id)
            tools_.erase(tools_.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

const KeyTipWindow::Tool* KeyTipWindow::FindTool(int id) {
    for (const Tool& t : tools_) {
        if (t.Id == id) {
            currentId_ = id;
            return &t;
        }
    }
    currentId_ = 0;
    return nullptr;
}

void KeyTipWindow::ShowTip(int id) {
    if (const Tool* tool = FindTool(id)) DrawTip(*tool);
}

void KeyTipWindow::HideTip(int id) {
    if (tipHeight_ == 0 || tipWidth_ == 0 || !owner_) return;
    RECT r = GetTipRect(id);
    ::InvalidateRect(owner_, &r, TRUE);
    ::UpdateWindow(owner_);
    tipHeight_ = tipWidth_ = 0;
}

void KeyTipWindow::RelayMouseMove(POINT point) {
    if (!owner_) return;
    HWND child = ::ChildWindowFromPoint(owner_, point);
    if (!child) return;
    const int id = child == owner_ ? 0 : ::GetDlgCtrlID(child);
    if (id == currentId_) return;
    HideTip(currentId_);
    ShowTip(id);
}

void KeyTipWindow::CalcTipSize(const std::vector<std::string>& lines) {
    lineCount_ = static_cast<int>(lines.size());
    longestLine_ = 0;
    for (const std::string& l : lines) longestLine_ = std::max(longestLine_, static_cast<int>(l.size()));
    tipHeight_ = lineCount_ * (lineHeight_ - 1) + 12;
    tipWidth_ = 10 + (longestLine_ * 15) / 2;
}

RECT KeyTipWindow::GetTipRect(int id) {
    RECT out{};
    HWND control = ::GetDlgItem(owner_, id);
    if (!control) return out;
    RECT o, c;
    ::GetWindowRect(owner_, &o);
    ::GetWindowRect(control, &c);
    ::MapWindowPoints(nullptr, owner_, reinterpret_cast<POINT*>(&o), 2);
    ::MapWindowPoints(nullptr, owner_, reinterpret_cast<POINT*>(&c), 2);
    lineHeight_ = 14;
    const int half = (c.bottom - c.top) / 2;
    if (c.bottom - half + tipHeight_ <= o.bottom) {
        out.top = c.bottom - half;
        out.bottom = out.top + tipHeight_;
    } else {
        if (tipHeight_ > o.bottom - o.top) {
            lineHeight_ = 12;
            tipHeight_ = lineCount_ * 11 + 12;
            tipWidth_ = longestLine_ * 7 + 10;
        }
        out.bottom = o.bottom - 1;
        out.top = out.bottom - tipHeight_;
    }
    const int cx = (c.left + c.right) / 2;
    if (cx + tipWidth_ <= o.right) {
        out.left = cx;
        out.right = cx + tipWidth_;
    } else if (cx - tipWidth_ > o.left) {
        out.right = cx;
        out.left = cx - tipWidth_;
    } else {
        out.left = o.left + 1;
        out.right = out.left + tipWidth_;
    }
    return out;
}

void KeyTipWindow::DrawTip(const Tool& tool) {
    if (tool.Lines.empty() || !owner_) return;
    HDC dc = ::GetDC(owner_);
    ::SetBkMode(dc, TRANSPARENT);
    HBRUSH back = ::CreateSolidBrush(tool.Back);
    HGDIOBJ oldBrush = ::SelectObject(dc, back);
    ::SetTextColor(dc, tool.Text);
    CalcTipSize(tool.Lines);
    RECT r = GetTipRect(tool.Id);
    HFONT font = ::CreateFontW(lineHeight_, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"Courier New");
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::FillRect(dc, &r, back);
    HBRUSH edge = ::CreateSolidBrush(tool.Text);
    ::SelectObject(dc, edge);
    ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    int y = r.top + 5;
    for (const std::string& line : tool.Lines) {
        std::wstring wide = wl::ToWide(line, tool.CodePage);
        ::TextOutW(dc, r.left + 8, y, wide.c_str(), static_cast<int>(wide.size()));
        y += lineHeight_ - 1;
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(owner_, dc);
    ::DeleteObject(font);
    ::DeleteObject(back);
    ::DeleteObject(edge);
}

}  // namespace tsapp
