// The import templates: any template text in any of the three code pages
// over any text file, fed in chunks of any size. Properties:
//   - the entries found, and how the search ends, do not depend on how the
//     file is cut into chunks;
//   - every text of an entry is trimmed and at most kMaxEntryTextBytes long;
//     the position never moves back;
//   - with a template the import takes whose literals each hold a byte that
//     no field holds, the expansion of entries (the export's lines) reads
//     back as those entries.
// Input: the template (a 16-bit length and the bytes), the code page byte,
// a byte of chunk sizes, the text file (a 16-bit length and the bytes), then
// entries for the round trip (a length byte and the bytes of each text).
#include <cstdint>
#include <string>
#include <vector>

#include "lexbulk/text/entry_template.h"
#include "fuzz_support.h"

namespace {

using lexbulk::EntryExtractor;
using lexbulk::ExtractResult;
using lexbulk::TextEntry;
using lexfuzz::Check;

struct Found {
    std::vector<TextEntry> Entries;
    ExtractResult End = ExtractResult::kEnd;
};

bool Same(const TextEntry& a, const TextEntry& b) {
    return a.word == b.word && a.pronunciation == b.pronunciation && a.translation == b.translation;
}

bool Trimmed(const std::string& s) {
    if (s.size() > lexbulk::kMaxEntryTextBytes) return false;
    if (s.empty()) return true;
    return static_cast<uint8_t>(s.front()) > 32 && static_cast<uint8_t>(s.back()) > 32 && s.find('\0') == std::string::npos;
}

// The entries of `text`, fed in pieces whose sizes come from `cut` (0: whole).
Found Extract(const lexbulk::WordFormatTemplate& format, const std::string& text, uint8_t cut) {
    EntryExtractor extractor(format);
    Found found;
    size_t at = 0;
    uint64_t position = 0;
    uint32_t state = cut;
    for (int guard = 0; guard < 1000000; ++guard) {
        TextEntry entry;
        const ExtractResult r = extractor.Next(entry);
        Check(extractor.position() >= position, "the position moved back");
        position = extractor.position();
        if (r == ExtractResult::kNeedInput) {
            if (at >= text.size()) {
                extractor.EndInput();
                continue;
            }
            const size_t take = lexfuzz::NextPieceSize(state, cut, 64, text.size() - at);
            extractor.Feed(text.data() + at, take);
            at += take;
            continue;
        }
        if (r != ExtractResult::kEntry) {
            found.End = r;
            return found;
        }
        Check(Trimmed(entry.word) && Trimmed(entry.translation) && Trimmed(entry.pronunciation),
              "an entry's text is not trimmed or too long");
        found.Entries.push_back(entry);
    }
    Check(false, "the extractor does not come to an end");
    return found;
}

bool IsFieldByte(char c) { return c >= 'a' && c <= 'z'; }

// A text of field bytes only, never empty.
std::string FieldText(lexfuzz::Input& in) {
    std::string s = in.Bytes(1 + in.Byte() % 24);
    for (char& c : s) c = static_cast<char>('a' + static_cast<uint8_t>(c) % 26);
    return s.empty() ? "w" : s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lexfuzz::Input in(data, size);
    const std::string templateText = in.Blob();
    const auto code = static_cast<lexbulk::TextCode>(in.Byte() % 3);
    const uint8_t cut = in.Byte();
    const std::string text = in.Blob();
    const lexbulk::WordFormatTemplate format(templateText, code);

    const Found whole = Extract(format, text, 0), pieces = Extract(format, text, cut | 1);
    Check(whole.End == pieces.End && whole.Entries.size() == pieces.Entries.size(),
          "the chunks change what is found");
    for (size_t i = 0; i < whole.Entries.size(); ++i)
        Check(Same(whole.Entries[i], pieces.Entries[i]), "the chunks change entry " + std::to_string(i));
    if (format.CheckForImport() != lexbulk::TemplateCheck::kValid) {
        Check(whole.End == ExtractResult::kInvalidTemplate && whole.Entries.empty(),
              "a template the import refuses found entries");
        return 0;
    }

    // The round trip: literals that no field text can hold.
    bool hasPronunciation = false;
    for (const lexbulk::TemplateToken& t : format.tokens()) {
        if (t.isField) {
            hasPronunciation = hasPronunciation || t.field == lexbulk::EntryField::kPronunciation;
            continue;
        }
        bool marked = false;
        for (char c : t.literal) marked = marked || !IsFieldByte(c);
        if (!marked && &t != &format.tokens().front()) return 0;
    }
    std::vector<TextEntry> entries;
    std::string file;
    for (int n = in.Byte() % 8; n > 0; --n) {
        TextEntry e;
        e.word = FieldText(in);
        e.translation = FieldText(in);
        if (hasPronunciation) e.pronunciation = FieldText(in);
        format.Expand(e.word, e.pronunciation, e.translation, file);
        entries.push_back(e);
    }
    const Found back = Extract(format, file, cut);
    Check(back.Entries.size() == entries.size(), "the export's lines read back as " +
                                                     std::to_string(back.Entries.size()) + " entries, not " +
                                                     std::to_string(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        Check(Same(back.Entries[i], entries[i]), "entry " + std::to_string(i) + " reads back otherwise");
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using lexfuzz::BlobOf;
    using lexfuzz::Script;
    lexfuzz::WriteSeedsIfAsked([](const lexfuzz::SeedSink& seed) {
        const std::string entries = Script({3, 3, 'c', 'a', 't', 5, 'k', 'o', 'c', 'k', 'a', 2, 'k', 't',
                                            2, 'a', 'b', 2, 'c', 'd', 1, 'e', 4, 'f', 'g', 'h', 'i', 1, 'j', 1, 'k'});
        seed("default-1250", BlobOf(lexbulk::kDefaultTemplateText) + Script({0, 7}) +
                                 BlobOf("cat\r\n[k\xe6t]\r\nko\x9a" "ka\r\n dog \n\ndogs\rpes\r\n") + entries);
        seed("one-line-852", BlobOf("$O = $P ($V);\r\n") + Script({1, 3}) +
                                 BlobOf("ko\xe7ka = cat (x);\r\npes = dog ();\r\nend") + entries);
        seed("kamenicky-lower-case", BlobOf("<$o>$$<$p>\r\n") + Script({2, 9}) +
                                         BlobOf("<\x87" "aj>$<tea>\r\n<b>$<c>") + entries);
        seed("field-too-long", BlobOf("$O;$P;\r\n") + Script({0, 1}) + BlobOf(std::string(1200, 'x') + ";y;") +
                                   entries);
        seed("invalid-templates", BlobOf("$O$P\r\n") + Script({0, 0}) + BlobOf("ab") + entries);
        seed("no-line-end-at-the-end", BlobOf("$P\t$O") + Script({0, 5}) + BlobOf("a\tb\r\nc\td") + entries);
    });
    return 0;
}
