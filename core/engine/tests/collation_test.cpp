#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/collation.h"
#include "core/engine/collation_tables.h"
#include "core/engine/slots.h"

namespace {

struct CompareCase {
    int type;
    const char* a;
    const char* b;
    int expected;
};

// Byte strings: Czech, German, Polish and Rumanian words in Windows-1250,
// Russian in 1251, the Western languages in 1252, Persian as table bytes.
const CompareCase kCompareCases[] = {
    // Empty texts and the low sentinel's 0x1F.
    {0, "", "a", -1}, {0, "a", "", 1}, {0, "", "", 0},
    {0, "\x1f\x1f", "a", -1}, {0, "a", "\x1f", 1}, {0, "\x1f", "\x1f", -1},
    // Case, accents of equal weight and dropped characters do not count.
    {0, "Apple", "apple", 0}, {0, "a-b", "ab", 0}, {0, "123", "#!", 0},
    {0, "app", "apple", -1}, {0, "\xe1", "a", 0},
    // English: ch is c then h.
    {0, "chata", "cyklus", -1}, {0, "chata", "hrad", -1},
    // Czech: ch after h, before i; c-caron after c.
    {1, "chata", "hrad", 1}, {1, "chata", "ihned", -1}, {1, "\xe8" "aj", "cukr", 1},
    {1, "\xf8" "eka", "ruka", 1}, {1, "\x9e" "aba", "zub", 1},
    // German: sharp s is two s.
    {2, "Stra\xdf" "e", "Strasse", 0}, {2, "Stra\xdf" "e", "Strase", 1}, {2, "\xe4", "a", 0},
    // Russian.
    {3, "\xe0", "\xe1", -1}, {3, "\xc0", "\xe0", 0}, {3, "\x9e", "\xff", 1}, {3, "\xb8", "\xe5", 1},
    // French: the oe ligature is o, e.
    {4, "\x9cuvre", "oeuvre", 0}, {4, "\x8cuvre", "ouvre", -1}, {4, "\xe7", "c", 0},
    // Spanish: ch after c, ll... li after l.
    {5, "chico", "cosa", 1}, {5, "chico", "dado", -1}, {5, "\xe7h", "cz", 1},
    {5, "lima", "lobo", 1}, {5, "lima", "mapa", -1}, {5, "\xf1", "o", -1}, {5, "\xf1", "n", 1},
    // Italian.
    {6, "\xe0", "a", 0}, {6, "citt\xe0", "citta", 0},
    // Danish: ae, o-slash, a-ring after z.
    {7, "\xe6", "z", 1}, {7, "\xe5", "\xf8", 1}, {7, "\xf8", "\xe6", 1},
    // Persian (no reversal here): 0xF2 is two weights.
    {8, "\xf2", "\xf3\x91", 0}, {8, "\x91", "\x93", -1}, {8, "\x8f", "\x91", -1},
    // Rumanian.
    {9, "\xe3", "b", -1}, {9, "\xe3", "a", 1}, {9, "\xee", "i", 1}, {9, "\xfe", "t", 1},
    // Polish: z, then Z, then z-acute, then z-dot.
    {10, "z", "Z", -1}, {10, "Z", "\x9f", -1}, {10, "\x9f", "\xbf", -1}, {10, "\xb9", "b", -1},
};

TEST(Collation, CompareWordsTable) {
    for (const CompareCase& c : kCompareCases) {
        EXPECT_EQ(c.expected, lex::CompareWords(c.a, c.b, c.type))
            << "type " << c.type << ": \"" << c.a << "\" vs \"" << c.b << "\"";
        // The comparison is antisymmetric except for the 0x1F rule.
        if (c.a[0] != '\x1f' || c.b[0] != '\x1f') {
            EXPECT_EQ(-c.expected, lex::CompareWords(c.b, c.a, c.type)) << "type " << c.type;
        }
    }
}

TEST(Collation, TablesHoldTheirCharacters) {
    auto count = [](const uint8_t* t) {
        int n = 0;
        for (int i = 0; i < 256; ++i) n += t[i] != 0;
        return n;
    };
    EXPECT_EQ(93, count(lex::tables::kTableA));
    EXPECT_EQ(72, count(lex::tables::kTableB));
    EXPECT_EQ(100, count(lex::tables::kTableC));
    EXPECT_EQ(66, count(lex::tables::kTableD));
    EXPECT_EQ(74, count(lex::tables::kTableE));
    EXPECT_EQ(71, count(lex::tables::kTableF));
}

TEST(Collation, SortKeys) {
    struct Case {
        int type;
        const char* word;
        int32_t key;
    } cases[] = {
        {0, "abcd", 1 + 2 * 125000 + 3 * 2500 + 4 * 50 + 6},
        {0, "abcdefg", 1 + 2 * 125000 + 3 * 2500 + 4 * 50 + 6},
        {0, "ab", 1 + 2 * 125000 + 3 * 2500},
        {0, "123", 1},
        {1, "chyba", 1 + 11 * 125000 + 30 * 2500 + 3 * 50 + 2},
        {2, "\xdf", 1 + 23 * 125000 + 23 * 2500},
        {8, "\xf2\x91", 1 + 28 * 125000 + 2 * 2500 + 2 * 50},
    };
    for (const auto& c : cases) EXPECT_EQ(c.key, lex::SortKeyOf(c.word, c.type)) << c.word;

    lex::DictionarySettings s;
    for (int i = 0; i < lex::kSlotCount; ++i) s.SortType[i] = static_cast<int16_t>(lex::DefaultSortType(i));
    s.SortType[12] = 8;
    EXPECT_EQ(1, lex::WordSortKey("", 0, s));
    // Persian words are keyed back to front.
    EXPECT_EQ(lex::SortKeyOf("\x93\x91", 8), lex::WordSortKey("\x91\x93", 12, s));
    EXPECT_EQ(lex::SortKeyOf("chyba", 1), lex::WordSortKey("chyba", 1, s));
}

// A word mapped once compares like CompareSlotWords, with either word on
// either side, in every sort type (slot 12 is Persian: reversed first).
TEST(Collation, MappedWordComparesLikeSlotWords) {
    lex::DictionarySettings s;
    s.SortType[12] = 8;
    const std::string high(200, '\x9e'), low(200, '\x1f');
    std::vector<std::string> extra = {high, low, "", "\x1f", "\x91\x93", "\x93\x91", "a\x1f"};
    for (const CompareCase& c : kCompareCases) {
        s.SortType[1] = c.type;
        std::vector<std::string> words = extra;
        words.push_back(c.a);
        words.push_back(c.b);
        for (int slot : {1, 12})
            for (const std::string& a : words)
                for (const std::string& b : words)
                    EXPECT_EQ(lex::CompareSlotWords(a, b, slot, s),
                              lex::SlotWordCollation(b, slot, s).CompareWith(a))
                        << "slot " << slot << " type " << s.SortType[slot] << ": \"" << a
                        << "\" vs \"" << b << "\"";
    }
}

TEST(Collation, SlotRulesAndByteTieBreak) {
    lex::DictionarySettings s;
    s.SortType[12] = 8;
    const std::string high(200, '\x9e'), low(200, '\x1f');
    EXPECT_EQ(1, lex::CompareSlotWords(high, "\xff\xff", 0, s));
    EXPECT_EQ(-1, lex::CompareSlotWords("zzz", high, 0, s));
    EXPECT_EQ(-1, lex::CompareSlotWords(low, "a", 0, s));
    EXPECT_EQ(-1, lex::CompareWords("\x91\x93", "\x93\x91", 8));
    EXPECT_EQ(1, lex::CompareSlotWords("\x91\x93", "\x93\x91", 12, s));

    EXPECT_EQ(-1, lex::CompareText("abc", "ab"));
    EXPECT_EQ(1, lex::CompareText("ab", "abc"));
    EXPECT_EQ(0, lex::CompareText("", ""));
    EXPECT_EQ(1, lex::CompareText("Stra\xdf" "e", "Strasse"));
    EXPECT_EQ(-1, lex::CompareText("Ab", "aB"));
    EXPECT_EQ(1, lex::CompareText("Ab", "aB", true));
}

TEST(Collation, MatchLengths) {
    struct Case {
        int type;
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {0, "apple", "apply", -4}, {0, "apply", "apple", 4}, {0, "app", "apple", -3},
        {0, "apple", "app", 3},    {0, "apple", "APPLE", 5}, {0, "", "ab", -2},
        {0, "ab", "", 2},          {0, "", "", 0},           {0, "\x1fx", "a", -100},
        {0, "a", "\x1f", 100},     {0, "don't", "dont", 3},  {1, "don't", "dont", 4},
        {1, "chyba", "chata", 1}, {1, "chyba", "cena", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, lex::MatchLength(c.a, c.b, c.type)) << c.a << " / " << c.b;

    struct PlainCase {
        int mode;
        const char* a;
        const char* b;
        int expected;
    } plain[] = {
        {0, "abc", "abd", -3}, {0, "abd", "abc", 3}, {1, "abc", "ABC", 3}, {0, "abc", "ABC", 1},
        {0, "ab", "abc", -3},  {0, "abc", "ab", 3},  {0, "\x1f", "a", -1}, {0, "a", "\x1f", 1},
        {0, "", "a", -1},      {0, "a", "", 1},
    };
    for (const auto& c : plain)
        EXPECT_EQ(c.expected, lex::MatchLengthPlain(c.a, c.b, c.mode)) << c.a << " / " << c.b;

    lex::DictionarySettings s;
    const std::string high(100, '\x9e');
    EXPECT_EQ(103, lex::SlotMatchLength(high, "abc", 0, s));
    EXPECT_EQ(-103, lex::SlotMatchLengthPlain("abc", high, 0, 0));
}

TEST(Collation, TrimAndReverse) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"  word  ", "word"},  {"\tword\x01x \r\n", "word x"}, {"", ""}, {"   ", ""},
        {"\xa0word\xa0", "\xa0word\xa0"}, {"a\x05" "b", "a b"},
        // A zero byte ends the text, also a leading one.
        {std::string("\0word", 5), ""}, {std::string(" ab\0cd", 6), "ab"},
        {std::string("\x01\0x", 3), ""},
    };
    for (auto& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(c.out.size(), lex::TrimWord(t));
        EXPECT_EQ(c.out, t);
    }
    std::string r = "abc";
    lex::ReverseText(r);
    EXPECT_EQ("cba", r);
}

