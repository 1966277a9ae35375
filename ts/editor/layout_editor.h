// What the on-screen keyboard shows of a layout in one key state, and the
// edits its dialogs make to the layout in memory and to the working copy of
// its companion ini. No windows here: the dialogs call these.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/keyboard/keyboard_file.h"

namespace ts {

// The modifier toggles and the prefix selector of the on-screen keyboard.
struct ShownState {
    bool Shift = false;
    bool Alt = false;
    bool Ctrl = false;
    int PendingPrefix = -1;  // -1 none; p: the states after prefix p + 1

    // Shift 1 + Alt 2 + Ctrl 4 + 8 x (PendingPrefix + 1).
    int KeyState() const;
};

// How one on-screen key looks.
struct KeyFace {
    std::string Caption;       // its character in the shown state ("" for none)
    bool Active = false;       // a physical key is assigned (scan code not 0)
    bool Disabled = false;     // cannot be used: F1, F10, keypad key 1, the keypad with Shift
    bool Marked = false;       // the dead key of the pending prefix
    bool StartsProgram = false;
    std::string Tip;           // the tooltip line ("" none)
};

struct KeyboardFaces {
    std::array<std::vector<KeyFace>, lex::keyboard::kKeyGroupCount> Keys;  // by group, by key index
    // The toggles that belong to the pending prefix's dead key.
    bool MarkShift = false, MarkAlt = false, MarkCtrl = false;
};

// Whether a key is unusable in the shown state.
bool KeyDisabled(int group, int key, const ShownState& shown);

// The faces of every key; `unusableText` is the tip of a disabled key.
KeyboardFaces ComputeFaces(const lex::keyboard::LayoutTables& tables, const ShownState& shown, lex::keyboard::ProfileFile& workIni,
                           const std::string& unusableText);

// The key and state an editing dialog works on.
struct KeyRef {
    int Group = -1;
    int Key = -1;
    int State = 0;
    bool Valid() const { return lex::keyboard::KeyCount(Group) > Key && Key >= 0 && State >= 0 && State < lex::keyboard::kKeyStateCount; }
};

// The character of a key in a state (the low byte; 0 none).
unsigned char KeyCharacter(const lex::keyboard::LayoutTables& tables, const KeyRef& ref);

// The key assignment dialog's OK: a character, or a program (run flag 1) with
// its command line, which is written only when longer than one character.
// False, with the key unchanged, when the command could not be written.
bool AssignKey(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref, bool startsProgram,
               unsigned char character, const std::string& command);

// The character the character map opens on for a key's caption: its first
// character when that is a tab or a code of 31 or more, else none (-1).
int CharacterMapStart(const std::string& caption);

// The character map's OK: the picked code (0..255) as the key's character and
// no program. A pick of -1 (nothing picked) changes nothing; false then.
bool ApplyCharacterPick(lex::keyboard::LayoutTables& tables, const KeyRef& ref, int picked);

// The delete-key dialog. Each clears the characters, the run flags and the
// [RUN] command lines (longer than one character) of the states it takes, so
// that no cleared state still starts a program.
void DeleteStateImage(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref);
void DeleteAllImages(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref);
void DeleteWholeKey(lex::keyboard::LayoutTables& tables, lex::keyboard::ProfileFile& workIni, const KeyRef& ref);

// The new-key dialog's OK: the key's scan code.
void SetScanCode(lex::keyboard::LayoutTables& tables, const KeyRef& ref, int scanCode);
// The prefix dialog: prefix p (0..4) is the key `scanCode` with `modifiers`
// (Shift 1 + Alt 2 + Ctrl 4); deleting writes {0, 0}.
void SetPrefix(lex::keyboard::LayoutTables& tables, int prefix, int modifiers, int scanCode);
void DeletePrefix(lex::keyboard::LayoutTables& tables, int prefix);

}  // namespace ts
