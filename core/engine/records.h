// The on-disk records of a slot and of the action log, serialised
// little-endian byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lex {

constexpr char kFileHeaderText[] = "Vicejazycny slovnik Lexora Sarvo, s.r.o.";
constexpr size_t kFileHeaderSize = 40;
static_assert(sizeof(kFileHeaderText) == kFileHeaderSize + 1, "header is 40 bytes");

constexpr int32_t kLowSentinelNode = 40;
constexpr int32_t kHighSentinelNode = 59;
constexpr int32_t kWordCountOffset = 40;
constexpr int32_t kFirstUserTranslation = 44;

// NodeFlags.
constexpr uint8_t kFlagDisk = 0x01;
constexpr uint8_t kFlagCd = 0x02;
constexpr uint8_t kFlagArchive = 0x40;
constexpr uint8_t kFlagDeleted = 0x80;

inline void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }
inline int32_t GetI32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 |
                                static_cast<uint32_t>(p[3]) << 24);
}

struct KeyRecord {
    static constexpr size_t kSize = 9;
    uint8_t Reserved = 0;
    int32_t SortKey = 0;
    int32_t Node = 0;
    void Encode(uint8_t* p) const {
        p[0] = Reserved;
        PutI32(p + 1, SortKey);
        PutI32(p + 5, Node);
    }
    static KeyRecord Decode(const uint8_t* p) { return {p[0], GetI32(p + 1), GetI32(p + 5)}; }
};

struct WordNode {
    static constexpr size_t kSize = 19;
    int32_t Previous = 0;
    int32_t Next = 0;
    int32_t FirstTranslation = 0;
    int32_t TextOffset = 0;
    uint8_t Flags = 0;
    uint8_t WordLength = 0;
    uint8_t PronunciationLength = 0;
    bool Deleted() const { return (Flags & kFlagDeleted) != 0; }
    void Encode(uint8_t* p) const {
        PutI32(p, Previous);
        PutI32(p + 4, Next);
        PutI32(p + 8, FirstTranslation);
        PutI32(p + 12, TextOffset);
        p[16] = Flags;
        p[17] = WordLength;
        p[18] = PronunciationLength;
    }
    static WordNode Decode(const uint8_t* p) {
        return {GetI32(p), GetI32(p + 4), GetI32(p + 8), GetI32(p + 12), p[16], p[17], p[18]};
    }
};

struct TranslationHead {
    static constexpr size_t kSize = 6;
    int32_t Next = 0;
    uint8_t Flags = 0;
    uint8_t Length = 0;
    bool Deleted() const { return (Flags & kFlagDeleted) != 0; }
    void Encode(uint8_t* p) const {
        PutI32(p, Next);
        p[4] = Flags;
        p[5] = Length;
    }
    static TranslationHead Decode(const uint8_t* p) { return {GetI32(p), p[4], p[5]}; }
};

// Actions of the log.
constexpr uint8_t kActionDeleted = 2;
constexpr uint8_t kActionAdded = 3;

struct ActionRecord {
    static constexpr size_t kSize = 14;
    uint8_t Action = 0;
    uint8_t Slot = 0;
    int32_t Group = 0;
    int32_t Node = 0;         // in the state block: the current count
    int32_t Translation = 0;
    void Encode(uint8_t* p) const {
        p[0] = Action;
        p[1] = Slot;
        PutI32(p + 2, Group);
        PutI32(p + 6, Node);
        PutI32(p + 10, Translation);
    }
    static ActionRecord Decode(const uint8_t* p) {
        return {p[0], p[1], GetI32(p + 2), GetI32(p + 6), GetI32(p + 10)};
    }
};

constexpr int32_t kLogStateOffset = 4;
constexpr int32_t kLogFirstRecord = 18;

}  // namespace lex
