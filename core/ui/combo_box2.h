// TComboBox2: the word box. An owner-drawn combo box (CBS_OWNERDRAWFIXED |
// CBS_HASSTRINGS, so other programs can still read its items) whose items are
// drawn from a cache of their texts in the source-language font of the
// current slot; its edit part takes the typed word. At most 30 items.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/engine/dictionary_settings.h"
#include "core/ui/slot_look.h"
#include "winlib/controls.h"

namespace lex {

class TComboBox2 : public wl::ComboBox {
public:
    static constexpr int kCacheSize = 30;
    static constexpr int kTextSize = 254;  // bytes of a cached text with its terminator

    // Bound to combo box `id` of the parent's template, or created in code.
    TComboBox2(wl::Window* parent, int id, const DictionarySettings& settings, SlotLook look);
    TComboBox2(wl::Window* parent, int id, const DictionarySettings& settings, SlotLook look, int x, int y, int w,
               int h, DWORD style);

    // A control that lives and dies with the word box (the lookup window's
    // scroll bar): destroyed with it.
    void AdoptCompanion(std::unique_ptr<wl::Window> companion) { companion_ = std::move(companion); }
    wl::Window* Companion() const { return companion_.get(); }

    void SetupWindow() override;
    // Item and edit-part height := text height of the current slot's font;
    // texts go to and from the control in the current slot's code page.
    void UpdateItemHeight();

    void ClearList() override;
    int AddString(const std::string& text) override;
    int InsertString(const std::string& text, int index) override;
    int DeleteString(int index) override;
    // The item last drawn selected (-1: none).
    int GetSelIndex() const override { return selected_; }
    // Cached text of that item; its length, or -1 without a selection.
    int GetSelString(std::string& out) const override;

    // Cached text of item i ("" outside 0..29).
    const std::string& CachedText(int i) const;

    void ODADrawEntire(DRAWITEMSTRUCT& item) override;
    void ODASelect(DRAWITEMSTRUCT& item) override;
    void ODAFocus(DRAWITEMSTRUCT&) override {}
    void MeasureItem(MEASUREITEMSTRUCT& item) override;

private:
    void Draw(DRAWITEMSTRUCT& item, bool fromSelect);
    void UseSlotCodePage();

    const DictionarySettings& settings_;
    SlotLook look_;
    std::array<std::string, kCacheSize> cache_;
    int selected_ = -1;
    std::unique_ptr<wl::Window> companion_;
};

}  // namespace lex
