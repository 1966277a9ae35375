#include "core/ui/combo_box2.h"

#include "core/ui/owner_draw.h"
#include "winlib/text.h"

namespace lex {

namespace {
constexpr size_t kLinePad = 250;     // drawn lines are padded to this many characters
constexpr size_t kLineBuffer = 256;  // and never longer than 255
const std::string kEmpty;

std::string CutText(const std::string& text) {
    size_t zero = text.find('\0');
    std::string out = zero == std::string::npos ? text : text.substr(0, zero);
    if (out.size() > static_cast<size_t>(TComboBox2::kTextSize - 1)) out.resize(TComboBox2::kTextSize - 1);
    return out;
}
}  // namespace

TComboBox2::TComboBox2(wl::Window* parent, int id, const DictionarySettings& settings, SlotLook look)
    : wl::ComboBox(parent, id), settings_(settings), look_(std::move(look)) {}

TComboBox2::TComboBox2(wl::Window* parent, int id, const DictionarySettings& settings, SlotLook look, int x, int y,
                       int w, int h, DWORD style)
    : wl::ComboBox(parent, id, x, y, w, h, style), settings_(settings), look_(std::move(look)) {}

void TComboBox2::UseSlotCodePage() {
    SetCodePage(look_.CodePage(settings_.CurrentSlot, Parent() ? Parent()->CodePage() : wl::Window::DefaultCodePage()));
}

void TComboBox2::SetupWindow() {
    wl::ComboBox::SetupWindow();
    for (std::string& text : cache_) text.clear();
    UpdateItemHeight();
    selected_ = -1;
}

void TComboBox2::UpdateItemHeight() {
    UseSlotCodePage();
    if (!Handle()) return;
    int height = wl::FontTextHeight(Handle(), look_.Font(settings_.CurrentSlot));
    if (height <= 0) return;
    SetItemHeight(0, height);
    SetItemHeight(-1, height);
}

void TComboBox2::ClearList() {
    wl::ComboBox::ClearList();
    for (std::string& text : cache_) text.clear();
    selected_ = -1;
}

int TComboBox2::AddString(const std::string& text) {
    UseSlotCodePage();
    std::string cut = CutText(text);
    int index = wl::ComboBox::AddString(cut);
    // Only an index the control really gave, and only within the cache.
    if (index >= 0 && index < kCacheSize) cache_[static_cast<size_t>(index)] = cut;
    return index;
}

int TComboBox2::InsertString(const std::string& text, int index) {
    UseSlotCodePage();
    std::string cut = CutText(text);
    int result = wl::ComboBox::InsertString(cut, index);
    if (result >= 0 && result < kCacheSize) {
        for (int i = kCacheSize - 1; i > result; --i) cache_[static_cast<size_t>(i)] = std::move(cache_[static_cast<size_t>(i - 1)]);
        cache_[static_cast<size_t>(result)] = cut;
        if (selected_ >= result) selected_ = selected_ + 1 < kCacheSize ? selected_ + 1 : -1;
    }
    return result;
}

int TComboBox2::DeleteString(int index) {
    int result = wl::ComboBox::DeleteString(index);
    if (result < 0 || index < 0) return result;  // nothing was deleted
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    if (index < kCacheSize) {
        for (int i = index; i < kCacheSize - 1; ++i) cache_[static_cast<size_t>(i)] = std::move(cache_[static_cast<size_t>(i + 1)]);
        cache_[kCacheSize - 1].clear();
    }
    return result;
}

int TComboBox2::GetSelString(std::string& out) const {
    if (selected_ < 0 || selected_ >= kCacheSize) return -1;
    out = cache_[static_cast<size_t>(selected_)];
    return static_cast<int>(out.size());
}

const std::string& TComboBox2::CachedText(int i) const {
    return i >= 0 && i < kCacheSize ? cache_[static_cast<size_t>(i)] : kEmpty;
}

void TComboBox2::MeasureItem(MEASUREITEMSTRUCT& item) {
    int height = wl::FontTextHeight(Handle(), look_.Font(settings_.CurrentSlot));
    if (height > 0) item.itemHeight = static_cast<UINT>(height);
}

void TComboBox2::ODADrawEntire(DRAWITEMSTRUCT& item) { Draw(item, false); }
void TComboBox2::ODASelect(DRAWITEMSTRUCT& item) { Draw(item, true); }

void TComboBox2::Draw(DRAWITEMSTRUCT& item, bool fromSelect) {
    const int index = static_cast<int>(item.itemID);
    if (item.itemID == static_cast<UINT>(-1) || index < 0) return;  // empty list: nothing to draw
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const std::string& text = CachedText(index);
    if (selected) {
        selected_ = index;
        if (fromSelect) SetText(text);  // the edit part shows the selected word at once
    }
    DrawListItem(item, DrawnItemText(text, kLinePad, kLineBuffer), CodePage(), look_.Font(settings_.CurrentSlot),
                 selected);
}

}  // namespace lex
