#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lexbulk/text/entry_template.h"

namespace lexbulk {
namespace {

// ---- Validity -------------------------------------------------------------

struct CheckCase {
    std::string edit;
    TemplateCheck expected;
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

TEST(EntryTemplate, Validity) {
    const CheckCase cases[] = {
        {kDefaultTemplateText, TemplateCheck::kValid},
        {"$o;$p", TemplateCheck::kValid},
        {"$O;$P", TemplateCheck::kValid},
        {"$P = $O\r\n", TemplateCheck::kValid},
        {"#$O=$P", TemplateCheck::kValid},
        {"$O;$O;$P", TemplateCheck::kWrongFieldCount},
        {"$O;$V", TemplateCheck::kWrongFieldCount},
        {"$O;$P;$p", TemplateCheck::kWrongFieldCount},
        {"", TemplateCheck::kWrongFieldCount},
        // "$$" is a literal dollar, so no original token here.
        {"$$O;$P", TemplateCheck::kWrongFieldCount},
        {"$O$$$P", TemplateCheck::kValid},
        {"$O;$x$P", TemplateCheck::kValid},
        // Two field tokens with nothing between them.
        {"$O$P", TemplateCheck::kAdjacentFields},
        {"$O\r\n$V$P", TemplateCheck::kAdjacentFields},
        {"$O;$P$v", TemplateCheck::kAdjacentFields},
        {"$O;$P\r\n$V", TemplateCheck::kValid},
        // At most 10 tokens: four field tokens, not five.
        {"$O;$P;$V;$V", TemplateCheck::kValid},
        {"$O;$P;$V;$V;$V", TemplateCheck::kTooManyTokens},
        // A literal holds at most 299 characters, its line end counting two.
        {"$O;$P" + Repeat('x', 297), TemplateCheck::kValid},
        {"$O;$P" + Repeat('x', 298), TemplateCheck::kTokenTooLong},
        {Repeat('x', 299) + "$O;$P", TemplateCheck::kValid},
        {Repeat('x', 300) + "$O;$P", TemplateCheck::kTokenTooLong},
        // The joined lines hold at most 1000 characters, the last line end not counted.
        {Repeat('a', 250) + "$O" + Repeat('b', 250) + "$P" + Repeat('c', 250) + "$V" + Repeat('d', 244),
         TemplateCheck::kValid},
        {Repeat('a', 250) + "$O" + Repeat('b', 250) + "$P" + Repeat('c', 250) + "$V" + Repeat('d', 245),
         TemplateCheck::kTooLong},
        {Repeat('a', 250) + "$O\r\n" + Repeat('b', 248) + "$P\r\n" + Repeat('c', 250) + "$V" + Repeat('d', 242),
         TemplateCheck::kValid},
        {Repeat('a', 250) + "$O\r\n" + Repeat('b', 248) + "$P\r\n" + Repeat('c', 250) + "$V" + Repeat('d', 243),
         TemplateCheck::kTooLong},
    };
    for (const CheckCase& c : cases)
        EXPECT_EQ(WordFormatTemplate(c.edit, TextCode::kWindows1250).CheckForImport(), c.expected) << c.edit;
}

TEST(EntryTemplate, AdjacentFieldsHaveTheirOwnText) {
    const WordFormatTemplate adjacent("$O$P", TextCode::kWindows1250);
    EXPECT_EQ(TemplateCheckTextId(adjacent.CheckForImport()), lex::kTextFormatFieldsTogether);
    const WordFormatTemplate twoOriginals("$O;$O;$P", TextCode::kWindows1250);
    EXPECT_EQ(TemplateCheckTextId(twoOriginals.CheckForImport()), lex::kTextWrongFormat);
    EXPECT_EQ(TemplateCheckTextId(TemplateCheck::kValid), 0);
}

// ---- Expansion ------------------------------------------------------------

struct ExpandCase {
    std::string edit;
    TextCode code;
    std::string expected;  // for the word "m\xe8" (1250 c caron), pronunciation "[\xe8]", translation "\x9a$"
    int originals;
};

TEST(EntryTemplate, Expansion) {
    const ExpandCase cases[] = {
        // The default template: three lines, no blank line after them.
        {kDefaultTemplateText, TextCode::kWindows1250, "m\xe8\r\n[\xe8]\r\n\x9a$\r\n", 1},
        {"$O\r\n$V\r\n$P", TextCode::kWindows1250, "m\xe8\r\n[\xe8]\r\n\x9a$\r\n", 1},
        // A blank line typed on purpose stays.
        {"$O=$P\r\n\r\n", TextCode::kWindows1250, "m\xe8=\x9a$\r\n\r\n", 1},
        // Word, translation and literals converted; the pronunciation as stored.
        {"$o \xe8 $v \xe8 $p", TextCode::kLatin2, "m\x9f \x9f [\xe8] \x9f \xe7$\r\n", 1},
        {"$o \xe8 $v \xe8 $p", TextCode::kKamenicky, "m\x87 \x87 [\xe8] \x87 \xa8$\r\n", 1},
        // Dollars: "$$" is one, any other is written as it stands.
        {"$$O=$O $x $P$", TextCode::kWindows1250, "$O=m\xe8 $x \x9a$$\r\n", 1},
        {"$O $O\n$P", TextCode::kWindows1250, "m\xe8 m\xe8\r\n\x9a$\r\n", 2},
        {"$P\r$O", TextCode::kWindows1250, "\x9a$\r\nm\xe8\r\n", 1},
    };
    for (const ExpandCase& c : cases) {
        std::string out = "before|";
        const int originals = WordFormatTemplate(c.edit, c.code).Expand("m\xe8", "[\xe8]", "\x9a$", out);
        EXPECT_EQ(out, "before|" + c.expected) << c.edit;
        EXPECT_EQ(originals, c.originals) << c.edit;
    }
}

// ---- Extraction -----------------------------------------------------------

struct Outcome {
    std::vector<TextEntry> entries;
    ExtractResult last = ExtractResult::kEnd;
};

// Feeds `input` in chunks of `chunk` bytes (0: all at once).
Outcome Extract(const WordFormatTemplate& format, const std::string& input, size_t chunk) {
    EntryExtractor extractor(format);
    Outcome outcome;
    size_t fed = 0;
    for (int guard = 0; guard < 1000000; ++guard) {
        TextEntry entry;
        const ExtractResult r = extractor.Next(entry);
        if (r == ExtractResult::kEntry) {
            outcome.entries.push_back(entry);
        } else if (r == ExtractResult::kNeedInput) {
            const size_t n = chunk == 0 ? input.size() - fed : std::min(chunk, input.size() - fed);
            if (n == 0) extractor.EndInput();
            else extractor.Feed(input.data() + fed, n);
            fed += n;
        } else {
            outcome.last = r;
            EXPECT_EQ(extractor.Next(entry), r) << "a finished extractor stays finished";
            return outcome;
        }
    }
    ADD_FAILURE() << "the extractor never ended";
    return outcome;
}

struct ExtractCase {
    const char* name;
    std::string edit;
    TextCode code;
    std::string input;
    std::vector<TextEntry> expected;
    ExtractResult last;
};

std::string Field(size_t n) { return std::string(n, 'x'); }

std::vector<ExtractCase> ExtractCases() {
    const std::string x253 = Field(253);
    return {
        {"default template, CR LF", kDefaultTemplateText, TextCode::kWindows1250,
         "cat\r\n[k]\r\nkocka\r\ndog\r\n\r\npes\r\n", {{"cat", "[k]", "kocka"}, {"dog", "", "pes"}},
         ExtractResult::kEnd},
        {"default template, LF", kDefaultTemplateText, TextCode::kWindows1250,
         "cat\n[k]\nkocka\ndog\n\npes\n", {{"cat", "[k]", "kocka"}, {"dog", "", "pes"}}, ExtractResult::kEnd},
        {"default template, CR", kDefaultTemplateText, TextCode::kWindows1250,
         "cat\r[k]\rkocka\rdog\r\rpes\r", {{"cat", "[k]", "kocka"}, {"dog", "", "pes"}}, ExtractResult::kEnd},
        {"mixed line ends, no line end at the end", kDefaultTemplateText, TextCode::kWindows1250,
         "cat\r\n[k]\nkocka\rdog\n\r\npes", {{"cat", "[k]", "kocka"}, {"dog", "", "pes"}}, ExtractResult::kEnd},
        {"one line, end of file ends the last entry", "$O=$P", TextCode::kWindows1250, "a=b\nc=d",
         {{"a", "", "b"}, {"c", "", "d"}}, ExtractResult::kEnd},
        {"an entry cut short by the end of file is not read", "$O=$P", TextCode::kWindows1250, "a=b\r\nc",
         {{"a", "", "b"}}, ExtractResult::kEnd},
        {"literal before the end of the last line", "$O=$P;", TextCode::kWindows1250, "a=b;\nc=d;",
         {{"a", "", "b"}, {"c", "", "d"}}, ExtractResult::kEnd},
        {"no literal found at all", kDefaultTemplateText, TextCode::kWindows1250, "just one line", {},
         ExtractResult::kEnd},
        {"empty file", "$O=$P", TextCode::kWindows1250, "", {}, ExtractResult::kEnd},
        {"leading literal skips to itself", "#$O=$P", TextCode::kWindows1250, "junk#a=b\r\nmore junk#c=d",
         {{"a", "", "b"}, {"c", "", "d"}}, ExtractResult::kEnd},
        {"blank line between entries", "$O\r\n$P\r\n\r\n", TextCode::kWindows1250, "a\r\nb\r\n\r\nc\r\nd\r\n",
         {{"a", "", "b"}, {"c", "", "d"}}, ExtractResult::kEnd},
        {"trimming, control bytes become spaces", "$O=$P", TextCode::kWindows1250,
         "  a\x01z \t= \x02 b \r\n", {{"a z", "", "b"}}, ExtractResult::kEnd},
        {"NUL bytes are trimmed too", "$O=$P", TextCode::kWindows1250, std::string("\0a\0=\0\0b\r\n", 10),
         {{"a", "", "b"}}, ExtractResult::kEnd},
        {"dollars", "$O$$$P", TextCode::kWindows1250, "a$b\r\nUS$$5\r\n", {{"a", "", "b"}, {"US", "", "$5"}},
         ExtractResult::kEnd},
        // A field is cut to its first 253 bytes, then trimmed: blanks at its
        // start count in the 253, and the cut may leave a blank at its end.
        {"253-byte cut, then trimmed", "$O=$P", TextCode::kWindows1250,
         Field(300) + "=" + "  " + Field(252) + " y\r\n", {{x253, "", Field(251)}}, ExtractResult::kEnd},
        {"leading blanks count in the cut", "$O=$P", TextCode::kWindows1250,
         "      " + Field(260) + "=b\r\n", {{Field(247), "", "b"}}, ExtractResult::kEnd},
        {"a 1000-byte field is read", "$O=$P", TextCode::kWindows1250, "a=b\r\n" + Field(1000) + "=c\r\n",
         {{"a", "", "b"}, {x253, "", "c"}}, ExtractResult::kEnd},
        {"a 1001-byte field fails", "$O=$P", TextCode::kWindows1250, "a=b\r\n" + Field(1001) + "=c\r\n",
         {{"a", "", "b"}}, ExtractResult::kFieldTooLong},
        {"a 1001-byte last field fails at the end of file", "$O=$P", TextCode::kWindows1250,
         "a=" + Field(1001), {}, ExtractResult::kFieldTooLong},
        {"a long run without the literal is the end", "$O=$P", TextCode::kWindows1250,
         "a=b\r\n" + Field(5000), {{"a", "", "b"}}, ExtractResult::kEnd},
        {"Latin 2: fields and literals converted, pronunciation as read", "$O \xe8 $V \xe8 $P",
         TextCode::kLatin2, "m\x9f \x9f [\x9f] \x9f \xe7\xe1\r\n", {{"m\xe8", "[\x9f]", "\x9a\xdf"}},
         ExtractResult::kEnd},
        {"Kamenicky", "$O=$P", TextCode::kKamenicky, "\x87\xe1=\x80\r\n", {{"\xe8\xdf", "", "\xc8"}},
         ExtractResult::kEnd},
    };
}

TEST(EntryTemplate, Extraction) {
    for (const ExtractCase& c : ExtractCases()) {
        const WordFormatTemplate format(c.edit, c.code);
        ASSERT_EQ(format.CheckForImport(), TemplateCheck::kValid) << c.name;
        // The same entries whatever the chunks the input arrives in.
        for (size_t chunk : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(7), size_t(64)}) {
            const Outcome got = Extract(format, c.input, chunk);
            ASSERT_EQ(got.entries.size(), c.expected.size()) << c.name << ", chunk " << chunk;
            for (size_t i = 0; i < c.expected.size(); ++i) {
                EXPECT_EQ(got.entries[i].word, c.expected[i].word) << c.name << ", chunk " << chunk;
                EXPECT_EQ(got.entries[i].pronunciation, c.expected[i].pronunciation) << c.name;
                EXPECT_EQ(got.entries[i].translation, c.expected[i].translation) << c.name;
            }
            EXPECT_EQ(got.last, c.last) << c.name << ", chunk " << chunk;
        }
    }
}

TEST(EntryTemplate, InvalidTemplateExtractsNothing) {
    EntryExtractor extractor(WordFormatTemplate("$O$P", TextCode::kWindows1250));
    extractor.Feed("ab\r\n", 4);
    extractor.EndInput();
    TextEntry entry;
    EXPECT_EQ(extractor.Next(entry), ExtractResult::kInvalidTemplate);
}

// A search through a long input without the literal holds none of it, and
// reports how far it got for the progress display; a long field is held only
// while it may still be read.
TEST(EntryTemplate, LongSearchKeepsLittleInput) {
    EntryExtractor extractor(WordFormatTemplate("#$O=$P", TextCode::kWindows1250));
    const std::string chunk(4096, 'x');
    TextEntry entry;
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(extractor.Next(entry), ExtractResult::kNeedInput);
        extractor.Feed(chunk.data(), chunk.size());
    }
    EXPECT_EQ(extractor.Next(entry), ExtractResult::kNeedInput);
    EXPECT_EQ(extractor.position(), 256u * 4096u);
    EXPECT_EQ(extractor.buffered(), 0u);
    extractor.Feed("#a=b\r\n", 6);
    extractor.EndInput();
    ASSERT_EQ(extractor.Next(entry), ExtractResult::kEntry);
    EXPECT_EQ(entry.word, "a");
    EXPECT_EQ(extractor.position(), 256u * 4096u + 6u);
    EXPECT_EQ(extractor.Next(entry), ExtractResult::kEnd);

