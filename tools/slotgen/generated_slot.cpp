#include "generated_slot.h"

#include <algorithm>
#include <map>
#include <random>

namespace lex {

std::vector<GeneratedEntry> GenerateEntries(int senses, unsigned seed) {
    static const char* kOnsets[] = {"b", "c", "d", "f", "g", "h", "k", "l", "m", "n", "p",
                                    "r", "s", "t", "v", "st", "tr", "pr", "br", "ch"};
    static const char* kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou"};
    // Czech syllables in code page 1250 (\xe8 c-caron, \xf8 r-caron, \x9a s-caron, \xed i-acute).
    static const char* kCzech[] = {"pro", "\xe8\x65", "st", "ko", "\xf8\x65", "va", "\x9ai", "n\xed",
                                   "do", "m\xec", "ka", "lo"};
    std::mt19937 rng(seed);
    std::vector<GeneratedEntry> entries;
    int made = 0;
    while (made < senses) {
        GeneratedEntry e;
        const int syllables = 2 + static_cast<int>(rng() % 3);
        for (int s = 0; s < syllables; ++s) {
            e.Word += kOnsets[rng() % 20];
            e.Word += kVowels[rng() % 7];
        }
        if (rng() % 3 == 0) e.Word += kOnsets[rng() % 14];
        if (rng() % 2) e.Pronunciation = "'" + e.Word;
        const int count = std::min(senses - made, 1 + static_cast<int>(rng() % 4));
        for (int t = 0; t < count; ++t) {
            std::string text;
            const int parts = 2 + static_cast<int>(rng() % 3);
            for (int p = 0; p < parts; ++p) text += kCzech[rng() % 12];
            if (rng() % 10 == 0) text = std::string(1, static_cast<char>(kGrammarNoteByte)) + "n. " + text;
            e.Translations.push_back(text);
        }
        e.Deleted = rng() % 50 == 0;
        made += count;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<std::string> LookupWords(const std::vector<GeneratedEntry>& entries) {
    std::vector<std::string> words;
    for (size_t i = 0; i < entries.size(); ++i) {
        words.push_back(entries[i].Word);
        if (i % 5 == 0) words.push_back(entries[i].Word + "zq");
    }
    return words;
}

namespace {

bool PutAll(FileSystem& fs, const std::string& path, const std::string& bytes) {
    FileHandle h = fs.Create(path);
    if (h == kNoFile) return false;
    const bool ok = WriteAt(fs, h, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
    fs.Close(h);
    return ok;
}

void Append(std::string& out, const uint8_t* p, size_t n) { out.append(reinterpret_cast<const char*>(p), n); }

}  // namespace

int WriteShippedSlot(EngineContext& ctx, int slot, std::vector<GeneratedEntry> entries) {
    if (!IsValidSlot(slot)) return -1;
    const DictionarySettings& s = ctx.Settings;
    auto before = [&](const GeneratedEntry& a, const GeneratedEntry& b) {
        const int c = CompareSlotWords(a.Word, b.Word, slot, s);
        return c != 0 ? c < 0 : CompareText(a.Word, b.Word) < 0;
    };
    std::stable_sort(entries.begin(), entries.end(), before);
    std::vector<GeneratedEntry> merged;
    for (GeneratedEntry& e : entries) {
        if (e.Word.empty() || e.Word.size() > kMaxTextLength) continue;
        if (!merged.empty() && merged.back().Word == e.Word) {
            for (std::string& t : e.Translations) merged.back().Translations.push_back(std::move(t));
            continue;
        }
        merged.push_back(std::move(e));
    }

    const std::string header(kFileHeaderText, kFileHeaderSize);
    std::string words = header + std::string(200, '\x1f') + std::string(200, '\x9e');
    std::string translations = header;
    std::string nodes = header;
    std::map<int32_t, int32_t> keys{{kLowSentinelKey, kLowSentinelNode}, {kHighSentinelKey, kHighSentinelNode}};
    uint8_t b[WordNode::kSize];
    const int32_t first = kHighSentinelNode + static_cast<int32_t>(WordNode::kSize);
    const int32_t count = static_cast<int32_t>(merged.size());
    auto nodeAt = [&](int32_t i) { return first + i * static_cast<int32_t>(WordNode::kSize); };
    WordNode{0, count ? nodeAt(0) : kHighSentinelNode, 0, 40, kFlagCd | kFlagDeleted, 200, 0}.Encode(b);
    Append(nodes, b, sizeof b);
    WordNode{count ? nodeAt(count - 1) : kLowSentinelNode, 0, 0, 240, kFlagCd | kFlagDeleted, 200, 0}.Encode(b);
    Append(nodes, b, sizeof b);
    for (int32_t i = 0; i < count; ++i) {
        const GeneratedEntry& e = merged[i];
        WordNode node;
        node.Previous = i == 0 ? kLowSentinelNode : nodeAt(i - 1);
        node.Next = i + 1 == count ? kHighSentinelNode : nodeAt(i + 1);
        node.TextOffset = static_cast<int32_t>(words.size());
        node.Flags = static_cast<uint8_t>(kFlagCd | (e.Deleted ? kFlagDeleted : 0));
        node.WordLength = static_cast<uint8_t>(e.Word.size());
        node.PronunciationLength = static_cast<uint8_t>(std::min(e.Pronunciation.size(), kMaxTextLength));
        words += e.Word + e.Pronunciation.substr(0, node.PronunciationLength);
        node.FirstTranslation = e.Translations.empty() ? 0 : static_cast<int32_t>(translations.size());
        for (size_t t = 0; t < e.Translations.size(); ++t) {
            const std::string text = e.Translations[t].substr(0, kMaxTextLength);
            const int32_t own = static_cast<int32_t>(translations.size());
            TranslationHead head;
            head.Next = t + 1 < e.Translations.size()
                            ? own + static_cast<int32_t>(TranslationHead::kSize + text.size())
                            : 0;
            head.Flags = kFlagCd;
            head.Length = static_cast<uint8_t>(text.size());
            uint8_t h[TranslationHead::kSize];
            head.Encode(h);
            Append(translations, h, sizeof h);
            translations += text;
        }
        node.Encode(b);
        Append(nodes, b, sizeof b);
        keys.emplace(WordSortKey(e.Word, slot, s), nodeAt(i));  // the first node of each key
    }
    std::string index;
    for (const auto& k : keys) {
        uint8_t r[KeyRecord::kSize];
        KeyRecord{0, k.first, k.second}.Encode(r);
        Append(index, r, sizeof r);
    }
    if (CreateSlotFiles(ctx, slot) != 1) return -1;
    FileSystem& fs = ctx.Files;
    return PutAll(fs, s.CdWordsPaths[slot], words) && PutAll(fs, s.CdTranslationsPaths[slot], translations) &&
                   PutAll(fs, s.NodePaths[slot], nodes) && PutAll(fs, s.KeyIndexPaths[slot], index)
               ? 1
               : -1;
}

}  // namespace lex
