#include "program.h"

namespace lexora {

UINT CharSetCodePage(BYTE charSet) {
    switch (charSet) {
    case EASTEUROPE_CHARSET: return 1250;
    case RUSSIAN_CHARSET: return 1251;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    default: return 1252;
    }
}

Program::Program(HINSTANCE instance, const std::string& settingsFile)
    : Instance(instance), Settings(settingsFile), Texts(instance), Files(lex::MakePlatformFileSystem()),
      Coupling(
          Settings, [this](int slot, int kind) { return SlotCodePage(slot, kind); }, [this] { return UiCodePage(); },
          [this](bool reversed) {
              if (Engine) Engine->ReversedEntry = reversed;
          }) {}

Program::~Program() {
    Engine.reset();
    DeleteFonts();
}

void Program::BindDisplay(lex::EngineDisplay& display) {
    Engine = std::make_unique<lex::EngineContext>(Config.Dictionary, *Files, display, *this);
}

void Program::SetCurrentSlot(int slot) {
    Config.Dictionary.CurrentSlot = lex::IsValidSlot(slot) ? slot : 0;
}

UINT Program::SlotCodePage(int slot, int side) const {
    if (!lex::IsValidSlot(slot) || side < 0 || side > 2) return 1252;
    return CharSetCodePage(FontCharSets[side][slot]);
}

lex::SlotLook Program::Look() {
    lex::SlotLook look;
    look.sourceFont = [this](int slot) { return Fonts[0][slot]; };
    look.sourceCodePage = [this](int slot) { return SlotCodePage(slot, 0); };
    return look;
}

void Program::CreateFonts() {
    DeleteFonts();
    for (int type = 0; type < 3; ++type) {
        for (int slot = 0; slot < lex::kSlotCount; ++slot) {
            LOGFONTA font = Settings.ReadFontSetting(type, slot);
            FontCharSets[type][slot] = font.lfCharSet;
            Fonts[type][slot] = ::CreateFontIndirectA(&font);
        }
    }
}

void Program::DeleteFonts() {
    for (auto& kind : Fonts) {
        for (HFONT& font : kind) {
            if (font) ::DeleteObject(font);
            font = nullptr;
        }
    }
}

void Program::ReportEngineError(const std::string&, const std::string&) {
    // Inconsistencies inside the files are not shown by the dictionary program.
}

void Program::AddToHistory(const std::string& word, int slot) { History.AddToHistory(word, slot); }

}  // namespace lexora
