#include "collation.h"

#include <algorithm>
#include <cstring>

#include "collation_tables.h"

namespace lex {
namespace {

// Table A' (match lengths of type 0): table A plus the apostrophe.
struct TableAApostrophe {
    uint8_t w[256];
    constexpr TableAApostrophe() : w{} {
        for (int i = 0; i < 256; ++i) w[i] = tables::kTableA[i];
        w[0x27] = 33;
    }
};
constexpr TableAApostrophe kTableAApostrophe;

bool IsH(uint8_t c) { return c == 'h' || c == 'H'; }
bool IsI(uint8_t c) { return c == 'i' || c == 'I'; }

// The mapping of one word; `apostrophe` selects table A' for type 0.
size_t MapWord(const std::string& word, uint8_t* out, int sortType, bool apostrophe) {
    const size_t n = std::min(word.size(), kMaxTextLength);
    const uint8_t* s = reinterpret_cast<const uint8_t*>(word.data());
    size_t count = 0;
    switch (sortType) {
    case kSortEnglish:
    case kSortCzech:
    case kSortGerman: {
        const uint8_t* t = (sortType == kSortEnglish && apostrophe) ? kTableAApostrophe.w
                                                                    : tables::kTableA;
        for (size_t i = 0; i < n; ++i) {
            uint8_t c = s[i];
            uint8_t w = t[c];
            if (!w) continue;
            if (sortType == kSortCzech && w == 4 && i + 1 < n && IsH(s[i + 1])) {
                out[count++] = 11;
                ++i;
            } else if (sortType == kSortGerman && c == 0xDF) {
                out[count++] = w;
                out[count++] = w;
            } else {
                out[count++] = w;
            }
        }
        break;
    }
    case kSortRussian:
        for (size_t i = 0; i < n; ++i)
            if (uint8_t w = tables::kTableB[s[i]]) out[count++] = w;
        break;
    case kSortFrench:
    case kSortSpanish:
    case kSortItalian:
    case kSortDanish: {
        // The oe ligature is spelt out as o, e first.
        uint8_t expanded[2 * kMaxTextLength];
        size_t m = 0;
        for (size_t i = 0; i < n; ++i) {
            if (s[i] == 0x9C || s[i] == 0x8C) {
                expanded[m++] = 'o';
                expanded[m++] = 'e';
            } else {
                expanded[m++] = s[i];
            }
        }
        for (size_t i = 0; i < m; ++i) {
            uint8_t w = tables::kTableC[expanded[i]];
            if (!w) continue;
            if (sortType == kSortSpanish && w == 4 && i + 1 < m && IsH(expanded[i + 1])) {
                out[count++] = 5;
                ++i;
            } else if (sortType == kSortSpanish && w == 14 && i + 1 < m && IsI(expanded[i + 1])) {
                out[count++] = 15;
                ++i;
            } else {
                out[count++] = w;
            }
        }
        break;
    }
    case kSortPersian:
        for (size_t i = 0; i < n; ++i) {
            if (s[i] == 0xF2) {
                out[count++] = 28;
                out[count++] = 2;
            } else if (uint8_t w = tables::kTableF[s[i]]) {
                out[count++] = w;
            }
        }
        break;
    case kSortRumanian:
        for (size_t i = 0; i < n; ++i)
            if (uint8_t w = tables::kTableD[s[i]]) out[count++] = w;
        break;
    case kSortPolish:
        for (size_t i = 0; i < n; ++i)
            if (uint8_t w = tables::kTableE[s[i]]) out[count++] = w;
        break;
    default:  // unknown sort types collate like English
        for (size_t i = 0; i < n; ++i)
            if (uint8_t w = tables::kTableA[s[i]]) out[count++] = w;
        break;
    }
    return count;
}

int SlotSortType(int slot, const DictionarySettings& settings) {
    return (slot >= 0 && slot < kSlotCount) ? settings.SortType[slot] : 0;
}

bool StartsWithNote(const std::string& s) {
    return !s.empty() && static_cast<uint8_t>(s[0]) == kGrammarNoteByte;
}

std::string Reversed(const std::string& s) { return std::string(s.rbegin(), s.rend()); }

}  // namespace

size_t WordSortBytes(const std::string& word, uint8_t* out, int sortType) {
    return MapWord(word, out, sortType, false);
}

int32_t SortKeyOf(const std::string& word, int sortType) {
    uint8_t w[kMaxWeights];
    size_t n = MapWord(word, w, sortType, false);
    int32_t k[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < 4 && i < n; ++i) k[i] = w[i];
    return 1 + k[0] * 125000 + k[1] * 2500 + k[2] * 50 + k[3];
}

int32_t WordSortKey(const std::string& word, int slot, const DictionarySettings& settings) {
    if (word.empty()) return 1;
    int type = SlotSortType(slot, settings);
    if (type == kSortPersian) return SortKeyOf(Reversed(word), type);
    return SortKeyOf(word, type);
}

namespace {

int CompareWeights(const uint8_t* wa, size_t na, const uint8_t* wb, size_t nb) {
    size_t n = std::min(na, nb);
    for (size_t i = 0; i < n; ++i)
        if (wa[i] != wb[i]) return wa[i] < wb[i] ? -1 : 1;
    if (na == nb) return 0;
    return na < nb ? -1 : 1;
}

}  // namespace

int CompareWords(const std::string& a, const std::string& b, int sortType) {
    if (a.empty() && !b.empty()) return -1;
    if (!a.empty() && b.empty()) return 1;
    if (a.empty() && b.empty()) return 0;
    if (StartsWithNote(a)) return -1;
    if (StartsWithNote(b)) return 1;
    uint8_t wa[kMaxWeights], wb[kMaxWeights];
    size_t na = MapWord(a, wa, sortType, false);
    size_t nb = MapWord(b, wb, sortType, false);
    return CompareWeights(wa, na, wb, nb);
}

bool IsHighSentinelWord(const std::string& word) {
    if (word.size() < 100) return false;
    for (size_t i = 0; i < 100; ++i)
        if (static_cast<uint8_t>(word[i]) != 0x9E) return false;
    return true;
}

int CompareSlotWords(const std::string& a, const std::string& b, int slot,
                     const DictionarySettings& settings) {
    if (IsHighSentinelWord(a)) return 1;
    if (IsHighSentinelWord(b)) return -1;
    int type = SlotSortType(slot, settings);
    if (type == kSortPersian) return CompareWords(Reversed(a), Reversed(b), type);
    return CompareWords(a, b, type);
}

SlotWordCollation::SlotWordCollation(const std::string& word, int slot,
                                     const DictionarySettings& settings)
    : type_(SlotSortType(slot, settings)), high_(IsHighSentinelWord(word)), empty_(word.empty()) {
    const std::string mapped = type_ == kSortPersian ? Reversed(word) : word;
    note_ = StartsWithNote(mapped);
    count_ = MapWord(mapped, weights_, type_, false);
}

int SlotWordCollation::CompareWith(const std::string& a) const {
    if (IsHighSentinelWord(a)) return 1;
    if (high_) return -1;
    if (a.empty() && !empty_) return -1;
    if (!a.empty() && empty_) return 1;
    if (a.empty() && empty_) return 0;
    if (type_ == kSortPersian) return CompareMapped(Reversed(a));
    return CompareMapped(a);
}

int SlotWordCollation::CompareMapped(const std::string& a) const {
    if (StartsWithNote(a)) return -1;
    if (note_) return 1;
    uint8_t wa[kMaxWeights];
    const size_t na = MapWord(a, wa, type_, false);
    return CompareWeights(wa, na, weights_, count_);
}

int CompareText(const std::string& a, const std::string& b, bool reversed) {
    if (reversed) return CompareText(Reversed(a), Reversed(b), false);
    if (a.empty() && b.empty()) return 0;
    size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? 1 : -1;  // a proper prefix compares greater
}

int MatchLength(const std::string& a, const std::string& b, int sortType) {
    const int la = static_cast<int>(a.size()), lb = static_cast<int>(b.size());
    if (la == 0 && lb > 0) return -(la + lb);
    if (la > 0 && lb == 0) return la + lb;
    if (la == 0 && lb == 0) return 0;
    if (StartsWithNote(a)) return -100;
    if (StartsWithNote(b)) return 100;
    uint8_t wa[kMaxWeights], wb[kMaxWeights];
    int na = static_cast<int>(MapWord(a, wa, sortType, true));
    int nb = static_cast<int>(MapWord(b, wb, sortType, true));
    int n = std::min(na, nb);
    for (int i = 0; i < n; ++i)
        if (wa[i] != wb[i]) return wa[i] < wb[i] ? -i : i;
    if (na == nb) return na;
    return na < nb ? -n : n;
}

int SlotMatchLength(const std::string& a, const std::string& b, int slot,
                    const DictionarySettings& settings) {
    const int sum = static_cast<int>(a.size() + b.size());
    if (IsHighSentinelWord(a)) return sum;
    if (IsHighSentinelWord(b)) return -sum;
    return MatchLength(a, b, SlotSortType(slot, settings));
}

int MatchLengthPlain(const std::string& a, const std::string& b, int mode) {
    const int la = static_cast<int>(a.size()), lb = static_cast<int>(b.size());
    if (la == 0 && lb >= 1) return -(la + lb);
    if (la > 0 && lb == 0) return la + lb;
    if (la == 0 && lb == 0) return 0;
    if (StartsWithNote(a)) return -1;
    if (StartsWithNote(b)) return 1;
    auto at = [mode](const std::string& s, int i) {
        uint8_t c = static_cast<uint8_t>(s[i]);
        if (mode == 1 && c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 'a' + 'A');
        return c;
    };
    int n = std::min(la, lb);
    for (int i = 0; i < n; ++i) {
        uint8_t ca = at(a, i), cb = at(b, i);
        if (ca != cb) return ca < cb ? -(i + 1) : i + 1;
    }
    if (la == lb) return la;
    return la < lb ? -(n + 1) : n + 1;
}

int SlotMatchLengthPlain(const std::string& a, const std::string& b, int /*slot*/, int mode) {
    const int sum = static_cast<int>(a.size() + b.size());
    if (IsHighSentinelWord(a)) return sum;
    if (IsHighSentinelWord(b)) return -sum;
    return MatchLengthPlain(a, b, mode);
}

void ReverseText(std::string& text) { std::reverse(text.begin(), text.end()); }

}  // namespace lex
