#include "core/ui/history_dialog.h"

#include "core/ui/owner_draw.h"
#include "winlib/text.h"

namespace lex {

namespace {
constexpr size_t kLinePad = 100;     // drawn lines are padded to this many characters
constexpr size_t kLineBuffer = 108;  // and never longer than 107
}  // namespace

MyListBox::MyListBox(wl::Window* parent, int id, const HistoryList& history, SlotLook look)
    : wl::ListBox(parent, id), history_(history), look_(std::move(look)) {}

int MyListBox::EntrySlot(int item) const { return history_.Slot(HistoryIndex(item)); }

int MyListBox::AddEntry(int historyIndex) {
    const std::string& text = history_.Text(historyIndex);
    if (text.empty() || !Handle()) return -1;
    const int slot = history_.Slot(historyIndex);
    // The item text in the code page of the entry's words, so that it reads
    // back right through ordinary list box messages.
    std::wstring wide = wl::ToWide(text, look_.CodePage(slot, CodePage()));
    int item = static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    if (item < 0) return item;
    if (static_cast<size_t>(item) >= entries_.size()) entries_.resize(static_cast<size_t>(item) + 1, -1);
    entries_[static_cast<size_t>(item)] = historyIndex;
    int height = wl::FontTextHeight(Handle(), look_.Font(slot) ? look_.Font(slot) : reinterpret_cast<HFONT>(Send(WM_GETFONT)));
    if (height > 0) SetItemHeight(item, height);
    return item;
}

int MyListBox::HistoryIndex(int item) const {
    return item >= 0 && static_cast<size_t>(item) < entries_.size() ? entries_[static_cast<size_t>(item)] : -1;
}

int MyListBox::GetSelIndex() const { return wl::ListBox::GetSelIndex(); }

int MyListBox::GetSelString(std::string& out) const {
    int entry = HistoryIndex(GetSelIndex());
    if (entry < 0) return -1;
    out = history_.Text(entry);
    return static_cast<int>(out.size());
}

void MyListBox::MeasureItem(MEASUREITEMSTRUCT& item) {
    int height = wl::FontTextHeight(Handle(), reinterpret_cast<HFONT>(Send(WM_GETFONT)));
    if (height > 0) item.itemHeight = static_cast<UINT>(height);
}

void MyListBox::Draw(DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.itemID);
    if (item.itemID == static_cast<UINT>(-1) || index < 0) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected) lastDrawnSelected_ = index;
    const int entry = HistoryIndex(index);
    const int slot = history_.Slot(entry);
    HFONT font = look_.Font(slot);
    DrawListItem(item, DrawnItemText(history_.Text(entry), kLinePad, kLineBuffer), look_.CodePage(slot, CodePage()),
                 font ? font : reinterpret_cast<HFONT>(Send(WM_GETFONT)), selected);
}

}  // namespace lex
