// Large generated slots for benchmarks, comparisons and tests: pronounceable
// words with translations, written as the shipped base dictionary of a slot
// (the CD files with the node list and the key index), as an installed
// dictionary holds it.
#pragma once

#include <string>
#include <vector>

#include "core/engine/engine.h"

namespace lex {

struct GeneratedEntry {
    std::string Word;
    std::string Pronunciation;
    std::vector<std::string> Translations;  // as stored: a grammar note starts with 0x1F
    bool Deleted = false;
};

// Entries with `senses` translations in all (one to four per word, some
// grammar notes, Czech letters in code page 1250); the same for the same seed.
std::vector<GeneratedEntry> GenerateEntries(int senses, unsigned seed);

// Words that are not in the slot, near its entries: "<word>zq" for a share of them.
std::vector<std::string> LookupWords(const std::vector<GeneratedEntry>& entries);

// Replaces the files of `slot` with a fresh set holding `entries` as shipped
// entries, in the slot's collation order (equal words are merged). The
// action log is not touched. 1, -1 on a file error.
int WriteShippedSlot(EngineContext& ctx, int slot, std::vector<GeneratedEntry> entries);

}  // namespace lex
