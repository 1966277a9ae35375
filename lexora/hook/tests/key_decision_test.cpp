// The keyboard hook's decision, by a table of key events against a small
// layout, and the loading of layout files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/files/testing/test_files.h"
#include "lexora/hook/key_decision.h"

namespace {

using lexora::KeyAction;
using lexora::KeyInput;

constexpr int kA = 0x1E, kB = 0x30, kZ = 0x2C, kEquals = 0x0D, kSlash = 0x35, kHome7 = 0x47, kF2 = 0x3C, kQ = 0x10,
              kUnknown = 0x50, kCtl = 0x20;

lex::keyboard::LayoutTables TestLayout() {
    lex::keyboard::LayoutTables t;
    auto& a = t.MainKeys[5];
    a.ScanCode = kA;
    a.Chars[0] = 0xE4;   // ä
    a.Chars[1] = 0xC4;   // Ä
    a.Chars[5] = 0x01;   // Ctrl+Shift
    a.Chars[16] = 0xE1;  // after dead key 2 (index 1): á
    t.MainKeys[6].ScanCode = kEquals;
    t.MainKeys[6].Chars[0] = 0xB4;  // the dead key's own character
    t.Prefixes[1] = {0, kEquals};
    t.Prefixes[3] = {1, kB};  // Shift+b is a dead key, b alone types
    t.MainKeys[7].ScanCode = kB;
    t.MainKeys[7].Chars[0] = 'b';
    t.MainKeys[8].ScanCode = kZ;  // run flag with a one-character command: types
    t.MainKeys[8].Chars[0] = 'z';
    t.SetRunFlag(lex::keyboard::kMainKeys, 8, 0, 1);
    t.MainKeys[9].ScanCode = kSlash;
    t.MainKeys[9].Chars[0] = '-';
    t.KeypadKeys[0].ScanCode = kSlash;
    t.KeypadKeys[0].Chars[0] = 0xF7;  // ÷
    t.MainKeys[10].ScanCode = kHome7;
    t.MainKeys[10].Chars[0] = 'h';
    t.KeypadKeys[1].ScanCode = kHome7;
    t.KeypadKeys[1].Chars[0] = '7';
    t.FunctionKeys[1].ScanCode = kF2;
    t.SetRunFlag(lex::keyboard::kFunctionKeys, 1, 0, 1);
    t.SetRunFlag(lex::keyboard::kFunctionKeys, 1, 8, 1);
    t.MainKeys[11].ScanCode = kQ;
    t.MainKeys[11].Chars[0] = 31;  // mapped, but no character
    t.MainKeys[12].ScanCode = kCtl;
    t.SetRunFlag(lex::keyboard::kMainKeys, 12, 0, 1);  // run flag, no [RUN] entry, no character
    return t;
}

std::string Commands(int group, int key, int state) {
    if (group == lex::keyboard::kFunctionKeys && key == 1 && state == 0) return "notepad.exe";
    if (group == lex::keyboard::kFunctionKeys && key == 1 && state == 8) return "calc.exe";
    if (group == lex::keyboard::kMainKeys && key == 8 && state == 0) return "x";
    return "";
}

struct Case {
    const char* what;
    unsigned vk;
    int scan;
    bool up;
    const char* mods;  // S shift, A alt, C ctrl, L caps lock
    int pendingBefore;
    KeyAction action;
    std::string chars;
    std::string command;
    int pendingAfter;
};

TEST(KeyDecision, TableOfEvents) {
    const lex::keyboard::LayoutTables t = TestLayout();
    const KeyAction P = KeyAction::Pass, W = KeyAction::Swallow, T = KeyAction::Type, R = KeyAction::Run;
    const Case cases[] = {
        {"a", 'A', kA, false, "", -1, T, "\xe4", "", -1},
        {"Shift+a", 'A', kA, false, "S", -1, T, "\xc4", "", -1},
        {"CapsLock+a", 'A', kA, false, "L", -1, T, "\xc4", "", -1},
        {"CapsLock+Shift+a", 'A', kA, false, "SL", -1, T, "\xe4", "", -1},
        {"CapsLock+Ctrl+a is state 5", 'A', kA, false, "CL", -1, T, "\x01", "", -1},
        {"Alt+a has no character", 'A', kA, false, "A", -1, P, "", "", -1},
        {"key-up of a typed key", 'A', kA, true, "", -1, W, "", "", -1},
        {"key-up of an unknown key", 'X', kUnknown, true, "", -1, P, "", "", -1},
        {"unknown key", 'X', kUnknown, false, "", -1, P, "", "", -1},
        {"modifier keys pass", lexora::kVkShift, 0x2A, false, "S", 1, P, "", "", 1},
        {"Ctrl passes", lexora::kVkControl, 0x1D, false, "C", -1, P, "", "", -1},
        {"dead key", 0xBB, kEquals, false, "", -1, W, "", "", 1},
        {"dead key's key-up", 0xBB, kEquals, true, "", 1, W, "", "", 1},
        {"dead key replaces a pending one", 'B', kB, false, "S", 1, W, "", "", 3},
        {"dead key then a", 'A', kA, false, "", 1, T, "\xe1", "", -1},
        {"dead key then b: both base characters", 'B', kB, false, "", 1, T, "\xb4" "b", "", -1},
        {"dead key then unknown key: the dead key's own", 'X', kUnknown, false, "", 1, T, "\xb4", "", -1},
        {"run key starts its command", 0x71, kF2, false, "", -1, R, "", "notepad.exe", -1},
        {"run key keeps a pending dead key", 0x71, kF2, false, "", 0, R, "", "calc.exe", 0},
        {"a key without a run after a dead key", 0x71, kF2, false, "", 1, T, "\xb4", "", -1},
        {"one-character command types", 'Z', kZ, false, "", -1, T, "z", "", -1},
        {"run flag without command or character", ' ', kCtl, false, "", -1, W, "", "", -1},
        {"character 31 is no character", 'Q', kQ, false, "", -1, W, "", "", -1},
        {"main '/'", 0xBF, kSlash, false, "", -1, T, "-", "", -1},
        {"keypad '/' by its own key", lexora::kVkDivide, kSlash, false, "", -1, T, "\xf7", "", -1},
        {"Home is a main key", 0x24, kHome7, false, "", -1, T, "h", "", -1},
        {"keypad 7 is the keypad key", 0x67, kHome7, false, "", -1, T, "7", "", -1},
        {"key-up is bit 31 only", 'A', kA, true, "S", -1, W, "", "", -1},
    };
    for (const Case& c : cases) {
        KeyInput in;
        in.VirtualKey = c.vk;
        in.KeyData = (static_cast<uint32_t>(c.scan) << 16) | 1u | (c.up ? 0xC0000000u : 0u);
        const std::string mods = c.mods;
        in.Shift = mods.find('S') != std::string::npos;
        in.Alt = mods.find('A') != std::string::npos;
        in.Ctrl = mods.find('C') != std::string::npos;
        in.CapsLock = mods.find('L') != std::string::npos;
        int pending = c.pendingBefore;
        const lexora::KeyDecision d = lexora::DecideKey(in, t, Commands, pending);
        EXPECT_EQ(static_cast<int>(c.action), static_cast<int>(d.Action)) << c.what;
        EXPECT_EQ(c.chars, std::string(d.Chars.begin(), d.Chars.end())) << c.what;
        EXPECT_EQ(c.command, d.Command) << c.what;
        EXPECT_EQ(c.pendingAfter, pending) << c.what;
    }
}

TEST(KeyDecision, APeekIsPassedOnWithoutEffect) {
    const lex::keyboard::LayoutTables t = TestLayout();
    KeyInput in;
    in.Code = 3;  // a key looked at without removing it
    in.VirtualKey = 0xBB;
    in.KeyData = static_cast<uint32_t>(kEquals) << 16;
    int pending = -1;
    EXPECT_EQ(KeyAction::Pass, lexora::DecideKey(in, t, Commands, pending).Action);
    EXPECT_EQ(-1, pending);
}

std::string Image(const lex::keyboard::LayoutTables& t) {
    std::string bytes(lex::keyboard::kLayoutFileSize, '\0');
    lex::keyboard::EncodeLayout(t, reinterpret_cast<uint8_t*>(&bytes[0]));
    return bytes;
}

TEST(KeyboardHookState, LoadsMasksAndReadsRunCommands) {
    lex::testing::TempFolder dir{"lexorakeys-"};
    lex::keyboard::LayoutTables t = TestLayout();
    t.MainKeys[5].Chars[2] = 0x0161;  // stored with a high byte: used as 0x61
    lex::testing::WriteFileBytes(dir.Sub("k.tsb"), Image(t));
    lex::testing::WriteFileBytes(dir.Sub("k.ini"), "[RUN]\n1_1_0=notepad.exe\n");
    auto files = lex::MakePlatformFileSystem();
    std::vector<std::string> messages;
    lexora::KeyboardHookState hook(*files, [&](const std::string& p) { messages.push_back(p); });

    KeyInput in;
    in.VirtualKey = 'A';
    in.KeyData = static_cast<uint32_t>(kA) << 16;
    // Coupling off or no keyboard: everything passes, nothing is loaded.
    EXPECT_EQ(KeyAction::Pass, hook.OnKey(in, false, dir.Sub("k.tsb")).Action);
    EXPECT_EQ(KeyAction::Pass, hook.OnKey(in, true, "X").Action);
    EXPECT_EQ(KeyAction::Pass, hook.OnKey(in, true, "ne_exs").Action);
    EXPECT_EQ("", hook.LoadedPath());

    in.Alt = true;
    lexora::KeyDecision d = hook.OnKey(in, true, dir.Sub("k.tsb"));
    EXPECT_EQ(KeyAction::Type, d.Action);
    EXPECT_EQ(std::vector<uint8_t>{0x61}, d.Chars);
    EXPECT_TRUE(d.ReleaseAlt);
    in.Alt = false;
    in.VirtualKey = 0x71;
    in.KeyData = static_cast<uint32_t>(kF2) << 16;
    d = hook.OnKey(in, true, dir.Sub("k.tsb"));
    EXPECT_EQ(KeyAction::Run, d.Action);
    EXPECT_EQ("notepad.exe", d.Command);
    EXPECT_TRUE(messages.empty());
}

TEST(KeyboardHookState, AMissingOrShortFileIsReportedOnceAndEveryKeyPasses) {
    lex::testing::TempFolder dir{"lexorakeys-"};
    lex::testing::WriteFileBytes(dir.Sub("good.tsb"), Image(TestLayout()));
    lex::testing::WriteFileBytes(dir.Sub("short.tsb"), Image(TestLayout()).substr(0, 6000));
    auto files = lex::MakePlatformFileSystem();
    std::vector<std::string> messages;
    lexora::KeyboardHookState hook(*files, [&](const std::string& p) { messages.push_back(p); });
    KeyInput in;
    in.VirtualKey = 'A';
    in.KeyData = static_cast<uint32_t>(kA) << 16;
    ASSERT_EQ(KeyAction::Type, hook.OnKey(in, true, dir.Sub("good.tsb")).Action);
    for (const char* name : {"missing.tsb", "short.tsb"}) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(KeyAction::Pass, hook.OnKey(in, true, dir.Sub(name)).Action) << name;
            in.KeyData ^= 0x80000000u;  // down, up, down
        }
    }
    EXPECT_EQ((std::vector<std::string>{dir.Sub("missing.tsb"), dir.Sub("short.tsb")}), messages);
    // A new request of the good file loads it again.
    in.KeyData = static_cast<uint32_t>(kA) << 16;
    EXPECT_EQ(KeyAction::Type, hook.OnKey(in, true, dir.Sub("good.tsb")).Action);
}

}  // namespace
