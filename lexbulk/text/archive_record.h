// The archive file ("*.ars"): a plain sequence of records from byte 0, one
// per archived translation, no header, count or terminator. All numbers are
// single bytes:
//   slot, word node flags, lw, lp, word[lw], pronunciation[lp],
//   translation flags, lt, translation[lt]
// An older variant, read but never written, begins with 100 zero bytes and has
// one more ignored byte between the translation flags and lt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/engine/records.h"

namespace lexbulk {

constexpr size_t kOlderArchiveHeaderBytes = 100;
constexpr uint8_t kArchiveSlotCount = 20;

struct ArchiveRecord {
    uint8_t slot = 0;              // 0..19; a record of any other slot is passed over
    uint8_t nodeFlags = 0;         // of the word node, as stored (not used when loading)
    std::string word;
    std::string pronunciation;
    uint8_t translationFlags = 0;  // of the translation record, as stored
    std::string translation;       // a first byte 0x1F marks a grammar note

    // The load deletes such a translation instead of adding it.
    bool TranslationDeleted() const { return (translationFlags & lex::kFlagDeleted) != 0; }
};

// Appends the record to `out`. False, with `out` unchanged, when the word or
// the translation is empty or a text is longer than 253 bytes.
bool EncodeArchiveRecord(const ArchiveRecord& record, std::string& out);

enum class ArchiveResult {
    kRecord,     // `record` holds the next whole, sound record
    kDamaged,    // a whole record with an empty word or translation or a text over
                 // 253 bytes was passed over; reading can go on
    kNeedInput,  // feed more bytes, or call EndInput at the end of the file
    kEnd,        // the file ended after a whole record
    kTruncated,  // the file ended inside a record; the part-record is not given
};

// Reads an archive fed in chunks of any size (as EntryExtractor). Tells the
// older variant by its first 100 bytes once more than 100 bytes are known.
class ArchiveReader {
public:
    void Feed(const char* data, size_t size);
    void EndInput() { ended_ = true; }
    ArchiveResult Next(ArchiveRecord& record);

    bool olderVariant() const { return older_; }
    uint64_t position() const { return consumed_ + next_; }

private:
    std::string buffer_;
    size_t next_ = 0;
    uint64_t consumed_ = 0;
    bool ended_ = false;
    bool variantKnown_ = false;
    bool older_ = false;
};

}  // namespace lexbulk
