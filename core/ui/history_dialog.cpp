// THistoryDialog: choosing a word from the history.
#include "core/ui/history_dialog.h"

#include "core/texts/text_ids.h"
#include "core/ui/dialog_placement.h"
#include "core/ui/lexcoreui_ids.h"
#include "winlib/text.h"

namespace lex {

WL_BEGIN_MESSAGE_TABLE(THistoryDialog, wl::Dialog)
    WL_COMMAND(IDC_HISTORY_OK, CmOk)
    WL_CONTROL(IDC_HISTORY_LIST, EvListNotify)
WL_END_MESSAGE_TABLE()

THistoryDialog::THistoryDialog(wl::Window* parent, HistoryList& history, int currentSlot, TextLoader& loader,
                               SlotLook look, int templateId)
    : wl::Dialog(parent, templateId), history_(history), loader_(loader), look_(look),
      list_(this, IDC_HISTORY_LIST, history, look), takenSlot_(currentSlot) {}

void THistoryDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(loader_.CodePage());
    SetText(loader_.LoadText(kTextHistoryCaption));
    SetItemText(IDC_HISTORY_OK, loader_.LoadText(kTextOk));

    PlaceAtMainWindowTopRight(*this);

    for (int i = 0; i < history_.Size(); ++i)
        if (!history_.Text(i).empty()) list_.AddEntry(i);
    list_.SetSelIndex(0);
}

void THistoryDialog::TakeEntry() {
    const int entry = list_.HistoryIndex(list_.GetSelIndex());
    if (entry < 0) return;
    std::string text = history_.Text(entry);
    if (text.size() > static_cast<size_t>(HistoryList::kTextSize - 1)) text.resize(HistoryList::kTextSize - 1);
    // An entry without a valid slot (hand-edited settings) keeps the current slot.
    const int slot = history_.Slot(entry);
    if (IsValidSlot(slot)) takenSlot_ = slot;
    takenWord_ = text;
    taken_ = true;
}

void THistoryDialog::CmOk() {
    if (list_.GetSelIndex() >= 0) TakeEntry();
    CloseWindow(1);
}

void THistoryDialog::EvListNotify(UINT code) {
    if (code != LBN_DBLCLK || list_.GetSelIndex() < 0) return;
    TakeEntry();
    CloseWindow(1);
}

}  // namespace lex
