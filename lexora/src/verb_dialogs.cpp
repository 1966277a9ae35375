#include "verb_dialogs.h"

#include <vector>

#include "messages.h"
#include "verb_ids.h"
#include "lexora/rules/verb_table.h"
#include "winlib/text.h"

namespace lexora {

namespace {

const int kEnglishFieldControls[] = {IDC_VERBS_PAST, IDC_VERBS_PARTICIPLE, IDC_VERBS_TRANSLATION};
const int kGermanFieldControls[] = {IDC_VERBS_GERMAN_MEANING,    IDC_VERBS_GERMAN_PRESENT,
                                    IDC_VERBS_GERMAN_PAST,       IDC_VERBS_GERMAN_SUBJUNCTIVE,
                                    IDC_VERBS_GERMAN_IMPERATIVE, IDC_VERBS_GERMAN_PARTICIPLE};

const VerbTableLayout kEnglishLayout{
    IDD_VERBS_ENGLISH,         kEnglishVerbFile,      kEnglishVerbFields,   0,
    lex::kTextOriginalEnglish, kEnglishFieldControls, IDC_VERBS_TRANSLATION};
const VerbTableLayout kGermanLayout{
    IDD_VERBS_GERMAN,         kGermanVerbFile,      kGermanVerbFields,        2,
    lex::kTextOriginalGerman, kGermanFieldControls, IDC_VERBS_GERMAN_MEANING};

}  // namespace

WL_BEGIN_MESSAGE_TABLE(VerbTableDialog, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
    WL_CONTROL(IDC_VERBS_LIST, EvVerbList)
WL_END_MESSAGE_TABLE()

VerbTableDialog::VerbTableDialog(wl::Window* parent, Program& program, const VerbTableLayout& layout)
    : wl::Dialog(parent, layout.TemplateId, program.Instance),
      program_(program),
      layout_(layout),
      list_(this, IDC_VERBS_LIST) {}

TSlovesa::TSlovesa(wl::Window* parent, Program& program) : VerbTableDialog(parent, program, kEnglishLayout) {}

TSlovesaNemcina::TSlovesaNemcina(wl::Window* parent, Program& program)
    : VerbTableDialog(parent, program, kGermanLayout) {}

std::string VerbTableDialog::FilePath() const { return program_.Config.ProgramFolder + layout_.FileName; }

UINT VerbTableDialog::WordCodePage(int control) const {
    return program_.SlotCodePage(layout_.Slot, control == layout_.TranslationControl ? 1 : 0);
}

void VerbTableDialog::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(program_.UiCodePage());
    SetText(program_.Texts.LoadText(lex::kTextIrregularVerbsCaption));
    std::vector<std::string> verbs;
    if (!ReadVerbList(*program_.Files, FilePath(), layout_.FieldCount, verbs)) {
        ShowOk(program_, this, lex::kTextVocabularyErrorCaption, lex::kTextDataFilesInaccessible);
        CloseWindow(IDCANCEL);
        return;
    }
    list_.SetCodePage(WordCodePage(IDC_VERBS_LIST));
    for (const std::string& verb : verbs) list_.AddString(verb);
    list_.SetSelIndex(0);
    EvVerbSelChange();

    SetItemText(IDC_VERBS_ORIGINAL_LABEL, program_.Texts.LoadText(layout_.OriginalLabelText));
    SetItemText(IDC_VERBS_TRANSLATION_LABEL, program_.Texts.LoadText(lex::kTextTranslationCzech));
    SetItemText(IDOK, program_.Texts.LoadText(lex::kTextOk));
    SetItemText(IDCANCEL, program_.Texts.LoadText(lex::kTextCancel));
    const int slot = layout_.Slot;
    auto setFont = [this](int control, HFONT font) {
        ::SendDlgItemMessageW(Handle(), control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    setFont(IDC_VERBS_LIST, program_.Fonts[0][slot]);
    for (size_t i = 0; i + 1 < layout_.FieldCount; ++i) {
        const int control = layout_.FieldControls[i];
        setFont(control, program_.Fonts[control == layout_.TranslationControl ? 1 : 0][slot]);
    }
    program_.Keyboards->SelectSlotKeyboard(slot, lex::kOriginalField, false);
}

void VerbTableDialog::EvVerbList(UINT code) {
    if (code == CBN_SELCHANGE) EvVerbSelChange();
}

void VerbTableDialog::EvVerbSelChange() {
    // While the selection changes the edit part still shows the old text:
    // the chosen verb is the selected item's.
    const int selected = list_.GetSelIndex();
    std::string verb = selected >= 0 ? list_.GetString(selected) : list_.GetText();
    if (verb.size() > kChosenVerbLength) verb.resize(kChosenVerbLength);
    std::vector<std::string> fields;
    const VerbSearch found = ReadVerbFields(*program_.Files, FilePath(), verb, layout_.FieldCount, fields);
    if (found == VerbSearch::NoFile) {
        const std::wstring path = wl::ToWide(FilePath(), CP_ACP);
        ::MessageBoxW(Handle(), path.c_str(), L"", MB_OK);
        return;
    }
    if (found != VerbSearch::Found) return;
    for (size_t i = 1; i < layout_.FieldCount; ++i) {
        const int control = layout_.FieldControls[i - 1];
        wl::SetItemText(Handle(), control, fields[i], WordCodePage(control));
    }
}

void VerbTableDialog::CmOk() {
    chosenVerb_ = list_.GetText();
    if (chosenVerb_.size() > kChosenVerbLength) chosenVerb_.resize(kChosenVerbLength);
    CloseWindow(IDOK);
}

}  // namespace lexora