    EntryExtractor fields(WordFormatTemplate("$O=$P", TextCode::kWindows1250));
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(fields.Next(entry), ExtractResult::kNeedInput);
        fields.Feed(chunk.data(), chunk.size());
        EXPECT_LE(fields.buffered(), kMaxFieldBytes + chunk.size());
    }
}

bool TrimmedText(const std::string& text) {
    if (text.size() > kMaxEntryTextBytes) return false;
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 32) return false;
    return true;
}

// Random inputs: the same entries in whatever chunks they arrive, and every
// text trimmed, free of control bytes and short enough for the engine.
TEST(EntryTemplate, RandomInputs) {
    std::mt19937 rng(7);
    const char alphabet[] = {'a', 'b', '=', ' ', '\r', '\n', '\0', '$', '#', ';', '\x9f', '\t'};
    for (const char* edit : {"$O=$P", kDefaultTemplateText, "#$O=$P;", "$O\r\n$P\r\n\r\n"}) {
        const WordFormatTemplate format(edit, TextCode::kLatin2);
        for (int round = 0; round < 100; ++round) {
            std::string input;
            const size_t length = std::uniform_int_distribution<size_t>(0, 3000)(rng);
            for (size_t i = 0; i < length; ++i) {
                // Now and then a long run of one letter, to reach the field limits.
                if (std::uniform_int_distribution<int>(0, 400)(rng) == 0) input.append(600, 'x');
                input += alphabet[std::uniform_int_distribution<size_t>(0, sizeof alphabet - 1)(rng)];
            }
            const Outcome whole = Extract(format, input, 0);
            const Outcome pieces = Extract(format, input, std::uniform_int_distribution<size_t>(1, 50)(rng));
            ASSERT_EQ(whole.entries.size(), pieces.entries.size()) << edit;
            EXPECT_EQ(whole.last, pieces.last);
            for (size_t i = 0; i < whole.entries.size(); ++i) {
                const TextEntry& a = whole.entries[i];
                EXPECT_EQ(a.word, pieces.entries[i].word);
                EXPECT_EQ(a.pronunciation, pieces.entries[i].pronunciation);
                EXPECT_EQ(a.translation, pieces.entries[i].translation);
                EXPECT_TRUE(TrimmedText(a.word) && TrimmedText(a.pronunciation) && TrimmedText(a.translation))
                    << edit << " round " << round;
            }
        }
    }
}

