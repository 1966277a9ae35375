#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lexbulk/text/archive_record.h"

namespace lexbulk {
namespace {

struct Read {
    std::vector<ArchiveRecord> records;
    int damaged = 0;
    ArchiveResult last = ArchiveResult::kEnd;
    bool older = false;
};

// Reads `bytes` fed in chunks of `chunk` bytes, or of random sizes from `rng`.
Read ReadArchive(const std::string& bytes, size_t chunk, std::mt19937* rng = nullptr) {
    ArchiveReader reader;
    Read read;
    size_t fed = 0;
    for (;;) {
        ArchiveRecord record;
        const ArchiveResult r = reader.Next(record);
        if (r == ArchiveResult::kRecord) {
            read.records.push_back(record);
        } else if (r == ArchiveResult::kDamaged) {
            ++read.damaged;
        } else if (r == ArchiveResult::kNeedInput) {
            const size_t want = rng ? std::uniform_int_distribution<size_t>(1, 700)(*rng) : chunk;
            const size_t n = std::min(want, bytes.size() - fed);
            if (n == 0) reader.EndInput();
            else reader.Feed(bytes.data() + fed, n);
            fed += n;
        } else {
            read.last = r;
            read.older = reader.olderVariant();
            return read;
        }
    }
}

ArchiveRecord Record(uint8_t slot, const std::string& word, const std::string& pronunciation,
                     uint8_t flags, const std::string& translation) {
    ArchiveRecord r;
    r.slot = slot;
    r.nodeFlags = 0x01;
    r.word = word;
    r.pronunciation = pronunciation;
    r.translationFlags = flags;
    r.translation = translation;
    return r;
}

void ExpectSame(const ArchiveRecord& a, const ArchiveRecord& b) {
    EXPECT_EQ(a.slot, b.slot);
    EXPECT_EQ(a.nodeFlags, b.nodeFlags);
    EXPECT_EQ(a.word, b.word);
    EXPECT_EQ(a.pronunciation, b.pronunciation);
    EXPECT_EQ(a.translationFlags, b.translationFlags);
    EXPECT_EQ(a.translation, b.translation);
}

const std::string kTwoRecords = std::string("\x03\x01\x03\x00" "cat" "\x01\x05" "kocka", 14) +
                                std::string("\x03\x01\x03\x03" "cat" "[k]" "\x81\x03" "\x1fmn", 15);

TEST(ArchiveRecord, EncodesExactBytes) {
    std::string out;
    ASSERT_TRUE(EncodeArchiveRecord(Record(3, "cat", "", 0x01, "kocka"), out));
    ASSERT_TRUE(EncodeArchiveRecord(Record(3, "cat", "[k]", 0x81, "\x1fmn"), out));
    EXPECT_EQ(out, kTwoRecords);
}

TEST(ArchiveRecord, RefusesTextsTheEngineNeverHolds) {
    const std::string t253(253, 't'), t254(254, 't');
    std::string out = "kept";
    EXPECT_TRUE(EncodeArchiveRecord(Record(0, t253, t253, 1, t253), out));
    EXPECT_EQ(out.size(), 4u + 4 + 3 * 253 + 2);
    out = "kept";
    EXPECT_FALSE(EncodeArchiveRecord(Record(0, t254, "", 1, "t"), out));
    EXPECT_FALSE(EncodeArchiveRecord(Record(0, "w", t254, 1, "t"), out));
    EXPECT_FALSE(EncodeArchiveRecord(Record(0, "w", "", 1, t254), out));
    EXPECT_FALSE(EncodeArchiveRecord(Record(0, "", "", 1, "t"), out));
    EXPECT_FALSE(EncodeArchiveRecord(Record(0, "w", "", 1, ""), out));
    EXPECT_EQ(out, "kept");
}

TEST(ArchiveRecord, ReadsBothVariants) {
    for (size_t chunk : {size_t(1), size_t(5), size_t(4096)}) {
        const Read current = ReadArchive(kTwoRecords, chunk);
        ASSERT_EQ(current.records.size(), 2u);
        ExpectSame(current.records[0], Record(3, "cat", "", 0x01, "kocka"));
        ExpectSame(current.records[1], Record(3, "cat", "[k]", 0x81, "\x1fmn"));
        EXPECT_FALSE(current.records[0].TranslationDeleted());
        EXPECT_TRUE(current.records[1].TranslationDeleted());
        EXPECT_EQ(current.last, ArchiveResult::kEnd);
        EXPECT_FALSE(current.older);

        // 100 zero bytes first, and one ignored byte before each translation length.
        const std::string older = std::string(100, '\0') +
                                  std::string("\x05\x01\x02\x00" "ab" "\x40\x99\x02" "cd", 11);
        const Read old = ReadArchive(older, chunk);
        ASSERT_EQ(old.records.size(), 1u);
        ExpectSame(old.records[0], Record(5, "ab", "", 0x40, "cd"));
        EXPECT_TRUE(old.older);
        EXPECT_EQ(old.last, ArchiveResult::kEnd);
    }
}

struct DamageCase {
    const char* name;
    std::string bytes;
    size_t records;  // whole sound records read (the first ones of kTwoRecords)
    int damaged;
    ArchiveResult last;
};

TEST(ArchiveRecord, DamagedArchives) {
    const std::string first = kTwoRecords.substr(0, 14);
    const std::string long254 = std::string("\x00\x01\xfe\x00", 4) + std::string(254, 'w') +
                                std::string("\x01\x01" "t", 3);
    const std::string longTranslation = std::string("\x00\x01\x01\x00" "w" "\x01\xff", 7) + std::string(255, 't');
    const DamageCase cases[] = {
        {"empty file", "", 0, 0, ArchiveResult::kEnd},
        {"truncated in the head", first + std::string("\x03\x01", 2), 1, 0, ArchiveResult::kTruncated},
        {"truncated in the translation", kTwoRecords.substr(0, kTwoRecords.size() - 1), 1, 0,
         ArchiveResult::kTruncated},
        {"word over 253 bytes", long254 + first, 1, 1, ArchiveResult::kEnd},
        {"translation over 253 bytes", longTranslation + first, 1, 1, ArchiveResult::kEnd},
        {"empty word", std::string("\x00\x01\x00\x00\x01\x01t", 7) + first, 1, 1, ArchiveResult::kEnd},
        {"empty translation", std::string("\x00\x01\x01\x00w\x01\x00", 7) + first, 1, 1, ArchiveResult::kEnd},
        // Exactly 100 zero bytes is the current variant: sixteen empty records and a part-record.
        {"100 zero bytes", std::string(100, '\0'), 0, 16, ArchiveResult::kTruncated},
    };
    for (const DamageCase& c : cases)
        for (size_t chunk : {size_t(1), size_t(4096)}) {
            const Read read = ReadArchive(c.bytes, chunk);
            ASSERT_EQ(read.records.size(), c.records) << c.name;
            for (size_t i = 0; i < c.records; ++i)
                ExpectSame(read.records[i], Record(3, "cat", "", 0x01, "kocka"));
            EXPECT_EQ(read.damaged, c.damaged) << c.name;
            EXPECT_EQ(read.last, c.last) << c.name;
        }
}

bool Sound(const ArchiveRecord& r) {
    return !r.word.empty() && r.word.size() <= 253 && r.pronunciation.size() <= 253 &&
           !r.translation.empty() && r.translation.size() <= 253;
}

// Random and mangled archives: only whole sound records come out, the same
// whatever the chunks, and a cut archive gives a prefix of its records.
TEST(ArchiveRecord, Fuzz) {
    std::mt19937 rng(20261210);
    auto byte = [&] { return static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng)); };
    auto size = [&](int lo, int hi) { return static_cast<size_t>(std::uniform_int_distribution<int>(lo, hi)(rng)); };

