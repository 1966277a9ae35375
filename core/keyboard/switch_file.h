// The switch file "prepinac.tsc": the eleven hot keys of the keyboard product,
// ten that switch to quick-switch buttons 1 to 10 and one that turns the
// keyboard off. 44 bytes, eleven records of two little-endian int16 values
// (modifiers Shift 1 + Alt 2 + Ctrl 4, hardware scan code; -1 = no key).
// Portable: ts writes it one entry at a time; the resident program reads it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/files/file_system.h"

namespace lex::keyboard {

constexpr char kSwitchFileName[] = "prepinac.tsc";
constexpr int kHotKeyCount = 11;
constexpr int kDeactivateHotKey = 10;  // the entry that turns the keyboard off
constexpr size_t kSwitchFileSize = 4 * kHotKeyCount;

struct HotKey {
    int16_t Modifiers = 0;
    int16_t ScanCode = -1;
    bool operator==(const HotKey& o) const { return Modifiers == o.Modifiers && ScanCode == o.ScanCode; }
};

using HotKeys = std::array<HotKey, kHotKeyCount>;

// Ctrl+Alt with F1..F10 for entries 0..9, Ctrl+Alt+F12 for entry 10.
HotKey StandardHotKey(int entry);
// The number of the F key of the standard hot key (1..10, 12 for entry 10).
int StandardFunctionKeyNumber(int entry);

std::string EncodeSwitchFile(const HotKeys& keys);
HotKeys DecodeSwitchFile(const std::string& bytes);  // missing records: {0, -1}

// The entries of a switch file. A missing, unreadable or short file gives
// {0, -1} (no key) for every entry it does not hold whole.
HotKeys ReadSwitchFile(lex::FileSystem& files, const std::string& path);
// Writes all eleven entries (44 bytes) through a temporary file; false when the
// file could not be written (the old one then stays as it was).
bool WriteSwitchFile(lex::FileSystem& files, const std::string& path, const HotKeys& keys);

}  // namespace lex::keyboard
