// The keyboard coupling as lexora's windows call it: whenever the focus may
// have moved to a dictionary field, the window names the slot and the field,
// and the coupling picks that field's keyboard. This default does nothing; the
// program's coupling replaces it (Program::Coupling).
#pragma once

namespace lexora {

constexpr int kOriginalField = 0;
constexpr int kTranslationField = 1;

class KeyboardCouplingCalls {
public:
    virtual ~KeyboardCouplingCalls() = default;
    // The keyboard of field `field` (kOriginalField, kTranslationField) of
    // `slot`, or of its pronunciation.
    virtual void SelectSlotKeyboard(int slot, int field, bool pronunciation) {
        (void)slot;
        (void)field;
        (void)pronunciation;
    }
};

}  // namespace lexora
