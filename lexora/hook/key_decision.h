// What lexora's keyboard hook does with one key event while the keyboard
// coupling is on: pass it on, swallow it, type characters into the focused
// field or start a program. Portable: the hook procedure only gathers the
// event and the modifier keys, asks KeyboardHookState, and carries out the
// answer. Layout files are read through the keyboard file module of ts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/files/whole_files.h"
#include "core/keyboard/keyboard_file.h"

namespace lexora {

// Virtual keys the decision looks at (the Win32 numbers).
constexpr unsigned kVkShift = 0x10;
constexpr unsigned kVkControl = 0x11;
constexpr unsigned kVkMenu = 0x12;
constexpr unsigned kVkNumpad0 = 0x60;
constexpr unsigned kVkNumpad9 = 0x69;
constexpr unsigned kVkMultiply = 0x6A;
constexpr unsigned kVkAdd = 0x6B;
constexpr unsigned kVkSubtract = 0x6D;
constexpr unsigned kVkDecimal = 0x6E;
constexpr unsigned kVkDivide = 0x6F;
// The keypad keys: their events are looked up in the keypad table too.
bool IsKeypadKey(unsigned virtualKey);

// Hook codes: only a key taken from the queue is handled; a peek that leaves
// the key in the queue is passed on, so that no key is handled twice.
constexpr int kHookAction = 0;

// Requested paths that name no keyboard.
constexpr char kNoKeyboard[] = "X";
constexpr char kNoKeyboardFile[] = "ne_exs";
bool NamesNoKeyboard(const std::string& path);

struct KeyInput {
    int Code = kHookAction;
    unsigned VirtualKey = 0;
    uint32_t KeyData = 0;  // scan code in bits 16..23; bit 31 set for a key-up
    // The modifier keys as they are at this event.
    bool Shift = false;
    bool Alt = false;
    bool Ctrl = false;
    bool CapsLock = false;  // toggled on

    int ScanCode() const { return static_cast<int>((KeyData >> 16) & 0xFF); }
    bool KeyUp() const { return (KeyData & 0x80000000u) != 0; }
};

// Key state 0..7 of the modifiers: Shift 1 + Alt 2 + Ctrl 4; CapsLock turns
// Shift over.
int ModifierState(const KeyInput& in);

enum class KeyAction { Pass, Swallow, Type, Run };
struct KeyDecision {
    KeyAction Action = KeyAction::Pass;
    std::vector<uint8_t> Chars;  // Type: the characters in order, in the layout's 8-bit code page
    bool ReleaseAlt = false;     // Type: the Alt key is let go first (a typed character, not a menu key)
    std::string Command;         // Run: the command line
};

// The [RUN] command of a key in a state ("" when there is none).
using RunCommandSource = std::function<std::string(int group, int key, int state)>;

// The decision itself. `pendingPrefix` is the dead key waiting for its next
// key (-1 none); the decision sets and clears it.
KeyDecision DecideKey(const KeyInput& in, const lex::keyboard::LayoutTables& tables, const RunCommandSource& runCommand,
                      int& pendingPrefix);

// Longest [RUN] command taken.
constexpr int kMaxRunCommandLength = 254;

// The hook's whole state: the layout of the requested keyboard file, loaded
// when the request changes, and the pending dead key.
class KeyboardHookState {
public:
    // `notFound` is told once per requested path that cannot be loaded.
    KeyboardHookState(lex::FileSystem& files, std::function<void(const std::string& path)> notFound)
        : files_(files), notFound_(std::move(notFound)) {}

    KeyDecision OnKey(const KeyInput& in, bool couplingOn, const std::string& requestedPath);

    // Loads a layout file: every scan code and character masked to 8 bits. A
    // missing or short file leaves every table empty (keys pass through).
    bool Load(const std::string& path);

    const std::string& LoadedPath() const { return loadedPath_; }
    int PendingPrefix() const { return pendingPrefix_; }
    const lex::keyboard::LayoutTables& Tables() const { return tables_; }

private:
    std::string RunCommand(int group, int key, int state);

    lex::FileSystem& files_;
    std::function<void(const std::string&)> notFound_;
    lex::keyboard::LayoutTables tables_;
    std::string loadedPath_;  // the path last asked for, loaded or not
    bool loaded_ = false;
    int pendingPrefix_ = -1;
};

}  // namespace lexora
