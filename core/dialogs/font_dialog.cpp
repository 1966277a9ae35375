// TConfigFontWindow and TScriptWindow: the three fonts of a slot.
#include "core/dialogs/dialog_texts.h"
#include "core/dialogs/settings_dialogs.h"
#include "winlib/common_dialogs.h"
#include "winlib/fonts.h"

namespace lex {

namespace {

struct Script {
    BYTE charSet;
    int textId;
};
const Script kScripts[TScriptWindow::kScriptCount] = {
    {ANSI_CHARSET, kTextScriptWestern},          {GREEK_CHARSET, kTextScriptGreek},
    {TURKISH_CHARSET, kTextScriptTurkish},       {BALTIC_CHARSET, kTextScriptBaltic},
    {EASTEUROPE_CHARSET, kTextScriptCentralEuropean}, {RUSSIAN_CHARSET, kTextScriptCyrillic},
    {SYMBOL_CHARSET, kTextScriptSymbol},         {HEBREW_CHARSET, kTextScriptHebrew},
    {ARABIC_CHARSET, kTextScriptArabic},
};
constexpr int kWestern = 0;
constexpr int kCentralEuropean = 4;
constexpr int kCyrillic = 5;

// Shared by every font choice of the program's life.
ScriptChoice scriptChoice;
COLORREF rememberedColor = 0;

}  // namespace

BYTE ScriptCharSet(int index) {
    return index >= 0 && index < TScriptWindow::kScriptCount ? kScripts[index].charSet : ANSI_CHARSET;
}

int ScriptPreselection(const ScriptChoice& choice) {
    const int s = choice.Slot;
    int index = kWestern;
    if (s <= 11) {
        index = kCentralEuropean;
    } else {
        // User pairs: the script chosen last, when the list has it.
        for (int i = 0; i < TScriptWindow::kScriptCount; ++i)
            if (kScripts[i].charSet == choice.CharSet) index = i;
    }
    if (choice.Side == 0) {
        if (s == 0 || s == 2 || s == 6 || s == 8 || s == 10) index = kWestern;
        if (s == 4) index = kCyrillic;
    } else {
        if (s == 1 || s == 3 || s == 7 || s == 9 || s == 11) index = kWestern;
        if (s == 5) index = kCyrillic;
    }
    return index;
}

// --- TConfigFontWindow -----------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TConfigFontWindow, wl::Dialog)
    WL_COMMAND(IDC_FONTS_ORIGINAL, CmOriginalFont)
    WL_COMMAND(IDC_FONTS_TRANSLATION, CmTranslationFont)
    WL_COMMAND(IDC_FONTS_PRONUNCIATION, CmPronunciationFont)
WL_END_MESSAGE_TABLE()

TConfigFontWindow::TConfigFontWindow(wl::Window* parent, SettingsDialogHost& host, int templateId)
    : wl::Dialog(parent, templateId), host_(host), slots_(this, IDC_FONTS_SLOTS) {}

void TConfigFontWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    SetDialogTexts(*this, t, kTextFontCaption,
                   {{IDOK, kTextOk},
                    {IDC_FONTS_ORIGINAL, kTextOriginalFont},
                    {IDC_FONTS_TRANSLATION, kTextTranslationFont},
                    {IDC_FONTS_PRONUNCIATION, kTextPronunciationFont},
                    {IDC_FONTS_LABEL, kTextParticularLanguages}});
    for (const std::string& title : host_.Config.DictionaryTitles) slots_.AddString(title);
    slots_.SetSelIndex(host_.Config.Dictionary.CurrentSlot);
    host_.OfferStandardKeyboard();
}

void TConfigFontWindow::Choose(int type) {
    const int slot = slots_.GetSelIndex();
    if (IsValidSlot(slot)) ChooseSlotFont(type, slot);
}
void TConfigFontWindow::CmOriginalFont() { Choose(0); }
void TConfigFontWindow::CmTranslationFont() { Choose(1); }
void TConfigFontWindow::CmPronunciationFont() { Choose(2); }

void TConfigFontWindow::ChooseSlotFont(int type, int slot) {
    wl::FontDialogOptions options;
    options.flags = CF_SCREENFONTS | CF_FORCEFONTEXIST;
    options.font = host_.Settings.ReadFontSetting(type, slot);
    options.color = rememberedColor;
    options.minPointSize = 8;
    options.maxPointSize = 18;
    options.codePage = 1252;
    if (!wl::ChooseFontDialog(this, options)) return;

    rememberedColor = options.color;
    // The font as created, with the character set the system gave it.
    LOGFONTA final = options.font;
    if (HFONT created = ::CreateFontIndirectA(&options.font)) {
        ::GetObjectA(created, sizeof final, &final);
        ::DeleteObject(created);
    }
    scriptChoice.Slot = slot;
    scriptChoice.Side = type == 1 ? 1 : 0;
    if (type == 2) scriptChoice.CharSet = options.font.lfCharSet;
    TScriptWindow script(this, host_, scriptChoice);
    if (script.Execute() == IDOK) final.lfCharSet = static_cast<BYTE>(scriptChoice.CharSet);

    // Every view takes the new handle before the old one goes.
    if (host_.Fonts) {
        HFONT old = host_.Fonts[type][slot];
        host_.Fonts[type][slot] = wl::CreateFontShowing(final);
        if (host_.FontCharSets) host_.FontCharSets[type][slot] = final.lfCharSet;
        if (host_.FontsChanged) host_.FontsChanged();
        if (old) ::DeleteObject(old);
    }
    host_.Settings.WriteFontSetting(type, slot, final);
}

// --- TScriptWindow ------------------------------------------------------------------

WL_BEGIN_MESSAGE_TABLE(TScriptWindow, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

TScriptWindow::TScriptWindow(wl::Window* parent, SettingsDialogHost& host, ScriptChoice& choice, int templateId)
    : wl::Dialog(parent, templateId), host_(host), choice_(choice), list_(this, IDC_SCRIPT_LIST) {}

void TScriptWindow::SetupWindow() {
    wl::Dialog::SetupWindow();
    TextLoader& t = host_.Texts;
    SetDialogTexts(*this, t, kTextFontDoneCaption,
                   {{IDC_SCRIPT_PROMPT, kTextFontScriptPrompt}, {IDOK, kTextOk}, {IDCANCEL, kTextCancel}});
    for (const Script& script : kScripts) list_.AddString(t.LoadText(script.textId));
    list_.SetSelIndex(ScriptPreselection(choice_));
}

void TScriptWindow::CmOk() {
    const int index = list_.GetSelIndex();
    if (index >= 0) choice_.CharSet = ScriptCharSet(index);
    CloseWindow(IDOK);
}

}  // namespace lex
