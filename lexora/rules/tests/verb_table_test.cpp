#include "lexora/rules/verb_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>

#include "core/files/testing/faulty_file_system.h"
#include "core/files/testing/test_files.h"

namespace lexora {
namespace {

using Fields = std::vector<std::string>;

// A table file in a temporary folder of its own.
class VerbFile : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { lex::testing::WriteFileBytes(path_, bytes); }
    std::vector<std::string> List(size_t fields = kEnglishVerbFields) {
        std::vector<std::string> verbs;
        EXPECT_TRUE(ReadVerbList(files_, path_, fields, verbs));
        return verbs;
    }
    Fields Find(const std::string& verb, size_t count = kEnglishVerbFields) {
        Fields fields;
        EXPECT_EQ(ReadVerbFields(files_, path_, verb, count, fields), VerbSearch::Found) << verb;
        return fields;
    }

    lex::testing::TempFolder dir_{"lexorarules-test-"};
    std::string path_ = dir_.Sub(kEnglishVerbFile);
    lex::testing::FaultyFileSystem files_;  // no faults unless a test sets them
};

TEST_F(VerbFile, ListInFileOrderWithDuplicates) {
    Write("go;went;gone;j\xEDt\r\nbe;was/were;been;b\xFDt\r\ngo;went;gone;chodit\r\narise;arose;arisen;vzniknout");
    EXPECT_EQ(List(), (std::vector<std::string>{"go", "be", "go", "arise"}));
}

TEST_F(VerbFile, FieldsOfTheChosenVerb) {
    Write("be;was/were;been;b\xFDt\nbreak;broke;broken;rozb\xEDt; zlomit\n");
    EXPECT_EQ(Find("be"), (Fields{"be", "was/were", "been", "b\xFDt"}));
    // The last field runs to the end of the line, semicolons and all.
    EXPECT_EQ(Find("break"), (Fields{"break", "broke", "broken", "rozb\xEDt; zlomit"}));
    Fields fields{"kept"};
    EXPECT_EQ(ReadVerbFields(files_, path_, "Be", kEnglishVerbFields, fields), VerbSearch::NotFound);  // case counts
    EXPECT_EQ(ReadVerbFields(files_, path_, "b", kEnglishVerbFields, fields), VerbSearch::NotFound);
    EXPECT_EQ(fields, Fields{"kept"});
}

TEST_F(VerbFile, GermanLineGivesSevenFields) {
    Write("gehen (ist);j\xEDt;geht;ging;ginge;geh!;gegangen\r\n");
    EXPECT_EQ(List(kGermanVerbFields), std::vector<std::string>{"gehen (ist)"});
    EXPECT_EQ(Find("gehen (ist)", kGermanVerbFields),
              (Fields{"gehen (ist)", "j\xEDt", "geht", "ging", "ginge", "geh!", "gegangen"}));
}

// A line without separators is a verb of its own, with empty forms; it never
// swallows the line after it.
TEST_F(VerbFile, LineWithoutSeparatorsEndsAtItsLineEnd) {
    Write("lonely\nbe;was;been;b\xFDt\nshort;one\n");
    EXPECT_EQ(List(), (std::vector<std::string>{"lonely", "be", "short"}));
    EXPECT_EQ(Find("lonely"), (Fields{"lonely", "", "", ""}));
    EXPECT_EQ(Find("be"), (Fields{"be", "was", "been", "b\xFDt"}));
    EXPECT_EQ(Find("short"), (Fields{"short", "one", "", ""}));
}

TEST_F(VerbFile, EveryFieldIsCutAtItsBound) {
    const std::string longField(1000, 'a');
    Write(longField + ";" + longField + "b;c;" + longField + "\nnext;x;y;z\n");
    const std::vector<std::string> verbs = List();
    ASSERT_EQ(verbs.size(), 2u);
    EXPECT_EQ(verbs[0], std::string(kVerbFieldLength, 'a'));
    EXPECT_EQ(verbs[1], "next");
    const Fields fields = Find(std::string(kVerbFieldLength, 'a'));
    EXPECT_EQ(fields, (Fields{std::string(kVerbFieldLength, 'a'), std::string(kVerbFieldLength, 'a'), "c",
                              std::string(kVerbFieldLength, 'a')}));
    EXPECT_EQ(Find("next"), (Fields{"next", "x", "y", "z"}));
}

TEST_F(VerbFile, EmptyLinesAndLineEndsAreNoVerbs) {
    Write("\r\n\nbe;was;been;b\xFDt\r\n\r\n\n");
    EXPECT_EQ(List(), std::vector<std::string>{"be"});
    Write("");
    EXPECT_TRUE(List().empty());
    Write("be;was;been;b\xFDt\r");  // a carriage return at the very end
    EXPECT_EQ(Find("be"), (Fields{"be", "was", "been", "b\xFDt"}));
}

// Of several lines of one verb the line after a match is passed over: with
// two lines the first is shown, with three the third.
TEST_F(VerbFile, LaterMatchExaminedWins) {
    Write("lie;lay;lain;le\xBE" "et\nlie;lied;lied;lh\xE1t\n");
    EXPECT_EQ(Find("lie")[3], "le\xBE" "et");
    Write("lie;lay;lain;le\xBE" "et\nlie;lied;lied;lh\xE1t\nlie;x;y;z\n");
    EXPECT_EQ(Find("lie")[3], "z");
}

TEST_F(VerbFile, MissingFile) {
    std::filesystem::remove(path_);
    std::vector<std::string> verbs{"old"};
    EXPECT_FALSE(ReadVerbList(files_, path_, kEnglishVerbFields, verbs));
    Fields fields{"kept"};
    EXPECT_EQ(ReadVerbFields(files_, path_, "be", kEnglishVerbFields, fields), VerbSearch::NoFile);
    EXPECT_EQ(fields, Fields{"kept"});
}

// A table that is there but cannot be opened or read is reported as no
// table, at the start and at a selection: never read as an empty one, and
// nothing shown is replaced.
TEST_F(VerbFile, UnreadableFile) {
    Write("be;was/were;been;b\xFDt\n");
    struct Case {
        const char* what;
        std::function<void(lex::testing::FaultyFileSystem&)> fault;
    };
    const Case cases[] = {
        {"open fails", [](lex::testing::FaultyFileSystem& f) { f.FailOpenOf = kEnglishVerbFile; }},
        {"read fails", [](lex::testing::FaultyFileSystem& f) { f.FailReadsFrom = kEnglishVerbFile; }},
        {"first read fails", [](lex::testing::FaultyFileSystem& f) { f.FailNth(lex::testing::FileOp::Read, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lex::testing::FaultyFileSystem list;
        c.fault(list);
        std::vector<std::string> verbs{"old"};
        EXPECT_FALSE(ReadVerbList(list, path_, kEnglishVerbFields, verbs));
        EXPECT_TRUE(verbs.empty());
        lex::testing::FaultyFileSystem search;
        c.fault(search);
        Fields fields{"kept"};
        EXPECT_EQ(ReadVerbFields(search, path_, "be", kEnglishVerbFields, fields), VerbSearch::NoFile);
        EXPECT_EQ(fields, Fields{"kept"});
        EXPECT_EQ(list.OpenCount() + search.OpenCount(), 0);
    }
    // The same file through a file system without faults is read.
    EXPECT_EQ(Find("be")[1], "was/were");
}

TEST(VerbLookupWord, GermanVerbEndsAtItsFirstBlank) {
    EXPECT_EQ(VerbLookupWord("gehen (ist)", true), "gehen");
    EXPECT_EQ(VerbLookupWord("gehen", true), "gehen");
    EXPECT_EQ(VerbLookupWord(" sein", true), "");
    EXPECT_EQ(VerbLookupWord("give up", false), "give up");
    EXPECT_EQ(VerbLookupWord(std::string(300, 'a'), false).size(), kChosenVerbLength);
}

#ifdef LEXORA_DATA_DIR
// The demo tables that come with the program: every line a verb with all
// its fields.
TEST(DemoVerbTables, EveryLineHoldsAllFields) {
    const struct {
        const char* file;
        size_t fields;
        const char* first;
    } tables[] = {{LEXORA_DATA_DIR "/verbs_en.txt", kEnglishVerbFields, "be"},
                  {LEXORA_DATA_DIR "/verbs_de.txt", kGermanVerbFields, "beginnen (hat)"}};
    const std::unique_ptr<lex::FileSystem> files = lex::MakePlatformFileSystem();
    for (const auto& t : tables) {
        std::vector<std::string> verbs;
        ASSERT_TRUE(ReadVerbList(*files, t.file, t.fields, verbs)) << t.file;
        EXPECT_GE(verbs.size(), 30u) << t.file;
        EXPECT_EQ(verbs.front(), t.first);
        VerbTableReader reader(*files, t.file);
        std::vector<std::string> fields;
        int line = 0;
        while (reader.NextLine(fields, t.fields)) {
            ++line;
            for (size_t i = 0; i < fields.size(); ++i) EXPECT_FALSE(fields[i].empty()) << t.file << ":" << line;
        }
        EXPECT_EQ(line, static_cast<int>(verbs.size()));
    }
}
#endif

}  // namespace
}  // namespace lexora
