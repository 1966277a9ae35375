#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexbulk/text/word_tokenizer.h"

namespace lexbulk {
namespace {

std::vector<std::string> Words(TextCode code, const std::string& text, size_t chunk) {
    WordTokenizer tokenizer(code);
    std::vector<std::string> words;
    size_t fed = 0;
    for (;;) {
        std::string word;
        switch (tokenizer.Next(word)) {
        case TokenResult::kWord: words.push_back(word); break;
        case TokenResult::kNeedInput: {
            const size_t n = std::min(chunk, text.size() - fed);
            if (n == 0) tokenizer.EndInput();
            else tokenizer.Feed(text.data() + fed, n);
            fed += n;
            break;
        }
        case TokenResult::kEnd:
            EXPECT_EQ(tokenizer.position(), text.size());
            return words;
        }
    }
}

struct TokenCase {
    TextCode code;
    std::string text;
    std::vector<std::string> words;
};

TEST(WordTokenizer, Words) {
    const TokenCase cases[] = {
        {TextCode::kWindows1250, "Hello, world!", {"Hello", "world"}},
        {TextCode::kWindows1250, "it's", {"it", "s"}},
        {TextCode::kWindows1250, "abc123def 4 @x", {"abc", "def", "x"}},
        {TextCode::kWindows1250, "", {}},
        {TextCode::kWindows1250, " \r\n\t?!", {}},
        // Brackets, backslash, caret, underscore, backquote, braces, bar, tilde and DEL belong to words.
        {TextCode::kWindows1250, "[a\\b]^_`{|}~\x7f", {"[a\\b]^_`{|}~\x7f"}},
        // Every byte from 128 belongs to a word; a word at the end of the file counts.
        {TextCode::kWindows1250, "p\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd", {"p\xf8\xedli\x9a", "\x9elu\x9dou\xe8k\xfd"}},
        // Latin 2: 0xA0 is a-acute; the box-drawing 0xC5 is no letter.
        {TextCode::kLatin2, "m\xa0ma \x9f\xc5x", {"m\xe1ma", "\xe8", "x"}},
        // Kamenicky: c-caron 0x87, sharp s 0xE1; Greek alpha 0xE0 is no letter of 1250.
        {TextCode::kKamenicky, "\x87\xe1\xe0z", {"\xe8\xdf", "z"}},
        // Words are cut at 253 bytes; the rest of the run is no word of its own.
        {TextCode::kWindows1250, std::string(300, 'a') + " b", {std::string(253, 'a'), "b"}},
        {TextCode::kWindows1250, std::string(253, 'a'), {std::string(253, 'a')}},
    };
    for (const TokenCase& c : cases)
        for (size_t chunk : {size_t(1), size_t(3), size_t(4096)})
            EXPECT_EQ(Words(c.code, c.text, chunk), c.words) << c.text << ", chunk " << chunk;
}

}  // namespace
}  // namespace lexbulk
