#include "word_commands.h"

#include "lexora_ids.h"
#include "messages.h"
#include "winlib/text.h"

namespace lexora {

lex::WordDialogServices WordDialogServicesOf(Program& program) {
    lex::WordDialogServices s{*program.Engine, program.Texts, program.Coupling, {}, {}, {}, {}};
    s.SlotName = [&program](int slot, int kind) {
        if (!lex::IsValidSlot(slot)) return std::string();
        return kind == 0 ? program.Config.OriginalNames[slot] : program.Config.TranslationNames[slot];
    };
    s.Font = [&program](int slot, int kind) {
        return lex::IsValidSlot(slot) && kind >= 0 && kind < 3 ? program.Fonts[kind][slot] : nullptr;
    };
    s.CodePage = [&program](int slot, int kind) { return program.SlotCodePage(slot, kind); };
    s.ShowMessage = [&program](wl::Window* parent, int caption, int text) { ShowOk(program, parent, caption, text); };
    return s;
}

int SelectedListLine(TDrawWindow& client) {
    WordBox* box = client.WordBoxControl();
    if (!box) return -1;
    const int line = static_cast<int>(box->Send(CB_GETCURSEL));
    return line >= 0 && line < static_cast<int>(client.Rows().size()) ? line : -1;
}

lex::WordDialogView CaptureView(Program& program, TDrawWindow& client) {
    lex::WordDialogView v;
    v.Slot = program.CurrentSlot();
    if (WordBox* box = client.WordBoxControl()) v.Word = box->GetText();
    v.Pronunciation = wl::GetItemText(client.Handle(), IDC_PRONUNCIATION, program.SlotCodePage(v.Slot, 2));
    if (TranslationBox* box = client.TranslationControl()) {
        const int lines = box->GetLineCount();
        for (int i = 0; i < lines; ++i) v.TranslationLines.push_back(box->GetLine(i));
        v.CaretLine = box->GetLine(box->LineFromChar(-1));
    }
    const int line = SelectedListLine(client);
    if (line >= 0) v.EntryOffset = client.Rows()[line].Offset;
    return v;
}

}  // namespace lexora
