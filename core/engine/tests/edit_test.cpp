#include <algorithm>

#include "engine_fixture.h"

namespace {

using lextest::Bytes;
using lextest::I32;
using lextest::ReadFileBytes;

class EditTest : public lextest::EngineTest {
protected:
    // Writes shipped entries straight into a fresh slot's files, in list order:
    // each {word, pronunciation, translations as {text, flags}}.
    struct Shipped {
        std::string word, pron;
        std::vector<std::pair<std::string, uint8_t>> translations;
    };
    void WriteShipped(const std::vector<Shipped>& entries) {
        Bytes cdWords = ReadFileBytes(settings.CdWordsPaths[0]);
        Bytes cdTr = ReadFileBytes(settings.CdTranslationsPaths[0]);
        Bytes nodes = ReadFileBytes(settings.NodePaths[0]);
        std::vector<std::pair<int32_t, int32_t>> keys = {{0, 40}};
        int32_t prev = 40;
        for (size_t i = 0; i < entries.size(); ++i) {
            const Shipped& e = entries[i];
            int32_t first = 0;
            for (size_t t = 0; t < e.translations.size(); ++t) {
                int32_t at = static_cast<int32_t>(cdTr.size());
                if (t == 0) first = at;
                const auto& tr = e.translations[t];
                int32_t next = t + 1 < e.translations.size() ? at + 6 + static_cast<int32_t>(tr.first.size()) : 0;
                cdTr += I32(next) + Bytes{char(tr.second), char(tr.first.size())} + tr.first;
            }
            int32_t off = static_cast<int32_t>(nodes.size());
            int32_t next = i + 1 < entries.size() ? off + 19 : 59;
            nodes += I32(prev) + I32(next) + I32(first) + I32(static_cast<int32_t>(cdWords.size())) +
                     Bytes{'\x02', char(e.word.size()), char(e.pron.size())};
            cdWords += e.word + e.pron;
            keys.push_back({lex::WordSortKey(e.word, 0, settings), off});
            prev = off;
        }
        nodes.replace(40 + 4, 4, I32(78));               // low sentinel's next
        nodes.replace(59 + 0, 4, I32(prev));             // high sentinel's previous
        keys.push_back({6377600, 59});
        Bytes index;
        for (auto& k : keys) index += Bytes(1, '\0') + I32(k.first) + I32(k.second);
        lextest::WriteFileBytes(settings.CdWordsPaths[0], cdWords);
        lextest::WriteFileBytes(settings.CdTranslationsPaths[0], cdTr);
        lextest::WriteFileBytes(settings.NodePaths[0], nodes);
        lextest::WriteFileBytes(settings.KeyIndexPaths[0], index);
    }
};

TEST_F(EditTest, AddingTwiceAndChangingThePronunciation) {
    ASSERT_EQ(1, Add("house", "d\xf9m", "haus"));
    const Bytes tr = ReadFileBytes(settings.UserTranslationsPaths[0]);
    EXPECT_EQ(2, Add("house", "d\xf9m", "haus"));
    EXPECT_EQ(tr, ReadFileBytes(settings.UserTranslationsPaths[0]));
    EXPECT_EQ(2, Add("house", "d\xf9m", "hauz"));
    EXPECT_EQ(std::vector<std::string>{"house|hauz|d\xf9m"}, Dump());
    EXPECT_EQ(1, Add("house", "domek", "hauz"));
    EXPECT_EQ(std::vector<std::string>{"house|hauz|d\xf9m|domek"}, Dump());
    EXPECT_EQ(2, WordCount());
    // A word beginning with the separator is accepted and not stored.
    EXPECT_EQ(1, Add(".hidden", "x"));
    EXPECT_EQ(1u, Dump().size());
    // Texts longer than the engine's 253-byte buffers are refused unwritten.
    const auto before = Snapshot();
    EXPECT_EQ(-1, Add(std::string(254, 'a'), "x"));
    EXPECT_EQ(-1, Add("house", std::string(254, 'x')));
    EXPECT_EQ(-1, Add("house", "x", std::string(254, 'p')));
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ(1, Add(std::string(253, 'a'), std::string(253, 'x'), std::string(253, 'p')));
}

TEST_F(EditTest, DeletingAndReviving) {
    ASSERT_EQ(1, Add("tree", "strom"));
    ASSERT_EQ(1, Add("tree", "d\xf8" "evo"));
    ASSERT_EQ(1, Add("bush", "ke\xf8"));
    EXPECT_EQ(2, DeleteTranslation("tree", "les"));
    EXPECT_EQ(2, DeleteTranslation("trees", "strom"));
    EXPECT_EQ(2, DeleteWord("trees"));
    EXPECT_EQ(1, DeleteTranslation("tree", "strom"));
    EXPECT_EQ((std::vector<std::string>{"bush||ke\xf8", "tree||d\xf8" "evo"}), Dump());
    // The only live translation goes, and the word with it.
    EXPECT_EQ(1, DeleteTranslation("bush", "ke\xf8"));
    EXPECT_EQ(std::vector<std::string>{"tree||d\xf8" "evo"}, Dump());
    EXPECT_EQ(1, WordCount());
    // Deleting a word logs each live translation.
    const size_t logBefore = ReadFileBytes(settings.ActionLogPath).size();
    EXPECT_EQ(1, DeleteWord("tree"));
    EXPECT_EQ(logBefore + 14, ReadFileBytes(settings.ActionLogPath).size());
    EXPECT_TRUE(Dump().empty());
    EXPECT_EQ(1, DeleteWord("tree"));  // already deleted
    EXPECT_EQ(0, WordCount());
    // Adding again revives the node; the old translations stay deleted.
    const size_t nodesBefore = ReadFileBytes(settings.NodePaths[0]).size();
    EXPECT_EQ(1, Add("tree", "strom"));
    EXPECT_EQ(std::vector<std::string>{"tree||strom"}, Dump());
    EXPECT_EQ(nodesBefore, ReadFileBytes(settings.NodePaths[0]).size());
}

TEST_F(EditTest, GrammarNotesWithAnotherSeparator) {
    settings.GrammarSeparator = '#';
    ASSERT_EQ(1, Add("run", "#v. verb"));
    ASSERT_EQ(1, Add("run", "b\xec" "het"));
    EXPECT_EQ(std::vector<std::string>{"run||#v. verb|b\xec" "het"}, Dump());
    Bytes tr = ReadFileBytes(settings.UserTranslationsPaths[0]);
    EXPECT_NE(std::string::npos, tr.find("\x1fv. verb"));
    EXPECT_EQ(1, DeleteTranslation("run", "#v. verb"));
    EXPECT_EQ(std::vector<std::string>{"run||b\xec" "het"}, Dump());
}

// A word that begins with the grammar separator is accepted with nothing
// written (no file, no log record), so Undo takes back the command before it;
// a translation that begins with it is stored as a grammar note and is undone
// as any other translation.
TEST_F(EditTest, GrammarSeparatorInWordsAndTranslationsAndUndo) {
    struct Case {
        const char* name;
        char separator;
        std::string word, translation;
        std::vector<std::string> dump;  // after the add; an empty one means nothing written
    } cases[] = {
        {"word with the separator", '.', ".n.abc", "foo", {}},
        {"the separator alone", '.', ".", "foo", {}},
        {"word with another separator", '#', "#abc", "foo", {}},
        {"the default separator is a letter then", '#', ".abc", "foo", {".abc||foo", "base||b"}},
        {"translation with the separator", '.', "abc", ".n. noun", {"abc||.n. noun", "base||b"}},
        {"translation of the separator alone", '.', "abc", ".", {"abc||.", "base||b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
        ASSERT_EQ(1, lex::CreateActionLog(ctx, settings.ActionLogPath));
        settings.GrammarSeparator = c.separator;
        ASSERT_EQ(1, Add("base", "b"));
        const auto before = Snapshot();
        const int32_t words = WordCount();
        EXPECT_EQ(1, Add(c.word, c.translation));
        if (c.dump.empty()) {
            EXPECT_EQ(before, Snapshot());
            EXPECT_EQ(words, WordCount());
        } else {
            EXPECT_EQ(c.dump, Dump());
            EXPECT_EQ(words + 1, WordCount());
            ASSERT_EQ(1, lex::UndoLastAction(ctx));
            EXPECT_EQ(words, WordCount());
        }
        EXPECT_EQ(std::vector<std::string>{"base||b"}, Dump());
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_TRUE(Dump().empty());
        EXPECT_EQ(-1, lex::UndoLastAction(ctx));  // nothing left to undo
        ASSERT_EQ(1, lex::RedoAction(ctx));
        EXPECT_EQ(std::vector<std::string>{"base||b"}, Dump());
    }
}

TEST_F(EditTest, OrderOfEqualWordsIgnoresTypingDirection) {
    // "Ab" and "aB" collate equal; their order is the forward byte order in
    // every program, whichever way the user types.
    ctx.ReversedEntry = true;
    ASSERT_EQ(1, Add("aB", "one"));
    ASSERT_EQ(1, Add("Ab", "two"));
    ctx.ReversedEntry = false;
    EXPECT_EQ(2, Add("aB", "one"));
    EXPECT_EQ(2, Add("Ab", "two"));
    ctx.ReversedEntry = true;
    EXPECT_EQ(2, Add("aB", "one"));
    EXPECT_EQ((std::vector<std::string>{"Ab||two", "aB||one"}), Dump());
}

TEST_F(EditTest, ShippedEntryIsCopiedAndTheCdFilesStayUntouched) {
    WriteShipped({{"bare", "ber", {}},
                  {"ship", "\x9aip", {{"lo\xef", 0x02}, {"old", 0x82}, {"plavidlo", 0x02}}}});
    const Bytes cdWords = ReadFileBytes(settings.CdWordsPaths[0]);
    const Bytes cdTr = ReadFileBytes(settings.CdTranslationsPaths[0]);
    ASSERT_EQ((std::vector<std::string>{"bare|ber", "ship|\x9aip|lo\xef|plavidlo"}), Dump());
    std::vector<lex::ResultRow> rows;
    EXPECT_EQ(1, lex::LookupWord(ctx, "ship", rows, 0));
    EXPECT_EQ("lo\xef\r\nplavidlo\r\n" + std::string(lex::kSeparatorLine) + "\r\n", display.Translation);

    EXPECT_EQ(1, Add("ship", "korab", "\x9aip"));
    EXPECT_EQ(cdWords, ReadFileBytes(settings.CdWordsPaths[0]));
    EXPECT_EQ(cdTr, ReadFileBytes(settings.CdTranslationsPaths[0]));
    EXPECT_EQ((std::vector<std::string>{"bare|ber", "ship|\x9aip|lo\xef|plavidlo|korab"}), Dump());
    // The whole chain was copied, the deleted record too, links rewritten.
    const Bytes header(ReadFileBytes(settings.UserTranslationsPaths[0]).substr(0, 40));
    EXPECT_EQ(header + I32(1) + I32(53) + lextest::Two(0x02, 0x03) + "lo\xef" + I32(62) +
                  lextest::Two(0x82, 0x03) + "old" + I32(76) + lextest::Two(0x02, 0x08) + "plavidlo" +
                  I32(0) + lextest::Two(0x01, 0x05) + "korab",
              ReadFileBytes(settings.UserTranslationsPaths[0]));
    EXPECT_EQ(1, DeleteTranslation("ship", "lo\xef"));

    // A shipped entry without translations gets its first one into its own chain.
    EXPECT_EQ(1, Add("bare", "hol\xfd", "ber"));
    EXPECT_EQ((std::vector<std::string>{"bare|ber|hol\xfd", "ship|\x9aip|plavidlo|korab"}), Dump());
    EXPECT_EQ(cdWords, ReadFileBytes(settings.CdWordsPaths[0]));
    const Bytes tr = ReadFileBytes(settings.UserTranslationsPaths[0]);
    EXPECT_EQ(header, tr.substr(0, 40));
    EXPECT_EQ(I32(1), tr.substr(40, 4));  // +korab +holy -lod
}

TEST_F(EditTest, KeyIndexStaysSortedAcrossBlocks) {
    // 1200 words with distinct keys, added from the back so that every new key
    // moves the whole index (up to three 4500-byte blocks), then some in between.
    std::vector<std::string> words;
    for (int i = 0; i < 1200; ++i) {
        std::string w = {char('a' + i / 676), char('a' + i / 26 % 26), char('a' + i % 26)};
        words.push_back(w);
    }
    std::vector<std::string> order(words.rbegin(), words.rend());
    std::rotate(order.begin(), order.begin() + 700, order.end());
    for (const std::string& w : order) ASSERT_EQ(1, Add(w, "t" + w)) << w;
    ASSERT_EQ(1, Add("abcd", "same key as abc? no: a new key"));
    ASSERT_EQ(1, Add("abcde", "same key as abcd"));

    const Bytes index = ReadFileBytes(settings.KeyIndexPaths[0]);
    ASSERT_EQ((1200u + 1 + 2) * 9, index.size());
    ASSERT_EQ(1, lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared));
    int32_t previous = -1;
    for (size_t at = 0; at < index.size(); at += 9) {
        const auto* p = reinterpret_cast<const uint8_t*>(index.data() + at);
        lex::KeyRecord rec = lex::KeyRecord::Decode(p);
        EXPECT_GT(rec.SortKey, previous) << at;
        previous = rec.SortKey;
        ASSERT_EQ(1, lex::ReadNodeAt(ctx, rec.Node));
        if (rec.SortKey != 0 && rec.SortKey != 6377600) {
            EXPECT_EQ(rec.SortKey, lex::WordSortKey(ctx.Node.Word, 0, settings)) << ctx.Node.Word;
        }
    }
    lex::CloseSlotFiles(ctx);
    std::vector<lex::ResultRow> rows;
    for (size_t i = 0; i < words.size(); i += 37) {
        hooks.History.clear();
        ASSERT_LT(0, lex::LookupWord(ctx, words[i], rows, 0));
        EXPECT_EQ(words[i], rows[0].Word);
        EXPECT_EQ("t" + words[i] + "\r\n" + std::string(lex::kSeparatorLine) + "\r\n", display.Translation);
    }
    EXPECT_EQ(1202u, Dump().size());
}

}  // namespace
