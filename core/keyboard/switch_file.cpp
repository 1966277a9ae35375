#include "core/keyboard/switch_file.h"

#include "core/files/whole_files.h"

namespace lex::keyboard {

namespace {

constexpr int kCtrlAlt = 2 + 4;
constexpr int kScanF1 = 59;
constexpr int kScanF12 = 88;

int16_t ReadInt16(const std::string& bytes, size_t at) {
    const unsigned lo = static_cast<unsigned char>(bytes[at]);
    const unsigned hi = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

void AppendInt16(std::string& bytes, int16_t value) {
    const auto v = static_cast<uint16_t>(value);
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>(v >> 8));
}

}  // namespace

HotKey StandardHotKey(int entry) {
    HotKey key;
    key.Modifiers = kCtrlAlt;
    key.ScanCode = static_cast<int16_t>(entry == kDeactivateHotKey ? kScanF12 : kScanF1 + entry);
    return key;
}

int StandardFunctionKeyNumber(int entry) { return entry == kDeactivateHotKey ? 12 : entry + 1; }

std::string EncodeSwitchFile(const HotKeys& keys) {
    std::string bytes;
    for (const HotKey& k : keys) {
        AppendInt16(bytes, k.Modifiers);
        AppendInt16(bytes, k.ScanCode);
    }
    return bytes;
}

HotKeys DecodeSwitchFile(const std::string& bytes) {
    HotKeys keys;
    for (size_t i = 0; i < keys.size() && 4 * i + 4 <= bytes.size(); ++i) {
        keys[i].Modifiers = ReadInt16(bytes, 4 * i);
        keys[i].ScanCode = ReadInt16(bytes, 4 * i + 2);
    }
    return keys;
}

HotKeys ReadSwitchFile(lex::FileSystem& files, const std::string& path) {
    std::string bytes;
    if (path.empty() || lex::ReadWholeFile(files, path, bytes) != lex::ReadOutcome::Whole) return HotKeys{};
    return DecodeSwitchFile(bytes);
}

bool WriteSwitchFile(lex::FileSystem& files, const std::string& path, const HotKeys& keys) {
    if (path.empty()) return false;
    return lex::WriteFileReplacing(files, path, EncodeSwitchFile(keys)) == lex::WriteOutcome::Done;
}

}  // namespace lex::keyboard
