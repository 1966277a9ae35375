// The keyboard coupling as the dictionary dialogs see it: the windows that
// hold dictionary fields name the focused field (slot, original 0 /
// translation 1, pronunciation), the others ask for the standard keyboard.
// lexora implements it with the keyboard files of the keyboard product;
// lexbulk has no coupling (NoKeyboardCoupling).
#pragma once

namespace lex {

enum KeyboardField : int { kOriginalField = 0, kTranslationField = 1 };

class KeyboardCoupling {
public:
    virtual ~KeyboardCoupling() = default;
    virtual void SelectSlotKeyboard(int slot, int field, bool pronunciation) = 0;
    virtual void SelectStandardKeyboard() = 0;
};

class NoKeyboardCoupling : public KeyboardCoupling {
public:
    void SelectSlotKeyboard(int, int, bool) override {}
    void SelectStandardKeyboard() override {}
};

}  // namespace lex
