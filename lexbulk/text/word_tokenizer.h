// Splits a text file into words for the load-words job. A word is a maximal
// run of bytes whose value, once converted into Windows 1250, is 65 or more
// (the letters, [ \ ] ^ _ ` { | } ~, DEL and every byte from 128); every byte
// of 64 or less ends a word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "code_pages.h"

namespace lexbulk {

// Longest word offered; the rest of a longer run is passed over.
constexpr size_t kMaxLoadedWordBytes = 253;

enum class TokenResult {
    kWord,       // `word` holds the next word, in Windows 1250
    kNeedInput,  // feed more bytes, or call EndInput at the end of the file
    kEnd,        // no further word
};

// Fed in chunks of any size, like EntryExtractor; Next never reads more than
// it was given.
class WordTokenizer {
public:
    explicit WordTokenizer(TextCode code) : code_(code) {}

    void Feed(const char* data, size_t size);
    void EndInput() { ended_ = true; }
    TokenResult Next(std::string& word);

    uint64_t position() const { return consumed_ + next_; }

private:
    TextCode code_;
    std::string buffer_;   // converted input not yet passed
    size_t next_ = 0;      // first byte of buffer_ not yet looked at
    uint64_t consumed_ = 0;
    bool ended_ = false;
    std::string word_;     // the word being collected
};

}  // namespace lexbulk
