// The keyboard coupling as the translator and the search call it: the
// keyboard of a dictionary field of a slot (field 0 original, 1 translation),
// or the standard keyboard for any other input. The default does nothing; the
// coupling of the keyboard product takes its place through
// Program::Keyboards.
#pragma once

namespace lexora {

class KeyboardCoupling {
public:
    virtual ~KeyboardCoupling() = default;
    virtual void SelectSlotKeyboard(int slot, int field) { (void)slot, (void)field; }
    virtual void SelectStandardKeyboard() {}
};

// The coupling that does nothing.
inline KeyboardCoupling& NoKeyboardCoupling() {
    static KeyboardCoupling none;
    return none;
}

}  // namespace lexora
