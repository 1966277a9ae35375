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

lex::WordDialogView CaptureView(Program&, TDrawWindow& client) {
    // The texts as the lookup session has them, never read back out of the
    // controls: the word is the word that was looked up, byte for byte.
    lex::LookupShown shown = client.ShownEntry();
    lex::WordDialogView v;
    v.Slot = shown.Slot;
    v.Word = std::move(shown.Word);
    v.Pronunciation = std::move(shown.Pronunciation);
    v.TranslationLines = std::move(shown.TranslationLines);
    // Each shown line ends with a line break: the box's last line is empty.
    v.TranslationLines.emplace_back();
    if (TranslationBox* box = client.TranslationControl()) {
        const int caret = box->LineFromChar(-1);
        if (caret >= 0 && caret < static_cast<int>(v.TranslationLines.size())) v.CaretLine = v.TranslationLines[caret];
    }
    const int line = SelectedListLine(client);
    if (line >= 0) v.EntryOffset = client.Rows()[line].Offset;
    return v;
}

}  // namespace lexora