// What the export writes, the import reads back, in each code page.
TEST(EntryTemplate, ExportImportRoundTrip) {
    const std::vector<TextEntry> entries = {
        {"p\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd", "[p\xf8i:li\x9a]", "too yellow"},
        {"K\xd9\xd2", "", "horse \xe4\xf6\xfc\xdf"},
        {"$cost", "[$]", "price in $"},
    };
    for (const char* edit : {kDefaultTemplateText, "$O = $P\r\n", "<$V|$O|$P>"}) {
        for (TextCode code : {TextCode::kWindows1250, TextCode::kLatin2, TextCode::kKamenicky}) {
            const WordFormatTemplate format(edit, code);
            std::string file;
            for (const TextEntry& e : entries) format.Expand(e.word, e.pronunciation, e.translation, file);
            const Outcome got = Extract(format, file, 5);
            ASSERT_EQ(got.entries.size(), entries.size()) << edit << static_cast<int>(code);
            for (size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(got.entries[i].word, entries[i].word) << edit << static_cast<int>(code);
                EXPECT_EQ(got.entries[i].translation, entries[i].translation) << edit;
                const bool hasPronunciation = std::string(edit).find("$V") != std::string::npos;
                EXPECT_EQ(got.entries[i].pronunciation, hasPronunciation ? entries[i].pronunciation : "");
            }
            EXPECT_EQ(got.last, ExtractResult::kEnd);
        }
    }
}

}  // namespace
}  // namespace lexbulk