    std::vector<ArchiveRecord> originals;
    std::string archive;
    for (int i = 0; i < 300; ++i) {
        ArchiveRecord r = Record(static_cast<uint8_t>(size(0, 19)), "", "", static_cast<uint8_t>(byte()), "");
        for (size_t n = size(1, 253); n; --n) r.word += byte();
        for (size_t n = size(0, 20); n; --n) r.pronunciation += byte();
        for (size_t n = size(1, 253); n; --n) r.translation += byte();
        ASSERT_TRUE(EncodeArchiveRecord(r, archive));
        originals.push_back(r);
    }

    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        if (round % 3 == 0) {
            for (size_t n = size(0, 3000); n; --n) bytes += byte();
        } else {
            bytes = archive.substr(0, size(0, static_cast<int>(archive.size())));
        }
        if (round % 3 == 2)
            for (int n = 0; n < 5 && !bytes.empty(); ++n) bytes[size(0, static_cast<int>(bytes.size()) - 1)] = byte();

        const Read whole = ReadArchive(bytes, bytes.size() + 1);
        const Read pieces = ReadArchive(bytes, 0, &rng);
        ASSERT_EQ(whole.records.size(), pieces.records.size());
        EXPECT_EQ(whole.damaged, pieces.damaged);
        EXPECT_EQ(whole.last, pieces.last);
        for (size_t i = 0; i < whole.records.size(); ++i) {
            EXPECT_TRUE(Sound(whole.records[i]));
            ExpectSame(whole.records[i], pieces.records[i]);
        }
        if (round % 3 == 1) {
            ASSERT_LE(whole.records.size(), originals.size());
            EXPECT_EQ(whole.damaged, 0);
            for (size_t i = 0; i < whole.records.size(); ++i) ExpectSame(whole.records[i], originals[i]);
            const bool cutInRecord = whole.last == ArchiveResult::kTruncated;
            std::string again;
            for (size_t i = 0; i < whole.records.size(); ++i) EncodeArchiveRecord(originals[i], again);
            EXPECT_EQ(again.size() == bytes.size(), !cutInRecord);
        }
    }
}

}  // namespace
}  // namespace lexbulk
