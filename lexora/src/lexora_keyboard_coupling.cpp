#include "lexora_keyboard_coupling.h"

namespace lexora {

namespace {
constexpr size_t kMaxKeyboardPath = 253;
std::string Cut(std::string text) {
    if (text.size() > kMaxKeyboardPath) text.resize(kMaxKeyboardPath);
    return text;
}
}  // namespace

LexoraKeyboardCoupling::LexoraKeyboardCoupling(const lex::SettingsFile& settings, std::function<UINT(int, int)> codePage,
                                   std::function<UINT()> uiCodePage, std::function<void(bool)> reversed,
                                   std::string tastrixIni, std::string ts2000Ini)
    : settings_(settings), codePage_(std::move(codePage)), uiCodePage_(std::move(uiCodePage)),
      reversed_(std::move(reversed)), tastrix_(std::move(tastrixIni)), ts2000_(std::move(ts2000Ini)) {}

int LexoraKeyboardCoupling::ReadReversedEntryFlag(int slot, int field, bool pronunciation) const {
    if (!lex::IsValidSlot(slot)) return 0;
    return settings_.ReadReversedFlag(slot, pronunciation ? 2 : field == lex::kTranslationField ? 1 : 0);
}

void LexoraKeyboardCoupling::SetReversed(bool reversed) {
    reversedEntry_ = reversed;
    if (reversed_) reversed_(reversed);
}

void LexoraKeyboardCoupling::WriteActiveKeys() {
    const int value = active_ && couplingOn_ ? 1 : 0;
    if (value == written_) return;
    tastrix_.WriteInt(lex::TastrixKey::LexActive, value);
    ts2000_.WriteInt(lex::Ts2000Key::LexoraActive, value);
    written_ = value;
}

void LexoraKeyboardCoupling::SelectSlotKeyboard(int slot, int field, bool pronunciation) {
    if (!lex::IsValidSlot(slot)) return;
    SetReversed(ReadReversedEntryFlag(slot, field, pronunciation) != 0);
    WriteActiveKeys();
    if (!active_) return;
    const int kind = pronunciation ? 2 : field == lex::kTranslationField ? 1 : 0;
    requestedPath_ = Cut(settings_.ReadKeyboardPath(slot, kind));
    requestedCodePage_ = codePage_ ? codePage_(slot, pronunciation ? 2 : kind) : 1252;
}

void LexoraKeyboardCoupling::SelectStandardKeyboard() {
    SetReversed(false);
    WriteActiveKeys();
    requestedPath_ = Cut(settings_.ReadText(lex::Setting::StandardKeyboard));
    requestedCodePage_ = uiCodePage_ ? uiCodePage_() : 1252;
}

void LexoraKeyboardCoupling::SetDictionaryActive(bool active) {
    active_ = active;
    WriteActiveKeys();
}

void LexoraKeyboardCoupling::SetCouplingOn(bool on) {
    couplingOn_ = on;
    WriteActiveKeys();
}

}  // namespace lexora