TEST(Slots, NamesPathsAndSortTypes) {
    EXPECT_STREQ("ac_a.slo", lex::SlotFileNames[lex::kGroupCdWords][0]);
    EXPECT_STREQ("cn_n.slo", lex::SlotFileNames[lex::kGroupCdTranslations][3]);
    EXPECT_STREQ("j10_2.idx", lex::SlotFileNames[lex::kGroupKeyIndex][19]);
    EXPECT_STREQ("j05_o1di.slo", lex::SlotFileNames[lex::kGroupNodes][8]);
    EXPECT_STREQ("ca_cd.slo", lex::SlotFileNames[lex::kGroupUserWords][1]);
    EXPECT_STREQ("j03_p2d.slo", lex::SlotFileNames[lex::kGroupUserTranslations][5]);

    lex::DictionarySettings s;
    lex::FillSlotPaths(s, "D:\\LEX", "C:\\LEXORA\\DATA\\");
    EXPECT_EQ("D:\\LEX\\ac_a.slo", s.CdWordsPaths[0]);
    EXPECT_EQ("C:\\LEXORA\\DATA\\j04_o2di.slo", s.NodePaths[7]);
    lex::FillSlotPaths(s, "/cd", "/disk/");
    EXPECT_EQ("/disk/nc_cd.slo", s.UserTranslationsPaths[2]);

    const int expected[20] = {0, 1, 2, 1, 3, 1, 4, 1, 5, 1, 6, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    for (int slot = 0; slot < 20; ++slot) EXPECT_EQ(expected[slot], lex::DefaultSortType(slot));
    EXPECT_EQ(1, lex::CounterpartSlot(0));
    EXPECT_EQ(18, lex::CounterpartSlot(19));
}

}  // namespace
