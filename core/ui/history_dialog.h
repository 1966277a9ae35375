// The history dialog (template IDD_HISTORY): the looked-up words, newest first,
// in an owner-drawn list (MyListBox, control IDC_HISTORY_LIST); OK or a double click takes the
// selected word with its slot; the opener then takes the lookup there.
#pragma once

#include <string>
#include <vector>

#include "core/engine/dictionary_settings.h"
#include "core/history/history_list.h"
#include "core/texts/text_loader.h"
#include "core/ui/lexcoreui_ids.h"
#include "core/ui/slot_look.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lex {

// The history list of the dialog: one item per non-empty history entry, drawn
// in the font of the entry's slot. Items keep their texts (LBS_HASSTRINGS).
class MyListBox : public wl::ListBox {
public:
    MyListBox(wl::Window* parent, int id, const HistoryList& history, SlotLook look);

    // Adds history entry `historyIndex`; the item's height is the text height
    // of the entry's font. Returns the item index (negative: not added).
    int AddEntry(int historyIndex);
    // History entry shown by item `item` (-1: none).
    int HistoryIndex(int item) const;
    // The selected item (-1: none).
    int GetSelIndex() const override;
    // History text of the selected item; its length, or -1 without a selection.
    int GetSelString(std::string& out) const override;
    // The item last drawn selected (-1 at first).
    int LastDrawnSelected() const { return lastDrawnSelected_; }

    void ODADrawEntire(DRAWITEMSTRUCT& item) override { Draw(item); }
    void ODASelect(DRAWITEMSTRUCT& item) override { Draw(item); }
    void ODAFocus(DRAWITEMSTRUCT&) override {}
    void MeasureItem(MEASUREITEMSTRUCT& item) override;

private:
    void Draw(DRAWITEMSTRUCT& item);
    int EntrySlot(int item) const;

    const HistoryList& history_;
    SlotLook look_;
    std::vector<int> entries_;  // item -> history index
    int lastDrawnSelected_ = -1;
};

class THistoryDialog : public wl::Dialog {
public:
    // `currentSlot`: the slot of an entry without a valid one.
    THistoryDialog(wl::Window* parent, HistoryList& history, int currentSlot, TextLoader& loader, SlotLook look,
                   int templateId = IDD_HISTORY);

    void SetupWindow() override;
    MyListBox& List() { return list_; }
    // After OK or a double click on an entry: true, with its slot and text
    // (at most 253 bytes).
    bool Taken() const { return taken_; }
    int TakenSlot() const { return takenSlot_; }
    const std::string& TakenWord() const { return takenWord_; }

    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void EvListNotify(UINT code);
    void TakeEntry();

    HistoryList& history_;
    TextLoader& loader_;
    SlotLook look_;
    MyListBox list_;
    bool taken_ = false;
    int takenSlot_;
    std::string takenWord_;
};

}  // namespace lex
