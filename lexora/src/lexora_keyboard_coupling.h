// The keyboard coupling of lexora: which keyboard file the in-process
// keyboard hook types through, and whether the focused field is typed right
// to left. Every window with dictionary fields (lookup window, word dialogs,
// clipboard watch, DDE server, translator, search) calls it through
// lex::KeyboardCoupling (SelectSlotKeyboard for a dictionary field,
// SelectStandardKeyboard for any other input); the frame tells it when the
// program becomes active or inactive and when the hook is installed.
//
// tastrix.ini [LEX] "AKTIVNI" and ts2000.ini [LEXORA] "AKTIVNI" tell the
// resident keyboard program whether the dictionary is active with its
// coupling on; they are written (tastrix.ini first) when that value changes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/dialogs/keyboard_coupling.h"
#include "core/settings/settings.h"
#include "core/settings/tastrix_ini.h"
#include "core/settings/ts2000_ini.h"

namespace lexora {

class LexoraKeyboardCoupling : public lex::KeyboardCoupling {
public:
    // codePage(slot, kind): code page of a slot's original (0), translation
    // (1) or pronunciation (2) texts; reversed: where ReversedEntry goes.
    LexoraKeyboardCoupling(const lex::SettingsFile& settings, std::function<UINT(int slot, int kind)> codePage,
                     std::function<UINT()> uiCodePage, std::function<void(bool)> reversed,
                     std::string tastrixIni = lex::kTastrixIniFileName,
                     std::string ts2000Ini = lex::kTs2000IniFileName);

    // lex::KeyboardCoupling
    void SelectSlotKeyboard(int slot, int field, bool pronunciation) override;
    void SelectStandardKeyboard() override;

    // The program became active (true) or inactive: WM_ACTIVATEAPP's wParam.
    void SetDictionaryActive(bool active);
    // The hook is installed and enabled.
    void SetCouplingOn(bool on);

    bool DictionaryActive() const { return active_; }
    bool CouplingOn() const { return couplingOn_; }
    bool ReversedEntry() const { return reversedEntry_; }
    // The keyboard file the hook is to use ("X": none) and the code page of
    // the field it types into.
    const std::string& RequestedPath() const { return requestedPath_; }
    UINT RequestedCodePage() const { return requestedCodePage_; }

    // [TASTRIX] "Tastrix?_ZAPIS%d_%d" of a field.
    int ReadReversedEntryFlag(int slot, int field, bool pronunciation) const;

private:
    void WriteActiveKeys();
    void SetReversed(bool reversed);

    const lex::SettingsFile& settings_;
    std::function<UINT(int, int)> codePage_;
    std::function<UINT()> uiCodePage_;
    std::function<void(bool)> reversed_;
    lex::TastrixIniFile tastrix_;
    lex::Ts2000IniFile ts2000_;
    bool active_ = false;
    bool couplingOn_ = false;
    bool reversedEntry_ = false;
    int written_ = -1;  // the AKTIVNI value last written (-1: none yet)
    std::string requestedPath_ = "X";
    UINT requestedCodePage_ = 1252;
};

}  // namespace lexora
