// The verb tables: TSlovesa shows the English irregular verbs (NEPR_A.SLO,
// slots 0 and 1), TSlovesaNemcina the German ones (NEPR_N.SLO, slots 2 and
// 3). The user picks a verb in the combo box and sees its forms and its Czech
// translation; OK hands the verb (the combo box's text) back to the frame.
#pragma once

#include <string>

#include "lexora_program.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lexora {

// What tells the two tables apart.
struct VerbTableLayout {
    int TemplateId;
    const char* FileName;
    size_t FieldCount;
    int Slot;                  // whose fonts and keyboard the words get
    int OriginalLabelText;     // text id of label 1000
    const int* FieldControls;  // edit of fields 1 .. FieldCount - 1
    int TranslationControl;    // the edit in the translation font
};

class VerbTableDialog : public wl::Dialog {
public:
    VerbTableDialog(wl::Window* parent, Program& program, const VerbTableLayout& layout);

    void SetupWindow() override;
    // The verb chosen by OK (at most 254 characters).
    const std::string& ChosenVerb() const { return chosenVerb_; }
    // The table file: the program folder and the file name.
    std::string FilePath() const;

    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void EvVerbList(UINT code);
    // Shows the fields of the verb in the combo box.
    void EvVerbSelChange();
    UINT WordCodePage(int control) const;

    Program& program_;
    const VerbTableLayout& layout_;
    wl::ComboBox list_;
    std::string chosenVerb_;
};

class TSlovesa : public VerbTableDialog {
public:
    TSlovesa(wl::Window* parent, Program& program);
};

class TSlovesaNemcina : public VerbTableDialog {
public:
    TSlovesaNemcina(wl::Window* parent, Program& program);
};

}  // namespace lexora
