// TSortWindow: the sort type of every slot.
#include <windows.h>

#include "core/dialogs/dialog_texts.h"
#include "core/dialogs/settings_dialogs.h"
#include "core/engine/records.h"
#include "core/files/file_system.h"

namespace lex {

namespace {
const int kSortTypeNames[kSortTypeCount] = {
    kTextSortingEnglish, kTextSortingCzech,   kTextSortingGerman, kTextSortingRussian,
    kTextSortingFrench,  kTextSortingSpanish, kTextSortingItalian, kTextDanish,
    kTextPersian,        kTextRumanian,       kTextPolish,
};
constexpr int kFirstUserSlot = 12;  // pairs 0..5 are fixed

}  // namespace

bool SlotHoldsEntries(FileSystem& files, const DictionarySettings& settings, int slot) {
    if (!IsValidSlot(slot)) return false;
    const int64_t emptyNodes = static_cast<int64_t>(kFileHeaderSize) + 2 * WordNode::kSize;
    // A node file that is there but cannot be looked at may hold entries.
    const int64_t size = files.FileSize(settings.NodePaths[slot]);
    return size == kUnknownFileSize || size > emptyNodes;
}

WL_BEGIN_MESSAGE_TABLE(TSortWindow, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

TSortWindow::TSortWindow(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host) {
    for (int type = 0; type < kSortTypeCount; ++type) {
        names_[type] = host_.Texts.LoadText(kSortTypeNames[type]);
        if (names_[type].size() > 19) names_[type].resize(19);
    }
    for (int slot = 0; slot < kSlotCount; ++slot)
        lists_.push_back(std::make_unique<wl::ComboBox>(this, IDC_SORT_TYPE_FIRST + slot));
}

void TSortWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    SetDialogTexts(*this, t, kTextSortingCaption,
                   {{IDOK, kTextOk}, {IDCANCEL, kTextCancel}, {IDC_SORT_NOTE, kTextSortingFollowManual}});
    SetRowLabels(*this, t);
    for (int i = 0; i < 4; ++i)
        SetItemText(IDC_COLUMN_HEAD_FIRST + i, t.LoadText(i % 2 ? kTextSortingColumn : kTextSortingDictionaryColumn));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SetItemText(IDC_SORT_TITLE_FIRST + slot, host_.Config.DictionaryTitles[slot]);
        for (const std::string& name : names_) lists_[slot]->AddString(name);
        lists_[slot]->SetSelIndex(host_.Config.Dictionary.SortType[slot]);
    }
    host_.OfferStandardKeyboard();
}

void TSortWindow::CmOk() {
    DictionarySettings& d = host_.Config.Dictionary;
    // A list without a selection keeps its slot's type.
    std::array<int16_t, kSlotCount> chosen = d.SortType;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int index = lists_[slot]->GetSelIndex();
        if (index >= 0 && index < kSortTypeCount) chosen[slot] = static_cast<int16_t>(index);
    }
    // The files of a slot with entries are ordered by its type: searching them
    // by another would miss words. Such a change is refused, nothing written.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (chosen[slot] == d.SortType[slot]) continue;
        if (slot < kFirstUserSlot || SlotHoldsEntries(host_.Files, d, slot)) {
            lists_[slot]->SetSelIndex(d.SortType[slot]);
            host_.ShowMessage(this, kTextErrorCaption, kTextSortTypeLocked);
            return;
        }
    }
    for (int pair = 0; pair < kPairCount; ++pair)
        for (int direction = 0; direction < 2; ++direction)
            host_.Settings.WriteInt(Setting::SortType, chosen[2 * pair + direction], pair, direction);
    d.SortType = chosen;
    CloseWindow(IDOK);
}

}  // namespace lex
