// The two word controls of the lookup window: the word box (an owner-drawn
// combo box that keeps its rows as item texts) and the translation box.
#pragma once

#include <string>

#include "winlib/controls.h"

namespace lexora {

class Program;

class WordBox : public wl::ComboBox {
public:
    WordBox(wl::Window* parent, int id, int x, int y, int w, int h, DWORD style, Program& program);
    void LimitText(int maxChars) { Send(CB_LIMITTEXT, maxChars, 0); }
    // Item and edit-part height from the current slot's original font.
    void UpdateItemHeight();
    void ODADrawEntire(DRAWITEMSTRUCT& item) override;
    void ODASelect(DRAWITEMSTRUCT& item) override;
    void MeasureItem(MEASUREITEMSTRUCT& item) override;

private:
    Program& program_;
};

class TranslationBox : public wl::Edit {
public:
    using wl::Edit::Edit;
};

}  // namespace lexora
